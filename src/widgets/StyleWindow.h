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
// state.
//
// Threads: GUI thread only.
class StyleWindow : public FramelessWindow
{
    Q_OBJECT
public:
    static constexpr int EdgeZone = 5; // pixels from an edge that resize rather than drag

    StyleWindow();

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

    // Asks the window system to resize the window by `edges` with the pointer until the button
    // goes up (QWindow::startSystemResize). False when the platform cannot.
    virtual bool requestSystemResize(Qt::Edges edges);

private:
    // The edges of the current pointer zones.
    Qt::Edges zoneEdges() const;
    void resizeByPointer(const QPoint &position);

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
