#include "canvas/ImageCanvas.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveCaptureGraph.h"
#include "sources/live/LiveSource.h"
#include "sources/media/GstRef.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/RecordingJournal.h"
#include "sources/media/RecordingRepairer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/prctl.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <signal.h>
#include <time.h>
#include <unistd.h>
#include <vector>

// A recording made by the program's own record branch is cut off by SIGKILL at moments spread
// over 2 to 30 s, and the next start's repair must give a file that plays, seeks and is as
// long as what was recorded. The recording runs in a child process: this test program started
// again with RECORD_CHILD, which reports on its standard output when the first video and
// audio data reached the multiplexer (CLOCK_MONOTONIC, shared with this process).

namespace {

const char RECORD_CHILD[] = "--record-child";
constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;
constexpr int KILLS = 10;
constexpr double EARLIEST_KILL_S = 2.0;
constexpr double LATEST_KILL_S = 30.0;
constexpr double TOLERANCE_S = 0.5;

qint64 monotonicNs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void say(const QByteArray &line)
{
    const QByteArray out = line + '\n';
    ssize_t ignored = ::write(STDOUT_FILENO, out.constData(), std::size_t(out.size()));
    (void)ignored;
}

// The child: the simulated camera through the live source and the canvas, recording into
// argv[2] until it is killed.
int recordChild(int argc, char **argv)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlives the test
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (!MediaFramework::initialize())
        return 2;
    auto camera = std::make_shared<SimulatedCamera>();
    ImageCanvas canvas;
    canvas.resize(2 * WIDTH, 2 * HEIGHT);
    LiveSource source(std::make_unique<SimulatedBackend>(camera), canvas.pipeline(), WIDTH, HEIGHT, WIDTH,
                      HEIGHT);
    QEventLoop opened;
    QObject::connect(&source, &LiveSource::devicePlugIn, &opened, &QEventLoop::quit);
    QTimer::singleShot(20000, &opened, &QEventLoop::quit);
    if (!source.isOpen())
        opened.exec();
    if (!source.isOpen()) {
        say("error the camera did not open");
        return 3;
    }
    source.startRecording(path);
    auto *graph = source.findChild<LiveCaptureGraph *>();
    GstRef<GstElement> muxer(graph ? gst_bin_get_by_name(GST_BIN(graph->pipeline()), "AVI Mux") : nullptr);
    if (!muxer) {
        say("error no multiplexer");
        return 4;
    }
    static std::atomic<bool> seen[2];
    GST_OBJECT_LOCK(muxer.get());
    for (GList *l = muxer.get()->sinkpads; l; l = l->next) {
        GstPad *pad = GST_PAD(l->data);
        const bool video = g_str_has_prefix(GST_OBJECT_NAME(pad), "video");
        gst_pad_add_probe(
            pad, GST_PAD_PROBE_TYPE_BUFFER,
            [](GstPad *, GstPadProbeInfo *, gpointer data) -> GstPadProbeReturn {
                const bool isVideo = data != nullptr;
                if (!seen[isVideo ? 0 : 1].exchange(true))
                    say(QByteArray(isVideo ? "first video " : "first audio ")
                        + QByteArray::number(monotonicNs()));
                return GST_PAD_PROBE_REMOVE;
            },
            video ? reinterpret_cast<gpointer>(1) : nullptr, nullptr);
    }
    GST_OBJECT_UNLOCK(muxer.get());
    QTimer::singleShot(120000, &app, &QCoreApplication::quit);
    return app.exec();
}

struct Child
{
    std::unique_ptr<QProcess> process;
    QString folder;
    QString path;
    double delay = 0; // from the first data to the kill
    qint64 firstVideo = -1;
    qint64 firstAudio = -1;
    qint64 killed = -1;
    QByteArray output;

    qint64 first() const { return std::min(firstVideo, firstAudio); }
    bool started() const { return firstVideo > 0 && firstAudio > 0; }
};

void readReports(Child &child)
{
    child.output += child.process->readAllStandardOutput();
    for (const QByteArray &line : child.output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 3 && words[0] == "first")
            (words[1] == "video" ? child.firstVideo : child.firstAudio) = words[2].toLongLong();
    }
}

struct Probed
{
    double seconds = -1;      // the container's duration
    double videoSeconds = -1; // the video stream's
    QString error;
};

Probed ffprobe(const QString &path)
{
    Probed probed;
    QProcess p;
    p.start(
        "ffprobe",
        {"-v", "error", "-show_entries", "format=duration:stream=codec_type,duration", "-of", "json", path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        probed.error = QString::fromLocal8Bit(p.readAllStandardError());
        return probed;
    }
    const QJsonObject root = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    probed.seconds = root.value("format").toObject().value("duration").toString().toDouble();
    for (const QJsonValue &stream : root.value("streams").toArray()) {
        if (stream.toObject().value("codec_type").toString() == "video")
            probed.videoSeconds = stream.toObject().value("duration").toString().toDouble();
    }
    return probed;
}

struct Played
{
    bool toTheEnd = false;
    bool seeked = false;
    double seconds = -1;
    QString error;
};

GstMessage *waitFor(GstBus *bus, GstMessageType types, int ms)
{
    return gst_bus_timed_pop_filtered(bus, GstClockTime(ms) * GST_MSECOND,
                                      GstMessageType(types | GST_MESSAGE_ERROR));
}

// The file through playbin (demuxer and decoders as a player would pick them): decoded to the
// end without an error, then paused and seeked to the middle.
Played play(const QString &path)
{
    Played played;
    GstRef<GstElement> player(gst_element_factory_make("playbin", nullptr));
    GstElement *video = gst_element_factory_make("fakesink", nullptr);
    GstElement *audio = gst_element_factory_make("fakesink", nullptr);
    g_object_set(video, "sync", FALSE, nullptr);
    g_object_set(audio, "sync", FALSE, nullptr);
    gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
    g_object_set(player.get(), "uri", uri, "video-sink", video, "audio-sink", audio, nullptr);
    g_free(uri);
    GstRef<GstBus> bus(gst_element_get_bus(player.get()));
    const auto fail = [&](GstMessage *message, const char *what) {
        played.error = what;
        if (message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            GError *error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            played.error += QString(": ") + (error ? error->message : "");
            g_clear_error(&error);
        }
        if (message)
            gst_message_unref(message);
        gst_element_set_state(player.get(), GST_STATE_NULL);
        return played;
    };

    gst_element_set_state(player.get(), GST_STATE_PLAYING);
    GstMessage *end = waitFor(bus.get(), GST_MESSAGE_EOS, 60000);
    if (!end || GST_MESSAGE_TYPE(end) != GST_MESSAGE_EOS)
        return fail(end, "not decoded to the end");
    gst_message_unref(end);
    played.toTheEnd = true;

    gst_element_set_state(player.get(), GST_STATE_PAUSED);
    if (gst_element_get_state(player.get(), nullptr, nullptr, 10 * GST_SECOND) != GST_STATE_CHANGE_SUCCESS)
        return fail(gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR), "no pause after the end");
    gint64 duration = -1;
    if (!gst_element_query_duration(player.get(), GST_FORMAT_TIME, &duration) || duration <= 0)
        return fail(nullptr, "no duration");
    played.seconds = double(duration) / GST_SECOND;
    const gint64 middle = duration / 2;
    if (!gst_element_seek_simple(player.get(), GST_FORMAT_TIME,
                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), middle))
        return fail(nullptr, "the seek was refused");
    if (gst_element_get_state(player.get(), nullptr, nullptr, 10 * GST_SECOND) != GST_STATE_CHANGE_SUCCESS)
        return fail(gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR), "the seek did not complete");
    gint64 position = -1;
    played.seeked = gst_element_query_position(player.get(), GST_FORMAT_TIME, &position)
        && std::llabs(position - middle) < 100 * GST_MSECOND;
    if (!played.seeked)
        return fail(nullptr, "the seek landed elsewhere");
    gst_element_set_state(player.get(), GST_STATE_NULL);
    return played;
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }

    // Ten recordings in parallel children, each killed at its own moment: the moments are
    // spread evenly over 2–30 s with a seeded jitter, so every run cuts at the same times.
    void killedRecordingsAreRepaired()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QRandomGenerator random(18);
        std::vector<Child> children(KILLS);
        const QString self = QCoreApplication::applicationFilePath();
        for (int i = 0; i < KILLS; ++i) {
            Child &child = children[std::size_t(i)];
            const double span = (LATEST_KILL_S - EARLIEST_KILL_S) / KILLS;
            child.delay = EARLIEST_KILL_S + span * (i + random.generateDouble());
            child.folder = root.filePath(QString("kill%1").arg(i));
            QVERIFY(QDir().mkpath(child.folder));
            child.path = QDir(child.folder).filePath("2024-01-01_00-00-00.avi");
            child.process = std::make_unique<QProcess>();
            child.process->setProcessChannelMode(QProcess::SeparateChannels);
            child.process->setStandardErrorFile(QDir(child.folder).filePath("child.log"));
            child.process->start(self, {RECORD_CHILD, child.path});
            QVERIFY2(child.process->waitForStarted(10000), qPrintable(child.process->errorString()));
        }

        // Each child is killed `delay` after its first data reached the multiplexer.
        QElapsedTimer clock;
        clock.start();
        int alive = KILLS;
        while (alive > 0 && clock.elapsed() < 90000) {
            QTest::qWait(10);
            for (Child &child : children) {
                if (child.killed > 0)
                    continue;
                readReports(child);
                QVERIFY2(child.process->state() == QProcess::Running,
                         qPrintable("a child ended by itself: " + child.output));
                if (child.started() && monotonicNs() >= child.first() + qint64(child.delay * 1e9)) {
                    child.killed = monotonicNs();
                    ::kill(pid_t(child.process->processId()), SIGKILL);
                    --alive;
                }
            }
        }
        QCOMPARE(alive, 0);
        for (Child &child : children)
            QTRY_COMPARE_WITH_TIMEOUT(child.process->state(), QProcess::NotRunning, 10000);

        struct Row
        {
            QVector<RecordingRepairer::Outcome> outcomes;
            bool journalLeft = false;
            bool journalGone = false;
            bool toldOnce = false;
            double recordedVideo = 0;
            double recorded = 0;
            Probed probed;
            Played played;
            qint64 repairMs = 0;
        };
        std::vector<Row> rows(KILLS);
        qInfo("kill  delay s  recorded video s  recorded s  ffprobe s  playbin s  repair ms");
        for (int i = 0; i < KILLS; ++i) {
            const Child &child = children[std::size_t(i)];
            Row &row = rows[std::size_t(i)];
            const QString journal = RecordingJournal::journalPath(child.path);
            row.journalLeft = QFileInfo::exists(journal);
            QElapsedTimer repairClock;
            repairClock.start();
            row.outcomes = RecordingRepairer::repairFolder(child.folder);
            row.repairMs = repairClock.elapsed();
            row.journalGone = !QFileInfo::exists(journal);
            row.toldOnce = RecordingRepairer::repairFolder(child.folder).isEmpty();
            row.recordedVideo = double(child.killed - child.firstVideo) / 1e9;
            row.recorded = double(child.killed - child.first()) / 1e9;
            row.probed = ffprobe(child.path);
            row.played = play(child.path);
            qInfo("%4d  %7.2f  %16.2f  %10.2f  %9.2f  %9.2f  %9lld", i, child.delay, row.recordedVideo,
                  row.recorded, row.probed.videoSeconds, row.played.seconds, row.repairMs);
        }
        for (int i = 0; i < KILLS; ++i) {
            const Row &row = rows[std::size_t(i)];
            const QString which = QString("kill %1: ").arg(i);
            QVERIFY2(row.journalLeft, qPrintable(which + "the killed recording left no journal"));
            QCOMPARE(row.outcomes.size(), 1);
            QVERIFY2(row.outcomes[0].repaired, qPrintable(which + row.outcomes[0].detail));
            QCOMPARE(row.outcomes[0].path, children[std::size_t(i)].path);
            QVERIFY(row.journalGone);
            QVERIFY(row.toldOnce);
            QVERIFY2(row.probed.error.isEmpty(), qPrintable(which + row.probed.error));
            QVERIFY2(std::fabs(row.probed.videoSeconds - row.recordedVideo) <= TOLERANCE_S,
                     qPrintable(which
                                + QString("ffprobe: %1 s of video, %2 s recorded")
                                      .arg(row.probed.videoSeconds)
                                      .arg(row.recordedVideo)));
            QVERIFY2(std::fabs(row.probed.seconds - row.recordedVideo) <= TOLERANCE_S,
                     qPrintable(which
                                + QString("ffprobe: %1 s, %2 s recorded")
                                      .arg(row.probed.seconds)
                                      .arg(row.recordedVideo)));
            QVERIFY2(row.played.toTheEnd && row.played.seeked, qPrintable(which + row.played.error));
            QVERIFY2(
                std::fabs(row.played.seconds - row.recorded) <= TOLERANCE_S,
                qPrintable(
                    which
                    + QString("playbin: %1 s, %2 s recorded").arg(row.played.seconds).arg(row.recorded)));
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], RECORD_CHILD) == 0)
        return recordChild(argc, argv);
    QTEST_MAIN_IMPL(TestCrashRecovery)
}

#include "tst_crashrecovery.moc"
