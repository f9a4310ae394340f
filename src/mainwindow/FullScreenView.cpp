#include "mainwindow/FullScreenView.h"

#include "widgets/StyleWindow.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

FullScreenView::FullScreenView(StyleWindow *window, QWidget *pageStack)
    : m_window(window)
    , m_pageStack(pageStack)
{ }

void FullScreenView::enter()
{
    if (m_on)
        return;
    m_on = true;
    m_wasMaximized = m_window->isMaximized();
    m_normalGeometry = m_wasMaximized ? m_window->normalGeometry() : m_window->geometry();
    hideShown();
    m_window->showFullScreen();
    // Without a window manager the full-screen state moves nothing: the geometry does it.
    if (const QWindow *handle = m_window->windowHandle()) {
        if (const QScreen *screen = handle->screen())
            m_window->setGeometry(screen->geometry());
    }
    m_pageStack->raise();
}

void FullScreenView::leave()
{
    if (!m_on)
        return;
    m_on = false;
    showHidden();
    m_window->showNormal();
    m_window->setGeometry(m_normalGeometry);
    if (m_wasMaximized)
        m_window->maximize();
}

void FullScreenView::hideShown()
{
    if (!m_on)
        return;
    for (QWidget *child : m_window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == m_pageStack || child->isWindow() || child->isHidden())
            continue;
        child->hide();
        m_hidden.append(child);
    }
}

void FullScreenView::showHidden()
{
    for (const QPointer<QWidget> &child : qAsConst(m_hidden)) {
        if (child)
            child->show();
    }
    m_hidden.clear();
}
