// Frame-pipeline benchmark of the canvas: synthetic BGRA frames at three sizes through the
// processing in several view states, against two references measured in the same run on
// the same frames: one memcpy of a frame (the floor, timed next to every processed frame),
// and the same transformation done by a chain of GStreamer elements (appsrc ! videoflip !
// videocrop ! videoscale ! videobalance ! fakesink). Not a test: it prints a table and
// whether the costliest states stay within 4x the floor. The ratio to the floor compares the
// least times of the frames, and the times are CPU times of the thread that does the work, so
// that other processes on a shared machine inflate them as little as they can.
//
//   build/bin/bench_canvas [frames per state] [state name part] [WxH]
//
// A state name part and a size run only those rows (for a profiler).

#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

double msSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// CPU time of the calling thread in ms: unlike wall time, it does not count the time the
// thread waits for a core while other processes run.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double least(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

struct State
{
    const char *name;
    int turns;
    int zoomIns;
    bool pan;
    int effect;
    int mask;
    bool drawings;
};

const State STATES[] = {
    {"plain", 0, 0, false, EFFECT_COLOR, MASK_NONE, false},
    {"zoom 2 panned", 0, 1, true, EFFECT_COLOR, MASK_NONE, false},
    {"quarter turn, best fit", 1, 0, false, EFFECT_COLOR, MASK_NONE, false},
    {"B & W", 0, 0, false, EFFECT_BW, MASK_NONE, false},
    {"mosaic", 0, 0, false, EFFECT_MOSAIC, MASK_NONE, false},
    {"circle mask", 0, 0, false, EFFECT_COLOR, MASK_CIRCLE, false},
    {"all at once", 1, 3, true, EFFECT_BW, MASK_RECTANGLE, true},
};

// Camera-like frames: gradients with noise, fourth byte left as a decoder leaves it.
std::vector<std::vector<uchar>> makeFrames(int w, int h, int count)
{
    std::vector<std::vector<uchar>> frames;
    for (int n = 0; n < count; ++n) {
        std::vector<uchar> f(size_t(w) * h * 4);
        QRandomGenerator rng(quint32(n + 1));
        for (int y = 0; y < h; ++y) {
            uchar *row = f.data() + size_t(y) * w * 4;
            for (int x = 0; x < w; ++x) {
                row[x * 4 + 0] = uchar((x + n * 9) & 0xff);
                row[x * 4 + 1] = uchar((y + n * 5) & 0xff);
                row[x * 4 + 2] = uchar(((x ^ y) + rng.bounded(16)) & 0xff);
                row[x * 4 + 3] = 0;
            }
        }
        frames.push_back(std::move(f));
    }
    return frames;
}

struct GstUnref
{
    void operator()(gpointer object) const { gst_object_unref(object); }
};
using GstPtr = std::unique_ptr<GstElement, GstUnref>;

// The same transformation by GStreamer elements: frames are pushed as new buffers (one copy,
// as an appsrc user does) and each is timed until fakesink has it.
class GstChain
{
public:
    GstChain(int w, int h, const ViewGeometry &view, bool blackAndWhite)
    {
        const char *direction = view.rotation() == 1 ? "90r"
            : view.rotation() == 2                   ? "180"
            : view.rotation() == 3                   ? "90l"
                                                     : "identity";
        const int rw = view.rotatedWidth(), rh = view.rotatedHeight();
        const QRect cut = view.cutOutRect(rw, rh).intersected(QRect(0, 0, rw, rh));
        const QString description =
            QString("appsrc name=src format=time caps=video/x-raw,format=BGRA,width=%1,height=%2,"
                    "framerate=30/1,pixel-aspect-ratio=1/1 "
                    "! videoflip video-direction=%3 ! videocrop left=%4 top=%5 right=%6 bottom=%7 "
                    "! videoscale method=nearest-neighbour add-borders=true "
                    "! video/x-raw,width=%1,height=%2,pixel-aspect-ratio=1/1 "
                    "! videobalance saturation=%8 ! fakesink name=sink sync=false signal-handoffs=true")
                .arg(w)
                .arg(h)
                .arg(direction)
                .arg(cut.x())
                .arg(cut.y())
                .arg(rw - cut.x() - cut.width())
                .arg(rh - cut.y() - cut.height())
                .arg(blackAndWhite ? 0.0 : 1.0);
        GError *error = nullptr;
        m_pipeline.reset(gst_parse_launch(description.toUtf8().constData(), &error));
        if (error) {
            std::fprintf(stderr, "GStreamer chain: %s\n", error->message);
            g_error_free(error);
            m_pipeline.reset();
            return;
        }
        m_src.reset(gst_bin_get_by_name(GST_BIN(m_pipeline.get()), "src"));
        GstPtr sink(gst_bin_get_by_name(GST_BIN(m_pipeline.get()), "sink"));
        g_signal_connect(sink.get(), "handoff", G_CALLBACK(&GstChain::onHandoff), this);
        gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING);
    }
    ~GstChain()
    {
        if (m_pipeline)
            gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    }
    bool isValid() const { return bool(m_pipeline); }

    double push(const std::vector<uchar> &frame, int index)
    {
        const auto start = SteadyClock::now();
        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, frame.size(), nullptr);
        gst_buffer_fill(buffer, 0, frame.data(), frame.size());
        GST_BUFFER_PTS(buffer) = GstClockTime(index) * GST_SECOND / 30;
        GST_BUFFER_DURATION(buffer) = GST_SECOND / 30;
        std::unique_lock<std::mutex> lock(m_mutex);
        const int wanted = m_handed + 1;
        lock.unlock();
        gst_app_src_push_buffer(GST_APP_SRC(m_src.get()), buffer); // takes the buffer
        lock.lock();
        if (!m_done.wait_for(lock, std::chrono::seconds(10), [&] { return m_handed >= wanted; }))
            return -1.0;
        return msSince(start);
    }

private:
    static void onHandoff(GstElement *, GstBuffer *, GstPad *, gpointer self)
    {
        auto *chain = static_cast<GstChain *>(self);
        std::lock_guard<std::mutex> lock(chain->m_mutex);
        ++chain->m_handed;
        chain->m_done.notify_all();
    }

    GstPtr m_pipeline;
    GstPtr m_src;
    std::mutex m_mutex;
    std::condition_variable m_done;
    int m_handed = 0;
};

void applyState(ImageCanvas &canvas, const State &s, int w, int h)
{
    for (int i = 0; i < s.turns; ++i)
        canvas.rotateClockwise();
    for (int i = 0; i < s.zoomIns; ++i)
        canvas.zoomIn();
    if (s.pan)
        canvas.pipeline()->setViewOffset(w / 3, h / 3);
    canvas.pipeline()->setEffect(s.effect);
    canvas.pipeline()->setMask(s.mask);
    if (s.drawings)
        canvas.pipeline()->drawOnLayer([w, h](QPainter &p) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::red, 4));
            p.drawLine(10, 10, h - 10, w - 10);
            p.setBrush(QColor(0, 128, 255, 160));
            p.drawEllipse(QRect(h / 4, w / 4, h / 3, w / 3));
            p.drawRect(QRect(20, w / 2, h / 2, w / 5));
        });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gst_init(&argc, &argv);
    // The canvas's fixed debug lines (one per new frame size) would break up the table.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type >= QtWarningMsg)
            std::fprintf(stderr, "  [log] %s\n", qPrintable(text));
    });
    const int framesPerState = argc > 1 ? std::max(3, std::atoi(argv[1])) : 0;
    const QString onlyState = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    int onlyWidth = 0, onlyHeight = 0;
    if (argc > 3)
        std::sscanf(argv[3], "%dx%d", &onlyWidth, &onlyHeight);

    std::printf("Canvas frame pipeline, CPU ms of the working thread per frame (synthetic BGRA frames, %u "
                "cores; gst: wall ms)\n",
                std::thread::hardware_concurrency());
    std::printf("process = precessFrameData on the GUI thread; capture = steady "
                "streamImageCaptured on a streaming thread;\n"
                "floor = one memcpy of a frame, the copy of the next frame into the camera's buffer, timed "
                "before each processed frame;\n"
                "gst = appsrc ! videoflip ! videocrop ! videoscale ! videobalance ! fakesink (no mask or "
                "mosaic element exists in that chain);\n"
                "med = median, least = the least of the frames (other processes on the machine only add "
                "time); x floor = least process / least floor, x gst = median process / median gst\n\n");
    auto loadAverage = [] {
        QFile file(QStringLiteral("/proc/loadavg"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(' ', 0, 2)
                                              : QStringLiteral("unknown");
    };
    std::printf("load average at start: %s\n", qPrintable(loadAverage()));
    std::printf("%-11s %-24s %9s %9s %9s %9s %9s %9s %8s %8s\n", "size", "state", "proc med", "least",
                "capt med", "floor med", "least", "gst med", "x floor", "x gst");

    // The states the canvas must keep within GOAL_RATIO of the floor at these sizes.
    constexpr double GOAL_RATIO = 4.0;
    const QStringList goalStates{QStringLiteral("mosaic"), QStringLiteral("zoom 2 panned"),
                                 QStringLiteral("quarter turn, best fit"), QStringLiteral("circle mask")};
    const QList<QSize> goalSizes{QSize(1920, 1080), QSize(3264, 2448)};
    QStringList goals;

    const QSize sizes[] = {QSize(1280, 720), QSize(1920, 1080), QSize(3264, 2448)};
    for (const QSize &size : sizes) {
        if (onlyWidth > 0 && size != QSize(onlyWidth, onlyHeight))
            continue;
        const int w = size.width(), h = size.height();
        const int n = framesPerState ? framesPerState : (w > 2000 ? 15 : 40);
        const auto frames = makeFrames(w, h, 4);
        const size_t bytes = frames[0].size();
        double worst = 0.0;
        QString worstState;

        for (const State &s : STATES) {
            if (!onlyState.isEmpty() && !QString::fromLatin1(s.name).contains(onlyState))
                continue;
            ImageCanvas canvas;
            std::vector<uchar> buffer(frames[0]);
            canvas.pipeline()->streamImageCaptured(buffer.data(), w, h, false,
                                                   true); // first frame, sync path
            applyState(canvas, s, w, h);
            std::vector<double> process, capture, floorRuns;
            for (int i = -2; i < n; ++i) { // two frames to warm the work buffers
                double start = threadMs();
                std::memcpy(buffer.data(), frames[size_t(i + 2) % frames.size()].data(), bytes);
                const double floorMs = threadMs() - start;
                double captureMs = 0;
                std::thread streaming([&] {
                    const double begin = threadMs();
                    canvas.pipeline()->streamImageCaptured(buffer.data(), w, h, false, true);
                    captureMs = threadMs() - begin;
                });
                streaming.join();
                start = threadMs();
                canvas.pipeline()->precessFrameData();
                const double processMs = threadMs() - start;
                QCoreApplication::processEvents();
                if (i >= 0) {
                    process.push_back(processMs);
                    capture.push_back(captureMs);
                    floorRuns.push_back(floorMs);
                }
            }

            double gst = -1;
            if (onlyState.isEmpty()) { // left out when profiling one state
                GstChain chain(w, h, canvas.pipeline()->view(), s.effect == EFFECT_BW);
                std::vector<double> runs;
                for (int i = -2; chain.isValid() && i < n; ++i) {
                    const double ms = chain.push(frames[size_t(i + 2) % frames.size()], i + 2);
                    if (i >= 0 && ms >= 0)
                        runs.push_back(ms);
                }
                gst = runs.empty() ? -1 : median(runs);
            }
            const double p = median(process);
            const double ratio = least(process) / least(floorRuns);
            std::printf("%-11s %-24s %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %8.2f %8.2f\n",
                        QStringLiteral("%1x%2").arg(w).arg(h).toLatin1().constData(), s.name, p,
                        least(process), median(capture), median(floorRuns), least(floorRuns), gst, ratio,
                        gst > 0 ? p / gst : 0.0);
            std::fflush(stdout);
            if (goalStates.contains(QLatin1String(s.name)) && ratio > worst) {
                worst = ratio;
                worstState = QLatin1String(s.name);
            }
        }
        if (goalSizes.contains(size) && !worstState.isEmpty())
            goals << QStringLiteral(
                         "%1x%2: costliest of mosaic, zoom 2 panned, quarter turn, circle mask: %3 at "
                         "%4x the floor (goal <= %5x): %6")
                         .arg(w)
                         .arg(h)
                         .arg(worstState)
                         .arg(worst, 0, 'f', 2)
                         .arg(GOAL_RATIO, 0, 'f', 0)
                         .arg(worst <= GOAL_RATIO ? QStringLiteral("met") : QStringLiteral("MISSED"));
    }
    std::printf("goals:\n");
    for (const QString &g : goals)
        std::printf("  %s\n", qPrintable(g));
    std::printf("load average at end: %s\n", qPrintable(loadAverage()));
    return 0;
}
