#pragma once

#include "TColor.h"

#include <QPoint>

class QPainter;
class QWidget;

enum TPenStyle { psSolid, psClear };
enum TBrushStyle { bsSolid, bsClear };

struct TPen
{
    TColor Color = clBlack;
    TPenStyle Style = psSolid;
    int Width = 1; // in pixels
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// The drawing surface a graphic control paints through during its Paint. Pen and brush keep their settings
// between paints; colours are resolved against the control's palette only when something is drawn, so system
// colours follow a palette change.
class TCanvas
{
public:
    explicit TCanvas(const QWidget &owner);
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    // Fills the area from (X1, Y1) up to, not including, (X2, Y2) with the brush and outlines it with the pen
    // along its outermost pixels.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void MoveTo(int X, int Y);
    // Draws from the pen position to (X, Y), which becomes the new pen position. A one-pixel line leaves out
    // its end point, so consecutive lines meet without drawing a pixel twice.
    void LineTo(int X, int Y);

    TPen Pen;
    TBrush Brush;

private:
    friend class TGraphicControl;

    void setPainter(QPainter *painter) { m_painter = painter; }
    // The painter of the running Paint; null, with a warning, when nobody is painting.
    QPainter *activePainter() const;
    void applyPen(QPainter &painter) const;

    const QWidget &m_owner;
    QPainter *m_painter = nullptr;
    QPoint m_penPos;
};
