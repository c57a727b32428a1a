#include "ComponentRegistry.h"
#include "Hexedit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <limits>
#include <memory>

class TestHexEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typingLetsThroughHexDigitsAndBackspaceOnly_data();
    void typingLetsThroughHexDigitsAndBackspaceOnly();
    void charactersOutsideAsciiAreRejected();
    void onKeyPressHandlerCanStillCancelAnAcceptedKey();
    void pasteBypassesTheFilter_data();
    void pasteBypassesTheFilter();
    void getDezimalReadsTheLeadingHexNumber_data();
    void getDezimalReadsTheLeadingHexNumber();
    void registersOnTheUserPage();
};

namespace {

constexpr auto kClipboardText = "C0FFEE";

QTestEventList typed(const char *text)
{
    QTestEventList events;
    events.addKeyClicks(QString::fromUtf8(text));
    return events;
}

QTestEventList withKey(QTestEventList events, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    events.addKeyClick(key, modifiers);
    return events;
}

} // namespace

void TestHexEdit::typingLetsThroughHexDigitsAndBackspaceOnly_data()
{
    QTest::addColumn<QString>("initialText");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QByteArray>("seenByOnKeyPress");

    QTest::newRow("every hex digit") << QString() << typed("0123456789ABCDEFabcdef")
                                     << QStringLiteral("0123456789ABCDEFabcdef")
                                     << QByteArray("0123456789ABCDEFabcdef");
    QTest::newRow("letter G") << QString() << typed("1G2") << QStringLiteral("12") << QByteArray("12");
    QTest::newRow("letter x") << QString() << typed("0x1") << QStringLiteral("01") << QByteArray("01");
    QTest::newRow("space and minus") << QStringLiteral("A") << typed(" -") << QStringLiteral("A") << QByteArray();
    QTest::newRow("a and A keep their case") << QString() << typed("aAa") << QStringLiteral("aAa") << QByteArray("aAa");
    QTest::newRow("backspace deletes and is seen as 8")
        << QString() << withKey(typed("12"), Qt::Key_Backspace) << QStringLiteral("1") << QByteArray("12\b");
    QTest::newRow("enter and escape") << QStringLiteral("1") << withKey(withKey({}, Qt::Key_Return), Qt::Key_Escape)
                                      << QStringLiteral("1") << QByteArray();
    QTest::newRow("ctrl+v does not paste")
        << QStringLiteral("1") << withKey({}, Qt::Key_V, Qt::ControlModifier) << QStringLiteral("1") << QByteArray();
    QTest::newRow("ctrl+x does not cut") << QStringLiteral("12") << withKey({}, Qt::Key_X, Qt::ControlModifier)
                                         << QStringLiteral("12") << QByteArray();
    QTest::newRow("ctrl+c does not copy")
        << QStringLiteral("12") << withKey({}, Qt::Key_C, Qt::ControlModifier) << QStringLiteral("12") << QByteArray();
    QTest::newRow("ctrl+z does not undo") << QString() << withKey(typed("12"), Qt::Key_Z, Qt::ControlModifier)
                                          << QStringLiteral("12") << QByteArray("12");
    QTest::newRow("delete is a key, not a character")
        << QStringLiteral("12") << withKey(withKey({}, Qt::Key_Home), Qt::Key_Delete) << QStringLiteral("2")
        << QByteArray();
}

void TestHexEdit::typingLetsThroughHexDigitsAndBackspaceOnly()
{
    QFETCH(QString, initialText);
    QFETCH(QTestEventList, events);
    QFETCH(QString, expectedText);
    QFETCH(QByteArray, seenByOnKeyPress);

    QApplication::clipboard()->setText(QString::fromLatin1(kClipboardText));
    THexEdit edit;
    edit.setText(initialText);
    // Selected, so that copy and cut would have something to act on and a typed character would replace it.
    edit.selectAll();
    QByteArray seen;
    connect(&edit, &TCustomEdit::OnKeyPress, &edit, [&](char &key) { seen.append(key); });

    events.simulate(&edit);

    QCOMPARE(edit.text(), expectedText);
    QCOMPARE(seen, seenByOnKeyPress);
    QCOMPARE(QApplication::clipboard()->text(), QString::fromLatin1(kClipboardText));
}

void TestHexEdit::charactersOutsideAsciiAreRejected()
{
    THexEdit edit;
    QByteArray seen;
    connect(&edit, &TCustomEdit::OnKeyPress, &edit, [&](char &key) { seen.append(key); });

    // In the code page, outside it, and a digit of another script.
    for (const QChar c : QStringLiteral("ä€Ж\uFF11"))
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);

    QCOMPARE(edit.text(), QString());
    QCOMPARE(seen, QByteArray());
}

void TestHexEdit::onKeyPressHandlerCanStillCancelAnAcceptedKey()
{
    THexEdit edit;
    QByteArray seen;
    connect(&edit, &TCustomEdit::OnKeyPress, &edit, [&](char &key) {
        seen.append(key);
        if (key == 'B')
            key = 0;
    });

    QTest::keyClicks(&edit, QStringLiteral("ABC"));

    QCOMPARE(seen, QByteArray("ABC"));
    QCOMPARE(edit.text(), QStringLiteral("AC"));
}

void TestHexEdit::pasteBypassesTheFilter_data()
{
    QTest::addColumn<bool>("throughContextMenu");

    QTest::newRow("shift+insert") << false;
    QTest::newRow("context menu") << true;
}

void TestHexEdit::pasteBypassesTheFilter()
{
    QFETCH(bool, throughContextMenu);

    const QString clipboard = QStringLiteral(" -0x1G, not hex");
    QApplication::clipboard()->setText(clipboard);
    THexEdit edit;
    QByteArray seen;
    connect(&edit, &TCustomEdit::OnKeyPress, &edit, [&](char &key) { seen.append(key); });

    if (throughContextMenu) {
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QAction *paste = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->text().section(u'\t', 0, 0).remove(u'&') == QLatin1String("Paste"))
                paste = action;
        }
        QVERIFY(paste);
        QVERIFY(paste->isEnabled());
        paste->trigger();
    } else {
        QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    }

    QCOMPARE(edit.text(), clipboard);
    QCOMPARE(seen, QByteArray());
    QCOMPARE(edit.GetDezimal(), -1);
}

void TestHexEdit::getDezimalReadsTheLeadingHexNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("expected");

    constexpr qint32 max = std::numeric_limits<qint32>::max();
    constexpr qint32 min = std::numeric_limits<qint32>::min();

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("0") << QStringLiteral("0") << 0;
    QTest::newRow("FF") << QStringLiteral("FF") << 255;
    QTest::newRow("ff") << QStringLiteral("ff") << 255;
    QTest::newRow("aB") << QStringLiteral("aB") << 171;
    QTest::newRow("leading zeros") << QStringLiteral("0000000000FF") << 255;
    QTest::newRow("7FFFFFFF") << QStringLiteral("7FFFFFFF") << max;
    QTest::newRow("80000000 saturates") << QStringLiteral("80000000") << max;
    QTest::newRow("FFFFFFFF saturates") << QStringLiteral("FFFFFFFF") << max;
    QTest::newRow("100000000 saturates") << QStringLiteral("100000000") << max;
    QTest::newRow("-1") << QStringLiteral("-1") << -1;
    QTest::newRow("-80000000") << QStringLiteral("-80000000") << min;
    QTest::newRow("-FFFFFFFF saturates") << QStringLiteral("-FFFFFFFF") << min;
    QTest::newRow("-7FFFFFFF") << QStringLiteral("-7FFFFFFF") << -max;
    QTest::newRow("0x prefix") << QStringLiteral("0x1A") << 26;
    QTest::newRow("0X prefix") << QStringLiteral("0X1a") << 26;
    QTest::newRow("sign before prefix") << QStringLiteral("-0x1A") << -26;
    QTest::newRow("two spaces first") << QStringLiteral("  1A") << 26;
    QTest::newRow("every C white space first") << QStringLiteral(" \t\n\v\f\r1A") << 26;
    QTest::newRow("plus sign") << QStringLiteral("+1A") << 26;
    QTest::newRow("1G") << QStringLiteral("1G") << 1;
    QTest::newRow("G1") << QStringLiteral("G1") << 0;
    QTest::newRow("0x alone") << QStringLiteral("0x") << 0;
    QTest::newRow("0x then no digit") << QStringLiteral("0xG1") << 0;
    QTest::newRow("prefix twice") << QStringLiteral("0x0x1") << 0;
    QTest::newRow("minus alone") << QStringLiteral("-") << 0;
    QTest::newRow("plus alone") << QStringLiteral("+") << 0;
    QTest::newRow("two signs") << QStringLiteral("+-1") << 0;
    QTest::newRow("space after sign") << QStringLiteral("- 1") << 0;
    QTest::newRow("white space only") << QStringLiteral(" \t ") << 0;
    QTest::newRow("space inside ends the number") << QStringLiteral("1 A") << 1;
    QTest::newRow("thousands of digits") << QString(5000, u'F') << max;
    QTest::newRow("thousands of negative digits") << QStringLiteral("-") + QString(5000, u'1') << min;
    QTest::newRow("thousands of leading zeros") << QString(5000, u'0') + QStringLiteral("7f") << 127;
    QTest::newRow("no-break space is not white space") << QStringLiteral("\u00A01A") << 0;
    QTest::newRow("em space is not white space") << QStringLiteral("\u20031A") << 0;
    QTest::newRow("fullwidth digit is not a digit") << QStringLiteral("\uFF11A") << 0;
    QTest::newRow("umlaut ends the number") << QStringLiteral("1\u00E4") << 1;
}

void TestHexEdit::getDezimalReadsTheLeadingHexNumber()
{
    QFETCH(QString, text);
    QFETCH(qint32, expected);

    THexEdit edit;
    QCOMPARE(edit.text(), QString());
    edit.setText(text);

    QCOMPARE(edit.GetDezimal(), expected);
    QCOMPARE(edit.text(), text);
}

void TestHexEdit::registersOnTheUserPage()
{
    Hexedit::Register();

    const auto &registrations = RegisteredComponents();
    const auto it = std::find_if(registrations.cbegin(), registrations.cend(), [](const ComponentRegistration &r) {
        return r.className() == QLatin1String("THexEdit");
    });
    QVERIFY(it != registrations.cend());
    QCOMPARE(it->page, QStringLiteral("User"));
    QCOMPARE(it->includeFile, QStringLiteral("Hexedit.h"));
    const std::unique_ptr<QWidget> created(it->create(nullptr));
    QVERIFY(qobject_cast<THexEdit *>(created.get()));
}

QTEST_MAIN(TestHexEdit)
#include "tst_hexedit.moc"
