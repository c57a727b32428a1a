#include "Windows1252.h"

namespace {

// 0x80..0x9F is the only range where the code page differs from Latin-1; 0 marks its five unassigned bytes.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

namespace Windows1252 {

char fromUnicode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i) {
        if (kHighControlRange[i] != 0 && kHighControlRange[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QChar toUnicode(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte <= 0x9F && kHighControlRange[byte - 0x80] != 0)
        return QChar(kHighControlRange[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

} // namespace Windows1252
