#pragma once

#include "TColor.h"

#include <QWidget>
#include <memory>

class TAnzeige;

namespace Ui {
class Showcase;
}

// Our four widgets to try before placing them on a form: each one beside a field or a button that shows what
// it offers (GetDouble, GetDezimal, the lamp's state and colours, Print).
class Showcase : public QWidget
{
    Q_OBJECT

public:
    explicit Showcase(QWidget *parent = nullptr);
    ~Showcase() override;

private:
    void showDouble();
    void showDezimal();
    void chooseLampColor(const QString &title, TColor current, void (TAnzeige::*setColor)(TColor));
    void showLampColors();
    // Prints on the default printer without asking; a printer error is explained instead of printing.
    void printMemo();

    std::unique_ptr<Ui::Showcase> ui;
};
