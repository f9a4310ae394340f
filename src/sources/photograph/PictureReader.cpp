#include "sources/photograph/PictureReader.h"

#include "common/Logging.h"

#include <QImageReader>

namespace {

bool scalesWhileDecoding(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg";
}

} // namespace

qint64 PictureReader::decodedPixels(const QSize &declared, const QByteArray &format, const QSize &target)
{
    if (!declared.isValid() || declared.isEmpty())
        return -1;
    qint64 width = declared.width();
    qint64 height = declared.height();
    if (target.isValid() && !target.isEmpty() && scalesWhileDecoding(format)) {
        // libjpeg reduces by 1, 2, 4 or 8 and never below the requested size.
        int reduction = 1;
        while (reduction < JPEG_MAX_REDUCTION && width / (reduction * 2) >= target.width()
               && height / (reduction * 2) >= target.height())
            reduction *= 2;
        width = (width + reduction - 1) / reduction;
        height = (height + reduction - 1) / reduction;
    }
    return width * height;
}

QImage PictureReader::readPicture(const QString &path, qint64 maxPixels)
{
    QImageReader reader(path);
    const QSize declared = reader.size();
    const qint64 pixels = decodedPixels(declared, reader.format(), QSize());
    if (pixels < 0) {
        qCDebug(lcSources) << "not a readable picture:" << path << reader.errorString();
        return QImage();
    }
    if (pixels > maxPixels) {
        qCWarning(lcSources) << "picture too large to show:" << path << declared;
        return QImage();
    }
    QImage image;
    if (!reader.read(&image))
        qCDebug(lcSources) << "cannot decode" << path << reader.errorString();
    return image;
}

QImage PictureReader::readThumbnail(const QString &path, const QSize &box, qint64 maxPixels)
{
    QImageReader reader(path);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty() || box.isEmpty()) {
        qCDebug(lcSources) << "not a readable picture:" << path << reader.errorString();
        return QImage();
    }
    const QSize fitted = declared.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QByteArray format = reader.format();
    if (decodedPixels(declared, format, fitted) > maxPixels) {
        qCWarning(lcSources) << "picture too large for a thumbnail:" << path << declared;
        return QImage();
    }
    if (scalesWhileDecoding(format)) {
        // The JPEG reader then decodes at a reduced size and scales the rest smoothly.
        reader.setQuality(100);
        reader.setScaledSize(fitted);
    }
    QImage image;
    if (!reader.read(&image)) {
        qCDebug(lcSources) << "cannot decode" << path << reader.errorString();
        return QImage();
    }
    if (image.size() != fitted)
        image = image.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}
