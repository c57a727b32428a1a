#include "TCanvas.h"

#include <QPainter>
#include <QWidget>

TCanvas::TCanvas(const QWidget &owner) : m_owner(owner) {}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    QPainter *painter = activePainter();
    if (!painter)
        return;

    const QRect area(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1));
    if (Brush.Style == bsSolid)
        painter->fillRect(area, toQColor(Brush.Color, m_owner.palette()));
    if (Pen.Style != psClear) {
        applyPen(*painter);
        painter->setBrush(Qt::NoBrush);
        // QPainter outlines a rectangle one pixel beyond its width and height.
        painter->drawRect(area.adjusted(0, 0, -1, -1));
    }
}

void TCanvas::MoveTo(int X, int Y)
{
    m_penPos = QPoint(X, Y);
}

void TCanvas::LineTo(int X, int Y)
{
    const QPoint from = m_penPos;
    m_penPos = QPoint(X, Y);
    QPainter *painter = activePainter();
    if (!painter || Pen.Style == psClear)
        return;

    applyPen(*painter);
    painter->drawLine(from, m_penPos);
}

QPainter *TCanvas::activePainter() const
{
    if (!m_painter)
        qWarning("TCanvas: drawing outside of Paint is ignored");
    return m_painter;
}

void TCanvas::applyPen(QPainter &painter) const
{
    // Flat ends leave out the last pixel of a thin line; wide lines get round ends, which close the corners
    // where two of them meet.
    const Qt::PenCapStyle cap = Pen.Width > 1 ? Qt::RoundCap : Qt::FlatCap;
    painter.setPen(QPen(toQColor(Pen.Color, m_owner.palette()), Pen.Width, Qt::SolidLine, cap, Qt::RoundJoin));
}
