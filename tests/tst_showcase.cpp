#include "Anzeige.h"
#include "Hexedit.h"
#include "Locale.h"
#include "MessageBox.h"
#include "Numericedit.h"
#include "PdfText.h"
#include "Printablememo.h"
#include "Printer.h"
#include "Showcase.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Answers the next colour dialog: picks `colour` and accepts, or cancels when `colour` is invalid. Looks for
// the dialog for at most five seconds.
void answerColorDialog(const QColor &colour)
{
    auto *look = new QTimer(QCoreApplication::instance());
    int looks = 0;
    QObject::connect(look, &QTimer::timeout, [look, looks, colour]() mutable {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog && ++looks < 250)
            return;
        look->deleteLater();
        look->stop();
        if (!dialog)
            return;
        if (colour.isValid()) {
            dialog->setCurrentColor(colour);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    look->start(20);
}

} // namespace

class tst_Showcase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startsAndClosesCleanly();
    void showsWhatTheEditsRead_data();
    void showsWhatTheEditsRead();
    void checkBoxSwitchesTheLamp();
    void colourButtonsRecolourTheLamp_data();
    void colourButtonsRecolourTheLamp();
    void printButtonExplainsMissingPrinter();
    void printButtonPrintsTheMemo();

private:
    template <class T>
    T *child(const char *name)
    {
        return m_showcase->findChild<T *>(QLatin1String(name));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Showcase> m_showcase;
};

void tst_Showcase::initTestCase()
{
    // Whatever printers this machine has, these tests see none: a print server that does not exist.
    qputenv("CUPS_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("no-cups.sock"))));
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QVERIFY(m_dir.isValid());
}

void tst_Showcase::init()
{
    // The offscreen platform cannot pass size hints on to a window manager, and says so.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support propagateSizeHints)")));
    m_showcase = std::make_unique<Showcase>();
    m_showcase->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_showcase.get()));
}

void tst_Showcase::cleanup()
{
    m_showcase.reset();
    Printer().Device().setOutputFileName(QString());
}

void tst_Showcase::startsAndClosesCleanly()
{
    QCOMPARE(m_showcase->windowTitle(), QStringLiteral("Tintora-Bausteine ausprobieren"));
    QVERIFY(child<TNumericEdit>("NumericEdit1"));
    QVERIFY(child<THexEdit>("HexEdit1"));
    QVERIFY(child<TAnzeige>("Anzeige1"));
    QVERIFY(child<TPrintableMemo>("PrintableMemo1"));
    // Stored in the showcase's layout, so a refused key is explained.
    QVERIFY(child<TNumericEdit>("NumericEdit1")->ShowErrorMessage);

    QVERIFY(m_showcase->close());
    QVERIFY(!m_showcase->isVisible());
}

void tst_Showcase::showsWhatTheEditsRead_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");

    const QString separator = SystemDecimalSeparator();
    QTest::newRow("nothing typed") << "NumericEdit1"
                                   << ""
                                   << "doubleValue" << QLocale().toString(0.0);
    QTest::newRow("decimal") << "NumericEdit1"
                             << "-12" + separator + "5"
                             << "doubleValue" << QLocale().toString(-12.5);
    QTest::newRow("hexadecimal") << "HexEdit1"
                                 << "fF"
                                 << "decimalValue"
                                 << "255";
    QTest::newRow("largest") << "HexEdit1"
                             << "7FFFFFFF"
                             << "decimalValue"
                             << "2147483647";
    QTest::newRow("letters refused") << "HexEdit1"
                                     << "xg1"
                                     << "decimalValue"
                                     << "1";
}

void tst_Showcase::showsWhatTheEditsRead()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QString, shown);

    MessageBoxRecorder recorder;
    QTest::keyClicks(child<QLineEdit>(qPrintable(edit)), typed);
    QCOMPARE(child<QLineEdit>(qPrintable(field))->text(), shown);
}

void tst_Showcase::checkBoxSwitchesTheLamp()
{
    auto *lamp = child<TAnzeige>("Anzeige1");
    auto *checkBox = child<QCheckBox>("statusCheckBox");
    const QPoint centre = lamp->rect().center();

    QTest::mouseClick(checkBox, Qt::LeftButton, {}, checkBox->rect().center());
    QVERIFY(lamp->Status());
    QCOMPARE(lamp->grab().toImage().pixelColor(centre), QColor(0, 255, 255));

    QTest::mouseClick(checkBox, Qt::LeftButton, {}, checkBox->rect().center());
    QVERIFY(!lamp->Status());
    QCOMPARE(lamp->grab().toImage().pixelColor(centre), lamp->palette().color(QPalette::Button));
}

void tst_Showcase::colourButtonsRecolourTheLamp_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QColor>("chosen");
    QTest::addColumn<uint>("on");
    QTest::addColumn<uint>("off");

    QTest::newRow("on colour") << "colorOnButton" << QColor(Qt::red) << uint(clRed) << uint(clBtnFace);
    QTest::newRow("off colour") << "colorOffButton" << QColor(Qt::yellow) << uint(clAqua) << uint(clYellow);
    QTest::newRow("cancelled") << "colorOnButton" << QColor() << uint(clAqua) << uint(clBtnFace);
}

void tst_Showcase::colourButtonsRecolourTheLamp()
{
    QFETCH(QString, button);
    QFETCH(QColor, chosen);
    QFETCH(uint, on);
    QFETCH(uint, off);

    answerColorDialog(chosen);
    child<QPushButton>(qPrintable(button))->click();
    auto *lamp = child<TAnzeige>("Anzeige1");
    QCOMPARE(lamp->Color_on(), on);
    QCOMPARE(lamp->Color_off(), off);
}

void tst_Showcase::printButtonExplainsMissingPrinter()
{
    MessageBoxRecorder recorder;
    child<QPushButton>("printButton")->click();
    QCOMPARE(recorder.calls().size(), 1);
    QCOMPARE(recorder.calls()[0].caption, QStringLiteral("Drucken"));
    QCOMPARE(
        recorder.calls()[0].text,
        QStringLiteral("Das Memo konnte nicht gedruckt werden.\nEs ist kein Drucker installiert oder ausgewählt."));
    QCOMPARE(recorder.calls()[0].flags, MB_ICONERROR);
    QCOMPARE(child<QLabel>("printStatus")->text(), QString());
}

void tst_Showcase::printButtonPrintsTheMemo()
{
    const QString fileName = m_dir.filePath(QStringLiteral("showcase.pdf"));
    Printer().Device().setOutputFileName(fileName);
    MessageBoxRecorder recorder;
    child<QPushButton>("printButton")->click();
    QCOMPARE(recorder.calls().size(), 0);
    QCOMPARE(child<QLabel>("printStatus")->text(), QStringLiteral("An den Drucker übergeben."));

    const PdfText printed = readPdfText(fileName);
    QVERIFY(printed.loaded);
    const QStringList firstLine =
        child<TPrintableMemo>("PrintableMemo1")->Lines().first().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QVERIFY(printed.words.size() >= firstLine.size());
    for (qsizetype index = 0; index < firstLine.size(); ++index)
        QCOMPARE(printed.words[index].text, firstLine[index]);
}

QTEST_MAIN(tst_Showcase)
#include "tst_showcase.moc"
