#include "EncartaButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

TEncartaButton::TEncartaButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // The caption is the button's foreground, in the font colour buttons use.
    setForegroundRole(QPalette::ButtonText);
    // Moves without a button held must reach the button so the hover look returns after a click.
    setMouseTracking(true);
}

void TEncartaButton::setText(const QString &text)
{
    m_text = text;
    updateGeometry();
    update();
}

void TEncartaButton::SetColor(TColor value)
{
    m_color = value;
    repaint();
}

void TEncartaButton::SetColorBorder(TColor value)
{
    m_colorBorder = value;
    update();
}

void TEncartaButton::SetColorOver(TColor value)
{
    m_colorOver = value;
    update();
}

void TEncartaButton::SetColorOverCaption(TColor value)
{
    m_colorOverCaption = value;
    update();
}

void TEncartaButton::SetColorDown(TColor value)
{
    m_colorDown = value;
    update();
}

QSize TEncartaButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(m_text) + 16, qMax(22, metrics.height() + 8));
}

void TEncartaButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    QRect captionRect = rect();
    QColor caption = pal.color(QPalette::ButtonText);

    if (m_leftDown && m_underMouse) {
        painter.fillRect(rect(), toQColor(m_colorDown, pal));
        qDrawShadePanel(&painter, rect(), pal, true, 1);
        captionRect.translate(1, 1);
    } else if (m_underMouse) {
        painter.fillRect(rect(), toQColor(m_colorOver, pal));
        qDrawShadePanel(&painter, rect(), pal, false, 1);
        caption = toQColor(m_colorOverCaption, pal);
    } else {
        painter.fillRect(rect(), toQColor(m_color, pal));
        painter.setPen(toQColor(m_colorBorder, pal));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    painter.setPen(caption);
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

void TEncartaButton::enterEvent(QEnterEvent *)
{
    setUnderMouse(true);
}

void TEncartaButton::leaveEvent(QEvent *)
{
    setUnderMouse(false);
}

void TEncartaButton::mouseMoveEvent(QMouseEvent *event)
{
    setUnderMouse(rect().contains(event->position().toPoint()));
}

void TEncartaButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_leftDown = true;
    m_underMouse = true;
    update();
}

void TEncartaButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_leftDown)
        return;
    m_leftDown = false;
    if (!rect().contains(event->position().toPoint())) {
        setUnderMouse(false);
        return;
    }
    // The handler may run for long (a message box); the user sees the normal look meanwhile.
    m_underMouse = false;
    repaint();
    emit clicked();
}

void TEncartaButton::hideEvent(QHideEvent *)
{
    // A release while hidden goes elsewhere; without this the button would come back looking pressed.
    m_leftDown = false;
    m_underMouse = false;
}

void TEncartaButton::setUnderMouse(bool value)
{
    if (m_underMouse == value)
        return;
    m_underMouse = value;
    update();
}
