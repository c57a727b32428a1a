#pragma once

#include "TColor.h"

#include <QWidget>

// A flat caption button that draws itself: a framed face normally, a raised face under the mouse pointer and a
// sunken face while the left mouse button is held on it. It takes no keyboard focus.
class TEncartaButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(uint ColorBorder READ ColorBorder WRITE SetColorBorder)
    Q_PROPERTY(uint ColorOver READ ColorOver WRITE SetColorOver)
    Q_PROPERTY(uint ColorOverCaption READ ColorOverCaption WRITE SetColorOverCaption)
    Q_PROPERTY(uint ColorDown READ ColorDown WRITE SetColorDown)

public:
    explicit TEncartaButton(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    // Face colour of the normal look. Setting it redraws the button at once, not at the next event loop pass.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    // Frame of the normal look.
    TColor ColorBorder() const { return m_colorBorder; }
    void SetColorBorder(TColor value);
    // Face and caption while the pointer is over the button; the caption's normal colour is the palette's
    // ButtonText, its font the widget's font.
    TColor ColorOver() const { return m_colorOver; }
    void SetColorOver(TColor value);
    TColor ColorOverCaption() const { return m_colorOverCaption; }
    void SetColorOverCaption(TColor value);
    // Face while the left mouse button is held on the button.
    TColor ColorDown() const { return m_colorDown; }
    void SetColorDown(TColor value);

    QSize sizeHint() const override;

Q_SIGNALS:
    // The left button was pressed and released inside; the normal look is already on screen.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setUnderMouse(bool value);

    QString m_text;
    TColor m_color = clBtnFace;
    TColor m_colorBorder = 0x828F99;
    TColor m_colorOver = clBtnFace;
    TColor m_colorOverCaption = clBlack;
    TColor m_colorDown = clBtnFace;
    bool m_underMouse = false;
    bool m_leftDown = false;
};
