#pragma once

#include <QList>
#include <QString>
#include <functional>

// Flags of the application's modal message box; only the combinations the program uses exist.
constexpr int MB_OK = 0x00;
constexpr int MB_ICONERROR = 0x10;
constexpr int IDOK = 1;

// Shows a modal message box owned by the application's active window and waits until it is closed.
// Returns IDOK.
int MessageBox(const QString &text, const QString &caption, int flags);

struct MessageBoxCall
{
    QString text;
    QString caption;
    int flags = 0;
};

// Test seam: while a recorder lives, message boxes are recorded instead of shown. `whileOpen` runs where the
// user would be looking at the box, so a test can check what the program shows behind it.
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(std::function<void()> whileOpen = {});
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder &) = delete;
    MessageBoxRecorder &operator=(const MessageBoxRecorder &) = delete;

    const QList<MessageBoxCall> &calls() const { return m_calls; }
    void clear() { m_calls.clear(); }

private:
    friend int MessageBox(const QString &, const QString &, int);

    QList<MessageBoxCall> m_calls;
    std::function<void()> m_whileOpen;
    MessageBoxRecorder *m_previous = nullptr;
};
