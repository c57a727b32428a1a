#pragma once

#include "TCustomEdit.h"

// A single-line edit for a hexadecimal number: typing lets through hexadecimal digits and Backspace only.
// Text set by code or pasted (Shift+Insert, context menu) is not filtered.
class THexEdit : public TCustomEdit
{
    Q_OBJECT

public:
    explicit THexEdit(QWidget *parent = nullptr);

    // The number at the start of the text, read as strtol reads base 16 in the C locale: leading white space,
    // a sign, an optional 0x, then hexadecimal digits up to the first other character. No digit gives 0;
    // values beyond the 32-bit range saturate at its limits.
    qint32 GetDezimal() const;

protected:
    void KeyPress(char &Key) override;
};

namespace Hexedit {
void Register();
}
