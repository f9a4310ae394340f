#include "sources/media/AviChunkIndex.h"

#include "sources/media/PositionedIo.h"

#include <QtEndian>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

using PositionedIo::readAt;

// A header list larger than this is not one the program wrote.
constexpr quint64 MAX_HEADER_LIST = 16u * 1024 * 1024;
constexpr quint32 MAX_FORMAT = 64u * 1024;

bool is(const char *id, const char *code)
{
    return std::memcmp(id, code, 4) == 0;
}

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(p));
}

quint64 padded(quint32 size)
{
    return quint64(size) + (size & 1u);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "##dc", "##db", "##wb", "##pc": a stream's data.
bool isDataChunk(const char *id)
{
    if (!isDigit(id[0]) || !isDigit(id[1]))
        return false;
    for (const char *kind : {"dc", "db", "wb", "pc"}) {
        if (std::memcmp(id + 2, kind, 2) == 0)
            return true;
    }
    return false;
}

// Chunks that may sit between data chunks and carry nothing to keep: stream indexes written
// into the movie list, padding.
bool isSkippable(const char *id)
{
    return is(id, "JUNK") || is(id, "idx1") || is(id, "indx")
        || (id[0] == 'i' && id[1] == 'x' && isDigit(id[2]) && isDigit(id[3]));
}

} // namespace

bool AviChunkIndex::scan(int fd, QString *error)
{
    *this = AviChunkIndex();
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        *error = QStringLiteral("cannot read the file: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_fileSize = quint64(info.st_size);

    char head[12];
    if (m_fileSize < 24 || !readAt(fd, 0, head, sizeof head) || !is(head, "RIFF") || !is(head + 8, "AVI ")) {
        *error = QStringLiteral("not an AVI file");
        return false;
    }
    // The header list comes first: without it nothing in the file can be read.
    char list[12];
    if (!readAt(fd, 12, list, sizeof list) || !is(list, "LIST") || !is(list + 8, "hdrl")) {
        *error = QStringLiteral("the AVI header list is missing");
        return false;
    }
    const quint32 listSize = le32(list + 4);
    if (listSize < 4 || listSize > MAX_HEADER_LIST || 20 + quint64(listSize) > m_fileSize) {
        *error = QStringLiteral("the AVI header list is cut off");
        return false;
    }
    if (!readHeaderList(fd, 24, 20 + quint64(listSize), error))
        return false;
    if (m_streams.isEmpty()) {
        *error = QStringLiteral("the AVI header names no stream");
        return false;
    }
    walkData(fd, 20 + padded(listSize));
    return true;
}

bool AviChunkIndex::readHeaderList(int fd, quint64 begin, quint64 end, QString *error)
{
    quint64 position = begin;
    while (position + 8 <= end) {
        char head[12];
        if (!readAt(fd, position, head, 8))
            break;
        const quint32 size = le32(head + 4);
        const quint64 data = position + 8;
        if (data + size > end) {
            *error = QStringLiteral("a chunk of the AVI header runs past its list");
            return false;
        }
        if (is(head, "avih") && size >= 20) {
            char main[20];
            if (readAt(fd, data, main, sizeof main))
                m_headerFrames = le32(main + 16);
        } else if (is(head, "LIST") && size >= 4 && readAt(fd, data, head + 8, 4) && is(head + 8, "strl")) {
            Stream stream;
            quint64 inner = data + 4;
            const quint64 listEnd = data + size;
            while (inner + 8 <= listEnd) {
                char sub[8];
                if (!readAt(fd, inner, sub, sizeof sub))
                    break;
                const quint32 subSize = le32(sub + 4);
                if (inner + 8 + subSize > listEnd)
                    break;
                if (is(sub, "strh") && subSize >= 28) {
                    char strh[28];
                    if (readAt(fd, inner + 8, strh, sizeof strh)) {
                        stream.type = QByteArray(strh, 4);
                        stream.handler = QByteArray(strh + 4, 4);
                        stream.scale = le32(strh + 20);
                        stream.rate = le32(strh + 24);
                    }
                } else if (is(sub, "strf") && subSize <= MAX_FORMAT) {
                    stream.format.resize(int(subSize));
                    if (!readAt(fd, inner + 8, stream.format.data(), subSize))
                        stream.format.clear();
                }
                inner += 8 + padded(subSize);
            }
            m_streams.append(stream);
        }
        position = data + padded(size);
    }
    return true;
}

void AviChunkIndex::walkData(int fd, quint64 position)
{
    for (;;) {
        char head[12];
        if (position + 8 > m_fileSize || !readAt(fd, position, head, 8))
            return;
        const quint32 size = le32(head + 4);
        const quint64 data = position + 8;
        const bool hasType = data + 4 <= m_fileSize && readAt(fd, data, head + 8, 4);

        if (is(head, "LIST") && hasType) {
            // The sizes of an unfinished movie list are placeholders: walk into it whatever it
            // claims. Other lists are stepped over.
            if (is(head + 8, "movi") || is(head + 8, "rec ")) {
                position = data + 4;
                continue;
            }
            if (data + size > m_fileSize)
                return;
            position = data + padded(size);
        } else if (is(head, "RIFF") && hasType && is(head + 8, "AVIX")) {
            position = data + 4; // the next part of a large file
            ++m_extensionParts;
        } else if (isDataChunk(head)) {
            const quint32 stream = quint32((head[0] - '0') * 10 + (head[1] - '0'));
            if (stream >= quint32(m_streams.size()) || data + size > m_fileSize)
                return; // garbage, or the chunk the crash cut off
            m_chunks.push_back(Chunk{data, size, stream});
            m_streams[int(stream)].chunks += 1;
            m_streams[int(stream)].bytes += size;
            m_wholeLength = data + size;
            position = data + padded(size);
        } else if (isSkippable(head)) {
            if (data + size > m_fileSize)
                return;
            if (size > 0 && (is(head, "idx1") || is(head, "indx")))
                m_hasIndex = true;
            position = data + padded(size);
        } else {
            return; // zeros or anything else: the recorded data ends here
        }
    }
}

int AviChunkIndex::videoStream() const
{
    for (int i = 0; i < m_streams.size(); ++i) {
        if (m_streams[i].type == "vids")
            return i;
    }
    return -1;
}

quint32 AviChunkIndex::audioByteRate(int stream) const
{
    if (stream < 0 || stream >= m_streams.size())
        return 0;
    const QByteArray &format = m_streams[stream].format;
    // WAVEFORMATEX: format tag, channels, samples per second, average bytes per second, ...
    return format.size() >= 12 ? le32(format.constData() + 8) : 0;
}

double AviChunkIndex::streamSeconds(int stream) const
{
    if (stream < 0 || stream >= m_streams.size())
        return 0;
    const Stream &s = m_streams[stream];
    if (s.type == "vids")
        return s.rate > 0 ? double(s.chunks) * s.scale / s.rate : 0.0;
    if (s.type == "auds") {
        const quint32 byteRate = audioByteRate(stream);
        return byteRate > 0 ? double(s.bytes) / byteRate : 0.0;
    }
    return 0;
}

double AviChunkIndex::seconds() const
{
    double longest = 0;
    for (int i = 0; i < m_streams.size(); ++i)
        longest = std::max(longest, streamSeconds(i));
    return longest;
}
