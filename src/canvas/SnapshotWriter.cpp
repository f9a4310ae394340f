#include "SnapshotWriter.h"

#include "Logging.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

SnapshotWriter::SnapshotWriter()
    : m_now([] { return QDateTime::currentDateTime(); })
    , m_stopwatch(m_clock)
{
}

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
    const QString path = filePath(m_now());
    if (!due())
        return false;
    if (QFile::exists(path) && !QFile::remove(path))
        qCWarning(lcCanvas) << "could not replace" << path;
    if (!picture.save(path, nullptr, JPEG_QUALITY)) {
        qDebug().noquote() << "snapshot write fail" << path;
        return false;
    }
    return true;
}
