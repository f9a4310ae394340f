#include "mainwindow/FilmBarControl.h"

#include "common/Config.h"
#include "common/UserPrompts.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/PopupSlot.h"
#include "sources/film/FilmSource.h"
#include "widgets/HorizontalSlider.h"
#include "widgets/ImageButton.h"
#include "widgets/Slider.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

FilmBarControl::FilmBarControl(FilmSource *source, FilmBar *bar, PopupSlot *popup, QWidget *dialogParent,
                               QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_bar(bar)
    , m_popup(popup)
    , m_dialogParent(dialogParent)
{
    connect(m_source, &FilmSource::tick, this, &FilmBarControl::filmTick);
    connect(m_source, &FilmSource::openFailed, this, &FilmBarControl::filmOpenFailed);
    connect(m_source, &FilmSource::opened, this, &FilmBarControl::filmOpened);
    connect(bar->openButton(), &ImageButton::clicked, this, &FilmBarControl::filmOpenFile);
    connect(bar->playButton(), &ImageButton::clicked, this, &FilmBarControl::filmPlay);
    connect(bar->pauseButton(), &ImageButton::clicked, this, &FilmBarControl::filmPause);
    connect(bar->stopButton(), &ImageButton::clicked, this, &FilmBarControl::filmStop);
    connect(bar->backwardButton(), &ImageButton::clicked, this, &FilmBarControl::filmBackward);
    connect(bar->forwardButton(), &ImageButton::clicked, this, &FilmBarControl::filmForward);
    connect(bar->volumeButton(), &ImageButton::clicked, this, &FilmBarControl::filmVolume);
    connect(bar->volumeSlider(), &Slider::valueChanged, m_source, &FilmSource::setVolume);
    connect(bar->positionSlider(), &HorizontalSlider::valueChanged, m_source, &FilmSource::setPosition);
    // After the seek: a paused film ticks no more, and its time follows the slider.
    connect(bar->positionSlider(), &HorizontalSlider::valueChanged, this, &FilmBarControl::showFilmTime);
}

void FilmBarControl::filmOpenFile()
{
    m_popup->close();
    const QString path = m_openFileDialog(m_dialogParent, QString(), Config::recordPath(), fileFilter());
    // A name the dialog gives for a file that is gone is opened too: the failure says so.
    if (!path.isEmpty())
        m_source->open(path);
}

QString FilmBarControl::fileFilter()
{
    // AVI and WMV first, as they always were; then every other type the program says it plays
    // (the desktop entry's), named as the desktop names it, and all of them together.
    QStringList filters{QStringLiteral("AVI Files (*.avi)"), QStringLiteral("WMV Files (*.wmv)")};
    QStringList all{QStringLiteral("*.avi"), QStringLiteral("*.wmv")};
    const QMimeDatabase db;
    for (const QString &name : FilmSource::mimeTypes()) {
        const QMimeType type = db.mimeTypeForName(name);
        QStringList globs;
        for (const QString &glob : type.globPatterns())
            if (!all.contains(glob))
                globs << glob;
        if (globs.isEmpty())
            continue;
        all << globs;
        filters << QStringLiteral("%1 (%2)").arg(type.comment(), globs.join(QLatin1Char(' ')));
    }
    filters << QStringLiteral("%1 (%2)").arg(QCoreApplication::translate("MainWindow", "All films"),
                                             all.join(QLatin1Char(' ')));
    return filters.join(QStringLiteral(";;"));
}

QString FilmBarControl::timeText(qint64 units)
{
    const qint64 seconds = std::max<qint64>(0, units) / 10000000;
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

void FilmBarControl::filmOpened(const QString &path)
{
    m_filmName = QFileInfo(path).fileName();
    showFilmTime();
}

void FilmBarControl::showFilmTime()
{
    if (!m_source->isLoaded()) {
        m_bar->setFilmInfo(QString(), QString());
        return;
    }
    m_bar->setFilmInfo(
        m_filmName,
        QStringLiteral("%1 / %2").arg(timeText(m_source->currentPosition()), timeText(m_source->duration())));
}

void FilmBarControl::filmOpenFailed(const QString &path, FilmSource::OpenFailure, const QString &reason)
{
    UserPrompts::instance()->critical(
        m_dialogParent, QCoreApplication::translate("MainWindow", "Error"),
        QCoreApplication::translate("MainWindow", "The film \"%1\" cannot be opened.")
                .arg(QFileInfo(path).fileName())
            + QLatin1Char('\n') + reason);
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
    showFilmTime();
}
