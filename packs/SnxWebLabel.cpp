#include "SnxWebLabel.h"

#include "TColor.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

TSnxWebLabel::TSnxWebLabel(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, toQColor(clBlue));
    setPalette(blue);
}

// A press on the link belongs to it; QLabel would ignore it and so pass it on to the window beneath.
void TSnxWebLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        QLabel::mousePressEvent(event);
}

void TSnxWebLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + text()));
}
