#pragma once

#include "TColor.h"

#include <QTimer>
#include <QWidget>

// A 15 x 15 round lamp showing its on-colour or its off-colour; initially off. It can blink, but its timer
// runs only while blinking is switched on, so an idle lamp causes no wake-ups. It takes no keyboard focus.
class TZorbLed : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint ColorOn READ ColorOn WRITE SetColorOn)
    Q_PROPERTY(uint ColorOff READ ColorOff WRITE SetColorOff)
    Q_PROPERTY(uint ColorHighlight READ ColorHighlight WRITE SetColorHighlight)
    Q_PROPERTY(bool Blinking READ Blinking WRITE SetBlinking)

public:
    explicit TZorbLed(QWidget *parent = nullptr);

    TColor ColorOn() const { return m_colorOn; }
    void SetColorOn(TColor value);
    TColor ColorOff() const { return m_colorOff; }
    void SetColorOff(TColor value);
    TColor ColorHighlight() const { return m_colorHighlight; }
    void SetColorHighlight(TColor value);

    // Switches between the two colours every 200 ms while on.
    bool Blinking() const { return m_blinkTimer.isActive(); }
    void SetBlinking(bool value);

    bool isOn() const { return m_on; }
    // Each stops any blinking and shows the lamp's colour for that state.
    void LedOn();
    void LedOff();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setLit(bool on);

    TColor m_colorOn = clRed;
    TColor m_colorOff = clGreen;
    TColor m_colorHighlight = clWhite;
    bool m_on = false;
    QTimer m_blinkTimer{this};
};
