#include "Anzeige.h"
#include "ComponentRegistry.h"

#include <QApplication>
#include <QMetaProperty>
#include <QPalette>
#include <QScopeGuard>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

const QColor kButtonFace(0xD4, 0xD0, 0xC8);
const QColor kWindowText(0x10, 0x20, 0x30);
const QColor kAqua(0, 255, 255);

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A lamp placed on a shown window, with its paint events counted.
struct ShownLamp
{
    ShownLamp()
    {
        window.resize(100, 100);
        lamp.move(10, 10);
        lamp.installEventFilter(&counter);
        window.show();
    }

    // Lets pending paints run, then forgets every paint so far.
    void forgetPaints()
    {
        QCoreApplication::processEvents();
        counter.paints = 0;
    }

    QWidget window;
    TAnzeige lamp{&window};
    PaintCounter counter;
};

// Empty when the picture is the fill inside a black frame two pixels wide, else the first wrong pixel.
QString frameMismatch(const QImage &image, const QColor &fill)
{
    const int W = image.width();
    const int H = image.height();
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const bool frame = x < 2 || y < 2 || x >= W - 2 || y >= H - 2;
            const QColor expected = frame ? QColor(Qt::black) : fill;
            const QColor actual = image.pixelColor(x, y);
            if (actual != expected)
                return QStringLiteral("pixel (%1, %2) of %3x%4 is %5, expected %6")
                    .arg(x)
                    .arg(y)
                    .arg(W)
                    .arg(H)
                    .arg(actual.name(), expected.name());
        }
    }
    return {};
}

QImage picture(QWidget &widget)
{
    return widget.grab().toImage();
}

} // namespace

class TestAnzeige : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void newLampIsOffAndSquare();
    void ownPropertiesComeInLayoutOrder();
    void paintsStateColourInsideTwoPixelFrame_data();
    void paintsStateColourInsideTwoPixelFrame();
    void buttonFaceFollowsAPaletteChange_data();
    void buttonFaceFollowsAPaletteChange();
    void everyWriteRequestsARepaint_data();
    void everyWriteRequestsARepaint();
    void colorOnChangeWhileOffShowsOnlyOnceOn();
    void registersOnTheBeispielePage();
};

void TestAnzeige::initTestCase()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, kButtonFace);
    palette.setColor(QPalette::WindowText, kWindowText);
    QApplication::setPalette(palette);
}

void TestAnzeige::newLampIsOffAndSquare()
{
    TAnzeige lamp;

    QCOMPARE(lamp.size(), QSize(25, 25));
    QCOMPARE(lamp.Color_on(), clAqua);
    QCOMPARE(lamp.Color_off(), clBtnFace);
    QCOMPARE(lamp.Status(), false);
    QCOMPARE(lamp.focusPolicy(), Qt::NoFocus);
    const QString mismatch = frameMismatch(picture(lamp), kButtonFace);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestAnzeige::ownPropertiesComeInLayoutOrder()
{
    const QMetaObject &meta = TAnzeige::staticMetaObject;
    QStringList names;
    QList<QMetaType> types;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        names << QString::fromLatin1(meta.property(i).name());
        types << meta.property(i).metaType();
    }

    QCOMPARE(names, QStringList({"Color_on", "Color_off", "Status"}));
    QCOMPARE(types,
             QList<QMetaType>({QMetaType::fromType<uint>(), QMetaType::fromType<uint>(), QMetaType::fromType<bool>()}));
}

void TestAnzeige::paintsStateColourInsideTwoPixelFrame_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("status");
    QTest::addColumn<uint>("colorOn");
    QTest::addColumn<uint>("colorOff");
    QTest::addColumn<QColor>("fill");

    const QSize square(25, 25);
    QTest::newRow("off shows the button face") << square << false << clAqua << clBtnFace << kButtonFace;
    QTest::newRow("on shows aqua") << square << true << clAqua << clBtnFace << kAqua;
    QTest::newRow("off shows a plain Color_off") << square << false << clAqua << clNavy << QColor(0, 0, 128);
    QTest::newRow("on shows a plain Color_on") << square << true << clRed << clBtnFace << QColor(255, 0, 0);
    QTest::newRow("equal colours, on") << square << true << clYellow << clYellow << QColor(255, 255, 0);
    QTest::newRow("equal colours, off") << square << false << clYellow << clYellow << QColor(255, 255, 0);
    QTest::newRow("system colour as Color_on") << square << true << clWindowText << clBtnFace << kWindowText;
    QTest::newRow("resized wide, off") << QSize(40, 30) << false << clAqua << clBtnFace << kButtonFace;
    QTest::newRow("resized tall, on") << QSize(7, 60) << true << clAqua << clBtnFace << kAqua;
    QTest::newRow("5x5 keeps one pixel of fill") << QSize(5, 5) << true << clAqua << clBtnFace << kAqua;
    QTest::newRow("4x4 is all frame") << QSize(4, 4) << true << clAqua << clBtnFace << kAqua;
}

void TestAnzeige::paintsStateColourInsideTwoPixelFrame()
{
    QFETCH(QSize, size);
    QFETCH(bool, status);
    QFETCH(uint, colorOn);
    QFETCH(uint, colorOff);
    QFETCH(QColor, fill);

    QWidget window;
    TAnzeige lamp(&window);
    lamp.resize(size);
    lamp.SetFarbe_on(colorOn);
    lamp.SetFarbe_off(colorOff);
    lamp.SetStatus(status);

    const QImage image = picture(lamp);
    QCOMPARE(image.size(), size);
    const QString mismatch = frameMismatch(image, fill);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestAnzeige::buttonFaceFollowsAPaletteChange_data()
{
    QTest::addColumn<bool>("applicationWide");

    QTest::newRow("application palette") << true;
    QTest::newRow("palette of the window") << false;
}

void TestAnzeige::buttonFaceFollowsAPaletteChange()
{
    QFETCH(bool, applicationWide);

    const QPalette original = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });
    QWidget window;
    TAnzeige lamp(&window);
    QVERIFY(frameMismatch(picture(lamp), kButtonFace).isEmpty());

    const QColor changed(0x40, 0x80, 0xC0);
    QPalette palette = original;
    palette.setColor(QPalette::Button, changed);
    if (applicationWide)
        QApplication::setPalette(palette);
    else
        window.setPalette(palette);
    // The application's palette reaches its widgets through the event loop.
    QCoreApplication::processEvents();

    const QString mismatch = frameMismatch(picture(lamp), changed);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestAnzeige::everyWriteRequestsARepaint_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("Status, unchanged") << QByteArray("Status") << QVariant(false);
    QTest::newRow("Status, changed") << QByteArray("Status") << QVariant(true);
    QTest::newRow("Color_on, unchanged") << QByteArray("Color_on") << QVariant(uint(clAqua));
    QTest::newRow("Color_on, changed") << QByteArray("Color_on") << QVariant(uint(clRed));
    QTest::newRow("Color_off, unchanged") << QByteArray("Color_off") << QVariant(uint(clBtnFace));
    QTest::newRow("Color_off, changed") << QByteArray("Color_off") << QVariant(uint(clNavy));
    QTest::newRow("Color_off, any value") << QByteArray("Color_off") << QVariant(uint(0xFFFFFFFF));
}

void TestAnzeige::everyWriteRequestsARepaint()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);

    ShownLamp shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    QTRY_VERIFY(shown.counter.paints > 0);
    shown.forgetPaints();
    QCoreApplication::processEvents();
    QCOMPARE(shown.counter.paints, 0);

    QVERIFY(shown.lamp.setProperty(property, value));

    QTRY_VERIFY(shown.counter.paints > 0);
    QCOMPARE(shown.lamp.property(property), value);
}

void TestAnzeige::colorOnChangeWhileOffShowsOnlyOnceOn()
{
    ShownLamp shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    QTRY_VERIFY(shown.counter.paints > 0);
    const QImage before = picture(shown.lamp);
    shown.forgetPaints();

    shown.lamp.SetFarbe_on(clRed);
    QTRY_VERIFY(shown.counter.paints > 0);
    QCOMPARE(picture(shown.lamp), before);

    shown.lamp.SetStatus(true);
    const QString mismatch = frameMismatch(picture(shown.lamp), QColor(255, 0, 0));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestAnzeige::registersOnTheBeispielePage()
{
    Anzeige::Register();

    const auto &registrations = RegisteredComponents();
    const auto it = std::find_if(registrations.cbegin(), registrations.cend(), [](const ComponentRegistration &r) {
        return r.className() == QLatin1String("TAnzeige");
    });
    QVERIFY(it != registrations.cend());
    QCOMPARE(it->page, QStringLiteral("Beispiele"));
    QCOMPARE(it->includeFile, QStringLiteral("Anzeige.h"));
    const std::unique_ptr<QWidget> created(it->create(nullptr));
    QVERIFY(qobject_cast<TAnzeige *>(created.get()));
}

QTEST_MAIN(TestAnzeige)
#include "tst_anzeige.moc"
