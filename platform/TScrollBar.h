#pragma once

#include <QScrollBar>

// A horizontal scroll bar whose keys step as on the original platform: Right, Down and Page Down increase,
// Left, Up and Page Up decrease, Home and End go to the ends.
class TScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit TScrollBar(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
