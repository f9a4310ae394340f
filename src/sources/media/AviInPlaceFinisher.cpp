#include "sources/media/AviInPlaceFinisher.h"

#include "sources/media/AviChunkIndex.h"
#include "sources/media/PositionedIo.h"

#include <QByteArray>
#include <QVector>
#include <QtEndian>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

using PositionedIo::readAt;
using PositionedIo::writeAt;

// The main header's flags of a finished recording: it has an index, its streams interleave.
constexpr quint32 AVIF_HASINDEX = 0x10;
constexpr quint32 AVIF_ISINTERLEAVED = 0x100;
// What the multiplexer marks its picture entries with (a key frame); sound entries carry none.
constexpr quint32 VIDEO_ENTRY_FLAGS = 0x12;
constexpr quint64 MAX_HEADER_LIST = 16u * 1024 * 1024;

bool writeLe32(int fd, quint64 offset, quint32 value)
{
    uchar bytes[4];
    qToLittleEndian(value, bytes);
    return writeAt(fd, offset, bytes, sizeof bytes);
}

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(p));
}

bool is(const char *id, const char *code)
{
    return std::memcmp(id, code, 4) == 0;
}

quint64 padded(quint32 size)
{
    return quint64(size) + (size & 1u);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Where the fields to correct lie: the data of the main header, of each stream header and of
// the OpenDML header, and the head of the movie list.
struct HeaderPlaces
{
    quint64 mainHeader = 0;
    QVector<quint64> streamHeaders;
    quint64 extendedHeader = 0; // 0: none
    quint64 movieList = 0;
};

void findInList(int fd, quint64 begin, quint64 end, HeaderPlaces *places)
{
    quint64 position = begin;
    while (position + 8 <= end) {
        char head[12];
        if (!readAt(fd, position, head, 8))
            return;
        const quint32 size = le32(head + 4);
        const quint64 data = position + 8;
        if (data + size > end)
            return;
        if (is(head, "avih") && size >= 56)
            places->mainHeader = data;
        else if (is(head, "strh") && size >= 48)
            places->streamHeaders.append(data);
        else if (is(head, "dmlh") && size >= 4)
            places->extendedHeader = data;
        else if (is(head, "LIST") && size >= 4 && readAt(fd, data, head + 8, 4)
                 && (is(head + 8, "strl") || is(head + 8, "odml")))
            findInList(fd, data + 4, data + size, places);
        position = data + padded(size);
    }
}

bool findPlaces(int fd, quint64 fileSize, HeaderPlaces *places, QString *error)
{
    char head[12];
    if (!readAt(fd, 12, head, 12) || !is(head, "LIST") || !is(head + 8, "hdrl")) {
        *error = QStringLiteral("the AVI header list is missing");
        return false;
    }
    const quint32 listSize = le32(head + 4);
    if (listSize > MAX_HEADER_LIST || 20 + quint64(listSize) > fileSize) {
        *error = QStringLiteral("the AVI header list is cut off");
        return false;
    }
    findInList(fd, 24, 20 + quint64(listSize), places);
    quint64 position = 20 + padded(listSize);
    while (position + 12 <= fileSize) {
        if (!readAt(fd, position, head, 12))
            break;
        if (is(head, "LIST") && is(head + 8, "movi")) {
            places->movieList = position;
            break;
        }
        if (!is(head, "JUNK"))
            break;
        position += 8 + padded(le32(head + 4));
    }
    if (places->mainHeader == 0 || places->movieList == 0) {
        *error = QStringLiteral("not laid out as the program's recordings are");
        return false;
    }
    return true;
}

qint64 fileSystemFree(int fd)
{
    struct statvfs info;
    if (::fstatvfs(fd, &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

// How much further the process may grow a file of `size` (RLIMIT_FSIZE); -1 for no limit.
qint64 sizeLimitRoom(quint64 size)
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return -1;
    return std::max<qint64>(0, qint64(limit.rlim_cur) - qint64(size));
}

} // namespace

AviInPlaceFinisher::Result AviInPlaceFinisher::finish(int fd, qint64 freeBytes)
{
    Result result;
    AviChunkIndex index;
    if (!index.scan(fd, &result.error))
        return result;
    if (index.hasIndex() && index.headerFrames() > 0) {
        result.finished = result.alreadyComplete = true;
        result.seconds = index.seconds();
        return result;
    }
    if (index.extensionParts() > 0) {
        result.error = QStringLiteral("a file of several parts is left for the repair");
        return result;
    }
    HeaderPlaces places;
    if (!findPlaces(fd, index.fileSize(), &places, &result.error))
        return result;
    if (places.streamHeaders.size() != index.streams().size()) {
        result.error = QStringLiteral("the stream headers do not match the streams");
        return result;
    }

    // Whole chunks are kept from the front for as long as their index still fits on the disk.
    const std::vector<AviChunkIndex::Chunk> &chunks = index.chunks();
    const quint64 moviData = places.movieList + 12;
    auto endOf = [&](std::size_t count) {
        return count == 0 ? moviData : chunks[count - 1].offset + padded(chunks[count - 1].size);
    };
    qint64 free = freeBytes >= 0 ? freeBytes : fileSystemFree(fd);
    // A limit on the file's size is room running out as much as a full disk is.
    const qint64 limitRoom = sizeLimitRoom(index.fileSize());
    if (limitRoom >= 0)
        free = free < 0 ? limitRoom : std::min(free, limitRoom);
    std::size_t kept = chunks.size();
    while (kept > 0 && free >= 0) {
        const qint64 grows = qint64(endOf(kept) + 8 + 16 * quint64(kept)) - qint64(index.fileSize());
        if (grows + SPACE_MARGIN <= free)
            break;
        --kept;
    }
    const int video = index.videoStream();
    QVector<quint64> counts(index.streams().size(), 0);
    QVector<quint64> bytes(index.streams().size(), 0);
    QVector<quint32> largest(index.streams().size(), 0);
    for (std::size_t i = 0; i < kept; ++i) {
        const AviChunkIndex::Chunk &c = chunks[i];
        counts[int(c.stream)] += 1;
        bytes[int(c.stream)] += c.size;
        largest[int(c.stream)] = qMax(largest[int(c.stream)], c.size);
    }
    if (video < 0 || counts[video] == 0) {
        result.error = QStringLiteral("no whole picture fits with its index");
        return result;
    }
    result.droppedChunks = chunks.size() - kept;

    // The index: each chunk's name as stored, its flags, where its head lies and its size.
    QByteArray entries(int(16 * kept), '\0');
    for (std::size_t i = 0; i < kept; ++i) {
        const AviChunkIndex::Chunk &c = chunks[i];
        char *entry = entries.data() + 16 * i;
        if (!readAt(fd, c.offset - 8, entry, 4)) {
            result.error = QStringLiteral("cannot read the file: %1").arg(systemError());
            return result;
        }
        const bool picture = int(c.stream) == video;
        qToLittleEndian<quint32>(picture ? VIDEO_ENTRY_FLAGS : 0, entry + 4);
        qToLittleEndian<quint32>(quint32(c.offset - 8), entry + 8);
        qToLittleEndian<quint32>(c.size, entry + 12);
    }
    const quint64 end = endOf(kept);
    char head[8] = {'i', 'd', 'x', '1', 0, 0, 0, 0};
    qToLittleEndian<quint32>(quint32(entries.size()), head + 4);
    if (::ftruncate(fd, off_t(end)) != 0 || !writeAt(fd, end, head, sizeof head)
        || !writeAt(fd, end + 8, entries.constData(), std::size_t(entries.size()))) {
        result.error = QStringLiteral("cannot write the index: %1").arg(systemError());
        return result;
    }

    // The header, as the multiplexer writes it when it finishes.
    bool written = true;
    char flags[4];
    written = written && readAt(fd, places.mainHeader + 12, flags, sizeof flags)
        && writeLe32(fd, places.mainHeader + 12, le32(flags) | AVIF_HASINDEX | AVIF_ISINTERLEAVED)
        && writeLe32(fd, places.mainHeader + 16, quint32(counts[video]));
    for (int s = 0; s < places.streamHeaders.size(); ++s) {
        const quint64 strh = places.streamHeaders[s];
        char sampleSize[4];
        if (!readAt(fd, strh + 44, sampleSize, sizeof sampleSize)) {
            written = false;
            break;
        }
        const bool pictures = index.streams()[s].type == "vids";
        const quint32 unit = le32(sampleSize);
        const quint64 length = pictures || unit == 0 ? counts[s] : bytes[s] / unit;
        written = written && writeLe32(fd, strh + 32, quint32(length))
            && writeLe32(fd, strh + 36, largest[s]);
    }
    if (places.extendedHeader != 0)
        written = written && writeLe32(fd, places.extendedHeader, quint32(counts[video]));
    const quint64 fileEnd = end + 8 + quint64(entries.size());
    written = written && writeLe32(fd, places.movieList + 4, quint32(end - (places.movieList + 8)))
        && writeLe32(fd, 4, quint32(fileEnd - 8));
    if (!written || ::fsync(fd) != 0) {
        result.error = QStringLiteral("cannot write the header: %1").arg(systemError());
        return result;
    }

    AviChunkIndex finished;
    QString error;
    result.finished = finished.scan(fd, &error) && finished.hasIndex() && finished.headerFrames() > 0;
    result.seconds = finished.seconds();
    if (!result.finished)
        result.error = error.isEmpty() ? QStringLiteral("the finished file does not read back") : error;
    return result;
}
