#include "ComponentRegistry.h"
#include "MessageBox.h"
#include "Numericedit.h"
#include "Windows1252.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMetaProperty>
#include <QTest>
#include <climits>
#include <clocale>
#include <cstring>
#include <utility>

namespace {

const QString kUnknownCharacter = QStringLiteral("Unzulässiges Zeichen\nZülässing sind: 0123456789+-");
const QString kUnknownCharacterCaption = QStringLiteral("Unzulässiges Zeichen");
const QString kSeparatorPresent = QStringLiteral("Dezimal-Seperator ist schon vorhanden");
const QString kSeparatorPresentCaption = QStringLiteral("Dezimal-Seperator");
const QString kTooManyDecimals = QStringLiteral("Weitere Nachkommastellen\nsind nicht zulässig");
const QString kTooManyIntegerDigits = QStringLiteral("Weitere Vorkommastellen\nsind nicht zulässig");
const QString kCountExceededCaption = QStringLiteral("Zeichenanzahl überschritten");

QTestEventList typed(const QString &keys)
{
    QTestEventList events;
    events.addKeyClicks(keys);
    return events;
}

QTestEventList pressed(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTestEventList events;
    events.addKeyClick(key, modifiers);
    return events;
}

// The columns that describe the control a row starts from.
void addControlColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("vorkomma");
    QTest::addColumn<int>("nachkomma");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QTestEventList>("keys");
}

void setUpControlFromRow(TNumericEdit &edit)
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, vorkomma);
    QFETCH(int, nachkomma);
    QFETCH(QString, separator);

    edit.SetVorkomma(vorkomma);
    edit.SetNachkomma(nachkomma);
    edit.SetSeperator(separator);
    edit.setText(text);
    edit.setSelection(selStart, selLength);
}

// Collects the keys that reach OnKeyPress.
void recordRaisedKeys(TNumericEdit &edit, QByteArray &raised)
{
    QObject::connect(&edit, &TCustomEdit::OnKeyPress, &edit, [&raised](char &key) { raised.append(key); });
}

// Sets the C library's locale for the lifetime of the object, as Qt does from the user's environment.
class CLibraryLocale
{
public:
    explicit CLibraryLocale(const char *name) : m_previous(std::setlocale(LC_ALL, nullptr))
    {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~CLibraryLocale() { std::setlocale(LC_ALL, m_previous.constData()); }
    CLibraryLocale(const CLibraryLocale &) = delete;
    CLibraryLocale &operator=(const CLibraryLocale &) = delete;

    bool isActive() const { return m_active; }

private:
    QByteArray m_previous;
    bool m_active = false;
};

} // namespace

class TestNumericEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startsWithTheDefaults();
    void propertiesWriteThroughTheSetters();
    void digitCountSetters_data();
    void digitCountSetters();
    void seperatorSetter_data();
    void seperatorSetter();
    void signKeysSetTheSignInsteadOfTypingIt_data();
    void signKeysSetTheSignInsteadOfTypingIt();
    void refusedKeysAreDiscardedAndExplainedOnlyOnRequest_data();
    void refusedKeysAreDiscardedAndExplainedOnlyOnRequest();
    void passingKeysReachTheEdit_data();
    void passingKeysReachTheEdit();
    void onKeyPressSeesPassingKeysOnly();
    void readOnlyDisplayStillTakesSigns_data();
    void readOnlyDisplayStillTakesSigns();
    void everyTypedCharacterKeepsTheTextNumeric();
    void getDouble_data();
    void getDouble();
    void registerPutsTheControlOnTheUserPage();
};

void TestNumericEdit::initTestCase()
{
    // Ctrl+V would change the text if it got through.
    QApplication::clipboard()->setText(QStringLiteral("99"));
}

void TestNumericEdit::startsWithTheDefaults()
{
    const TNumericEdit edit;
    QCOMPARE(edit.GetVorkomma(), 10);
    QCOMPARE(edit.GetNachkomma(), 2);
    QCOMPARE(edit.GetSeperator(), QLocale::system().decimalPoint().left(1));
    QCOMPARE(edit.GetSeperator().size(), 1);
    QCOMPARE(edit.ShowErrorMessage, false);
    QCOMPARE(edit.text(), QString());
}

void TestNumericEdit::propertiesWriteThroughTheSetters()
{
    const QMetaObject &meta = TNumericEdit::staticMetaObject;
    QStringList own;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        own << QString::fromLatin1(meta.property(i).name());
    QCOMPARE(own, QStringList({"Vorkommastellen", "Nachkommastellen", "Seperator", "ShowErrorMessage"}));

    // A stored layout writes each value through setProperty.
    MessageBoxRecorder recorder;
    TNumericEdit edit;
    QVERIFY(edit.setProperty("Vorkommastellen", 3));
    QVERIFY(edit.setProperty("Nachkommastellen", -4));
    QVERIFY(edit.setProperty("Seperator", QStringLiteral(",")));
    QVERIFY(edit.setProperty("ShowErrorMessage", true));
    QCOMPARE(edit.GetVorkomma(), 3);
    QCOMPARE(edit.GetNachkomma(), 4);
    QCOMPARE(edit.GetSeperator(), QStringLiteral(","));
    QCOMPARE(edit.ShowErrorMessage, true);
    QCOMPARE(recorder.calls().size(), 0);

    edit.setProperty("Vorkommastellen", 16);
    QCOMPARE(edit.property("Vorkommastellen").toInt(), 3);
    QCOMPARE(recorder.calls().size(), 1);
}

void TestNumericEdit::digitCountSetters_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("stored");

    QTest::newRow("15") << 15 << true << 15;
    QTest::newRow("0") << 0 << true << 0;
    QTest::newRow("7") << 7 << true << 7;
    QTest::newRow("-5 stores its magnitude") << -5 << true << 5;
    QTest::newRow("-15") << -15 << true << 15;
    QTest::newRow("16") << 16 << false << 0;
    QTest::newRow("-16") << -16 << false << 0;
    QTest::newRow("most negative int") << INT_MIN << false << 0;
    QTest::newRow("largest int") << INT_MAX << false << 0;
}

void TestNumericEdit::digitCountSetters()
{
    QFETCH(int, value);
    QFETCH(bool, accepted);
    QFETCH(int, stored);

    struct Count
    {
        const char *name;
        void (TNumericEdit::*set)(int);
        int (TNumericEdit::*get)() const;
    };
    for (const Count &count : {Count{"Vorkommastellen", &TNumericEdit::SetVorkomma, &TNumericEdit::GetVorkomma},
                               Count{"Nachkommastellen", &TNumericEdit::SetNachkomma, &TNumericEdit::GetNachkomma}}) {
        // The message does not depend on ShowErrorMessage, which stays false.
        TNumericEdit edit;
        const int before = (edit.*count.get)();
        MessageBoxRecorder recorder;

        (edit.*count.set)(value);

        QVERIFY2((edit.*count.get)() == (accepted ? stored : before), count.name);
        QCOMPARE(recorder.calls().size(), accepted ? 0 : 1);
        if (!accepted) {
            QCOMPARE(recorder.calls().first().text, QStringLiteral("Nicht mehr als 15 Stellen"));
            QCOMPARE(recorder.calls().first().caption, QStringLiteral("TNumericEdit"));
            QCOMPARE(recorder.calls().first().flags, MB_OK);
        }
    }
}

void TestNumericEdit::seperatorSetter_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("empty") << QString() << true;
    QTest::newRow("point") << QStringLiteral(".") << true;
    QTest::newRow("semicolon") << QStringLiteral(";") << true;
    QTest::newRow("two characters") << QStringLiteral(",.") << false;
    QTest::newRow("three characters") << QStringLiteral("abc") << false;
}

void TestNumericEdit::seperatorSetter()
{
    QFETCH(QString, value);
    QFETCH(bool, accepted);

    TNumericEdit edit;
    edit.SetSeperator(QStringLiteral(","));
    MessageBoxRecorder recorder;

    edit.SetSeperator(value);

    QCOMPARE(edit.GetSeperator(), accepted ? value : QStringLiteral(","));
    QCOMPARE(recorder.calls().size(), accepted ? 0 : 1);
    if (!accepted) {
        QCOMPARE(recorder.calls().first().text, QStringLiteral("Nicht mehr als 1 Zeichen"));
        QCOMPARE(recorder.calls().first().caption, QStringLiteral("TNumericEdit"));
        QCOMPARE(recorder.calls().first().flags, MB_OK);
    }
}

void TestNumericEdit::signKeysSetTheSignInsteadOfTypingIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("textAfter");
    // -1: wherever the edit puts the caret after its text changed.
    QTest::addColumn<int>("caretAfter");

    QTest::newRow("minus on empty") << QString() << 0 << 0 << '-' << QStringLiteral("-") << 1;
    QTest::newRow("plus in front") << QStringLiteral("12") << 1 << 0 << '+' << QStringLiteral("+12") << 2;
    QTest::newRow("plus in front of a selection")
        << QStringLiteral("12") << 1 << 1 << '+' << QStringLiteral("+12") << 2;
    QTest::newRow("minus flips plus") << QStringLiteral("+12") << 2 << 0 << '-' << QStringLiteral("-12") << -1;
    QTest::newRow("minus on minus") << QStringLiteral("-12") << 2 << 0 << '-' << QStringLiteral("-12") << 2;
    QTest::newRow("plus on plus") << QStringLiteral("+12") << 1 << 0 << '+' << QStringLiteral("+12") << 1;
    QTest::newRow("every minus flips") << QStringLiteral("1-2-3") << 0 << 0 << '+' << QStringLiteral("1+2+3") << -1;
    QTest::newRow("mixed signs become plus")
        << QStringLiteral("1-2+3") << 0 << 0 << '+' << QStringLiteral("1+2+3") << -1;
    QTest::newRow("sign in front of letters set from code")
        << QStringLiteral("FFh") << 3 << 0 << '-' << QStringLiteral("-FFh") << 4;
}

void TestNumericEdit::signKeysSetTheSignInsteadOfTypingIt()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(char, key);
    QFETCH(QString, textAfter);
    QFETCH(int, caretAfter);

    TNumericEdit edit;
    edit.ShowErrorMessage = true;
    edit.setText(text);
    edit.setSelection(selStart, selLength);
    QByteArray raised;
    recordRaisedKeys(edit, raised);
    MessageBoxRecorder recorder;

    QTest::keyClick(&edit, key);

    QCOMPARE(edit.text(), textAfter);
    if (caretAfter >= 0) {
        QCOMPARE(edit.SelStart(), caretAfter);
        QCOMPARE(edit.SelLength(), text == textAfter ? selLength : 0);
    }
    QCOMPARE(raised, QByteArray());
    QCOMPARE(recorder.calls().size(), 0);
}

void TestNumericEdit::refusedKeysAreDiscardedAndExplainedOnlyOnRequest_data()
{
    addControlColumns();
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");

    const QString r1 = kUnknownCharacter;
    const QString r1Caption = kUnknownCharacterCaption;
    const QString r2 = kSeparatorPresent;
    const QString r2Caption = kSeparatorPresentCaption;
    const QString r3 = kTooManyDecimals;
    const QString r4 = kTooManyIntegerDigits;
    const QString count = kCountExceededCaption;
    const QString comma = QStringLiteral(",");

    QTest::newRow("letter") << "12" << 2 << 0 << 10 << 2 << comma << typed("a") << r1 << r1Caption;
    QTest::newRow("blank") << "12" << 2 << 0 << 10 << 2 << comma << typed(" ") << r1 << r1Caption;
    QTest::newRow("enter") << "12" << 2 << 0 << 10 << 2 << comma << pressed(Qt::Key_Return) << r1 << r1Caption;
    QTest::newRow("ctrl+v") << "12" << 2 << 0 << 10 << 2 << comma << pressed(Qt::Key_V, Qt::ControlModifier) << r1
                            << r1Caption;
    QTest::newRow("separator with no decimal places")
        << "12" << 2 << 0 << 10 << 0 << comma << typed(",") << r1 << r1Caption;
    QTest::newRow("comma with no separator") << "12" << 2 << 0 << 10 << 2 << "" << typed(",") << r1 << r1Caption;
    QTest::newRow("comma with a point separator") << "12" << 2 << 0 << 10 << 2 << "." << typed(",") << r1 << r1Caption;
    QTest::newRow("separator already there") << "1,5" << 3 << 0 << 10 << 2 << comma << typed(",") << r2 << r2Caption;
    QTest::newRow("separator already there and selected")
        << "1,5" << 1 << 1 << 10 << 2 << comma << typed(",") << r2 << r2Caption;
    QTest::newRow("third decimal, caret at the end")
        << "1,25" << 4 << 0 << 10 << 2 << comma << typed("3") << r3 << count;
    QTest::newRow("third decimal, caret at the start")
        << "1,25" << 0 << 0 << 10 << 2 << comma << typed("3") << r3 << count;
    QTest::newRow("fourth digit") << "255" << 3 << 0 << 3 << 0 << comma << typed("1") << r4 << count;
    QTest::newRow("fourth digit after a sign") << "-255" << 4 << 0 << 3 << 0 << comma << typed("1") << r4 << count;
    QTest::newRow("replacing the selected separator")
        << "1,25" << 1 << 2 << 2 << 2 << comma << typed("7") << r4 << count;
    QTest::newRow("letters set from code count as digits")
        << "FFh" << 3 << 0 << 3 << 0 << comma << typed("1") << r4 << count;
    QTest::newRow("no digits before the separator") << "" << 0 << 0 << 0 << 2 << comma << typed("5") << r4 << count;
}

void TestNumericEdit::refusedKeysAreDiscardedAndExplainedOnlyOnRequest()
{
    QFETCH(QTestEventList, keys);
    QFETCH(QString, message);
    QFETCH(QString, caption);

    for (const bool explain : {true, false}) {
        TNumericEdit edit;
        setUpControlFromRow(edit);
        edit.ShowErrorMessage = explain;
        const QString textBefore = edit.text();
        const int selStartBefore = edit.SelStart();
        const int selLengthBefore = edit.SelLength();
        QByteArray raised;
        recordRaisedKeys(edit, raised);
        MessageBoxRecorder recorder;

        keys.simulate(&edit);

        QCOMPARE(edit.text(), textBefore);
        QCOMPARE(edit.SelStart(), selStartBefore);
        QCOMPARE(edit.SelLength(), selLengthBefore);
        QCOMPARE(raised, QByteArray());
        QCOMPARE(recorder.calls().size(), explain ? 1 : 0);
        if (explain) {
            QCOMPARE(recorder.calls().first().text, message);
            QCOMPARE(recorder.calls().first().caption, caption);
            QCOMPARE(recorder.calls().first().flags, MB_ICONERROR);
        }
    }
}

void TestNumericEdit::passingKeysReachTheEdit_data()
{
    addControlColumns();
    QTest::addColumn<QString>("textAfter");

    const QString comma = QStringLiteral(",");
    QTest::newRow("third digit") << "25" << 2 << 0 << 3 << 0 << comma << typed("5") << "255";
    QTest::newRow("signs do not count") << "-25" << 3 << 0 << 3 << 0 << comma << typed("5") << "-255";
    QTest::newRow("second decimal") << "1,2" << 3 << 0 << 10 << 2 << comma << typed("5") << "1,25";
    QTest::newRow("digit at the caret") << "1,2" << 0 << 0 << 10 << 2 << comma << typed("5") << "51,2";
    QTest::newRow("separator and decimal with no digits before")
        << "" << 0 << 0 << 0 << 2 << comma << typed(",5") << ",5";
    QTest::newRow("separator at the digit limit") << "255" << 3 << 0 << 3 << 2 << comma << typed(",") << "255,";
    QTest::newRow("digits before a separator are not counted")
        << "255," << 0 << 0 << 3 << 2 << comma << typed("1") << "1255,";
    QTest::newRow("point as separator") << "1" << 1 << 0 << 10 << 2 << "." << typed(".5") << "1.5";
    QTest::newRow("digit replacing a selection") << "1,25" << 1 << 2 << 3 << 2 << comma << typed("7") << "175";
    QTest::newRow("digit replacing everything") << "255" << 0 << 3 << 3 << 0 << comma << typed("9") << "9";
    QTest::newRow("backspace at the digit limit")
        << "255" << 3 << 0 << 3 << 0 << comma << pressed(Qt::Key_Backspace) << "25";
    QTest::newRow("backspace at the decimal limit")
        << "1,25" << 4 << 0 << 10 << 2 << comma << pressed(Qt::Key_Backspace) << "1,2";
    QTest::newRow("backspace over letters") << "FFh" << 3 << 0 << 0 << 0 << "" << pressed(Qt::Key_Backspace) << "FF";
}

void TestNumericEdit::passingKeysReachTheEdit()
{
    QFETCH(QTestEventList, keys);
    QFETCH(QString, textAfter);

    TNumericEdit edit;
    setUpControlFromRow(edit);
    edit.ShowErrorMessage = true;
    MessageBoxRecorder recorder;

    keys.simulate(&edit);

    QCOMPARE(edit.text(), textAfter);
    QCOMPARE(recorder.calls().size(), 0);
}

void TestNumericEdit::onKeyPressSeesPassingKeysOnly()
{
    TNumericEdit edit;
    edit.SetVorkomma(3);
    edit.SetSeperator(QStringLiteral(","));
    QByteArray raised;
    recordRaisedKeys(edit, raised);

    QTest::keyClicks(&edit, QStringLiteral("1a-2+,3,45"));
    QTest::keyClick(&edit, Qt::Key_Backspace);

    QCOMPARE(raised, QByteArray("12,34\b"));
    QCOMPARE(edit.text(), QStringLiteral("+12,3"));
}

void TestNumericEdit::readOnlyDisplayStillTakesSigns_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("text");
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QByteArray>("raised");

    QTest::newRow("minus") << true << "255" << '-' << "-255" << QByteArray();
    QTest::newRow("plus") << true << "255" << '+' << "+255" << QByteArray();
    QTest::newRow("plus flips minus") << true << "-255" << '+' << "+255" << QByteArray();
    QTest::newRow("minus before a hex text") << true << "FFh" << '-' << "-FFh" << QByteArray();
    QTest::newRow("refused digit") << true << "255" << '7' << "255" << QByteArray();
    QTest::newRow("passing digit is not inserted") << true << "25" << '7' << "25" << QByteArray("7");
    QTest::newRow("typed length limit does not cut the sign") << false << "255" << '-' << "-255" << QByteArray();
}

void TestNumericEdit::readOnlyDisplayStillTakesSigns()
{
    QFETCH(bool, readOnly);
    QFETCH(QString, text);
    QFETCH(char, key);
    QFETCH(QString, textAfter);
    QFETCH(QByteArray, raised);

    // Configured like the main window's channel displays.
    TNumericEdit edit;
    edit.SetVorkomma(3);
    edit.SetNachkomma(0);
    edit.SetSeperator(QStringLiteral(","));
    edit.setReadOnly(readOnly);
    edit.SetMaxLength(3);
    edit.setText(text);
    QByteArray seen;
    recordRaisedKeys(edit, seen);

    QTest::keyClick(&edit, key);

    QCOMPARE(edit.text(), textAfter);
    QCOMPARE(seen, raised);
}

void TestNumericEdit::everyTypedCharacterKeepsTheTextNumeric()
{
    TNumericEdit edit;
    edit.SetSeperator(QStringLiteral(","));
    edit.ShowErrorMessage = true;
    MessageBoxRecorder recorder;
    QStringList texts;
    connect(&edit, &QLineEdit::textChanged, &edit, [&texts](const QString &text) { texts << text; });

    for (int byte = 0; byte < 256; ++byte) {
        const QString character(Windows1252::toUnicode(static_cast<char>(byte)));
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, character, Qt::NoModifier);
    }
    for (const QString &outsideTheCodePage : {QStringLiteral("Ж"), QString(QChar(0xE000)), QStringLiteral("😀")})
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, outsideTheCodePage, Qt::NoModifier);

    const QString allowed = QStringLiteral("0123456789+-,");
    for (const QString &text : std::as_const(texts)) {
        for (const QChar c : text)
            QVERIFY2(allowed.contains(c), qPrintable(text));
    }
    // In code-page order: "+" signs the empty text, "," passes, "-" flips the sign, "0" and "1" fill both
    // decimal places; everything else is refused.
    QCOMPARE(edit.text(), QStringLiteral("-,01"));
    const QStringList refusals = {kUnknownCharacter, kTooManyDecimals};
    for (const MessageBoxCall &call : recorder.calls())
        QVERIFY2(refusals.contains(call.text), qPrintable(call.text));
}

void TestNumericEdit::getDouble_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    const QString comma = QStringLiteral(",");
    QTest::newRow("empty") << comma << "" << 0.0;
    QTest::newRow("negative with separator") << comma << "-1,5" << -1.5;
    QTest::newRow("point is read as decimal point") << comma << "1.5" << 1.5;
    QTest::newRow("hex display text") << comma << "FFh" << 0.0;
    QTest::newRow("sign alone") << comma << "+" << 0.0;
    QTest::newRow("comma with a point separator") << "."
                                                  << "12,5" << 12.0;
    QTest::newRow("no digits before the separator") << comma << ",5" << 0.5;
    QTest::newRow("only the first separator") << comma << "1,5,7" << 1.5;
    QTest::newRow("no separator") << ""
                                  << "1,5" << 1.0;
    QTest::newRow("blanks, exponent and trailing rest") << comma << " 2,5e1x" << 25.0;
    QTest::newRow("integer") << comma << "255" << 255.0;
}

void TestNumericEdit::getDouble()
{
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QFETCH(double, number);

    TNumericEdit edit;
    edit.SetSeperator(separator);
    edit.setText(text);

    for (const char *localeName : {"C", "de_DE.UTF-8"}) {
        const CLibraryLocale locale(localeName);
        if (!locale.isActive())
            QFAIL(qPrintable(QStringLiteral("Locale %1 is missing; scripts/install-deps.sh generates it")
                                 .arg(QLatin1String(localeName))));
        QVERIFY2(std::strcmp(std::localeconv()->decimal_point, localeName[0] == 'C' ? "." : ",") == 0, localeName);

        QVERIFY2(edit.GetDouble() == number, localeName);
    }
}

void TestNumericEdit::registerPutsTheControlOnTheUserPage()
{
    Numericedit::Register();

    const QList<ComponentRegistration> &registered = RegisteredComponents();
    QCOMPARE(registered.size(), 1);
    QCOMPARE(registered.first().page, QStringLiteral("User"));
    QCOMPARE(registered.first().className(), QStringLiteral("TNumericEdit"));
    QCOMPARE(registered.first().includeFile, QStringLiteral("Numericedit.h"));
    QWidget parent;
    QVERIFY(qobject_cast<TNumericEdit *>(registered.first().create(&parent)));
}

QTEST_MAIN(TestNumericEdit)
#include "tst_numericedit.moc"
