#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <opencv2/core.hpp>

class OcrEngine;
namespace tesseract {
class TessPDFRenderer;
}

// Writes a PDF of scanned pages: each page a JPEG picture at the page's physical size with the
// recognised text laid over it invisibly (searchable and copyable). The file is written under a
// temporary name beside the destination and renamed onto it by commit(); until then, and when
// the writer is destroyed without commit(), the destination is untouched and the temporary file
// is removed.
//
// Threads: made, used and destroyed on the thread of the OcrEngine it reads with.
class SearchablePdfWriter
{
public:
    // JPEG quality of the pictures.
    static constexpr int kJpegQuality = 70;

    SearchablePdfWriter(OcrEngine &ocr, const QString &destination);
    ~SearchablePdfWriter();
    SearchablePdfWriter(const SearchablePdfWriter &) = delete;
    SearchablePdfWriter &operator=(const SearchablePdfWriter &) = delete;

    // False, with error() saying why, when the temporary file cannot be made.
    bool begin(const QString &title);
    // A page: `picture` (BGR or grey) as it is to be seen, `forRecognition` the grey page of the
    // same size the text is read from, at `ppi` pixels per inch.
    bool addPage(const cv::Mat &picture, const cv::Mat &forRecognition, int ppi);
    // Finishes the file and puts it under its name.
    bool commit();

    QString error() const { return m_error; }
    int pages() const { return m_pages; }

private:
    void discard();

    OcrEngine &m_ocr;
    QString m_destination;
    QString m_temporaryBase; // the renderer appends ".pdf"
    QTemporaryDir m_pictures;
    std::unique_ptr<tesseract::TessPDFRenderer> m_renderer;
    QString m_error;
    int m_pages = 0;
};
