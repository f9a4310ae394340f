// The whole program's live path on the simulated camera: the real main window, shown, with
// the live source, the grabber and the canvas painting, at three capture formats. Per format
// it prints the frames the camera delivered and the canvas processed per second, the frames
// lost on the way (the preview queue's and the canvas's drops), the CPU seconds per second of
// the whole program against a floor (the same camera elements and jpegdec into a fakesink,
// nothing else), the time from a frame's entry into its decoder and from its hand-over by the
// grabber to the end of the paint that shows it, and the program's peak memory. Then whether
// each goal is met.
//
//   build/bin/bench_livepath [seconds per format = 20] [WxH ...] [convert]
//
// Each measurement runs in a child process of its own (a floor run before and after the
// program), so CPU time and peak memory are those of one program alone. Without DISPLAY it uses the offscreen
// platform. At 1920x1080, and at every size with the word "convert" among the arguments, it also measures the
// floor followed by the conversion to the grabber's BGRx frames, and prints the program's ratio to that.
// Children: bench_livepath
// --floor|--floor-convert|--program W H FPS SECONDS (one "RESULT k=v" line).

#include "BenchSupport.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/MainWindow.h"
#include "sources/devices/CaptureFormatChooser.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int WARM_UP_MS = 3000;

struct Case
{
    int width;
    int height;
    int fps;
};

const Case CASES[] = {{1280, 720, 30}, {1920, 1080, 30}, {3264, 2448, 15}};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1.0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

void silenceDebugLines()
{
    // The program's fixed debug lines (one per dropped frame, per graph change) would bury
    // the table; warnings still reach stderr.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type >= QtWarningMsg)
            std::fprintf(stderr, "  [log] %s\n", qPrintable(text));
    });
}

// --- child: the floor ------------------------------------------------------------------------

// With `convert`, the floor goes on to the frame layout the grabber takes (videoconvert to
// BGRx), to tell the conversion apart from the program's own work.
int runFloor(int argc, char **argv, const Case &c, int seconds, bool convert)
{
    QCoreApplication app(argc, argv);
    silenceDebugLines();
    if (!MediaFramework::initialize())
        return 1;
    auto camera = std::make_shared<SimulatedCamera>();
    MediaGraph graph("floor");
    GstRef<GstElement> source(camera->createVideoElement());
    GstElement *format = graph.addElement("capsfilter", "Capture Format");
    GstElement *decoder = graph.addElement("jpegdec", "Decoder");
    GstElement *converter = convert ? graph.addElement("videoconvert", "Converter") : nullptr;
    GstElement *layout = convert ? graph.addElement("capsfilter", "Frame Layout") : nullptr;
    GstElement *sink = graph.addElement("fakesink", "Renderer");
    if (!source || !graph.addElement(source.get(), "Camera") || !format || !decoder || !sink
        || (convert && (!converter || !layout)))
        return 1;
    CaptureMode mode;
    mode.width = c.width;
    mode.height = c.height;
    mode.rateNumerator = c.fps;
    GstRef<GstCaps> caps(gst_caps_from_string(mode.toCapsString().toUtf8().constData()));
    g_object_set(format, "caps", caps.get(), nullptr);
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    bool linked = false;
    if (convert) {
        GstRef<GstCaps> bgrx(gst_caps_from_string("video/x-raw,format=BGRx"));
        g_object_set(layout, "caps", bgrx.get(), nullptr);
        linked = gst_element_link_many(source.get(), format, decoder, converter, layout, sink, nullptr);
    } else {
        linked = gst_element_link_many(source.get(), format, decoder, sink, nullptr);
    }
    if (!linked || !graph.run())
        return 1;
    if (!BenchSupport::spinUntil([&] { return camera->framesDelivered() > 0; }, 10000))
        return 1;
    BenchSupport::spin(WARM_UP_MS);
    const int frames0 = camera->framesDelivered();
    const double cpu0 = BenchSupport::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    BenchSupport::spin(seconds * 1000);
    const double s = double(wall.nsecsElapsed()) / 1e9;
    std::printf("RESULT cpu=%.4f delivered=%.3f\n", (BenchSupport::cpuSeconds() - cpu0) / s,
                (camera->framesDelivered() - frames0) / s);
    graph.stop();
    return 0;
}

// --- child: the whole program ----------------------------------------------------------------

int runProgram(int argc, char **argv, const Case &c, int seconds)
{
    QTemporaryDir home;
    if (!home.isValid() || !BenchSupport::usePrivateSettings(home.path()))
        return 1;
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
    QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
    silenceDebugLines();
    if (!MediaFramework::initialize())
        return 1;
    Config::setResolution(QSize(c.width, c.height));

    auto camera = std::make_shared<SimulatedCamera>();
    MainWindow window(Clock::system(), std::make_unique<SimulatedBackend>(camera));
    window.show();
    ImageCanvas *canvas = window.canvas(MODE_LIVE);

    std::atomic<long> arrived{0};
    std::atomic<long> processed{0};
    QObject::connect(
        canvas->pipeline(), &FramePipeline::streamFrameUpdate, canvas,
        [&arrived] { arrived.fetch_add(1, std::memory_order_relaxed); }, Qt::DirectConnection);
    QObject::connect(
        canvas->pipeline(), &FramePipeline::updateFromWorker, canvas,
        [&processed] { processed.fetch_add(1, std::memory_order_relaxed); }, Qt::DirectConnection);
    // Called on the GUI thread only, like the flag it reads.
    bool measuring = false;
    std::vector<double> latencies;
    std::vector<double> fromDecoder;
    latencies.reserve(size_t(seconds) * size_t(c.fps) * 2);
    fromDecoder.reserve(size_t(seconds) * size_t(c.fps) * 2);
    canvas->pipeline()->setFrameTimingObserver([&](const FramePaintTiming::Report &report) {
        if (!measuring)
            return;
        latencies.push_back(double(report.paintedNs - report.arrivalNs) / 1e6);
        if (report.decoderNs > 0)
            fromDecoder.push_back(double(report.paintedNs - report.decoderNs) / 1e6);
    });

    const QString wanted = QStringLiteral("width=%1,height=%2").arg(c.width).arg(c.height);
    const bool streaming = BenchSupport::spinUntil(
        [&] {
            return window.liveSource()->isOpen() && window.liveSource()->captureCaps().contains(wanted)
                && processed.load() > 0 && window.windowHandle() && window.windowHandle()->isExposed();
        },
        20000);
    if (!streaming) {
        std::fprintf(stderr, "no live picture at %dx%d (caps \"%s\")\n", c.width, c.height,
                     qPrintable(window.liveSource()->captureCaps()));
        return 1;
    }
    BenchSupport::spin(WARM_UP_MS);

    const int delivered0 = camera->framesDelivered();
    const long arrived0 = arrived.load();
    const long processed0 = processed.load();
    const double cpu0 = BenchSupport::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    measuring = true;
    BenchSupport::spin(seconds * 1000);
    measuring = false;
    const double s = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = (BenchSupport::cpuSeconds() - cpu0) / s;
    const int delivered = camera->framesDelivered() - delivered0;
    const long arrivedN = arrived.load() - arrived0;
    const long processedN = processed.load() - processed0;
    canvas->pipeline()->setFrameTimingObserver({});

    std::printf("RESULT cpu=%.4f delivered=%.3f arrived=%.3f processed=%.3f painted=%.3f "
                "delivered_n=%d arrived_n=%ld processed_n=%ld lat_median=%.2f lat_p95=%.2f "
                "dec_median=%.2f dec_p95=%.2f dec_n=%zu hwm_mib=%.1f canvas=%dx%d\n",
                cpu, delivered / s, arrivedN / s, processedN / s, double(latencies.size()) / s, delivered,
                arrivedN, processedN, percentile(latencies, 0.5), percentile(latencies, 0.95),
                percentile(fromDecoder, 0.5), percentile(fromDecoder, 0.95), fromDecoder.size(),
                double(BenchSupport::statusKiB("VmHWM")) / 1024.0, canvas->width(), canvas->height());
    std::fflush(stdout);
    return 0;
}

// --- parent ----------------------------------------------------------------------------------

QHash<QString, QString> runChild(const char *mode, const Case &c, int seconds)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(mode), QString::number(c.width), QString::number(c.height),
                 QString::number(c.fps), QString::number(seconds)});
    QHash<QString, QString> result;
    if (!child.waitForFinished((seconds + 90) * 1000) || child.exitCode() != 0) {
        child.kill();
        child.waitForFinished(5000);
        return result;
    }
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("RESULT "))
            continue;
        for (const QByteArray &pair : line.mid(7).split(' ')) {
            const int eq = pair.indexOf('=');
            if (eq > 0)
                result.insert(QString::fromLatin1(pair.left(eq)), QString::fromLatin1(pair.mid(eq + 1)));
        }
    }
    return result;
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

int runParent(int argc, char **argv)
{
    int seconds = 20;
    bool withConversion = false;
    std::vector<Case> cases;
    for (int i = 1; i < argc; ++i) {
        int w = 0, h = 0;
        if (std::strcmp(argv[i], "convert") == 0) {
            withConversion = true;
        } else if (std::sscanf(argv[i], "%dx%d", &w, &h) == 2) {
            for (const Case &c : CASES)
                if (c.width == w && c.height == h)
                    cases.push_back(c);
        } else if (std::atoi(argv[i]) > 0) {
            seconds = std::atoi(argv[i]);
        }
    }
    if (cases.empty())
        cases.assign(std::begin(CASES), std::end(CASES));
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("live path of the whole program, simulated camera, %d s per format after %d s warm-up, "
                "platform %s, load average %.2f %.2f %.2f\n",
                seconds, WARM_UP_MS / 1000,
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "xcb"
                                                               : qgetenv("QT_QPA_PLATFORM").constData(),
                load[0], load[1], load[2]);
    std::printf("%-14s %9s %9s %9s %8s %8s %8s %6s %8s %8s %8s %8s %9s %7s\n", "format", "deliv/s", "proc/s",
                "paint/s", "lost", "cpu s/s", "floor", "ratio", "dec p50", "dec p95", "lat p50", "lat p95",
                "peak MiB", "canvas");
    bool failed = false;
    std::vector<QString> goals;
    std::vector<QString> floorRange;
    for (const Case &c : cases) {
        // The floor is taken before and after the program and averaged, so that a change in
        // the machine's load during the run weighs on both sides alike.
        const QHash<QString, QString> floorBefore = runChild("--floor", c, seconds);
        const QHash<QString, QString> program = runChild("--program", c, seconds);
        const QHash<QString, QString> floorAfter = runChild("--floor", c, seconds);
        const QString name = QStringLiteral("%1x%2@%3").arg(c.width).arg(c.height).arg(c.fps);
        if (floorBefore.isEmpty() || floorAfter.isEmpty() || program.isEmpty()) {
            std::printf("%-14s the %s run failed\n", qPrintable(name),
                        program.isEmpty() ? "program" : "floor");
            failed = true;
            continue;
        }
        auto num = [&program](const char *key) { return program.value(QLatin1String(key)).toDouble(); };
        const double floorCpu = (floorBefore.value(QStringLiteral("cpu")).toDouble()
                                 + floorAfter.value(QStringLiteral("cpu")).toDouble())
            / 2.0;
        floorRange.push_back(QStringLiteral("%1: floor %2 before, %3 after the program")
                                 .arg(name, floorBefore.value(QStringLiteral("cpu")),
                                      floorAfter.value(QStringLiteral("cpu"))));
        double convertedRatio = -1.0;
        // The 1080p goal is set against that floor too, so it is always measured there.
        if (withConversion || (c.width == 1920 && c.height == 1080)) {
            const QHash<QString, QString> converted = runChild("--floor-convert", c, seconds);
            const double convertedCpu = converted.value(QStringLiteral("cpu")).toDouble();
            convertedRatio = convertedCpu > 0 ? num("cpu") / convertedCpu : 0.0;
            floorRange.push_back(
                QStringLiteral("%1: floor with the conversion to BGRx %2 s/s, program %3x that")
                    .arg(name)
                    .arg(convertedCpu, 0, 'f', 3)
                    .arg(convertedRatio, 0, 'f', 2));
        }
        const double ratio = floorCpu > 0 ? num("cpu") / floorCpu : 0.0;
        // Delivered but never processed: dropped by the preview queue before the decoder or
        // by the canvas while it was busy; a frame or two in flight at either end of the
        // window may count either way.
        const long lostQueue = long(num("delivered_n")) - long(num("arrived_n"));
        const long lostSink = long(num("arrived_n")) - long(num("processed_n"));
        std::printf(
            "%-14s %9.1f %9.1f %9.1f %4ld+%-3ld %8.2f %8.2f %6.2f %8.1f %8.1f %8.1f %8.1f %9.1f %7s\n",
            qPrintable(name), num("delivered"), num("processed"), num("painted"), lostQueue, lostSink,
            num("cpu"), floorCpu, ratio, num("dec_median"), num("dec_p95"), num("lat_median"), num("lat_p95"),
            num("hwm_mib"), qPrintable(program.value(QStringLiteral("canvas"))));
        std::fflush(stdout);

        const double deliveredN = num("delivered_n");
        const double processedN = num("processed_n");
        if (c.height <= 1080) {
            goals.push_back(QStringLiteral("%1: all frames processed (%2 of %3): %4")
                                .arg(name)
                                .arg(processedN)
                                .arg(deliveredN)
                                .arg(QLatin1String(verdict(deliveredN - processedN <= 3))));
        } else {
            goals.push_back(
                QStringLiteral("%1: at least 14 of 15 frames processed (%2/s of %3/s delivered): %4")
                    .arg(name)
                    .arg(num("processed"), 0, 'f', 1)
                    .arg(num("delivered"), 0, 'f', 1)
                    .arg(QLatin1String(
                        verdict(num("processed") >= 14.0 && processedN * 15 >= deliveredN * 14))));
        }
        goals.push_back(QStringLiteral("%1: CPU within 1.5x the decoding floor (%2x): %3")
                            .arg(name)
                            .arg(ratio, 0, 'f', 2)
                            .arg(QLatin1String(verdict(ratio > 0 && ratio <= 1.5))));
        if (c.width >= 1920) {
            goals.push_back(QStringLiteral("%1: CPU within 1.15x the decoding floor (%2x): %3")
                                .arg(name)
                                .arg(ratio, 0, 'f', 2)
                                .arg(QLatin1String(verdict(ratio > 0 && ratio <= 1.15))));
        }
        if (convertedRatio >= 0 && c.width == 1920 && c.height == 1080) {
            goals.push_back(QStringLiteral("%1: CPU within 0.95x the floor that converts to BGRx (%2x): %3")
                                .arg(name)
                                .arg(convertedRatio, 0, 'f', 2)
                                .arg(QLatin1String(verdict(convertedRatio > 0 && convertedRatio <= 0.95))));
        }
        if (c.width == 1920 && c.height == 1080) {
            goals.push_back(
                QStringLiteral("%1: median from decoder entry to paint under 15 ms (%2 ms of %3 "
                               "frames; grabber to paint %4 ms): %5")
                    .arg(name)
                    .arg(num("dec_median"), 0, 'f', 1)
                    .arg(num("dec_n"))
                    .arg(num("lat_median"), 0, 'f', 1)
                    .arg(QLatin1String(verdict(num("dec_median") >= 0 && num("dec_median") < 15.0))));
            goals.push_back(
                QStringLiteral("%1: median latency to paint under 50 ms (%2 ms): %3")
                    .arg(name)
                    .arg(num("lat_median"), 0, 'f', 1)
                    .arg(QLatin1String(verdict(num("lat_median") >= 0 && num("lat_median") < 50.0))));
            goals.push_back(QStringLiteral("%1: peak memory under 300 MB (%2 MiB = %3 MB): %4")
                                .arg(name)
                                .arg(num("hwm_mib"), 0, 'f', 1)
                                .arg(num("hwm_mib") * 1.048576, 0, 'f', 1)
                                .arg(QLatin1String(verdict(num("hwm_mib") * 1.048576 < 300.0))));
        }
    }
    std::printf("\n(lost = dropped before the decoder + dropped at the canvas; floor = CPU s/s of the "
                "camera elements + jpegdec into a fakesink, mean of a run before and one after the "
                "program; dec = ms from the frame's entry into its decoder, lat = ms from the "
                "grabber's hand-over, each to the end of the paint showing the frame)\n");
    for (const QString &f : floorRange)
        std::printf("  %s\n", qPrintable(f));
    std::printf("goals:\n");
    for (const QString &g : goals)
        std::printf("  %s\n", qPrintable(g));
    getloadavg(load, 3);
    std::printf("load average at the end %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 6 && std::strncmp(argv[1], "--", 2) == 0) {
        const Case c{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])};
        const int seconds = std::max(1, std::atoi(argv[5]));
        if (std::strcmp(argv[1], "--floor") == 0)
            return runFloor(argc, argv, c, seconds, false);
        if (std::strcmp(argv[1], "--floor-convert") == 0)
            return runFloor(argc, argv, c, seconds, true);
        if (std::strcmp(argv[1], "--program") == 0)
            return runProgram(argc, argv, c, seconds);
        return 2;
    }
    return runParent(argc, argv);
}
