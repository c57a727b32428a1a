#include "FuzzSupport.h"

#include "MessageBox.h"
#include "TCustomEdit.h"
#include "Windows1252.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {

namespace {

QStringList story;
constexpr int kStoryLength = 12;

QString visible(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u'\\')
            shown += c;
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return QLatin1Char('\'') + shown + QLatin1Char('\'');
}

void sendKey(QWidget &widget, int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&widget, &release);
}

// Qt's key code for a printable character: the letter keys for letters, the upper-case Latin-1 code otherwise.
int keyCodeFor(QChar c)
{
    const QChar upper = c.toUpper();
    if (upper.unicode() <= 0xff)
        return upper.unicode();
    return Qt::Key_unknown;
}

// The characters a plain edit inserts from a key event (not from an input method): printable ones, the
// invisible formatting ones, private use and surrogate pairs.
bool insertsKeyText(const QString &typed)
{
    if (typed.isEmpty())
        return false;
    const QChar c = typed.front();
    return c.isPrint() || c.category() == QChar::Other_Format || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && typed.size() > 1 && typed.at(1).isLowSurrogate());
}

} // namespace

void StartQt()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tintora-fuzz";
    static char *argv[] = {name, nullptr};
    // Lives as long as the process: every input runs inside it.
    static QApplication *application = new QApplication(argc, argv);
    Q_UNUSED(application);
    Boxes();
}

MessageBoxRecorder &Boxes()
{
    static MessageBoxRecorder recorder;
    return recorder;
}

void NewInput()
{
    story.clear();
}

void Step(const QString &description)
{
    if (story.size() == kStoryLength)
        story.removeFirst();
    story.append(description);
}

void Fail(const QString &what)
{
    std::fprintf(stderr, "\n*** Invariant broken: %s\n*** Last steps of the input:\n", qPrintable(what));
    for (const QString &step : story)
        std::fprintf(stderr, "***   %s\n", qPrintable(step));
    std::fflush(stderr);
    std::abort();
}

QString ByteReader::text1252()
{
    const int length = byte();
    QString text;
    for (int i = 0; i < length; ++i)
        text += Windows1252::toUnicode(static_cast<char>(byte()));
    return text;
}

QString ByteReader::textUtf16()
{
    const int length = byte();
    QString text;
    for (int i = 0; i < length; ++i) {
        const QChar unit(word());
        text += unit.isSurrogate() ? QChar(QChar::ReplacementCharacter) : unit;
    }
    return text;
}

bool EditState::operator==(const EditState &other) const
{
    return text == other.text && cursor == other.cursor && selectionStart == other.selectionStart &&
           selectionLength == other.selectionLength;
}

QString EditState::describe() const
{
    return QStringLiteral("%1, caret %2, selection %3+%4")
        .arg(visible(text))
        .arg(cursor)
        .arg(selectionStart)
        .arg(selectionLength);
}

EditState StateOf(const QLineEdit &edit)
{
    EditState state;
    state.text = edit.text();
    state.cursor = edit.cursorPosition();
    state.selectionStart = edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition();
    state.selectionLength = edit.selectionLength();
    return state;
}

QString Describe(const Keystroke &keystroke)
{
    return QStringLiteral("key 0x%1 modifiers 0x%2 text %3")
        .arg(keystroke.qtKey, 0, 16)
        .arg(int(keystroke.modifiers), 0, 16)
        .arg(visible(keystroke.typed));
}

Keystroke KeystrokeFor(std::uint8_t byte)
{
    const char key = static_cast<char>(byte);
    const QString control = QChar(char16_t(byte));
    switch (byte) {
    case 8:
        return {Qt::Key_Backspace, Qt::NoModifier, control, key, true};
    case 13:
        return {Qt::Key_Return, Qt::NoModifier, control, key, true};
    case 27:
        return {Qt::Key_Escape, Qt::NoModifier, control, key, true};
    case 127:
        return {Qt::Key_Backspace, Qt::ControlModifier, control, key, true};
    default:
        break;
    }
    if (byte >= 1 && byte <= 26)
        return {Qt::Key_A + byte - 1, Qt::ControlModifier, control, key, true};
    // Ctrl with @ [ \ ] ^ _ : a control character that no filter is asked about.
    if (byte < 0x20)
        return {0x40 + byte, Qt::ControlModifier, control, 0, false};

    const QChar c = Windows1252::toUnicode(key);
    const bool hooked = c.category() != QChar::Other_Control;
    return {keyCodeFor(c), Qt::NoModifier, QString(c), hooked ? key : char(0), hooked};
}

Keystroke ForeignKeystrokeFor(std::uint8_t index)
{
    static const QStringList foreign = {
        QStringLiteral("ł"),      QStringLiteral("→"),      QStringLiteral("\u0301"), QStringLiteral("\u200d"),
        QStringLiteral("\ue000"), QStringLiteral("\u0663"), QStringLiteral("😀"),
    };
    const QString typed = foreign.at(index % foreign.size());
    return {Qt::Key_unknown, Qt::NoModifier, typed, kNotInCodePage, true};
}

bool ReadKeystrokeOp(std::uint8_t op, ByteReader &input, Keystroke &keystroke, bool &composed)
{
    switch (op) {
    case 'K':
    case 'I':
        keystroke = KeystrokeFor(input.byte());
        composed = op == 'I';
        return true;
    case 'J':
    case 'Q':
        keystroke = ForeignKeystrokeFor(input.byte());
        composed = op == 'Q';
        return true;
    default:
        return false;
    }
}

void Type(TCustomEdit &edit, const Keystroke &keystroke)
{
    sendKey(edit, keystroke.qtKey, keystroke.modifiers, keystroke.typed);
}

bool CanCompose(const TCustomEdit &edit, const Keystroke &keystroke)
{
    return !edit.isReadOnly() && keystroke.hooked && keystroke.modifiers == Qt::NoModifier &&
           keystroke.typed.front().unicode() >= 0x20 && keystroke.typed.front().unicode() != 0x7f;
}

void Compose(TCustomEdit &edit, const Keystroke &keystroke)
{
    QInputMethodEvent event;
    event.setCommitString(keystroke.typed);
    QApplication::sendEvent(&edit, &event);
}

QString TextAfterInsert(const EditState &before, const QString &typed, bool composed, bool readOnly, int maxLength)
{
    if (readOnly || (!composed && !insertsKeyText(typed)))
        return before.text;
    QString after = before.text;
    if (before.selectionLength > 0)
        after.replace(before.selectionStart, before.selectionLength, typed);
    else
        after.insert(before.cursor, typed);
    if (maxLength > 0 && after.size() > maxLength && after.size() > before.text.size())
        return before.text;
    return after;
}

QString TextAfterBackspace(const EditState &before, bool readOnly)
{
    QString after = before.text;
    if (readOnly)
        return after;
    if (before.selectionLength > 0) {
        after.remove(before.selectionStart, before.selectionLength);
    } else if (before.cursor > 0) {
        const bool pair = before.cursor > 1 && after.at(before.cursor - 1).isLowSurrogate() &&
                          after.at(before.cursor - 2).isHighSurrogate();
        after.remove(before.cursor - (pair ? 2 : 1), pair ? 2 : 1);
    }
    return after;
}

bool PerformEditOp(TCustomEdit &edit, std::uint8_t op, ByteReader &input)
{
    struct CaretKey
    {
        char op;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char *name;
    };
    static const CaretKey caretKeys[] = {
        {'H', Qt::Key_Home, Qt::NoModifier, "Home"},          {'E', Qt::Key_End, Qt::NoModifier, "End"},
        {'L', Qt::Key_Left, Qt::NoModifier, "Left"},          {'G', Qt::Key_Right, Qt::NoModifier, "Right"},
        {'S', Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"}, {'B', Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
        {'Y', Qt::Key_Home, Qt::ShiftModifier, "Shift+Home"}, {'Z', Qt::Key_End, Qt::ShiftModifier, "Shift+End"},
        {'D', Qt::Key_Delete, Qt::NoModifier, "Delete"},
    };
    for (const CaretKey &caretKey : caretKeys) {
        if (op == caretKey.op) {
            Step(QString::fromLatin1(caretKey.name));
            sendKey(edit, caretKey.key, caretKey.modifiers);
            return true;
        }
    }

    switch (op) {
    case 'T':
    case 'U': {
        const QString text = op == 'T' ? input.text1252() : input.textUtf16();
        Step(QStringLiteral("text from code %1").arg(visible(text)));
        edit.setText(text);
        return true;
    }
    case 'R':
        edit.setReadOnly(!edit.isReadOnly());
        Step(QStringLiteral("ReadOnly %1").arg(edit.isReadOnly()));
        return true;
    case 'X':
        edit.SetMaxLength(input.byte() % 8);
        Step(QStringLiteral("MaxLength %1").arg(edit.MaxLength()));
        return true;
    case 'O': {
        const int start = input.byte() % (edit.text().size() + 1);
        const int length = static_cast<std::int8_t>(input.byte());
        Step(QStringLiteral("selection from code %1, %2").arg(start).arg(length));
        edit.setSelection(start, length);
        return true;
    }
    default:
        return false;
    }
}

} // namespace fuzz
