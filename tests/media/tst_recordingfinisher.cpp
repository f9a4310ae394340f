#include "GrabberPipelineHelpers.h"
#include "GrabberTestSink.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"
#include "sources/media/RecordingFinisher.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/app/gstappsrc.h>

#include <memory>

// Recording graphs finished by RecordingFinisher give AVI files that standard tools open,
// holding only the canvas's pictures, whether the camera ended, stopped or stalled.
class TestRecordingFinisher : public QObject
{
    Q_OBJECT
private:
    static constexpr int FPS = 15;
    static constexpr int FINISH_BOUND_MS = 4000;
    QTemporaryDir m_dir;

    struct Probe
    {
        bool ok = false;
        QString codec;
        int headerFrames = -1;
        QList<int> packetSizes;
        double duration = -1;
        int audioStreams = 0;
        QString error;
    };

    static QString run(const QString &program, const QStringList &args, bool *ok)
    {
        QProcess p;
        p.start(program, args);
        *ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
    }

    static Probe ffprobe(const QString &file)
    {
        Probe r;
        bool ok = false;
        const QString stream = run("ffprobe",
                                   {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                    "stream=codec_name,nb_frames:format=duration", "-of", "default=nw=1",
                                    file},
                                   &ok);
        if (!ok) {
            r.error = stream;
            return r;
        }
        for (const QString &line : stream.split('\n', Qt::SkipEmptyParts)) {
            const QString key = line.section('=', 0, 0), value = line.section('=', 1);
            if (key == "codec_name")
                r.codec = value;
            else if (key == "nb_frames")
                r.headerFrames = value.toInt();
            else if (key == "duration")
                r.duration = value.toDouble();
        }
        const QString packets = run(
            "ffprobe",
            {"-v", "error", "-select_streams", "v:0", "-show_entries", "packet=size", "-of", "csv=p=0", file},
            &ok);
        for (const QString &line : packets.split('\n', Qt::SkipEmptyParts))
            r.packetSizes.append(line.trimmed().toInt());
        const QString audio = run(
            "ffprobe",
            {"-v", "error", "-select_streams", "a", "-show_entries", "stream=index", "-of", "csv=p=0", file},
            &ok);
        r.audioStreams = audio.split('\n', Qt::SkipEmptyParts).size();
        r.ok = ok;
        return r;
    }

    // gst-discoverer-1.0's duration of the file in seconds, or -1 when it cannot open it.
    static double discovererDuration(const QString &file)
    {
        bool ok = false;
        const QString out = run("gst-discoverer-1.0", {file}, &ok);
        const QRegularExpression re("Duration: (\\d+):(\\d+):(\\d+\\.\\d+)");
        const QRegularExpressionMatch m = re.match(out);
        if (!ok || !m.hasMatch())
            return -1;
        return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toDouble();
    }

    // queue ! Grabber(record) ! avimux ! filesink behind `upstream`.
    static GstElement *addRecordBranch(MediaGraph &graph, GstElement *upstream,
                                       std::shared_ptr<DirectShowTransformFilter> filter, const QString &file,
                                       BufferTap &tap)
    {
        GstElement *queue = graph.addElement("queue", "Record Queue");
        GstRef<GstElement> grabber = GrabberElement::create(std::move(filter), "Grabber");
        graph.addElement(grabber.get(), "Grabber");
        GstElement *mux = graph.addElement("avimux", "AVI Mux");
        GstElement *writer = graph.addElement("filesink", "File Writer");
        // As in the live graph: the writer never holds a state change for a preroll frame.
        g_object_set(writer, "location", file.toUtf8().constData(), "async", FALSE, nullptr);
        if (!graph.connect(upstream, queue) || !graph.connect(queue, grabber.get())
            || !graph.connect(grabber.get(), mux) || !graph.connect(mux, writer))
            return nullptr;
        GstRef<GstPad> out(gst_element_get_static_pad(grabber.get(), "src"));
        tap.attach(out.get());
        return mux;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        QVERIFY(m_dir.isValid());
    }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    void finishesRecording_data()
    {
        QTest::addColumn<QString>("camera");
        QTest::addColumn<int>("frames");
        QTest::newRow("camera ended") << "ended" << 15;
        QTest::newRow("camera stopped producing") << "stopped" << 12;
        QTest::newRow("camera stalled") << "stalled" << 10;
        QTest::newRow("graph paused") << "paused" << 9;
    }
    void finishesRecording()
    {
        QFETCH(QString, camera);
        QFETCH(int, frames);
        const QString file = m_dir.filePath(camera + ".avi");
        GrabberTestSink sink;
        sink.allocateSlots(320 * 240 * 4);
        const QByteArray processed = makeJpeg(320, 240, false, 90);
        QVERIFY(!processed.isEmpty());
        sink.publish(processed);
        auto filter = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                  DirectShowTransformFilter::MODE_RECORD);

        MediaGraph graph("recording");
        GstElement *tail = nullptr;
        StallAfter stall(frames);
        const QByteArray cameraFrame = makeJpeg(320, 240, true, 50);
        const QByteArray caps = QByteArray("image/jpeg,width=320,height=240,framerate=")
            + QByteArray::number(FPS) + "/1";
        const bool fromApp = camera == "stopped" || camera == "paused";
        if (fromApp) {
            tail = graph.addElement("appsrc", "Video Capture Filter");
            GstRef<GstCaps> c(gst_caps_from_string(caps.constData()));
            g_object_set(tail, "caps", c.get(), "format", GST_FORMAT_TIME, nullptr);
        } else {
            GstElement *src = graph.addElement("videotestsrc", "Video Capture Filter");
            GstElement *rawCaps = graph.addElement("capsfilter", "Raw Caps");
            GstRef<GstCaps> c(gst_caps_from_string(
                (QByteArray("video/x-raw,width=320,height=240,framerate=") + QByteArray::number(FPS) + "/1")
                    .constData()));
            g_object_set(rawCaps, "caps", c.get(), nullptr);
            tail = graph.addElement("jpegenc", "Encoder");
            QVERIFY(gst_element_link_many(src, rawCaps, tail, nullptr));
            if (camera == "ended")
                g_object_set(src, "num-buffers", frames, nullptr);
            else {
                GstRef<GstPad> encoded(gst_element_get_static_pad(tail, "src"));
                stall.attach(encoded.get());
            }
        }
        BufferTap tap;
        GstElement *mux = addRecordBranch(graph, tail, filter, file, tap);
        QVERIFY(mux);
        QVERIFY(graph.run());
        if (fromApp) {
            for (int i = 0; i < frames; ++i) {
                GstBuffer *b = gst_buffer_new_memdup(cameraFrame.constData(), gsize(cameraFrame.size()));
                GST_BUFFER_PTS(b) = gst_util_uint64_scale_int(GST_SECOND, i, FPS);
                GST_BUFFER_DURATION(b) = gst_util_uint64_scale_int(GST_SECOND, 1, FPS);
                QCOMPARE(gst_app_src_push_buffer(GST_APP_SRC(tail), b), GST_FLOW_OK);
            }
        }
        QTRY_COMPARE_WITH_TIMEOUT(tap.count.load(), frames, 20000);
        if (camera == "paused") {
            QVERIFY(graph.pause());
            QCOMPARE(graph.waitForState(20000), GST_STATE_PAUSED);
        }

        QVERIFY(RecordingFinisher::finish(graph.pipeline(), mux, FINISH_BOUND_MS));
        QCOMPARE(graph.waitForState(0), GST_STATE_NULL);

        const Probe probe = ffprobe(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
        QCOMPARE(probe.headerFrames, frames);
        QCOMPARE(probe.packetSizes.size(), frames);
        for (int size : probe.packetSizes)
            QCOMPARE(size, processed.size());
        const double expected = double(frames) / FPS;
        QVERIFY2(qAbs(probe.duration - expected) <= 1.0 / FPS,
                 qPrintable(QString("ffprobe duration %1, expected %2").arg(probe.duration).arg(expected)));
        const double discovered = discovererDuration(file);
        QVERIFY2(qAbs(discovered - expected) <= 1.0 / FPS,
                 qPrintable(QString("discoverer duration %1, expected %2").arg(discovered).arg(expected)));
    }

    // The live camera's layout: one MJPG stream split by a tee into the preview and the
    // recording, and an audio source into the same multiplexer.
    void finishesLiveLayout()
    {
        const QString file = m_dir.filePath("live.avi");
        GrabberTestSink sink;
        sink.allocateSlots(320 * 240 * 4);
        const QByteArray processed = makeJpeg(320, 240, false, 90);
        sink.publish(processed);
        auto preview = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                   DirectShowTransformFilter::MODE_PREVIEW);
        auto record = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                  DirectShowTransformFilter::MODE_RECORD);

        MediaGraph graph("live");
        GstElement *src = graph.addElement("videotestsrc", "Video Capture Filter");
        g_object_set(src, "is-live", TRUE, nullptr);
        GstElement *rawCaps = graph.addElement("capsfilter", "Raw Caps");
        GstRef<GstCaps> c(gst_caps_from_string("video/x-raw,width=320,height=240,framerate=15/1"));
        g_object_set(rawCaps, "caps", c.get(), nullptr);
        GstElement *enc = graph.addElement("jpegenc", "Encoder");
        GstElement *tee = graph.addElement("tee", "Tee");
        QVERIFY(gst_element_link_many(src, rawCaps, enc, tee, nullptr));

        GstElement *previewQueue = graph.addElement("queue", "Preview Queue");
        g_object_set(previewQueue, "leaky", 2, "max-size-buffers", 2, nullptr);
        GstRef<GstElement> previewGrabber = GrabberElement::create(preview, "Grabber");
        QVERIFY(graph.addElement(previewGrabber.get(), "Grabber"));
        GstElement *renderer = graph.addElement("fakesink", "Renderer");
        g_object_set(renderer, "sync", FALSE, nullptr);
        QVERIFY(graph.connect(tee, previewQueue));
        QVERIFY(graph.connect(previewQueue, previewGrabber.get())); // decoder and converter inserted
        QVERIFY(graph.connect(previewGrabber.get(), renderer));

        BufferTap tap;
        GstElement *mux = addRecordBranch(graph, tee, record, file, tap);
        QVERIFY(mux);
        // Both grabbers are named as they always were; the second gets a distinct suffix.
        QVERIFY(graph.element("Grabber 0001"));

        GstElement *audio = graph.addElement("audiotestsrc", "Audio Capture Filter");
        g_object_set(audio, "is-live", TRUE, nullptr);
        GstElement *audioQueue = graph.addElement("queue", "Audio Queue");
        QVERIFY(graph.connect(audio, audioQueue));
        QVERIFY(graph.connect(audioQueue, mux));

        QVERIFY(graph.run());
        QTRY_VERIFY_WITH_TIMEOUT(tap.count.load() >= 10, 20000);
        QVERIFY(sink.previewFrameSeen.load());
        QVERIFY(sink.frames.load() > 0);
        QVERIFY(RecordingFinisher::finish(graph.pipeline(), mux, FINISH_BOUND_MS));

        const Probe probe = ffprobe(file);
        QVERIFY2(probe.ok, qPrintable(probe.error));
        QCOMPARE(probe.codec, QStringLiteral("mjpeg"));
        QCOMPARE(probe.audioStreams, 1);
        QVERIFY(probe.headerFrames >= 10);
        QCOMPARE(probe.packetSizes.size(), probe.headerFrames);
        for (int size : probe.packetSizes)
            QCOMPARE(size, processed.size());
        QVERIFY(discovererDuration(file) > 0);
    }

    void graphThatNeverRan()
    {
        MediaGraph graph("idle");
        GstElement *mux = graph.addElement("avimux", "AVI Mux");
        GstElement *writer = graph.addElement("filesink", "File Writer");
        QVERIFY(gst_element_link(mux, writer));
        QVERIFY(!RecordingFinisher::finish(graph.pipeline(), mux, FINISH_BOUND_MS));
        QCOMPARE(graph.waitForState(0), GST_STATE_NULL);
    }
};

QTEST_GUILESS_MAIN(TestRecordingFinisher)
#include "tst_recordingfinisher.moc"
