#include "Unit2.h"

#include "Unit1.h"

TForm2 *Form2 = nullptr;

TForm2::TForm2(QWidget *parent) : TForm(parent)
{
    setupUi(this);
}

void TForm2::FormShow()
{
    setRefreshButtonVisible(true);
}

void TForm2::FormActivate()
{
    setRefreshButtonVisible(true);
}

void TForm2::FormMouseDown()
{
    setRefreshButtonVisible(true);
}

void TForm2::FormMouseUp()
{
    setRefreshButtonVisible(true);
}

void TForm2::FormDeactivate()
{
    setRefreshButtonVisible(false);
}

void TForm2::FormClose()
{
    setRefreshButtonVisible(false);
}

void TForm2::FormDestroy()
{
    setRefreshButtonVisible(false);
}

void TForm2::setRefreshButtonVisible(bool visible)
{
    Form1->EncartaButton5->setVisible(visible);
}
