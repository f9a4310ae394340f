#include "document/SearchablePdfWriter.h"

#include "document/DocumentLogging.h"
#include "document/OcrEngine.h"
#include "document/PixImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUuid>

#include <cstdio>
#include <opencv2/imgproc.hpp>
#include <tesseract/baseapi.h>
#include <tesseract/renderer.h>

SearchablePdfWriter::SearchablePdfWriter(OcrEngine &ocr, const QString &destination)
    : m_ocr(ocr)
    , m_destination(QFileInfo(destination).absoluteFilePath())
{ }

SearchablePdfWriter::~SearchablePdfWriter()
{
    discard();
}

void SearchablePdfWriter::discard()
{
    m_renderer.reset();
    if (!m_temporaryBase.isEmpty())
        QFile::remove(m_temporaryBase + QLatin1String(".pdf"));
    m_temporaryBase.clear();
}

bool SearchablePdfWriter::begin(const QString &title)
{
    if (!m_ocr.isReady()) {
        m_error = m_ocr.error();
        return false;
    }
    if (!m_pictures.isValid()) {
        m_error =
            QStringLiteral("No temporary folder for the page pictures: %1").arg(m_pictures.errorString());
        return false;
    }
    const QFileInfo info(m_destination);
    // Hidden, beside the destination: the rename stays on one file system.
    m_temporaryBase = info.dir().filePath(QLatin1Char('.') + info.fileName() + QLatin1Char('.')
                                          + QUuid::createUuid().toString(QUuid::Id128).left(12));
    const QByteArray base = QFile::encodeName(m_temporaryBase);
    const QByteArray data = QFile::encodeName(OcrEngine::dataPath());
    m_renderer = std::make_unique<tesseract::TessPDFRenderer>(base.constData(), data.constData(), false);
    if (!m_renderer->happy() || !m_renderer->BeginDocument(title.toUtf8().constData())) {
        m_error = QStringLiteral("Cannot write in %1.").arg(QDir::toNativeSeparators(info.absolutePath()));
        discard();
        return false;
    }
    return true;
}

bool SearchablePdfWriter::addPage(const cv::Mat &picture, const cv::Mat &forRecognition, int ppi)
{
    if (!m_renderer)
        return false;
    // The renderer embeds a JPEG file as it stands, so the page's picture goes through one.
    QImage image;
    if (picture.channels() == 1) {
        image = QImage(picture.data, picture.cols, picture.rows, int(picture.step),
                       QImage::Format_Grayscale8);
    } else {
        cv::Mat rgb;
        cv::cvtColor(picture, rgb, cv::COLOR_BGR2RGB);
        image = QImage(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888).copy();
    }
    const int dotsPerMetre = int(std::lround(ppi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    const QString file = m_pictures.filePath(QStringLiteral("page-%1.jpg").arg(m_pages));
    if (!image.save(file, "JPEG", kJpegQuality)) {
        m_error = QStringLiteral("Cannot write the picture of page %1.").arg(m_pages + 1);
        return false;
    }
    PixImage pix(forRecognition, ppi);
    const QByteArray name = QFile::encodeName(file);
    tesseract::TessBaseAPI &api = m_ocr.api();
    const bool done = api.ProcessPage(pix.get(), m_pages, name.constData(), nullptr, 0, m_renderer.get());
    QFile::remove(file);
    api.Clear();
    if (!done || !m_renderer->happy()) {
        m_error = QStringLiteral("Page %1 could not be read or written.").arg(m_pages + 1);
        return false;
    }
    ++m_pages;
    return true;
}

bool SearchablePdfWriter::commit()
{
    if (!m_renderer)
        return false;
    const bool ended = m_renderer->EndDocument() && m_renderer->happy();
    // The renderer's file is closed when it goes.
    m_renderer.reset();
    const QByteArray from = QFile::encodeName(m_temporaryBase + QLatin1String(".pdf"));
    const QByteArray to = QFile::encodeName(m_destination);
    if (!ended || std::rename(from.constData(), to.constData()) != 0) {
        m_error = QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(m_destination));
        discard();
        return false;
    }
    m_temporaryBase.clear();
    qCDebug(lcDocument) << "PDF written:" << m_destination << m_pages << "pages";
    return true;
}
