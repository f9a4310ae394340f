// Soak run of the whole program (not a test, not part of `make bench`): the real main window
// shows the simulated camera's live picture for a long time while a recording is restarted at
// a fixed interval and the camera is unplugged and plugged in again at another. It samples the
// resident memory throughout and reports its growth after the warm-up; scripts/soak.sh runs it
// and then checks that every file it wrote plays and is as long as it was recorded.
//
//   soak_live OUTDIR [total s = 1800] [record every s = 300] [unplug every s = 420]
//             [warm-up s = 300] [PHOTOGRAPH FILM]
//
// With a photograph and a film, every recording is accompanied by a visit: some seconds into
// it the window goes to Photograph mode and opens the photograph, then to Film mode and plays
// the film, then back to Live, each through the buttons a user clicks. Large ones block the
// window while they load, which must never cost the recording a frame. Without them the run
// measures the memory of live preview and recording alone.
//
// Recordings go to OUTDIR/videos; each one's start and end is logged to OUTDIR/recordings.tsv
// as it ends. OUTDIR also holds the run's private settings.

#include "BenchSupport.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/FilmBar.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PhotographBar.h"
#include "mainwindow/RecordingControl.h"
#include "mainwindow/ToolActions.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/film/FilmSource.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"
#include "sources/photograph/PhotographSource.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTime>
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
// A visit starts this long into a recording and stays this long in each of the two modes.
constexpr int VISIT_AFTER_MS = 15000;
constexpr int VISIT_STAY_MS = 15000;
// The window's event loop is checked this often; the longest gap shows how long a visit blocked it.
constexpr int HEARTBEAT_MS = 100;

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
    if (argc < 2 || argc == 7) {
        std::fprintf(stderr,
                     "usage: %s OUTDIR [total s] [record every s] [unplug every s] [warm-up s] "
                     "[PHOTOGRAPH FILM]\n",
                     argv[0]);
        return 2;
    }
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int totalS = argc > 2 ? std::max(30, atoi(argv[2])) : 1800;
    const int recordS = argc > 3 ? std::max(10, atoi(argv[3])) : 300;
    const int unplugS = argc > 4 ? std::max(20, atoi(argv[4])) : 420;
    const int warmupS = argc > 5 ? std::max(0, atoi(argv[5])) : std::min(300, totalS / 3);
    const QString photograph = argc > 7 ? QFileInfo(QString::fromLocal8Bit(argv[6])).absoluteFilePath()
                                        : QString();
    const QString film = argc > 7 ? QFileInfo(QString::fromLocal8Bit(argv[7])).absoluteFilePath() : QString();
    const bool visits = !photograph.isEmpty();
    if (visits && (!QFileInfo(photograph).isFile() || !QFileInfo(film).isFile())) {
        std::fprintf(stderr, "no photograph %s or film %s\n", qPrintable(photograph), qPrintable(film));
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!BenchSupport::usePrivateSettings(outDir)) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(outDir));
        return 1;
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
    QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
    // The fixed debug lines of the program would drown the report; SOAK_LOG_ALL=1 keeps them,
    // each with its wall-clock time, to follow a fault.
    static const bool logAll = qEnvironmentVariableIntValue("SOAK_LOG_ALL") != 0;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (logAll)
            std::fprintf(stderr, "  [log %s] %s\n",
                         qPrintable(QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz"))),
                         qPrintable(text));
        else if (type >= QtWarningMsg)
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

    // Every recording, whoever ends it, as one line of OUTDIR/recordings.tsv: its wall-clock
    // start and stop, and when the camera was pulled if that happened while it ran. The file
    // holds the time from the start to the stop: after an unplug the window ends the recording
    // once it sees the camera gone, and the file keeps the last picture up to that stop.
    QFile recordingLog(outDir + QStringLiteral("/recordings.tsv"));
    if (!recordingLog.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(recordingLog.fileName()));
        return 1;
    }
    recordingLog.write("file\tstart\tstop\tstart_s\tstop_s\tunplugged_s\trecorded_s\tended_by\n");
    recordingLog.flush();
    QStringList knownFiles;
    auto newFile = [&] {
        const QStringList all = QDir(videos).entryList({QStringLiteral("*.avi")}, QDir::Files, QDir::Name);
        QString found;
        for (const QString &name : all)
            if (!knownFiles.contains(name))
                found = name;
        if (!found.isEmpty())
            knownFiles.append(found);
        return found;
    };
    struct Running
    {
        QString file;
        QDateTime startWall;
        double startS = 0;
        double unpluggedS = -1; // when the camera was pulled while it ran
    } running;
    // Whether the camera is pulled out now; a recording started meanwhile (the window has not
    // noticed yet) gets no picture, and its empty file is removed.
    bool unplugged = false;
    int recordingNumber = 0; // of the recording running or last run
    // When the soak asked for the stop; a stop by the window is taken when it is reported.
    double soakStopS = -1;
    const auto wallText = [](const QDateTime &t) { return t.toString(Qt::ISODateWithMs).toUtf8(); };
    QObject::connect(window.recordingControl(), &RecordingControl::recordingChanged, [&](bool recording) {
        if (recording) {
            ++recordingNumber;
            running = Running{newFile(), QDateTime::currentDateTime(), now(), unplugged ? now() : -1};
            return;
        }
        const bool bySoak = soakStopS >= 0;
        const double stopS = bySoak ? soakStopS : now();
        const QDateTime stopWall = QDateTime::currentDateTime().addMSecs(qint64((stopS - now()) * 1000.0));
        if (running.file.isEmpty())
            running.file = newFile();
        const char *endedBy = bySoak ? "soak" : running.unpluggedS >= 0 ? "unplug" : "window";
        recordingLog.write(
            running.file.toUtf8() + '\t' + wallText(running.startWall) + '\t' + wallText(stopWall) + '\t'
            + QByteArray::number(running.startS, 'f', 3) + '\t' + QByteArray::number(stopS, 'f', 3) + '\t'
            + (running.unpluggedS >= 0 ? QByteArray::number(running.unpluggedS, 'f', 3) : "-") + '\t'
            + QByteArray::number(stopS - running.startS, 'f', 3) + '\t' + endedBy + '\n');
        recordingLog.flush();
        if (!bySoak && running.unpluggedS < 0)
            note("recording ended by the window without a stop or an unplug!");
    });
    auto startRecording = [&] {
        if (window.isRecording() || !window.liveSource()->isOpen() || nearEnd(10000))
            return;
        window.toolActions()->record();
        if (window.isRecording()) {
            ++recordingsStarted;
            note("recording started");
        }
    };
    auto stopRecording = [&] {
        soakStopS = now();
        window.toolActions()->record();
        soakStopS = -1;
        note("recording stopped");
    };

    // How long the window's event loop was held up at worst during a visit.
    QElapsedTimer beat;
    beat.start();
    qint64 longestBlockMs = 0;
    QTimer heartbeat;
    heartbeat.setInterval(HEARTBEAT_MS);
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { longestBlockMs = std::max(longestBlockMs, beat.restart() - HEARTBEAT_MS); });
    heartbeat.start();
    // The open buttons ask the file dialog; the soak answers it with the file of the visit.
    QString dialogAnswer;
    window.setOpenFileDialog([&dialogAnswer](QWidget *, const QString &, const QString &, const QString &) {
        return dialogAnswer;
    });
    auto click = [](QAbstractButton *button) {
        QElapsedTimer t;
        t.start();
        button->click();
        return double(t.elapsed()) / 1000.0;
    };
    bool visiting = false;
    auto noteVisit = [&](const QString &what) {
        lastChange = now();
        std::printf("%8.1f s  visit: %s\n", now(), qPrintable(what));
        std::fflush(stdout);
    };
    auto visit = [&] {
        const int recording = recordingNumber;
        QTimer::singleShot(VISIT_AFTER_MS, &window, [&, recording] {
            if (!window.isRecording() || recordingNumber != recording || nearEnd(2 * VISIT_STAY_MS + 10000))
                return;
            visiting = true;
            longestBlockMs = 0;
            click(window.modeButton(MODE_PHOTOGRAPH));
            dialogAnswer = photograph;
            QElapsedTimer decoding;
            decoding.start();
            click(window.photographBar()->openButton());
            PhotographSource *photographs = window.photographSource();
            // The picture is decoded beside the window; the visit waits for it as a user would.
            const bool shown = BenchSupport::spinUntil(
                [&] {
                    return photographs->count() > 0 && !photographs->isDecoding()
                        && photographs->deliveredSize().isValid();
                },
                30000);
            const QSize whole = photographs->pictureSize(), delivered = photographs->deliveredSize();
            noteVisit(shown ? QStringLiteral("Photograph mode, %1 (%2 x %3) shown at %4 x %5 after %6 s")
                                  .arg(QFileInfo(photograph).fileName())
                                  .arg(whole.width())
                                  .arg(whole.height())
                                  .arg(delivered.width())
                                  .arg(delivered.height())
                                  .arg(double(decoding.elapsed()) / 1000.0, 0, 'f', 1)
                            : QStringLiteral("Photograph mode, %1 NOT shown within 30 s")
                                  .arg(QFileInfo(photograph).fileName()));
            QTimer::singleShot(VISIT_STAY_MS, &window, [&] {
                click(window.modeButton(MODE_FILM));
                dialogAnswer = film;
                click(window.filmBar()->openButton());
                QElapsedTimer loading;
                loading.start();
                const bool loaded = BenchSupport::spinUntil([&] { return window.filmSource()->isLoaded(); },
                                                            30000);
                if (loaded)
                    click(window.filmBar()->playButton());
                noteVisit(loaded ? QStringLiteral("Film mode, %1 loaded in %2 s and playing")
                                       .arg(QFileInfo(film).fileName())
                                       .arg(double(loading.elapsed()) / 1000.0, 0, 'f', 1)
                                 : QStringLiteral("Film mode, %1 NOT loaded within 30 s")
                                       .arg(QFileInfo(film).fileName()));
                QTimer::singleShot(VISIT_STAY_MS, &window, [&] {
                    click(window.modeButton(MODE_LIVE));
                    visiting = false;
                    noteVisit(
                        QStringLiteral("back to Live; the window was held up %1 s at most%2")
                            .arg(double(longestBlockMs) / 1000.0, 0, 'f', 1)
                            .arg(window.isRecording() ? QString() : QStringLiteral(", recording ENDED")));
                });
            });
        });
    };
    if (visits)
        QObject::connect(window.recordingControl(), &RecordingControl::recordingChanged, &window,
                         [&](bool recording) {
                             if (recording)
                                 visit();
                         });
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
    if (visits)
        std::printf("soak: visits %d s into each recording: Photograph mode with %s, Film mode with %s, "
                    "%d s each\n",
                    VISIT_AFTER_MS / 1000, qPrintable(photograph), qPrintable(film), VISIT_STAY_MS / 1000);
    else
        std::printf("soak: no visits (live preview and recording only)\n");
    startRecording();

    QTimer recordTimer;
    recordTimer.setInterval(recordS * 1000);
    QObject::connect(&recordTimer, &QTimer::timeout, [&] {
        if (window.isRecording())
            stopRecording();
        startRecording();
    });
    QTimer unplugTimer;
    unplugTimer.setInterval(unplugS * 1000);
    QObject::connect(&unplugTimer, &QTimer::timeout, [&] {
        if (nearEnd(UNPLUG_HOLD_MS + 15000))
            return;
        camera->unplug();
        unplugged = true;
        if (window.isRecording())
            running.unpluggedS = now();
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
        const bool steady = window.isRecording() && window.liveSource()->isOpen() && !visiting
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
    if (window.isRecording())
        stopRecording();

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
