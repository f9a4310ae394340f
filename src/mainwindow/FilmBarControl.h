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

private:
    FilmSource *m_source;
    FilmBar *m_bar;
    PopupSlot *m_popup;
    QWidget *m_dialogParent;
    OpenFileDialog m_openFileDialog = systemOpenFileDialog();
};
