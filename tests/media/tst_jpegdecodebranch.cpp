#include "GrabberTestSink.h"
#include "JpegSamples.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/devices/simulated/SimulatedDeviceFilter.h"
#include "sources/film/FilmGraph.h"
#include "sources/live/LiveCaptureGraph.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GstRef.h"
#include "sources/media/JpegDecodeBranch.h"
#include "sources/media/JpegDecoderElement.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QtTest>

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>

#include <memory>

Q_DECLARE_METATYPE(JpegSamples::Options)

namespace {

constexpr int WAIT_MS = 20000;

using Choice = JpegDecodeBranch::Choice;

JpegSamples::Options kind(int h, int v)
{
    JpegSamples::Options o;
    o.hSampling = h;
    o.vSampling = v;
    return o;
}

QByteArray frame(int width, int height, const JpegSamples::Options &options)
{
    return JpegSamples::encode(JpegSamples::documentScene(width, height), options);
}

QByteArray garbage(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

QByteArray jpegCaps(int width, int height)
{
    return QStringLiteral("image/jpeg,width=%1,height=%2,framerate=10/1").arg(width).arg(height).toUtf8();
}

// Opens a film as the film source does, driving the graph with its bus until it has prerolled.
FilmGraph::Result openFilm(FilmGraph &film, const QString &path,
                           const std::shared_ptr<DirectShowTransformFilter> &grabber,
                           const QSize &limit = QSize())
{
    if (film.start(path, grabber, "fakesink", limit) != FilmGraph::Result::Opening)
        return film.result();
    GstRef<GstBus> bus = film.graph().bus();
    QDeadlineTimer deadline(WAIT_MS);
    while (film.poll() == FilmGraph::Result::Opening && !deadline.hasExpired()) {
        GstRef<GstMessage> message(gst_bus_timed_pop(bus.get(), 20 * GST_MSECOND));
        if (message)
            film.handle(message.get());
    }
    return film.result();
}

QString factoryOf(GstElement *bin, const char *name)
{
    GstRef<GstElement> element(gst_bin_get_by_name(GST_BIN(bin), name));
    GstElementFactory *factory = element ? gst_element_get_factory(element.get()) : nullptr;
    return factory ? QString::fromUtf8(GST_OBJECT_NAME(factory)) : QString();
}

// appsrc ! [JPEG decode branch] ! appsink taking BGRx.
struct BranchRig
{
    GstRef<GstElement> pipeline;
    GstElement *src = nullptr;
    GstElement *sink = nullptr;

    bool start(int width, int height)
    {
        pipeline = GstRef<GstElement>(gst_pipeline_new("branch"));
        src = gst_element_factory_make("appsrc", "Source");
        sink = gst_element_factory_make("appsink", "Sink");
        GstRef<GstCaps> inCaps(gst_caps_from_string(jpegCaps(width, height).constData()));
        GstRef<GstCaps> outCaps(gst_caps_from_string("video/x-raw,format=BGRx"));
        g_object_set(src, "caps", inCaps.get(), "format", GST_FORMAT_TIME, nullptr);
        g_object_set(sink, "caps", outCaps.get(), "sync", FALSE, nullptr);
        gst_bin_add_many(GST_BIN(pipeline.get()), src, sink, nullptr);
        GstRef<GstPad> output(gst_element_get_static_pad(src, "src"));
        return JpegDecodeBranch::attach(GST_BIN(pipeline.get()), output.get(), sink, "Decoder", "Converter")
            && gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    }
    void push(const QByteArray &bytes)
    {
        gst_app_src_push_buffer(GST_APP_SRC(src),
                                gst_buffer_new_memdup(bytes.constData(), gsize(bytes.size())));
    }
    // The size of the next frame out; empty when none comes.
    QSize pull()
    {
        GstRef<GstSample> sample(gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND));
        if (!sample)
            return {};
        const GstStructure *s = gst_caps_get_structure(gst_sample_get_caps(sample.get()), 0);
        int w = 0, h = 0;
        gst_structure_get_int(s, "width", &w);
        gst_structure_get_int(s, "height", &h);
        return QSize(w, h);
    }
    ~BranchRig()
    {
        if (pipeline)
            gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    }
};

bool writeAvi(const QString &path, const QByteArray &jpeg, int width, int height, int frames)
{
    const QString description = QStringLiteral("appsrc name=src format=time caps=\"%1\" ! mux.video_0 "
                                               "avimux name=mux ! filesink location=\"%2\"")
                                    .arg(QString::fromUtf8(jpegCaps(width, height)), path);
    GstRef<GstElement> pipeline(gst_parse_launch(description.toUtf8().constData(), nullptr));
    if (!pipeline)
        return false;
    GstRef<GstElement> src(gst_bin_get_by_name(GST_BIN(pipeline.get()), "src"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    for (int i = 0; i < frames; ++i) {
        GstBuffer *buffer = gst_buffer_new_memdup(jpeg.constData(), gsize(jpeg.size()));
        GST_BUFFER_PTS(buffer) = GST_BUFFER_DTS(buffer) = GstClockTime(i) * GST_SECOND / 10;
        GST_BUFFER_DURATION(buffer) = GST_SECOND / 10;
        gst_app_src_push_buffer(GST_APP_SRC(src.get()), buffer);
    }
    gst_app_src_end_of_stream(GST_APP_SRC(src.get()));
    GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));
    GstRef<GstMessage> done(gst_bus_timed_pop_filtered(bus.get(), 10 * GST_SECOND,
                                                       GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    if (done && GST_MESSAGE_TYPE(done.get()) == GST_MESSAGE_ERROR) {
        GError *error = nullptr;
        gst_message_parse_error(done.get(), &error, nullptr);
        qWarning("cannot write the film: %s", error ? error->message : "");
        g_clear_error(&error);
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return done && GST_MESSAGE_TYPE(done.get()) == GST_MESSAGE_EOS;
}

} // namespace

// Which decoder the first frame of a stream chooses, and the graphs that use the choice.
class TestJpegDecodeBranch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }

    // Frames the decoder element takes go to it, everything else to jpegdec and videoconvert;
    // a frame whose header cannot be read decides nothing.
    void choice_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QString>("caps");
        QTest::addColumn<int>("expected");
        const QString caps = QString::fromUtf8(jpegCaps(641, 479));
        auto row = [&](const char *name, const JpegSamples::Options &o, Choice choice) {
            QTest::newRow(name) << frame(641, 479, o) << caps << int(choice);
        };
        row("baseline 4:2:2", kind(2, 1), Choice::Direct);
        row("baseline 4:2:0", kind(2, 2), Choice::Direct);
        row("baseline 4:4:4", kind(1, 1), Choice::Direct);
        JpegSamples::Options o = kind(2, 1);
        o.restartInterval = 5;
        row("restart markers", o, Choice::Direct);
        o = kind(2, 2);
        o.arithmetic = true;
        row("arithmetic coding", o, Choice::Direct);
        o = kind(1, 1);
        o.greyscale = true;
        row("greyscale", o, Choice::Direct);
        o = kind(2, 2);
        o.progressive = true;
        row("progressive", o, Choice::Fallback);
        o = kind(2, 1);
        o.multiScan = true;
        row("one scan per component", o, Choice::Fallback);
        o = kind(1, 1);
        o.cmyk = true;
        row("CMYK", o, Choice::Fallback);
        QTest::newRow("12-bit") << JpegSamples::withTwelveBitHeader(frame(641, 479, kind(2, 1))) << caps
                                << int(Choice::Fallback);
        QTest::newRow("caps of another size")
            << frame(641, 479, kind(2, 1)) << QString::fromUtf8(jpegCaps(640, 480)) << int(Choice::Fallback);
        QTest::newRow("caps without a size")
            << frame(641, 479, kind(2, 1)) << "image/jpeg" << int(Choice::Fallback);
        QTest::newRow("no caps") << frame(641, 479, kind(2, 1)) << QString() << int(Choice::Fallback);
        QTest::newRow("garbage") << garbage(4000, 3) << caps << int(Choice::Undecided);
        QTest::newRow("cut in the header")
            << frame(641, 479, kind(2, 1)).left(100) << caps << int(Choice::Undecided);
    }
    void choice()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(QString, caps);
        QFETCH(int, expected);
        QVERIFY(!jpeg.isEmpty());
        JpegFrameDecoder decoder;
        const JpegFrameDecoder::Header header = decoder.inspect(
            reinterpret_cast<const uint8_t *>(jpeg.constData()), size_t(jpeg.size()));
        GstRef<GstCaps> parsed(caps.isEmpty() ? nullptr : gst_caps_from_string(caps.toUtf8().constData()));
        QByteArray why;
        QCOMPARE(int(JpegDecodeBranch::choose(header, parsed.get(), &why)), expected);
        QVERIFY(!why.isEmpty());
        qInfo("%s", why.constData());
    }

    // In a running pipeline: the decoder the first readable frame chose is linked, the frames
    // before it are dropped, and every frame after it reaches the sink in BGRx at its size.
    void branchInPipeline_data()
    {
        QTest::addColumn<int>("unreadableFirst");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QString>("decoder");
        QTest::newRow("baseline") << 0 << false << JpegDecoderElement::FACTORY_NAME;
        QTest::newRow("progressive") << 0 << true << "jpegdec";
        QTest::newRow("garbage first, then baseline") << 3 << false << JpegDecoderElement::FACTORY_NAME;
    }
    void branchInPipeline()
    {
        QFETCH(int, unreadableFirst);
        QFETCH(bool, progressive);
        QFETCH(QString, decoder);
        JpegSamples::Options o = kind(2, 1);
        o.progressive = progressive;
        const QByteArray jpeg = frame(321, 241, o);
        BranchRig rig;
        QVERIFY(rig.start(321, 241));
        for (int i = 0; i < unreadableFirst; ++i)
            rig.push(garbage(3000, quint32(i)));
        for (int i = 0; i < 4; ++i)
            rig.push(jpeg);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rig.pull(), QSize(321, 241));
        QCOMPARE(factoryOf(rig.pipeline.get(), "Decoder"), decoder);
        QCOMPARE(factoryOf(rig.pipeline.get(), "Converter").isEmpty(), !progressive);
    }

    // A stream that never shows a readable header goes to the fallback in the end.
    void unreadableStreamFallsBack()
    {
        BranchRig rig;
        QVERIFY(rig.start(64, 48));
        for (int i = 0; i < JpegDecodeBranch::MAX_UNREADABLE - 1; ++i)
            rig.push(garbage(500, quint32(100 + i)));
        QTest::qWait(200);
        QCOMPARE(factoryOf(rig.pipeline.get(), "Decoder"), QString());
        rig.push(garbage(500, 99));
        QTRY_COMPARE_WITH_TIMEOUT(factoryOf(rig.pipeline.get(), "Decoder"), QStringLiteral("jpegdec"),
                                  WAIT_MS);
    }

    // The live preview decodes the camera's frames with the decoder element alone.
    void livePreviewDecodesStraight()
    {
        auto camera = std::make_shared<SimulatedCamera>();
        camera->plugIn();
        SimulatedDeviceFilter device(camera);
        GrabberTestSink sink;
        LiveCaptureGraph graph;
        QVERIFY(graph.buildPreview(&device, device.currentFormat(), &sink));
        QVERIFY(graph.run());
        QTRY_VERIFY_WITH_TIMEOUT(sink.frames.load() >= 5, WAIT_MS);
        QCOMPARE(factoryOf(graph.pipeline(), "Decoder"), QString(JpegDecoderElement::FACTORY_NAME));
        QCOMPARE(factoryOf(graph.pipeline(), "Converter"), QString());
        GstRef<GstElement> decoder(gst_bin_get_by_name(GST_BIN(graph.pipeline()), "Decoder"));
        QVERIFY(JpegDecoderElement::framesDecoded(decoder.get()) >= 5);
        QCOMPARE(sink.lastWidth.load(), device.currentFormat().width);
        graph.finish();
    }

    // A Motion JPEG film takes the decoder its first frame chooses; frames reach the grabber
    // either way.
    void filmChoosesDecoder_data()
    {
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QString>("decoder");
        QTest::newRow("baseline 4:2:2") << false << JpegDecoderElement::FACTORY_NAME;
        QTest::newRow("progressive") << true << "jpegdec";
    }
    void filmChoosesDecoder()
    {
        QFETCH(bool, progressive);
        QFETCH(QString, decoder);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("film.avi"));
        JpegSamples::Options o = kind(2, 1);
        o.progressive = progressive;
        QVERIFY(writeAvi(path, frame(320, 240, o), 320, 240, 20));

        GrabberTestSink sink;
        auto grabber = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                   DirectShowTransformFilter::MODE_FILM);
        FilmGraph film;
        QCOMPARE(openFilm(film, path, grabber), FilmGraph::Result::Opened);
        QVERIFY(film.graph().run());
        QTRY_VERIFY_WITH_TIMEOUT(sink.frames.load() >= 3, WAIT_MS);
        QCOMPARE(sink.lastWidth.load(), 320);
        QCOMPARE(sink.lastHeight.load(), 240);
        QCOMPARE(factoryOf(film.graph().pipeline(), "Video Decoder"), decoder);
        QCOMPARE(factoryOf(film.graph().pipeline(), "Video Converter").isEmpty(), !progressive);
    }

    // Frames larger than the limit reach the grabber fitted to it: the app's decoder scales
    // them while decoding (to the eighth that still covers the fit), the scaler does the rest.
    void filmFramesAreScaledToTheLimit_data()
    {
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QSize>("limit");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QSize>("decoded"); // what the decoder gives; invalid: not the app's decoder
        QTest::newRow("baseline, scaled") << false << QSize(200, 200) << QSize(200, 150) << QSize(240, 180);
        QTest::newRow("baseline, fits") << false << QSize(1920, 1080) << QSize(640, 480) << QSize(640, 480);
        QTest::newRow("progressive, scaled") << true << QSize(200, 200) << QSize(200, 150) << QSize();
    }
    void filmFramesAreScaledToTheLimit()
    {
        QFETCH(bool, progressive);
        QFETCH(QSize, limit);
        QFETCH(QSize, shown);
        QFETCH(QSize, decoded);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("film.avi"));
        JpegSamples::Options o = kind(2, 2);
        o.progressive = progressive;
        QVERIFY(writeAvi(path, frame(640, 480, o), 640, 480, 20));

        GrabberTestSink sink;
        auto grabber = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                   DirectShowTransformFilter::MODE_FILM);
        FilmGraph film;
        QCOMPARE(openFilm(film, path, grabber, limit), FilmGraph::Result::Opened);
        QVERIFY(film.graph().run());
        QTRY_VERIFY_WITH_TIMEOUT(sink.frames.load() >= 3, WAIT_MS);
        QCOMPARE(QSize(sink.lastWidth.load(), sink.lastHeight.load()), shown);
        QCOMPARE(film.scaledFrameSize(), shown == QSize(640, 480) ? QSize() : shown);
        if (decoded.isValid()) {
            GstRef<GstElement> decoder(
                gst_bin_get_by_name(GST_BIN(film.graph().pipeline()), "Video Decoder"));
            GstRef<GstPad> out(gst_element_get_static_pad(decoder.get(), "src"));
            GstRef<GstCaps> caps(gst_pad_get_current_caps(out.get()));
            int w = 0, h = 0;
            const GstStructure *st = gst_caps_get_structure(caps.get(), 0);
            QVERIFY(gst_structure_get_int(st, "width", &w) && gst_structure_get_int(st, "height", &h));
            QCOMPARE(QSize(w, h), decoded);
        }
    }
};

QTEST_GUILESS_MAIN(TestJpegDecodeBranch)
#include "tst_jpegdecodebranch.moc"
