#include "CountingAllocator.h"
#include "JpegSamples.h"
#include "sources/media/GstRef.h"
#include "sources/media/JpegDecoderElement.h"
#include "sources/media/JpegFrameDecoder.h"
#include "sources/media/MappedMemoryAllocator.h"
#include "sources/media/MediaFramework.h"

#include <QtTest>

#include <gst/app/gstappsrc.h>
#include <gst/check/gstharness.h>
#include <gst/video/gstvideopool.h>
#include <gst/video/video.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

Q_DECLARE_METATYPE(JpegSamples::Options)

// A video buffer pool that counts the buffers it allocates.
struct CountingPool
{
    GstVideoBufferPool parent;
};
struct CountingPoolClass
{
    GstVideoBufferPoolClass parent_class;
};
static std::atomic<int> g_poolAllocations{0};
G_DEFINE_TYPE(CountingPool, counting_pool, GST_TYPE_VIDEO_BUFFER_POOL)
static GstFlowReturn counting_pool_alloc_buffer(GstBufferPool *pool, GstBuffer **buffer,
                                                GstBufferPoolAcquireParams *params)
{
    g_poolAllocations.fetch_add(1);
    return GST_BUFFER_POOL_CLASS(counting_pool_parent_class)->alloc_buffer(pool, buffer, params);
}
static void counting_pool_class_init(CountingPoolClass *klass)
{
    GST_BUFFER_POOL_CLASS(klass)->alloc_buffer = counting_pool_alloc_buffer;
}
static void counting_pool_init(CountingPool *) { }

namespace {

// The reference: what GStreamer alone makes of a JPEG in the grabber's layout.
constexpr const char *REFERENCE = "jpegdec ! videoconvert ! capsfilter caps=video/x-raw,format=BGRx";
// Largest difference per channel allowed from the reference on the frames below. Measured:
// 3 for 4:2:0, 5 for 4:2:2 and 4:4:4 (whose chroma jpegdec first reduces to 4:2:0; the scene
// keeps its colour edges where that loses nothing), 0 for greyscale; the mean stays below 0.8.
constexpr int ROUNDING_BOUND = 6;

QByteArray jpegCaps(int width, int height)
{
    return QStringLiteral("image/jpeg,width=%1,height=%2,framerate=30/1,parsed=true")
        .arg(width)
        .arg(height)
        .toUtf8();
}

GstBuffer *bufferOf(const QByteArray &bytes)
{
    return bytes.isEmpty() ? gst_buffer_new() : gst_buffer_new_memdup(bytes.constData(), gsize(bytes.size()));
}

QImage pictureOf(GstBuffer *buffer, GstCaps *caps)
{
    GstVideoInfo info;
    GstVideoFrame frame;
    if (!caps || !gst_video_info_from_caps(&info, caps)
        || !gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return {};
    QImage image(GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame), QImage::Format_RGB32);
    const auto *data = static_cast<const uchar *>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), data + y * GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0),
                    size_t(image.width()) * 4);
    gst_video_frame_unmap(&frame);
    return image;
}

struct Run
{
    QList<QImage> pictures;
    guint64 decoded = 0;
    guint64 dropped = 0;
    bool fromVideoPool = true; // every buffer came from a GstVideoBufferPool
    bool mappedMemory = true;  // with memory of MappedMemoryAllocator
    guint64 droppedAsTold = 0; // JpegDecoderElement::framesDropped()
};

// Pushes the frames through the elements and collects what comes out.
Run run(const char *elements, const QByteArray &caps, const QList<QByteArray> &frames)
{
    Run r;
    const bool ours = qstrcmp(elements, JpegDecoderElement::FACTORY_NAME) == 0;
    GstHarness *h = ours ? gst_harness_new(elements) : gst_harness_new_parse(elements);
    gst_harness_set_src_caps_str(h, caps.constData());
    for (const QByteArray &frame : frames)
        gst_harness_push(h, bufferOf(frame));
    while (GstBuffer *buffer = gst_harness_try_pull(h)) {
        GstRef<GstCaps> outCaps(gst_pad_get_current_caps(h->sinkpad));
        r.pictures.append(pictureOf(buffer, outCaps.get()));
        r.fromVideoPool = r.fromVideoPool && buffer->pool && GST_IS_VIDEO_BUFFER_POOL(buffer->pool);
        r.mappedMemory = r.mappedMemory && gst_buffer_n_memory(buffer) == 1
            && MappedMemoryAllocator::owns(gst_buffer_peek_memory(buffer, 0));
        gst_buffer_unref(buffer);
    }
    if (ours) {
        g_object_get(h->element, "frames-decoded", &r.decoded, "frames-dropped", &r.dropped, nullptr);
        r.droppedAsTold = JpegDecoderElement::framesDropped(h->element);
    }
    gst_harness_teardown(h);
    return r;
}

struct Difference
{
    int maxPerChannel[3] = {0, 0, 0}; // blue, green, red
    double mean = 0;
    bool paddingOpaque = true; // every fourth byte 0xFF
    int max() const { return std::max({maxPerChannel[0], maxPerChannel[1], maxPerChannel[2]}); }
};

Difference compare(const QImage &ours, const QImage &reference)
{
    Difference d;
    qint64 sum = 0;
    for (int y = 0; y < ours.height(); ++y) {
        const uchar *a = ours.constScanLine(y);
        const uchar *b = reference.constScanLine(y);
        for (int x = 0; x < ours.width(); ++x) {
            for (int c = 0; c < 3; ++c) {
                const int diff = std::abs(int(a[4 * x + c]) - int(b[4 * x + c]));
                d.maxPerChannel[c] = std::max(d.maxPerChannel[c], diff);
                sum += diff;
            }
            d.paddingOpaque = d.paddingOpaque && a[4 * x + 3] == 0xFF;
        }
    }
    d.mean = double(sum) / std::max<qint64>(1, qint64(ours.width()) * ours.height() * 3);
    return d;
}

JpegSamples::Options sampling(int h, int v, int restart = 0)
{
    JpegSamples::Options o;
    o.hSampling = h;
    o.vSampling = v;
    o.restartInterval = restart;
    return o;
}

QByteArray scene(int width, int height, const JpegSamples::Options &options)
{
    return JpegSamples::encode(JpegSamples::documentScene(width, height), options);
}

// Downstream's answer to the decoder's allocation query: the counting pool.
GstPadProbeReturn offerPool(GstPad *, GstPadProbeInfo *info, gpointer pool)
{
    GstQuery *query = GST_PAD_PROBE_INFO_QUERY(info);
    if (GST_QUERY_TYPE(query) != GST_QUERY_ALLOCATION)
        return GST_PAD_PROBE_OK;
    GstCaps *caps = nullptr;
    gst_query_parse_allocation(query, &caps, nullptr);
    GstVideoInfo info2;
    if (!caps || !gst_video_info_from_caps(&info2, caps))
        return GST_PAD_PROBE_OK;
    gst_query_add_allocation_pool(query, GST_BUFFER_POOL(pool), guint(GST_VIDEO_INFO_SIZE(&info2)), 0, 0);
    gst_query_add_allocation_meta(query, GST_VIDEO_META_API_TYPE, nullptr);
    return GST_PAD_PROBE_HANDLED;
}

struct SinkCount
{
    std::atomic<int> buffers{0};
    std::atomic<int> fromPool{0};
    GstBufferPool *pool = nullptr;
};

GstPadProbeReturn countAtSink(GstPad *, GstPadProbeInfo *info, gpointer data)
{
    auto *count = static_cast<SinkCount *>(data);
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (buffer->pool == count->pool)
        count->fromPool.fetch_add(1);
    count->buffers.fetch_add(1);
    return GST_PAD_PROBE_OK;
}

} // namespace

// The decoder element against GStreamer's own way to BGRx, and what it does with damage.
class TestJpegDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }

    // The same picture as jpegdec followed by videoconvert, up to the rounding of the colour
    // conversion, for the kinds of frame cameras send, odd sizes and restart markers included.
    void matchesJpegdec_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QVariant>("options");
        auto row = [](const char *name, int w, int h, const JpegSamples::Options &o) {
            QTest::newRow(name) << w << h << QVariant::fromValue(o);
        };
        row("4:2:2 1920x1080", 1920, 1080, sampling(2, 1));
        row("4:2:0 1920x1080", 1920, 1080, sampling(2, 2));
        row("4:2:2 641x479", 641, 479, sampling(2, 1));
        row("4:2:0 641x479", 641, 479, sampling(2, 2));
        row("4:2:2 17x9", 17, 9, sampling(2, 1));
        row("4:2:0 17x9", 17, 9, sampling(2, 2));
        row("4:2:0 9x17", 9, 17, sampling(2, 2));
        row("4:2:2 1x1", 1, 1, sampling(2, 1));
        row("4:2:0 1x1", 1, 1, sampling(2, 2));
        row("4:2:2 restart every MCU", 641, 479, sampling(2, 1, 1));
        row("4:2:0 restart every 7 MCUs", 641, 479, sampling(2, 2, 7));
        row("4:4:4 640x480", 640, 480, sampling(1, 1));
        JpegSamples::Options grey;
        grey.greyscale = true;
        row("greyscale 321x241", 321, 241, grey);
    }
    void matchesJpegdec()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QVariant, options);
        const QByteArray jpeg = scene(width, height, options.value<JpegSamples::Options>());
        QVERIFY(!jpeg.isEmpty());
        const Run ours = run(JpegDecoderElement::FACTORY_NAME, jpegCaps(width, height), {jpeg, jpeg});
        const Run reference = run(REFERENCE, jpegCaps(width, height), {jpeg});
        QCOMPARE(ours.pictures.size(), 2);
        QCOMPARE(reference.pictures.size(), 1);
        QCOMPARE(ours.decoded, guint64(2));
        QCOMPARE(ours.dropped, guint64(0));
        QVERIFY(ours.fromVideoPool);
        // Downstream (the harness) offers no pool: the decoder's own maps its memory.
        QVERIFY(ours.mappedMemory);
        QCOMPARE(ours.pictures[0].size(), QSize(width, height));
        QCOMPARE(ours.pictures[1], ours.pictures[0]);
        // Both pictures side by side, to be looked at.
        const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/jpegdecoder");
        QDir().mkpath(folder);
        const QString name = QString::fromUtf8(QTest::currentDataTag()).replace(' ', '_').replace(':', '-');
        QVERIFY(ours.pictures[0].save(folder + '/' + name + "_doccamjpegdec.png"));
        QVERIFY(reference.pictures[0].save(folder + '/' + name + "_jpegdec_videoconvert.png"));
        const Difference d = compare(ours.pictures[0], reference.pictures[0]);
        qInfo("max |difference| blue %d green %d red %d, mean %.3f", d.maxPerChannel[0], d.maxPerChannel[1],
              d.maxPerChannel[2], d.mean);
        QVERIFY(d.paddingOpaque);
        QVERIFY2(d.max() <= ROUNDING_BOUND, qPrintable(QString::number(d.max())));
        QVERIFY(d.mean < 1.0);
    }

    // A damaged frame between two good ones is dropped and counted; the good ones come out
    // whole and alike, so nothing of the damaged frame leaks into them. Padding before the
    // end marker is not damage.
    void dropsDamagedFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("dropped");
        const JpegSamples::Options restarts = sampling(2, 1, 4);
        const QByteArray good = scene(641, 479, restarts);
        QTest::newRow("cut at half") << good.left(good.size() / 2) << true;
        QTest::newRow("cut before the end marker") << good.left(good.size() - 2) << true;
        QTest::newRow("cut in the header") << good.left(120) << true;
        QTest::newRow("nothing") << QByteArray() << true;
        QRandomGenerator random(20);
        QByteArray garbage(20000, '\0');
        for (char &c : garbage)
            c = char(random.bounded(256));
        QTest::newRow("garbage") << garbage << true;
        QTest::newRow("start of image, then garbage") << (QByteArray("\xFF\xD8", 2) + garbage) << true;
        QByteArray marker = good;
        const int middle = good.size() * 3 / 5;
        marker.replace(middle, 2, QByteArray("\xFF\xD9", 2));
        QTest::newRow("end marker inside the picture data") << marker << true;
        QByteArray noRestart = good;
        const int restart = JpegSamples::firstRestartMarker(good);
        QVERIFY(restart > 0);
        noRestart.remove(restart, 2);
        QTest::newRow("restart marker missing") << noRestart << true;
        QTest::newRow("another size") << scene(320, 240, restarts) << true;
        JpegSamples::Options progressive = restarts;
        progressive.progressive = true;
        QTest::newRow("progressive") << scene(641, 479, progressive) << true;
        QTest::newRow("padding before the end marker")
            << (good.left(good.size() - 2) + QByteArray(32, '\0') + good.right(2)) << false;
    }
    void dropsDamagedFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, dropped);
        const QByteArray good = scene(641, 479, sampling(2, 1, 4));
        const Run r = run(JpegDecoderElement::FACTORY_NAME, jpegCaps(641, 479), {good, frame, good});
        QCOMPARE(r.dropped, guint64(dropped ? 1 : 0));
        QCOMPARE(r.droppedAsTold, r.dropped);
        QCOMPARE(r.decoded, guint64(dropped ? 2 : 3));
        QCOMPARE(r.pictures.size(), dropped ? 2 : 3);
        for (const QImage &picture : r.pictures)
            QCOMPARE(picture, r.pictures.first());
    }

    // After the first frame of a size the decoder allocates nothing, also after a damaged
    // frame; a larger size may grow its memory once, and then nothing again. (The first
    // frame's count shows the counting works.)
    void decodingAllocatesNothing_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QVariant>("options");
        QTest::addColumn<bool>("damagedBetween");
        QTest::newRow("4:2:2 1920x1080") << 1920 << 1080 << QVariant::fromValue(sampling(2, 1)) << false;
        QTest::newRow("4:2:0 641x479 restarts")
            << 641 << 479 << QVariant::fromValue(sampling(2, 2, 3)) << false;
        QTest::newRow("4:4:4 17x9") << 17 << 9 << QVariant::fromValue(sampling(1, 1)) << false;
        QTest::newRow("4:2:2 with a cut frame between")
            << 641 << 479 << QVariant::fromValue(sampling(2, 1)) << true;
    }
    void decodingAllocatesNothing()
    {
#if !DOCCAM_COUNTS_ALLOCATIONS
        QSKIP("the sanitizer's allocator is not counted");
#else
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QVariant, options);
        QFETCH(bool, damagedBetween);
        const JpegSamples::Options o = options.value<JpegSamples::Options>();
        const QByteArray jpeg = scene(width, height, o);
        const QByteArray cut = jpeg.left(jpeg.size() / 2);
        const int largerWidth = width * 2 + 16, largerHeight = height * 2 + 16;
        const QByteArray larger = scene(largerWidth, largerHeight, o);
        const int stride = largerWidth * 4;
        std::vector<uint8_t> rows(size_t(stride) * size_t(largerHeight));
        auto counted = [](auto work) {
            CountingAllocator::Scope scope;
            const int decoded = work();
            return std::make_pair(decoded, scope.count());
        };
        JpegFrameDecoder *decoder = nullptr;
        auto decode = [&](const QByteArray &bytes, int w, int h) {
            return decoder->decode(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()),
                                   rows.data(), stride, w, h)
                == JpegFrameDecoder::Outcome::Decoded;
        };
        const auto first = counted([&]() {
            decoder = new JpegFrameDecoder;
            return int(decode(jpeg, width, height));
        });
        const auto steady = counted([&]() {
            int decoded = 0;
            for (int i = 0; i < 5; ++i) {
                decoded += decode(jpeg, width, height);
                if (damagedBetween)
                    decoded -= decode(cut, width, height);
            }
            return decoded;
        });
        const auto grown = counted([&]() { return int(decode(larger, largerWidth, largerHeight)); });
        const auto steadyAgain = counted([&]() {
            int decoded = 0;
            for (int i = 0; i < 3; ++i)
                decoded += decode(larger, largerWidth, largerHeight);
            return decoded;
        });
        delete decoder;

        qInfo("allocations: %ld for the first frame, %ld for the next 5, %ld for a larger frame, "
              "%ld for 3 more",
              first.second, steady.second, grown.second, steadyAgain.second);
        QCOMPARE(first.first + steady.first + grown.first + steadyAgain.first, 10);
        QVERIFY(first.second > 0);
        QCOMPARE(steady.second, 0L);
        QCOMPARE(steadyAgain.second, 0L);
#endif
    }

    // In a running pipeline the decoder takes its frames from the pool downstream offers and
    // gets every one back: after warming up the pool allocates no further buffer.
    void poolBuffersAreReused()
    {
        const int width = 1280, height = 720;
        const QByteArray jpeg = scene(width, height, sampling(2, 1));
        GstRef<GstElement> pipeline(gst_parse_launch(
            QStringLiteral("appsrc name=src format=time caps=\"%1\" ! doccamjpegdec name=decoder ! "
                           "fakesink name=sink sync=false")
                .arg(QString::fromUtf8(jpegCaps(width, height)))
                .toUtf8()
                .constData(),
            nullptr));
        QVERIFY(pipeline);
        GstRef<GstElement> src(gst_bin_get_by_name(GST_BIN(pipeline.get()), "src"));
        GstRef<GstElement> decoder(gst_bin_get_by_name(GST_BIN(pipeline.get()), "decoder"));
        GstRef<GstElement> sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
        GstBufferPool *pool = GST_BUFFER_POOL(g_object_new(counting_pool_get_type(), nullptr));
        SinkCount count;
        count.pool = pool;
        GstRef<GstPad> decoderOutput(gst_element_get_static_pad(decoder.get(), "src"));
        GstRef<GstPad> sinkInput(gst_element_get_static_pad(sink.get(), "sink"));
        gst_pad_add_probe(decoderOutput.get(), GST_PAD_PROBE_TYPE_QUERY_DOWNSTREAM, offerPool, pool, nullptr);
        gst_pad_add_probe(sinkInput.get(), GST_PAD_PROBE_TYPE_BUFFER, countAtSink, &count, nullptr);
        g_poolAllocations = 0;
        QVERIFY(gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE);

        auto push = [&](int n) {
            for (int i = 0; i < n; ++i)
                gst_app_src_push_buffer(GST_APP_SRC(src.get()), bufferOf(jpeg));
        };
        push(10);
        QTRY_COMPARE_WITH_TIMEOUT(count.buffers.load(), 10, 20000);
        const int warm = g_poolAllocations.load();
        push(90);
        QTRY_COMPARE_WITH_TIMEOUT(count.buffers.load(), 100, 60000);
        const int after = g_poolAllocations.load();
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        gst_object_unref(pool);

        qInfo("pool buffers allocated: %d after 10 frames, %d after 100", warm, after);
        QVERIFY(warm > 0);
        QCOMPARE(after, warm);
        QCOMPARE(count.fromPool.load(), 100);
        QCOMPARE(JpegDecoderElement::framesDecoded(decoder.get()), guint64(100));
    }
};

QTEST_GUILESS_MAIN(TestJpegDecoder)
#include "tst_jpegdecoder.moc"
