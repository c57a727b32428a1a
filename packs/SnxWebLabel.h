#pragma once

#include <QLabel>

// A link: its caption is a web address without the scheme, shown underlined in blue under a hand cursor. A left
// click asks the desktop to open "http://" followed by the caption; whether that succeeds is not reported.
class TSnxWebLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TSnxWebLabel(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
