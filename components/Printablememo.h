#pragma once

#include "TCustomMemo.h"

// A memo that prints its lines, as it shows them, in its own typeface and point size on the current printer.
class TPrintableMemo : public TCustomMemo
{
    Q_OBJECT
    // Stored with a form but not used: Print works out how many lines fit on a page.
    Q_PROPERTY(int LinesPerPage MEMBER LinesPerPage)

public:
    explicit TPrintableMemo(QWidget *parent = nullptr);

    // Prints every line as one document on the current printer, from the top of the first page down, with a
    // page break where a page is full. Errors of the printer (EPrinter) pass to the caller; a document that an
    // error interrupts is aborted first.
    void Print();

    int LinesPerPage = 0;
};

namespace Printablememo {
// Puts TPrintableMemo on the form designer's palette page "Samples", with its palette image
// ":/TPRINTABLEMEMO.png".
void Register();
} // namespace Printablememo
