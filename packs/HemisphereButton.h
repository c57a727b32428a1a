#pragma once

#include <QImage>
#include <QWidget>

// A round grey push button, 25 x 25, shaded as a hemisphere lit from the upper left inside a lowered ring.
// Only the face inside the ring reacts; the corners outside the circle show the window behind. It takes no
// keyboard focus and does not stay down.
class THemisphereButton : public QWidget
{
    Q_OBJECT

public:
    explicit THemisphereButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

Q_SIGNALS:
    // The left button was pressed and released on the face. The button stays drawn pressed until every
    // receiver has returned.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    static bool onFace(const QPointF &position);
    void setPointerOnFace(bool value);

    const QImage m_releasedFace;
    const QImage m_pressedFace;
    bool m_leftDown = false;
    bool m_pointerOnFace = false;
};
