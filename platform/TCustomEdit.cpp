#include "TCustomEdit.h"

#include "Windows1252.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QValidator>

namespace {

constexpr char kBackspace = 8;
constexpr char kEnter = 13;
constexpr char kEscape = 27;
constexpr char kCtrlBackspace = 127;

QList<char32_t> codePoints(const QString &text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return QList<char32_t>(ucs4.cbegin(), ucs4.cend());
}

// The characters a key event types, as code points, as the system would hand them to the hook; empty for a
// plain key. Any text the edit would insert counts, format and private-use characters included.
QList<char32_t> typedCharacters(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
    const int key = event.key();

    if (key == Qt::Key_Backspace)
        return {char32_t(ctrl ? kCtrlBackspace : kBackspace)};
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return {char32_t(kEnter)};
    if (key == Qt::Key_Escape)
        return {char32_t(kEscape)};
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z)
        return {char32_t(key - Qt::Key_A + 1)};
    if (key == Qt::Key_Delete)
        return {};

    const QString text = event.text();
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return {};
    }
    return codePoints(text);
}

char toKey(char32_t typed)
{
    if (typed < 0x20 || typed == char32_t(kCtrlBackspace))
        return static_cast<char>(typed);
    if (typed > 0xFFFF)
        return '?';
    return Windows1252::fromUnicode(QChar(char16_t(typed)));
}

// The key event that makes the edit act on `key` as if it had been typed.
QKeyEvent keyEventFor(char key)
{
    const auto code = static_cast<unsigned char>(key);
    switch (code) {
    case kBackspace:
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    case kEnter:
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    case kEscape:
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(kEscape)));
    case kCtrlBackspace:
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::ControlModifier, QString(QChar(kCtrlBackspace)));
    default:
        break;
    }
    if (code >= 1 && code <= 26)
        return QKeyEvent(QEvent::KeyPress, Qt::Key_A + code - 1, Qt::ControlModifier, QString(QChar(code)));
    return QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(Windows1252::toUnicode(key)));
}

} // namespace

// Holds typed, pasted and dropped text to the edit's MaxLength without ever cutting text set from code.
class TCustomEdit::TypedLengthLimit : public QValidator
{
public:
    explicit TypedLengthLimit(QLineEdit *edit) : QValidator(edit), m_edit(edit)
    {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_lengthBefore = text.size(); });
    }

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }

    State validate(QString &input, int &) const override
    {
        // Setting text from code clears the modified flag before the edit asks us, so its echo always passes.
        // A user's change may shorten an overlong text, never lengthen it past the limit.
        if (m_limit <= 0 || !m_edit->isModified() || input.size() <= m_limit || input.size() <= m_lengthBefore)
            return Acceptable;
        return Invalid;
    }

private:
    QLineEdit *m_edit;
    int m_limit = 0;
    int m_lengthBefore = 0;
};

TCustomEdit::TCustomEdit(QWidget *parent) : QLineEdit(parent), m_lengthLimit(new TypedLengthLimit(this))
{
    setValidator(m_lengthLimit);
}

int TCustomEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCustomEdit::SetSelStart(int value)
{
    deselect();
    setCursorPosition(value);
}

int TCustomEdit::SelLength() const
{
    return selectionLength();
}

int TCustomEdit::MaxLength() const
{
    return m_lengthLimit->limit();
}

void TCustomEdit::SetMaxLength(int value)
{
    m_lengthLimit->setLimit(value);
}

void TCustomEdit::KeyPress(char &Key)
{
    Q_EMIT OnKeyPress(Key);
}

void TCustomEdit::keyPressEvent(QKeyEvent *event)
{
    const QList<char32_t> typed = typedCharacters(*event);
    if (typed.isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    event->accept();
    for (const char32_t c : typed) {
        const char original = toKey(c);
        char key = original;
        KeyPress(key);
        if (key == 0)
            continue;
        if (key == original && typed.size() == 1) {
            // Unchanged, the event itself goes on: the edit keeps its shortcuts and characters outside the code page.
            QLineEdit::keyPressEvent(event);
            continue;
        }
        QKeyEvent replacement = key == original && c >= 0x20 ? QKeyEvent(QEvent::KeyPress, Qt::Key_unknown,
                                                                         Qt::NoModifier, QString::fromUcs4(&c, 1))
                                                             : keyEventFor(key);
        QLineEdit::keyPressEvent(&replacement);
    }
}

void TCustomEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Dead keys and input methods commit their characters here instead of in a key event.
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }

    QString passed;
    for (const char32_t c : codePoints(committed)) {
        const char original = toKey(c);
        char key = original;
        KeyPress(key);
        if (key == original)
            passed += QString::fromUcs4(&c, 1);
        else if (key != 0 && static_cast<unsigned char>(key) >= 0x20)
            passed += Windows1252::toUnicode(key);
    }
    event->setCommitString(passed, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(event);
}
