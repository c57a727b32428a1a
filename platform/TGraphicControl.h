#pragma once

#include "TCanvas.h"

#include <QWidget>

// A control that draws itself on its area through Paint and its Canvas. It takes no focus, and mouse events
// over it stay with it instead of reaching the window beneath.
class TGraphicControl : public QWidget
{
    Q_OBJECT

public:
    explicit TGraphicControl(QWidget *parent = nullptr);

    // Asks for a repaint; Paint runs at the next paint of the control.
    void Invalidate();

protected:
    // Runs for every paint of the control, the only time Canvas can draw. The base draws nothing.
    virtual void Paint();

    void paintEvent(QPaintEvent *event) override;

    TCanvas Canvas{*this};
};
