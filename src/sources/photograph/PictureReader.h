#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Reads still pictures from files without trusting their headers: the declared size is checked
// before anything is decoded, so a damaged or hostile file yields a null image instead of an
// allocation of gigabytes or a crash. Thumbnails are decoded at reduced size where the format
// allows it (JPEG scales while decoding), otherwise decoded in full and scaled down.
//
// Threads: stateless; every function may be called on any thread at the same time.
class PictureReader
{
public:
    // Largest picture decoded at full size: 64 megapixels, 256 MB at 32 bits per pixel.
    static constexpr qint64 MAX_PICTURE_PIXELS = qint64(64) * 1024 * 1024;
    // A JPEG decodes at down to an eighth of each side, so thumbnails of JPEG pictures may
    // come from files that declare up to 64 times as many pixels.
    static constexpr int JPEG_MAX_REDUCTION = 8;

    // The whole picture, or a null image when the file cannot be read, is not a picture,
    // declares no size or declares more than maxPixels pixels.
    static QImage readPicture(const QString &path, qint64 maxPixels = MAX_PICTURE_PIXELS);

    // The picture scaled to fit box keeping its aspect ratio (smooth scaling), or a null
    // image under the same conditions as readPicture.
    static QImage readThumbnail(const QString &path, const QSize &box, qint64 maxPixels = MAX_PICTURE_PIXELS);

    // Pixels the decoder would allocate for a picture of the given declared size; formats
    // that decode at reduced size count the reduced size. Negative when the size is unknown.
    static qint64 decodedPixels(const QSize &declared, const QByteArray &format, const QSize &target);
};
