#pragma once

#include "TForm.h"
#include "ui_Unit2.h"

// The detached result window: the mixed colour alone, always on top, recoloured only on request. Its handlers
// tell the main window when its refresh button is worth showing.
class TForm2 : public TForm, public Ui::TForm2
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);

public Q_SLOTS:
    void FormShow();
    void FormActivate();
    void FormMouseDown();
    void FormMouseUp();
    void FormDeactivate();
    void FormClose();
    void FormDestroy();

private:
    static void setRefreshButtonVisible(bool visible);
};

extern TForm2 *Form2;
