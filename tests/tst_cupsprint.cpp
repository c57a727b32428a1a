// Printing end to end: a memo printed on the default CUPS printer arrives at the printer as a PDF.
// The test runs its own cupsd (root only) on a private socket, with a raw queue whose backend saves each job.

#include "PdfText.h"
#include "Printablememo.h"
#include "Printer.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <unistd.h>

namespace {

const QString kQueue = QStringLiteral("tintora-test");
constexpr int kTimeoutMs = 20000;

// Saves the job to the path of its device URI "save:/path"; the rename shows the job complete at once.
const char kBackend[] = R"(#!/bin/sh
[ $# -eq 0 ] && { echo 'direct save "Unknown" "Save each job to a file"'; exit 0; }
out=${DEVICE_URI#save:}
if [ $# -ge 6 ]; then cat "$6"; else cat; fi > "$out.part" && mv "$out.part" "$out"
)";

bool writeFile(const QString &fileName, const QByteArray &content, QFileDevice::Permissions permissions = {})
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    return permissions == QFileDevice::Permissions() || file.setPermissions(permissions);
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Zeile%1").arg(i));
    return lines;
}

} // namespace

class TestCupsPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void printsAMemoOnTheDefaultPrinter();
    void abortLeavesNothingQueued();
    void refusedJobRaises();

private:
    bool writeConfiguration();
    // Runs a CUPS command line tool against the private server; its exit code, or -1 when it did not end.
    int run(const QString &program, const QStringList &arguments, QString *output = nullptr);
    int jobCount();
    QString errorLog() const;

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_jobFile;
};

void TestCupsPrint::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("Printing end to end starts a private cupsd, which needs root; run the tests as root to include it.");
    QVERIFY2(QFile::exists(QStringLiteral("/usr/sbin/cupsd")), "cupsd is missing: scripts/install-deps.sh installs it");
    QVERIFY(m_dir.isValid());
    QVERIFY(writeConfiguration());

    // Before anything asks CUPS: this process, its tools and Qt talk to the private server only.
    qputenv("CUPS_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("cups.sock"))));
    qputenv("TMPDIR", QFile::encodeName(m_dir.filePath(QStringLiteral("tmp"))));
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");

    m_cupsd.setProcessChannelMode(QProcess::ForwardedChannels);
    m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), m_dir.filePath(QStringLiteral("etc/cupsd.conf")),
                   QStringLiteral("-s"), m_dir.filePath(QStringLiteral("etc/cups-files.conf"))});
    QVERIFY2(m_cupsd.waitForStarted(kTimeoutMs), qPrintable(m_cupsd.errorString()));
    QTRY_VERIFY2_WITH_TIMEOUT(run(QStringLiteral("lpstat"), {QStringLiteral("-r")}) == 0, qPrintable(errorLog()),
                              kTimeoutMs);

    m_jobFile = m_dir.filePath(QStringLiteral("out/job.pdf"));
    QCOMPARE(run(QStringLiteral("lpadmin"),
                 {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("save:") + m_jobFile, QStringLiteral("-m"), QStringLiteral("raw")}),
             0);
    QCOMPARE(run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), kQueue}), 0);
    QCOMPARE(QPrinterInfo::defaultPrinterName(), kQueue);
}

void TestCupsPrint::cleanupTestCase()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_cupsd.processId()), SIGTERM);
    if (!m_cupsd.waitForFinished(kTimeoutMs))
        ::kill(pid_t(m_cupsd.processId()), SIGKILL);
    m_cupsd.waitForFinished(kTimeoutMs);
}

void TestCupsPrint::cleanup()
{
    if (Printer().Printing())
        Printer().Abort();
    QFile::remove(m_jobFile);
    // Spooled documents do not outlive their document.
    QCOMPARE(QDir(m_dir.filePath(QStringLiteral("tmp"))).entryList(QDir::Files), QStringList());
}

void TestCupsPrint::printsAMemoOnTheDefaultPrinter()
{
    TPrintableMemo memo;
    memo.resize(600, 300);
    memo.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    memo.setPlainText(numberedLines(100).join(QLatin1Char('\n')));

    memo.Print();

    QFont printed(QStringLiteral("Liberation Sans"));
    printed.setPointSize(10);
    const int perPage = (Printer().PageHeight() - 20) / QFontMetrics(printed, &Printer().Device()).height();
    QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(m_jobFile), qPrintable(errorLog()), kTimeoutMs);
    const PdfText pdf = readPdfText(m_jobFile);
    QVERIFY(pdf.loaded);
    QCOMPARE(pdf.pageCount, (100 + perPage - 1) / perPage);
    QCOMPARE(pdf.words.size(), 100);
    for (int i = 0; i < 100; ++i) {
        QCOMPARE(pdf.words.at(i).text, QStringLiteral("Zeile%1").arg(i + 1));
        QCOMPARE(pdf.words.at(i).page, i / perPage);
    }
}

void TestCupsPrint::abortLeavesNothingQueued()
{
    const int jobsBefore = jobCount();
    QVERIFY(jobsBefore >= 0);

    Printer().BeginDoc();
    Printer().Canvas().TextOut(20, 20, QStringLiteral("Verworfen"));
    Printer().Abort();

    QCOMPARE(jobCount(), jobsBefore);
    QVERIFY(!QFile::exists(m_jobFile));
}

void TestCupsPrint::refusedJobRaises()
{
    QCOMPARE(run(QStringLiteral("cupsreject"), {kQueue}), 0);
    TPrintableMemo memo;
    memo.setPlainText(QStringLiteral("Abgelehnt"));

    try {
        memo.Print();
        QFAIL("The refused job was reported as printed.");
    } catch (const EPrinter &error) {
        QVERIFY2(QString::fromUtf8(error.what()).contains(kQueue), error.what());
    }
    QVERIFY(!Printer().Printing());
    QCOMPARE(run(QStringLiteral("cupsaccept"), {kQueue}), 0);
}

bool TestCupsPrint::writeConfiguration()
{
    const QString root = m_dir.path();
    for (const char *folder : {"etc", "bin/backend", "spool/tmp", "cache", "state", "log", "out", "tmp"}) {
        if (!QDir(root).mkpath(QLatin1String(folder)))
            return false;
    }
    // The system's helpers, with our backend beside them.
    for (const char *folder : {"cgi-bin", "daemon", "driver", "filter", "monitor", "notifier"}) {
        const QString target = QStringLiteral("/usr/lib/cups/") + QLatin1String(folder);
        if (QFileInfo::exists(target) && !QFile::link(target, root + QStringLiteral("/bin/") + QLatin1String(folder)))
            return false;
    }
    // Owner-only permissions make cupsd run the backend as root, which may write into this folder.
    if (!writeFile(root + QStringLiteral("/bin/backend/save"), kBackend,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        return false;

    const QByteArray cupsd = "Listen " + QFile::encodeName(root) +
                             "/cups.sock\n"
                             "Browsing Off\n"
                             "BrowseLocalProtocols none\n"
                             "DefaultAuthType None\n"
                             "WebInterface No\n"
                             "LogLevel warn\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    const QByteArray r = QFile::encodeName(root);
    const QByteArray files = "ServerRoot " + r + "/etc\n" + "ServerBin " + r + "/bin\n" + "RequestRoot " + r +
                             "/spool\n" + "TempDir " + r + "/spool/tmp\n" + "CacheDir " + r + "/cache\n" + "StateDir " +
                             r + "/state\n" + "Printcap " + r + "/printcap\n" + "AccessLog " + r + "/log/access_log\n" +
                             "ErrorLog " + r + "/log/error_log\n" + "PageLog " + r + "/log/page_log\n";
    return writeFile(root + QStringLiteral("/etc/cupsd.conf"), cupsd) &&
           writeFile(root + QStringLiteral("/etc/cups-files.conf"), files);
}

int TestCupsPrint::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Jobs of the queue in any state: pending, held, aborted or done.
int TestCupsPrint::jobCount()
{
    QString jobs;
    if (run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), kQueue},
            &jobs) != 0)
        return -1;
    return int(jobs.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

QString TestCupsPrint::errorLog() const
{
    QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(4000))
                                         : QStringLiteral("(cupsd wrote no error log)");
}

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
