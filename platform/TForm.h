#pragma once

#include <QPointer>
#include <QWidget>

// A top-level window built from a stored layout, which binds the form events below to its handlers.
class TForm : public QWidget
{
    Q_OBJECT
    // Where the frame's top-left corner goes at the first showing, unless the position centres the window.
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)

public:
    enum TPosition { poDesigned, poScreenCenter };
    Q_ENUM(TPosition)
    // bsSingle: a fixed client size and no maximise button.
    enum TBorderStyle { bsSizeable, bsSingle };
    Q_ENUM(TBorderStyle)
    // fsStayOnTop: above all normal windows, also those of other programs.
    enum TFormStyle { fsNormal, fsStayOnTop };
    Q_ENUM(TFormStyle)

    explicit TForm(QWidget *parent = nullptr);

    int Left() const { return m_designedPosition.x(); }
    void SetLeft(int value);
    int Top() const { return m_designedPosition.y(); }
    void SetTop(int value);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition value) { m_position = value; }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle value);

    // Raises OnDestroy while the form is still whole; the application calls it right before deleting the form.
    void BeforeDestruction();

    void setVisible(bool visible) override;

Q_SIGNALS:
    // The window's own surface was exposed: first display, uncovered, restored. Never for a child's repaint.
    void OnPaint();
    // The window became the program's active window, or stopped being it because another of its windows did.
    void OnActivate();
    void OnDeactivate();
    void OnShow();
    void OnClose();
    void OnDestroy();
    // Mouse events over the bare surface of the window, not over any control on it.
    void OnMouseMove();
    void OnMouseDown();
    void OnMouseUp();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void becomeProgramActiveForm();
    bool isOverBareSurface(const QMouseEvent &event) const;
    void placeOnFirstShow();
    void centreFrameOnScreen();

    QPoint m_designedPosition;
    TPosition m_position = poDesigned;
    TBorderStyle m_borderStyle = bsSizeable;
    TFormStyle m_formStyle = fsNormal;
    bool m_placed = false;
    bool m_centreFrameWhenExposed = false;
    bool m_watchingExposure = false;
};
