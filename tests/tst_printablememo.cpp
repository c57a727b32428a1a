#include "ComponentRegistry.h"
#include "PdfText.h"
#include "Printablememo.h"
#include "Printablememo_p.h"
#include "Printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QMetaProperty>
#include <QPageLayout>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double kMarginPt = 10;
constexpr int kOffset = Printablememo::PrintOffset;

double toPoints(int pixels, int dpi)
{
    return pixels * 72.0 / dpi;
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Zeile%1").arg(i));
    return lines;
}

// Letters that do not compress, so the PDF of a page is large.
QString randomLetters(int length)
{
    static QRandomGenerator generator(815);
    QString letters;
    for (int i = 0; i < length; ++i)
        letters.append(QChar(u'a' + int(generator.bounded(26))));
    return letters;
}

QHash<QString, PdfWord> wordsByText(const PdfText &pdf)
{
    QHash<QString, PdfWord> words;
    for (const PdfWord &word : pdf.words)
        words.insert(word.text, word);
    return words;
}

// A memo as a form would hold it: Liberation Sans, wide enough for its lines.
class Memo : public TPrintableMemo
{
public:
    explicit Memo(const QStringList &lines = {}, int pointSize = 10)
    {
        resize(600, 300);
        QFont memoFont(QStringLiteral("Liberation Sans"));
        memoFont.setPointSize(pointSize);
        setFont(memoFont);
        setPlainText(lines.join(QLatin1Char('\n')));
    }
};

} // namespace

class TestPrintableMemo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void pageLayoutRule_data();
    void pageLayoutRule();
    void printsLinesPageByPage_data();
    void printsLinesPageByPage();
    void printsTheMemoPointSizeAtAnyResolution_data();
    void printsTheMemoPointSizeAtAnyResolution();
    void copiesTheMemoFontStyle();
    void linesPerPageChangesNothing_data();
    void linesPerPageChangesNothing();
    void printsTenThousandLines();
    void lineLongerThanThePageStaysOneLine();
    void fontTallerThanThePagePrintsOneLinePerPage();
    void noPrinterRaisesBeforeAnyDocument();
    void errorInsideTheDocumentAbortsItAndPassesOn();

    void linesOfTheMemo_data();
    void linesOfTheMemo();
    void wrappedLinesFollowTheMemoWidth();
    void printsWrappedLinesAsTheMemoShowsThem();

    void defaults();
    void registersOnSamplesWithItsPaletteImage();

private:
    QString usePdf(int dpi);
    PdfText print(TPrintableMemo &memo, int dpi = 1200);
    int lineHeight(int pointSize, int dpi);
    int capacity(int pointSize, int dpi);

    QTemporaryDir m_dir;
};

void TestPrintableMemo::initTestCase()
{
    // Whatever printers this machine has, these tests see none: a print server that does not exist.
    qputenv("CUPS_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("no-cups.sock"))));
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QVERIFY(m_dir.isValid());
}

void TestPrintableMemo::cleanup()
{
    Printer().Device().setOutputFileName(QString());
}

// Prints to an A4 PDF with 10 pt margins.
QString TestPrintableMemo::usePdf(int dpi)
{
    const QString fileName = m_dir.filePath(QStringLiteral("memo.pdf"));
    QFile::remove(fileName);
    QPrinter &device = Printer().Device();
    device.setOutputFileName(fileName);
    device.setResolution(dpi);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt), QPageLayout::Point));
    return fileName;
}

PdfText TestPrintableMemo::print(TPrintableMemo &memo, int dpi)
{
    const QString fileName = usePdf(dpi);
    memo.Print();
    return readPdfText(fileName);
}

int TestPrintableMemo::lineHeight(int pointSize, int dpi)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(pointSize);
    usePdf(dpi);
    return QFontMetrics(font, &Printer().Device()).height();
}

// The lines that fit between the top offset and the bottom of the printable area.
int TestPrintableMemo::capacity(int pointSize, int dpi)
{
    const int height = lineHeight(pointSize, dpi);
    return (Printer().PageHeight() - kOffset) / height;
}

void TestPrintableMemo::pageLayoutRule_data()
{
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("measuredLineHeight");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("capacity");

    // 33 lines would put the last one at 980..1010, past the page.
    QTest::newRow("page 1000, line 30") << 1000 << 30 << 30 << 32;
    QTest::newRow("lines fill the page exactly") << 1020 << 20 << 20 << 50;
    QTest::newRow("one pixel short of another line") << 1019 << 20 << 20 << 49;
    QTest::newRow("A4 at 1200 dpi, 10 pt") << 13699 << 192 << 192 << 71;
    QTest::newRow("line height 0 counts as 1") << 1000 << 0 << 1 << 980;
    QTest::newRow("line taller than the page") << 1000 << 5000 << 5000 << 1;
    QTest::newRow("line as tall as the page") << 1000 << 1000 << 1000 << 1;
    QTest::newRow("page no taller than the offset") << 20 << 10 << 10 << 1;
}

void TestPrintableMemo::pageLayoutRule()
{
    QFETCH(int, pageHeight);
    QFETCH(int, measuredLineHeight);
    QFETCH(int, lineHeight);
    QFETCH(int, capacity);

    const Printablememo::PageLayout layout = Printablememo::PageLayoutFor(pageHeight, measuredLineHeight);
    QCOMPARE(layout.lineHeight, lineHeight);
    QCOMPARE(layout.capacity, capacity);
    if (layout.capacity > 1)
        QVERIFY(kOffset + layout.capacity * layout.lineHeight <= pageHeight);
}

void TestPrintableMemo::printsLinesPageByPage_data()
{
    QTest::addColumn<int>("fullPages");
    QTest::addColumn<int>("extraLines");

    QTest::newRow("empty memo") << 0 << 0;
    QTest::newRow("one line") << 0 << 1;
    QTest::newRow("exactly one page") << 1 << 0;
    QTest::newRow("one line more than a page") << 1 << 1;
    QTest::newRow("exactly two pages") << 2 << 0;
    QTest::newRow("two pages and a half") << 2 << 30;
}

void TestPrintableMemo::printsLinesPageByPage()
{
    QFETCH(int, fullPages);
    QFETCH(int, extraLines);

    const int dpi = 1200;
    const int perPage = capacity(10, dpi);
    const int pitch = lineHeight(10, dpi);
    const int count = fullPages * perPage + extraLines;
    Memo memo(numberedLines(count));

    const PdfText pdf = print(memo, dpi);
    QVERIFY(pdf.loaded);
    QCOMPARE(pdf.pageCount, qMax(1, (count + perPage - 1) / perPage));
    QCOMPARE(pdf.words.size(), count);
    const QHash<QString, PdfWord> words = wordsByText(pdf);
    for (int index = 0; index < count; ++index) {
        const PdfWord word = words.value(QStringLiteral("Zeile%1").arg(index + 1));
        QCOMPARE(word.page, index / perPage);
        QVERIFY(qAbs(word.box.left() - (kMarginPt + toPoints(kOffset, dpi))) < 0.5);
        const int y = kOffset + (index % perPage) * pitch;
        QVERIFY2(qAbs(word.box.top() - (kMarginPt + toPoints(y, dpi))) < 0.5, qPrintable(word.text));
    }
}

void TestPrintableMemo::printsTheMemoPointSizeAtAnyResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pointSize");

    QTest::newRow("10 pt at 300 dpi") << 300 << 10;
    QTest::newRow("10 pt at 1200 dpi") << 1200 << 10;
    QTest::newRow("14 pt at 600 dpi") << 600 << 14;
    QTest::newRow("14 pt at 1200 dpi") << 1200 << 14;
}

void TestPrintableMemo::printsTheMemoPointSizeAtAnyResolution()
{
    QFETCH(int, dpi);
    QFETCH(int, pointSize);

    Memo memo({QStringLiteral("Eins"), QStringLiteral("Zwei")}, pointSize);
    const PdfText pdf = print(memo, dpi);
    QCOMPARE(pdf.words.size(), 2);
    const PdfWord first = pdf.words.at(0);
    const PdfWord second = pdf.words.at(1);
    // The text size is a whole number of device pixels.
    QVERIFY(qAbs(first.fontSize - pointSize) <= toPoints(1, dpi));
    // The offsets are pixels of the device, the line pitch follows the font.
    QVERIFY(qAbs(first.box.left() - (kMarginPt + toPoints(kOffset, dpi))) < 0.1);
    QVERIFY(qAbs(first.box.top() - (kMarginPt + toPoints(kOffset, dpi))) < 0.5);
    QVERIFY(qAbs(second.box.top() - first.box.top() - toPoints(lineHeight(pointSize, dpi), dpi)) < 0.1);
}

void TestPrintableMemo::copiesTheMemoFontStyle()
{
    Memo memo({QStringLiteral("Schräg"), QStringLiteral("fett")});
    QFont font = memo.font();
    font.setBold(true);
    font.setItalic(true);
    memo.setFont(font);

    const PdfText pdf = print(memo);
    QCOMPARE(pdf.words.size(), 2);
    QCOMPARE(pdf.words.at(0).text, QStringLiteral("Schräg"));
    QVERIFY2(pdf.words.at(0).fontName.contains(QStringLiteral("BoldItalic")), qPrintable(pdf.words.at(0).fontName));

    memo.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    const PdfText plain = print(memo);
    QVERIFY2(!plain.words.at(0).fontName.contains(QStringLiteral("Bold")), qPrintable(plain.words.at(0).fontName));
}

void TestPrintableMemo::linesPerPageChangesNothing_data()
{
    QTest::addColumn<int>("linesPerPage");

    QTest::newRow("1") << 1;
    QTest::newRow("5") << 5;
    QTest::newRow("negative") << -3;
    QTest::newRow("huge") << 1000000;
}

void TestPrintableMemo::linesPerPageChangesNothing()
{
    QFETCH(int, linesPerPage);

    Memo memo(numberedLines(capacity(10, 1200) + 3));
    const PdfText unset = print(memo);
    QVERIFY(memo.setProperty("LinesPerPage", linesPerPage));
    QCOMPARE(memo.LinesPerPage, linesPerPage);
    const PdfText set = print(memo);

    QCOMPARE(set.pageCount, unset.pageCount);
    QCOMPARE(set.words.size(), unset.words.size());
    for (int i = 0; i < set.words.size(); ++i) {
        QCOMPARE(set.words.at(i).page, unset.words.at(i).page);
        QCOMPARE(set.words.at(i).box, unset.words.at(i).box);
    }
}

void TestPrintableMemo::printsTenThousandLines()
{
    Memo memo(numberedLines(10000));
    const int perPage = capacity(10, 1200);

    const PdfText pdf = print(memo);
    QCOMPARE(pdf.pageCount, (10000 + perPage - 1) / perPage);
    QCOMPARE(pdf.words.size(), 10000);
    QCOMPARE(pdf.words.constLast().text, QStringLiteral("Zeile10000"));
    QCOMPARE(pdf.words.constLast().page, pdf.pageCount - 1);
}

void TestPrintableMemo::lineLongerThanThePageStaysOneLine()
{
    QStringList words;
    for (int i = 1; i <= 200; ++i)
        words.append(QStringLiteral("Wort%1").arg(i));
    Memo memo({words.join(QLatin1Char(' ')), QStringLiteral("Danach")});
    memo.setLineWrapMode(QPlainTextEdit::NoWrap);

    const PdfText pdf = print(memo);
    QCOMPARE(pdf.pageCount, 1);
    const QHash<QString, PdfWord> printed = wordsByText(pdf);
    const PdfWord first = printed.value(QStringLiteral("Wort1"));
    QVERIFY(qAbs(first.box.left() - (kMarginPt + toPoints(kOffset, 1200))) < 0.5);
    // Every word of the long line that is on the paper stands on its first line; the next line is the next.
    int onPaper = 0;
    for (const PdfWord &word : pdf.words) {
        if (!word.text.startsWith(QStringLiteral("Wort")))
            continue;
        ++onPaper;
        QCOMPARE(word.box.top(), first.box.top());
    }
    QVERIFY(onPaper > 10);
    QVERIFY(onPaper < 200);
    const PdfWord next = printed.value(QStringLiteral("Danach"));
    QVERIFY(qAbs(next.box.top() - first.box.top() - toPoints(lineHeight(10, 1200), 1200)) < 0.1);
}

void TestPrintableMemo::fontTallerThanThePagePrintsOneLinePerPage()
{
    // 800 pt: a line is higher than the printable page, yet the glyphs start on it.
    Memo memo({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 800);
    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    QCOMPARE(memo.Lines().size(), 3);

    const PdfText pdf = print(memo);
    QVERIFY(Printer().Canvas().TextHeight(QStringLiteral("M")) > Printer().PageHeight());
    QCOMPARE(pdf.pageCount, 3);
    QCOMPARE(pdf.words.size(), 3);
    for (int page = 0; page < 3; ++page) {
        const QList<PdfWord> words = pdf.wordsOnPage(page);
        QCOMPARE(words.size(), 1);
        QCOMPARE(words.at(0).text, QString(QChar(u'A' + page)));
        QVERIFY(qAbs(words.at(0).box.top() - (kMarginPt + toPoints(kOffset, 1200))) < 1);
    }
}

void TestPrintableMemo::noPrinterRaisesBeforeAnyDocument()
{
    Memo memo(numberedLines(3));
    Printer().Device().setOutputFileName(QString());

    try {
        memo.Print();
        QFAIL("Print went on without a printer.");
    } catch (const EPrinter &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Es ist kein Drucker installiert oder ausgewählt."));
    }
    QVERIFY(!Printer().Printing());
}

// A full disk: the first page cannot be written out when the second one starts.
void TestPrintableMemo::errorInsideTheDocumentAbortsItAndPassesOn()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("This system has no /dev/full to stand for a full disk.");
    QStringList lines;
    for (int i = 0; i <= capacity(10, 1200); ++i)
        lines.append(randomLetters(1000));
    Memo memo(lines);
    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    Printer().Device().setOutputFileName(QStringLiteral("/dev/full"));

    QVERIFY_THROWS_EXCEPTION(EPrinter, memo.Print());
    QVERIFY(!Printer().Printing());

    Memo next(numberedLines(2));
    QCOMPARE(print(next).words.size(), 2);
}

void TestPrintableMemo::linesOfTheMemo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one line") << QStringLiteral("eins") << QStringList{QStringLiteral("eins")};
    QTest::newRow("empty last line") << QStringLiteral("a\nb\n")
                                     << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("empty line inside") << QStringLiteral("a\n\nb")
                                       << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("two empty lines at the end")
        << QStringLiteral("a\n\n") << QStringList{QStringLiteral("a"), QString()};
    QTest::newRow("only a line break") << QStringLiteral("\n") << QStringList{QString()};
    QTest::newRow("line separator") << QStringLiteral("a\u2028b")
                                    << QStringList{QStringLiteral("a"), QStringLiteral("b")};
}

void TestPrintableMemo::linesOfTheMemo()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);

    Memo memo;
    memo.setPlainText(text);
    QCOMPARE(memo.Lines(), lines);
}

void TestPrintableMemo::wrappedLinesFollowTheMemoWidth()
{
    const QString paragraph = QStringLiteral(
        "Ein Absatz, der breiter ist als das Memo, steht auf dem Bildschirm in mehreren Zeilen untereinander.");
    TPrintableMemo memo;
    memo.resize(200, 150);
    memo.setPlainText(paragraph);

    // Hidden, the memo already wraps at its own width.
    const QStringList hidden = memo.Lines();
    QVERIFY(hidden.size() > 2);
    QCOMPARE(hidden.join(QString()), paragraph);
    const QFontMetrics metrics(memo.font());
    for (const QString &line : hidden)
        QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= memo.viewport()->width(), qPrintable(line));

    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    QCOMPARE(memo.Lines(), hidden);

    memo.resize(2000, 150);
    QCOMPARE(memo.Lines(), QStringList{paragraph});

    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    memo.resize(200, 150);
    QCOMPARE(memo.Lines(), QStringList{paragraph});
}

void TestPrintableMemo::printsWrappedLinesAsTheMemoShowsThem()
{
    TPrintableMemo memo;
    memo.resize(120, 150);
    memo.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    memo.setPlainText(QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa"));
    const QStringList lines = memo.Lines();
    QVERIFY(lines.size() > 1);

    const PdfText pdf = print(memo);
    QStringList printedLines;
    double top = -1;
    for (const PdfWord &word : pdf.words) {
        if (word.box.top() != top)
            printedLines.append(QString());
        else
            printedLines.last().append(QLatin1Char(' '));
        printedLines.last().append(word.text);
        top = word.box.top();
    }
    QStringList shown;
    for (const QString &line : lines)
        shown.append(line.trimmed());
    QCOMPARE(printedLines, shown);
}

void TestPrintableMemo::defaults()
{
    TPrintableMemo memo;
    QCOMPARE(memo.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo.LinesPerPage, 0);
    const QMetaObject *meta = memo.metaObject();
    const QMetaProperty linesPerPage = meta->property(meta->indexOfProperty("LinesPerPage"));
    QVERIFY(linesPerPage.isValid());
    QCOMPARE(linesPerPage.metaType(), QMetaType::fromType<int>());
    QVERIFY(linesPerPage.isStored());
    QVERIFY(linesPerPage.isWritable());
    QCOMPARE(linesPerPage.read(&memo).toInt(), 0);
}

void TestPrintableMemo::registersOnSamplesWithItsPaletteImage()
{
    Printablememo::Register();

    const auto &registered = RegisteredComponents();
    const auto entry = std::find_if(registered.begin(), registered.end(), [](const ComponentRegistration &r) {
        return r.className() == QLatin1String("TPrintableMemo");
    });
    QVERIFY(entry != registered.end());
    QCOMPARE(entry->page, QStringLiteral("Samples"));
    QCOMPARE(entry->includeFile, QStringLiteral("Printablememo.h"));
    QWidget parent;
    QVERIFY(qobject_cast<TPrintableMemo *>(entry->create(&parent)));

    const QImage image(QStringLiteral(":/TPRINTABLEMEMO.png"));
    QCOMPARE(image.size(), QSize(24, 24));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() <= 256);
    // Transparent around the printer, and drawn in more than one colour.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QVERIFY(image.pixel(12, 12) != image.pixel(12, 8));
}

QTEST_MAIN(TestPrintableMemo)
#include "tst_printablememo.moc"
