#include "Controls.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kColorProperty[] = "Color";

bool hasOwnColor(const QWidget *control)
{
    return control->metaObject()->indexOfProperty(kColorProperty) >= 0;
}

} // namespace

void SetColor(QWidget *control, TColor color)
{
    if (hasOwnColor(control)) {
        control->setProperty(kColorProperty, QVariant::fromValue(color));
        return;
    }
    QPalette palette = control->palette();
    palette.setColor(control->backgroundRole(), toQColor(color, palette));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

TColor Color(const QWidget *control)
{
    if (hasOwnColor(control))
        return control->property(kColorProperty).value<TColor>();
    return fromQColor(control->palette().color(control->backgroundRole()));
}

void SetFontColor(QWidget *control, TColor color)
{
    QPalette palette = control->palette();
    const QColor resolved = toQColor(color, palette);
    // Labels draw with WindowText, edits with Text, buttons with ButtonText: the font colour is all three.
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, resolved);
    control->setPalette(palette);
}

TColor FontColor(const QWidget *control)
{
    return fromQColor(control->palette().color(control->foregroundRole()));
}
