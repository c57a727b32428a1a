#include "Controls.h"
#include "FormsFixture.h"
#include "MessageBox.h"

#include <memory>

namespace {

enum class Action {
    MainPaint,
    MainActivate,
    MouseMoveOverBareSurface,
    MouseMoveOverControl,
    SliderChange,
    Dezimal,
    Hexadezimal,
    Losgeloest,
    Aktualisieren,
    ResetWithSlidersAtZero,
    Copy,
    ResultShow,
    ResultActivate,
    ResultMouseDown,
    ResultMouseUp,
    ResultDeactivate,
    ResultClose,
    ResultDestroy,
};

bool refreshButtonShown()
{
    return Form1->EncartaButton5->isVisibleTo(Form1);
}

void perform(Action action)
{
    switch (action) {
    case Action::MainPaint:
        FormsFixture::exposeMainAgain();
        break;
    case Action::MainActivate:
        FormsFixture::activate(Form2->isVisible() ? static_cast<QWidget *>(Form2) : nullptr);
        FormsFixture::activate(Form1);
        break;
    case Action::MouseMoveOverBareSurface:
        FormsFixture::moveMouseOverBareSurface(Form1, QPoint(5, 5));
        break;
    case Action::MouseMoveOverControl:
        QTest::mouseMove(Form1->Label6);
        break;
    case Action::SliderChange:
        Form1->ScrollBar2->setValue(Form1->ScrollBar2->value() + 1);
        break;
    case Action::Dezimal:
        FormsFixture::click(Form1->EncartaButton1);
        break;
    case Action::Hexadezimal:
        FormsFixture::click(Form1->EncartaButton2);
        break;
    case Action::Losgeloest:
        FormsFixture::click(Form1->EncartaButton4);
        break;
    case Action::Aktualisieren:
        Form1->EncartaButton5Click();
        break;
    case Action::ResetWithSlidersAtZero:
        FormsFixture::click(Form1->EncartaButton3);
        break;
    case Action::Copy: {
        MessageBoxRecorder boxes;
        FormsFixture::click(Form1->HemisphereButton1);
        break;
    }
    case Action::ResultShow:
        Form2->hide();
        Form2->show();
        break;
    case Action::ResultActivate:
        FormsFixture::activate(Form1);
        FormsFixture::activate(Form2);
        break;
    case Action::ResultMouseDown:
        QTest::mousePress(Form2, Qt::LeftButton, {}, QPoint(50, 50));
        break;
    case Action::ResultMouseUp:
        QTest::mouseRelease(Form2, Qt::LeftButton, {}, QPoint(50, 50));
        break;
    case Action::ResultDeactivate:
        FormsFixture::activate(Form2);
        FormsFixture::activate(Form1);
        break;
    case Action::ResultClose:
        Form2->close();
        break;
    case Action::ResultDestroy:
        Form2->BeforeDestruction();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestUnit2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void layoutValuesArrive();
    void losgeloestShowsTheMixedColourOnTop();
    void resultKeepsItsColourUntilAktualisieren();
    void losgeloestWhileVisibleRecolours();
    void closingHidesWindowAndRefreshButtonForGood();
    void resetKeepsTheResultColour();
    void refreshButtonProtocol_data();
    void refreshButtonProtocol();

private:
    std::unique_ptr<FormsFixture> m_forms;
};

void TestUnit2::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("No such (slot|signal)")));
    m_forms = std::make_unique<FormsFixture>();
    FormsFixture::showMain();
}

void TestUnit2::cleanup()
{
    m_forms.reset();
}

void TestUnit2::layoutValuesArrive()
{
    QCOMPARE(Form2->windowTitle(), QStringLiteral("   Mischergebnis"));
    QCOMPARE(Form2->size(), QSize(177, 180));
    QCOMPARE(Form2->FormStyle(), TForm::fsStayOnTop);
    QVERIFY(Form2->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(Form2->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(Color(Form2), fromQColor(Form2->palette().color(QPalette::Button)));
    QVERIFY(!Form2->isVisible());
}

void TestUnit2::losgeloestShowsTheMixedColourOnTop()
{
    Form1->ScrollBar1->setValue(255);
    Form1->ScrollBar2->setValue(128);

    FormsFixture::click(Form1->EncartaButton4);

    QVERIFY(Form2->isVisible());
    QCOMPARE(Color(Form2), TColor(0x0080FF));
    QCOMPARE(Form2->pos(), QPoint(739, 182));
    QVERIFY(refreshButtonShown());
    QTRY_COMPARE(QApplication::activeWindow(), Form2);
}

void TestUnit2::resultKeepsItsColourUntilAktualisieren()
{
    FormsFixture::click(Form1->EncartaButton4);
    Form1->ScrollBar3->setValue(99);

    QCOMPARE(Color(Form2), clBlack);
    QVERIFY(refreshButtonShown());

    FormsFixture::click(Form1->EncartaButton5);
    QCOMPARE(Color(Form2), TColor(0x630000));
}

void TestUnit2::losgeloestWhileVisibleRecolours()
{
    FormsFixture::click(Form1->EncartaButton4);
    Form1->ScrollBar1->setValue(40);
    FormsFixture::activate(Form1);

    FormsFixture::click(Form1->EncartaButton4);

    QCOMPARE(Color(Form2), TColor(0x000028));
    QTRY_COMPARE(QApplication::activeWindow(), Form2);
}

void TestUnit2::closingHidesWindowAndRefreshButtonForGood()
{
    FormsFixture::click(Form1->EncartaButton4);
    Form2->close();

    QVERIFY(!Form2->isVisible());
    QVERIFY(!refreshButtonShown());
    FormsFixture::activate(Form1);
    Form1->ScrollBar1->setValue(5);
    FormsFixture::click(Form1->EncartaButton2);
    FormsFixture::click(Form1->EncartaButton1);
    QVERIFY(!refreshButtonShown());

    FormsFixture::click(Form1->EncartaButton4);
    QVERIFY(Form2->isVisible());
    QVERIFY(refreshButtonShown());
}

void TestUnit2::resetKeepsTheResultColour()
{
    Form1->ScrollBar1->setValue(10);
    FormsFixture::click(Form1->EncartaButton4);
    FormsFixture::activate(Form1);
    Form1->EncartaButton5->hide();

    FormsFixture::click(Form1->EncartaButton3);

    QCOMPARE(Color(Form2), TColor(0x00000A));
    QVERIFY(refreshButtonShown());
}

void TestUnit2::refreshButtonProtocol_data()
{
    QTest::addColumn<bool>("resultVisible");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("shownAfter");

    QTest::newRow("main paint hides it, result visible") << true << true << Action::MainPaint << false;
    QTest::newRow("main activate shows it, result visible") << true << false << Action::MainActivate << true;
    QTest::newRow("main activate, result hidden") << false << false << Action::MainActivate << false;
    QTest::newRow("mouse over bare surface shows it") << true << false << Action::MouseMoveOverBareSurface << true;
    QTest::newRow("mouse over bare surface, result hidden")
        << false << false << Action::MouseMoveOverBareSurface << false;
    QTest::newRow("mouse over a control does not") << true << false << Action::MouseMoveOverControl << false;
    QTest::newRow("slider shows it, result visible") << true << false << Action::SliderChange << true;
    QTest::newRow("slider, result hidden") << false << false << Action::SliderChange << false;
    QTest::newRow("Dezimal shows it, result visible") << true << false << Action::Dezimal << true;
    QTest::newRow("Hexadezimal, result hidden") << false << false << Action::Hexadezimal << false;
    QTest::newRow("Losgeloest shows it always") << false << false << Action::Losgeloest << true;
    QTest::newRow("Aktualisieren leaves it hidden") << true << false << Action::Aktualisieren << false;
    QTest::newRow("Aktualisieren leaves it shown") << true << true << Action::Aktualisieren << true;
    QTest::newRow("reset at zero leaves it hidden") << true << false << Action::ResetWithSlidersAtZero << false;
    QTest::newRow("copy leaves it hidden") << true << false << Action::Copy << false;
    QTest::newRow("result show") << true << false << Action::ResultShow << true;
    QTest::newRow("result activate") << true << false << Action::ResultActivate << true;
    QTest::newRow("result mouse down") << true << false << Action::ResultMouseDown << true;
    QTest::newRow("result mouse up") << true << false << Action::ResultMouseUp << true;
    QTest::newRow("result deactivate, then main activate") << true << true << Action::ResultDeactivate << true;
    QTest::newRow("result close") << true << true << Action::ResultClose << false;
    QTest::newRow("result destroy") << true << true << Action::ResultDestroy << false;
}

void TestUnit2::refreshButtonProtocol()
{
    QFETCH(bool, resultVisible);
    QFETCH(bool, shownBefore);
    QFETCH(Action, action);
    QFETCH(bool, shownAfter);

    if (resultVisible) {
        FormsFixture::click(Form1->EncartaButton4);
        QVERIFY(QTest::qWaitForWindowExposed(Form2));
    }
    Form1->EncartaButton5->setVisible(shownBefore);

    perform(action);

    QCOMPARE(refreshButtonShown(), shownAfter);
}

QTEST_MAIN(TestUnit2)
#include "tst_unit2.moc"
