#pragma once

#include "document/PageFilter.h"
#include "document/PageRectifier.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Pictures of pages to one searchable PDF: for each picture the page is found, straightened,
// filtered and read; a picture in which no page is found goes in whole. Nothing is written unless
// every picture could be read and the whole PDF written.
//
// Threads: run() works on the calling thread from start to end (the command line's main thread,
// or a worker's); cancel() may be called from any thread while it runs.
class ScanToPdf
{
public:
    struct Options
    {
        QStringList languages = {QStringLiteral("eng")}; // Tesseract's codes
        PageFilter::Kind filter = PageFilter::Kind::Colour;
        PageRectifier::Paper paper = PageRectifier::paperOfLocale();
    };
    struct Result
    {
        bool written = false;
        QString error;           // why not, when not written
        QStringList withoutPage; // pictures kept whole: no page was found in them
    };

    explicit ScanToPdf(Options options)
        : m_options(std::move(options))
    { }

    // `progress`, when given, is called after each picture with the number done.
    Result run(const QStringList &pictures, const QString &destination,
               const std::function<void(int done, int total)> &progress = {});
    void cancel() { m_cancelled = true; }

    // A picture file as BGR, turned as its EXIF orientation says; empty when it cannot be read.
    static cv::Mat load(const QString &file, QString *error);

private:
    Options m_options;
    std::atomic<bool> m_cancelled{false};
};
