#include "EncartaButton.h"

#include <QPalette>
#include <QTest>
#include <memory>

namespace {

// Counts the paint events a widget receives, so a test can tell a paint that already happened from one that is
// only scheduled.
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

// Whether some pixel of the image lies within a few steps of the colour in every channel; anti-aliased text
// reaches its exact colour only in places.
bool containsColor(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - color.red()) < 24 && qAbs(pixel.green() - color.green()) < 24 &&
                qAbs(pixel.blue() - color.blue()) < 24)
                return true;
        }
    return false;
}

// The box around every pixel inside the 1-pixel edge that is not the face colour: the caption.
QRect captionBox(const QImage &image, const QColor &face)
{
    QRect box;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixelColor(x, y) != face)
                box |= QRect(x, y, 1, 1);
    return box;
}

const QColor Face = QColor(0xC0, 0xC0, 0xC0);
const QColor Border = QColor(0x99, 0x8F, 0x82);
const QColor OverFace = QColor(0xFF, 0xFF, 0x00);
const QColor OverCaption = QColor(0x00, 0x80, 0x00);
const QColor DownFace = QColor(0xD8, 0xBE, 0x0A);
const QColor Caption = QColor(0x00, 0x00, 0x80);

enum class Pointer { Away, Over, OverThenLeft, Pressed };

} // namespace

Q_DECLARE_METATYPE(Pointer)

class TestEncartaButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void propertiesHaveTheirDefaultsAndTakeStoredValues_data();
    void propertiesHaveTheirDefaultsAndTakeStoredValues();
    void takesNoFocus();
    void looks_data();
    void looks();
    void pressedCaptionMovesOnePixelRightAndDown();
    void clicksOnlyOnLeftPressAndReleaseInside_data();
    void clicksOnlyOnLeftPressAndReleaseInside();
    void normalLookIsOnScreenWhenClickedIsEmitted();
    void hoverLookReturnsWhenThePointerMovesAfterAClick();
    void setColorRepaintsAtOnce();
    void captionColourFollowsThePalette();
    void hiddenWhilePressedDoesNotComeBackPressed();

private:
    QImage look() const { return m_button->grab().toImage(); }

    std::unique_ptr<QWidget> m_host;
    TEncartaButton *m_button = nullptr;
};

// A window with a flat button whose colours are all different, so each look can be told by its pixels.
void TestEncartaButton::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(200, 80);
    m_button = new TEncartaButton(m_host.get());
    m_button->setGeometry(20, 20, 86, 22);
    m_button->setText(QStringLiteral("Beenden"));
    m_button->SetColor(fromQColor(Face));
    m_button->SetColorOver(fromQColor(OverFace));
    m_button->SetColorOverCaption(fromQColor(OverCaption));
    m_button->SetColorDown(fromQColor(DownFace));
    QPalette palette = m_button->palette();
    palette.setColor(QPalette::ButtonText, Caption);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Dark, Qt::darkGray);
    m_button->setPalette(palette);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    QCOMPARE(look().pixelColor(3, 3), Face);
}

// The pointer stays where a test leaves it; off the button, it cannot hover over the next test's button.
void TestEncartaButton::cleanup()
{
    QTest::mouseMove(m_host.get(), QPoint(150, 70));
    m_host.reset();
}

void TestEncartaButton::propertiesHaveTheirDefaultsAndTakeStoredValues_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<uint>("defaultValue");

    QTest::newRow("Color") << QByteArray("Color") << uint(clBtnFace);
    QTest::newRow("ColorBorder") << QByteArray("ColorBorder") << 8556441u;
    QTest::newRow("ColorOver") << QByteArray("ColorOver") << uint(clBtnFace);
    QTest::newRow("ColorOverCaption") << QByteArray("ColorOverCaption") << uint(clBlack);
    QTest::newRow("ColorDown") << QByteArray("ColorDown") << uint(clBtnFace);
}

void TestEncartaButton::propertiesHaveTheirDefaultsAndTakeStoredValues()
{
    QFETCH(QByteArray, name);
    QFETCH(uint, defaultValue);

    TEncartaButton fresh;
    QCOMPARE(fresh.property(name).value<uint>(), defaultValue);
    // A layout writes these by name, as an int when the value fits one.
    QVERIFY(fresh.setProperty(name, 704216));
    QCOMPARE(fresh.property(name).value<uint>(), 704216u);
    QVERIFY(fresh.setProperty(name, QVariant::fromValue(uint(clWindowText))));
    QCOMPARE(fresh.property(name).value<uint>(), uint(clWindowText));
}

void TestEncartaButton::takesNoFocus()
{
    QCOMPARE(m_button->focusPolicy(), Qt::NoFocus);
    QVERIFY(m_button->sizeHint().width() > m_button->fontMetrics().horizontalAdvance(m_button->text()));
    QVERIFY(m_button->sizeHint().height() >= 22);
    QCOMPARE(m_button->property("text").toString(), QStringLiteral("Beenden"));
}

void TestEncartaButton::looks_data()
{
    QTest::addColumn<Pointer>("pointer");
    QTest::addColumn<QColor>("face");
    QTest::addColumn<QColor>("topLeftEdge");
    QTest::addColumn<QColor>("bottomRightEdge");
    QTest::addColumn<QColor>("caption");
    QTest::addColumn<QColor>("absentCaption");

    QTest::newRow("normal: framed face") << Pointer::Away << Face << Border << Border << Caption << OverCaption;
    QTest::newRow("pointer over: raised")
        << Pointer::Over << OverFace << QColor(Qt::white) << QColor(Qt::darkGray) << OverCaption << Caption;
    QTest::newRow("pointer gone again: normal")
        << Pointer::OverThenLeft << Face << Border << Border << Caption << OverCaption;
    QTest::newRow("left button held: sunken")
        << Pointer::Pressed << DownFace << QColor(Qt::darkGray) << QColor(Qt::white) << Caption << OverCaption;
}

void TestEncartaButton::looks()
{
    QFETCH(Pointer, pointer);
    QFETCH(QColor, face);
    QFETCH(QColor, topLeftEdge);
    QFETCH(QColor, bottomRightEdge);
    QFETCH(QColor, caption);
    QFETCH(QColor, absentCaption);

    switch (pointer) {
    case Pointer::Away:
        break;
    case Pointer::Over:
        QTest::mouseMove(m_button, QPoint(5, 5));
        break;
    case Pointer::OverThenLeft:
        QTest::mouseMove(m_button, QPoint(5, 5));
        QTest::mouseMove(m_host.get(), QPoint(150, 70));
        break;
    case Pointer::Pressed:
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
        break;
    }

    const QImage image = look();
    QCOMPARE(image.pixelColor(3, 3), face);
    QCOMPARE(image.pixelColor(image.width() - 4, image.height() - 4), face);
    QCOMPARE(image.pixelColor(0, 0), topLeftEdge);
    QCOMPARE(image.pixelColor(image.width() / 2, 0), topLeftEdge);
    QCOMPARE(image.pixelColor(0, image.height() / 2), topLeftEdge);
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), bottomRightEdge);
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() - 1), bottomRightEdge);
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() / 2), bottomRightEdge);
    QVERIFY(containsColor(image, caption));
    QVERIFY(!containsColor(image, absentCaption));

    if (pointer == Pointer::Pressed)
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 5));
}

void TestEncartaButton::pressedCaptionMovesOnePixelRightAndDown()
{
    m_button->SetColorDown(fromQColor(Face));
    const QRect normal = captionBox(look(), Face);
    QVERIFY(!normal.isEmpty());

    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(captionBox(look(), Face), normal.translated(1, 1));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 5));
}

void TestEncartaButton::clicksOnlyOnLeftPressAndReleaseInside_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("clicks");

    QTest::newRow("left, released where pressed") << Qt::LeftButton << QPoint(10, 10) << 1;
    QTest::newRow("left, released on the last pixel") << Qt::LeftButton << QPoint(85, 21) << 1;
    QTest::newRow("left, released just right of it") << Qt::LeftButton << QPoint(86, 10) << 0;
    QTest::newRow("left, released just below it") << Qt::LeftButton << QPoint(10, 22) << 0;
    QTest::newRow("left, released far outside") << Qt::LeftButton << QPoint(-15, -15) << 0;
    QTest::newRow("right button") << Qt::RightButton << QPoint(10, 10) << 0;
    QTest::newRow("middle button") << Qt::MiddleButton << QPoint(10, 10) << 0;
}

void TestEncartaButton::clicksOnlyOnLeftPressAndReleaseInside()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, release);
    QFETCH(int, clicks);

    int clicked = 0;
    connect(m_button, &TEncartaButton::clicked, m_button, [&clicked] { ++clicked; });
    QTest::mousePress(m_button, button, {}, QPoint(10, 10));
    QTest::mouseMove(m_button, release);
    QTest::mouseRelease(m_button, button, {}, release);

    QCOMPARE(clicked, clicks);
}

void TestEncartaButton::normalLookIsOnScreenWhenClickedIsEmitted()
{
    PaintCounter paints;
    m_button->installEventFilter(&paints);
    QTest::mouseMove(m_button, QPoint(10, 10));
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(look().pixelColor(3, 3), DownFace);

    int paintsBeforeRelease = paints.count;
    QImage seenByHandler;
    int paintsSeenByHandler = 0;
    connect(m_button, &TEncartaButton::clicked, m_button, [&] {
        paintsSeenByHandler = paints.count;
        seenByHandler = look();
    });
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(10, 10));

    QVERIFY(!seenByHandler.isNull());
    QVERIFY2(paintsSeenByHandler > paintsBeforeRelease, "the normal look was only scheduled, not painted");
    QCOMPARE(seenByHandler.pixelColor(3, 3), Face);
    QCOMPARE(seenByHandler.pixelColor(0, 0), Border);
}

void TestEncartaButton::hoverLookReturnsWhenThePointerMovesAfterAClick()
{
    QTest::mouseMove(m_button, QPoint(10, 10));
    QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(look().pixelColor(3, 3), Face);

    QTest::mouseMove(m_button, QPoint(12, 10));
    QCOMPARE(look().pixelColor(3, 3), OverFace);
}

void TestEncartaButton::setColorRepaintsAtOnce()
{
    PaintCounter paints;
    m_button->installEventFilter(&paints);
    const int before = paints.count;

    m_button->SetColor(clRed);

    QVERIFY2(paints.count > before, "the new face was only scheduled, not painted");
    QCOMPARE(m_button->Color(), clRed);
    QCOMPARE(look().pixelColor(3, 3), QColor(Qt::red));
}

void TestEncartaButton::captionColourFollowsThePalette()
{
    PaintCounter paints;
    m_button->installEventFilter(&paints);
    const int before = paints.count;

    QPalette palette = m_button->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    m_button->setPalette(palette);

    QTRY_VERIFY(paints.count > before);
    QVERIFY(containsColor(look(), Qt::red));
    QVERIFY(!containsColor(look(), Caption));
}

void TestEncartaButton::hiddenWhilePressedDoesNotComeBackPressed()
{
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(10, 10));
    m_button->hide();
    QTest::mouseRelease(m_host.get(), Qt::LeftButton, {}, QPoint(150, 70));
    m_button->show();
    QCOMPARE(look().pixelColor(3, 3), Face);

    QTest::mouseMove(m_button, QPoint(10, 10));
    QCOMPARE(look().pixelColor(3, 3), OverFace);
}

QTEST_MAIN(TestEncartaButton)
#include "tst_encartabutton.moc"
