#include "mainwindow/SnapshotControl.h"

#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "common/UserPrompts.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <limits>

SnapshotControl::SnapshotControl(QAbstractButton *button, QWidget *dialogParent, QObject *parent)
    : QObject(parent)
    , m_button(button)
    , m_dialogParent(dialogParent)
{ }

void SnapshotControl::setLiveCamera(ImageCanvas *liveCanvas, std::function<bool()> hasPicture,
                                    std::function<void()> explainNoPicture)
{
    m_liveCanvas = liveCanvas;
    m_hasPicture = std::move(hasPicture);
    m_explainNoPicture = std::move(explainNoPicture);
}

void SnapshotControl::snapshot(ImageCanvas *canvas)
{
    const QString folder = Config::snapshotPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        // The main window's message: translated with the main window's other texts.
        UserPrompts::instance()->critical(
            m_dialogParent, QCoreApplication::translate("MainWindow", "Error"),
            QCoreApplication::translate("MainWindow", "Please select a folder first."));
        return;
    }
    // A click that stops a running series always goes through, camera or not.
    const bool stopsSeries = m_button->isCheckable() && !m_button->isChecked();
    if (!stopsSeries && canvas && canvas == m_liveCanvas && m_hasPicture && !m_hasPicture()) {
        // A checkable button the click toggled on shows no series running.
        if (m_button->isCheckable())
            m_button->setChecked(false);
        if (m_explainNoPicture)
            m_explainNoPicture();
        return;
    }

    SnapshotWriter::Settings settings = canvas->pipeline()->snapshotSettings();
    settings.folder = folder;

    if (Config::snapshotMode() == 1) {
        // A click on a plain button does not toggle it: the first click of a series finds it
        // unchecked and checks it here; later clicks toggle it themselves.
        if (!m_button->isCheckable()) {
            m_button->setCheckable(true);
            m_button->setChecked(true);
        }
        settings.continuous = 1;
        if (m_button->isChecked()) {
            settings.interval = static_cast<quint64>(Config::snapshotInterval());
            settings.duration = std::numeric_limits<quint64>::max();
            canvas->pipeline()->setSnapshotSettings(settings);
            canvas->pipeline()->startSnapshot();
        } else {
            canvas->pipeline()->setSnapshotSettings(settings);
            canvas->pipeline()->stopSnapshot();
        }
        return;
    }

    settings.continuous = 0;
    canvas->pipeline()->setSnapshotSettings(settings);
    canvas->pipeline()->stopSnapshot();
    canvas->pipeline()->startSnapshot();
    m_button->setChecked(false);
    m_button->setCheckable(false);
}
