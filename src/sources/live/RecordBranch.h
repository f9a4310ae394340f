#pragma once

#include "sources/media/GstRef.h"

#include <QString>

#include <memory>
#include <vector>

class DeviceFilter;
class DirectShowTransformFilter;
class ICaptureCB;
class MediaGraph;
class RecordingJournal;
struct RecordingTimeline;

// The record branch of the live pipeline. It joins the camera's tee while the pipeline runs
// and leaves it again, so starting and stopping a recording never stops the camera:
//   tee → queue (leaky) → grabber (record) → videorate → avimux → fdsink
//   microphone → audioconvert → audioresample → S16LE → audiorate → queue → avimux
//
// Time comes from the clock, not from the frames counted: the multiplexer numbers pictures
// one after another, so videorate turns the camera's timestamps into the negotiated rate
// (repeating a picture where the camera delivered fewer, as in low light). Picture and sound
// start together: the running time of the first recorded picture starts the file, sound
// before it is cut off and a late start of the sound is filled with silence. Stopping puts a
// last picture at the moment of the stop, so the pictures last as long as the recording did.
//
// A branch that cannot be built or started is taken out again and the preview goes on; a
// microphone that fails to start is left out and the file is written without sound. The file
// is opened without following a link. A writer that fails (a full disk, a file size limit, a
// lost disk) makes the branch take nothing more from the tee, so the preview goes on; the
// multiplexer cannot write the file's end then, so finish() writes it in place
// (AviInPlaceFinisher).
//
// Threads: GUI thread only. The grabber and the pad probes run on streaming threads and share
// only the timeline (atomics, and state that each streaming thread keeps to itself).
class RecordBranch
{
public:
    // The pipeline and its tee stay owned by the graph; `captureCaps` is noted in the journal.
    RecordBranch(MediaGraph *graph, GstElement *tee, QString captureCaps);
    ~RecordBranch();
    RecordBranch(const RecordBranch &) = delete;
    RecordBranch &operator=(const RecordBranch &) = delete;

    // Builds the branch into an AVI file at `path`, brings it to the pipeline's state and only
    // then joins it to the tee. The file is written through `fd` when it was created beforehand
    // (the branch takes the descriptor, also when it fails), else created here. `audio` may be
    // null (no sound). False when the branch could not be made; nothing of it is left in the
    // pipeline then.
    bool start(const QString &path, int fd, DeviceFilter *audio, ICaptureCB *sink);
    // Ends the file and takes the branch out of the pipeline. True when the file is complete
    // (header and index written); a file that received no picture is removed.
    bool finish(int boundMs);

    bool isActive() const { return static_cast<bool>(m_muxer); }
    bool hasSound() const { return !m_audioElements.empty(); }
    QString path() const { return m_path; }
    // Whether `object` is one of the sound's elements (an error from it costs only the sound).
    bool isSoundElement(GstObject *object) const;
    // Whether `object` is one of the pictures' elements, the multiplexer and the writer (an
    // error from it ends the recording).
    bool isPictureElement(GstObject *object) const;
    // The pictures' branch reported an error (`text`, `details` as the bus gives them); true the
    // first time, when the failure's cause is taken from them.
    bool fail(const QString &text, const QString &details);
    // Why the writer failed, in the system's words where it gave them; empty while it works.
    QString failure() const { return m_failure; }
    // The microphone failed while recording: its stream ends here, the pictures go on.
    void endSound();
    // Running time (ns) of the first recorded picture and of the first sound sample written;
    // -1 while there is none. Measurements only.
    qint64 firstPictureNs() const;
    qint64 firstSoundNs() const;
    // ... and of the first sound the microphone gave, before it was cut or padded.
    qint64 soundHeardNs() const;

private:
    bool addVideo(ICaptureCB *sink);
    bool addSound(DeviceFilter *audio);
    void removeSound();
    void remove(std::vector<GstElement *> &elements);
    bool syncStates(const std::vector<GstElement *> &elements);
    void closeWithPicture();
    bool finishInPlace();
    void closeFile();

    MediaGraph *m_graph;
    GstElement *m_tee;
    QString m_captureCaps;
    QString m_path;
    int m_fd = -1;
    QString m_failure;
    GstRef<GstElement> m_muxer;
    GstRef<GstPad> m_teePad;
    GstRef<GstPad> m_queueInput;
    std::vector<GstElement *> m_videoElements; // owned by the pipeline while added, sink first
    std::vector<GstElement *> m_audioElements;
    std::shared_ptr<DirectShowTransformFilter> m_grabber;
    std::shared_ptr<RecordingTimeline> m_timeline;
    std::shared_ptr<RecordingJournal> m_journal;
};
