#include "TApplication.h"

#include "MessageBox.h"

#include <QFont>
#include <stdexcept>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

TApplication::~TApplication()
{
    while (!m_forms.isEmpty()) {
        const OwnedForm owned = m_forms.takeLast();
        owned.form->BeforeDestruction();
        delete owned.form;
        owned.forgetReference();
    }
}

void TApplication::PrepareWindowSystem()
{
    // Wayland gives a client neither a screen position nor a stay-on-top hint, and the result window needs
    // both: in a Wayland session run through XWayland, unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void TApplication::Initialize()
{
    // The layouts name the classic Windows faces; Liberation Sans has Arial's metrics, so captions fit their
    // fixed-size labels as designed.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

void TApplication::SetTitle(const QString &title)
{
    setApplicationName(title);
}

void TApplication::adoptForm(TForm *form, std::function<void()> forgetReference)
{
    if (!m_forms.isEmpty())
        form->setAttribute(Qt::WA_QuitOnClose, false);
    m_forms.append({form, std::move(forgetReference)});
}

void TApplication::Run()
{
    if (TForm *main = MainForm())
        main->show();
    exec();
}

int TApplication::Start(const std::function<void()> &startUpAndRun)
{
    try {
        startUpAndRun();
    } catch (const std::exception &error) {
        ShowException(error);
        return 1;
    }
    return 0;
}

void TApplication::ShowException(const std::exception &error)
{
    MessageBox(QString::fromLocal8Bit(error.what()), applicationName(), MB_ICONERROR);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // An exception must not unwind through Qt's event loop: report it here and let the loop go on.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Unbekannter Fehler"));
    }
    return false;
}
