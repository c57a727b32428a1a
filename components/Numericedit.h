#pragma once

#include "TCustomEdit.h"

// A single-line edit for a signed decimal number with bounded digit counts before and after the separator.
// Only typed characters are filtered: text set from code or pasted is taken as it is.
class TNumericEdit : public TCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(int Vorkommastellen READ GetVorkomma WRITE SetVorkomma)
    Q_PROPERTY(int Nachkommastellen READ GetNachkomma WRITE SetNachkomma)
    Q_PROPERTY(QString Seperator READ GetSeperator WRITE SetSeperator)
    Q_PROPERTY(bool ShowErrorMessage MEMBER ShowErrorMessage)

public:
    // The separator is the user's decimal separator at the moment of construction.
    explicit TNumericEdit(QWidget *parent = nullptr);

    // Digit counts lie in 0..15. A negative value stores its magnitude; a magnitude above 15 is explained in a
    // message box and leaves the count as it was.
    int GetVorkomma() const { return m_vorkomma; }
    void SetVorkomma(int Value);
    int GetNachkomma() const { return m_nachkomma; }
    void SetNachkomma(int Value);

    // At most one character; empty means the control knows no separator. A longer text is explained in a
    // message box and leaves the separator as it was.
    QString GetSeperator() const { return m_seperator; }
    void SetSeperator(const QString &Value);

    // The number at the start of the text, read with "." as decimal point once the first separator is
    // replaced by one, whatever the user's locale; 0.0 when the text holds none.
    double GetDouble() const;

    // Whether a refused key is explained in a message box; the key is discarded either way.
    bool ShowErrorMessage = false;

protected:
    void KeyPress(char &Key) override;

private:
    int m_nachkomma = 2;
    int m_vorkomma = 10;
    QString m_seperator;
};

namespace Numericedit {
// Puts TNumericEdit on the form designer's palette page "User".
void Register();
} // namespace Numericedit
