#pragma once

#include "TForm.h"
#include "mixer.h"
#include "ui_Unit1.h"

#include <array>

// The main window: three sliders mix the colour; displays, preview, code field and buttons show and use it.
// The controls of its layout are public members, as the result window reaches into it.
class TForm1 : public TForm, public Ui::TForm1
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);

public Q_SLOTS:
    void FormPaint();
    void FormActivate();
    void FormMouseMove();
    void ScrollBar1Change();
    void ScrollBar2Change();
    void ScrollBar3Change();
    void EncartaButton1Click();
    void EncartaButton2Click();
    void EncartaButton3Click();
    void EncartaButton4Click();
    void EncartaButton5Click();
    void EncartaButton6Click();
    void HemisphereButton1Click();

private:
    void ScrollBarChange(mixer::Channel channel);
    void showRefreshButtonIfResultVisible();
    void showModeOnLamps();
    void writeDisplayTexts();

    int value(mixer::Channel channel) const;
    TNumericEdit *display(mixer::Channel channel) const;
    QString valueText(mixer::Channel channel) const;
    QString colorCode() const;
    mixer::Color mixedColor() const;
};

extern TForm1 *Form1;
