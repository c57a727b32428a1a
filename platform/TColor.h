#pragma once

#include <cstdint>

class QColor;
class QPalette;

// 0x00BBGGRR for a plain colour (red in the low byte), 0x800000nn for the system colour with index nn.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool isSystemColor(TColor color)
{
    return (color & 0xFF000000) == 0x80000000;
}

// System colours are resolved against the palette at the moment of drawing, so they follow a palette change.
QColor toQColor(TColor color, const QPalette &palette);
QColor toQColor(TColor color);
TColor fromQColor(const QColor &color);
