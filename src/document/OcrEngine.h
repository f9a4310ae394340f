#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <opencv2/core.hpp>

namespace tesseract {
class TessBaseAPI;
}

// Tesseract 5 (LSTM) reading pages in a set of languages ("eng", "deu", ...). The recogniser is
// to run on the calling thread only, so that reading a page never takes the core the live picture
// needs: the engine sets the calling thread's OpenMP team to one, and the regions that ask for a
// number of threads themselves are bounded by OMP_THREAD_LIMIT=1, which must be in the
// environment when the process starts (the program's start sees to it).
//
// Threads: an engine is made, used and destroyed on one thread (a worker's, or the command
// line's); engines on different threads are independent.
class OcrEngine
{
public:
    // `languages` in Tesseract's codes; see fromInterfaceLanguages() for the program's.
    explicit OcrEngine(const QStringList &languages);
    ~OcrEngine();
    OcrEngine(const OcrEngine &) = delete;
    OcrEngine &operator=(const OcrEngine &) = delete;

    bool isReady() const { return m_api != nullptr; }
    // Why the engine cannot read, naming the Debian package of a missing language.
    QString error() const { return m_error; }
    QStringList languages() const { return m_languages; }

    // The text of a grey page at `ppi` pixels per inch.
    QString read(const cv::Mat &grey, int ppi);

    // The folder Tesseract's language files are in (TESSDATA_PREFIX, else the distribution's).
    static QString dataPath();
    // Languages whose files are missing, and the Debian package that brings one.
    static QStringList missingLanguages(const QStringList &languages);
    static QString packageName(const QString &language);
    // The program's interface languages ("de", "zh-tw", ...) or Tesseract's own codes, given as
    // "de+en" or "deu,eng", in Tesseract's codes; unknown words are kept as they are, so that
    // missingLanguages() names them.
    static QStringList fromInterfaceLanguages(const QString &list);
    // The default for an interface language: that language, then English.
    static QStringList defaultFor(const QString &interfaceLanguage);

    tesseract::TessBaseAPI &api() { return *m_api; }

private:
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    QStringList m_languages;
    QString m_error;
};
