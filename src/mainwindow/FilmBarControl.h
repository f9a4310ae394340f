#pragma once

#include "mainwindow/OpenFileDialog.h"
#include "sources/film/FilmSource.h"

#include <QObject>

class FilmBar;
class PopupSlot;
class QWidget;

// What the film bar's buttons and sliders do: open a film through the file dialog, play,
// pause, stop, step the speed backward and forward, show the volume slider, and move the
// position slider with the film. Each button action closes an open popup first. A film that
// cannot be opened is reported in a box that names it and says why.
//
// Threads: GUI thread only.
class FilmBarControl : public QObject
{
    Q_OBJECT
public:
    // Connects the bar's buttons and sliders and the source's tick; the dialog opens over
    // `dialogParent`.
    FilmBarControl(FilmSource *source, FilmBar *bar, PopupSlot *popup, QWidget *dialogParent,
                   QObject *parent);

    void setOpenFileDialog(OpenFileDialog dialog) { m_openFileDialog = std::move(dialog); }
    // The open-file dialog's filter: AVI, WMV, each other film type the program declares, and
    // all of them together.
    static QString fileFilter();
    // A time of `units` (100 ns) as the bar shows it: m:ss, or h:mm:ss from an hour on.
    static QString timeText(qint64 units);

public slots:
    void filmOpenFile();
    void filmPlay();
    void filmPause();
    void filmStop();
    void filmBackward();
    void filmForward();
    void filmVolume();
    void filmTick();
    void filmOpenFailed(const QString &path, FilmSource::OpenFailure failure, const QString &reason);
    void filmOpened(const QString &path);

private:
    FilmSource *m_source;
    FilmBar *m_bar;
    PopupSlot *m_popup;
    // Shows the film's name and its elapsed and total time on the bar.
    void showFilmTime();

    QWidget *m_dialogParent;
    QString m_filmName;
    OpenFileDialog m_openFileDialog = systemOpenFileDialog();
};
