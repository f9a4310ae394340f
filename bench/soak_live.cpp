// Soak run of the whole program (not a test, not part of `make bench`): the real main window
// shows the simulated camera's live picture for a long time while a recording is restarted at
// a fixed interval and the camera is unplugged and plugged in again at another. It samples the
// resident memory throughout and reports its growth after the warm-up; scripts/soak.sh runs it
// and then checks that every file it wrote plays.
//
//   soak_live OUTDIR [total s = 1800] [record every s = 300] [unplug every s = 420]
//             [warm-up s = 300]
//
// Recordings go to OUTDIR/videos; OUTDIR also holds the run's private settings.

#include "BenchSupport.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ToolActions.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {

// How long the camera stays unplugged: longer than the stall limit plus one device check, so
// the window notices it is gone, as it would notice a pulled cable.
constexpr int UNPLUG_HOLD_MS = 10000;
constexpr int SAMPLE_INTERVAL_MS = 10000;

struct Sample
{
    double seconds;
    double rssMiB;
    bool steady;   // recording with the camera open, the last graph change 10 s ago or more
    int recording; // how many recordings had started when it was taken
};

constexpr double STEADY_AFTER_S = 10.0;
// The most the resident size may grow after the warm-up, without any allocator tunable.
constexpr double GOAL_GROWTH_MIB = 2.0;

double median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Least-squares slope of the samples from `from` seconds on, in MiB per hour.
double slopePerHour(const std::vector<Sample> &samples, double from)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample &s : samples) {
        if (s.seconds < from)
            continue;
        n += 1;
        sx += s.seconds;
        sy += s.rssMiB;
        sxx += s.seconds * s.seconds;
        sxy += s.seconds * s.rssMiB;
    }
    const double d = n * sxx - sx * sx;
    return (n < 3 || d == 0) ? 0.0 : (n * sxy - sx * sy) / d * 3600.0;
}

std::vector<double> rssBetween(const std::vector<Sample> &samples, double from, double to,
                               bool steadyOnly = false)
{
    std::vector<double> out;
    for (const Sample &s : samples)
        if (s.seconds >= from && s.seconds <= to && (s.steady || !steadyOnly))
            out.push_back(s.rssMiB);
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [total s] [record every s] [unplug every s] [warm-up s]\n",
                     argv[0]);
        return 2;
    }
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int totalS = argc > 2 ? std::max(30, atoi(argv[2])) : 1800;
    const int recordS = argc > 3 ? std::max(10, atoi(argv[3])) : 300;
    const int unplugS = argc > 4 ? std::max(20, atoi(argv[4])) : 420;
    const int warmupS = argc > 5 ? std::max(0, atoi(argv[5])) : std::min(300, totalS / 3);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!BenchSupport::usePrivateSettings(outDir)) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(outDir));
        return 1;
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
    QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
    // The fixed debug lines of the program would drown the report.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type >= QtWarningMsg)
            std::fprintf(stderr, "  [log] %s\n", qPrintable(text));
    });
    if (!MediaFramework::initialize())
        return 1;
    const QString videos = outDir + QStringLiteral("/videos");
    QDir().mkpath(videos);
    Config::setRecordPath(videos);

    auto camera = std::make_shared<SimulatedCamera>();
    MainWindow window(Clock::system(), std::make_unique<SimulatedBackend>(camera));
    window.show();
    std::atomic<long> frames{0};
    QObject::connect(
        window.canvas(MODE_LIVE)->pipeline(), &FramePipeline::streamFrameUpdate, &window,
        [&frames] { frames.fetch_add(1, std::memory_order_relaxed); }, Qt::DirectConnection);

    QElapsedTimer clock;
    clock.start();
    auto now = [&clock] { return double(clock.elapsed()) / 1000.0; };
    double lastChange = 0.0; // when the live graph was last torn down or rebuilt
    auto note = [&](const char *what) {
        lastChange = now();
        std::printf("%8.1f s  %s\n", now(), what);
        std::fflush(stdout);
    };
    int recordingsStarted = 0, unplugs = 0;
    // Near the end nothing new starts: a recording or an unplug cut short by the end of the
    // run would say nothing about the program.
    auto nearEnd = [&](int marginMs) { return clock.elapsed() > qint64(totalS) * 1000 - marginMs; };
    auto startRecording = [&] {
        if (window.isRecording() || !window.liveSource()->isOpen() || nearEnd(10000))
            return;
        window.toolActions()->record();
        if (window.isRecording()) {
            ++recordingsStarted;
            note("recording started");
        }
    };
    const bool opened = BenchSupport::spinUntil(
        [&] { return window.liveSource()->isOpen() && frames.load() > 0; }, 15000);
    if (!opened) {
        std::fprintf(stderr, "the simulated camera did not open\n");
        return 1;
    }
    std::printf("soak: %d s, recording restarted every %d s, camera unplugged every %d s for %d s, "
                "warm-up %d s, capture %dx%d, platform %s\n",
                totalS, recordS, unplugS, UNPLUG_HOLD_MS / 1000, warmupS, window.liveSource()->captureWidth(),
                window.liveSource()->captureHeight(), qPrintable(QGuiApplication::platformName()));
    startRecording();

    bool unplugged = false;
    QTimer recordTimer;
    recordTimer.setInterval(recordS * 1000);
    QObject::connect(&recordTimer, &QTimer::timeout, [&] {
        if (window.isRecording()) {
            window.toolActions()->record();
            note("recording stopped");
        }
        startRecording();
    });
    QTimer unplugTimer;
    unplugTimer.setInterval(unplugS * 1000);
    QObject::connect(&unplugTimer, &QTimer::timeout, [&] {
        if (nearEnd(UNPLUG_HOLD_MS + 15000))
            return;
        camera->unplug();
        unplugged = true;
        ++unplugs;
        note("camera unplugged");
        QTimer::singleShot(UNPLUG_HOLD_MS, [&] {
            camera->plugIn();
            unplugged = false;
            note(window.isRecording() ? "camera plugged in (recording still running!)"
                                      : "camera plugged in (recording was ended by the window)");
        });
    });
    // Once the camera is back and streaming, the recording it lost starts again.
    QTimer resumeTimer;
    resumeTimer.setInterval(500);
    QObject::connect(&resumeTimer, &QTimer::timeout, [&] {
        if (!unplugged && !window.isRecording() && window.liveSource()->isOpen())
            startRecording();
    });

    std::vector<Sample> samples;
    long lastFrames = frames.load();
    double lastAt = now();
    QTimer sampleTimer;
    sampleTimer.setInterval(SAMPLE_INTERVAL_MS);
    QObject::connect(&sampleTimer, &QTimer::timeout, [&] {
        const double t = now();
        const double rss = double(BenchSupport::statusKiB("VmRSS")) / 1024.0;
        const bool steady = window.isRecording() && window.liveSource()->isOpen()
            && t - lastChange >= STEADY_AFTER_S;
        samples.push_back({t, rss, steady, recordingsStarted});
        const long f = frames.load();
        // What the allocator holds: blocks in use, free blocks kept in its heaps, and blocks
        // mapped by themselves. Growth in use is a leak; growth of the free part is the heap
        // keeping what it was given back.
        const struct mallinfo2 heap = mallinfo2();
        constexpr double MIB = 1024.0 * 1024.0;
        std::printf(
            "%8.1f s  rss %7.1f MiB  heap in use %6.1f free %6.1f mapped %6.1f MiB  frames/s %5.1f  %s%s\n",
            t, rss, double(heap.uordblks) / MIB, double(heap.fordblks) / MIB, double(heap.hblkhd) / MIB,
            double(f - lastFrames) / (t - lastAt), window.isRecording() ? "recording" : "preview",
            window.liveSource()->isOpen() ? "" : ", camera closed");
        std::fflush(stdout);
        lastFrames = f;
        lastAt = t;
    });
    recordTimer.start();
    unplugTimer.start();
    resumeTimer.start();
    sampleTimer.start();
    QTimer::singleShot(totalS * 1000, &app, &QCoreApplication::quit);
    app.exec();

    const bool openAtEnd = window.liveSource()->isOpen();
    if (window.isRecording()) {
        window.toolActions()->record();
        note("recording stopped");
    }

    // The resident size moves by several MiB from one recording to the next as the allocator
    // places their frame-sized blocks, and falls back later; a leak lifts the lowest level.
    // So the lowest level of the first and of the second half after the warm-up are compared,
    // both in the same state: recording, and not just after the graph was rebuilt.
    const double end = samples.empty() ? 0.0 : samples.back().seconds;
    const double middle = (warmupS + end) / 2.0;
    const std::vector<double> firstHalf = rssBetween(samples, warmupS, middle, true);
    const std::vector<double> secondHalf = rssBetween(samples, middle, end, true);
    const std::vector<double> afterWarmUp = rssBetween(samples, warmupS, end);
    auto lowest = [](const std::vector<double> &v) {
        return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
    };
    auto highest = [](const std::vector<double> &v) {
        return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
    };
    const double halvesGrowth = lowest(secondHalf) - lowest(firstHalf);
    // The level of each recording after the warm-up: its lowest steady sample. A leak per
    // recording shows as a staircase, which the two halves only see half of.
    std::vector<double> levels;
    int levelOf = -1;
    for (const Sample &s : samples) {
        if (s.seconds < warmupS || !s.steady)
            continue;
        if (s.recording != levelOf) {
            levels.push_back(s.rssMiB);
            levelOf = s.recording;
        }
        levels.back() = std::min(levels.back(), s.rssMiB);
    }
    const double levelGrowth = levels.empty() ? 0.0 : highest(levels) - levels.front();
    const double growth = std::max(halvesGrowth, levelGrowth);
    const double slope = slopePerHour(samples, warmupS);
    // For reference: the live preview alone, a few seconds after the last recording ended.
    BenchSupport::spin(5000);
    const double previewAtEnd = double(BenchSupport::statusKiB("VmRSS")) / 1024.0;
    const double peak = double(BenchSupport::statusKiB("VmHWM")) / 1024.0;
    std::printf("\nsummary\n");
    std::printf("  recordings started %d, unplugs %d, camera open at the end: %s\n", recordingsStarted,
                unplugs, openAtEnd ? "yes" : "no");
    std::printf("  rss after warm-up (%d-%.0f s): lowest %.1f, median %.1f, highest %.1f MiB; lowest while "
                "recording steadily in the first half %.1f, in the second half %.1f MiB: growth %+.1f MiB; "
                "trend of all samples "
                "%+.1f MiB/h; live preview alone at the end %.1f MiB; peak (VmHWM) %.1f MiB\n",
                warmupS, end, lowest(afterWarmUp), median(afterWarmUp), highest(afterWarmUp),
                lowest(firstHalf), lowest(secondHalf), halvesGrowth, slope, previewAtEnd, peak);
    std::printf("  level of each recording after warm-up (lowest steady sample), MiB:");
    for (double level : levels)
        std::printf(" %.1f", level);
    std::printf("; highest above the first %+.1f MiB\n", levelGrowth);
    // The larger of both growths counts against the goal; without samples in both halves there
    // is nothing to judge.
    const bool judged = !firstHalf.empty() && !secondHalf.empty() && levels.size() >= 2;
    const bool goalMet = judged && growth < GOAL_GROWTH_MIB;
    std::printf("  memory growth after warm-up: %+.1f MiB, goal < %.1f MiB: %s\n", growth, GOAL_GROWTH_MIB,
                !judged       ? "not judged (too few steady samples)"
                    : goalMet ? "met"
                              : "MISSED");
    // Each heap of the allocator with its free and used bytes, for a look at where the memory is.
    if (FILE *heaps = std::fopen(QFile::encodeName(outDir + QStringLiteral("/malloc_info.xml")).constData(),
                                 "w")) {
        malloc_info(0, heaps);
        std::fclose(heaps);
    }
    const int files = QDir(videos).entryList({QStringLiteral("*.avi")}, QDir::Files).size();
    std::printf("  files written: %d in %s\n", files, qPrintable(videos));
    std::printf("SOAK files=%d growth_mib=%.1f trend_mib_per_h=%.1f peak_mib=%.1f\n", files, growth, slope,
                peak);
    return 0;
}
