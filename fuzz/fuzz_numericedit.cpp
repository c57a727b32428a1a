// Drives a numeric edit with a byte stream: typed characters, dead keys, caret and selection keys, text set
// from code and property writes. After every step the edit must have done what its rules say, worked out
// here from the rules alone, and GetDouble must agree with a conversion written from strtod's grammar.
//
// Stream: an upper-case letter below is a step (with the bytes it takes); any other byte is a typed key.
//   V n / N n  write Vorkommastellen / Nachkommastellen (n as a signed byte; -128 stands for the lowest int)
//   P n c..    write Seperator: n % 3 characters (Windows-1252)
//   M          toggle ShowErrorMessage
//   K b        type the byte b (also a letter named above)
//   I b        compose the Windows-1252 character b with a dead key
//   J i / Q i  type / compose a character outside Windows-1252
//   and the steps shared with the other edits (FuzzSupport.cpp): T U H E L G S B Y Z D R X O

#include "FuzzSupport.h"
#include "MessageBox.h"
#include "Numericedit.h"
#include "Windows1252.h"

#include <QList>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using fuzz::EditState;
using fuzz::Keystroke;

struct Refusal
{
    QString text;
    QString caption;
};

const Refusal kNotAllowed{QStringLiteral("Unzulässiges Zeichen\nZülässing sind: 0123456789+-"),
                          QStringLiteral("Unzulässiges Zeichen")};
const Refusal kSeparatorPresent{QStringLiteral("Dezimal-Seperator ist schon vorhanden"),
                                QStringLiteral("Dezimal-Seperator")};
const Refusal kTooManyDecimals{QStringLiteral("Weitere Nachkommastellen\nsind nicht zulässig"),
                               QStringLiteral("Zeichenanzahl überschritten")};
const Refusal kTooManyDigits{QStringLiteral("Weitere Vorkommastellen\nsind nicht zulässig"),
                             QStringLiteral("Zeichenanzahl überschritten")};

struct Settings
{
    int vorkomma = 10;
    int nachkomma = 2;
    QString separator;
    bool showErrorMessage = false;
};

// The filter's decision on one key, from the rules alone.
struct Verdict
{
    enum Kind { Refused, Backspace, Sign, Passed } kind = Passed;
    const Refusal *refusal = nullptr;
    QString signedText;   // Sign: the text the key leaves
    int signedCaret = -1; // Sign: the caret after a sign put in front; -1 where the caret is not set

    static Verdict refused(const Refusal &refusal) { return {Refused, &refusal, QString(), -1}; }
    static Verdict sign(const QString &text, int caret = -1) { return {Sign, nullptr, text, caret}; }
    static Verdict of(Kind kind) { return {kind, nullptr, QString(), -1}; }
};

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

qsizetype digitCount(const QString &text)
{
    return text.size() - text.count(u'+') - text.count(u'-');
}

Verdict judge(const EditState &before, QChar key, const Settings &settings)
{
    const QString &separator = settings.separator;
    const QString allowed = QStringLiteral("0123456789+-\b") + (settings.nachkomma != 0 ? separator : QString());
    if (!allowed.contains(key))
        return Verdict::refused(kNotAllowed);
    if (key == u'\b')
        return Verdict::of(Verdict::Backspace);
    if (key == u'+' || key == u'-') {
        const QChar other = key == u'+' ? u'-' : u'+';
        const QString &text = before.text;
        if (!text.contains(u'+') && !text.contains(u'-'))
            return Verdict::sign(key + text, before.selectionStart + 1);
        if (text.contains(other))
            return Verdict::sign(QString(text).replace(other, key));
        return Verdict::sign(text);
    }
    if (!separator.isEmpty() && before.text.contains(separator) && key == separator.front())
        return Verdict::refused(kSeparatorPresent);

    QString prospective = before.text;
    if (before.selectionLength == 0)
        prospective.append(key);
    else
        prospective.replace(before.selectionStart, before.selectionLength, key);
    if (!separator.isEmpty() && prospective.contains(separator)) {
        const qsizetype decimals = prospective.size() - prospective.indexOf(separator) - 1;
        return decimals > settings.nachkomma ? Verdict::refused(kTooManyDecimals) : Verdict::of(Verdict::Passed);
    }
    return digitCount(prospective) > settings.vorkomma ? Verdict::refused(kTooManyDigits)
                                                       : Verdict::of(Verdict::Passed);
}

// strtod in the C locale, written from its grammar; the digits themselves go through std::from_chars.
bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c, bool hex)
{
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lower(text[at + i]) != word[i])
            return false;
    }
    return true;
}

// The end of an exponent ("e" or "p", an optional sign, digits) at `at`, or `at` when none is complete there.
std::size_t exponentEnd(std::string_view text, std::size_t at, char letter)
{
    if (at >= text.size() || lower(text[at]) != letter)
        return at;
    std::size_t i = at + 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    if (i >= text.size() || !isDigit(text[i], false))
        return at;
    while (i < text.size() && isDigit(text[i], false))
        ++i;
    return i;
}

// Where from_chars reports a value out of range, strtod gives infinity for a huge number and 0 for a tiny one:
// the position of the first significant digit tells which (digits count `digitWeight` each, in the exponent's
// unit).
double outOfRange(std::string_view number, bool hex)
{
    const int digitWeight = hex ? 4 : 1;
    long long magnitude = 0;
    bool significant = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.size() && (isDigit(number[i], hex) || number[i] == '.'); ++i) {
        if (number[i] == '.') {
            afterPoint = true;
        } else if (!significant && number[i] == '0') {
            if (afterPoint)
                magnitude -= digitWeight;
        } else {
            significant = true;
            if (!afterPoint)
                magnitude += digitWeight;
        }
    }
    long long exponent = 0;
    if (i < number.size()) {
        ++i;
        const bool negative = number[i] == '-';
        if (number[i] == '+' || number[i] == '-')
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000LL);
        if (negative)
            exponent = -exponent;
    }
    return magnitude + exponent > 0 ? HUGE_VAL : 0.0;
}

double fromChars(std::string_view number, bool hex)
{
    double value = 0;
    const std::from_chars_result result = std::from_chars(number.data(), number.data() + number.size(), value,
                                                          hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return outOfRange(number, hex);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        fuzz::Fail(QStringLiteral("the reference conversion cannot read its own number ") +
                   QString::fromLatin1(number.data(), number.size()));
    return value;
}

double referenceStrtod(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const auto signedValue = [negative](double value) { return negative ? -value : value; };

    if (startsWithNoCase(text, i, "inf"))
        return signedValue(HUGE_VAL);
    if (startsWithNoCase(text, i, "nan"))
        return NAN;

    const bool hex = startsWithNoCase(text, i, "0x");
    const std::size_t start = hex ? i + 2 : i;
    std::size_t end = start;
    int digits = 0;
    for (; end < text.size() && isDigit(text[end], hex); ++end)
        ++digits;
    if (end < text.size() && text[end] == '.') {
        for (++end; end < text.size() && isDigit(text[end], hex); ++end)
            ++digits;
    }
    if (digits == 0) {
        // "0x" with no digit after it is the number 0 followed by an "x"; no number at all gives 0.
        return hex ? signedValue(0.0) : 0.0;
    }
    end = exponentEnd(text, end, hex ? 'p' : 'e');
    return signedValue(fromChars(text.substr(start, end - start), hex));
}

double referenceDouble(const QString &text, const QString &separator)
{
    if (text.isEmpty())
        return 0.0;
    QString number = text;
    if (!separator.isEmpty() && number.contains(separator))
        number.replace(number.indexOf(separator), separator.size(), QLatin1Char('.'));
    const std::string bytes = number.toStdString();
    return referenceStrtod(bytes);
}

bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class Session
{
public:
    Session()
    {
        QObject::connect(&m_edit, &TCustomEdit::OnKeyPress, &m_edit, [this](char &key) { m_keyPresses.append(key); });
        m_settings.separator = m_edit.GetSeperator();
        FUZZ_CHECK(m_edit.GetVorkomma() == 10 && m_edit.GetNachkomma() == 2 && !m_edit.ShowErrorMessage &&
                       m_settings.separator.size() == 1 && m_edit.text().isEmpty(),
                   QStringLiteral("a new edit has its defaults"));
    }

    void run(fuzz::ByteReader &input)
    {
        while (!input.atEnd()) {
            fuzz::Boxes().clear();
            m_keyPresses.clear();
            perform(input.byte(), input);
            checkAlways();
        }
    }

private:
    void perform(std::uint8_t op, fuzz::ByteReader &input)
    {
        switch (op) {
        case 'V':
        case 'N':
            writeCount(op == 'V', input.byte());
            return;
        case 'P':
            writeSeparator(input);
            return;
        case 'M':
            m_settings.showErrorMessage = m_edit.ShowErrorMessage = !m_edit.ShowErrorMessage;
            fuzz::Step(QStringLiteral("ShowErrorMessage %1").arg(m_edit.ShowErrorMessage));
            return;
        default:
            break;
        }
        Keystroke keystroke;
        bool composed = false;
        if (fuzz::ReadKeystrokeOp(op, input, keystroke, composed)) {
            type(keystroke, composed);
            return;
        }
        const QString before = m_edit.text();
        if (fuzz::PerformEditOp(m_edit, op, input)) {
            FUZZ_CHECK(m_keyPresses.isEmpty() && fuzz::Boxes().calls().isEmpty(),
                       QStringLiteral("caret keys and code are not typed characters"));
            if (m_edit.text() != before)
                m_boundsHold = false;
            return;
        }
        type(fuzz::KeystrokeFor(op), false);
    }

    void writeCount(bool vorkomma, std::uint8_t byte)
    {
        const int value = byte == 0x80 ? INT_MIN : int(static_cast<std::int8_t>(byte));
        int &expected = vorkomma ? m_settings.vorkomma : m_settings.nachkomma;
        fuzz::Step(QStringLiteral("%1 = %2").arg(vorkomma ? "Vorkommastellen" : "Nachkommastellen").arg(value));
        if (vorkomma)
            m_edit.SetVorkomma(value);
        else
            m_edit.SetNachkomma(value);
        if (value < -15 || value > 15) {
            expectBox(QStringLiteral("Nicht mehr als 15 Stellen"), QStringLiteral("TNumericEdit"), MB_OK);
        } else {
            expectNoBox();
            expected = value < 0 ? -value : value;
            m_boundsHold = m_edit.text().isEmpty();
        }
    }

    void writeSeparator(fuzz::ByteReader &input)
    {
        const int length = input.byte() % 3;
        QString value;
        for (int i = 0; i < length; ++i)
            value += Windows1252::toUnicode(static_cast<char>(input.byte()));
        fuzz::Step(QStringLiteral("Seperator = %1 characters").arg(length));
        m_edit.SetSeperator(value);
        if (value.size() > 1) {
            expectBox(QStringLiteral("Nicht mehr als 1 Zeichen"), QStringLiteral("TNumericEdit"), MB_OK);
        } else {
            expectNoBox();
            m_settings.separator = value;
            m_boundsHold = m_edit.text().isEmpty();
        }
    }

    void type(const Keystroke &keystroke, bool composed)
    {
        const EditState before = fuzz::StateOf(m_edit);
        fuzz::Step((composed ? QStringLiteral("compose ") : QStringLiteral("type ")) + fuzz::Describe(keystroke) +
                   QStringLiteral(" into ") + before.describe());
        if (composed && !fuzz::CanCompose(m_edit, keystroke))
            return;
        if (composed)
            fuzz::Compose(m_edit, keystroke);
        else
            fuzz::Type(m_edit, keystroke);
        const EditState after = fuzz::StateOf(m_edit);

        if (!keystroke.hooked) {
            FUZZ_CHECK(after.text == before.text && m_keyPresses.isEmpty(),
                       QStringLiteral("a key that types nothing leaves %1").arg(after.describe()));
            expectNoBox();
            return;
        }

        const Verdict verdict = judge(before, Windows1252::toUnicode(keystroke.key), m_settings);
        switch (verdict.kind) {
        case Verdict::Refused:
            FUZZ_CHECK(after == before, QStringLiteral("a refused key left %1").arg(after.describe()));
            FUZZ_CHECK(m_keyPresses.isEmpty(), QStringLiteral("OnKeyPress saw a refused key"));
            if (m_settings.showErrorMessage)
                expectBox(verdict.refusal->text, verdict.refusal->caption, MB_ICONERROR);
            else
                expectNoBox();
            return;
        case Verdict::Sign:
            FUZZ_CHECK(after.text == verdict.signedText,
                       QStringLiteral("a sign key left %1, not '%2'").arg(after.describe(), verdict.signedText));
            FUZZ_CHECK(verdict.signedCaret < 0 || (after.cursor == verdict.signedCaret && after.selectionLength == 0),
                       QStringLiteral("the caret after a sign put in front: %1").arg(after.describe()));
            FUZZ_CHECK(verdict.signedText != before.text || verdict.signedCaret >= 0 || after == before,
                       QStringLiteral("a sign key that changes nothing left %1").arg(after.describe()));
            FUZZ_CHECK(m_keyPresses.isEmpty(), QStringLiteral("OnKeyPress saw a sign key"));
            expectNoBox();
            return;
        case Verdict::Backspace:
            FUZZ_CHECK(after.text == fuzz::TextAfterBackspace(before, m_edit.isReadOnly()),
                       QStringLiteral("Backspace left %1").arg(after.describe()));
            break;
        case Verdict::Passed:
            // A control character passes only as the separator; the edit then does what that key does
            // anyway (Ctrl+V pastes, Ctrl+Backspace deletes a word).
            if (isControl(keystroke.typed.front())) {
                m_boundsHold = false;
                break;
            }
            FUZZ_CHECK(after.text == fuzz::TextAfterInsert(before, keystroke.typed, composed, m_edit.isReadOnly(),
                                                           m_edit.MaxLength()),
                       QStringLiteral("a passed key left %1").arg(after.describe()));
            // The filter judges the key as if it went at the end, and counts no digits before a separator: a
            // key typed elsewhere, or before the separator, escapes the digit counts.
            if (after.text != before.text && (landsBeforeSeparator(before, after.text) ||
                                              (before.selectionLength == 0 && before.cursor != before.text.size())))
                m_boundsHold = false;
            break;
        }
        FUZZ_CHECK(m_keyPresses == QList<char>{keystroke.key},
                   QStringLiteral("OnKeyPress saw %1 keys for a passed key").arg(m_keyPresses.size()));
        expectNoBox();
        // Taking the separator out joins the decimals to the digits before it.
        const QString &separator = m_settings.separator;
        if (!separator.isEmpty() && before.text.contains(separator) && !after.text.contains(separator))
            m_boundsHold = false;
    }

    bool landsBeforeSeparator(const EditState &before, const QString &after) const
    {
        const int at = before.selectionLength > 0 ? before.selectionStart : before.cursor;
        return !m_settings.separator.isEmpty() && after.indexOf(m_settings.separator) > at;
    }

    void checkAlways()
    {
        FUZZ_CHECK(m_edit.GetVorkomma() == m_settings.vorkomma && m_edit.GetNachkomma() == m_settings.nachkomma &&
                       m_edit.GetSeperator() == m_settings.separator,
                   QStringLiteral("the properties hold what was written"));

        const QString text = m_edit.text();
        const double actual = m_edit.GetDouble();
        const double expected = referenceDouble(text, m_settings.separator);
        FUZZ_CHECK(sameDouble(actual, expected), QStringLiteral("GetDouble of %1 gives %2, not %3")
                                                     .arg(fuzz::StateOf(m_edit).describe())
                                                     .arg(actual, 0, 'g', 17)
                                                     .arg(expected, 0, 'g', 17));

        if (text.isEmpty())
            m_boundsHold = true;
        const QString &separator = m_settings.separator;
        // A sign as separator makes every signed number look like decimals; the counts cannot hold then.
        if (!m_boundsHold || separator == QLatin1String("+") || separator == QLatin1String("-"))
            return;
        if (!separator.isEmpty() && text.contains(separator)) {
            const qsizetype at = text.indexOf(separator);
            FUZZ_CHECK(digitCount(text.left(at)) <= m_settings.vorkomma && text.size() - at - 1 <= m_settings.nachkomma,
                       QStringLiteral("typed text %1 holds too many digits").arg(fuzz::StateOf(m_edit).describe()));
        } else {
            FUZZ_CHECK(digitCount(text) <= m_settings.vorkomma,
                       QStringLiteral("typed text %1 holds too many digits").arg(fuzz::StateOf(m_edit).describe()));
        }
    }

    void expectBox(const QString &text, const QString &caption, int flags)
    {
        const QList<MessageBoxCall> &calls = fuzz::Boxes().calls();
        FUZZ_CHECK(calls.size() == 1, QStringLiteral("%1 message boxes instead of \"%2\"").arg(calls.size()).arg(text));
        FUZZ_CHECK(calls.front().text == text && calls.front().caption == caption && calls.front().flags == flags,
                   QStringLiteral("message box \"%1\" / \"%2\" / %3 instead of \"%4\"")
                       .arg(calls.front().text, calls.front().caption)
                       .arg(calls.front().flags)
                       .arg(text));
    }

    static void expectNoBox()
    {
        FUZZ_CHECK(fuzz::Boxes().calls().isEmpty(),
                   QStringLiteral("unexpected message box \"%1\"").arg(fuzz::Boxes().calls().front().text));
    }

    TNumericEdit m_edit;
    Settings m_settings;
    QList<char> m_keyPresses;
    // Whether the text came about so that the digit counts must hold: typed at its end, under the current
    // settings, since it was last empty.
    bool m_boundsHold = true;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::StartQt();
    // GetDouble reads "." whatever the user's locale says; a German one writes ",".
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::NewInput();
    fuzz::ByteReader input(data, size);
    Session session;
    session.run(input);
    return 0;
}
