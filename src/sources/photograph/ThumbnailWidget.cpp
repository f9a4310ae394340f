#include "sources/photograph/ThumbnailWidget.h"

#include "common/SkinPicture.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/ThumbnailButton.h"
#include "sources/photograph/ThumbnailLoader.h"
#include "widgets/HorizontalSlider.h"

#include <QButtonGroup>
#include <QPainter>
#include <QVector>

#include <algorithm>

ThumbnailWidget::ThumbnailWidget(PhotographSource *source, HorizontalSlider *scrollBar, QWidget *parent)
    : ImageWidget(SkinPicture::load(":/icons/Background/THUMBNIL_BAR.png"), parent)
    , m_source(source)
    , m_scrollBar(scrollBar)
    , m_group(new QButtonGroup(this))
    , m_loader(new ThumbnailLoader(this))
{
    m_group->setExclusive(true);
    reload();
    connect(m_source, &PhotographSource::photographChanged, this, &ThumbnailWidget::photographChanged);
    connect(m_source, &PhotographSource::photographListChanged, this, &ThumbnailWidget::reload);
    connect(m_scrollBar, &HorizontalSlider::valueChanged, this, &ThumbnailWidget::viewChanged);
}

ThumbnailWidget::~ThumbnailWidget()
{
    stopLoader();
}

int ThumbnailWidget::fittingCount() const
{
    return std::max(0, std::min<int>(m_paths.size(), (width() - m_margin - m_left) / THUMBNAIL_STEP));
}

void ThumbnailWidget::stopLoader()
{
    m_loader->stopPass();
    for (ThumbnailButton *button : qAsConst(m_buttons)) {
        m_group->removeButton(button);
        delete button;
    }
    m_buttons.clear();
}

void ThumbnailWidget::reload()
{
    stopLoader();
    m_paths = m_source->filePaths();
    m_left = 50;
    m_margin = 40;
    m_spacing = 10;
    m_top = 5;
    m_visible = fittingCount();
    m_left = (width() - THUMBNAIL_STEP * m_visible) / 2;
    // A new list starts at its first thumbnail; an earlier scroll position may lie past it.
    m_first = std::max(0, std::min(m_first, m_paths.size() - m_visible));
    QVector<ThumbnailButton *> buttons;
    buttons.reserve(m_paths.size());
    for (int i = 0; i < m_paths.size(); ++i) {
        auto *button = new ThumbnailButton(this);
        button->hide();
        connect(button, &ThumbnailButton::clicked, this, &ThumbnailWidget::photographSelected);
        m_buttons.append(button);
        m_group->addButton(button);
        buttons.append(button);
    }
    layOut();
    m_scrollBar->setRange(0, m_paths.size() - m_visible);
    // The handle shows where the new list is scrolled to, not where the old one was.
    m_scrollBar->setValue(m_first);
    QVector<QByteArray> local;
    local.reserve(m_paths.size());
    for (const PictureFile &file : m_source->pictureFiles())
        local.append(file.localPath);
    m_loader->startPass(local, buttons);
}

void ThumbnailWidget::layOut()
{
    for (ThumbnailButton *button : qAsConst(m_buttons))
        button->hide();
    for (int j = m_first; j < m_first + m_visible && j < m_buttons.size(); ++j) {
        ThumbnailButton *button = m_buttons.at(j);
        button->move(m_left + (j - m_first) * THUMBNAIL_STEP, m_top);
        button->show();
        button->raise();
    }
}

void ThumbnailWidget::photographSelected()
{
    const int index = m_buttons.indexOf(qobject_cast<ThumbnailButton *>(sender()));
    if (index >= 0)
        m_source->selectPhotograph(index);
}

void ThumbnailWidget::photographChanged(int id)
{
    if (id < 0 || id >= m_buttons.size())
        return;
    if (m_visible == 0) {
        // Too narrow to show any thumbnail: there is nothing to scroll.
    } else if (id < m_first) {
        m_scrollBar->setValue(id);
        m_first = id;
        layOut();
    } else if (id >= m_first + m_visible) {
        m_first = id - m_visible + 1;
        m_scrollBar->setValue(m_first);
        layOut();
    }
    m_buttons.at(id)->setChecked(true);
}

void ThumbnailWidget::viewChanged(int first)
{
    m_first = std::max(0, std::min(first, m_paths.size() - m_visible));
    layOut();
}

void ThumbnailWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The background stretched to the strip; without the smooth-pixmap hint the stretch uses
    // fast scaling.
    painter.drawImage(rect(), image());
}

void ThumbnailWidget::resizeEvent(QResizeEvent *event)
{
    ImageWidget::resizeEvent(event);
    m_visible = fittingCount();
    m_left = (width() - THUMBNAIL_STEP * m_visible) / 2;
    m_scrollBar->setRange(0, m_paths.size() - m_visible);
    m_first = std::max(0, std::min(m_first, m_paths.size() - m_visible));
    layOut();
}
