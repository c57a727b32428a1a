#include "Numericedit.h"

#include "ComponentRegistry.h"
#include "Locale.h"
#include "MessageBox.h"
#include "Windows1252.h"

#include <clocale>
#include <cstdlib>

namespace {

const QChar kBackspace(8);
const QChar kPlus(u'+');
const QChar kMinus(u'-');

// Changes `text` in place, scanning it left to right: each occurrence of `search` gives way to `replacement`,
// and the scan goes on right after the inserted replacement. `search` must not be empty.
void ReplaceSubstring(QString &text, const QString &search, const QString &replacement)
{
    Q_ASSERT(!search.isEmpty());
    qsizetype position = 0;
    while (position < text.size()) {
        if (QStringView(text).mid(position).startsWith(search)) {
            text.replace(position, search.size(), replacement);
            position += replacement.size();
        } else {
            ++position;
        }
    }
}

bool holdsSeparator(const QString &text, const QString &separator)
{
    return !separator.isEmpty() && text.contains(separator);
}

// The text as it would be if the edit took the key: appended when nothing is selected, in place of the
// selection otherwise. Only its lengths matter, so the caret is not looked at.
QString prospectiveText(const TCustomEdit &edit, QChar typed)
{
    QString text = edit.text();
    if (edit.SelLength() == 0)
        text.append(typed);
    else
        text.replace(edit.SelStart(), edit.SelLength(), typed);
    return text;
}

// Every character that is not a sign counts as a digit, letters set from code included.
qsizetype digitCount(QString text)
{
    ReplaceSubstring(text, QString(kMinus), QString());
    ReplaceSubstring(text, QString(kPlus), QString());
    return text.size();
}

// A sign key never types itself: it puts the sign in front of an unsigned number, or turns the other sign
// wherever it stands into this one. It writes the text directly, so it works in a read-only edit too.
void putSign(TCustomEdit &edit, QChar sign)
{
    const QChar other = sign == kPlus ? kMinus : kPlus;
    QString text = edit.text();
    if (!text.contains(kPlus) && !text.contains(kMinus)) {
        const int caret = edit.SelStart();
        edit.setText(sign + text);
        edit.SetSelStart(caret + 1);
    } else if (text.contains(other)) {
        ReplaceSubstring(text, QString(other), QString(sign));
        edit.setText(text);
    }
}

void refuse(char &key, bool explain, const QString &text, const QString &caption)
{
    if (explain)
        MessageBox(text, caption, MB_ICONERROR);
    key = 0;
}

// Stores the magnitude of `value`. The most negative int has no magnitude of its type and is refused
// with every other value beyond 15.
void setDigitCount(int &count, int value)
{
    if (value < -15 || value > 15) {
        MessageBox(QStringLiteral("Nicht mehr als 15 Stellen"), QStringLiteral("TNumericEdit"), MB_OK);
        return;
    }
    count = value < 0 ? -value : value;
}

// Numbers in the text always use "." once the separator is replaced, while Qt sets the C library's locale
// from the user's environment at start-up.
locale_t classicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return classic;
}

} // namespace

TNumericEdit::TNumericEdit(QWidget *parent) : TCustomEdit(parent), m_seperator(SystemDecimalSeparator()) {}

void TNumericEdit::SetVorkomma(int Value)
{
    setDigitCount(m_vorkomma, Value);
}

void TNumericEdit::SetNachkomma(int Value)
{
    setDigitCount(m_nachkomma, Value);
}

void TNumericEdit::SetSeperator(const QString &Value)
{
    if (Value.size() > 1) {
        MessageBox(QStringLiteral("Nicht mehr als 1 Zeichen"), QStringLiteral("TNumericEdit"), MB_OK);
        return;
    }
    m_seperator = Value;
}

double TNumericEdit::GetDouble() const
{
    QString number = text();
    if (number.isEmpty())
        return 0.0;
    if (holdsSeparator(number, m_seperator))
        number.replace(number.indexOf(m_seperator), m_seperator.size(), QLatin1Char('.'));
    return strtod_l(number.toUtf8().constData(), nullptr, classicLocale());
}

void TNumericEdit::KeyPress(char &Key)
{
    // The separator is compared as a character, so one the code page lacks can never be typed.
    const QChar typed = Windows1252::toUnicode(Key);
    const QString allowed = QStringLiteral("0123456789+-\b") + (m_nachkomma != 0 ? m_seperator : QString());
    if (!allowed.contains(typed)) {
        refuse(Key, ShowErrorMessage, QStringLiteral("Unzulässiges Zeichen\nZülässing sind: 0123456789+-"),
               QStringLiteral("Unzulässiges Zeichen"));
        return;
    }
    if (typed == kBackspace) {
        TCustomEdit::KeyPress(Key);
        return;
    }
    if (typed == kPlus || typed == kMinus) {
        putSign(*this, typed);
        Key = 0;
        return;
    }
    // Judged on the text before the key, so a selected separator still counts as present.
    if (holdsSeparator(text(), m_seperator) && typed == m_seperator.front()) {
        refuse(Key, ShowErrorMessage, QStringLiteral("Dezimal-Seperator ist schon vorhanden"),
               QStringLiteral("Dezimal-Seperator"));
        return;
    }

    const QString prospective = prospectiveText(*this, typed);
    if (holdsSeparator(prospective, m_seperator)) {
        const qsizetype decimals = prospective.size() - prospective.indexOf(m_seperator) - 1;
        if (decimals > m_nachkomma) {
            refuse(Key, ShowErrorMessage, QStringLiteral("Weitere Nachkommastellen\nsind nicht zulässig"),
                   QStringLiteral("Zeichenanzahl überschritten"));
            return;
        }
    } else if (digitCount(prospective) > m_vorkomma) {
        refuse(Key, ShowErrorMessage, QStringLiteral("Weitere Vorkommastellen\nsind nicht zulässig"),
               QStringLiteral("Zeichenanzahl überschritten"));
        return;
    }
    TCustomEdit::KeyPress(Key);
}

namespace Numericedit {

void Register()
{
    RegisterComponents<TNumericEdit>(QStringLiteral("User"), QStringLiteral("Numericedit.h"));
}

} // namespace Numericedit
