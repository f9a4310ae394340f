#include "mainwindow/RecordingControl.h"

#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "common/Logging.h"
#include "common/UserPrompts.h"
#include "mainwindow/DeviceSupervisor.h"
#include "mainwindow/RecordingWatch.h"
#include "sources/live/LiveSource.h"
#include "sources/media/RecordingRecovery.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <algorithm>

RecordingControl::RecordingControl(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
    , m_watch(new RecordingWatch(this))
{
    connect(m_watch, &RecordingWatch::spaceRunningOut, this, [this](qint64 free, qint64 minuteBytes) {
        if (!m_recording)
            return;
        stop();
        // A small disk may be mostly free and still too small: the figure says why.
        const QLocale locale;
        tell(tr("The recording was stopped because the record folder has room for less than a minute "
                "more: a minute of recording needs about %1, and %2 are free.")
                 .arg(locale.formattedDataSize(minuteBytes), locale.formattedDataSize(free)));
    });
    connect(m_watch, &RecordingWatch::fileRemoved, this, [this] {
        if (!m_recording)
            return;
        stop();
        tell(tr("The recording was stopped because its file was removed."));
    });
}

OSDProcessor *RecordingControl::liveOSD() const
{
    return m_parts.liveOSD ? m_parts.liveOSD() : m_parts.currentOSD ? m_parts.currentOSD() : nullptr;
}

void RecordingControl::tell(const QString &text)
{
    OSDProcessor *live = liveOSD();
    OSDProcessor *current = m_parts.currentOSD ? m_parts.currentOSD() : nullptr;
    for (OSDProcessor *osd : {live, current != live ? current : nullptr}) {
        if (osd)
            osd->showNotice(text);
    }
    UserPrompts::instance()->critical(m_parts.dialogParent,
                                      QCoreApplication::translate("MainWindow", "Error"), text);
}

void RecordingControl::refuse(const QString &text)
{
    setButtonsChecked(false);
    UserPrompts::instance()->critical(m_parts.dialogParent,
                                      QCoreApplication::translate("MainWindow", "Error"), text);
}

void RecordingControl::writerFailed(const QString &cause)
{
    if (!m_recording)
        return;
    stop();
    tell(tr("The recording was stopped because its file could not be written: %1").arg(cause));
}

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
    m_watch->stop();
    if (m_camera.stopRecording)
        m_camera.stopRecording();
    // The time runs on the live canvas, whichever canvas is shown when the recording ends.
    if (OSDProcessor *osd = liveOSD())
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
        emit recordingSaved(m_path);
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
        // The button is let go before the box is up, not once it is answered.
        setButtonsChecked(false);
        UserPrompts::instance()->critical(
            m_parts.dialogParent, QCoreApplication::translate("MainWindow", "Error"),
            QCoreApplication::translate("MainWindow", "Please select a folder first."));
        return;
    }

    // The record branch joins the live graph only where a minute of the stream fits.
    const qint64 minute = m_camera.minuteBytes ? m_camera.minuteBytes() : 0;
    if (!m_watch->hasRoom(folder, minute)) {
        refuse(tr("There is not enough free space in the record folder for a minute of recording: a "
                  "minute needs about %1.")
                   .arg(QLocale().formattedDataSize(minute)));
        return;
    }
    // Two recordings started within one second share the name: the later one replaces it (the
    // camera makes the file, replacing any entry of the name without following it).
    const QString path = filePath(folder, m_parts.clock->now());
    QString error;
    if (!m_camera.startRecording(path, &error)) {
        qCWarning(lcMainWindow) << "the recording" << path << "did not start:" << error;
        refuse(tr("The recording cannot be written into the record folder: %1").arg(error));
        return;
    }
    if (OSDProcessor *osd = liveOSD())
        osd->startRecordingTime();
    m_recording = true;
    m_path = path;
    m_watch->start(path, minute);
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
    m_watch->stop();
    if (OSDProcessor *osd = liveOSD())
        osd->stopRecordingTime();
    setButtonsChecked(false);
    m_recording = false;
    emit recordingChanged(false);
}

void RecordingControl::repairUnfinished(const QString &folder)
{
    auto *recovery = new RecordingRecovery(this);
    connect(recovery, &RecordingRecovery::finished, this,
            [this](const QVector<RecordingRepairer::Outcome> &outcomes) {
                if (outcomes.isEmpty())
                    return;
                // Every recording saved is good news, told as such.
                const bool allRepaired = std::all_of(outcomes.begin(), outcomes.end(),
                                                     [](const auto &outcome) { return outcome.repaired; });
                if (allRepaired)
                    UserPrompts::instance()->information(m_parts.dialogParent, RecordingRecovery::title(),
                                                         RecordingRecovery::message(outcomes));
                else
                    UserPrompts::instance()->critical(m_parts.dialogParent, RecordingRecovery::title(),
                                                      RecordingRecovery::message(outcomes));
            });
    recovery->start({folder});
}

RecordingControl::Camera RecordingControl::Camera::live(LiveSource *source, ImageCanvas *liveCanvas,
                                                        std::function<void()> explainNotOpen)
{
    Camera camera;
    camera.isOpen = [source] { return source->isOpen(); };
    camera.startRecording = [source](const QString &path, QString *error) {
        return source->startRecording(path, error);
    };
    camera.stopRecording = [source] { source->stopRecording(); };
    camera.explainNotOpen = std::move(explainNotOpen);
    camera.minuteBytes = [source, liveCanvas] {
        return RecordingWatch::minuteEstimate(liveCanvas->pipeline()->outputImage(),
                                              source->captureFramesPerSecond());
    };
    return camera;
}
