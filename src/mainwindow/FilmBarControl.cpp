#include "mainwindow/FilmBarControl.h"

#include "common/Config.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/PopupSlot.h"
#include "sources/film/FilmSource.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/Slider.h"

#include <QFileInfo>

FilmBarControl::FilmBarControl(FilmSource *source, FilmBar *bar, PopupSlot *popup, QWidget *dialogParent,
                               QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_bar(bar)
    , m_popup(popup)
    , m_dialogParent(dialogParent)
{
    connect(m_source, &FilmSource::tick, this, &FilmBarControl::filmTick);
    connect(bar->openButton(), &ImageButton::clicked, this, &FilmBarControl::filmOpenFile);
    connect(bar->playButton(), &ImageButton::clicked, this, &FilmBarControl::filmPlay);
    connect(bar->pauseButton(), &ImageButton::clicked, this, &FilmBarControl::filmPause);
    connect(bar->stopButton(), &ImageButton::clicked, this, &FilmBarControl::filmStop);
    connect(bar->backwardButton(), &ImageButton::clicked, this, &FilmBarControl::filmBackward);
    connect(bar->forwardButton(), &ImageButton::clicked, this, &FilmBarControl::filmForward);
    connect(bar->volumeButton(), &ImageButton::clicked, this, &FilmBarControl::filmVolume);
    connect(bar->volumeSlider(), &Slider::valueChanged, m_source, &FilmSource::setVolume);
    connect(bar->positionSlider(), &HorizontalSlider::valueChanged, m_source, &FilmSource::setPosition);
}

void FilmBarControl::filmOpenFile()
{
    m_popup->close();
    const QString path = m_openFileDialog(m_dialogParent, QString(), Config::recordPath(),
                                          "AVI Files (*.avi);;WMV Files (*.wmv)");
    if (!path.isEmpty() && QFileInfo::exists(path))
        m_source->open(path);
}

void FilmBarControl::filmPlay()
{
    m_popup->close();
    m_source->play();
}

void FilmBarControl::filmPause()
{
    m_popup->close();
    m_source->pause();
}

void FilmBarControl::filmStop()
{
    m_popup->close();
    m_source->stop();
}

void FilmBarControl::filmBackward()
{
    m_popup->close();
    m_source->backward();
}

void FilmBarControl::filmForward()
{
    m_popup->close();
    m_source->forward();
}

void FilmBarControl::filmVolume()
{
    m_popup->close();
    m_bar->showVolumeFromButton();
}

void FilmBarControl::filmTick()
{
    // The setter repaints without valueChanged(), so the tick never seeks.
    m_bar->positionSlider()->setValue(m_source->position());
}
