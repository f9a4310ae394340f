#pragma once

#include "sources/media/AviChunkIndex.h"
#include "sources/media/RecordingJournal.h"

#include <QByteArray>
#include <QString>

// Recordings as a crash leaves them, for the repair tests.
namespace UnfinishedRecordings {

constexpr int FRAMES = 90; // three seconds at 30 frames/s

// An AVI file as avimux leaves it when its process dies: 320x240 MJPG at 30 frames/s, with
// 16-bit mono sound unless `withSound` is false. The pipeline is stopped without its
// end-of-stream ever reaching the multiplexer, so the header counts no frames and no index
// is written.
bool make(const QString &path, bool withSound = true);

// The journal the program keeps beside `recording` while it writes it, as a kill leaves it.
bool writeJournal(const QString &recording, qint64 recordedMs = 3000);

// The file walked as the repair walks it (empty when it cannot be opened).
AviChunkIndex scan(const QString &path);
// A hash of the file's bytes, "missing" or "not a regular file" (a pipe is never read).
QByteArray digest(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// The journal beside `recording`, as far as it can be read.
RecordingJournal::Contents journalOf(const QString &recording);
bool isLink(const QString &path);
bool isRegular(const QString &path);

} // namespace UnfinishedRecordings
