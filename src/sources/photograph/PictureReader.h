#pragma once

#include "sources/photograph/DecodeJob.h"

#include <QImage>
#include <QSize>
#include <QString>

// Reads still pictures from files without trusting their headers, at the size they are needed.
// The picture is turned upright as its EXIF orientation says and scaled down to fit the job's
// box while it is decoded: JPEG and PNG files are decoded row by row (JPEG at a reduced scale
// where that still covers the box), so a picture of any declared size costs no more memory than
// the fitted picture; other formats are decoded whole by Qt and refused when that would pass the
// job's memory. Nothing is ever larger than the job's pixel limit: a larger picture is scaled
// down to it, not refused.
//
// Files are opened by the bytes of their names, so names that are not valid UTF-8 work.
//
// Threads: stateless; any number of threads may read at the same time.
class PictureReader
{
public:
    // Largest picture handed out: 64 megapixels.
    static constexpr qint64 MAX_PICTURE_PIXELS = qint64(64) * 1024 * 1024;
    // Memory one decode of a shown picture may take.
    static constexpr qint64 MAX_DECODE_BYTES = qint64(288) * 1024 * 1024;
    // What one thumbnail may take: its memory and its time.
    static constexpr qint64 THUMBNAIL_MAX_BYTES = qint64(48) * 1024 * 1024;
    static constexpr int THUMBNAIL_TIME_MS = 4000;

    // Decodes job.path as the job asks and fills in its outcome, image, full size and detail.
    static void read(DecodeJob &job);

    // A job for a shown picture fitted to `box` (empty: as large as the limits allow).
    static DecodeJob pictureJob(const QByteArray &path, const QSize &box);
    // A job for a thumbnail: fitted to `box`, grown when smaller, within the thumbnail budget.
    static DecodeJob thumbnailJob(const QByteArray &path, const QSize &box);

    // The size a picture of `full` pixels (upright) is handed out at for `box`: fitted into the
    // box keeping the aspect ratio (not grown beyond `full` unless `grow`), then scaled down to
    // at most `maxPixels`.
    static QSize fittedSize(const QSize &full, const QSize &box, qint64 maxPixels, bool grow);

    // Convenience for a file name in Qt's spelling: the picture fitted to `box`, or null.
    static QImage readPicture(const QString &path, const QSize &box = QSize());
    static QImage readThumbnail(const QString &path, const QSize &box);

    // The outcome in words, for the log.
    static const char *outcomeName(DecodeJob::Outcome outcome);
};
