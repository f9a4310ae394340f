#pragma once

#include "widgets/FramelessWindow.h"

#include <QImage>
#include <QRgb>

class ImageButton;
class QEvent;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;
class QShowEvent;

// The skinned, resizable main window frame: a nine-piece frame from
// ":/icons/Background_Sub/VIDEO_FRAME_*.png", minimise, maximise and close buttons in the top
// right corner, resizing by any edge or corner within EdgeZone pixels, and dragging by the top
// band in between. Subclasses place their contents in layoutContents(), which runs after every
// resize. A window in its normal state is resized by the window system where the platform
// offers that (as it is dragged, see FramelessWindow); a maximised window, and any window where
// the platform refuses, takes its new geometry from the pointer itself, leaving the maximised
// state. The window always fits the available area of its screen (fitToScreen()).
//
// Threads: GUI thread only.
class StyleWindow : public FramelessWindow
{
    Q_OBJECT
public:
    static constexpr int EdgeZone = 5; // pixels from an edge that resize rather than drag

    StyleWindow();

    // The smallest size the contents are laid out for. The window's minimum is this, bounded by
    // the available area of its screen: where it does not fit, the contents give way.
    void setDesignedMinimumSize(const QSize &size);
    // Fits the window into `area` (a screen's available area, without the desktop's panels):
    // its minimum bounded by the area, and unless maximised, minimised or full screen, its size
    // bounded by the area and its place moved inside it.
    void fitInto(const QRect &area);
    // fitInto() the available area of the window's screen. Runs when the window is shown and
    // when its screen or that screen's available area changes, so a geometry set before show()
    // (a remembered one) passes through it too. Nothing on a platform without a desktop.
    void fitToScreen();
    // The available area of the window's screen; empty where there is no desktop to fit (the
    // offscreen platform, whose nominal screen nobody sees).
    QRect availableArea() const;
    // The geometry `window` takes in `area`: no larger than the area, moved inside it.
    static QRect fitted(const QRect &window, const QRect &area);

    ImageButton *minimizeButton() const { return m_minimizeButton; }
    ImageButton *maximizeButton() const { return m_maximizeButton; }
    ImageButton *closeButton() const { return m_closeButton; }

public slots:
    void minimize();
    void maximize();

protected:
    virtual void layoutContents() = 0;

    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // A double click on the top band maximises or restores, as on any window's title bar.
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // The maximise button shows a restore glyph while the window is maximised. (A right click
    // on the band opens the window system's menu, see WindowMenuRequest.)
    void changeEvent(QEvent *event) override;

    // Asks the window system to resize the window by `edges` with the pointer until the button
    // goes up (QWindow::startSystemResize). False when the platform cannot.
    virtual bool requestSystemResize(Qt::Edges edges);

private:
    // The edges of the current pointer zones.
    Qt::Edges zoneEdges() const;
    void resizeByPointer(const QPoint &position);

    // Watches the available area of the screen the window is on.
    void watchScreen();

    QSize m_designedMinimum;
    QMetaObject::Connection m_areaWatch;
    bool m_screenWatched = false;
    ImageButton *m_minimizeButton = nullptr;
    ImageButton *m_maximizeButton = nullptr;
    ImageButton *m_closeButton = nullptr;
    int m_horizontalZone = 1; // 0 left edge, 1 inside, 2 right edge
    int m_verticalZone = 1;   // 0 top edge, 1 inside, 2 bottom edge
    bool m_resizing = false;
    QImage m_topLeft;
    QImage m_topRight;
    QImage m_bottomLeft;
    QImage m_bottomRight;
    QImage m_top;
    QImage m_bottom;
    QImage m_left;
    QImage m_right;
    QImage m_topSource;
    QImage m_bottomSource;
    QImage m_leftSource;
    QImage m_rightSource;
    QRgb m_centreColor = 0;
};
