#pragma once

#include <QLineEdit>

class QInputMethodEvent;
class QKeyEvent;

// The single-line edit base of our edit controls: every typed character passes the KeyPress hook first,
// as a byte of the Windows-1252 code page (Backspace 8, Enter 13, Escape 27, Ctrl+A..Z as 1..26).
// Delete, the arrows, Home/End and the Insert shortcuts are keys, not characters, and bypass the hook.
class TCustomEdit : public QLineEdit
{
    Q_OBJECT
    // Limits what the user types, pastes or drops; text set from code is never cut. 0 means no limit.
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)

public:
    explicit TCustomEdit(QWidget *parent = nullptr);

    // Characters before the caret, or before the selection when there is one.
    int SelStart() const;
    // Places the caret after `value` characters and leaves nothing selected.
    void SetSelStart(int value);
    int SelLength() const;

    int MaxLength() const;
    void SetMaxLength(int value);

Q_SIGNALS:
    // Raised by the inherited KeyPress; a handler may replace Key, and Key 0 discards the keystroke.
    void OnKeyPress(char &Key);

protected:
    // Sees each typed character before the edit acts on it. Setting Key to 0 discards it; a changed Key is
    // what the edit receives instead. The base implementation raises OnKeyPress.
    virtual void KeyPress(char &Key);

    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    class TypedLengthLimit;
    TypedLengthLimit *m_lengthLimit;
};
