#include "Anzeige.h"

#include "ComponentRegistry.h"

TAnzeige::TAnzeige(QWidget *parent) : TGraphicControl(parent)
{
    resize(25, 25);
}

void TAnzeige::SetFarbe_on(TColor Value)
{
    m_colorOn = Value;
    Invalidate();
}

void TAnzeige::SetFarbe_off(TColor Value)
{
    m_colorOff = Value;
    Invalidate();
}

void TAnzeige::SetStatus(bool Value)
{
    m_status = Value;
    Invalidate();
}

void TAnzeige::Paint()
{
    TGraphicControl::Paint();
    const int W = width();
    const int H = height();

    Canvas.Pen.Style = psClear;
    Canvas.Brush.Style = bsSolid;
    Canvas.Brush.Color = m_status ? m_colorOn : m_colorOff;
    Canvas.Rectangle(0, 0, W, H);

    // Inset by half the pen width, so each line lies along one edge.
    Canvas.Pen.Color = clBlack;
    Canvas.Pen.Style = psSolid;
    Canvas.Pen.Width = 2;
    Canvas.MoveTo(1, 1);
    Canvas.LineTo(1, H - 1);
    Canvas.LineTo(W - 1, H - 1);
    Canvas.LineTo(W - 1, 1);
    Canvas.LineTo(1, 1);
}

namespace Anzeige {

void Register()
{
    RegisterComponents<TAnzeige>(QStringLiteral("Beispiele"), QStringLiteral("Anzeige.h"));
}

} // namespace Anzeige
