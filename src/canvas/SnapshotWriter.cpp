#include "canvas/SnapshotWriter.h"

#include "common/Logging.h"
#include "common/OutputFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImage>

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
    m_failure.clear();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "JPG", JPEG_QUALITY)) {
        qCDebug(lcTrace).noquote() << "snapshot write fail" << path << "the picture cannot be encoded";
        m_failure = QCoreApplication::translate("SnapshotWriter", "the picture cannot be encoded");
        return false;
    }
    // The last free bytes of a disk are left to the recordings' endings and the settings.
    const qint64 free = m_freeSpace ? m_freeSpace(m_settings.folder)
                                    : OutputFile::freeBytes(m_settings.folder);
    if (free >= 0 && free < bytes.size() + MIN_FREE_AFTER) {
        qCDebug(lcTrace).noquote() << "snapshot write fail" << path << "only" << free << "bytes free for"
                                   << bytes.size();
        m_failure = QCoreApplication::translate("SnapshotWriter",
                                                "not enough free space in the snapshot folder");
        return false;
    }
    // The picture replaces a same-second file only once it is complete, and never through a
    // link: a link of the file's name is replaced, the file it points at stays as it is.
    QString error;
    if (!OutputFile::replace(path, bytes, &error)) {
        qCDebug(lcTrace).noquote() << "snapshot write fail" << path << error;
        m_failure = error;
        return false;
    }
    m_written = path;
    return true;
}
