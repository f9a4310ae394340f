#pragma once

#include "common/Clock.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class DeviceSupervisor;
class ImageCanvas;
class OSDProcessor;
class QAbstractButton;
class QTimer;
class QWidget;

// One recording of the live camera into "yyyy-MM-dd_hh-mm-ss.avi" in the record folder, toggled
// by the side panel's Record video button and the Live bar's recording button alike; both
// buttons are kept checked exactly while the recording runs. The frame clock is restarted at
// every start and stop, so rebuilding the camera's graph never counts as a stalled camera.
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
        std::function<void(const QString &)> startRecording;
        std::function<void()> stopRecording; // finishes the file
        // A recording was asked while the camera is not open: tells the user why nothing happens.
        std::function<void()> explainNotOpen;
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
        std::function<OSDProcessor *()> currentOSD; // may return null
        const Clock *clock = &Clock::system();      // names the files
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

signals:
    void recordingChanged(bool recording);

private:
    void stop();
    void setButtonsChecked(bool checked);

    Parts m_parts;
    Camera m_camera;
    bool m_recording = false;
};
