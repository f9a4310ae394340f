#include "canvas/SnapshotWriter.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

SnapshotWriter::SnapshotWriter(const Clock &clock)
    : m_clock(&clock)
    , m_stopwatch(clock)
{ }

void SnapshotWriter::start()
{
    if (!QFileInfo(m_settings.folder).isDir())
        return;
    m_armed = true;
    m_stopwatch.restart();
    m_lastSecond = 0;
}

QString SnapshotWriter::filePath(const QDateTime &when) const
{
    return QDir(m_settings.folder).filePath(when.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss.jpg")));
}

bool SnapshotWriter::due()
{
    if (m_settings.continuous == 0) {
        m_armed = false;
        return true;
    }
    const quint64 s = quint64(m_stopwatch.elapsed()) / 1000;
    bool isDue = false;
    // Unsigned on purpose: interval 0 makes every frame due.
    if (!(s - m_lastSecond < m_settings.interval)) {
        isDue = true;
        m_lastSecond = s;
    }
    if (s >= m_settings.duration)
        m_armed = false;
    return isDue;
}

bool SnapshotWriter::write(const QImage &picture)
{
    if (!m_armed)
        return false;
    // A vanished folder keeps the canvas armed: the snapshot is taken once it is back.
    if (!QFileInfo(m_settings.folder).isDir())
        return false;
    const QString path = filePath(m_clock->now());
    if (!due())
        return false;
    // The picture goes into a temporary file that replaces a same-second one only once it is
    // complete: a failing write (disk full, no permission) leaves no cut-off JPEG behind and
    // keeps the earlier file of that second.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && picture.save(&file, "JPG", JPEG_QUALITY)
        && file.commit();
    if (!written) {
        file.cancelWriting();
        qDebug().noquote() << "snapshot write fail" << path << file.errorString();
        return false;
    }
    return true;
}
