#include "Unit1.h"

#include "Controls.h"
#include "MessageBox.h"
#include "Unit2.h"

using mixer::Channel;

TForm1 *Form1 = nullptr;

namespace {

constexpr std::array<Channel, 3> kChannels = {Channel::Red, Channel::Green, Channel::Blue};

} // namespace

TForm1::TForm1(QWidget *parent) : TForm(parent)
{
    setupUi(this);
    HexMode = false;
    for (const Channel channel : kChannels)
        display(channel)->setText(QStringLiteral("0"));
    ScrollBar1->setFocus();
}

void TForm1::FormPaint()
{
    showModeOnLamps();
    for (const Channel channel : kChannels)
        display(channel)->clear();
    for (const Channel channel : kChannels)
        SetFontColor(display(channel), mixer::White);
    Edit1->clear();
    Edit1->setText(QStringLiteral("#000000"));
    writeDisplayTexts();
    EncartaButton5->setVisible(false);
    SetColor(Panel1, mixedColor());
    Edit1->setText(colorCode());
}

void TForm1::FormActivate()
{
    showRefreshButtonIfResultVisible();
}

void TForm1::FormMouseMove()
{
    showRefreshButtonIfResultVisible();
}

void TForm1::ScrollBar1Change()
{
    ScrollBarChange(Channel::Red);
}

void TForm1::ScrollBar2Change()
{
    ScrollBarChange(Channel::Green);
}

void TForm1::ScrollBar3Change()
{
    ScrollBarChange(Channel::Blue);
}

void TForm1::ScrollBarChange(Channel channel)
{
    TNumericEdit *channelDisplay = display(channel);
    const mixer::Color textColor = mixer::ChannelTextColor(channel, value(channel));

    showRefreshButtonIfResultVisible();
    SetFontColor(channelDisplay, textColor);
    SetColor(channelDisplay, mixer::ChannelColor(channel, value(channel)));
    SetColor(Panel1, mixedColor());
    SetColor(EncartaButton4, Color(Panel1));
    SetFontColor(EncartaButton4, textColor);
    Edit1->setText(colorCode());
    channelDisplay->setText(valueText(channel));
}

void TForm1::EncartaButton1Click()
{
    HexMode = false;
    showRefreshButtonIfResultVisible();
    showModeOnLamps();
    writeDisplayTexts();
}

void TForm1::EncartaButton2Click()
{
    HexMode = true;
    showRefreshButtonIfResultVisible();
    showModeOnLamps();
    writeDisplayTexts();
}

void TForm1::EncartaButton3Click()
{
    HexMode = false;
    showModeOnLamps();
    // Each slider that moves runs its change handler right here, before the next one is set.
    ScrollBar1->setValue(0);
    ScrollBar2->setValue(0);
    ScrollBar3->setValue(0);
    writeDisplayTexts();
    Edit1->setText(colorCode());
    SetColor(EncartaButton4, clBtnFace);
    SetFontColor(EncartaButton4, clBlack);
}

void TForm1::EncartaButton4Click()
{
    EncartaButton5->setVisible(true);
    SetColor(Form2, Color(Panel1));
    Form2->show();
    Form2->raise();
    Form2->activateWindow();
}

void TForm1::EncartaButton5Click()
{
    SetColor(Form2, Color(Panel1));
}

void TForm1::EncartaButton6Click()
{
    close();
}

void TForm1::HemisphereButton1Click()
{
    Edit1->selectAll();
    Edit1->copy();
    MessageBox(QStringLiteral("Hexadizimalwert wurde in die\nZwischenablage kopiert."),
               QStringLiteral("Mitteilung ..."), MB_OK);
    Edit1->setText(colorCode());
}

void TForm1::showRefreshButtonIfResultVisible()
{
    if (Form2 && Form2->isVisible())
        EncartaButton5->setVisible(true);
}

void TForm1::showModeOnLamps()
{
    if (HexMode) {
        ZorbLed1->LedOff();
        ZorbLed2->LedOn();
    } else {
        ZorbLed1->LedOn();
        ZorbLed2->LedOff();
    }
}

void TForm1::writeDisplayTexts()
{
    for (const Channel channel : kChannels)
        display(channel)->setText(valueText(channel));
}

int TForm1::value(Channel channel) const
{
    switch (channel) {
    case Channel::Red:
        return ScrollBar1->value();
    case Channel::Green:
        return ScrollBar2->value();
    case Channel::Blue:
        return ScrollBar3->value();
    }
    return 0;
}

TNumericEdit *TForm1::display(Channel channel) const
{
    switch (channel) {
    case Channel::Red:
        return NumericEdit1;
    case Channel::Green:
        return NumericEdit2;
    case Channel::Blue:
        return NumericEdit3;
    }
    return nullptr;
}

QString TForm1::valueText(Channel channel) const
{
    return QString::fromStdString(mixer::ValueText(value(channel), HexMode));
}

QString TForm1::colorCode() const
{
    return QString::fromStdString(mixer::ColorCode(value(Channel::Red), value(Channel::Green), value(Channel::Blue)));
}

mixer::Color TForm1::mixedColor() const
{
    return mixer::MixedColor(value(Channel::Red), value(Channel::Green), value(Channel::Blue));
}
