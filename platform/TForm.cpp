#include "TForm.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <utility>

namespace {

// The form that last became the program's active window.
QPointer<TForm> programActiveForm;

} // namespace

TForm::TForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    // Moves without a button pressed reach the form only with tracking on.
    setMouseTracking(true);
}

void TForm::SetBorderStyle(TBorderStyle value)
{
    m_borderStyle = value;
    // A new window already carries every title bar button; naming the set ourselves lets one be left out.
    if (value == bsSingle)
        setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowMaximizeButtonHint);
    else
        setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
}

void TForm::SetFormStyle(TFormStyle value)
{
    m_formStyle = value;
    setWindowFlag(Qt::WindowStaysOnTopHint, value == fsStayOnTop);
}

void TForm::SetLeft(int value)
{
    m_designedPosition.setX(value);
}

void TForm::SetTop(int value)
{
    m_designedPosition.setY(value);
}

void TForm::BeforeDestruction()
{
    Q_EMIT OnDestroy();
}

void TForm::setVisible(bool visible)
{
    if (visible && !m_placed)
        placeOnFirstShow();
    QWidget::setVisible(visible);
}

void TForm::placeOnFirstShow()
{
    m_placed = true;
    m_centreFrameWhenExposed = m_position == poScreenCenter;
    if (m_borderStyle == bsSingle)
        setFixedSize(size());

    // Like the original platform, the position is that of the frame, not of the client area.
    if (m_position == poScreenCenter)
        centreFrameOnScreen();
    else
        move(m_designedPosition);
}

// The window manager's frame is known only once the window is on screen; until then the client area stands
// in for it, and the first exposure centres the real frame.
void TForm::centreFrameOnScreen()
{
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->geometry().center());
    move(frame.topLeft());
}

bool TForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        becomeProgramActiveForm();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TForm::becomeProgramActiveForm()
{
    // Qt activates the new window before it deactivates the old one; the form events come the other way
    // round. Message boxes and other programs taking the focus change nothing here.
    if (programActiveForm == this)
        return;
    const QPointer<TForm> previous = programActiveForm;
    programActiveForm = this;
    if (previous)
        Q_EMIT previous->OnDeactivate();
    Q_EMIT OnActivate();
}

bool TForm::eventFilter(QObject *watched, QEvent *event)
{
    // Exposure of the native window is what the user sees as the window's surface being painted; a child's
    // repaint only flushes the backing store and never comes here, so the handler cannot feed itself.
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        if (std::exchange(m_centreFrameWhenExposed, false))
            centreFrameOnScreen();
        Q_EMIT OnPaint();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm::showEvent(QShowEvent *event)
{
    if (!m_watchingExposure && windowHandle()) {
        windowHandle()->installEventFilter(this);
        m_watchingExposure = true;
    }
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Q_EMIT OnShow();
}

void TForm::closeEvent(QCloseEvent *event)
{
    Q_EMIT OnClose();
    QWidget::closeEvent(event);
}

bool TForm::isOverBareSurface(const QMouseEvent &event) const
{
    return childAt(event.position().toPoint()) == nullptr;
}

void TForm::mouseMoveEvent(QMouseEvent *event)
{
    if (isOverBareSurface(*event))
        Q_EMIT OnMouseMove();
    QWidget::mouseMoveEvent(event);
}

void TForm::mousePressEvent(QMouseEvent *event)
{
    if (isOverBareSurface(*event))
        Q_EMIT OnMouseDown();
    QWidget::mousePressEvent(event);
}

void TForm::mouseReleaseEvent(QMouseEvent *event)
{
    if (isOverBareSurface(*event))
        Q_EMIT OnMouseUp();
    QWidget::mouseReleaseEvent(event);
}
