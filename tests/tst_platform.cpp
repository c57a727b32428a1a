#include "ComponentRegistry.h"
#include "MessageBox.h"
#include "TColor.h"
#include "TCustomEdit.h"
#include "Windows1252.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Records every character the hook sees and lets a test decide what becomes of it.
class HookedEdit : public TCustomEdit
{
public:
    using TCustomEdit::TCustomEdit;

    QByteArray seen;
    std::function<void(char &)> decide;

protected:
    void KeyPress(char &Key) override
    {
        seen.append(Key);
        if (decide)
            decide(Key);
        TCustomEdit::KeyPress(Key);
    }
};

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windows1252_data();
    void windows1252();
    void hookSeesTypedCharacters_data();
    void hookSeesTypedCharacters();
    void charactersOutsideAsciiArriveInTheCodePage();
    void keyZeroDiscardsTheKeystroke();
    void changedKeyIsWhatTheEditReceives();
    void inheritedHookRaisesOnKeyPress();
    void deadKeyInputPassesTheHook();
    void droppingCtrlVStopsOnlyThatShortcut();
    void maxLengthLimitsTypedInputOnly();
    void selStartAndSelLength();
    void systemColorsFollowThePalette();
    void plainColorsAreBgrLaidOut();
    void messageBoxRecorderRecordsInsteadOfShowing();
    void realMessageBoxIsModalAndCloses();
    void registryReplacesARegisteredClass();
};

void TestPlatform::windows1252_data()
{
    QTest::addColumn<QChar>("unicode");
    QTest::addColumn<int>("byte");

    QTest::newRow("digit") << QChar(u'7') << int('7');
    QTest::newRow("umlaut") << QChar(u'ä') << 0xE4;
    QTest::newRow("euro") << QChar(0x20AC) << 0x80;
    QTest::newRow("left double quote") << QChar(0x201C) << 0x93;
    QTest::newRow("z caron") << QChar(0x017E) << 0x9E;
    QTest::newRow("y diaeresis") << QChar(0x00FF) << 0xFF;
    QTest::newRow("outside the code page") << QChar(0x0416) << int('?');
}

void TestPlatform::windows1252()
{
    QFETCH(QChar, unicode);
    QFETCH(int, byte);

    QCOMPARE(static_cast<unsigned char>(Windows1252::fromUnicode(unicode)), byte);
    if (byte != '?')
        QCOMPARE(Windows1252::toUnicode(static_cast<char>(byte)), unicode);
}

void TestPlatform::hookSeesTypedCharacters_data()
{
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QByteArray>("seen");

    QTestEventList letters;
    letters.addKeyClicks(QStringLiteral("a1,"));
    QTest::newRow("printable") << letters << QByteArray("a1,");

    QTestEventList controls;
    controls.addKeyClick(Qt::Key_Backspace);
    controls.addKeyClick(Qt::Key_Return);
    controls.addKeyClick(Qt::Key_Enter);
    controls.addKeyClick(Qt::Key_Escape);
    QTest::newRow("backspace enter escape") << controls << QByteArray("\x08\x0d\x0d\x1b");

    QTestEventList shortcuts;
    shortcuts.addKeyClick(Qt::Key_C, Qt::ControlModifier);
    shortcuts.addKeyClick(Qt::Key_V, Qt::ControlModifier);
    shortcuts.addKeyClick(Qt::Key_X, Qt::ControlModifier);
    shortcuts.addKeyClick(Qt::Key_Z, Qt::ControlModifier);
    QTest::newRow("ctrl c v x z") << shortcuts << QByteArray("\x03\x16\x18\x1a");

    QTestEventList keysThatTypeNothing;
    keysThatTypeNothing.addKeyClick(Qt::Key_Delete);
    keysThatTypeNothing.addKeyClick(Qt::Key_Left);
    keysThatTypeNothing.addKeyClick(Qt::Key_Home);
    keysThatTypeNothing.addKeyClick(Qt::Key_Insert, Qt::ShiftModifier);
    QTest::newRow("delete arrows home insert") << keysThatTypeNothing << QByteArray();
}

void TestPlatform::hookSeesTypedCharacters()
{
    QFETCH(QTestEventList, events);
    QFETCH(QByteArray, seen);

    HookedEdit edit;
    events.simulate(&edit);
    QCOMPARE(edit.seen, seen);
}

void TestPlatform::charactersOutsideAsciiArriveInTheCodePage()
{
    HookedEdit edit;
    const QString typed = QStringLiteral("ä€Ж");
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Press, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(edit.seen, QByteArray("\xE4\x80?"));
    QCOMPARE(edit.text(), typed);
}

void TestPlatform::keyZeroDiscardsTheKeystroke()
{
    HookedEdit edit;
    edit.decide = [](char &key) {
        if (key == 'x')
            key = 0;
    };
    QTest::keyClicks(&edit, QStringLiteral("axb"));
    QCOMPARE(edit.text(), QStringLiteral("ab"));
}

void TestPlatform::changedKeyIsWhatTheEditReceives()
{
    HookedEdit edit;
    edit.decide = [](char &key) {
        if (key == 'a')
            key = 'B';
        else if (key == 'e')
            key = static_cast<char>(0x80);
        else if (key == 'x')
            key = 8;
    };
    QTest::keyClicks(&edit, QStringLiteral("1a2e3x"));
    QCOMPARE(edit.text(), QStringLiteral("1B2") + QChar(0x20AC));
}

void TestPlatform::inheritedHookRaisesOnKeyPress()
{
    TCustomEdit edit;
    QByteArray raised;
    connect(&edit, &TCustomEdit::OnKeyPress, &edit, [&](char &key) {
        raised.append(key);
        if (key == '2')
            key = 0;
    });
    QTest::keyClicks(&edit, QStringLiteral("123"));
    QCOMPARE(raised, QByteArray("123"));
    QCOMPARE(edit.text(), QStringLiteral("13"));
}

void TestPlatform::deadKeyInputPassesTheHook()
{
    HookedEdit edit;
    edit.decide = [](char &key) {
        if (key == static_cast<char>(0xE9))
            key = 0;
    };
    edit.setFocus();
    QInputMethodEvent accented(QString(), {});
    accented.setCommitString(QStringLiteral("éô"));
    QApplication::sendEvent(&edit, &accented);

    QCOMPARE(edit.seen, QByteArray("\xE9\xF4"));
    QCOMPARE(edit.text(), QStringLiteral("ô"));
}

void TestPlatform::droppingCtrlVStopsOnlyThatShortcut()
{
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    HookedEdit edit;
    edit.decide = [](char &key) {
        if (key == 22)
            key = 0;
    };

    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), QString());

    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(edit.text(), QStringLiteral("pasted"));
}

void TestPlatform::maxLengthLimitsTypedInputOnly()
{
    TCustomEdit edit;
    edit.SetMaxLength(3);
    QCOMPARE(edit.MaxLength(), 3);

    QTest::keyClicks(&edit, QStringLiteral("12345"));
    QCOMPARE(edit.text(), QStringLiteral("123"));

    edit.setText(QStringLiteral("-2550"));
    QCOMPARE(edit.text(), QStringLiteral("-2550"));

    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_7);
    QCOMPARE(edit.text(), QStringLiteral("-2550"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("-255"));
    QTest::keyClick(&edit, Qt::Key_7);
    QCOMPARE(edit.text(), QStringLiteral("-255"));

    QApplication::clipboard()->setText(QStringLiteral("98765"));
    edit.clear();
    edit.paste();
    QCOMPARE(edit.text(), QString());
    QTest::keyClick(&edit, Qt::Key_9);
    QCOMPARE(edit.text(), QStringLiteral("9"));
}

void TestPlatform::selStartAndSelLength()
{
    TCustomEdit edit;
    edit.setText(QStringLiteral("12345"));
    edit.setSelection(1, 2);
    QCOMPARE(edit.SelStart(), 1);
    QCOMPARE(edit.SelLength(), 2);

    edit.setSelection(4, -3);
    QCOMPARE(edit.SelStart(), 1);
    QCOMPARE(edit.SelLength(), 3);

    edit.SetSelStart(3);
    QCOMPARE(edit.SelStart(), 3);
    QCOMPARE(edit.SelLength(), 0);
    QCOMPARE(edit.cursorPosition(), 3);
}

void TestPlatform::systemColorsFollowThePalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
    QCOMPARE(toQColor(clBtnFace, palette), QColor(1, 2, 3));
    QCOMPARE(toQColor(clWindowText, palette), QColor(4, 5, 6));

    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    QCOMPARE(toQColor(clBtnFace, palette), QColor(7, 8, 9));
}

void TestPlatform::plainColorsAreBgrLaidOut()
{
    QCOMPARE(toQColor(0x0080FF), QColor(255, 128, 0));
    QCOMPARE(toQColor(clAqua), QColor(0, 255, 255));
    QCOMPARE(fromQColor(QColor(0xD8, 0xBE, 0x0A)), TColor(704216));
    QVERIFY(isSystemColor(clBtnFace));
    QVERIFY(!isSystemColor(clWhite));
}

void TestPlatform::messageBoxRecorderRecordsInsteadOfShowing()
{
    int openCount = 0;
    MessageBoxRecorder recorder([&] { ++openCount; });
    QCOMPARE(MessageBox(QStringLiteral("Text\nzwei"), QStringLiteral("Titel"), MB_ICONERROR), IDOK);

    QCOMPARE(recorder.calls().size(), 1);
    QCOMPARE(recorder.calls().first().text, QStringLiteral("Text\nzwei"));
    QCOMPARE(recorder.calls().first().caption, QStringLiteral("Titel"));
    QCOMPARE(recorder.calls().first().flags, MB_ICONERROR);
    QCOMPARE(openCount, 1);
}

void TestPlatform::realMessageBoxIsModalAndCloses()
{
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);

    QString shownText;
    QString shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shownText = box->text();
        shownTitle = box->windowTitle();
        shownIcon = box->icon();
        wasModal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });

    QCOMPARE(MessageBox(QStringLiteral("Achtung"), QStringLiteral("Mitteilung"), MB_ICONERROR), IDOK);
    QCOMPARE(shownText, QStringLiteral("Achtung"));
    QCOMPARE(shownTitle, QStringLiteral("Mitteilung"));
    QCOMPARE(shownIcon, QMessageBox::Critical);
    QVERIFY(wasModal);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPlatform::registryReplacesARegisteredClass()
{
    RegisterComponents<TCustomEdit>(QStringLiteral("User"), QStringLiteral("TCustomEdit.h"));
    RegisterComponents<TCustomEdit>(QStringLiteral("Samples"), QStringLiteral("TCustomEdit.h"));

    QCOMPARE(RegisteredComponents().size(), 1);
    const ComponentRegistration &entry = RegisteredComponents().first();
    QCOMPARE(entry.page, QStringLiteral("Samples"));
    QCOMPARE(entry.className(), QStringLiteral("TCustomEdit"));
    QWidget parent;
    QWidget *created = entry.create(&parent);
    QVERIFY(qobject_cast<TCustomEdit *>(created));
    QCOMPARE(created->parentWidget(), &parent);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
