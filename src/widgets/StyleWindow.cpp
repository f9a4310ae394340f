#include "widgets/StyleWindow.h"

#include "common/Logging.h"
#include "common/SkinPicture.h"
#include "widgets/ImageButton.h"
#include "widgets/WindowMenuRequest.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

QImage framePiece(const char *name)
{
    const QString path = QStringLiteral(":/icons/Background_Sub/%1.png").arg(QLatin1String(name));
    QImage piece = SkinPicture::load(path);
    if (piece.isNull())
        qCWarning(lcWidgets) << "missing frame picture" << path;
    return piece;
}

// An edge piece stretched to a new logical length; nothing when the piece is missing or the
// window is too small to leave room for it.
QImage stretched(const QImage &source, int width, int height)
{
    return SkinPicture::stretched(source, QSize(width, height));
}

int widthOf(const QImage &piece)
{
    return SkinPicture::logicalSize(piece).width();
}

int heightOf(const QImage &piece)
{
    return SkinPicture::logicalSize(piece).height();
}

int zoneOf(int position, int length, int edge)
{
    if (position <= edge)
        return 0;
    if (position + edge >= length)
        return 2;
    return 1;
}

} // namespace

StyleWindow::StyleWindow()
    : FramelessWindow(QImage(), false, nullptr)
{
    setAttribute(Qt::WA_MouseTracking);

    // No top-left piece: the top and left strips start at the window's edge.
    m_topLeft = QImage();
    m_topSource = framePiece("VIDEO_FRAME_TOP_MID");
    m_topRight = framePiece("VIDEO_FRAME_TOP_RIGHT");
    m_leftSource = framePiece("VIDEO_FRAME_MID_LEFT");
    const QImage centre = framePiece("VIDEO_FRAME_MID_MID");
    m_centreColor = centre.isNull() ? qRgb(0, 0, 0) : centre.pixel(0, 0);
    m_rightSource = framePiece("VIDEO_FRAME_MID_RIGHT");
    m_bottomLeft = framePiece("VIDEO_FRAME_BOT_LEFT");
    m_bottomSource = framePiece("VIDEO_FRAME_BOT_MID");
    m_bottomRight = framePiece("VIDEO_FRAME_BOT_RIGHT");

    m_minimizeButton = new ImageButton(QStringLiteral("WINDOWS_MIN"), this, QPoint(0, 0));
    m_maximizeButton = new ImageButton(QStringLiteral("WINDOWS_MAX"), this, QPoint(0, 0));
    m_closeButton = new ImageButton(QStringLiteral("WINDOWS_CLOSE"), this, QPoint(0, 0));
    connect(m_minimizeButton, &ImageButton::clicked, this, &StyleWindow::minimize);
    connect(m_maximizeButton, &ImageButton::clicked, this, &StyleWindow::maximize);
    connect(m_closeButton, &ImageButton::clicked, this, &StyleWindow::close);
}

void StyleWindow::setDesignedMinimumSize(const QSize &size)
{
    m_designedMinimum = size;
    setMinimumSize(size);
    fitToScreen();
}

QRect StyleWindow::fitted(const QRect &window, const QRect &area)
{
    if (!area.isValid())
        return window;
    const QSize size = window.size().boundedTo(area.size());
    const int x = std::clamp(window.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(window.y(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(x, y), size);
}

void StyleWindow::fitInto(const QRect &area)
{
    if (!area.isValid())
        return;
    setMinimumSize(m_designedMinimum.boundedTo(area.size()));
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    const QRect place = fitted(geometry(), area);
    if (place != geometry()) {
        qCDebug(lcWidgets) << "window fitted into" << area << "from" << geometry() << "to" << place;
        setGeometry(place);
    }
}

QRect StyleWindow::availableArea() const
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return QRect();
    const QScreen *s = screen();
    return s ? s->availableGeometry() : QRect();
}

void StyleWindow::fitToScreen()
{
    fitInto(availableArea());
}

void StyleWindow::watchScreen()
{
    QObject::disconnect(m_areaWatch);
    if (const QScreen *s = screen())
        m_areaWatch = connect(s, &QScreen::availableGeometryChanged, this, &StyleWindow::fitToScreen);
}

void StyleWindow::minimize()
{
    setWindowState(windowState() ^ Qt::WindowMinimized);
}

void StyleWindow::maximize()
{
    if (isMaximized()) {
        showNormal();
        return;
    }
    showMaximized();
    // A Wayland compositor maximises a window on the output it chooses and gives it the size;
    // a geometry set here would be taken for the normal size the window restores to.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    // The screen the window is on, not the first one.
    if (const QScreen *s = screen())
        setGeometry(s->availableGeometry());
}

void StyleWindow::resizeEvent(QResizeEvent *)
{
    const int w = width();
    const int h = height();
    m_top = stretched(m_topSource, w - widthOf(m_topLeft) - widthOf(m_topRight), heightOf(m_topSource));
    m_bottom = stretched(m_bottomSource, w - widthOf(m_bottomLeft) - widthOf(m_bottomRight),
                         heightOf(m_bottomSource));
    m_left = stretched(m_leftSource, widthOf(m_leftSource), h - heightOf(m_topLeft) - heightOf(m_bottomLeft));
    m_right = stretched(m_rightSource, widthOf(m_rightSource),
                        h - heightOf(m_topRight) - heightOf(m_bottomRight));
    m_minimizeButton->move(w - 79, 4);
    m_maximizeButton->move(w - 59, 4);
    m_closeButton->move(w - 38, 4);
    layoutContents();
}

void StyleWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SkinPicture::prepare(painter);
    const int w = width();
    // The centre colour under the whole window first: where a logical pixel is not a whole
    // number of device pixels (150 %), neighbouring pieces meet on a half pixel, and a seam
    // between them shows the frame's colour rather than the desktop through the window.
    painter.fillRect(rect(), QColor::fromRgba(m_centreColor));
    painter.drawImage(0, 0, m_topLeft);
    painter.drawImage(widthOf(m_topLeft), 0, m_top);
    painter.drawImage(widthOf(m_topLeft) + widthOf(m_top), 0, m_topRight);
    painter.drawImage(0, heightOf(m_topLeft), m_left);
    painter.drawImage(w - widthOf(m_right), heightOf(m_topRight), m_right);
    painter.drawImage(0, heightOf(m_topLeft) + heightOf(m_left), m_bottomLeft);
    painter.drawImage(widthOf(m_bottomLeft), heightOf(m_topLeft) + heightOf(m_left), m_bottom);
    painter.drawImage(widthOf(m_bottomLeft) + widthOf(m_bottom), heightOf(m_topRight) + heightOf(m_right),
                      m_bottomRight);
}

void StyleWindow::mousePressEvent(QMouseEvent *event)
{
    if ((m_horizontalZone == 1 && m_verticalZone == 1) || event->button() != Qt::LeftButton) {
        FramelessWindow::mousePressEvent(event);
        return;
    }
    // A maximised or full-screen window first leaves that state, which the window system does
    // not do for a resize of its own: that stays with the pointer code below.
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
    if (normal && requestSystemResize(zoneEdges())) {
        qCDebug(lcWidgets) << "window resize handed to the window system";
        event->accept();
        return;
    }
    m_resizing = true;
}

bool StyleWindow::requestSystemResize(Qt::Edges edges)
{
    QWindow *window = windowHandle();
    return window && window->startSystemResize(edges);
}

Qt::Edges StyleWindow::zoneEdges() const
{
    Qt::Edges edges;
    if (m_horizontalZone == 0)
        edges |= Qt::LeftEdge;
    else if (m_horizontalZone == 2)
        edges |= Qt::RightEdge;
    if (m_verticalZone == 0)
        edges |= Qt::TopEdge;
    else if (m_verticalZone == 2)
        edges |= Qt::BottomEdge;
    return edges;
}

void StyleWindow::mouseReleaseEvent(QMouseEvent *event)
{
    // A right click on the title band opens the window system's own menu where it offers one;
    // on the release, once the pointer is no longer held by this window.
    if (event->button() == Qt::RightButton && event->pos().y() <= DragBandBottom && !isFullScreen()
        && zoneOf(event->pos().x(), width(), EdgeZone) == 1
        && zoneOf(event->pos().y(), height(), EdgeZone) == 1) {
        WindowMenuRequest::open(windowHandle(), event->globalPos());
        event->accept();
        return;
    }
    if (m_resizing) {
        m_resizing = false;
        mouseMoveEvent(event);
        return;
    }
    FramelessWindow::mouseReleaseEvent(event);
}

void StyleWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_resizing) {
        resizeByPointer(event->pos());
        return;
    }
    m_horizontalZone = zoneOf(event->pos().x(), width(), EdgeZone);
    m_verticalZone = zoneOf(event->pos().y(), height(), EdgeZone);
    const int hz = m_horizontalZone;
    const int vz = m_verticalZone;
    if ((hz == 0 && vz == 0) || (hz == 2 && vz == 2))
        setCursor(Qt::SizeFDiagCursor);
    else if ((hz == 0 && vz == 2) || (hz == 2 && vz == 0))
        setCursor(Qt::SizeBDiagCursor);
    else if (hz != 1)
        setCursor(Qt::SizeHorCursor);
    else if (vz == 1)
        setCursor(Qt::ArrowCursor);
    else
        setCursor(Qt::SizeVerCursor);
    FramelessWindow::mouseMoveEvent(event);
}

void StyleWindow::resizeByPointer(const QPoint &position)
{
    int x = this->x();
    int y = this->y();
    int w = width();
    int h = height();
    if (m_horizontalZone == 0) {
        const int d = qMin(position.x(), w - minimumWidth());
        x += d;
        w -= d;
    } else if (m_horizontalZone == 2) {
        w = qMin(position.x(), maximumWidth());
    }
    if (m_verticalZone == 0) {
        const int d = qMin(position.y(), h - minimumHeight());
        y += d;
        h -= d;
    } else if (m_verticalZone == 2) {
        h = qMin(position.y(), maximumHeight());
    }
    // Leave the maximised (minimised, full-screen) state before taking the new geometry: the
    // window system restores the normal geometry when that state ends, and while it lasts it
    // ignores geometry requests, so the other order would throw the pointer's geometry away.
    const Qt::WindowStates kept = windowState() & Qt::WindowActive;
    if (windowState() != kept)
        setWindowState(kept);
    // Position and size in one request: a left or top edge moves and resizes at once.
    setGeometry(x, y, w, h);
}

void StyleWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The band between the edges: the buttons on it take their own clicks.
    if (event->button() != Qt::LeftButton || event->pos().y() > DragBandBottom || isFullScreen()
        || zoneOf(event->pos().x(), width(), EdgeZone) != 1
        || zoneOf(event->pos().y(), height(), EdgeZone) != 1) {
        FramelessWindow::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    qCDebug(lcWidgets) << "title band double click: the window" << (isMaximized() ? "restores" : "maximises");
    maximize();
}

void StyleWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange)
        m_maximizeButton->setImage(isMaximized() ? QStringLiteral("WINDOWS_RESTORE")
                                                 : QStringLiteral("WINDOWS_MAX"));
    FramelessWindow::changeEvent(event);
}

void StyleWindow::leaveEvent(QEvent *)
{
    setCursor(Qt::ArrowCursor);
}

void StyleWindow::showEvent(QShowEvent *event)
{
    if (!m_screenWatched && windowHandle()) {
        m_screenWatched = true;
        connect(windowHandle(), &QWindow::screenChanged, this, [this] {
            watchScreen();
            fitToScreen();
        });
        watchScreen();
    }
    fitToScreen();
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    FramelessWindow::showEvent(event);
}
