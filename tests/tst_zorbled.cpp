#include "ZorbLed.h"

#include <QTest>
#include <QTimer>
#include <algorithm>

namespace {

// The middle of the disc, away from the highlight.
const QPoint Middle(9, 9);

// The lamp alone on a transparent image, as it lies over whatever is behind it.
QImage render(TZorbLed &led)
{
    QImage image(led.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    led.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QColor shown(TZorbLed &led)
{
    return render(led).pixelColor(Middle);
}

bool anyTimerActive(const TZorbLed &led)
{
    const QList<QTimer *> timers = led.findChildren<QTimer *>();
    return std::any_of(timers.begin(), timers.end(), [](const QTimer *timer) { return timer->isActive(); });
}

} // namespace

class TestZorbLed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isAFixedLampThatTakesNoFocus();
    void propertiesHaveTheirDefaultsAndTakeStoredValues_data();
    void propertiesHaveTheirDefaultsAndTakeStoredValues();
    void startsOffWithNoTimerRunning();
    void showsTheColourOfItsState_data();
    void showsTheColourOfItsState();
    void drawsAnOutlinedDiscWithAHighlight();
    void blinksEvery200Milliseconds();
    void ledOnAndLedOffStopBlinking_data();
    void ledOnAndLedOffStopBlinking();
};

void TestZorbLed::isAFixedLampThatTakesNoFocus()
{
    TZorbLed led;
    QCOMPARE(led.size(), QSize(15, 15));
    QCOMPARE(led.sizeHint(), QSize(15, 15));
    QCOMPARE(led.focusPolicy(), Qt::NoFocus);
}

void TestZorbLed::propertiesHaveTheirDefaultsAndTakeStoredValues_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<uint>("defaultValue");

    QTest::newRow("ColorOn") << QByteArray("ColorOn") << uint(clRed);
    QTest::newRow("ColorOff") << QByteArray("ColorOff") << uint(clGreen);
    QTest::newRow("ColorHighlight") << QByteArray("ColorHighlight") << uint(clWhite);
}

void TestZorbLed::propertiesHaveTheirDefaultsAndTakeStoredValues()
{
    QFETCH(QByteArray, name);
    QFETCH(uint, defaultValue);

    TZorbLed led;
    QCOMPARE(led.property(name).value<uint>(), defaultValue);
    QVERIFY(led.setProperty(name, int(clAqua)));
    QCOMPARE(led.property(name).value<uint>(), uint(clAqua));
}

void TestZorbLed::startsOffWithNoTimerRunning()
{
    TZorbLed led;
    QVERIFY(!led.isOn());
    QVERIFY(!led.Blinking());
    QVERIFY(!anyTimerActive(led));
    QCOMPARE(shown(led), QColor(0, 0x80, 0));

    led.LedOn();
    led.LedOff();
    QVERIFY(!anyTimerActive(led));
}

void TestZorbLed::showsTheColourOfItsState_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<TColor>("colorOn");
    QTest::addColumn<TColor>("colorOff");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("on, default colours") << true << clRed << clGreen << QColor(Qt::red);
    QTest::newRow("off, default colours") << false << clRed << clGreen << QColor(0, 0x80, 0);
    QTest::newRow("on, own colours") << true << clYellow << clNavy << QColor(Qt::yellow);
    QTest::newRow("off, own colours") << false << clYellow << clNavy << QColor(0, 0, 0x80);
}

void TestZorbLed::showsTheColourOfItsState()
{
    QFETCH(bool, on);
    QFETCH(TColor, colorOn);
    QFETCH(TColor, colorOff);
    QFETCH(QColor, expected);

    TZorbLed led;
    led.SetColorOn(colorOn);
    led.SetColorOff(colorOff);
    on ? led.LedOn() : led.LedOff();

    QCOMPARE(led.isOn(), on);
    QCOMPARE(shown(led), expected);
}

// The disc covers the pixels from (2, 2) to (13, 13): grey at its rim, nothing outside it, the highlight in its
// upper left.
void TestZorbLed::drawsAnOutlinedDiscWithAHighlight()
{
    TZorbLed led;
    led.SetColorHighlight(clAqua);
    const QImage image = render(led);

    for (const QPoint outside : {QPoint(0, 0), QPoint(1, 7), QPoint(7, 1), QPoint(14, 7), QPoint(7, 14)})
        QCOMPARE(image.pixelColor(outside).alpha(), 0);
    for (const QPoint rim : {QPoint(2, 7), QPoint(7, 2), QPoint(13, 7), QPoint(7, 13)}) {
        const QColor pixel = image.pixelColor(rim);
        QVERIFY2(qAbs(pixel.red() - 0x80) < 24 && qAbs(pixel.blue() - 0x80) < 24,
                 qPrintable(QStringLiteral("rim pixel %1").arg(pixel.name())));
    }
    QCOMPARE(image.pixelColor(6, 6), QColor(Qt::cyan));
}

void TestZorbLed::blinksEvery200Milliseconds()
{
    TZorbLed led;
    led.SetBlinking(true);
    QVERIFY(led.Blinking());
    const QList<QTimer *> timers = led.findChildren<QTimer *>();
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers.first()->interval(), 200);

    QTRY_VERIFY(led.isOn());
    QCOMPARE(shown(led), QColor(Qt::red));
    QTRY_VERIFY(!led.isOn());
    QCOMPARE(shown(led), QColor(0, 0x80, 0));

    led.SetBlinking(false);
    QVERIFY(!anyTimerActive(led));
}

void TestZorbLed::ledOnAndLedOffStopBlinking_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("LedOn") << true << QColor(Qt::red);
    QTest::newRow("LedOff") << false << QColor(0, 0x80, 0);
}

void TestZorbLed::ledOnAndLedOffStopBlinking()
{
    QFETCH(bool, on);
    QFETCH(QColor, expected);

    TZorbLed led;
    led.SetBlinking(true);
    on ? led.LedOn() : led.LedOff();

    QVERIFY(!led.Blinking());
    QVERIFY(!anyTimerActive(led));
    QCOMPARE(led.isOn(), on);
    QCOMPARE(shown(led), expected);
}

QTEST_MAIN(TestZorbLed)
#include "tst_zorbled.moc"
