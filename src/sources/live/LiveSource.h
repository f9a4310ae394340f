#pragma once

#include "common/LiveSourceBase.h"
#include "common/MappedBlock.h"
#include "sources/devices/DeviceBackend.h"
#include "sources/live/CaptureDeviceSearch.h"

#include <QElapsedTimer>
#include <QSize>
#include <QString>

#include <memory>

class ICaptureCB;
class LiveCaptureGraph;
class QTimer;

// The live camera: finds the document camera among the video inputs, opens it once it has
// been present for more than 2000 ms after its first sighting, runs the capture pipeline that
// feeds the canvas, records into AVI files and offers the camera's controls.
//
// A recording joins the running pipeline and leaves it again (RecordBranch): the camera goes
// on streaming. The microphone is tried on its own first (MicrophoneCheck); one that does not
// start leaves the recording without sound. A camera that is there but cannot be used (the
// user may not open it, another program streams from it) is not opened: availability() says
// why, once per change in the log, and the presence check opens it as soon as the cause is
// gone.
//
// The devices come from a DeviceBackend chosen once when the source is made: the system's
// V4L2 cameras, or the simulated camera with DOCUMENT_CAMERA_SIMULATED=1.
//
// Threads: everything, including the presence timer and devicePlugIn(), runs on the GUI
// thread; the source takes no lock. Frames reach the sink on streaming threads through the
// grabbers. The sink's recording slots are allocated here before recordingActive is raised
// and freed only after the pipeline has stopped and recordingActive is cleared.
class LiveSource : public LiveSourceBase
{
    Q_OBJECT

public:
    // What the presence check found, as the user is told.
    enum class Availability {
        Absent,       // no supported camera is connected
        Starting,     // found, waiting out the settle time
        Open,         // streaming into the canvas
        NoPermission, // the user may not open its node (problemLocation())
        InUse,        // another program streams from it
    };

    static constexpr int PRESENCE_INTERVAL_MS = 500;
    static constexpr qint64 SETTLE_MS = 2000;
    static constexpr int BRIGHTNESS_STEP = 20;

    LiveSource(ICaptureCB *sink, int width, int height, int recordWidth, int recordHeight,
               QObject *parent = nullptr);
    // The same with the device backend given (tests, the simulated camera).
    LiveSource(std::unique_ptr<DeviceBackend> backend, ICaptureCB *sink, int width, int height,
               int recordWidth, int recordHeight, QObject *parent = nullptr);
    ~LiveSource() override;

    bool isOpen() override;
    void close();
    void setResolution(int width, int height);
    // Rebuilds the graph with a record branch into `path`. The file is created first, never
    // through a link: when the folder cannot take it (not writable, a link that cannot be
    // removed), or the record branch does not start, the preview stays as it was and `error`
    // says why. Returns whether the recording runs.
    bool startRecording(const QString &path, QString *error = nullptr);
    void stopRecording();

    qint32 brightness();
    qint32 setBrightness(qint32 value);
    void brightnessUp();
    void brightnessDown();
    int brightnessLevel() override;
    int brightnessLevelMax() override;
    int brightnessLevelMin() override;
    qint32 triggerAutoFocus();
    qint32 flicker() override;
    qint32 setFlicker(qint32 value) override;
    void setMacro(bool on);
    void resumeCapture();
    void pauseCapture();
    double deviceZoomPosition() override;
    double deviceZoomFactor() override;
    qint32 setExtensionControl(quint32 controlId, void *data, quint32 length) override;
    qint32 getExtensionControl(quint32 controlId, void *data, quint32 length) override;

    // The device search of one category; see CaptureDeviceSearch.
    std::unique_ptr<DeviceFilter> enumCaptureFilter(DeviceCategory category);

    // What the running graph asks of the camera ("image/jpeg,width=...,..."); empty when no
    // graph runs. The recording path of the last startRecording() taken.
    QString captureCaps() const;
    // The frame size the running graph asks of the camera, one the camera offers; an invalid
    // size when no graph runs.
    QSize captureSize() const;
    // The frame rate the running graph asks of the camera; 0 when no graph runs.
    double captureFramesPerSecond() const;
    QString recordingPath() const { return m_recordPath; }
    bool isRecording() const;
    // The running pipeline (measurements and tests); null when none runs.
    const LiveCaptureGraph *graph() const { return m_graph; }

    Availability availability() const { return m_availability; }
    // The node a camera without permission was found at ("/dev/video0").
    QString problemLocation() const { return m_problemLocation; }
    int captureWidth() const { return m_width; }
    int captureHeight() const { return m_height; }

signals:
    void devicePlugIn();
    void availabilityChanged();
    // The running recording's writer failed (`cause` in the media framework's words); the
    // preview goes on, the recording should be stopped.
    void recordingFailed(const QString &cause);

public slots:
    void checkExistance();

private:
    void construct();
    // Builds and runs the graph; whether it runs, with its record branch when asked for one.
    bool buildGraph(bool record);
    void teardownGraph();
    bool startRecordBranch();
    void allocateRecordSlots(int bytes);
    void freeRecordSlots();
    void setAvailability(Availability availability, const QString &location = QString());
    void onCameraRefused(int error);
    void closeRecordFile();
    quint32 readRegister(quint32 address);

    QTimer *m_presenceTimer = nullptr;
    int m_width = 0;
    int m_height = 0;
    CaptureMode m_mode;    // what the running graph asked of the camera
    int m_recordWidth = 0; // kept as given; recordings have the capture size
    int m_recordHeight = 0;
    std::unique_ptr<DeviceBackend> m_backend;
    std::unique_ptr<DeviceFilter> m_device;
    // The lowest camera rank the presence checks take; raised for good once a vendor's camera
    // has been open.
    CaptureDeviceSearch::CameraRank m_lowestRank = CaptureDeviceSearch::CameraRank::BuiltIn;
    bool m_hasCameraControl = false;
    LiveCaptureGraph *m_graph = nullptr; // child while a graph exists
    QElapsedTimer m_settleClock;
    ICaptureCB *m_sink = nullptr;
    bool m_open = false;
    QString m_recordPath;
    int m_recordFd = -1; // created by startRecording(), handed to the next record graph
    MappedBlock m_recordSlots[2];
    int m_recordSlotBytes = 0;
    Availability m_availability = Availability::Absent;
    QString m_problemLocation;
};
