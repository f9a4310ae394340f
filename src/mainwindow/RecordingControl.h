#pragma once

#include "common/Clock.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class DeviceSupervisor;
class ImageCanvas;
class LiveSource;
class OSDProcessor;
class QAbstractButton;
class QTimer;
class QWidget;
class RecordingWatch;

// One recording of the live camera into "yyyy-MM-dd_hh-mm-ss.avi" in the record folder, toggled
// by the side panel's Record video button and the Live bar's recording button alike; both
// buttons are kept checked exactly while the recording runs. The frame clock is restarted at
// every start and stop, so rebuilding the camera's graph never counts as a stalled camera.
//
// Nothing recorded is lost in silence: a recording starts only when its folder has room for a
// minute of the stream and its file can be made there (the preview is left alone otherwise),
// and stops at once, with its file finished, when its writer fails, when its disk falls below
// a minute of room or when its file is removed (RecordingWatch); each time the user is told
// on the canvas and in one message box.
//
// Threads: GUI thread only.
class RecordingControl : public QObject
{
    Q_OBJECT
public:
    // The live camera's recording operations.
    struct Camera
    {
        std::function<bool()> isOpen;
        // False when the recording could not start (the preview goes on); `error` says why.
        std::function<bool(const QString &path, QString *error)> startRecording;
        std::function<void()> stopRecording; // finishes the file
        // A recording was asked while the camera is not open: tells the user why nothing happens.
        std::function<void()> explainNotOpen;
        // What a minute of the stream needs on the disk (RecordingWatch::minuteEstimate);
        // none: nothing is known.
        std::function<qint64()> minuteBytes;

        // The live camera `source`, whose frames show on `liveCanvas`.
        static Camera live(LiveSource *source, ImageCanvas *liveCanvas, std::function<void()> explainNotOpen);
    };

    // The window's parts the recording works with; none is owned.
    struct Parts
    {
        QAbstractButton *recordButton = nullptr;
        QAbstractButton *liveRecordingButton = nullptr;
        QAbstractButton *freezeButton = nullptr;
        QTimer *deviceCheckTimer = nullptr;
        DeviceSupervisor *supervisor = nullptr;
        QWidget *dialogParent = nullptr;
        std::function<ImageCanvas *()> currentCanvas;
        // The displays of the current and of the live canvas; either may return null. The
        // recording time runs on the live canvas, whatever mode is shown.
        std::function<OSDProcessor *()> currentOSD;
        std::function<OSDProcessor *()> liveOSD;
        const Clock *clock = &Clock::system(); // names the files
    };

    explicit RecordingControl(const Parts &parts, QObject *parent = nullptr);

    // Without a camera every start request finds no open device.
    void setCamera(Camera camera) { m_camera = std::move(camera); }

    bool isRecording() const { return m_recording; }
    // The file a recording started at `start` writes, in `folder`.
    static QString filePath(const QString &folder, const QDateTime &start);

    // Starts a recording when idle, stops it when recording.
    void record();
    // After the camera's graph was rebuilt without recording by someone else: only the window
    // state returns to idle.
    void resetRecordingState();
    // The running recording's writer failed (`cause` in the media framework's words): the
    // recording stops at once and the user is told.
    void writerFailed(const QString &cause);

    // Checks the running recording's file and disk (tests run its checks by hand).
    RecordingWatch *watch() const { return m_watch; }

    // Repairs the recordings a crash left unfinished in `folder` off the GUI thread; the user
    // hears once what became of them.
    void repairUnfinished(const QString &folder);

signals:
    void recordingChanged(bool recording);
    // The user ended the recording; its finished file is at `path`.
    void recordingSaved(const QString &path);

private:
    void stop();
    void setButtonsChecked(bool checked);
    OSDProcessor *liveOSD() const;
    // A recording that could not start or had to stop: said on the canvas and in one box.
    void tell(const QString &text);
    void refuse(const QString &text);

    Parts m_parts;
    Camera m_camera;
    QString m_path; // of the running recording
    RecordingWatch *m_watch;
    bool m_recording = false;
};
