#include "Hexedit.h"

#include "ComponentRegistry.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

// The characters typing may enter; the view holds no terminating zero, so the character 0 is never found.
constexpr std::string_view kAcceptedKeys = "0123456789ABCDEFabcedf\b";

bool isCSpace(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Only ASCII digits count; other scripts' digits end the number.
int hexDigitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

qint32 leadingHexNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // A 0x without digits after it reads as the number 0, which skipping it yields as well.
    if (text.mid(i).startsWith(u"0x", Qt::CaseInsensitive))
        i += 2;

    const qint64 limit = negative ? -qint64(std::numeric_limits<qint32>::min()) : std::numeric_limits<qint32>::max();
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0)
            break;
        // Saturated stays saturated, however many digits follow.
        magnitude = std::min(magnitude * 16 + digit, limit);
    }
    return static_cast<qint32>(negative ? -magnitude : magnitude);
}

} // namespace

THexEdit::THexEdit(QWidget *parent) : TCustomEdit(parent)
{
    setText(QString());
}

qint32 THexEdit::GetDezimal() const
{
    const QString value = text();
    if (value.isEmpty())
        return 0;
    return leadingHexNumber(value);
}

void THexEdit::KeyPress(char &Key)
{
    if (kAcceptedKeys.find(Key) != std::string_view::npos)
        TCustomEdit::KeyPress(Key);
    else
        Key = 0;
}

namespace Hexedit {

void Register()
{
    RegisterComponents<THexEdit>(QStringLiteral("User"), QStringLiteral("Hexedit.h"));
}

} // namespace Hexedit
