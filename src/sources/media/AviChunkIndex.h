#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>
#include <vector>

// The streams and the whole data chunks of an AVI file, found by walking its RIFF structure
// chunk by chunk instead of trusting its header counts or its index. A recording cut off by a
// crash has a header that counts no frames, container sizes that are placeholders, no index
// and usually a last chunk that was only partly written: the walk enters the movie lists
// whatever sizes they claim, follows the extension parts (RIFF AVIX) of large files, and stops
// at the first chunk that does not end inside the file or does not look like a chunk.
//
// Only what the program's recordings hold is described: one header list with a stream list
// per stream (the stream header's type, handler, scale and rate; the stream format kept as
// its bytes), and data chunks named "##dc", "##db", "##wb" or "##pc".
//
// Threads: a plain value; scan() reads the descriptor with pread() and may run on any thread.
class AviChunkIndex
{
public:
    struct Stream
    {
        QByteArray type;    // "vids" or "auds"
        QByteArray handler; // the stream header's handler code, e.g. "MJPG"
        quint32 scale = 0;
        quint32 rate = 0;
        QByteArray format; // the stream format chunk ("strf") as stored
        quint64 chunks = 0;
        quint64 bytes = 0;
    };

    struct Chunk
    {
        quint64 offset = 0; // of the chunk's data, just after its 8-byte head
        quint32 size = 0;
        quint32 stream = 0;
    };

    // Walks the file open on `fd` (read access, any position). False with `error` set when the
    // file is not an AVI file or its header cannot be read; chunks that follow a readable header
    // never make it fail, they only end the walk.
    bool scan(int fd, QString *error);

    const QVector<Stream> &streams() const { return m_streams; }
    const std::vector<Chunk> &chunks() const { return m_chunks; }
    // The main header's total frame count: zero in a recording that was never finished.
    quint32 headerFrames() const { return m_headerFrames; }
    // Whether an index ("idx1", or a stream's OpenDML index) was found.
    bool hasIndex() const { return m_hasIndex; }
    quint64 fileSize() const { return m_fileSize; }
    // Where the last whole chunk ends.
    quint64 wholeLength() const { return m_wholeLength; }
    // The extension parts (RIFF AVIX) the walk entered: above zero for a file past 1 GiB.
    int extensionParts() const { return m_extensionParts; }

    // The first video stream, or -1.
    int videoStream() const;
    // A stream's length from its whole chunks: frames times scale over rate for video, bytes
    // over the format's average byte rate for audio; 0 when the header gives no rate.
    double streamSeconds(int stream) const;
    // The longest stream.
    double seconds() const;
    // The average byte rate of an audio stream's format, 0 if it names none.
    quint32 audioByteRate(int stream) const;

private:
    bool readHeaderList(int fd, quint64 begin, quint64 end, QString *error);
    void walkData(int fd, quint64 position);

    QVector<Stream> m_streams;
    std::vector<Chunk> m_chunks;
    quint32 m_headerFrames = 0;
    bool m_hasIndex = false;
    quint64 m_fileSize = 0;
    quint64 m_wholeLength = 0;
    int m_extensionParts = 0;
};
