#include "TColor.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole roleForSystemIndex(unsigned index)
{
    switch (index) {
    case 5: // window background
        return QPalette::Base;
    case 6:  // window frame
    case 21: // 3D dark shadow
        return QPalette::Shadow;
    case 8: // window text
        return QPalette::WindowText;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 16: // button shadow
        return QPalette::Dark;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 22: // 3D light
        return QPalette::Midlight;
    case 23: // tooltip text
        return QPalette::ToolTipText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor toQColor(TColor color, const QPalette &palette)
{
    if (isSystemColor(color))
        return palette.color(QPalette::Active, roleForSystemIndex(color & 0xFF));
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QColor toQColor(TColor color)
{
    return toQColor(color, QGuiApplication::palette());
}

TColor fromQColor(const QColor &color)
{
    return TColor(color.red()) | TColor(color.green()) << 8 | TColor(color.blue()) << 16;
}
