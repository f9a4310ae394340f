#pragma once

#include "sources/media/GstRef.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// A small file beside a recording while it is written, so that a recording cut off by a crash
// or a power failure is found and repaired at the next start (RecordingRepairer).
//
// The journal of "<folder>/<name>" is "<folder>/.<name>.recording". It is written when the
// recording starts, rewritten every UPDATE_INTERVAL_MS with the time recorded so far and the
// formats the multiplexer negotiated, and removed once the file is finished (header and index
// written). A recording that could not be finished keeps its journal, so the next start
// repairs it. Each write goes to a temporary name created exclusively without following links
// and is renamed over the journal within the folder: a link planted under either name is
// replaced, never followed. The updater flushes to the disk (the first write at once, then
// every update), never the GUI thread: before an update claims a longer duration the
// recording's own data is flushed, so what the journal says was recorded is on the disk.
//
// While the journal is kept, its writer holds a shared lock (flock) on the recording: a
// repairer in another process sees that the file is still being written and leaves it alone.
//
// Threads: begin(), watch(), finish() and keep() on one thread (the GUI thread); the periodic
// updates run on a thread of the journal's own and read the multiplexer's negotiated formats
// there. m_mutex guards the contents and the multiplexer reference.
class RecordingJournal
{
public:
    static constexpr int UPDATE_INTERVAL_MS = 2000;
    static constexpr qint64 MAX_JOURNAL_BYTES = 64 * 1024;

    struct Contents
    {
        QString file;        // the recording's file name within the journal's folder
        QString path;        // the recording's full path when it started
        QString captureCaps; // what the camera was asked for
        QString videoCaps;   // what the multiplexer's video input negotiated
        QString audioCaps;   // ... and its audio input; empty without sound
        int width = 0;
        int height = 0;
        QString framerate;     // "30/1"
        QDateTime started;     // UTC
        qint64 recordedMs = 0; // wall-clock time recorded, as of the last update
        qint64 pid = 0;
        QString failure;    // set by a repair that failed: never tried again
        QDateTime failedAt; // UTC
    };

    ~RecordingJournal();
    RecordingJournal(const RecordingJournal &) = delete;
    RecordingJournal &operator=(const RecordingJournal &) = delete;

    // The journal of a recording that has just started writing `path`. Null, and logged, when
    // the folder cannot hold it or the recording file is not there; the recording goes on.
    static std::shared_ptr<RecordingJournal> begin(const QString &path, const QString &captureCaps);

    // Each update notes the formats the inputs of `muxer` have negotiated by then.
    void watch(GstElement *muxer);
    // The recording was finished as a complete file: the journal goes.
    void finish();
    // The recording ended without being finished: the journal stays for the repair.
    void keep();

    Contents contents() const;

    // ".<name>.recording" beside the recording.
    static QString journalPath(const QString &recordingPath);
    // The recording a journal file name stands for; empty when the name is not a journal's.
    static QString recordingName(const QString &journalFileName);

    static QByteArray encode(const Contents &contents);
    static bool decode(const QByteArray &bytes, Contents *contents);

    // Writes `bytes` under `name` in the folder open as `folderFd`: a temporary entry created
    // with O_EXCL | O_NOFOLLOW, flushed to the disk when `durable`, then renamed over `name`
    // (an existing entry, a link included, is replaced, never followed).
    static bool writeAtomically(int folderFd, const QString &name, const QByteArray &bytes, QString *error,
                                bool durable = true);
    // Reads the journal `name` in `folderFd` without following a link; false for anything but
    // a regular file of at most MAX_JOURNAL_BYTES.
    static bool read(int folderFd, const QString &name, Contents *contents, QString *error);

private:
    RecordingJournal() = default;
    void noteMuxerCaps();
    void noteCaps(bool video, const QString &caps);
    void run();
    void stopUpdates();
    // `durable`: the recording's data and then the journal are flushed to the disk.
    bool write(bool durable, QString *error);
    void closeFiles();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_updater;
    Contents m_contents;
    GstRef<GstElement> m_muxer;
    QElapsedTimer m_clock;
    QString m_journalName;
    int m_folderFd = -1;
    int m_recordingFd = -1; // holds the shared lock; flushed before each update
};
