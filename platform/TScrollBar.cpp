#include "TScrollBar.h"

#include <QKeyEvent>

TScrollBar::TScrollBar(QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
}

void TScrollBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_PageDown:
        triggerAction(SliderPageStepAdd);
        break;
    case Qt::Key_PageUp:
        triggerAction(SliderPageStepSub);
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}
