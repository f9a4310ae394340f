#include "mainwindow/RecordingWatch.h"

#include "common/Logging.h"
#include "common/OutputFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>

namespace {

// The multiplexer's headers, chunk heads and index on top of the pictures and sound.
constexpr double CONTAINER_OVERHEAD = 1.05;
// A camera whose frame rate is not known yet is taken at the highest rate the program asks for.
constexpr double DEFAULT_FRAMES_PER_SECOND = 30.0;

} // namespace

qint64 RecordingWatch::minuteEstimate(const QImage &picture, double framesPerSecond)
{
    qint64 frameBytes = 0;
    if (!picture.isNull()) {
        // Encoded as each recorded frame is (RecordingEncoder: the format's default quality).
        QByteArray jpeg;
        QBuffer out(&jpeg);
        if (out.open(QIODevice::WriteOnly) && picture.save(&out, "JPG", -1))
            frameBytes = jpeg.size();
    }
    const double rate = framesPerSecond > 0 ? framesPerSecond : DEFAULT_FRAMES_PER_SECOND;
    const double perSecond = double(frameBytes) * rate + double(SOUND_BYTES_PER_SECOND);
    return qint64(perSecond * 60.0 * CONTAINER_OVERHEAD);
}

RecordingWatch::RecordingWatch(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
    , m_freeSpace(&OutputFile::freeBytes)
{
    m_timer->setInterval(CHECK_INTERVAL_MS);
    connect(m_timer, &QTimer::timeout, this, &RecordingWatch::check);
}

bool RecordingWatch::hasRoom(const QString &folder, qint64 minuteBytes) const
{
    const qint64 free = m_freeSpace(folder);
    return free < 0 || free >= minuteBytes;
}

void RecordingWatch::start(const QString &path, qint64 minuteBytes)
{
    m_path = path;
    m_estimate = minuteBytes;
    m_rate = 0;
    struct stat info;
    const bool found = ::lstat(QFile::encodeName(path).constData(), &info) == 0;
    m_device = found ? quint64(info.st_dev) : 0;
    m_inode = found ? quint64(info.st_ino) : 0;
    m_clock.start();
    m_windowStartMs = 0;
    m_windowStartSize = found ? qint64(info.st_size) : 0;
    m_timer->start();
}

void RecordingWatch::stop()
{
    m_timer->stop();
    m_path.clear();
}

bool RecordingWatch::isWatching() const
{
    return m_timer->isActive();
}

qint64 RecordingWatch::minuteBytes() const
{
    return std::max(m_estimate, m_rate * 60);
}

bool RecordingWatch::sameFile() const
{
    struct stat info;
    if (::lstat(QFile::encodeName(m_path).constData(), &info) != 0)
        return false;
    // A recording started before its file was there (tests) adopts what comes.
    return m_inode == 0 || (quint64(info.st_dev) == m_device && quint64(info.st_ino) == m_inode);
}

void RecordingWatch::check()
{
    if (m_path.isEmpty())
        return;
    if (!sameFile()) {
        qCWarning(lcMainWindow) << "the recording" << m_path << "was removed while it was being written";
        stop();
        emit fileRemoved();
        return;
    }
    const qint64 now = m_clock.elapsed();
    const qint64 size = QFileInfo(m_path).size();
    // The growth over the last few seconds: the stream as it is now, sound included.
    if (now - m_windowStartMs >= RATE_WINDOW_MS) {
        m_rate = std::max<qint64>(0, (size - m_windowStartSize) * 1000 / (now - m_windowStartMs));
        m_windowStartMs = now;
        m_windowStartSize = size;
    }

    const qint64 free = m_freeSpace(QFileInfo(m_path).absolutePath());
    const qint64 needed = minuteBytes();
    if (free >= 0 && free < needed) {
        qCWarning(lcMainWindow) << "the recording" << m_path << "stops:" << free
                                << "bytes free, a minute needs" << needed;
        stop();
        emit spaceRunningOut(free, needed);
    }
}
