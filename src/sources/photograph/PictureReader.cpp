#include "sources/photograph/PictureReader.h"

#include "common/Logging.h"
#include "sources/photograph/JpegPictureDecoder.h"
#include "sources/photograph/PngPictureDecoder.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

struct FileCloser
{
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// As Qt turns pictures by their EXIF orientation: mirror and flip first, then a quarter turn.
QImage upright(const QImage &image, QImageIOHandler::Transformations t)
{
    if (t == QImageIOHandler::TransformationNone || image.isNull())
        return image;
    if (t == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    QImage result = image.mirrored(t & QImageIOHandler::TransformationMirror,
                                   t & QImageIOHandler::TransformationFlip);
    if (t & QImageIOHandler::TransformationRotate90)
        result = result.transformed(QTransform().rotate(90));
    return result;
}

// Formats Qt decodes whole: what that costs, the picture and its scaled copy.
void readWithQt(QFile &file, const QSize &declared, const QSize &target, DecodeJob &job)
{
    const qint64 bytes = qint64(declared.width()) * declared.height() * 4
        + qint64(target.width()) * target.height() * 4;
    if (bytes > job.maxBytes) {
        job.outcome = DecodeJob::Outcome::TooLarge;
        job.detail = QStringLiteral("%1 x %2 pixels decode into more than %3 MB")
                         .arg(declared.width())
                         .arg(declared.height())
                         .arg(job.maxBytes >> 20);
        return;
    }
    if (job.mustStop())
        return;
    file.seek(0);
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    if (target != declared)
        reader.setScaledSize(target);
    QImage image;
    if (!reader.read(&image)) {
        job.outcome = DecodeJob::Outcome::Damaged;
        job.detail = reader.errorString();
        return;
    }
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    job.image = image;
    job.outcome = DecodeJob::Outcome::Decoded;
}

} // namespace

QSize PictureReader::fittedSize(const QSize &full, const QSize &box, qint64 maxPixels, bool grow)
{
    if (full.isEmpty())
        return QSize();
    QSize size = full;
    if (!box.isEmpty()) {
        const QSize fitted = full.scaled(box, Qt::KeepAspectRatio);
        if (grow || (fitted.width() <= full.width() && fitted.height() <= full.height()))
            size = fitted;
    }
    const qint64 pixels = qint64(size.width()) * size.height();
    if (maxPixels > 0 && pixels > maxPixels) {
        const double f = std::sqrt(double(maxPixels) / double(pixels));
        size = QSize(int(size.width() * f), int(size.height() * f));
    }
    return size.expandedTo(QSize(1, 1));
}

DecodeJob PictureReader::pictureJob(const QByteArray &path, const QSize &box)
{
    DecodeJob job;
    job.path = path;
    job.box = box;
    job.maxPixels = MAX_PICTURE_PIXELS;
    job.maxBytes = MAX_DECODE_BYTES;
    return job;
}

DecodeJob PictureReader::thumbnailJob(const QByteArray &path, const QSize &box)
{
    DecodeJob job = pictureJob(path, box);
    job.growToFit = true;
    job.maxBytes = THUMBNAIL_MAX_BYTES;
    job.deadline = QDeadlineTimer(THUMBNAIL_TIME_MS);
    return job;
}

void PictureReader::read(DecodeJob &job)
{
    job.image = QImage();
    job.fullSize = QSize();
    const int fd = ::open(job.path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        job.outcome = DecodeJob::Outcome::NotAPicture;
        job.detail = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        job.outcome = DecodeJob::Outcome::NotAPicture;
        job.detail = file.errorString();
        return;
    }
    QImageReader header(&file);
    const QByteArray format = header.format();
    const QSize declared = header.size();
    if (format.isEmpty()) {
        job.outcome = DecodeJob::Outcome::NotAPicture;
        job.detail = header.errorString();
        return;
    }
    if (!declared.isValid() || declared.isEmpty()) {
        job.outcome = DecodeJob::Outcome::Damaged;
        job.detail = QStringLiteral("a %1 file without a picture size").arg(QString::fromLatin1(format));
        return;
    }
    const QImageIOHandler::Transformations turn = header.transformation();
    const bool quarter = turn & QImageIOHandler::TransformationRotate90;
    job.fullSize = quarter ? declared.transposed() : declared;
    const QSize uprightTarget = fittedSize(job.fullSize, job.box, job.maxPixels, false);
    const QSize target = quarter ? uprightTarget.transposed() : uprightTarget;
    if (job.mustStop())
        return;

    if (format == "jpeg" || format == "png") {
        FilePointer stream(std::fopen(job.path.constData(), "rbe"));
        if (!stream) {
            job.outcome = DecodeJob::Outcome::NotAPicture;
            job.detail = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        if (format == "jpeg")
            JpegPictureDecoder::decode(stream.get(), declared, target, job);
        else if (PngPictureDecoder::takes(stream.get()))
            PngPictureDecoder::decode(stream.get(), declared, target, job);
        else
            readWithQt(file, declared, target, job);
    } else {
        readWithQt(file, declared, target, job);
    }
    if (job.outcome != DecodeJob::Outcome::Decoded && job.outcome != DecodeJob::Outcome::Partial) {
        job.image = QImage();
        return;
    }
    job.image = upright(job.image, turn);
    if (job.growToFit) {
        const QSize grown = fittedSize(job.fullSize, job.box, job.maxPixels, true);
        if (job.image.size() != grown)
            job.image = job.image.scaled(grown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}

QImage PictureReader::readPicture(const QString &path, const QSize &box)
{
    DecodeJob job = pictureJob(QFile::encodeName(path), box);
    read(job);
    if (job.image.isNull())
        qCDebug(lcSources) << "no picture from" << path << outcomeName(job.outcome) << job.detail;
    return job.image;
}

QImage PictureReader::readThumbnail(const QString &path, const QSize &box)
{
    DecodeJob job = thumbnailJob(QFile::encodeName(path), box);
    read(job);
    return job.image;
}

const char *PictureReader::outcomeName(DecodeJob::Outcome outcome)
{
    switch (outcome) {
    case DecodeJob::Outcome::Decoded:
        return "decoded";
    case DecodeJob::Outcome::Partial:
        return "partly decoded";
    case DecodeJob::Outcome::NotAPicture:
        return "not a picture";
    case DecodeJob::Outcome::Damaged:
        return "damaged";
    case DecodeJob::Outcome::TooLarge:
        return "too large";
    case DecodeJob::Outcome::TimedOut:
        return "out of time";
    case DecodeJob::Outcome::Cancelled:
        return "called off";
    }
    return "?";
}
