#include "PdfText.h"
#include "Printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double kMarginPt = 10;

double toPoints(int pixels, int dpi)
{
    return pixels * 72.0 / dpi;
}

// A4 with 10 pt margins, printed to a PDF file at the given resolution.
void printToPdf(const QString &fileName, int dpi = 1200)
{
    QPrinter &device = Printer().Device();
    device.setOutputFileName(fileName);
    device.setResolution(dpi);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt), QPageLayout::Point));
}

// Letters that do not compress, so the PDF of a page is large.
QString randomLetters(int length)
{
    static QRandomGenerator generator(4711);
    QString letters;
    for (int i = 0; i < length; ++i)
        letters.append(QChar(u'a' + int(generator.bounded(26))));
    return letters;
}

} // namespace

class TestPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void noPrinterRaisesWhenPageHeightIsRead();
    void pageHeightIsThePrintableAreaInDevicePixels_data();
    void pageHeightIsThePrintableAreaInDevicePixels();
    void fontSizeSetLastDecides_data();
    void fontSizeSetLastDecides();
    void textOutPlacesTheTopOfTheLineAtThePoint_data();
    void textOutPlacesTheTopOfTheLineAtThePoint();
    void fontStyleReachesThePrintout();
    void abortDropsTheDocument();
    void callsOutsideADocumentRaise_data();
    void callsOutsideADocumentRaise();
    void beginDocTwiceRaises();
    void unwritableOutputRaisesAtBeginDoc();
    void failedNewPageRaises();

private:
    QTemporaryDir m_dir;
};

void TestPrinter::initTestCase()
{
    // Whatever printers this machine has, these tests see none: a print server that does not exist.
    qputenv("CUPS_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("no-cups.sock"))));
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QVERIFY(m_dir.isValid());
}

void TestPrinter::cleanup()
{
    if (Printer().Printing())
        Printer().Abort();
    Printer().Device().setOutputFileName(QString());
}

void TestPrinter::noPrinterRaisesWhenPageHeightIsRead()
{
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printer().PageHeight());
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printer().BeginDoc());
    QVERIFY(!Printer().Printing());
    try {
        Printer().PageHeight();
    } catch (const EPrinter &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Es ist kein Drucker installiert oder ausgewählt."));
    }
}

void TestPrinter::pageHeightIsThePrintableAreaInDevicePixels_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pageHeight");

    // A4 is 841.89 pt high; 821.89 pt remain between the margins.
    QTest::newRow("1200 dpi") << 1200 << 13699;
    QTest::newRow("300 dpi") << 300 << 3424;
    QTest::newRow("72 dpi") << 72 << 822;
}

void TestPrinter::pageHeightIsThePrintableAreaInDevicePixels()
{
    QFETCH(int, dpi);
    QFETCH(int, pageHeight);

    printToPdf(m_dir.filePath(QStringLiteral("height.pdf")), dpi);
    QCOMPARE(Printer().PageHeight(), pageHeight);
}

void TestPrinter::fontSizeSetLastDecides_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("sizeLast");
    QTest::addColumn<int>("expectedPixelSize");

    // 12 pt are 200 pixels at 1200 dpi and 50 at 300 dpi.
    QTest::newRow("size after height, 1200 dpi") << 1200 << true << 200;
    QTest::newRow("size after height, 300 dpi") << 300 << true << 50;
    QTest::newRow("height after size, 1200 dpi") << 1200 << false << 40;
    QTest::newRow("height after size, 300 dpi") << 300 << false << 40;
}

void TestPrinter::fontSizeSetLastDecides()
{
    QFETCH(int, dpi);
    QFETCH(bool, sizeLast);
    QFETCH(int, expectedPixelSize);

    printToPdf(m_dir.filePath(QStringLiteral("font.pdf")), dpi);
    TPrinterFont &font = Printer().Canvas().Font();
    font.SetName(QStringLiteral("Liberation Sans"));
    if (sizeLast) {
        font.SetHeight(40);
        font.SetSize(12);
    } else {
        font.SetSize(12);
        font.SetHeight(40);
    }

    QFont expected(QStringLiteral("Liberation Sans"));
    expected.setPixelSize(expectedPixelSize);
    QCOMPARE(Printer().Canvas().TextHeight(QStringLiteral("M")), QFontMetrics(expected).height());
}

void TestPrinter::textOutPlacesTheTopOfTheLineAtThePoint_data()
{
    QTest::addColumn<int>("dpi");

    QTest::newRow("1200 dpi") << 1200;
    QTest::newRow("300 dpi") << 300;
}

void TestPrinter::textOutPlacesTheTopOfTheLineAtThePoint()
{
    QFETCH(int, dpi);

    const QString fileName = m_dir.filePath(QStringLiteral("points.pdf"));
    printToPdf(fileName, dpi);
    Printer().Canvas().Font().SetName(QStringLiteral("Liberation Sans"));
    Printer().Canvas().Font().SetSize(10);
    Printer().BeginDoc();
    QVERIFY(Printer().Printing());
    Printer().Canvas().TextOut(20, 20, QStringLiteral("Oben"));
    Printer().Canvas().TextOut(dpi, 2 * dpi, QStringLiteral("Mitte"));
    Printer().NewPage();
    Printer().Canvas().TextOut(0, 0, QStringLiteral("Zweite"));
    Printer().EndDoc();
    QVERIFY(!Printer().Printing());

    const PdfText pdf = readPdfText(fileName);
    QVERIFY(pdf.loaded);
    QCOMPARE(pdf.pageCount, 2);
    const QList<PdfWord> first = pdf.wordsOnPage(0);
    QCOMPARE(first.size(), 2);
    QCOMPARE(first.at(0).text, QStringLiteral("Oben"));
    QVERIFY(qAbs(first.at(0).box.left() - (kMarginPt + toPoints(20, dpi))) < 0.5);
    QVERIFY(qAbs(first.at(0).box.top() - (kMarginPt + toPoints(20, dpi))) < 0.5);
    // The text size is a whole number of device pixels.
    QVERIFY(qAbs(first.at(0).fontSize - 10.0) <= toPoints(1, dpi));
    QCOMPARE(first.at(1).text, QStringLiteral("Mitte"));
    QVERIFY(qAbs(first.at(1).box.left() - (kMarginPt + 72)) < 0.5);
    QVERIFY(qAbs(first.at(1).box.top() - (kMarginPt + 144)) < 0.5);
    const QList<PdfWord> second = pdf.wordsOnPage(1);
    QCOMPARE(second.size(), 1);
    QCOMPARE(second.at(0).text, QStringLiteral("Zweite"));
    QVERIFY(qAbs(second.at(0).box.top() - kMarginPt) < 0.5);
}

void TestPrinter::fontStyleReachesThePrintout()
{
    const QString fileName = m_dir.filePath(QStringLiteral("style.pdf"));
    printToPdf(fileName);
    TPrinterFont &font = Printer().Canvas().Font();
    font.SetName(QStringLiteral("Liberation Sans"));
    font.SetSize(10);
    font.SetStyle(TFontStyle::fsBold | TFontStyle::fsItalic);
    Printer().BeginDoc();
    Printer().Canvas().TextOut(20, 20, QStringLiteral("Fett"));
    font.SetStyle({});
    Printer().Canvas().TextOut(20, 400, QStringLiteral("Normal"));
    Printer().EndDoc();

    const PdfText pdf = readPdfText(fileName);
    QCOMPARE(pdf.words.size(), 2);
    QVERIFY2(pdf.words.at(0).fontName.contains(QStringLiteral("BoldItalic")), qPrintable(pdf.words.at(0).fontName));
    QVERIFY2(!pdf.words.at(1).fontName.contains(QStringLiteral("Bold")), qPrintable(pdf.words.at(1).fontName));
}

void TestPrinter::abortDropsTheDocument()
{
    const QString fileName = m_dir.filePath(QStringLiteral("aborted.pdf"));
    printToPdf(fileName);
    Printer().BeginDoc();
    Printer().Canvas().TextOut(20, 20, QStringLiteral("Verworfen"));
    Printer().Abort();
    QVERIFY(!Printer().Printing());
    QVERIFY(!QFile::exists(fileName));

    Printer().BeginDoc();
    Printer().EndDoc();
    QCOMPARE(readPdfText(fileName).pageCount, 1);
}

void TestPrinter::callsOutsideADocumentRaise_data()
{
    QTest::addColumn<int>("call");

    QTest::newRow("NewPage") << 0;
    QTest::newRow("EndDoc") << 1;
    QTest::newRow("Abort") << 2;
    QTest::newRow("TextOut") << 3;
}

void TestPrinter::callsOutsideADocumentRaise()
{
    QFETCH(int, call);

    printToPdf(m_dir.filePath(QStringLiteral("outside.pdf")));
    TPrinter &printer = Printer();
    switch (call) {
    case 0:
        QVERIFY_THROWS_EXCEPTION(EPrinter, printer.NewPage());
        break;
    case 1:
        QVERIFY_THROWS_EXCEPTION(EPrinter, printer.EndDoc());
        break;
    case 2:
        QVERIFY_THROWS_EXCEPTION(EPrinter, printer.Abort());
        break;
    case 3:
        QVERIFY_THROWS_EXCEPTION(EPrinter, printer.Canvas().TextOut(20, 20, QStringLiteral("x")));
        break;
    }
    QVERIFY(!printer.Printing());
}

void TestPrinter::beginDocTwiceRaises()
{
    printToPdf(m_dir.filePath(QStringLiteral("twice.pdf")));
    Printer().BeginDoc();
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printer().BeginDoc());
    QVERIFY(Printer().Printing());
}

void TestPrinter::unwritableOutputRaisesAtBeginDoc()
{
    printToPdf(m_dir.filePath(QStringLiteral("missing-folder/out.pdf")));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printer().BeginDoc());
    QVERIFY(!Printer().Printing());
}

// A full disk: the PDF of the first page cannot be written out when the second one starts.
void TestPrinter::failedNewPageRaises()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("This system has no /dev/full to stand for a full disk.");
    printToPdf(QStringLiteral("/dev/full"));
    Printer().Canvas().Font().SetSize(10);
    Printer().BeginDoc();
    for (int y = 0; y < 60; ++y)
        Printer().Canvas().TextOut(20, 20 + 200 * y, randomLetters(1000));
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printer().NewPage());
    Printer().Abort();
    QVERIFY(!Printer().Printing());
    QVERIFY(QFile::exists(QStringLiteral("/dev/full")));

    // The next document is written in full.
    const QString fileName = m_dir.filePath(QStringLiteral("after-full.pdf"));
    printToPdf(fileName);
    Printer().BeginDoc();
    Printer().Canvas().TextOut(20, 20, QStringLiteral("Wieder"));
    Printer().EndDoc();
    const PdfText pdf = readPdfText(fileName);
    QCOMPARE(pdf.words.size(), 1);
    QCOMPARE(pdf.words.at(0).text, QStringLiteral("Wieder"));
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
