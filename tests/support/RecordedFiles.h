#pragma once

#include <QImage>
#include <QString>

// What the media framework makes of a finished recording, read back outside the program's own
// graphs: whether it opens, its length and streams, and its last picture.
namespace RecordedFiles {

struct Facts
{
    bool opened = false;
    double seconds = 0;
    int videoStreams = 0;
    int audioStreams = 0;
    QString error;
};

// The file as GStreamer's discoverer sees it (header, index, streams, duration).
Facts discover(const QString &path);

// Whether the file was finished as the multiplexer finishes it: an index, and a header that
// counts the frames. `why` says what is missing.
bool finished(const QString &path, QString *why = nullptr);

// The last picture of an MJPG AVI file, decoded; null when none could be read.
QImage lastFrame(const QString &path);

} // namespace RecordedFiles
