#include "document/ScanToPdf.h"

#include "document/DocumentLogging.h"
#include "document/OcrEngine.h"
#include "document/PageDetector.h"
#include "document/SearchablePdfWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <opencv2/imgproc.hpp>

cv::Mat ScanToPdf::load(const QString &file, QString *error)
{
    QImageReader reader(file);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2")
                         .arg(QDir::toNativeSeparators(file), reader.errorString());
        return {};
    }
    image = image.convertToFormat(QImage::Format_RGB888);
    const cv::Mat rgb(image.height(), image.width(), CV_8UC3, image.bits(), size_t(image.bytesPerLine()));
    cv::Mat bgr;
    cv::cvtColor(rgb, bgr, cv::COLOR_RGB2BGR);
    return bgr;
}

ScanToPdf::Result ScanToPdf::run(const QStringList &pictures, const QString &destination,
                                 const std::function<void(int, int)> &progress)
{
    Result result;
    if (pictures.isEmpty()) {
        result.error = QStringLiteral("No pictures to scan were named.");
        return result;
    }
    // Every picture is read before anything is written: a name mistyped loses no time on OCR.
    for (const QString &file : pictures) {
        if (!QFileInfo(file).isFile()) {
            result.error = QStringLiteral("No picture %1.").arg(QDir::toNativeSeparators(file));
            return result;
        }
    }
    OcrEngine ocr(m_options.languages);
    if (!ocr.isReady()) {
        result.error = ocr.error();
        return result;
    }
    SearchablePdfWriter writer(ocr, destination);
    if (!writer.begin(QFileInfo(destination).completeBaseName())) {
        result.error = writer.error();
        return result;
    }
    const PageDetector detector;
    const PageRectifier rectifier(m_options.paper);
    int done = 0;
    for (const QString &file : pictures) {
        if (m_cancelled) {
            result.error = QStringLiteral("Cancelled.");
            return result;
        }
        const cv::Mat picture = load(file, &result.error);
        if (picture.empty())
            return result;
        const std::optional<PageQuad> quad = detector.detect(picture);
        if (!quad)
            result.withoutPage << file;
        const PageRectifier::Page page = quad ? rectifier.rectify(picture, *quad) : rectifier.whole(picture);
        const cv::Mat shown = PageFilter::apply(page.picture, m_options.filter);
        const cv::Mat read = PageFilter::forRecognition(page.picture, m_options.filter);
        if (!writer.addPage(shown, read, page.ppi)) {
            result.error = writer.error();
            return result;
        }
        qCDebug(lcDocument) << file << (quad ? "page found" : "kept whole") << page.picture.cols << "x"
                            << page.picture.rows << "at" << page.ppi << "ppi";
        if (progress)
            progress(++done, int(pictures.size()));
    }
    if (!writer.commit()) {
        result.error = writer.error();
        return result;
    }
    result.written = true;
    return result;
}
