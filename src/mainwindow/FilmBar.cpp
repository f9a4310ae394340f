#include "mainwindow/FilmBar.h"

#include "common/SkinPicture.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Slider.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPalette>

#include <algorithm>

namespace {
constexpr int BarOffsetFromBottom = 60;
constexpr int SliderHeight = 10;
constexpr int PositionHandleWidth = 22;
constexpr int InfoGap = 8;          // between the volume slider's place and the film's name
constexpr int InfoRightMargin = 10; // from the window's right edge

int centredX(int w, int panelOffset, int childWidth)
{
    return (w - panelOffset - childWidth) / 2 + panelOffset;
}
} // namespace

FilmBar::FilmBar(QWidget *window)
    : m_bar(new ImageWidget(SkinPicture::load(":/icons/Background/FILM_CONTROL_BK.png"), window))
    , m_open(new ImageButton("ICON_FILM_OPEN", m_bar, QPoint(20, 5)))
    , m_play(new ImageButton("ICON_FILM_PLAY", m_bar, QPoint(60, 5)))
    , m_pause(new ImageButton("ICON_FILM_PAUSE", m_bar, QPoint(100, 5)))
    , m_stop(new ImageButton("ICON_FILM_STOP", m_bar, QPoint(140, 5)))
    , m_backward(new ImageButton("ICON_FILM_BACKWARD", m_bar, QPoint(180, 5)))
    , m_forward(new ImageButton("ICON_FILM_FORWARD", m_bar, QPoint(220, 5)))
    , m_volume(new ImageButton("ICON_FILM_VOLUME", m_bar, QPoint(260, 5)))
    , m_volumeSlider(new Slider(Qt::Vertical, window))
    , m_positionSlider(
          new HorizontalSlider(SkinPicture::load(":/icons/Background/FILM_SCROLL_BAR.png"), window))
    , m_info(new QLabel(window))
{
    m_info->setFont(QFont("Arial", 10));
    QPalette palette = m_info->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, Qt::white);
    m_info->setPalette(palette);
    m_info->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_info->setTextFormat(Qt::PlainText);
    m_volume->setCheckable(true);
    m_volumeSlider->setFixedSize(QImage(":/icons/Background/POP_VOL_BK.png").size());
    m_volumeSlider->setRange(1, 100);
    m_volumeSlider->setValue(100);
    m_positionSlider->setHandleWidth(PositionHandleWidth);
    m_positionSlider->setRange(0, 100);

    m_bar->hide();
    m_volumeSlider->hide();
    m_positionSlider->hide();
    m_info->hide();
}

void FilmBar::layout(int w, int h, int panelOffset, const QRect &pageStack)
{
    m_bar->move(centredX(w, panelOffset, m_bar->width()), h - BarOffsetFromBottom);
    m_volumeSlider->move(m_bar->x() + m_bar->width(),
                         m_bar->y() + m_bar->height() - m_volumeSlider->height());
    m_positionSlider->setFixedSize(pageStack.width() + 2, SliderHeight);
    m_positionSlider->move(pageStack.x(), pageStack.y() + pageStack.height());
    const int left = m_bar->x() + m_bar->width() + m_volumeSlider->width() + InfoGap;
    m_info->setGeometry(left, m_bar->y(), std::max(0, w - InfoRightMargin - left), m_bar->height());
    setFilmInfo(m_name, m_time);
}

void FilmBar::setFilmInfo(const QString &name, const QString &time)
{
    m_name = name;
    m_time = name.isEmpty() ? QString() : time;
    if (m_name.isEmpty()) {
        m_info->clear();
        m_info->setToolTip(QString());
        return;
    }
    const QString shownName =
        QFontMetrics(m_info->font()).elidedText(m_name, Qt::ElideMiddle, m_info->width());
    m_info->setText(shownName + QLatin1Char('\n') + m_time);
    m_info->setToolTip(m_name);
}

void FilmBar::enter()
{
    m_bar->show();
    m_bar->raise();
    m_positionSlider->show();
    m_info->show();
}

void FilmBar::leave()
{
    m_bar->hide();
    m_volume->setChecked(false);
    m_volumeSlider->hide();
    m_positionSlider->hide();
    m_info->hide();
}

void FilmBar::showVolumeFromButton()
{
    m_volumeSlider->setVisible(m_volume->isChecked());
    m_volumeSlider->raise();
}
