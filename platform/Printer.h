#pragma once

#include <QFlags>
#include <QFont>
#include <memory>
#include <stdexcept>

class QPainter;
class QPrinter;
class QTemporaryFile;

// What the printer raises: no printer to print on, a document that cannot be started or handed over, or a
// document call outside a document.
class EPrinter : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

TFontStyles FontStyles(const QFont &font);

// The font of the printer's canvas. Height is in device pixels of the printer and Size in points; whichever
// was set last decides the size of the text.
class TPrinterFont
{
public:
    void SetName(const QString &name);
    void SetHeight(int pixels);
    void SetSize(int points);
    void SetStyle(TFontStyles style);

    const QFont &font() const { return m_font; }

private:
    QFont m_font;
};

// Positions and sizes are device pixels of the printer, from the top left corner of the printable area.
class TPrinterCanvas
{
public:
    TPrinterFont &Font() { return m_font; }

    // The height of a line in the canvas font, the same for any text; available also outside a document.
    int TextHeight(const QString &text) const;
    // Draws `text` as one run with the top of its line at `y`; what leaves the page is cut off by the device.
    void TextOut(int x, int y, const QString &text);

private:
    friend class TPrinter;
    explicit TPrinterCanvas(QPrinter &device) : m_device(device) {}

    QPrinter &m_device;
    QPainter *m_painter = nullptr;
    TPrinterFont m_font;
};

// The application's printer. It prints on the system's default printer unless another printer or an output
// file is chosen on Device(). On a printer, the document goes to the print queue only at EndDoc, so Abort
// leaves nothing queued.
class TPrinter
{
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter &) = delete;
    TPrinter &operator=(const TPrinter &) = delete;

    // The height of the printable area in device pixels. Raises EPrinter when there is nothing to print on.
    int PageHeight();
    TPrinterCanvas &Canvas() { return m_canvas; }

    void BeginDoc();
    void NewPage();
    // Hands the document to the printer (or finishes the output file). Raises EPrinter when the printer
    // refuses it.
    void EndDoc();
    // Drops the document: nothing of it is printed and a partial output file is removed. The printer is ready
    // for the next document even after a failed write.
    void Abort();
    bool Printing() const;

    // The Qt printer underneath, to choose a printer, an output file, the resolution or the page layout
    // before a document starts.
    QPrinter &Device() { return *m_device; }

private:
    void requirePrinting() const;
    void requireTarget();
    void submitSpooledDocument();
    void endPainting();
    void renewEngine();

    std::unique_ptr<QPrinter> m_device;
    TPrinterCanvas m_canvas{*m_device};
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTemporaryFile> m_spool;
};

// The one printer of the application, created on first use and released with the application object.
TPrinter &Printer();
