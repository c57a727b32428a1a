#include "TGraphicControl.h"

#include <QPainter>
#include <QScopeGuard>

TGraphicControl::TGraphicControl(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoMousePropagation);
}

void TGraphicControl::Invalidate()
{
    update();
}

void TGraphicControl::Paint() {}

void TGraphicControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Lines and fills land on whole pixels, as the controls' drawing steps count them.
    painter.setRenderHint(QPainter::Antialiasing, false);
    Canvas.setPainter(&painter);
    const auto detach = qScopeGuard([this] { Canvas.setPainter(nullptr); });
    Paint();
}
