#pragma once

#include "common/LiveSourceBase.h"
#include "common/MappedBlock.h"
#include "sources/devices/DeviceBackend.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class ICaptureCB;
class LiveCaptureGraph;
class QTimer;

// The live camera: finds the document camera among the video inputs, opens it once it has
// been present for more than 2000 ms after its first sighting, runs the capture pipeline that
// feeds the canvas, records into AVI files and offers the camera's controls.
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
    void startRecording(const QString &path);
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
    QString recordingPath() const { return m_recordPath; }
    int captureWidth() const { return m_width; }
    int captureHeight() const { return m_height; }

signals:
    void devicePlugIn();

public slots:
    void checkExistance();

private:
    void construct();
    void buildGraph(bool record);
    void teardownGraph();
    void freeRecordSlots();
    quint32 readRegister(quint32 address);

    QTimer *m_presenceTimer = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_recordWidth = 0; // kept as given; recordings have the capture size
    int m_recordHeight = 0;
    std::unique_ptr<DeviceBackend> m_backend;
    std::unique_ptr<DeviceFilter> m_device;
    bool m_hasCameraControl = false;
    LiveCaptureGraph *m_graph = nullptr; // child while a graph exists
    QElapsedTimer m_settleClock;
    ICaptureCB *m_sink = nullptr;
    bool m_open = false;
    QString m_recordPath;
    MappedBlock m_recordSlots[2];
};
