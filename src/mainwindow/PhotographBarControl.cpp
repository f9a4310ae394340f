#include "mainwindow/PhotographBarControl.h"

#include "common/Config.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/PopupSlot.h"
#include "sources/photograph/PhotographSource.h"
#include "widgets/ImageButton.h"
#include "widgets/Slider.h"

#include <QDir>
#include <QFileInfo>

PhotographBarControl::PhotographBarControl(PhotographSource *source, PhotographBar *bar, PopupSlot *popup,
                                           QWidget *dialogParent, QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_bar(bar)
    , m_popup(popup)
    , m_dialogParent(dialogParent)
{
    using Control = PhotographBarControl;
    connect(m_source, &PhotographSource::playDone, this, &Control::photographPlayDone);
    connect(m_source, &PhotographSource::photographChanged, this, &Control::photographIdChange);
    connect(bar->openButton(), &ImageButton::clicked, this, &Control::photographOpenDirectory);
    connect(bar->previousButton(), &ImageButton::clicked, this, &Control::photographPrevious);
    connect(bar->slideButton(), &ImageButton::clicked, this, &Control::photographPlay);
    connect(bar->nextButton(), &ImageButton::clicked, this, &Control::photographNext);
    connect(bar->thumbnailButton(), &ImageButton::clicked, this, &Control::photographPreview);
    connect(bar->timeButton(), &ImageButton::clicked, this, &Control::photographPlayInterval);
    connect(bar->intervalSelector(), &Slider::valueChanged, this, &Control::photographPlayIntervalChanged);
}

void PhotographBarControl::photographOpenDirectory()
{
    m_popup->close();
    const QString file = m_openFileDialog(m_dialogParent, QString(), Config::snapshotPath(), QString());
    if (file.isEmpty())
        return;
    const QFileInfo chosen(file);
    if (!QDir(chosen.absolutePath()).exists())
        return;
    if (m_source->openPhotograph(chosen.absolutePath(), chosen.fileName()))
        m_bar->slideButton()->setChecked(false);
}

void PhotographBarControl::photographPrevious()
{
    m_popup->close();
    // Stepping by hand ends the slide show, and the button says so.
    m_bar->slideButton()->setChecked(false);
    m_source->previous();
}

void PhotographBarControl::photographPlay()
{
    m_popup->close();
    if (m_bar->slideButton()->isChecked())
        m_source->play();
    else
        m_source->stop();
}

void PhotographBarControl::photographPlayDone()
{
    m_bar->slideButton()->setChecked(false);
}

void PhotographBarControl::photographNext()
{
    m_popup->close();
    m_bar->slideButton()->setChecked(false);
    m_source->next();
}

void PhotographBarControl::photographPreview()
{
    m_popup->close();
    m_bar->showStripFromButton();
}

void PhotographBarControl::photographPlayInterval()
{
    m_popup->close();
    m_bar->showIntervalFromButton();
}

void PhotographBarControl::photographPlayIntervalChanged(int value)
{
    m_source->setPlayInterval(PhotographBar::intervalMs(value));
}

void PhotographBarControl::photographIdChange(int id)
{
    m_bar->showCounter(id, m_source->count());
}
