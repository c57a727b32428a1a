// Prints a memo of 10,000 lines to a PDF file and reports how long it takes; run by hand:
//   cmake --build build --target bench_print_memo && QT_QPA_PLATFORM=offscreen build/bench/bench_print_memo
// Print's time includes Qt writing the PDF, so it bounds the time of our own code from above; the time of
// taking the lines from the memo is shown on its own.

#include "Printablememo.h"
#include "Printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    constexpr int kLines = 10000;
    constexpr int kRuns = 5;

    QTemporaryDir dir;
    Printer().Device().setOutputFileName(dir.filePath(QStringLiteral("memo.pdf")));

    QStringList text;
    for (int i = 1; i <= kLines; ++i)
        text.append(QStringLiteral("Zeile %1 des Memos, die gedruckt wird").arg(i));
    TPrintableMemo memo;
    memo.resize(600, 400);
    memo.setPlainText(text.join(QLatin1Char('\n')));

    QList<qint64> printTimes;
    QList<qint64> linesTimes;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qsizetype count = memo.Lines().size();
        linesTimes.append(timer.nsecsElapsed());
        timer.restart();
        memo.Print();
        printTimes.append(timer.nsecsElapsed());
        if (count != kLines)
            return 1;
    }
    std::sort(printTimes.begin(), printTimes.end());
    std::sort(linesTimes.begin(), linesTimes.end());

    QTextStream out(stdout);
    out << "Print of " << kLines << " lines to PDF, " << kRuns << " runs, median: " << printTimes.at(kRuns / 2) / 1e6
        << " ms (fastest " << printTimes.first() / 1e6 << " ms)\n"
        << "  of which taking the lines from the memo: " << linesTimes.at(kRuns / 2) / 1e6 << " ms\n";
    return 0;
}
