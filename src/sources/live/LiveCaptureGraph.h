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
class RecordingJournal;

// The live camera's pipeline:
//   camera → image/jpeg caps → tee
//   preview: queue (leaky, small) → doccamjpegdec → grabber (preview) → fakesink
//            (jpegdec → videoconvert instead for frames that element leaves alone; the
//            camera's first frame decides, see JpegDecodeBranch)
//   record:  queue → grabber (record) → avimux → filesink
//            audio input → audioconvert → audioresample → queue → avimux
// While a recording runs, a RecordingJournal beside its file lets a crash be repaired at the
// next start. It only builds, runs and finishes the pipeline; the live source decides when, at which
// format and with which devices, and prepares the sink's recording slots.
//
// Errors on the bus are logged and otherwise end as missing frames, which the main window's
// frame-timing supervision turns into a reopening of the camera; an error of the record
// branch is reported with recordingFailed(), and the branch stops taking frames from the tee,
// so a failing writer never stops the preview. A recording its multiplexer could not finish is
// finished in place (AviInPlaceFinisher).
//
// Threads: GUI thread only. The grabbers run on the pipeline's streaming threads and reach
// the sink only through ICaptureCB.
class LiveCaptureGraph : public QObject
{
    Q_OBJECT

public:
    // How long finishing a recording may wait for the file's end before forcing it.
    static constexpr int FINISH_BOUND_MS = 4000;
    // How much later sound enters the multiplexer than pictures of the same moment (see
    // addRecordBranch): the multiplexer's own hold-back of pictures.
    static constexpr gint64 AUDIO_INTERLEAVE_OFFSET_NS = GST_SECOND / 2;

    explicit LiveCaptureGraph(QObject *parent = nullptr);
    ~LiveCaptureGraph() override;

    // The capture path and the preview branch; false when the camera element cannot be made.
    bool buildPreview(DeviceFilter *camera, const CaptureMode &mode, ICaptureCB *sink);
    // The file a recording is to be written to, created beforehand (OutputFile::create) so
    // that a folder that cannot take it is found before the live graph is touched. The graph
    // takes the descriptor and closes it once the file is finished.
    void takeRecordFile(int fd);
    // The record branch into an AVI file at `path`, through the descriptor taken before or
    // else a file created here, never through a link; `audio` may be null (no sound).
    bool addRecordBranch(const QString &path, DeviceFilter *audio, ICaptureCB *sink);
    bool run();
    // Stops the pipeline; a recording is finished first so that its file is complete.
    // Returns false when the file's end had to be forced or did not arrive. A recording that
    // received no frame at all (the camera stopped before its first one) would be a file no
    // player opens; it is removed.
    bool finish();

    bool isRecording() const { return static_cast<bool>(m_muxer); }
    // Why the record branch failed while running (its writer's error), or empty.
    QString recordingFailure() const { return m_recordFailure; }
    QString captureCaps() const { return m_captureCaps; }
    GstElement *pipeline() const;

signals:
    // The record branch failed while running (a full disk, a file size limit, a lost disk):
    // the preview goes on, the recording must be stopped. Emitted once per recording.
    void recordingFailed(const QString &cause);

private:
    void recordBranchError(const QString &element, const QString &text, const QString &details);
    // Finishes in place a file its multiplexer could not finish; true when it is complete.
    bool finishInPlace();

    std::unique_ptr<MediaGraph> m_graph;
    BusBridge *m_bus = nullptr;
    GstElement *m_tee = nullptr; // owned by the pipeline
    std::shared_ptr<DirectShowTransformFilter> m_previewGrabber;
    std::shared_ptr<DirectShowTransformFilter> m_recordGrabber;
    GstRef<GstElement> m_muxer;
    QString m_recordPath;
    int m_recordFd = -1;
    QStringList m_recordElements; // the names of the record branch's elements
    QString m_recordFailure;
    QString m_captureCaps;
    std::shared_ptr<RecordingJournal> m_journal; // while a recording runs
};
