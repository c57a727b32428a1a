#include "Showcase.h"

#include "Anzeige.h"
#include "Hexedit.h"
#include "MessageBox.h"
#include "Numericedit.h"
#include "Printablememo.h"
#include "Printer.h"
#include "ui_Showcase.h"

#include <QColorDialog>
#include <QLocale>
#include <QPainter>
#include <QPixmap>

namespace {

// A framed sample of the colour, so that a colour equal to the button's own face still shows.
QIcon swatch(TColor color, const QPalette &palette)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(toQColor(color, palette));
    QPainter painter(&pixmap);
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

Showcase::Showcase(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::Showcase>())
{
    ui->setupUi(this);
    connect(ui->NumericEdit1, &QLineEdit::textChanged, this, &Showcase::showDouble);
    connect(ui->HexEdit1, &QLineEdit::textChanged, this, &Showcase::showDezimal);
    connect(ui->statusCheckBox, &QCheckBox::toggled, ui->Anzeige1, &TAnzeige::SetStatus);
    connect(ui->colorOnButton, &QPushButton::clicked, this, [this] {
        chooseLampColor(QStringLiteral("Farbe für „an“"), ui->Anzeige1->Color_on(), &TAnzeige::SetFarbe_on);
    });
    connect(ui->colorOffButton, &QPushButton::clicked, this, [this] {
        chooseLampColor(QStringLiteral("Farbe für „aus“"), ui->Anzeige1->Color_off(), &TAnzeige::SetFarbe_off);
    });
    connect(ui->printButton, &QPushButton::clicked, this, &Showcase::printMemo);
    showDouble();
    showDezimal();
    showLampColors();
}

Showcase::~Showcase() = default;

void Showcase::showDouble()
{
    ui->doubleValue->setText(QLocale().toString(ui->NumericEdit1->GetDouble(), 'g', 15));
}

void Showcase::showDezimal()
{
    ui->decimalValue->setText(QString::number(ui->HexEdit1->GetDezimal()));
}

void Showcase::chooseLampColor(const QString &title, TColor current, void (TAnzeige::*setColor)(TColor))
{
    const QColor chosen = QColorDialog::getColor(toQColor(current, palette()), this, title);
    if (!chosen.isValid())
        return;
    (ui->Anzeige1->*setColor)(fromQColor(chosen));
    showLampColors();
}

void Showcase::showLampColors()
{
    ui->colorOnButton->setIcon(swatch(ui->Anzeige1->Color_on(), palette()));
    ui->colorOffButton->setIcon(swatch(ui->Anzeige1->Color_off(), palette()));
}

void Showcase::printMemo()
{
    ui->printStatus->clear();
    try {
        ui->PrintableMemo1->Print();
        ui->printStatus->setText(QStringLiteral("An den Drucker übergeben."));
    } catch (const EPrinter &error) {
        MessageBox(QStringLiteral("Das Memo konnte nicht gedruckt werden.\n%1").arg(QString::fromUtf8(error.what())),
                   QStringLiteral("Drucken"), MB_ICONERROR);
    }
}
