#include "mixer.h"

#include <QTest>

using mixer::Channel;

Q_DECLARE_METATYPE(mixer::Channel)

class TestMixer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valueText_data();
    void valueText();
    void colorCodeAndMixedColor_data();
    void colorCodeAndMixedColor();
    void channelColor_data();
    void channelColor();
    void channelTextColor_data();
    void channelTextColor();
    void hexModeStartsDecimal();
};

void TestMixer::valueText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("hexadecimal");

    QTest::newRow("0") << 0 << "0"
                       << "00h";
    QTest::newRow("9") << 9 << "9"
                       << "09h";
    QTest::newRow("10") << 10 << "10"
                        << "0Ah";
    QTest::newRow("149") << 149 << "149"
                         << "95h";
    QTest::newRow("150") << 150 << "150"
                         << "96h";
    QTest::newRow("171") << 171 << "171"
                         << "ABh";
    QTest::newRow("255") << 255 << "255"
                         << "FFh";
}

void TestMixer::valueText()
{
    QFETCH(int, value);
    QFETCH(QString, decimal);
    QFETCH(QString, hexadecimal);

    QCOMPARE(QString::fromStdString(mixer::ValueText(value, false)), decimal);
    QCOMPARE(QString::fromStdString(mixer::ValueText(value, true)), hexadecimal);
}

void TestMixer::colorCodeAndMixedColor_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("code");
    QTest::addColumn<uint>("mixed");

    QTest::newRow("black") << 0 << 0 << 0 << "#000000" << 0x000000u;
    QTest::newRow("red") << 255 << 0 << 0 << "#FF0000" << 0x0000FFu;
    QTest::newRow("green") << 0 << 255 << 0 << "#00FF00" << 0x00FF00u;
    QTest::newRow("blue") << 0 << 0 << 255 << "#0000FF" << 0xFF0000u;
    QTest::newRow("1,2,3") << 1 << 2 << 3 << "#010203" << 0x030201u;
    QTest::newRow("white") << 255 << 255 << 255 << "#FFFFFF" << 0xFFFFFFu;
    QTest::newRow("orange") << 255 << 128 << 0 << "#FF8000" << 0x0080FFu;
}

void TestMixer::colorCodeAndMixedColor()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QString, code);
    QFETCH(uint, mixed);

    QCOMPARE(QString::fromStdString(mixer::ColorCode(red, green, blue)), code);
    QCOMPARE(mixer::MixedColor(red, green, blue), mixed);
}

void TestMixer::channelColor_data()
{
    QTest::addColumn<Channel>("channel");
    QTest::addColumn<int>("value");
    QTest::addColumn<uint>("color");

    QTest::newRow("red 0 is black") << Channel::Red << 0 << 0x000000u;
    QTest::newRow("green 0 is black") << Channel::Green << 0 << 0x000000u;
    QTest::newRow("blue 0 is black") << Channel::Blue << 0 << 0x000000u;
    QTest::newRow("red 255") << Channel::Red << 255 << 0x0000FFu;
    QTest::newRow("green 200") << Channel::Green << 200 << 0x00C800u;
    QTest::newRow("blue 255") << Channel::Blue << 255 << 0xFF0000u;
}

void TestMixer::channelColor()
{
    QFETCH(Channel, channel);
    QFETCH(int, value);
    QFETCH(uint, color);

    QCOMPARE(mixer::ChannelColor(channel, value), color);
}

void TestMixer::channelTextColor_data()
{
    QTest::addColumn<Channel>("channel");
    QTest::addColumn<int>("value");
    QTest::addColumn<uint>("color");

    QTest::newRow("green 149 white") << Channel::Green << 149 << 0xFFFFFFu;
    QTest::newRow("green 150 black") << Channel::Green << 150 << 0x000000u;
    QTest::newRow("green 255 black") << Channel::Green << 255 << 0x000000u;
    QTest::newRow("green 0 white") << Channel::Green << 0 << 0xFFFFFFu;
    QTest::newRow("red 255 white") << Channel::Red << 255 << 0xFFFFFFu;
    QTest::newRow("blue 255 white") << Channel::Blue << 255 << 0xFFFFFFu;
}

void TestMixer::channelTextColor()
{
    QFETCH(Channel, channel);
    QFETCH(int, value);
    QFETCH(uint, color);

    QCOMPARE(mixer::ChannelTextColor(channel, value), color);
}

void TestMixer::hexModeStartsDecimal()
{
    QCOMPARE(HexMode, false);
}

QTEST_APPLESS_MAIN(TestMixer)
#include "tst_mixer.moc"
