#include "GrabberPipelineHelpers.h"
#include "GrabberTestSink.h"
#include "MessageCapture.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GrabberElement.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QtTest>

#include <memory>

// The grabber hosted by its GStreamer element, in small pipelines.
class TestGrabberElement : public QObject
{
    Q_OBJECT
private:
    static constexpr int EOS_WAIT_MS = 20000;

    static QByteArray marker()
    {
        return QByteArray(reinterpret_cast<const char *>(GrabberTestSink::MARKER), 4);
    }

    // source ! capsfilter(caps) [! jpegenc] ! Grabber ! fakesink, built through MediaGraph.
    struct Chain
    {
        std::unique_ptr<MediaGraph> graph;
        GstElement *last = nullptr;
        GstElement *grabber = nullptr;
        GstElement *sink = nullptr;
    };
    static Chain frameChain(const char *source, const char *caps, bool encode,
                            std::shared_ptr<DirectShowTransformFilter> filter,
                            const char *sinkFactory = "fakesink")
    {
        Chain c;
        c.graph = std::make_unique<MediaGraph>("test");
        GstElement *src = c.graph->addElement(source, "Source");
        GstElement *filterCaps = c.graph->addElement("capsfilter", "Caps");
        GstRef<GstCaps> parsed(gst_caps_from_string(caps));
        g_object_set(filterCaps, "caps", parsed.get(), nullptr);
        gst_element_link(src, filterCaps);
        c.last = filterCaps;
        if (encode) {
            GstElement *enc = c.graph->addElement("jpegenc", "Encoder");
            gst_element_link(filterCaps, enc);
            c.last = enc;
        }
        GstRef<GstElement> grabber = GrabberElement::create(std::move(filter), "Grabber");
        c.graph->addElement(grabber.get(), "Grabber");
        c.grabber = grabber.get();
        c.sink = c.graph->addElement(sinkFactory, "Renderer");
        return c;
    }

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    // Preview and film hand every 640 x 480 BGRx frame to the sink with its first row equal to
    // the second; what the sink writes travels on in the buffer.
    void frameModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("fromJpeg");
        QTest::newRow("preview") << int(DirectShowTransformFilter::MODE_PREVIEW) << false;
        QTest::newRow("film") << int(DirectShowTransformFilter::MODE_FILM) << false;
        QTest::newRow("preview from jpeg, decoder inserted")
            << int(DirectShowTransformFilter::MODE_PREVIEW) << true;
    }
    void frameModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, fromJpeg);
        const int frames = 12;
        GrabberTestSink sink;
        auto filter = std::make_shared<DirectShowTransformFilter>(&sink, mode);
        Chain c = frameChain("videotestsrc",
                             fromJpeg ? "video/x-raw,format=I420,width=640,height=480,framerate=30/1"
                                      : "video/x-raw,format=BGRx,width=640,height=480,framerate=30/1",
                             fromJpeg, filter);
        g_object_set(c.graph->element("Source"), "num-buffers", frames, "pattern", 0 /* SMPTE bars */,
                     nullptr);
        QVERIFY(c.graph->connect(c.last, c.grabber));
        QVERIFY(c.graph->connect(c.grabber, c.sink));
        BufferTap tap;
        tap.prefix = marker();
        GstRef<GstPad> sinkPad(gst_element_get_static_pad(c.sink, "sink"));
        tap.attach(sinkPad.get());

        QVERIFY(c.graph->run());
        QVERIFY(waitForEos(c.graph->pipeline(), EOS_WAIT_MS));
        QCOMPARE(sink.frames.load(), frames);
        QCOMPARE(sink.framesWithEqualRows.load(), frames);
        QCOMPARE(sink.framesFlipped.load(), 0);
        QCOMPARE(sink.framesWithoutAlpha.load(), 0);
        QCOMPARE(sink.lastWidth.load(), 640);
        QCOMPARE(sink.lastHeight.load(), 480);
        const QByteArray last = sink.lastFrame();
        QCOMPARE(last.size(), 640 * 480 * 4);
        QCOMPARE(last.left(2560), last.mid(2560, 2560));
        QCOMPARE(tap.count.load(), frames);
        QCOMPARE(tap.startingWith.load(), frames);
        QCOMPARE(sink.previewFrameSeen.load(), mode == DirectShowTransformFilter::MODE_PREVIEW);
    }

    // Caps the mode does not take are refused at linking, and an element without a filter
    // takes nothing at all.
    void refusesOtherCaps_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caps");
        QTest::addColumn<bool>("withFilter");
        QTest::newRow("preview RGBx") << int(DirectShowTransformFilter::MODE_PREVIEW)
                                      << "video/x-raw,format=RGBx,width=64,height=48" << true;
        QTest::newRow("film I420") << int(DirectShowTransformFilter::MODE_FILM)
                                   << "video/x-raw,format=I420,width=64,height=48" << true;
        QTest::newRow("record BGRx") << int(DirectShowTransformFilter::MODE_RECORD)
                                     << "video/x-raw,format=BGRx,width=64,height=48" << true;
        QTest::newRow("no filter BGRx") << int(DirectShowTransformFilter::MODE_PREVIEW)
                                        << "video/x-raw,format=BGRx,width=64,height=48" << false;
    }
    void refusesOtherCaps()
    {
        QFETCH(int, mode);
        QFETCH(QString, caps);
        QFETCH(bool, withFilter);
        GrabberTestSink sink;
        auto filter = withFilter ? std::make_shared<DirectShowTransformFilter>(&sink, mode) : nullptr;
        Chain c = frameChain("videotestsrc", caps.toUtf8().constData(), false, filter);
        QVERIFY(!gst_element_link(c.last, c.grabber));
    }

    // Record mode: nothing leaves while no slot is ready; with a slot ready every buffer
    // carries exactly the slot's JPEG, also one larger than the camera's buffer.
    void recordSlots_data()
    {
        QTest::addColumn<int>("jpegSide"); // 0: no slot ready
        QTest::addColumn<bool>("largerThanCamera");
        QTest::newRow("no slot ready") << 0 << false;
        QTest::newRow("small picture") << 64 << false;
        QTest::newRow("picture larger than the camera buffer") << 1024 << true;
    }
    void recordSlots()
    {
        QFETCH(int, jpegSide);
        QFETCH(bool, largerThanCamera);
        const int frames = 8;
        GrabberTestSink sink;
        sink.allocateSlots(8 * 1024 * 1024);
        QByteArray jpeg;
        if (jpegSide > 0) {
            jpeg = makeJpeg(jpegSide, jpegSide, largerThanCamera, 100);
            QVERIFY(!jpeg.isEmpty());
            sink.publish(jpeg);
        }
        auto filter = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                  DirectShowTransformFilter::MODE_RECORD);
        Chain c = frameChain("videotestsrc", "video/x-raw,width=64,height=48,framerate=15/1", true, filter);
        g_object_set(c.graph->element("Source"), "num-buffers", frames, nullptr);
        QVERIFY(c.graph->connect(c.last, c.grabber));
        QVERIFY(c.graph->connect(c.grabber, c.sink));
        BufferTap tap;
        tap.keepBytes = true;
        GstRef<GstPad> sinkPad(gst_element_get_static_pad(c.sink, "sink"));
        tap.attach(sinkPad.get());

        MessageCapture messages;
        QVERIFY(c.graph->run());
        QVERIFY(waitForEos(c.graph->pipeline(), EOS_WAIT_MS));
        if (jpeg.isEmpty()) {
            QCOMPARE(tap.count.load(), 0);
            return;
        }
        QCOMPARE(tap.count.load(), frames);
        for (const QByteArray &bytes : tap.kept())
            QCOMPARE(bytes, jpeg);
        QCOMPARE(messages.count(QStringLiteral("original size")) > 0, largerThanCamera);
        QCOMPARE(sink.previewFrameSeen.load(), false);
    }

    // Tearing the element down drops its reference on the filter.
    void graphReleasesFilter()
    {
        GrabberTestSink sink;
        auto filter = std::make_shared<DirectShowTransformFilter>(&sink,
                                                                  DirectShowTransformFilter::MODE_PREVIEW);
        {
            Chain c = frameChain("videotestsrc", "video/x-raw,format=BGRx,width=64,height=48", false, filter);
            QVERIFY(c.graph->connect(c.last, c.grabber));
            QCOMPARE(filter.use_count(), 2L);
            QCOMPARE(GrabberElement::filter(c.grabber), filter);
            QVERIFY(!GrabberElement::filter(c.sink));
        }
        QCOMPARE(filter.use_count(), 1L);
    }
};

QTEST_GUILESS_MAIN(TestGrabberElement)
#include "tst_grabberelement.moc"
