#include "PdfImages.h"

#include <QRegularExpression>

namespace PdfImages {

namespace {

int intEntry(const QByteArray &dictionary, const char *key)
{
    const QRegularExpression re(QStringLiteral("/%1\\s+(\\d+)").arg(QLatin1String(key)));
    const QRegularExpressionMatch m = re.match(
        QString::fromLatin1(dictionary.constData(), dictionary.size()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QByteArray nameEntry(const QByteArray &dictionary, const char *key)
{
    const QRegularExpression re(QStringLiteral("/%1\\s*/(\\w+)").arg(QLatin1String(key)));
    const QRegularExpressionMatch m = re.match(
        QString::fromLatin1(dictionary.constData(), dictionary.size()));
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

// The bytes between "stream" and "endstream" that follow `from`.
QByteArray streamAfter(const QByteArray &file, int from)
{
    int start = file.indexOf("stream", from);
    if (start < 0)
        return QByteArray();
    start += 6;
    if (file.mid(start, 2) == "\r\n")
        start += 2;
    else if (file.mid(start, 1) == "\n")
        start += 1;
    const int end = file.indexOf("endstream", start);
    if (end < 0)
        return QByteArray();
    return file.mid(start, end - start);
}

QImage decodeRgb(const QByteArray &data, const QByteArray &filter, const QSize &size)
{
    if (filter == "DCTDecode")
        return QImage::fromData(data, "JPEG").convertToFormat(QImage::Format_RGB32);
    QByteArray raw;
    if (filter == "FlateDecode") {
        // qUncompress wants the expected length in front of the zlib stream.
        const quint32 bytes = quint32(size.width()) * quint32(size.height()) * 3;
        QByteArray framed(4, '\0');
        framed[0] = char((bytes >> 24) & 0xFF);
        framed[1] = char((bytes >> 16) & 0xFF);
        framed[2] = char((bytes >> 8) & 0xFF);
        framed[3] = char(bytes & 0xFF);
        raw = qUncompress(framed + data);
    } else if (filter.isEmpty()) {
        raw = data;
    } else {
        return QImage();
    }
    const int rowBytes = size.width() * 3;
    if (size.isEmpty() || raw.size() < rowBytes * size.height())
        return QImage();
    QImage image(reinterpret_cast<const uchar *>(raw.constData()), size.width(), size.height(), rowBytes,
                 QImage::Format_RGB888);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

bool isPdf(const QByteArray &file)
{
    return file.startsWith("%PDF-") && file.trimmed().endsWith("%%EOF");
}

int pageCount(const QByteArray &file)
{
    const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    int count = 0;
    // Pictures hold zero bytes: the whole file, not up to the first of them.
    auto it = page.globalMatch(QString::fromLatin1(file.constData(), file.size()));
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

QVector<Picture> pictures(const QByteArray &file)
{
    QVector<Picture> result;
    int at = 0;
    while ((at = file.indexOf("/Subtype /Image", at)) >= 0) {
        const int open = file.lastIndexOf("<<", at);
        const int close = file.indexOf(">>", at);
        if (open < 0 || close < 0)
            break;
        const QByteArray dictionary = file.mid(open, close - open);
        Picture picture;
        picture.size = QSize(intEntry(dictionary, "Width"), intEntry(dictionary, "Height"));
        picture.filter = nameEntry(dictionary, "Filter");
        if (intEntry(dictionary, "BitsPerComponent") == 8
            && nameEntry(dictionary, "ColorSpace") == "DeviceRGB")
            picture.image = decodeRgb(streamAfter(file, close), picture.filter, picture.size);
        result.append(picture);
        at = close;
    }
    return result;
}

} // namespace PdfImages
