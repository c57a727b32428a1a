#include "ZorbLed.h"

#include <QPainter>
#include <QRadialGradient>

namespace {

constexpr int Size = 15;
constexpr int BlinkInterval = 200;

} // namespace

TZorbLed::TZorbLed(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(Size, Size);
    m_blinkTimer.setInterval(BlinkInterval);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] { setLit(!m_on); });
}

void TZorbLed::SetColorOn(TColor value)
{
    m_colorOn = value;
    update();
}

void TZorbLed::SetColorOff(TColor value)
{
    m_colorOff = value;
    update();
}

void TZorbLed::SetColorHighlight(TColor value)
{
    m_colorHighlight = value;
    update();
}

void TZorbLed::SetBlinking(bool value)
{
    if (value)
        m_blinkTimer.start();
    else
        m_blinkTimer.stop();
}

void TZorbLed::LedOn()
{
    m_blinkTimer.stop();
    setLit(true);
}

void TZorbLed::LedOff()
{
    m_blinkTimer.stop();
    setLit(false);
}

QSize TZorbLed::sizeHint() const
{
    return QSize(Size, Size);
}

// The disc fills the pixels from (2, 2) up to but not including (14, 14), outlined in grey.
void TZorbLed::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();

    painter.setPen(QPen(toQColor(clGray, pal), 1));
    painter.setBrush(toQColor(m_on ? m_colorOn : m_colorOff, pal));
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));

    // A soft spot: full highlight at its centre, fading into the fill.
    const QColor highlight = toQColor(m_colorHighlight, pal);
    QColor fade = highlight;
    fade.setAlpha(0);
    QRadialGradient spot(QPointF(6.5, 6.5), 2.5);
    spot.setColorAt(0.3, highlight);
    spot.setColorAt(1, fade);
    painter.setPen(Qt::NoPen);
    painter.setBrush(spot);
    painter.drawEllipse(QPointF(6.5, 6.5), 2.5, 2.5);
}

void TZorbLed::setLit(bool on)
{
    m_on = on;
    update();
}
