#include "widgets/Panel.h"

#include "common/SkinPicture.h"
#include "widgets/ImageButton.h"

#include <QGridLayout>
#include <QPainter>
#include <QSpacerItem>

#include <algorithm>

Panel::Panel(QWidget *parent)
    : QWidget(parent)
{
    m_layout = new QGridLayout(this);
    m_layout->setSpacing(0);
    m_layout->setContentsMargins(0, 5, 4, 5);
    m_top = SkinPicture::load(QStringLiteral(":/icons/Background_Sub/ICON_BK_TOP.png"));
    m_middleSource = SkinPicture::load(QStringLiteral(":/icons/Background_Sub/ICON_BK_MID.png"));
    m_bottom = SkinPicture::load(QStringLiteral(":/icons/Background_Sub/ICON_BK_BOT.png"));
    setFixedWidth(SkinPicture::logicalSize(m_middleSource).width());
}

ImageButton *Panel::addTitle(const QString &title)
{
    auto *button = new ImageButton(QStringLiteral("TOOL_TITLE_OPEN"), this, QPoint(0, 0));
    connect(button, &ImageButton::clicked, this, &Panel::toggleGroup);
    button->setText(title);
    button->setFont(QFont(QStringLiteral("Arial"), 10));
    button->setTextColor(Qt::white);
    m_titlePositions.append(m_items.size());
    m_items.append(button);
    if (m_column == 1)
        ++m_row;
    m_layout->addWidget(button, m_row, 0, 1, 2);
    ++m_row;
    m_column = 0;
    return button;
}

void Panel::addWidget(QWidget *widget)
{
    m_items.append(widget);
    m_layout->addWidget(widget, m_row, m_column);
    const int c = m_column + 1;
    m_row += c / 2;
    m_column = c % 2;
}

void Panel::addStretch()
{
    if (m_column == 1)
        ++m_row;
    m_layout->addItem(new QSpacerItem(0, 10000, QSizePolicy::Maximum, QSizePolicy::Maximum), m_row, 0, 1, 2);
}

void Panel::refresh()
{
    for (QWidget *item : qAsConst(m_items))
        item->setVisible(item->isEnabled());
}

void Panel::toggleGroup()
{
    auto *title = qobject_cast<ImageButton *>(sender());
    const int titleIndex = m_items.indexOf(title);
    // Only the panel's own title buttons lead a group.
    if (title == nullptr || !m_titlePositions.contains(titleIndex))
        return;
    const auto next = std::upper_bound(m_titlePositions.cbegin(), m_titlePositions.cend(), titleIndex);
    const int end = next == m_titlePositions.cend() ? m_items.size() : *next;

    bool visibleAfter = false;
    for (int i = titleIndex + 1; i < end; ++i) {
        QWidget *member = m_items.at(i);
        if (!member->isEnabled())
            continue;
        // The member's own hidden flag: the panel may itself be off screen.
        member->setVisible(member->isHidden());
        visibleAfter = !member->isHidden();
    }
    title->setImage(visibleAfter ? QStringLiteral("TOOL_TITLE_OPEN") : QStringLiteral("TOOL_TITLE_CLOSE"));
}

void Panel::resizeEvent(QResizeEvent *)
{
    const int h = height() - SkinPicture::logicalSize(m_top).height()
        - SkinPicture::logicalSize(m_bottom).height();
    m_middle = SkinPicture::stretched(m_middleSource,
                                      QSize(SkinPicture::logicalSize(m_middleSource).width(), h));
}

void Panel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    SkinPicture::prepare(painter);
    const int topHeight = SkinPicture::logicalSize(m_top).height();
    painter.drawImage(0, 0, m_top);
    painter.drawImage(0, topHeight, m_middle);
    painter.drawImage(0, topHeight + SkinPicture::logicalSize(m_middle).height(), m_bottom);
}
