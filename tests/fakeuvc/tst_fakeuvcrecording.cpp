#include "FakeUvcLive.h"
#include "MessageCapture.h"
#include "sources/live/LiveCaptureGraph.h"
#include "sources/live/RecordBranch.h"
#include "sources/media/MediaFramework.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/app/gstappsink.h>

using namespace fakeuvctest;

namespace {

// Running time of the first buffer that leaves `element` towards the multiplexer.
struct FirstBuffer
{
    std::atomic<qint64> ns{-1};

    void watch(GstElement *pipeline, const char *elementName)
    {
        GstElement *element = gst_bin_get_by_name(GST_BIN(pipeline), elementName);
        if (!element)
            return;
        GstPad *pad = gst_element_get_static_pad(element, "src");
        gst_pad_add_probe(
            pad, GST_PAD_PROBE_TYPE_BUFFER,
            [](GstPad *p, GstPadProbeInfo *info, gpointer data) {
                auto *self = static_cast<FirstBuffer *>(data);
                if (self->ns.load() < 0)
                    self->ns.store(RecordingTimelineTime(p, GST_PAD_PROBE_INFO_BUFFER(info)));
                return GST_PAD_PROBE_OK;
            },
            this, nullptr);
        gst_object_unref(pad);
        gst_object_unref(element);
    }
    static qint64 RecordingTimelineTime(GstPad *pad, GstBuffer *buffer)
    {
        GstEvent *event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
        if (!event || !GST_BUFFER_PTS_IS_VALID(buffer))
            return -1;
        const GstSegment *segment = nullptr;
        gst_event_parse_segment(event, &segment);
        const qint64 time = qint64(
            gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer)));
        gst_event_unref(event);
        return time;
    }
};

// The sequence numbers of the camera's frames in a recording, picture by picture.
QVector<qint64> recordedFrameCodes(const QString &path, int width, int height)
{
    QVector<qint64> codes;
    const QString description = QStringLiteral(
                                    "filesrc location=\"%1\" ! avidemux ! image/jpeg ! appsink name=out "
                                    "sync=false")
                                    .arg(path);
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    g_clear_error(&error);
    if (!pipeline)
        return codes;
    GstElement *sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND)) {
        GstMapInfo map;
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        Image image;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            if (decodeJpeg(map.data, map.size, &image))
                codes << frameCode(image, width, height);
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return codes;
}

} // namespace

// Recordings of the program's live path on the fake camera: their length and pace against the
// clock at the rates a camera really delivers, picture and sound together, a microphone that
// cannot start, and the camera streaming on through recordings.
class TestFakeUvcRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static void waitForPictures(LiveRig &rig) { QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() >= 0, 10000); }

private slots:
    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        QVERIFY(m_dir.isValid());
    }
    void init()
    {
        QCOMPARE(command("fps auto"), 0);
        QCOMPARE(command("replug 0"), 0);
    }

    // The multiplexer numbers pictures one after another: without the clock a camera at 12 of
    // its negotiated 30 frames/s would record 5 s as 2 s of fast film.
    void recordingTakesItsTimeFromTheClock_data()
    {
        QTest::addColumn<int>("delivered");
        QTest::newRow("30 of 30 frames/s") << 30;
        QTest::newRow("20 of 30 frames/s") << 20;
        QTest::newRow("12 of 30 frames/s") << 12;
    }
    void recordingTakesItsTimeFromTheClock()
    {
        QFETCH(int, delivered);
        QCOMPARE(command(qPrintable(QStringLiteral("fps %1").arg(delivered))), 0);
        LiveRig rig(CameraDevices::Microphone::Simulated);
        QVERIFY(rig.waitForOpen());
        QCOMPARE(rig.source->captureCaps(), QString("image/jpeg,width=640,height=480,framerate=30/1"));
        waitForPictures(rig);
        const QString opens = stateField("opens");

        const QString path = m_dir.filePath(QStringLiteral("pace-%1.avi").arg(delivered));
        QElapsedTimer wall;
        wall.start();
        rig.source->startRecording(path);
        QVERIFY(rig.source->isRecording());
        FirstBuffer pictures, sound;
        pictures.watch(rig.source->graph()->pipeline(), "Record Pace");
        sound.watch(rig.source->graph()->pipeline(), "Audio Queue");
        QTest::qWait(5000);
        const qint64 firstPicture = rig.source->graph()->recording()->firstPictureNs();
        rig.source->stopRecording();
        const double seconds = wall.elapsed() / 1000.0;

        // The camera streamed on: no new opening of its node, and frames still arrive.
        QCOMPARE(stateField("opens"), opens);
        QCOMPARE(stateField("streaming"), QString("1"));
        const qint64 after = rig.frameOnCanvas();
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() > after, 5000);

        const Probed file = probe(path);
        QVERIFY2(file.ok, qPrintable(file.error));
        QCOMPARE(file.frameRate, QString("30/1"));
        const double tolerance = 1.0 / delivered + 0.2;
        QVERIFY2(qAbs(file.videoSeconds - seconds) <= tolerance,
                 qPrintable(QString("%1 s of pictures in %2 s").arg(file.videoSeconds).arg(seconds)));
        QVERIFY2(
            qAbs(file.audioSeconds - file.videoSeconds) <= 0.1,
            qPrintable(
                QString("%1 s of sound, %2 s of pictures").arg(file.audioSeconds).arg(file.videoSeconds)));
        // The figures a reader of the log compares with the camera's pace.
        qInfo("%d of 30 frames/s: %.3f s of pictures, %.3f s of sound in %.3f s by the wall clock; "
              "sound starts %.3f s after the first picture",
              delivered, file.videoSeconds, file.audioSeconds, seconds,
              (sound.ns.load() - firstPicture) / 1e9);
        // Picture and sound enter the file from the same moment: the first recorded picture.
        QVERIFY(firstPicture >= 0);
        QCOMPARE(pictures.ns.load(), firstPicture);
        QCOMPARE(sound.ns.load(), firstPicture);

        // Each of the camera's frames lasts as long as it was there: at 12 frames/s a frame
        // fills two or three of the file's thirtieths.
        const QVector<qint64> codes = recordedFrameCodes(path, 640, 480);
        QVERIFY(codes.size() >= file.videoFrames - 1);
        QVERIFY(!codes.contains(-1));
        QVERIFY(std::is_sorted(codes.begin(), codes.end()));
        const qint64 distinct = QSet<qint64>(codes.begin(), codes.end()).size();
        QVERIFY2(qAbs(distinct - delivered * seconds) <= delivered * 0.6,
                 qPrintable(QString("%1 camera frames in %2 s").arg(distinct).arg(seconds)));
    }

    // A microphone that cannot start costs the sound, never the picture.
    void microphoneThatCannotStart()
    {
        LiveRig rig(CameraDevices::Microphone::Broken);
        QVERIFY(rig.waitForOpen());
        waitForPictures(rig);
        const QString path = m_dir.filePath("broken-microphone.avi");
        MessageCapture messages;
        rig.source->startRecording(path);
        QVERIFY(rig.source->isRecording());
        QVERIFY2(!messages.messages().filter("Broken Microphone does not start").isEmpty(),
                 qPrintable(messages.messages().join('\n')));
        const qint64 during = rig.frameOnCanvas();
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() > during + 30, 5000);
        rig.source->stopRecording();
        const Probed file = probe(path);
        QVERIFY2(file.ok, qPrintable(file.error));
        QCOMPARE(file.audioSeconds, -1.0);
        QVERIFY(file.videoSeconds > 0.8);
    }

    // Every stop of the camera's pipeline closes every descriptor it opened on the node: a
    // camera plugged in again comes back under its old number.
    void reopeningLeavesNoDescriptorBehind()
    {
        LiveRig rig;
        QVERIFY(rig.waitForOpen());
        waitForPictures(rig);
        for (int round = 0; round < 2; ++round) {
            rig.source->setResolution(1280, 720);
            QTRY_VERIFY_WITH_TIMEOUT(
                rig.frameOnCanvas() >= 0 && rig.canvas.pipeline()->outputImage().width() == 1280, 10000);
            rig.source->setResolution(640, 480);
            QTRY_VERIFY_WITH_TIMEOUT(rig.canvas.pipeline()->outputImage().width() == 640, 10000);
        }
        rig.source->startRecording(m_dir.filePath("descriptors.avi"));
        QTest::qWait(500);
        rig.source->stopRecording();
        rig.source->close();
        QCOMPARE(stateField("handles"), QString("1")); // the control handle the source keeps
        rig.source.reset();
        QCOMPARE(stateField("handles"), QString("0"));
        QCOMPARE(command("replug"), 0);
        QCOMPARE(stateField("capture"), QString("/dev/video0"));
    }
};

int main(int argc, char **argv)
{
    ensurePreloaded(argv, {{"FAKEUVC_CAMERAS", "name=USB Document Camera"}});
    QApplication app(argc, argv);
    TestFakeUvcRecording test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakeuvcrecording.moc"
