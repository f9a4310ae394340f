#include "app/ScanCommand.h"

#include "app/CommandLine.h"
#include "common/Logging.h"
#include "document/OcrEngine.h"
#include "document/ScanToPdf.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

int fail(const QString &reason)
{
    std::fprintf(stderr, "document-camera: %s\n", qPrintable(reason));
    return 1;
}

// The pictures named, a folder standing for its pictures in name order.
QStringList picturesOf(const QStringList &arguments)
{
    QStringList pictures;
    for (const QString &argument : arguments) {
        if (!QFileInfo(argument).isDir()) {
            pictures << argument;
            continue;
        }
        QDir folder(argument);
        // Name filters match regardless of case unless told otherwise: *.jpg takes IMG_1.JPG too.
        folder.setNameFilters({"*.jpg", "*.jpeg", "*.png", "*.bmp", "*.tif", "*.tiff"});
        folder.setSorting(QDir::Name | QDir::LocaleAware);
        for (const QString &name : folder.entryList(QDir::Files))
            pictures << folder.filePath(name);
    }
    return pictures;
}

} // namespace

int ScanCommand::run(const CommandLine &line, const QString &interfaceLanguage)
{
    ScanToPdf::Options options;
    const std::optional<PageFilter::Kind> filter = PageFilter::fromName(
        line.filter().isEmpty() ? QStringLiteral("colour") : line.filter());
    if (!filter)
        return fail(QStringLiteral("No filter '%1'; the filters are colour, grey, bw and original.")
                        .arg(line.filter()));
    options.filter = *filter;
    options.languages = line.ocrLanguages().isEmpty()
        ? OcrEngine::defaultFor(interfaceLanguage)
        : OcrEngine::fromInterfaceLanguages(line.ocrLanguages());
    const QString output = line.scanOutput();
    if (output.isEmpty())
        return fail(QStringLiteral("--scan-pdf needs the name of the PDF to write."));
    if (QFileInfo(output).isDir())
        return fail(
            QStringLiteral("%1 is a folder, not a PDF's name.").arg(QDir::toNativeSeparators(output)));
    qCDebug(lcApp).noquote() << "scanning" << line.scanPictures().size() << "pictures to" << output << "in"
                             << options.languages.join('+');
    ScanToPdf scan(options);
    const ScanToPdf::Result result = scan.run(picturesOf(line.scanPictures()), output);
    for (const QString &picture : result.withoutPage)
        std::fprintf(stderr, "document-camera: no page found in %s; it is kept whole.\n",
                     qPrintable(QDir::toNativeSeparators(picture)));
    if (!result.written)
        return fail(result.error + QStringLiteral(" Nothing was written."));
    return 0;
}

void ScanCommand::limitOpenMpThreads(char **argv)
{
    if (std::getenv("OMP_THREAD_LIMIT"))
        return;
    if (setenv("OMP_THREAD_LIMIT", "1", 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not started again: the scan runs with the runtime's own limit.
    unsetenv("OMP_THREAD_LIMIT");
}
