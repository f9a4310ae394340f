#include "toolwindows/ToolWindow.h"

#include "widgets/ImageButton.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>

ToolWindow::ToolWindow(const QImage &background, QWidget *anchor, QWidget *parent, const QString &title)
    : FramelessWindow(background, true, parent)
{
    m_closeButton = new ImageButton(QStringLiteral("POPUP_CLOSE"), this, QPoint(0, 0));
    connect(m_closeButton, &ImageButton::clicked, this, &ToolWindow::close);
    m_closeButton->move(width() - CloseButtonInset, CloseButtonY);

    m_anchor = anchor;
    if (parent)
        parent->installEventFilter(this);

    placeBesideAnchor();

    auto *titleLabel = new QLabel(title, this);
    titleLabel->setStyleSheet(QStringLiteral("font-family: Arial; font-size: 14px; color: white;"));
    titleLabel->move(8, 2);
}

ToolWindow::~ToolWindow() = default;

void ToolWindow::placeBesideAnchor()
{
    if (!m_anchor)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QPoint position = m_anchor->mapToGlobal(QPoint(m_anchor->width() + AnchorGap, 0));
    // Against the available width and height, as the popup always has; on a primary screen at
    // the origin that is its right and bottom edge.
    if (position.x() + width() > available.width())
        position.setX(available.width() - width());
    if (position.y() + height() > available.height())
        position.setY(available.height() - height());
    move(position);
}

bool ToolWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeBesideAnchor();
    return false;
}

void ToolWindow::focusChanged(QWidget *, QWidget *now)
{
    for (QWidget *widget = now; widget; widget = widget->parentWidget()) {
        if (widget == this)
            return;
    }
    close();
}

void ToolWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    FramelessWindow::keyPressEvent(event);
}

void ToolWindow::resizeEvent(QResizeEvent *event)
{
    FramelessWindow::resizeEvent(event);
    if (m_closeButton)
        m_closeButton->move(event->size().width() - CloseButtonInset, CloseButtonY);
}

void ToolWindow::addToolRow(const QStringList &icons, ImageButton **buttons)
{
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < icons.size(); ++i) {
        auto *button = new ImageButton(icons[i], this, QPoint(4 + i * 60, 18));
        button->setCheckable(true);
        group->addButton(button);
        buttons[i] = button;
    }
}
