#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

class QMouseEvent;
class QPaintEvent;

// A top-level window without the platform's title bar and border. It paints one background
// picture (transparent parts stay see-through), is at least as large as that picture, and is
// dragged by a left press in its top band (y <= DragBandBottom) unless maximised or minimised.
// The drag is the window system's own move where the platform offers one (a Wayland compositor
// places its windows itself; an X11 window manager adds its snapping and edge tiling); where it
// refuses, the window follows the pointer with move().
//
// Threads: GUI thread only.
class FramelessWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DragBandBottom = 25; // last row of the band that drags the window

    // tool: a tool window (popups) rather than an ordinary window with a minimise hint.
    FramelessWindow(const QImage &background, bool tool, QWidget *parent);

    // Stores the picture and makes it the window's minimum and current size.
    void setBackground(const QImage &background);
    const QImage &background() const { return m_background; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    // Asks the window system to move the window with the pointer until the button goes up
    // (QWindow::startSystemMove). False when the platform cannot: no window yet, an offscreen
    // platform, an X11 desktop without a window manager, a Wayland seat without a pointer.
    virtual bool requestSystemMove();

private:
    QImage m_background;
    QPoint m_dragOffset; // pointer position relative to the frame's top-left when a drag began
    bool m_dragging = false;
};
