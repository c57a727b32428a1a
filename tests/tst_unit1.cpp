#include "Controls.h"
#include "FormsFixture.h"
#include "MessageBox.h"

#include <QClipboard>
#include <QSignalSpy>
#include <memory>

using mixer::Channel;

Q_DECLARE_METATYPE(mixer::Channel)

namespace {

TScrollBar *slider(Channel channel)
{
    switch (channel) {
    case Channel::Red:
        return Form1->ScrollBar1;
    case Channel::Green:
        return Form1->ScrollBar2;
    case Channel::Blue:
        return Form1->ScrollBar3;
    }
    return nullptr;
}

TNumericEdit *display(Channel channel)
{
    switch (channel) {
    case Channel::Red:
        return Form1->NumericEdit1;
    case Channel::Green:
        return Form1->NumericEdit2;
    case Channel::Blue:
        return Form1->NumericEdit3;
    }
    return nullptr;
}

QList<TNumericEdit *> displays()
{
    return {Form1->NumericEdit1, Form1->NumericEdit2, Form1->NumericEdit3};
}

QStringList displayTexts()
{
    return {Form1->NumericEdit1->text(), Form1->NumericEdit2->text(), Form1->NumericEdit3->text()};
}

void setSliders(int red, int green, int blue)
{
    Form1->ScrollBar1->setValue(red);
    Form1->ScrollBar2->setValue(green);
    Form1->ScrollBar3->setValue(blue);
}

} // namespace

class TestUnit1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startState();
    void layoutValuesArrive();
    void sliderChangeColoursAndTexts_data();
    void sliderChangeColoursAndTexts();
    void slidersStepByOneWithTheKeyboard_data();
    void slidersStepByOneWithTheKeyboard();
    void detachCaptionFollowsTheChannelMovedLast();
    void modeButtonsRewriteTextsAndLampsOnly_data();
    void modeButtonsRewriteTextsAndLampsOnly();
    void resetRunsTheHandlersOfMovedSlidersInOrder_data();
    void resetRunsTheHandlersOfMovedSlidersInOrder();
    void copyPutsTheFieldOnTheClipboardAndRestoresTheCode();
    void paintKeepsBackgroundsButWhitensTexts();
    void laterPaintKeepsHexadecimalMode();
    void formPaintRunsOnExposureOnly();
    void beendenClosesTheWindow();

private:
    std::unique_ptr<FormsFixture> m_forms;
};

void TestUnit1::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("No such (slot|signal)")));
    m_forms = std::make_unique<FormsFixture>();
    FormsFixture::showMain();
}

void TestUnit1::cleanup()
{
    m_forms.reset();
}

void TestUnit1::startState()
{
    QCOMPARE(HexMode, false);
    QCOMPARE(displayTexts(), QStringList({"0", "0", "0"}));
    for (TNumericEdit *edit : displays()) {
        QCOMPARE(Color(edit), clBlack);
        QCOMPARE(FontColor(edit), clWhite);
    }
    QCOMPARE(Color(Form1->Panel1), clBlack);
    QCOMPARE(Form1->Edit1->text(), QStringLiteral("#000000"));
    QVERIFY(Form1->ZorbLed1->isOn());
    QVERIFY(!Form1->ZorbLed2->isOn());
    QVERIFY(!Form1->EncartaButton5->isVisible());
    QCOMPARE(Form1->EncartaButton4->Color(), clBtnFace);
    QCOMPARE(FontColor(Form1->EncartaButton4), clBlack);
    QVERIFY(!Form2->isVisible());
    QCOMPARE(QApplication::focusWidget(), Form1->ScrollBar1);
}

void TestUnit1::layoutValuesArrive()
{
    for (TNumericEdit *edit : displays()) {
        QCOMPARE(edit->GetVorkomma(), 3);
        QCOMPARE(edit->GetNachkomma(), 0);
        QCOMPARE(edit->GetSeperator(), QStringLiteral(","));
        QCOMPARE(edit->MaxLength(), 3);
        QVERIFY(edit->isReadOnly());
        QVERIFY(!edit->ShowErrorMessage);
    }
    for (Channel channel : {Channel::Red, Channel::Green, Channel::Blue}) {
        QCOMPARE(slider(channel)->maximum(), 255);
        QCOMPARE(slider(channel)->singleStep(), 1);
        QCOMPARE(slider(channel)->pageStep(), 1);
    }
    QCOMPARE(Form1->EncartaButton3->ColorOver(), clYellow);
    QCOMPARE(Form1->EncartaButton3->ColorDown(), TColor(704216));
    QCOMPARE(FontColor(Form1->EncartaButton3), clNavy);
    QCOMPARE(Form1->EncartaButton6->ColorOver(), clRed);
    QCOMPARE(Form1->EncartaButton6->ColorOverCaption(), clWhite);
    QCOMPARE(Form1->EncartaButton6->ColorDown(), TColor(704216));

    QCOMPARE(Form1->windowTitle(), QStringLiteral("Tintora - Das Tool zur Farbmischung    V1.10 Beta"));
    QCOMPARE(Form1->size(), QSize(593, 279));
    QCOMPARE(Form1->minimumSize(), Form1->maximumSize());
    QVERIFY(!Form1->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(Form1->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(Form1->Position(), TForm::poScreenCenter);
}

void TestUnit1::sliderChangeColoursAndTexts_data()
{
    QTest::addColumn<bool>("hexMode");
    QTest::addColumn<Channel>("channel");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("background");
    QTest::addColumn<uint>("textColor");
    QTest::addColumn<QString>("code");

    QTest::newRow("red 255") << false << Channel::Red << 255 << "255" << 0x0000FFu << 0xFFFFFFu << "#FF0000";
    QTest::newRow("green 149 white") << false << Channel::Green << 149 << "149" << 0x009500u << 0xFFFFFFu << "#009500";
    QTest::newRow("green 150 black") << false << Channel::Green << 150 << "150" << 0x009600u << 0x000000u << "#009600";
    QTest::newRow("blue 255") << false << Channel::Blue << 255 << "255" << 0xFF0000u << 0xFFFFFFu << "#0000FF";
    QTest::newRow("hex red 171") << true << Channel::Red << 171 << "ABh" << 0x0000ABu << 0xFFFFFFu << "#AB0000";
    QTest::newRow("hex blue 9") << true << Channel::Blue << 9 << "09h" << 0x090000u << 0xFFFFFFu << "#000009";
}

void TestUnit1::sliderChangeColoursAndTexts()
{
    QFETCH(bool, hexMode);
    QFETCH(Channel, channel);
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(uint, background);
    QFETCH(uint, textColor);
    QFETCH(QString, code);

    if (hexMode)
        FormsFixture::click(Form1->EncartaButton2);
    slider(channel)->setValue(value);

    QCOMPARE(display(channel)->text(), text);
    QCOMPARE(Color(display(channel)), background);
    QCOMPARE(FontColor(display(channel)), textColor);
    QCOMPARE(Color(Form1->Panel1), background);
    QCOMPARE(Form1->EncartaButton4->Color(), background);
    QCOMPARE(FontColor(Form1->EncartaButton4), textColor);
    QCOMPARE(Form1->Edit1->text(), code);
}

void TestUnit1::slidersStepByOneWithTheKeyboard_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("expected");

    QTest::newRow("right") << 10 << Qt::Key_Right << 11;
    QTest::newRow("down") << 10 << Qt::Key_Down << 11;
    QTest::newRow("page down") << 10 << Qt::Key_PageDown << 11;
    QTest::newRow("left") << 10 << Qt::Key_Left << 9;
    QTest::newRow("up") << 10 << Qt::Key_Up << 9;
    QTest::newRow("page up") << 10 << Qt::Key_PageUp << 9;
    QTest::newRow("home") << 10 << Qt::Key_Home << 0;
    QTest::newRow("end") << 10 << Qt::Key_End << 255;
    QTest::newRow("left at 0") << 0 << Qt::Key_Left << 0;
}

void TestUnit1::slidersStepByOneWithTheKeyboard()
{
    QFETCH(int, start);
    QFETCH(Qt::Key, key);
    QFETCH(int, expected);

    Form1->ScrollBar1->setValue(start);
    QTest::keyClick(Form1->ScrollBar1, key);
    QCOMPARE(Form1->ScrollBar1->value(), expected);
    QCOMPARE(Form1->NumericEdit1->text(), QString::number(expected));
}

void TestUnit1::detachCaptionFollowsTheChannelMovedLast()
{
    Form1->ScrollBar2->setValue(200);
    QCOMPARE(FontColor(Form1->EncartaButton4), clBlack);
    Form1->ScrollBar1->setValue(10);
    QCOMPARE(FontColor(Form1->EncartaButton4), clWhite);
    QCOMPARE(Form1->EncartaButton4->Color(), TColor(0x00C80A));
}

void TestUnit1::modeButtonsRewriteTextsAndLampsOnly_data()
{
    QTest::addColumn<bool>("hexadecimal");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("Hexadezimal") << true << QStringList({"0Ah", "C8h", "FFh"});
    QTest::newRow("Dezimal") << false << QStringList({"10", "200", "255"});
}

void TestUnit1::modeButtonsRewriteTextsAndLampsOnly()
{
    QFETCH(bool, hexadecimal);
    QFETCH(QStringList, texts);

    setSliders(10, 200, 255);
    if (!hexadecimal)
        FormsFixture::click(Form1->EncartaButton2);
    const TColor panel = Color(Form1->Panel1);
    const TColor detachFace = Form1->EncartaButton4->Color();
    const TColor detachCaption = FontColor(Form1->EncartaButton4);
    const QList<TColor> backgrounds = {Color(Form1->NumericEdit1), Color(Form1->NumericEdit2),
                                       Color(Form1->NumericEdit3)};

    FormsFixture::click(hexadecimal ? Form1->EncartaButton2 : Form1->EncartaButton1);

    QCOMPARE(HexMode, hexadecimal);
    QCOMPARE(displayTexts(), texts);
    QCOMPARE(Form1->ZorbLed1->isOn(), !hexadecimal);
    QCOMPARE(Form1->ZorbLed2->isOn(), hexadecimal);
    QCOMPARE(Form1->Edit1->text(), QStringLiteral("#0AC8FF"));
    QCOMPARE(Color(Form1->Panel1), panel);
    QCOMPARE(Form1->EncartaButton4->Color(), detachFace);
    QCOMPARE(FontColor(Form1->EncartaButton4), detachCaption);
    QCOMPARE(QList<TColor>({Color(Form1->NumericEdit1), Color(Form1->NumericEdit2), Color(Form1->NumericEdit3)}),
             backgrounds);
    QVERIFY(!Form1->EncartaButton5->isVisible());
}

void TestUnit1::resetRunsTheHandlersOfMovedSlidersInOrder_data()
{
    QTest::addColumn<QList<int>>("start");
    QTest::addColumn<QList<int>>("handlersRun");
    QTest::addColumn<QStringList>("codesSeen");

    QTest::newRow("10, 200, 0") << QList<int>{10, 200, 0} << QList<int>{1, 2} << QStringList({"#00C800", "#000000"});
    QTest::newRow("all at 0") << QList<int>{0, 0, 0} << QList<int>{} << QStringList();
    QTest::newRow("only blue") << QList<int>{0, 0, 7} << QList<int>{3} << QStringList({"#000000"});
}

void TestUnit1::resetRunsTheHandlersOfMovedSlidersInOrder()
{
    QFETCH(QList<int>, start);
    QFETCH(QList<int>, handlersRun);
    QFETCH(QStringList, codesSeen);

    setSliders(start[0], start[1], start[2]);
    FormsFixture::click(Form1->EncartaButton2);
    Form1->EncartaButton4->SetColor(0x123456);

    QList<int> run;
    QStringList seen;
    int index = 1;
    for (TScrollBar *bar : {Form1->ScrollBar1, Form1->ScrollBar2, Form1->ScrollBar3}) {
        // Connected after the layout's binding, so this sees what the handler has just done.
        connect(bar, &QScrollBar::valueChanged, Form1, [&, index] {
            run.append(index);
            seen.append(Form1->Edit1->text());
            QCOMPARE(HexMode, false);
            QCOMPARE(display(Channel(index - 1))->text(), QStringLiteral("0"));
        });
        ++index;
    }

    FormsFixture::click(Form1->EncartaButton3);

    QCOMPARE(run, handlersRun);
    QCOMPARE(seen, codesSeen);
    QCOMPARE(displayTexts(), QStringList({"0", "0", "0"}));
    for (TNumericEdit *edit : displays())
        QCOMPARE(Color(edit), clBlack);
    QCOMPARE(Color(Form1->Panel1), clBlack);
    QCOMPARE(Form1->Edit1->text(), QStringLiteral("#000000"));
    QVERIFY(Form1->ZorbLed1->isOn());
    QVERIFY(!Form1->ZorbLed2->isOn());
    QCOMPARE(HexMode, false);
    QCOMPARE(Form1->EncartaButton4->Color(), clBtnFace);
    QCOMPARE(FontColor(Form1->EncartaButton4), clBlack);
}

void TestUnit1::copyPutsTheFieldOnTheClipboardAndRestoresTheCode()
{
    setSliders(1, 2, 3);
    Form1->Edit1->setFocus();
    Form1->Edit1->selectAll();
    QTest::keyClicks(Form1->Edit1, QStringLiteral("irgendwas"));

    QString clipboardWhileOpen;
    QString fieldWhileOpen;
    MessageBoxRecorder boxes([&] {
        clipboardWhileOpen = QApplication::clipboard()->text();
        fieldWhileOpen = Form1->Edit1->text();
    });
    FormsFixture::click(Form1->HemisphereButton1);

    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls().first().text, QStringLiteral("Hexadizimalwert wurde in die\nZwischenablage kopiert."));
    QCOMPARE(boxes.calls().first().caption, QStringLiteral("Mitteilung ..."));
    QCOMPARE(boxes.calls().first().flags, MB_OK);
    QCOMPARE(clipboardWhileOpen, QStringLiteral("irgendwas"));
    QCOMPARE(fieldWhileOpen, QStringLiteral("irgendwas"));
    QCOMPARE(Form1->Edit1->text(), QStringLiteral("#010203"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("irgendwas"));
}

void TestUnit1::paintKeepsBackgroundsButWhitensTexts()
{
    Form1->ScrollBar2->setValue(200);
    QCOMPARE(FontColor(Form1->NumericEdit2), clBlack);

    FormsFixture::exposeMainAgain();

    QCOMPARE(FontColor(Form1->NumericEdit2), clWhite);
    QCOMPARE(Color(Form1->NumericEdit2), TColor(0x00C800));
    QCOMPARE(Form1->NumericEdit2->text(), QStringLiteral("200"));
    QCOMPARE(Form1->Edit1->text(), QStringLiteral("#00C800"));
}

void TestUnit1::laterPaintKeepsHexadecimalMode()
{
    Form1->ScrollBar1->setValue(171);
    FormsFixture::click(Form1->EncartaButton2);

    FormsFixture::exposeMainAgain();

    QCOMPARE(HexMode, true);
    QVERIFY(!Form1->ZorbLed1->isOn());
    QVERIFY(Form1->ZorbLed2->isOn());
    QCOMPARE(Form1->NumericEdit1->text(), QStringLiteral("ABh"));
    Form1->ScrollBar2->setValue(10);
    QCOMPARE(Form1->NumericEdit2->text(), QStringLiteral("0Ah"));
}

void TestUnit1::formPaintRunsOnExposureOnly()
{
    QSignalSpy paints(Form1, &TForm::OnPaint);

    QTest::mouseMove(Form1->EncartaButton1);
    Form1->Edit1->setFocus();
    QTest::keyClicks(Form1->Edit1, QStringLiteral("abc"));
    for (int value = 1; value <= 40; ++value)
        Form1->ScrollBar3->setValue(value);
    FormsFixture::click(Form1->EncartaButton2);
    QCoreApplication::processEvents();
    QCOMPARE(paints.count(), 0);

    FormsFixture::exposeMainAgain();
    QVERIFY(paints.count() >= 1);
}

void TestUnit1::beendenClosesTheWindow()
{
    FormsFixture::click(Form1->EncartaButton6);
    QVERIFY(!Form1->isVisible());
}

QTEST_MAIN(TestUnit1)
#include "tst_unit1.moc"
