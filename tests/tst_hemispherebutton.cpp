// Mouse events travel through the window, which hands them to the widget under the pointer, as for a user.
#define QTEST_QPA_MOUSE_HANDLING

#include "HemisphereButton.h"

#include <QTest>
#include <memory>

namespace {

class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

const QColor Behind = QColor(0xFF, 0x00, 0xFF);
const QPoint Centre(12, 12);

} // namespace

class TestHemisphereButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void isARoundButtonThatTakesNoFocus();
    void cornersShowTheWindowBehind();
    void clicksOnlyOnTheFace_data();
    void clicksOnlyOnTheFace();
    void pressOnTheFaceShowsThePressedFace_data();
    void pressOnTheFaceShowsThePressedFace();
    void staysPressedUntilTheClickReceiversReturn();
    void slidingOffTheFaceReleasesTheLook();
    void hiddenWhilePressedDoesNotComeBackPressed();

private:
    QImage look() const { return m_button->grab().toImage(); }

    std::unique_ptr<QWidget> m_host;
    THemisphereButton *m_button = nullptr;
};

// The button on a magenta window, so whatever shows through it is easy to see.
void TestHemisphereButton::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(80, 80);
    QPalette palette = m_host->palette();
    palette.setColor(QPalette::Window, Behind);
    m_host->setPalette(palette);
    m_host->setAutoFillBackground(true);
    m_button = new THemisphereButton(m_host.get());
    m_button->move(20, 20);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void TestHemisphereButton::cleanup()
{
    m_host.reset();
}

void TestHemisphereButton::isARoundButtonThatTakesNoFocus()
{
    QCOMPARE(m_button->size(), QSize(25, 25));
    QCOMPARE(m_button->sizeHint(), QSize(25, 25));
    QCOMPARE(m_button->focusPolicy(), Qt::NoFocus);

    // Grey at the centre, lit from the upper left: brighter there than at the lower right of the face.
    const QImage image = look();
    const QColor centre = image.pixelColor(Centre);
    QVERIFY(qAbs(centre.red() - centre.blue()) < 4 && qAbs(centre.green() - centre.blue()) < 4);
    QVERIFY(image.pixelColor(8, 8).lightness() > image.pixelColor(17, 17).lightness());
}

void TestHemisphereButton::cornersShowTheWindowBehind()
{
    for (const QPoint corner : {QPoint(0, 0), QPoint(24, 0), QPoint(0, 24), QPoint(24, 24)}) {
        QVERIFY(!m_button->mask().contains(corner));
        QCOMPARE(m_host->grab().toImage().pixelColor(m_button->pos() + corner), Behind);
    }
    QVERIFY(m_button->mask().contains(Centre));
    QVERIFY(m_host->grab().toImage().pixelColor(m_button->pos() + Centre) != Behind);
    // The whole circle is in the mask, so its rim is drawn.
    QVERIFY(m_button->mask().contains(QPoint(12, 0)));
    QVERIFY(m_button->mask().contains(QPoint(24, 12)));
}

// The face is the disc of radius 10.5 around the centre of the 25 x 25 control, inside the 2-pixel ring.
// A position names a pixel, and the pixel's centre decides.
void TestHemisphereButton::clicksOnlyOnTheFace_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("clicks");

    QTest::newRow("centre") << Centre << Centre << 1;
    QTest::newRow("top pixel of the face") << QPoint(12, 2) << QPoint(12, 2) << 1;
    QTest::newRow("on the ring above it") << QPoint(12, 1) << QPoint(12, 1) << 0;
    QTest::newRow("leftmost pixel of the face") << QPoint(2, 12) << QPoint(2, 12) << 1;
    QTest::newRow("on the ring left of it") << QPoint(1, 12) << QPoint(1, 12) << 0;
    QTest::newRow("rightmost pixel of the face") << QPoint(22, 12) << QPoint(22, 12) << 1;
    QTest::newRow("on the ring right of it") << QPoint(23, 12) << QPoint(23, 12) << 0;
    QTest::newRow("bottom pixel of the face") << QPoint(12, 22) << QPoint(12, 22) << 1;
    QTest::newRow("on the ring below it") << QPoint(12, 23) << QPoint(12, 23) << 0;
    QTest::newRow("upper left, just inside") << QPoint(5, 5) << QPoint(5, 5) << 1;
    QTest::newRow("upper left, just outside") << QPoint(4, 4) << QPoint(4, 4) << 0;
    QTest::newRow("lower right, just inside") << QPoint(19, 19) << QPoint(19, 19) << 1;
    QTest::newRow("lower right, just outside") << QPoint(20, 20) << QPoint(20, 20) << 0;
    QTest::newRow("corner top left") << QPoint(0, 0) << QPoint(0, 0) << 0;
    QTest::newRow("corner bottom right") << QPoint(24, 24) << QPoint(24, 24) << 0;
    QTest::newRow("pressed on the face, released on the ring") << Centre << QPoint(12, 23) << 0;
    QTest::newRow("pressed on the face, released outside") << Centre << QPoint(40, 12) << 0;
    QTest::newRow("pressed on the ring, released on the face") << QPoint(12, 23) << Centre << 0;
}

void TestHemisphereButton::clicksOnlyOnTheFace()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, clicks);

    int clicked = 0;
    connect(m_button, &THemisphereButton::clicked, m_button, [&clicked] { ++clicked; });
    // A corner outside the round mask is not the button's at all: the window behind gets the click.
    QTest::mousePress(m_host.get(), Qt::LeftButton, {}, m_button->pos() + press);
    QTest::mouseMove(m_host.get(), m_button->pos() + release);
    QTest::mouseRelease(m_host.get(), Qt::LeftButton, {}, m_button->pos() + release);

    QCOMPARE(clicked, clicks);
}

void TestHemisphereButton::pressOnTheFaceShowsThePressedFace_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("pressedFace");

    QTest::newRow("left on the face") << Qt::LeftButton << Centre << true;
    QTest::newRow("left on the ring") << Qt::LeftButton << QPoint(12, 1) << false;
    QTest::newRow("right on the face") << Qt::RightButton << Centre << false;
}

void TestHemisphereButton::pressOnTheFaceShowsThePressedFace()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, press);
    QFETCH(bool, pressedFace);

    const QImage released = look();
    QTest::mousePress(m_button, button, {}, press);
    QCOMPARE(look() != released, pressedFace);

    QTest::mouseRelease(m_button, button, {}, press);
    QCOMPARE(look(), released);
}

void TestHemisphereButton::staysPressedUntilTheClickReceiversReturn()
{
    const QImage released = look();
    QTest::mousePress(m_button, Qt::LeftButton, {}, Centre);
    const QImage pressed = look();
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Centre);
    QVERIFY(pressed != released);

    PaintCounter paints;
    m_button->installEventFilter(&paints);
    QImage seenByHandler;
    int paintsSeenByHandler = 0;
    connect(m_button, &THemisphereButton::clicked, m_button, [&] {
        paintsSeenByHandler = paints.count;
        seenByHandler = look();
    });
    // Press and release without a pass of the event loop between them, as when the user clicks quickly.
    QTest::mousePress(m_button, Qt::LeftButton, {}, Centre);
    const int paintsAfterPress = paints.count;
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Centre);

    QCOMPARE(seenByHandler, pressed);
    QVERIFY2(paintsSeenByHandler > paintsAfterPress, "the pressed face was only scheduled, not painted");
    QCOMPARE(look(), released);
}

void TestHemisphereButton::slidingOffTheFaceReleasesTheLook()
{
    const QImage released = look();
    QTest::mousePress(m_button, Qt::LeftButton, {}, Centre);
    const QImage pressed = look();

    QTest::mouseMove(m_button, QPoint(40, 12));
    QCOMPARE(look(), released);
    QTest::mouseMove(m_button, Centre);
    QCOMPARE(look(), pressed);
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Centre);
}

void TestHemisphereButton::hiddenWhilePressedDoesNotComeBackPressed()
{
    const QImage released = look();
    int clicked = 0;
    connect(m_button, &THemisphereButton::clicked, m_button, [&clicked] { ++clicked; });
    QTest::mousePress(m_button, Qt::LeftButton, {}, Centre);
    m_button->hide();
    QTest::mouseRelease(m_host.get(), Qt::LeftButton, {}, QPoint(70, 70));
    m_button->show();

    QTest::mouseMove(m_button, Centre);
    QCOMPARE(look(), released);
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, Centre);
    QCOMPARE(clicked, 0);
}

QTEST_MAIN(TestHemisphereButton)
#include "tst_hemispherebutton.moc"
