#include "document/OcrEngine.h"

#include "document/DocumentLogging.h"
#include "document/PixImage.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <leptonica/allheaders.h>
#include <omp.h>
#include <tesseract/baseapi.h>

namespace {

const QHash<QString, QString> &interfaceToTesseract()
{
    static const QHash<QString, QString> map = {
        {"en", "eng"}, {"de", "deu"}, {"es", "spa"},        {"fr", "fra"},
        {"ja", "jpn"}, {"ru", "rus"}, {"zh-tw", "chi_tra"}, {"zh_tw", "chi_tra"},
    };
    return map;
}

} // namespace

OcrEngine::OcrEngine(const QStringList &languages)
    : m_languages(languages)
{
    if (languages.isEmpty()) {
        m_error = QStringLiteral("No OCR language was chosen.");
        return;
    }
    const QStringList missing = missingLanguages(languages);
    if (!missing.isEmpty()) {
        QStringList packages;
        for (const QString &language : missing)
            packages << packageName(language);
        m_error = QStringLiteral("The OCR language files for %1 are not installed; install %2.")
                      .arg(missing.join(QLatin1String(", ")), packages.join(QLatin1String(" ")));
        return;
    }
    // Only this thread's parallel regions: the recogniser's OpenMP team would otherwise take
    // every core.
    omp_set_num_threads(1);
    // Leptonica's complaints about empty regions of a page are no news to the user.
    setMsgSeverity(L_SEVERITY_NONE);
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    const QByteArray path = QFile::encodeName(dataPath());
    const QByteArray codes = languages.join('+').toUtf8();
    if (api->Init(path.constData(), codes.constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        m_error = QStringLiteral("Tesseract could not load the OCR languages %1 from %2.")
                      .arg(languages.join('+'), dataPath());
        return;
    }
    api->SetPageSegMode(tesseract::PSM_AUTO);
    // Its own notes about each page go nowhere: the command line's standard error is the user's.
    api->SetVariable("debug_file", "/dev/null");
    m_api = std::move(api);
    qCDebug(lcDocument) << "OCR in" << codes;
}

OcrEngine::~OcrEngine()
{
    if (m_api)
        m_api->End();
}

QString OcrEngine::read(const cv::Mat &grey, int ppi)
{
    if (!m_api)
        return {};
    omp_set_num_threads(1);
    PixImage pix(grey, ppi);
    m_api->SetImage(pix.get());
    m_api->SetSourceResolution(ppi);
    const std::unique_ptr<char[]> text(m_api->GetUTF8Text());
    m_api->Clear();
    return text ? QString::fromUtf8(text.get()) : QString();
}

QString OcrEngine::dataPath()
{
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        return QDir(prefix).absolutePath();
    for (const char *candidate : {"/usr/share/tesseract-ocr/5/tessdata",
                                  "/usr/share/tesseract-ocr/4.00/tessdata", "/usr/share/tessdata"}) {
        if (QFileInfo(QLatin1String(candidate)).isDir())
            return QLatin1String(candidate);
    }
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

QStringList OcrEngine::missingLanguages(const QStringList &languages)
{
    QStringList missing;
    const QDir dir(dataPath());
    for (const QString &language : languages) {
        if (!QFileInfo(dir.filePath(language + QLatin1String(".traineddata"))).isFile())
            missing << language;
    }
    return missing;
}

QString OcrEngine::packageName(const QString &language)
{
    return QLatin1String("tesseract-ocr-") + QString(language).replace('_', '-').toLower();
}

QStringList OcrEngine::fromInterfaceLanguages(const QString &list)
{
    QStringList codes;
    for (const QString &word :
         list.split(QRegularExpression(QStringLiteral("[+,\\s]+")), Qt::SkipEmptyParts)) {
        const QString code = interfaceToTesseract().value(word.toLower(), word);
        if (!codes.contains(code))
            codes << code;
    }
    return codes;
}

QStringList OcrEngine::defaultFor(const QString &interfaceLanguage)
{
    QStringList codes = fromInterfaceLanguages(interfaceLanguage);
    if (!codes.contains(QLatin1String("eng")))
        codes << QStringLiteral("eng");
    return codes;
}
