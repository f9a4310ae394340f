// Scanning pages, on camera pictures made up by tests/pagesynth with the truth beside each, per
// class of scene: how well the page is found (Jaccard index in the page's own frame) and how
// fast; how well the text is read at 3264x2448 and how well the PDF's text layer keeps it; the
// cost of evening out and filtering an 8 MP picture, of OCR and PDF per page; PDF size per page.
//
//   bench_document [--frames N]    N detection frames per class (default 20)
#include "SyntheticScene.h"
#include "document/AutoCapture.h"
#include "document/OcrEngine.h"
#include "document/PageDetector.h"
#include "document/PageFilter.h"
#include "document/PageRectifier.h"
#include "document/SearchablePdfWriter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <opencv2/imgproc.hpp>
#include <unistd.h>

using namespace SyntheticScene;

namespace {

// CPU time of this thread in milliseconds: the machine may be busy with other work, and the
// figures are for one core.
double threadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

QString run(const QString &program, const QStringList &arguments, int *status = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(120000);
    if (status)
        *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

int main(int argc, char **argv)
{
    // Tesseract on one thread, as the program runs it: the OpenMP runtime reads its limit when
    // it is loaded, so the benchmark starts itself again with it.
    if (!qEnvironmentVariableIsSet("OMP_THREAD_LIMIT")) {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // One core, as the figures say.
    cv::setNumThreads(1);
    int frames = 20;
    const QStringList args = QCoreApplication::arguments();
    if (args.contains("--frames"))
        frames = std::max(1, args.value(args.indexOf("--frames") + 1).toInt());

    const PageDetector detector;
    const PageRectifier rectifier(PageRectifier::Paper::A4);

    std::printf(
        "Page detection, %d frames of 1920x1080 per class (CPU time of one core, %d px working copy)\n",
        frames, PageDetector::kWorkingSize);
    std::printf("%-22s %8s %8s %9s %8s\n", "class", "Jaccard", "lowest", ">=0.95", "ms/frame");
    double allSum = 0;
    int allCount = 0, allGood = 0;
    double lowestClass = 1.0;
    for (Kind kind : allKinds()) {
        double sum = 0, lowest = 1, ms = 0;
        int good = 0;
        for (int i = 0; i < frames; ++i) {
            const Scene scene = make(kind, Script::Latin, cv::Size(1920, 1080), i);
            const double start = threadMs();
            const std::optional<PageQuad> quad = detector.detect(scene.frame);
            ms += threadMs() - start;
            const double j = quad ? jaccard(*quad, scene.corners, scene.pageMillimetres) : 0.0;
            sum += j;
            lowest = std::min(lowest, j);
            good += j >= 0.95 ? 1 : 0;
        }
        std::printf("%-22s %8.3f %8.3f %8.0f%% %8.1f\n", qPrintable(kindName(kind)), sum / frames, lowest,
                    100.0 * good / frames, ms / frames);
        allSum += sum;
        allCount += frames;
        allGood += good;
        lowestClass = std::min(lowestClass, sum / frames);
    }
    std::printf("%-22s %8.3f %8s %8.0f%%   (lowest class mean %.3f)\n\n", "all", allSum / allCount, "",
                100.0 * allGood / allCount, lowestClass);

    // Auto-capture on a scripted live picture: 20 pages, each slid in, a hand over it, still, a
    // hand again, still again.
    {
        AutoCapture capture;
        int taken = 0, duplicates = 0, whileMoving = 0, lastPage = -1;
        std::int64_t stillFrom = 0, worstDelay = 0, delays = 0;
        double cpu = 0;
        int frameCount = 0;
        Phase last = Phase::Sliding;
        playSequence(
            20, cv::Size(960, 540), 15, 3, [&](const cv::Mat &frame, std::int64_t ms, Phase phase, int page) {
                if (phase == Phase::Still && last != Phase::Still)
                    stillFrom = ms;
                last = phase;
                const double start = threadMs();
                const bool take = capture.offer(frame, ms, [&] { return bool(detector.detect(frame)); });
                cpu += threadMs() - start;
                ++frameCount;
                if (!take)
                    return;
                ++taken;
                if (page == lastPage)
                    ++duplicates;
                lastPage = page;
                if (phase != Phase::Still)
                    ++whileMoving;
                else {
                    worstDelay = std::max(worstDelay, ms - stillFrom);
                    delays += ms - stillFrom;
                }
            });
        std::printf(
            "Auto-capture, 20 pages at 15 frames/s (960x540): %d taken, %d duplicates, %d while moving; "
            "taken %.0f ms (at most %lld ms) after the page was still; %.2f ms per frame\n\n",
            taken, duplicates, whileMoving, taken ? double(delays) / taken : 0.0, (long long)worstDelay,
            cpu / std::max(1, frameCount));
    }

    // Reading: one page per class at 3264x2448, Latin; Cyrillic and CJK on the dark desk.
    QTemporaryDir dir;
    struct Row
    {
        QString name;
        Script script;
        Kind kind;
    };
    QList<Row> rows;
    for (Kind kind : allKinds())
        rows.append({kindName(kind), Script::Latin, kind});
    rows.append({QStringLiteral("dark desk, Cyrillic"), Script::Cyrillic, Kind::DarkDesk});
    rows.append({QStringLiteral("dark desk, CJK"), Script::Cjk, Kind::DarkDesk});
    std::printf("OCR at 3264x2448 (colour filter, OCR on the evened grey page) and the PDF's text layer\n");
    std::printf("%-22s %8s %10s %10s %10s %8s\n", "class", "CER", "PDF CER", "PDF -raw", "OCR+PDF s",
                "KB/page");
    for (int r = 0; r < rows.size(); ++r) {
        const Row &row = rows[r];
        const Scene scene = make(row.kind, row.script, cv::Size(3264, 2448), 1);
        const std::optional<PageQuad> quad = detector.detect(scene.frame);
        PageQuad truth;
        truth.corners = scene.corners;
        const PageRectifier::Page page = rectifier.rectify(scene.frame, quad ? *quad : truth);
        OcrEngine ocr({languageOf(row.script)});
        if (!ocr.isReady()) {
            std::printf("%-22s %s\n", qPrintable(row.name), qPrintable(ocr.error()));
            continue;
        }
        // A spread is read and written as the two pages it is.
        std::vector<PageRectifier::Page> pages;
        if (row.kind == Kind::BookSpread) {
            for (const PageRectifier::Page &half : PageRectifier::splitSpread(page))
                pages.push_back(half);
        } else {
            pages.push_back(page);
        }
        QString text;
        for (const PageRectifier::Page &p : pages)
            text += ocr.read(PageFilter::forRecognition(p.picture, PageFilter::Kind::Colour), p.ppi) + '\n';
        const double cer = characterErrorRate(text, scene.text, row.script);
        const QString pdf = dir.filePath(QStringLiteral("page-%1.pdf").arg(r));
        SearchablePdfWriter writer(ocr, pdf);
        const double start = threadMs();
        bool ok = writer.begin("bench");
        for (const PageRectifier::Page &p : pages)
            ok = ok
                && writer.addPage(PageFilter::apply(p.picture, PageFilter::Kind::Colour),
                                  PageFilter::forRecognition(p.picture, PageFilter::Kind::Colour), p.ppi);
        ok = ok && writer.commit();
        const double seconds = (threadMs() - start) / 1e3 / double(pages.size());
        const QString layer = ok ? run("pdftotext", {"-enc", "UTF-8", pdf, "-"}) : QString();
        const double pdfCer = characterErrorRate(layer, scene.text, row.script);
        // In the order the text was laid down (the reading order Tesseract found), not
        // pdftotext's own layout analysis.
        const QString raw = ok ? run("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"}) : QString();
        const double rawCer = characterErrorRate(raw, scene.text, row.script);
        std::printf("%-22s %7.2f%% %9.2f%% %9.2f%% %10.2f %8.0f%s\n", qPrintable(row.name), 100 * cer,
                    100 * pdfCer, 100 * rawCer, seconds,
                    QFileInfo(pdf).size() / 1024.0 / double(pages.size()),
                    quad ? "" : "  (no page found: true corners used)");
    }

    // Filters on an 8 MP picture, and a greyscale A4 PDF page at 200 ppi.
    const Scene big = make(Kind::Shadow, Script::Latin, cv::Size(3264, 2448), 2);
    std::printf("\nFlatten + filter, 3264x2448 (8 MP):");
    for (PageFilter::Kind kind :
         {PageFilter::Kind::Colour, PageFilter::Kind::Greyscale, PageFilter::Kind::BlackAndWhite}) {
        QElapsedTimer t;
        t.start();
        const int repeats = 5;
        for (int i = 0; i < repeats; ++i)
            (void)PageFilter::apply(big.frame, kind);
        std::printf("  %s %.1f ms", qPrintable(PageFilter::name(kind)),
                    double(t.nsecsElapsed()) / 1e6 / repeats);
    }
    std::printf("\n");
    {
        PageQuad truth;
        truth.corners = big.corners;
        PageRectifier::Page page = rectifier.rectify(big.frame, truth);
        cv::Mat a4;
        cv::resize(page.picture, a4, cv::Size(1654, 2339), 0, 0, cv::INTER_AREA);
        OcrEngine ocr({"eng"});
        const QString pdf = dir.filePath("grey.pdf");
        SearchablePdfWriter writer(ocr, pdf);
        const cv::Mat read = PageFilter::forRecognition(a4, PageFilter::Kind::Greyscale);
        writer.begin("grey") && writer.addPage(PageFilter::apply(a4, PageFilter::Kind::Greyscale), read, 200)
            && writer.commit();
        int status = -1;
        run("qpdf", {"--check", pdf}, &status);
        const QString info = run("pdfinfo", {pdf});
        const QString size = info.section("Page size:", 1).section('\n', 0, 0).trimmed();
        std::printf("Greyscale A4 page at 200 ppi: %.0f KB; qpdf --check status %d; pdfinfo page size: %s\n",
                    QFileInfo(pdf).size() / 1024.0, status, qPrintable(size));
    }
    return 0;
}
