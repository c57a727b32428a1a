#include "Printablememo.h"

#include "ComponentRegistry.h"
#include "Printablememo_p.h"
#include "Printer.h"

#include <QFontInfo>
#include <algorithm>

// Resources of a static library are registered only when something refers to them; this must stand
// outside any namespace.
static void registerPaletteImage()
{
    Q_INIT_RESOURCE(Printablememo);
}

namespace {

void setPrinterFont(TPrinterFont &printerFont, const QFont &font)
{
    const QFontInfo actual(font);
    printerFont.SetName(font.family());
    printerFont.SetHeight(actual.pixelSize());
    // Applied last, so the text has the memo's point size at the printer's resolution.
    printerFont.SetSize(actual.pointSize());
    printerFont.SetStyle(FontStyles(font));
}

void printLines(TPrinter &printer, const QStringList &lines, const Printablememo::PageLayout &layout)
{
    using Printablememo::PrintOffset;
    int y = PrintOffset;
    int linesOnPage = 0;
    for (const QString &line : lines) {
        if (linesOnPage == layout.capacity) {
            printer.NewPage();
            linesOnPage = 0;
            y = PrintOffset;
        }
        printer.Canvas().TextOut(PrintOffset, y, line);
        ++linesOnPage;
        y += layout.lineHeight;
    }
}

} // namespace

TPrintableMemo::TPrintableMemo(QWidget *parent) : TCustomMemo(parent) {}

void TPrintableMemo::Print()
{
    TPrinter &printer = Printer();
    const int pageHeight = printer.PageHeight();
    setPrinterFont(printer.Canvas().Font(), Font());
    const Printablememo::PageLayout layout =
        Printablememo::PageLayoutFor(pageHeight, printer.Canvas().TextHeight(QStringLiteral("M")));

    printer.BeginDoc();
    try {
        printLines(printer, Lines(), layout);
    } catch (...) {
        printer.Abort();
        throw;
    }
    printer.EndDoc();
}

namespace Printablememo {

PageLayout PageLayoutFor(int pageHeight, int measuredLineHeight)
{
    PageLayout layout;
    layout.lineHeight = std::max(1, measuredLineHeight);
    layout.capacity = std::max(1, (pageHeight - PrintOffset) / layout.lineHeight);
    return layout;
}

void Register()
{
    registerPaletteImage();
    RegisterComponents<TPrintableMemo>(QStringLiteral("Samples"), QStringLiteral("Printablememo.h"));
}

} // namespace Printablememo

// The meta-object code stays in this object file, so a program that places no memo links none of it.
#include "moc_Printablememo.cpp"
