#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageBoxRecorder *activeRecorder = nullptr;

} // namespace

MessageBoxRecorder::MessageBoxRecorder(std::function<void()> whileOpen)
    : m_whileOpen(std::move(whileOpen)), m_previous(activeRecorder)
{
    activeRecorder = this;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    activeRecorder = m_previous;
}

int MessageBox(const QString &text, const QString &caption, int flags)
{
    if (activeRecorder) {
        activeRecorder->m_calls.append({text, caption, flags});
        if (activeRecorder->m_whileOpen)
            activeRecorder->m_whileOpen();
        return IDOK;
    }

    QMessageBox box(flags & MB_ICONERROR ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
    return IDOK;
}
