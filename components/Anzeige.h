#pragma once

#include "TGraphicControl.h"

// A square status lamp: its area shows one of two colours, chosen by Status, inside a black two-pixel frame.
class TAnzeige : public TGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(uint Color_on READ Color_on WRITE SetFarbe_on)
    Q_PROPERTY(uint Color_off READ Color_off WRITE SetFarbe_off)
    Q_PROPERTY(bool Status READ Status WRITE SetStatus)

public:
    explicit TAnzeige(QWidget *parent = nullptr);

    // Each writer stores its value and asks for a repaint, also when the value is unchanged.
    TColor Color_on() const { return m_colorOn; }
    void SetFarbe_on(TColor Value);
    TColor Color_off() const { return m_colorOff; }
    void SetFarbe_off(TColor Value);
    // True shows Color_on, false Color_off.
    bool Status() const { return m_status; }
    void SetStatus(bool Value);

protected:
    void Paint() override;

private:
    TColor m_colorOn = clAqua;
    TColor m_colorOff = clBtnFace;
    bool m_status = false;
};

namespace Anzeige {
void Register();
}
