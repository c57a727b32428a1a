#include "Printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cups/cups.h>

namespace {

[[noreturn]] void raise(const QString &message)
{
    throw EPrinter(message.toStdString());
}

// cups_option_t arrays are built and released by libcups; this keeps the release next to the build.
class CupsOptions
{
public:
    CupsOptions() = default;
    ~CupsOptions() { cupsFreeOptions(m_count, m_options); }
    CupsOptions(const CupsOptions &) = delete;
    CupsOptions &operator=(const CupsOptions &) = delete;

    void add(const char *name, const QByteArray &value)
    {
        m_count = cupsAddOption(name, value.constData(), m_count, &m_options);
    }
    int count() const { return m_count; }
    cups_option_t *options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t *m_options = nullptr;
};

QByteArray sides(QPrinter::DuplexMode duplex, QPageLayout::Orientation orientation)
{
    switch (duplex) {
    case QPrinter::DuplexNone:
        break;
    case QPrinter::DuplexAuto:
        return orientation == QPageLayout::Portrait ? "two-sided-long-edge" : "two-sided-short-edge";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    }
    return "one-sided";
}

// The settings of the Qt printer that the print queue must know to print the spooled PDF as laid out.
void addJobOptions(CupsOptions &options, const QPrinter &device)
{
    const QPageLayout layout = device.pageLayout();
    options.add("media", layout.pageSize().key().toUtf8());
    if (layout.orientation() == QPageLayout::Landscape)
        options.add("landscape", "true");
    if (device.copyCount() > 1)
        options.add("copies", QByteArray::number(device.copyCount()));
    options.add("sides", sides(device.duplex(), layout.orientation()));
}

TPrinter *printerInstance = nullptr;

void releasePrinter()
{
    delete printerInstance;
    printerInstance = nullptr;
}

} // namespace

TFontStyles FontStyles(const QFont &font)
{
    TFontStyles styles;
    styles.setFlag(TFontStyle::fsBold, font.bold());
    styles.setFlag(TFontStyle::fsItalic, font.italic());
    styles.setFlag(TFontStyle::fsUnderline, font.underline());
    styles.setFlag(TFontStyle::fsStrikeOut, font.strikeOut());
    return styles;
}

void TPrinterFont::SetName(const QString &name)
{
    m_font.setFamily(name);
}

// Qt knows no empty or negative font sizes; such a value leaves the size as it was.
void TPrinterFont::SetHeight(int pixels)
{
    if (pixels > 0)
        m_font.setPixelSize(pixels);
}

void TPrinterFont::SetSize(int points)
{
    if (points > 0)
        m_font.setPointSize(points);
}

void TPrinterFont::SetStyle(TFontStyles style)
{
    m_font.setBold(style.testFlag(TFontStyle::fsBold));
    m_font.setItalic(style.testFlag(TFontStyle::fsItalic));
    m_font.setUnderline(style.testFlag(TFontStyle::fsUnderline));
    m_font.setStrikeOut(style.testFlag(TFontStyle::fsStrikeOut));
}

// A line is as high as the font, whichever text it holds.
int TPrinterCanvas::TextHeight(const QString &) const
{
    return QFontMetrics(m_font.font(), &m_device).height();
}

void TPrinterCanvas::TextOut(int x, int y, const QString &text)
{
    if (!m_painter)
        raise(QStringLiteral("Es wird gerade kein Dokument gedruckt."));
    m_painter->setFont(m_font.font());
    m_painter->drawText(QPoint(x, y + m_painter->fontMetrics().ascent()), text);
}

TPrinter::TPrinter() : m_device(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    if (Printing())
        Abort();
}

int TPrinter::PageHeight()
{
    requireTarget();
    return m_device->height();
}

void TPrinter::BeginDoc()
{
    if (Printing())
        raise(QStringLiteral("Es wird bereits ein Dokument gedruckt."));
    requireTarget();
    if (m_device->outputFileName().isEmpty()) {
        // A file name without ".pdf" keeps the printer's own page layout; the queue gets the file at EndDoc.
        m_spool = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tintora-print-XXXXXX"));
        if (!m_spool->open()) {
            m_spool.reset();
            raise(QStringLiteral("Der Druckauftrag konnte nicht angelegt werden."));
        }
        m_device->setOutputFileName(m_spool->fileName());
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_device.get())) {
        m_painter.reset();
        if (m_spool) {
            m_device->setOutputFileName(QString());
            m_spool.reset();
        }
        raise(QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
    }
    m_canvas.m_painter = m_painter.get();
}

void TPrinter::NewPage()
{
    requirePrinting();
    if (!m_device->newPage())
        raise(QStringLiteral("Eine neue Seite konnte nicht begonnen werden."));
}

void TPrinter::EndDoc()
{
    requirePrinting();
    endPainting();
    if (m_spool)
        submitSpooledDocument();
}

void TPrinter::Abort()
{
    requirePrinting();
    endPainting();
    if (m_spool) {
        m_device->setOutputFileName(QString());
        m_spool.reset();
    } else {
        // Only a plain file is removed: an output "file" may also be a device.
        const QFileInfo output(m_device->outputFileName());
        if (output.isFile())
            QFile::remove(output.filePath());
    }
    renewEngine();
}

bool TPrinter::Printing() const
{
    return m_painter != nullptr;
}

void TPrinter::requirePrinting() const
{
    if (!Printing())
        raise(QStringLiteral("Es wird gerade kein Dokument gedruckt."));
}

// Qt falls back to PDF output when no printer is installed and fails only when the document starts; the
// program must learn it before that.
void TPrinter::requireTarget()
{
    if (!m_device->outputFileName().isEmpty())
        return;
    if (m_device->outputFormat() != QPrinter::NativeFormat) {
        // A printer installed since the last look becomes the one to print on.
        const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
        if (!defaultPrinter.isEmpty())
            m_device->setPrinterName(defaultPrinter);
    }
    if (m_device->outputFormat() != QPrinter::NativeFormat || m_device->printerName().isEmpty())
        raise(QStringLiteral("Es ist kein Drucker installiert oder ausgewählt."));
}

// Once a write has failed (a full disk), Qt's PDF writer drops all further output, also of later documents.
// Switching the output format away and back builds a fresh writer with the same settings.
void TPrinter::renewEngine()
{
    if (m_device->outputFormat() == QPrinter::NativeFormat) {
        const QString printerName = m_device->printerName();
        m_device->setOutputFormat(QPrinter::PdfFormat);
        m_device->setPrinterName(printerName);
    } else {
        const QPrinter::PdfVersion version = m_device->pdfVersion();
        m_device->setPdfVersion(version == QPrinter::PdfVersion_1_4 ? QPrinter::PdfVersion_1_6
                                                                    : QPrinter::PdfVersion_1_4);
        m_device->setPdfVersion(version);
    }
}

void TPrinter::endPainting()
{
    m_canvas.m_painter = nullptr;
    m_painter->end();
    m_painter.reset();
}

void TPrinter::submitSpooledDocument()
{
    m_device->setOutputFileName(QString());
    const std::unique_ptr<QTemporaryFile> spool = std::move(m_spool);
    // The queue is the printer's name without a user's instance ("queue/instance").
    const QString queue = m_device->printerName().section(QLatin1Char('/'), 0, 0);
    CupsOptions options;
    addJobOptions(options, *m_device);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toLocal8Bit().constData(),
                                   QFile::encodeName(spool->fileName()).constData(),
                                   m_device->docName().toUtf8().constData(), options.count(), options.options());
    if (job == 0)
        raise(QStringLiteral("Der Druckauftrag konnte nicht an den Drucker „%1“ übergeben werden: %2")
                  .arg(queue, QString::fromUtf8(cupsLastErrorString())));
}

TPrinter &Printer()
{
    if (!printerInstance) {
        printerInstance = new TPrinter;
        qAddPostRoutine(releasePrinter);
    }
    return *printerInstance;
}
