// Prints printable memos of any shape to PDF and reads the pages back: every line of the memo on the page and
// at the place its index gives, no line cut at the bottom of a page unless it is taller than the page itself,
// no page broken before it is full, and no empty page at the end. Inputs whose first byte has its high bit
// set check the page layout rule alone, over the whole range of page and line heights.
//
// Print input: resolution, page height (2 bytes), margin, point size, flags (1 word wrap, 2 bold), memo width,
// then one byte per memo line: 0 an empty line, n a line "Z<index>" followed by n % 16 letters.
// Layout input: 0x80 | anything, page height (2 bytes), measured line height (2 bytes), scale.

#include "FuzzSupport.h"
#include "PdfText.h"
#include "Printablememo.h"
#include "Printablememo_p.h"
#include "Printer.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using Printablememo::PrintOffset;

constexpr int kResolutions[] = {72, 96, 150, 300, 600, 1200};
constexpr int kMaxLines = 60;

QTemporaryDir *outputDir = nullptr;

// Lines per page: as many as fit below the top offset, but at least one.
int capacityFor(int pageHeight, int lineHeight)
{
    int capacity = 1;
    while (PrintOffset + (capacity + 1) * qint64(lineHeight) <= pageHeight)
        ++capacity;
    return capacity;
}

void checkLayoutRule(fuzz::ByteReader &input)
{
    // Heights from a few pixels up to those of a poster at high resolution.
    const int scale = 1 + input.byte() % 64;
    const int pageHeight = 1 + input.word() * scale;
    const int measured = input.word() * (1 + scale / 8);
    fuzz::Step(QStringLiteral("page height %1, measured line height %2").arg(pageHeight).arg(measured));

    const Printablememo::PageLayout layout = Printablememo::PageLayoutFor(pageHeight, measured);
    FUZZ_CHECK(layout.lineHeight == std::max(1, measured), QStringLiteral("line height %1").arg(layout.lineHeight));
    FUZZ_CHECK(layout.capacity >= 1, QStringLiteral("capacity %1").arg(layout.capacity));
    FUZZ_CHECK(layout.capacity == 1 || PrintOffset + qint64(layout.capacity) * layout.lineHeight <= pageHeight,
               QStringLiteral("%1 lines run past the page").arg(layout.capacity));
    FUZZ_CHECK(PrintOffset + qint64(layout.capacity + 1) * layout.lineHeight > pageHeight,
               QStringLiteral("a page of %1 lines breaks before it is full").arg(layout.capacity));
}

struct PrintJob
{
    int dpi = 72;
    double pageHeightPt = 0;
    double pageWidthPt = 0;
    double marginPt = 0;
    QFont font;
    bool wrap = false;
    int memoWidth = 0;
    QStringList paragraphs;
};

PrintJob decodeJob(fuzz::ByteReader &input)
{
    PrintJob job;
    job.dpi = kResolutions[input.byte() % std::size(kResolutions)];
    job.pageHeightPt = 40 + input.word() % 1200;
    job.marginPt = input.byte() % 20;
    // Up to 48 points: taller than the smallest pages, and cheap enough to print many inputs a second.
    const int pointSize = 1 + input.byte() % 48;
    const int flags = input.byte();
    job.wrap = flags & 1;
    job.font = QFont(QStringLiteral("Liberation Sans"), pointSize);
    job.font.setBold(flags & 2);
    job.memoWidth = 40 + input.byte() * 2;
    // Wide enough for the longest line, so that no line is cut at the right edge.
    job.pageWidthPt = 72 + 12 * pointSize;
    while (!input.atEnd() && job.paragraphs.size() < kMaxLines) {
        const int shape = input.byte();
        job.paragraphs.append(shape == 0 ? QString()
                                         : QStringLiteral("Z%1").arg(job.paragraphs.size()) +
                                               QString(shape % 16, QLatin1Char('x')));
    }
    return job;
}

void checkPrintout(fuzz::ByteReader &input)
{
    const PrintJob job = decodeJob(input);
    fuzz::Step(QStringLiteral("%1 dpi, page %2 pt high, margin %3 pt, %4 pt%5, wrap %6 at %7 px, %8 lines")
                   .arg(job.dpi)
                   .arg(job.pageHeightPt)
                   .arg(job.marginPt)
                   .arg(job.font.pointSize())
                   .arg(job.font.bold() ? " bold" : "")
                   .arg(job.wrap)
                   .arg(job.memoWidth)
                   .arg(job.paragraphs.size()));

    TPrintableMemo memo;
    memo.resize(job.memoWidth, 300);
    memo.setFont(job.font);
    memo.setLineWrapMode(job.wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo.setPlainText(job.paragraphs.join(QLatin1Char('\n')));
    const QStringList lines = memo.Lines();

    const QString fileName = outputDir->filePath(QStringLiteral("memo.pdf"));
    QPrinter &device = Printer().Device();
    device.setOutputFileName(fileName);
    device.setResolution(job.dpi);
    device.setPageLayout(QPageLayout(
        QPageSize(QSizeF(job.pageWidthPt, job.pageHeightPt), QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF(10, job.marginPt, 10, job.marginPt), QPageLayout::Point));
    memo.Print();
    FUZZ_CHECK(!Printer().Printing(), QStringLiteral("the document is closed"));

    const int pageHeight = Printer().PageHeight();
    const int lineHeight = Printer().Canvas().TextHeight(QStringLiteral("M"));
    FUZZ_CHECK(lineHeight > 0, QStringLiteral("a line is %1 pixels high").arg(lineHeight));
    const int capacity = capacityFor(pageHeight, lineHeight);
    const PdfText pdf = readPdfText(fileName);
    FUZZ_CHECK(pdf.loaded, QStringLiteral("the printout is a PDF file"));
    const int pages = std::max<int>(1, (lines.size() + capacity - 1) / capacity);
    FUZZ_CHECK(pdf.pageCount == pages, QStringLiteral("%1 pages for %2 lines of %3 pixels on pages of %4 pixels")
                                           .arg(pdf.pageCount)
                                           .arg(lines.size())
                                           .arg(lineHeight)
                                           .arg(pageHeight));

    const double pointsPerPixel = 72.0 / job.dpi;
    const double tolerance = std::max(0.5, 0.02 * lineHeight * pointsPerPixel);
    // A line taller than the page has the page to itself and shows only its top, if anything.
    const bool linesFit = PrintOffset + lineHeight <= pageHeight;
    for (int page = 0; page < pages; ++page) {
        const QList<PdfWord> words = pdf.wordsOnPage(page);
        const qsizetype first = qsizetype(page) * capacity;
        if (!linesFit) {
            FUZZ_CHECK(words.size() <= 1, QStringLiteral("%1 words on page %2").arg(words.size()).arg(page));
            continue;
        }
        qsizetype word = 0;
        for (qsizetype index = first; index < std::min(first + capacity, lines.size()); ++index) {
            if (lines.at(index).isEmpty())
                continue;
            FUZZ_CHECK(
                word < words.size(),
                QStringLiteral("line %1 '%2' is missing from page %3").arg(index).arg(lines.at(index)).arg(page));
            const PdfWord &printed = words.at(word++);
            const int y = PrintOffset + int(index - first) * lineHeight;
            const double expectedTop = job.marginPt + y * pointsPerPixel;
            FUZZ_CHECK(printed.text == lines.at(index) && std::abs(printed.box.top() - expectedTop) <= tolerance,
                       QStringLiteral("line %1 '%2' at %3 pt on page %4 printed as '%5' at %6 pt")
                           .arg(index)
                           .arg(lines.at(index))
                           .arg(expectedTop)
                           .arg(page)
                           .arg(printed.text)
                           .arg(printed.box.top()));
        }
        FUZZ_CHECK(word == words.size(),
                   QStringLiteral("page %1 holds %2 words more").arg(page).arg(words.size() - word));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Whatever printers this machine has, the memo prints to a file: a print server that does not exist.
    static QTemporaryDir dir;
    outputDir = &dir;
    qputenv("CUPS_SERVER", QFile::encodeName(dir.filePath(QStringLiteral("no-cups.sock"))));
    fuzz::StartQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::NewInput();
    fuzz::ByteReader input(data, size);
    if (size > 0 && (data[0] & 0x80)) {
        input.byte();
        checkLayoutRule(input);
    } else {
        checkPrintout(input);
    }
    return 0;
}
