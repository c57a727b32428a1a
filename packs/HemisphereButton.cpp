#include "HemisphereButton.h"

#include "TColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

namespace {

constexpr int Size = 25;
constexpr qreal Centre = Size / 2.0;
constexpr qreal BevelWidth = 2;
constexpr qreal FaceRadius = Centre - BevelWidth;

// The lowered ring is dark where the light comes from and light opposite; the face is a hemisphere whose
// brightest spot faces the light. Pressed, the face is shaded the other way round and so looks pushed in.
QImage renderFace(bool pressed)
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    QLinearGradient ring(0, 0, Size, Size);
    ring.setColorAt(0, QColor(0x70, 0x70, 0x70));
    ring.setColorAt(1, Qt::white);
    painter.setBrush(ring);
    painter.drawEllipse(QPointF(Centre, Centre), Centre, Centre);

    const QColor gray = toQColor(clGray);
    const QPointF lit = pressed ? QPointF(Centre + 4, Centre + 4) : QPointF(Centre - 4, Centre - 4);
    QRadialGradient face(QPointF(Centre, Centre), FaceRadius + 2, lit);
    face.setColorAt(0, gray.lighter(pressed ? 125 : 175));
    face.setColorAt(0.55, gray);
    face.setColorAt(1, gray.darker(pressed ? 175 : 200));
    painter.setBrush(face);
    painter.drawEllipse(QPointF(Centre, Centre), FaceRadius, FaceRadius);
    return image;
}

// Every pixel the round face touches, so its anti-aliased rim blends with the window behind.
QRegion roundMask(const QImage &face)
{
    QRegion mask;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (qAlpha(face.pixel(x, y)) > 0)
                mask += QRect(x, y, 1, 1);
    return mask;
}

} // namespace

THemisphereButton::THemisphereButton(QWidget *parent)
    : QWidget(parent), m_releasedFace(renderFace(false)), m_pressedFace(renderFace(true))
{
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(Size, Size);
    setMask(roundMask(m_releasedFace));
}

QSize THemisphereButton::sizeHint() const
{
    return QSize(Size, Size);
}

void THemisphereButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_leftDown && m_pointerOnFace ? m_pressedFace : m_releasedFace);
}

void THemisphereButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_leftDown)
        setPointerOnFace(onFace(event->position()));
}

void THemisphereButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !onFace(event->position()))
        return;
    m_leftDown = true;
    setPointerOnFace(true);
}

void THemisphereButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_leftDown)
        return;
    if (onFace(event->position())) {
        // The pressed face must be on screen while the receivers run, even when press and release came
        // together before any paint.
        m_pointerOnFace = true;
        repaint();
        emit clicked();
    }
    m_leftDown = false;
    m_pointerOnFace = false;
    update();
}

void THemisphereButton::hideEvent(QHideEvent *)
{
    // A release while hidden goes elsewhere; without this the button would come back pressed.
    m_leftDown = false;
    m_pointerOnFace = false;
}

// A pointer position names a pixel; the pixel's centre decides, which makes the face symmetric around the
// centre pixel (12, 12): pixels 2 to 22 across its middle row and column.
bool THemisphereButton::onFace(const QPointF &position)
{
    const qreal dx = std::floor(position.x()) + 0.5 - Centre;
    const qreal dy = std::floor(position.y()) + 0.5 - Centre;
    return dx * dx + dy * dy <= FaceRadius * FaceRadius;
}

void THemisphereButton::setPointerOnFace(bool value)
{
    if (m_pointerOnFace == value)
        return;
    m_pointerOnFace = value;
    update();
}
