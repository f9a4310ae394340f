#include "widgets/StyleWindow.h"

#include "common/Logging.h"
#include "widgets/ImageButton.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

QImage framePiece(const char *name)
{
    const QString path = QStringLiteral(":/icons/Background_Sub/%1.png").arg(QLatin1String(name));
    QImage piece(path);
    if (piece.isNull())
        qCWarning(lcWidgets) << "missing frame picture" << path;
    return piece;
}

// An edge piece stretched to a new length; nothing when the piece is missing or the window is
// too small to leave room for it.
QImage stretched(const QImage &source, int width, int height)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return QImage();
    return source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
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
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
}

void StyleWindow::resizeEvent(QResizeEvent *)
{
    const int w = width();
    const int h = height();
    m_top = stretched(m_topSource, w - m_topLeft.width() - m_topRight.width(), m_topSource.height());
    m_bottom = stretched(m_bottomSource, w - m_bottomLeft.width() - m_bottomRight.width(),
                         m_bottomSource.height());
    m_left = stretched(m_leftSource, m_leftSource.width(), h - m_topLeft.height() - m_bottomLeft.height());
    m_right = stretched(m_rightSource, m_rightSource.width(),
                        h - m_topRight.height() - m_bottomRight.height());
    m_minimizeButton->move(w - 79, 4);
    m_maximizeButton->move(w - 59, 4);
    m_closeButton->move(w - 38, 4);
    layoutContents();
}

void StyleWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.drawImage(0, 0, m_topLeft);
    painter.drawImage(m_topLeft.width(), 0, m_top);
    painter.drawImage(m_topLeft.width() + m_top.width(), 0, m_topRight);
    painter.drawImage(0, m_topLeft.height(), m_left);
    painter.drawImage(w - m_right.width(), m_topRight.height(), m_right);
    painter.drawImage(0, m_topLeft.height() + m_left.height(), m_bottomLeft);
    painter.drawImage(m_bottomLeft.width(), m_topLeft.height() + m_left.height(), m_bottom);
    painter.drawImage(m_bottomLeft.width() + m_bottom.width(), m_topRight.height() + m_right.height(),
                      m_bottomRight);
    painter.fillRect(m_left.width(), m_top.height(), w - m_left.width() - m_right.width(),
                     h - m_top.height() - m_bottom.height(), QColor::fromRgba(m_centreColor));
}

void StyleWindow::mousePressEvent(QMouseEvent *event)
{
    if ((m_horizontalZone == 1 && m_verticalZone == 1) || event->button() != Qt::LeftButton) {
        FramelessWindow::mousePressEvent(event);
        return;
    }
    m_resizing = true;
}

void StyleWindow::mouseReleaseEvent(QMouseEvent *event)
{
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

void StyleWindow::leaveEvent(QEvent *)
{
    setCursor(Qt::ArrowCursor);
}

void StyleWindow::showEvent(QShowEvent *event)
{
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    FramelessWindow::showEvent(event);
}
