#include "widgets/FramelessWindow.h"

#include "common/Logging.h"
#include "common/SkinPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

FramelessWindow::FramelessWindow(const QImage &background, bool tool, QWidget *parent)
    : QWidget(parent)
{
    if (tool)
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    else
        setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setBackground(background);
    m_dragging = false;
}

void FramelessWindow::setBackground(const QImage &background)
{
    setMinimumSize(SkinPicture::logicalSize(background));
    resize(SkinPicture::logicalSize(background));
    setAttribute(Qt::WA_WState_WindowOpacitySet, true);
    setAttribute(Qt::WA_TranslucentBackground, true);
    m_background = background;
}

void FramelessWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SkinPicture::prepare(painter);
    painter.drawImage(0, 0, m_background);
}

void FramelessWindow::mousePressEvent(QMouseEvent *event)
{
    if (isMaximized() || isMinimized() || event->pos().y() > DragBandBottom
        || event->button() != Qt::LeftButton)
        return;
    if (requestSystemMove()) {
        // The window system follows the pointer from here; no move reaches this window until
        // the button is up again.
        qCDebug(lcWidgets) << "window move handed to the window system";
        event->accept();
        return;
    }
    m_dragOffset = event->globalPos() - frameGeometry().topLeft();
    m_dragging = true;
    event->accept();
}

void FramelessWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (isMaximized() || isMinimized() || !m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    move(event->globalPos() - m_dragOffset);
    event->accept();
}

void FramelessWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        return;
    m_dragging = false;
    event->accept();
}

bool FramelessWindow::requestSystemMove()
{
    QWindow *window = windowHandle();
    return window && window->startSystemMove();
}
