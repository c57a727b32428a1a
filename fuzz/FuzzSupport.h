#pragma once

#include <QString>
#include <Qt>
#include <cstddef>
#include <cstdint>

class MessageBoxRecorder;
class QLineEdit;
class TCustomEdit;

// What every fuzz target shares: the Qt application, the failure report, the byte reader and the
// keyboard of a single-line edit as the window system drives it.
namespace fuzz {

// Creates the one application object of the process (offscreen unless a platform was chosen), and records
// message boxes instead of showing them.
void StartQt();
MessageBoxRecorder &Boxes();

// Starts the story of a new input; Step() adds what the next step does. A failure prints the last steps.
void NewInput();
void Step(const QString &description);

// Reports a broken invariant with the input's last steps and ends the process, so that libFuzzer keeps the
// input and a corpus replay fails.
[[noreturn]] void Fail(const QString &what);

#define FUZZ_CHECK(condition, what)                                                                                    \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::fuzz::Fail(QStringLiteral(#condition) + QStringLiteral(": ") + (what));                                  \
    } while (false)

// Reads the input front to back; past its end every read gives 0, so any byte string is an input.
class ByteReader
{
public:
    ByteReader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_position >= m_size; }
    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_position++]; }
    // Little-endian: the first byte is the low one.
    std::uint16_t word()
    {
        const std::uint8_t low = byte();
        return std::uint16_t(low | byte() << 8);
    }
    // A text from code: a length byte, then as many Windows-1252 bytes.
    QString text1252();
    // A text from code: a length byte, then as many UTF-16 code units; surrogates become U+FFFD.
    QString textUtf16();

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// The edit's text, caret and selection, as the key filters see them.
struct EditState
{
    QString text;
    int cursor = 0;
    int selectionStart = 0; // SelStart: before the selection, or the caret
    int selectionLength = 0;

    bool operator==(const EditState &other) const;
    QString describe() const;
};

EditState StateOf(const QLineEdit &edit);

// A character that cannot be encoded in Windows-1252 reaches the key filters as this byte.
constexpr char kNotInCodePage = '?';

// One character typed on the keyboard: what the key filter receives and what the edit would insert.
struct Keystroke
{
    int qtKey = 0;
    Qt::KeyboardModifiers modifiers;
    QString typed;       // the text of the key event
    char key = 0;        // what the key filter sees
    bool hooked = false; // whether the key filter runs at all
};

// A typed key and what came of it, for the story of the input.
QString Describe(const Keystroke &keystroke);

// Byte 8 is Backspace, 13 Enter, 27 Escape, 127 Ctrl+Backspace, other control bytes Ctrl with a letter; bytes
// from 32 up are the Windows-1252 characters (the five unassigned ones type nothing).
Keystroke KeystrokeFor(std::uint8_t byte);
// A character outside Windows-1252 (one of a few, chosen by `index`), outside the BMP included.
Keystroke ForeignKeystrokeFor(std::uint8_t index);
// The keystroke steps shared by the edit fuzzers: 'K' types the next byte, 'I' composes it through an input
// method, 'J' types and 'Q' composes a character outside the code page. Returns false when `op` is none of them.
bool ReadKeystrokeOp(std::uint8_t op, ByteReader &input, Keystroke &keystroke, bool &composed);
// Sends the key event of the keystroke to the edit, as the window system delivers it.
void Type(TCustomEdit &edit, const Keystroke &keystroke);
// Commits the keystroke's text through an input method, as a dead key does. Input methods serve only
// editable fields, and only printable characters are composed.
bool CanCompose(const TCustomEdit &edit, const Keystroke &keystroke);
void Compose(TCustomEdit &edit, const Keystroke &keystroke);

// What a plain edit does with a character the key filter let through: nothing in a read-only edit or for a
// key text it does not insert; otherwise it replaces the selection or goes in at the caret, unless a typed
// text would then outgrow MaxLength. An input method's text is inserted whatever it holds.
QString TextAfterInsert(const EditState &before, const QString &typed, bool composed, bool readOnly, int maxLength);
// Backspace: removes the selection, or the character before the caret.
QString TextAfterBackspace(const EditState &before, bool readOnly);

// Steps shared by the edit fuzzers: caret and selection keys, text and settings from code. Returns false
// when `op` is none of them.
bool PerformEditOp(TCustomEdit &edit, std::uint8_t op, ByteReader &input);

} // namespace fuzz
