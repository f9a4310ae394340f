#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class QImage;
class QTimer;

// Watches the file of a running recording from the GUI thread, once a second: the recording
// must stop cleanly, with its file finished, while its disk still has room for a minute of the
// stream (the index and header the file gets at its end need far less), and it cannot go on
// when its file was removed (a removed folder takes the file along; writing on would only fill
// a file nobody can open).
//
// A minute of the stream is what the recording needs ahead of it: before it starts, an
// estimate from the live picture's JPEG size and the camera's frame rate plus a minute of
// sound; while it runs, the larger of that and what the file really grew by of late.
//
// Threads: GUI thread only.
class RecordingWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int CHECK_INTERVAL_MS = 1000;
    // 16-bit stereo at 48 kHz: more than any microphone the program records gives.
    static constexpr qint64 SOUND_BYTES_PER_SECOND = 192000;
    // How far back the file's growth is measured.
    static constexpr qint64 RATE_WINDOW_MS = 5000;

    // The bytes a minute of recording needs when each frame is a JPEG like that of `picture`
    // (at the recording's quality) and `framesPerSecond` of them come; with sound.
    static qint64 minuteEstimate(const QImage &picture, double framesPerSecond);

    // The free space of a folder in bytes, -1 when unknown.
    using FreeSpace = std::function<qint64(const QString &folder)>;

    explicit RecordingWatch(QObject *parent = nullptr);

    // Replaces the system's free space (tests).
    void setFreeSpace(FreeSpace freeSpace) { m_freeSpace = std::move(freeSpace); }
    // Whether `folder` has room for a minute of the stream; an unknown free space counts as room.
    bool hasRoom(const QString &folder, qint64 minuteBytes) const;

    void start(const QString &path, qint64 minuteBytes);
    void stop();
    bool isWatching() const;
    // What a minute needs by now: the estimate, or the measured growth when that is more.
    qint64 minuteBytes() const;

    // Runs one check at once (the timer runs it every CHECK_INTERVAL_MS).
    void check();

signals:
    // The disk has less than a minute of the stream left; `free` bytes.
    void spaceRunningOut(qint64 free, qint64 minuteBytes);
    // The recording's file is no longer under its name.
    void fileRemoved();

private:
    bool sameFile() const;

    QTimer *m_timer;
    FreeSpace m_freeSpace;
    QString m_path;
    qint64 m_estimate = 0;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QElapsedTimer m_clock;
    // The file's size at the start of the measuring window.
    qint64 m_windowStartMs = 0;
    qint64 m_windowStartSize = 0;
    qint64 m_rate = 0; // bytes per second, measured
};
