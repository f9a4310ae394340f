#include "mainwindow/RecordingControl.h"

#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "common/Logging.h"
#include "common/UserPrompts.h"
#include "mainwindow/DeviceSupervisor.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

RecordingControl::RecordingControl(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
{ }

QString RecordingControl::filePath(const QString &folder, const QDateTime &start)
{
    return QDir(folder).filePath(start.toString("yyyy-MM-dd_hh-mm-ss") + ".avi");
}

void RecordingControl::setButtonsChecked(bool checked)
{
    for (QAbstractButton *button : {m_parts.recordButton, m_parts.liveRecordingButton}) {
        if (button)
            button->setChecked(checked);
    }
}

void RecordingControl::stop()
{
    if (m_parts.deviceCheckTimer)
        m_parts.deviceCheckTimer->stop();
    if (m_camera.stopRecording)
        m_camera.stopRecording();
    if (OSDProcessor *osd = m_parts.currentOSD ? m_parts.currentOSD() : nullptr)
        osd->stopRecordingTime();
    setButtonsChecked(false);
    m_recording = false;
    if (m_parts.supervisor)
        m_parts.supervisor->restartClock();
    if (m_parts.deviceCheckTimer)
        m_parts.deviceCheckTimer->start();
    emit recordingChanged(false);
}

void RecordingControl::record()
{
    if (m_recording) {
        stop();
        return;
    }

    // The click toggled the button it came from; until a recording runs both stay unchecked.
    if (!m_camera.isOpen || !m_camera.isOpen()) {
        setButtonsChecked(false);
        if (m_camera.explainNotOpen)
            m_camera.explainNotOpen();
        return;
    }

    const QString folder = Config::recordPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        // The main window's message: translated with the main window's other texts.
        UserPrompts::instance()->critical(
            m_parts.dialogParent, QCoreApplication::translate("MainWindow", "Error"),
            QCoreApplication::translate("MainWindow", "Please select a folder first."));
        setButtonsChecked(false);
        return;
    }

    // Two recordings started within one second share the name: the later one replaces it.
    const QString path = filePath(folder, m_parts.clock->now());
    if (QFileInfo::exists(path) && !QFile::remove(path))
        qCWarning(lcMainWindow) << "cannot replace" << path;

    m_camera.startRecording(path);
    if (OSDProcessor *osd = m_parts.currentOSD ? m_parts.currentOSD() : nullptr)
        osd->startRecordingTime();
    m_recording = true;
    if (m_parts.supervisor)
        m_parts.supervisor->restartClock();

    if (ImageCanvas *canvas = m_parts.currentCanvas ? m_parts.currentCanvas() : nullptr) {
        if (canvas->pipeline()->freeze()) {
            canvas->pipeline()->setFreeze(false);
            if (m_parts.freezeButton)
                m_parts.freezeButton->setChecked(false);
        }
    }
    setButtonsChecked(true);
    emit recordingChanged(true);
}

void RecordingControl::resetRecordingState()
{
    if (OSDProcessor *osd = m_parts.currentOSD ? m_parts.currentOSD() : nullptr)
        osd->stopRecordingTime();
    setButtonsChecked(false);
    m_recording = false;
    emit recordingChanged(false);
}
