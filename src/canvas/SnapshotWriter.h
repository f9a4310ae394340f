#pragma once

#include "common/Clock.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <limits>

class QImage;

// Snapshot files of one canvas: the arming state, single and timed continuous modes, and the
// JPEG written from inside the frame processing ("yyyy-MM-dd_hh-mm-ss.jpg" in the snapshot
// folder, quality 100).
//
// Threads: owned by the canvas and guarded by the canvas lock; every member is called with
// that lock held (the GUI thread for the settings and arming, the thread processing the frame
// for write()).
class SnapshotWriter
{
public:
    static constexpr quint64 DEFAULT_INTERVAL = 60000;
    static constexpr quint64 DEFAULT_DURATION = 3600000;
    static constexpr quint64 NO_END = std::numeric_limits<quint64>::max();
    static constexpr int JPEG_QUALITY = 100;

    explicit SnapshotWriter(const Clock &clock);

    // What the main window sets before it arms the canvas.
    struct Settings
    {
        QString folder;
        int continuous = 0;                  // non-zero: timed snapshots; 0: one snapshot
        quint64 interval = DEFAULT_INTERVAL; // seconds between timed snapshots
        quint64 duration = DEFAULT_DURATION; // timed snapshots end this long after arming
    };

    void setSettings(const Settings &settings) { m_settings = settings; }
    const Settings &settings() const { return m_settings; }
    bool isArmed() const { return m_armed; }

    // Arms when the folder exists as a directory; otherwise nothing changes.
    void start();
    void stop() { m_armed = false; }

    // The snapshot step for one processed picture at frame size. Returns true when a file was
    // written. A due file that cannot be written leaves a debug line with the system's cause and
    // returns false with failure() set, in words for the user; a file is not written when the
    // folder's file system would keep less than MIN_FREE_AFTER free.
    bool write(const QImage &picture);
    // Why the last due snapshot was not written; empty after one that was, or when none was due.
    const QString &failure() const { return m_failure; }
    // The file the last write() that returned true wrote.
    const QString &written() const { return m_written; }
    static constexpr qint64 MIN_FREE_AFTER = 4 * 1024 * 1024;

    // The free space of a folder in bytes, -1 when unknown (the system's by default; tests
    // hand in their own). Called on the thread that writes.
    using FreeSpace = std::function<qint64(const QString &folder)>;
    void setFreeSpace(FreeSpace freeSpace) { m_freeSpace = std::move(freeSpace); }

    // File name for a moment: "<folder>/yyyy-MM-dd_hh-mm-ss.jpg".
    QString filePath(const QDateTime &when) const;

private:
    // Whether a file is due now; updates the arming state as the mode says.
    bool due();

    const Clock *m_clock; // times the series and names the files
    bool m_armed = false;
    Settings m_settings;
    Stopwatch m_stopwatch;
    quint64 m_lastSecond = 0;
    QString m_failure;
    QString m_written;
    FreeSpace m_freeSpace;
};
