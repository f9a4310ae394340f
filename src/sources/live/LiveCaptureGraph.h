#pragma once

#include "sources/devices/CaptureFormatChooser.h"
#include "sources/media/GstRef.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class BusBridge;
class DeviceFilter;
class DirectShowTransformFilter;
class ICaptureCB;
class MediaGraph;
class RecordBranch;

// The live camera's pipeline:
//   camera → image/jpeg caps → tee
//   preview: queue (leaky, small) → doccamjpegdec → grabber (preview) → fakesink
//            (jpegdec → videoconvert instead for frames that element leaves alone; the
//            camera's first frame decides, see JpegDecodeBranch)
//   record:  a RecordBranch on the tee, added and removed while the camera keeps streaming
// It only builds, runs and finishes the pipeline; the live source decides when, at which
// format and with which devices, and prepares the sink's recording slots.
//
// Errors on the bus are logged and otherwise end as missing frames, which the main window's
// frame-timing supervision turns into a reopening of the camera. Three are told: the camera
// refusing to stream because another program holds it or the user may not use it
// (cameraRefused), a microphone failing during a recording, which ends only the sound, and
// the recording's writer failing (recordingFailed): the record branch then stops taking
// frames from the tee, so a failing writer never stops the preview, and its file is finished
// in place when the recording is stopped (see RecordBranch).
//
// Threads: GUI thread only. The grabbers run on the pipeline's streaming threads and reach
// the sink only through ICaptureCB.
class LiveCaptureGraph : public QObject
{
    Q_OBJECT

public:
    // How long finishing a recording may wait for the file's end before forcing it.
    static constexpr int FINISH_BOUND_MS = 4000;

    explicit LiveCaptureGraph(QObject *parent = nullptr);
    ~LiveCaptureGraph() override;

    // The capture path and the preview branch; false when the camera element cannot be made.
    bool buildPreview(DeviceFilter *camera, const CaptureMode &mode, ICaptureCB *sink);
    bool run();
    // A recording into an AVI file at `path` on the running pipeline, written through `fd` when
    // the file was created beforehand (OutputFile::create; the branch takes the descriptor) or
    // else a file created here, never through a link; `audio` may be null (no sound). False
    // when its branch could not be added; the preview goes on either way.
    bool startRecording(const QString &path, int fd, DeviceFilter *audio, ICaptureCB *sink);
    // Ends the recording; the preview goes on. False when the file's end had to be forced or
    // did not arrive; a recording that received no frame at all is removed (see RecordBranch).
    bool stopRecording();
    // Stops the pipeline; a recording is finished first so that its file is complete.
    bool finish();

    bool isRecording() const;
    const RecordBranch *recording() const { return m_record.get(); }
    // Why the running recording's writer failed, or empty.
    QString recordingFailure() const;
    QString captureCaps() const { return m_captureCaps; }
    GstElement *pipeline() const;

signals:
    // The camera will not stream: -EBUSY, another program holds it.
    void cameraRefused(int error);
    // The record branch failed while running (a full disk, a file size limit, a lost disk):
    // the preview goes on, the recording must be stopped. Emitted once per recording.
    void recordingFailed(const QString &cause);

private:
    void onBusMessage(GstMessage *message);

    std::unique_ptr<MediaGraph> m_graph;
    BusBridge *m_bus = nullptr;
    GstElement *m_camera = nullptr; // owned by the pipeline
    GstElement *m_tee = nullptr;    // owned by the pipeline
    std::shared_ptr<DirectShowTransformFilter> m_previewGrabber;
    std::unique_ptr<RecordBranch> m_record;
    QString m_captureCaps;
};
