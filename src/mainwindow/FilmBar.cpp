#include "mainwindow/FilmBar.h"

#include "common/SkinPicture.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/ImageWidget.h"
#include "widgets/Slider.h"

#include <QImage>

namespace {
constexpr int BarOffsetFromBottom = 60;
constexpr int SliderHeight = 10;
constexpr int PositionHandleWidth = 22;

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
{
    m_volume->setCheckable(true);
    m_volumeSlider->setFixedSize(QImage(":/icons/Background/POP_VOL_BK.png").size());
    m_volumeSlider->setRange(1, 100);
    m_volumeSlider->setValue(100);
    m_positionSlider->setHandleWidth(PositionHandleWidth);
    m_positionSlider->setRange(0, 100);

    m_bar->hide();
    m_volumeSlider->hide();
    m_positionSlider->hide();
}

void FilmBar::layout(int w, int h, int panelOffset, const QRect &pageStack)
{
    m_bar->move(centredX(w, panelOffset, m_bar->width()), h - BarOffsetFromBottom);
    m_volumeSlider->move(m_bar->x() + m_bar->width(),
                         m_bar->y() + m_bar->height() - m_volumeSlider->height());
    m_positionSlider->setFixedSize(pageStack.width() + 2, SliderHeight);
    m_positionSlider->move(pageStack.x(), pageStack.y() + pageStack.height());
}

void FilmBar::enter()
{
    m_bar->show();
    m_bar->raise();
    m_positionSlider->show();
}

void FilmBar::leave()
{
    m_bar->hide();
    m_volume->setChecked(false);
    m_volumeSlider->hide();
    m_positionSlider->hide();
}

void FilmBar::showVolumeFromButton()
{
    m_volumeSlider->setVisible(m_volume->isChecked());
    m_volumeSlider->raise();
}
