// Large and hostile files benchmark: each case is opened in its own process (so that its peak
// memory is its own) in the photograph or film source feeding a real canvas of 1280x720, with
// the shown size and frame limit the window gives on a full-HD screen. Per case it prints the
// longest GUI-thread block (the largest gap between beats of a 10 ms timer on the GUI thread,
// from the open until two seconds after the case is shown), the peak resident memory
// (VmHWM), the time until shown, and what the canvas processed while the still stood idle.
// Goals: no block over 100 ms; the hostile folder in under 10 s below 400 MB; the 8000x8000
// PNG and film below 600 MB.
//
//   build/bin/bench_largefiles            (all cases; the files are made in a temporary folder)
//   build/bin/bench_largefiles <case> <folder>   (one case on files already made)

#include "BenchSupport.h"
#include "canvas/FramePipeline.h"
#include "canvas/ImageCanvas.h"
#include "sources/film/FilmSource.h"
#include "sources/photograph/PhotographSource.h"
#include "sources/photograph/ThumbnailLoader.h"
#include "sources/photograph/ThumbnailWidget.h"
#include "widgets/HorizontalSlider.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

struct Case
{
    const char *name;
    const char *what;
};

const Case CASES[] = {
    {"photo12", "4000x3000 JPEG photograph, shown and left idle"},
    {"photo24", "6000x4000 JPEG photograph, shown and left idle"},
    {"jpeg64", "9216x6912 JPEG"},
    {"png64", "valid 8000x8000 PNG of zeros"},
    {"film", "8000x8000 MJPEG film of 3 frames"},
    {"hostile", "folder of 24 JPEGs declaring 60000x60000, all thumbnailed"},
    {"damaged", "damaged MP4 (cut before its index)"},
};

const QSize SHOWN(1920, 1080);
const int IDLE_MS = 2000;

bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A small JPEG whose frame header is rewritten to declare width x height.
bool writeHostileJpeg(const QString &path, int width, int height)
{
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    QByteArray bytes;
    {
        QFile tmp(path);
        if (!small.save(&tmp, "JPEG", 80))
            return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    bytes = file.readAll();
    for (int i = 2; i + 8 < bytes.size(); ++i) {
        const auto marker = quint8(bytes[i + 1]);
        if (quint8(bytes[i]) == 0xff && (marker == 0xc0 || marker == 0xc2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xff);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xff);
            file.seek(0);
            return file.write(bytes) == bytes.size();
        }
    }
    return false;
}

bool makeFiles(const QDir &dir)
{
    const QString lavfi = "lavfi";
    if (!ffmpeg({"-f", lavfi, "-i", "testsrc2=size=4000x3000", "-frames:v", "1", "-q:v", "3",
                 dir.filePath("photo12.jpg")})
        || !ffmpeg({"-f", lavfi, "-i", "testsrc2=size=6000x4000", "-frames:v", "1", "-q:v", "3",
                    dir.filePath("photo24.jpg")})
        || !ffmpeg({"-f", lavfi, "-i", "testsrc2=size=9216x6912", "-frames:v", "1", "-q:v", "3",
                    dir.filePath("jpeg64.jpg")})
        || !ffmpeg({"-f", lavfi, "-i", "testsrc=size=8000x8000:rate=5", "-frames:v", "3", "-c:v", "mjpeg",
                    "-q:v", "10", dir.filePath("film.avi")})
        || !ffmpeg({"-f", lavfi, "-i", "testsrc=size=640x480:rate=25", "-t", "5", "-c:v", "libx264",
                    dir.filePath("whole.mp4")}))
        return false;
    // Zeros at the highest compression: about 190 KB for 192 MB of pixels.
    QImage zeros(8000, 8000, QImage::Format_RGB888);
    zeros.fill(Qt::black);
    if (!zeros.save(dir.filePath("png64.png"), "PNG", 0))
        return false;
    // The index of an MP4 written this way is at its end: cut there, nothing can be played.
    QFile whole(dir.filePath("whole.mp4"));
    if (!whole.open(QIODevice::ReadOnly))
        return false;
    QFile damaged(dir.filePath("damaged.mp4"));
    if (!damaged.open(QIODevice::WriteOnly) || damaged.write(whole.read(whole.size() / 2)) <= 0)
        return false;
    if (!dir.mkpath("hostile"))
        return false;
    for (int i = 0; i < 24; ++i) {
        if (!writeHostileJpeg(dir.filePath(QString("hostile/IMG_%1.jpg").arg(i, 2, 10, QChar('0'))), 60000,
                              60000))
            return false;
    }
    return true;
}

// One case in this process; prints one line "block_ms open_call_ms peak_MB shown_ms processed skipped
// thumbnails" (thumbnails -1 where no strip is shown).
int runCase(const QString &name, const QDir &dir)
{
    ImageCanvas canvas;
    canvas.resize(1280, 720);
    canvas.show();
    auto *strip = static_cast<ThumbnailWidget *>(nullptr);
    PhotographSource photographs(canvas.pipeline(), nullptr);
    photographs.setShownSize(SHOWN);
    FilmSource film(canvas.pipeline(), nullptr);
    film.setFrameLimit(SHOWN);
    film.setAudioOutput("fakesink");
    QWidget stripHolder;
    int thumbnails = -1;
    if (name == "hostile") {
        auto *bar = new HorizontalSlider(QImage(), &stripHolder);
        strip = new ThumbnailWidget(&photographs, bar, &stripHolder);
        strip->setFixedSize(1280, 60);
        QObject::connect(strip->loader(), &ThumbnailLoader::passFinished, [&](int loaded, bool cancelled) {
            if (!cancelled)
                thumbnails = loaded;
        });
        stripHolder.show();
    }
    // As the window does when the photograph mode is entered: the still's refresh runs.
    photographs.resumeCapture();
    qApp->processEvents();

    QElapsedTimer clock;
    qint64 longest = 0;
    qint64 lastBeat = 0;
    qint64 shownAt = -1;
    bool filmDone = false;
    QObject::connect(&film, &FilmSource::opened, [&] { filmDone = true; });
    QObject::connect(&film, &FilmSource::openFailed, [&] { filmDone = true; });

    const FramePipeline *pipeline = canvas.pipeline();
    const quint64 processedBefore = pipeline->processedCount();
    auto shown = [&] {
        if (name == "hostile")
            return thumbnails >= 0 && pipeline->processedCount() > processedBefore;
        if (name == "damaged")
            return filmDone;
        return pipeline->processedCount() > processedBefore;
    };

    QTimer beat;
    beat.setInterval(10);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - lastBeat);
        lastBeat = now;
        if (shownAt < 0 && shown())
            shownAt = now;
    });

    clock.start();
    beat.start();
    bool started = false;
    if (name == "hostile")
        started = photographs.openPhotograph(dir.filePath("hostile"), "IMG_00.jpg");
    else if (name == "film" || name == "damaged")
        started = film.open(dir.filePath(name == "film" ? "film.avi" : "damaged.mp4")) || name == "damaged";
    else
        started = photographs.openPhotograph(dir.path(), name + (name == "png64" ? ".png" : ".jpg"));
    const qint64 openCall = clock.elapsed();
    longest = std::max(longest, openCall);
    lastBeat = openCall;
    if (!started) {
        std::fprintf(stderr, "%s: the open was refused\n", qPrintable(name));
        return 1;
    }
    BenchSupport::spinUntil([&] { return shownAt >= 0; }, 120000);
    if (shownAt < 0) {
        std::fprintf(stderr, "%s: not shown within 120 s\n", qPrintable(name));
        return 2;
    }
    // Idle: a still's refreshes and a film's end, as the user leaves them on screen.
    const quint64 processed = pipeline->processedCount();
    const quint64 skipped = pipeline->skippedRefreshCount();
    BenchSupport::spin(IDLE_MS);
    std::printf("%lld %lld %.0f %lld %llu %llu %d\n", longest, openCall,
                BenchSupport::statusKiB("VmHWM") / 1024.0, shownAt,
                static_cast<unsigned long long>(pipeline->processedCount() - processed),
                static_cast<unsigned long long>(pipeline->skippedRefreshCount() - skipped), thumbnails);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 2)
        return runCase(QString(argv[1]), QDir(QString::fromLocal8Bit(argv[2])));

    QTemporaryDir dir;
    std::printf("making the files...\n");
    std::fflush(stdout);
    if (!dir.isValid() || !makeFiles(QDir(dir.path()))) {
        std::fprintf(stderr, "cannot make the files (ffmpeg with libx264 is needed)\n");
        return 1;
    }
    std::printf("%-9s %9s %8s %8s %9s %14s %6s  %s\n", "case", "block ms", "open ms", "peak MB", "shown ms",
                "idle proc/skip", "thumbs", "what");
    int failures = 0;
    for (const Case &c : CASES) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {c.name, dir.path()});
        if (!child.waitForFinished(300000) || child.exitCode() != 0) {
            std::printf("%-9s failed (exit %d)\n", c.name, child.exitCode());
            ++failures;
            continue;
        }
        const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split('\n').last().split(' ');
        if (f.size() != 7) {
            std::printf("%-9s failed (no figures)\n", c.name);
            ++failures;
            continue;
        }
        std::printf("%-9s %9s %8s %8s %9s %8s/%-5s %6s  %s\n", c.name, f[0].constData(), f[1].constData(),
                    f[2].constData(), f[3].constData(), f[4].constData(), f[5].constData(),
                    f[6] == "-1" ? "" : f[6].constData(), c.what);
        std::fflush(stdout);
    }
    std::printf("(block: longest gap between 10 ms GUI-thread beats from the open until %d ms after shown,\n"
                " the open call included; open: the open call alone; shown: until the canvas processed the\n"
                " picture or first frame, the film's outcome, or the strip's pass ended; idle proc/skip:\n"
                " pictures processed and refreshes skipped in those %d ms; thumbs: thumbnails made)\n",
                IDLE_MS, IDLE_MS);
    return failures ? 3 : 0;
}
