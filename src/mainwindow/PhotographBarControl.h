#pragma once

#include "mainwindow/OpenFileDialog.h"

#include <QObject>

class PhotographBar;
class PhotographSource;
class PopupSlot;
class QWidget;

// What the photograph bar's buttons and sliders do: open a folder through a picture chosen in
// the file dialog, previous and next, the slide show and its interval, the thumbnail strip, and
// the counter that follows the shown picture. Each button action closes an open popup first.
//
// Threads: GUI thread only.
class PhotographBarControl : public QObject
{
    Q_OBJECT
public:
    // Connects the bar's buttons and slider and the source's signals; the dialog opens over
    // `dialogParent`.
    PhotographBarControl(PhotographSource *source, PhotographBar *bar, PopupSlot *popup,
                         QWidget *dialogParent, QObject *parent);

    void setOpenFileDialog(OpenFileDialog dialog) { m_openFileDialog = std::move(dialog); }

public slots:
    void photographOpenDirectory();
    void photographPrevious();
    void photographPlay();
    void photographPlayDone();
    void photographNext();
    void photographPreview();
    void photographPlayInterval();
    void photographPlayIntervalChanged(int value);
    void photographIdChange(int id);

private:
    PhotographSource *m_source;
    PhotographBar *m_bar;
    PopupSlot *m_popup;
    QWidget *m_dialogParent;
    OpenFileDialog m_openFileDialog = systemOpenFileDialog();
};
