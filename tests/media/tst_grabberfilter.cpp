#include "GrabberTestSink.h"
#include "MessageCapture.h"
#include "sources/media/DirectShowTransformFilter.h"
#include "sources/media/GstBufferMapping.h"
#include "sources/media/GstRef.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaSample.h"
#include "sources/media/MediaType.h"

#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(MediaType)
Q_DECLARE_METATYPE(HRESULT)

// The grabber's decisions and per-sample work, without a pipeline: media types are built by
// hand or from caps strings, samples are plain GstBuffers.
class TestGrabberFilter : public QObject
{
    Q_OBJECT
private:
    static MediaType video(MediaSubtype subtype, FormatType format, int width = 640, int height = 480)
    {
        MediaType t;
        t.majorType = MediaMajorType::Video;
        t.subtype = subtype;
        BitmapInfoHeader bmi;
        bmi.biWidth = width;
        bmi.biHeight = height;
        if (format == FormatType::VideoInfo) {
            VideoInfoHeader vih;
            vih.bmiHeader = bmi;
            t.format = vih;
        } else if (format == FormatType::VideoInfo2) {
            VideoInfoHeader2 vih2;
            vih2.bmiHeader = bmi;
            t.format = vih2;
        } else if (format == FormatType::WaveFormatEx) {
            t.format = WaveFormatEx{2, 48000};
        }
        return t;
    }

    // A frame whose row r is filled with the byte r + 1.
    static GstRef<GstBuffer> frameBuffer(int width, int height, gsize size = 0)
    {
        const gsize rowBytes = 4u * static_cast<gsize>(width);
        if (size == 0)
            size = rowBytes * static_cast<gsize>(height);
        GstRef<GstBuffer> buffer(gst_buffer_new_allocate(nullptr, size, nullptr));
        GstBufferMapping map(buffer.get(), GST_MAP_WRITE);
        for (gsize i = 0; i < size; ++i)
            map.data()[i] = static_cast<guint8>(i / rowBytes + 1);
        return buffer;
    }

    static QByteArray contents(GstBuffer *buffer)
    {
        GstBufferMapping map(buffer, GST_MAP_READ);
        return QByteArray(reinterpret_cast<const char *>(map.data()), static_cast<int>(map.size()));
    }

    static QByteArray jpegLike(int size, char seed)
    {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(seed + i * 7);
        if (size >= 2) {
            bytes[0] = '\xFF';
            bytes[1] = '\xD8';
        }
        return bytes;
    }

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    void checkInputType_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<MediaType>("type");
        QTest::addColumn<HRESULT>("expected");
        using M = DirectShowTransformFilter;
        const HRESULT no = VFW_E_TYPE_NOT_ACCEPTED;
        QTest::newRow("preview RGB32 info")
            << int(M::MODE_PREVIEW) << video(MediaSubtype::RGB32, FormatType::VideoInfo) << S_OK;
        QTest::newRow("preview RGB32 info2")
            << int(M::MODE_PREVIEW) << video(MediaSubtype::RGB32, FormatType::VideoInfo2) << S_OK;
        QTest::newRow("preview RGB32 no format")
            << int(M::MODE_PREVIEW) << video(MediaSubtype::RGB32, FormatType::None) << no;
        QTest::newRow("preview RGB32 wave format")
            << int(M::MODE_PREVIEW) << video(MediaSubtype::RGB32, FormatType::WaveFormatEx) << no;
        QTest::newRow("preview MJPG")
            << int(M::MODE_PREVIEW) << video(MediaSubtype::MJPG, FormatType::VideoInfo) << no;
        QTest::newRow("preview RGB24")
            << int(M::MODE_PREVIEW) << video(MediaSubtype::RGB24, FormatType::VideoInfo) << no;
        MediaType audio = video(MediaSubtype::RGB32, FormatType::VideoInfo);
        audio.majorType = MediaMajorType::Audio;
        QTest::newRow("preview audio major") << int(M::MODE_PREVIEW) << audio << no;
        QTest::newRow("record MJPG info")
            << int(M::MODE_RECORD) << video(MediaSubtype::MJPG, FormatType::VideoInfo) << S_OK;
        QTest::newRow("record MJPG info2")
            << int(M::MODE_RECORD) << video(MediaSubtype::MJPG, FormatType::VideoInfo2) << S_OK;
        QTest::newRow("record RGB32")
            << int(M::MODE_RECORD) << video(MediaSubtype::RGB32, FormatType::VideoInfo) << no;
        QTest::newRow("record MJPG no format")
            << int(M::MODE_RECORD) << video(MediaSubtype::MJPG, FormatType::None) << no;
        MediaType avi;
        avi.majorType = MediaMajorType::Stream;
        avi.subtype = MediaSubtype::AVI;
        QTest::newRow("record AVI stream") << int(M::MODE_RECORD) << avi << no;
        QTest::newRow("film RGB32 info2")
            << int(M::MODE_FILM) << video(MediaSubtype::RGB32, FormatType::VideoInfo2) << S_OK;
        QTest::newRow("film YUY2") << int(M::MODE_FILM) << video(MediaSubtype::YUY2, FormatType::VideoInfo)
                                   << no;
        QTest::newRow("film MJPG") << int(M::MODE_FILM) << video(MediaSubtype::MJPG, FormatType::VideoInfo)
                                   << no;
    }
    void checkInputType()
    {
        QFETCH(int, mode);
        QFETCH(MediaType, type);
        QFETCH(HRESULT, expected);
        GrabberTestSink sink;
        DirectShowTransformFilter filter(&sink, mode);
        QCOMPARE(filter.CheckInputType(type), expected);
    }

    // The element judges real caps through the same translation.
    void capsTranslation_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caps");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("formatType");
        QTest::addColumn<QSize>("size");
        using M = DirectShowTransformFilter;
        const int vih = int(FormatType::VideoInfo), vih2 = int(FormatType::VideoInfo2),
                  none = int(FormatType::None);
        QTest::newRow("BGRx") << int(M::MODE_PREVIEW)
                              << "video/x-raw,format=BGRx,width=640,height=480,framerate=30/1" << true << vih
                              << QSize(640, 480);
        QTest::newRow("BGRx interlaced")
            << int(M::MODE_FILM) << "video/x-raw,format=BGRx,width=720,height=576,interlace-mode=interleaved"
            << true << vih2 << QSize(720, 576);
        QTest::newRow("BGRx anamorphic")
            << int(M::MODE_FILM) << "video/x-raw,format=BGRx,width=720,height=576,pixel-aspect-ratio=16/15"
            << true << vih2 << QSize(720, 576);
        QTest::newRow("RGBx byte order")
            << int(M::MODE_PREVIEW) << "video/x-raw,format=RGBx,width=640,height=480" << false << vih
            << QSize(640, 480);
        QTest::newRow("BGRx without size")
            << int(M::MODE_PREVIEW) << "video/x-raw,format=BGRx" << false << none << QSize(0, 0);
        QTest::newRow("jpeg") << int(M::MODE_RECORD) << "image/jpeg,width=1920,height=1080,framerate=30/1"
                              << true << vih << QSize(1920, 1080);
        QTest::newRow("jpeg without size")
            << int(M::MODE_RECORD) << "image/jpeg" << false << none << QSize(0, 0);
        QTest::newRow("jpeg to preview")
            << int(M::MODE_PREVIEW) << "image/jpeg,width=640,height=480" << false << vih << QSize(640, 480);
        QTest::newRow("audio") << int(M::MODE_RECORD) << "audio/x-raw,format=S16LE,rate=48000,channels=2"
                               << false << int(FormatType::WaveFormatEx) << QSize(0, 0);
    }
    void capsTranslation()
    {
        QFETCH(int, mode);
        QFETCH(QString, caps);
        QFETCH(bool, accepted);
        QFETCH(int, formatType);
        QFETCH(QSize, size);
        GstRef<GstCaps> parsed(gst_caps_from_string(caps.toUtf8().constData()));
        QVERIFY(parsed);
        const MediaType type = MediaType::fromCaps(parsed.get());
        QCOMPARE(int(type.formatType()), formatType);
        GrabberTestSink sink;
        DirectShowTransformFilter filter(&sink, mode);
        QCOMPARE(filter.CheckInputType(type) == S_OK, accepted);
        filter.SetMediaType(PinDirection::Input, type);
        QCOMPARE(QSize(filter.width(), filter.height()), size);
    }

    void setMediaType_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<MediaType>("type");
        QTest::addColumn<QSize>("size");
        const int in = int(PinDirection::Input), out = int(PinDirection::Output);
        QTest::newRow("info header") << in << video(MediaSubtype::RGB32, FormatType::VideoInfo, 1280, 720)
                                     << QSize(1280, 720);
        QTest::newRow("second info header")
            << in << video(MediaSubtype::RGB32, FormatType::VideoInfo2, 1920, 1080) << QSize(1920, 1080);
        QTest::newRow("output pin") << out << video(MediaSubtype::MJPG, FormatType::VideoInfo2, 800, 600)
                                    << QSize(800, 600);
        QTest::newRow("no format keeps size")
            << in << video(MediaSubtype::RGB32, FormatType::None, 1280, 720) << QSize(320, 240);
        QTest::newRow("wave format keeps size")
            << out << video(MediaSubtype::RGB32, FormatType::WaveFormatEx) << QSize(320, 240);
    }
    void setMediaType()
    {
        QFETCH(int, direction);
        QFETCH(MediaType, type);
        QFETCH(QSize, size);
        GrabberTestSink sink;
        DirectShowTransformFilter filter(&sink, DirectShowTransformFilter::MODE_PREVIEW);
        QCOMPARE(filter.SetMediaType(PinDirection::Input,
                                     video(MediaSubtype::RGB32, FormatType::VideoInfo, 320, 240)),
                 S_OK);
        QCOMPARE(filter.SetMediaType(PinDirection(direction), type), S_OK);
        QCOMPARE(QSize(filter.width(), filter.height()), size);
    }

    void transformFrame_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bufferBytes"); // 0: exactly the frame
        QTest::addColumn<bool>("delivered");
        using M = DirectShowTransformFilter;
        QTest::newRow("preview 640x480") << int(M::MODE_PREVIEW) << QSize(640, 480) << 0 << true;
        QTest::newRow("film 640x480") << int(M::MODE_FILM) << QSize(640, 480) << 0 << true;
        QTest::newRow("preview one row") << int(M::MODE_PREVIEW) << QSize(16, 1) << 0 << true;
        QTest::newRow("film one row") << int(M::MODE_FILM) << QSize(16, 1) << 0 << true;
        QTest::newRow("preview short buffer")
            << int(M::MODE_PREVIEW) << QSize(64, 48) << 64 * 4 * 47 << false;
        QTest::newRow("preview no size yet") << int(M::MODE_PREVIEW) << QSize(0, 0) << 4096 << false;
    }
    void transformFrame()
    {
        QFETCH(int, mode);
        QFETCH(QSize, size);
        QFETCH(int, bufferBytes);
        QFETCH(bool, delivered);
        GrabberTestSink sink;
        DirectShowTransformFilter filter(&sink, mode);
        if (!size.isEmpty())
            filter.SetMediaType(
                PinDirection::Input,
                video(MediaSubtype::RGB32, FormatType::VideoInfo, size.width(), size.height()));
        GstRef<GstBuffer> buffer = frameBuffer(qMax(size.width(), 1), qMax(size.height(), 1),
                                               gsize(bufferBytes));
        const QByteArray before = contents(buffer.get());
        {
            MediaSample sample(buffer.get());
            QCOMPARE(filter.Transform(sample), S_OK);
        }
        // Preview tells the recording that the live picture runs; film never does.
        QCOMPARE(sink.previewFrameSeen.load(), mode == DirectShowTransformFilter::MODE_PREVIEW);
        QCOMPARE(sink.frames.load(), delivered ? 1 : 0);
        const QByteArray after = contents(buffer.get());
        if (!delivered) {
            QCOMPARE(after, before);
            return;
        }
        const int rowBytes = 4 * size.width();
        QCOMPARE(sink.lastWidth.load(), size.width());
        QCOMPARE(sink.lastHeight.load(), size.height());
        QCOMPARE(sink.framesFlipped.load(), 0);
        QCOMPARE(sink.framesWithoutAlpha.load(), 0);
        const QByteArray seen = sink.lastFrame();
        if (size.height() >= 2) {
            QCOMPARE(sink.framesWithEqualRows.load(), 1);
            QCOMPARE(seen.left(rowBytes), before.mid(rowBytes, rowBytes));
            QCOMPARE(seen.mid(rowBytes), before.mid(rowBytes));
        } else {
            QCOMPARE(seen, before); // a single row is handed over untouched
        }
        // The sink's changes stay in the sample.
        QCOMPARE(after.left(4), QByteArray(reinterpret_cast<const char *>(GrabberTestSink::MARKER), 4));
        QCOMPARE(after.mid(4), seen.mid(4));
    }

    void filmNeverTouchesPreviewFlag()
    {
        GrabberTestSink sink;
        sink.previewFrameSeen.store(true);
        DirectShowTransformFilter film(&sink, DirectShowTransformFilter::MODE_FILM);
        film.SetMediaType(PinDirection::Input, video(MediaSubtype::RGB32, FormatType::VideoInfo, 8, 8));
        GstRef<GstBuffer> buffer = frameBuffer(8, 8);
        MediaSample sample(buffer.get());
        QCOMPARE(film.Transform(sample), S_OK);
        QCOMPARE(sink.previewFrameSeen.load(), true);
        sink.previewFrameSeen.store(false);
        QCOMPARE(film.Transform(sample), S_OK);
        QCOMPARE(sink.previewFrameSeen.load(), false);
    }

    void transformRecord_data()
    {
        QTest::addColumn<int>("readySlot");
        QTest::addColumn<int>("jpegBytes");
        QTest::addColumn<int>("bufferBytes");
        QTest::addColumn<int>("bufferRoom"); // allocated bytes behind the data
        QTest::addColumn<HRESULT>("expected");
        QTest::addColumn<bool>("sameMemory");
        QTest::newRow("no slot ready")
            << int(ICaptureCB::NO_RECORD_SLOT) << 1000 << 4000 << 0 << S_FALSE << true;
        QTest::newRow("slot 0 fits") << 0 << 1000 << 4000 << 0 << S_OK << true;
        QTest::newRow("slot 1 fits") << 1 << 3999 << 4000 << 0 << S_OK << true;
        QTest::newRow("slot fills buffer") << 0 << 4000 << 4000 << 0 << S_OK << true;
        QTest::newRow("grows into room") << 1 << 5000 << 2000 << 6000 << S_OK << true;
        QTest::newRow("larger than buffer") << 0 << 6000 << 4000 << 0 << S_OK << false;
        QTest::newRow("empty slot") << 0 << 0 << 4000 << 0 << S_FALSE << true;
        QTest::newRow("slot index 2") << 2 << 1000 << 4000 << 0 << S_FALSE << true;
    }
    void transformRecord()
    {
        QFETCH(int, readySlot);
        QFETCH(int, jpegBytes);
        QFETCH(int, bufferBytes);
        QFETCH(int, bufferRoom);
        QFETCH(HRESULT, expected);
        QFETCH(bool, sameMemory);
        GrabberTestSink sink;
        sink.allocateSlots(16384);
        const QByteArray jpeg = jpegLike(jpegBytes, 3);
        for (int slot = 0; slot < 2; ++slot) {
            std::memcpy(sink.recordBuffer[slot], jpeg.constData(), size_t(jpeg.size()));
            sink.recordBytes[slot] = jpeg.size();
        }
        sink.recordReadySlot.store(readySlot);
        DirectShowTransformFilter filter(&sink, DirectShowTransformFilter::MODE_RECORD);
        filter.SetMediaType(PinDirection::Input, video(MediaSubtype::MJPG, FormatType::VideoInfo, 64, 48));

        GstRef<GstBuffer> buffer = frameBuffer(64, 48, gsize(qMax(bufferBytes, bufferRoom)));
        gst_buffer_set_size(buffer.get(), bufferBytes);
        const QByteArray camera = contents(buffer.get());
        GstMemory *memoryBefore = gst_buffer_peek_memory(buffer.get(), 0);
        gsize offset = 0, capacity = 0;
        gst_buffer_get_sizes(buffer.get(), &offset, &capacity);
        capacity -= offset;

        MessageCapture messages;
        {
            MediaSample sample(buffer.get());
            QCOMPARE(filter.Transform(sample), expected);
        }
        QCOMPARE(sink.previewFrameSeen.load(), false);
        QCOMPARE(gst_buffer_peek_memory(buffer.get(), 0) == memoryBefore, sameMemory);
        if (expected == S_FALSE) {
            QCOMPARE(contents(buffer.get()), camera);
            return;
        }
        QCOMPARE(contents(buffer.get()), jpeg);
        QCOMPARE(sink.recordReadySlot.load(), readySlot); // read, never cleared
        const QString line =
            QStringLiteral("original size %1 smale than converted size %2").arg(capacity).arg(jpegBytes);
        QVERIFY2(messages.contains(line) == !sameMemory, qPrintable(messages.messages().join('|')));
    }

    // A slot the canvas cannot have filled must not reach the recording.
    void recordRefusesUnusableSlots_data()
    {
        QTest::addColumn<bool>("nullSlot");
        QTest::addColumn<int>("bytes");
        QTest::newRow("slot not allocated") << true << 100;
        QTest::newRow("count beyond slot capacity") << false << 20000;
        QTest::newRow("negative count") << false << -5;
    }
    void recordRefusesUnusableSlots()
    {
        QFETCH(bool, nullSlot);
        QFETCH(int, bytes);
        GrabberTestSink sink;
        sink.allocateSlots(16384);
        if (nullSlot) {
            std::free(sink.recordBuffer[0]);
            sink.recordBuffer[0] = nullptr;
        }
        sink.recordBytes[0] = bytes;
        sink.recordReadySlot.store(0);
        DirectShowTransformFilter filter(&sink, DirectShowTransformFilter::MODE_RECORD);
        GstRef<GstBuffer> buffer = frameBuffer(64, 48);
        const QByteArray camera = contents(buffer.get());
        {
            MediaSample sample(buffer.get());
            QCOMPARE(filter.Transform(sample), S_FALSE);
        }
        QCOMPARE(contents(buffer.get()), camera);
    }

    // Until the canvas names a new slot every sample repeats the last converted frame.
    void recordRepeatsReadySlot()
    {
        GrabberTestSink sink;
        sink.allocateSlots(4096);
        DirectShowTransformFilter filter(&sink, DirectShowTransformFilter::MODE_RECORD);
        const QByteArray first = jpegLike(700, 1), second = jpegLike(900, 9);
        QCOMPARE(sink.publish(first), 0);
        for (int i = 0; i < 2; ++i) {
            GstRef<GstBuffer> buffer = frameBuffer(32, 32);
            MediaSample sample(buffer.get());
            QCOMPARE(filter.Transform(sample), S_OK);
            QCOMPARE(contents(buffer.get()), first);
        }
        QCOMPARE(sink.publish(second), 1);
        GstRef<GstBuffer> buffer = frameBuffer(32, 32);
        {
            MediaSample sample(buffer.get());
            QCOMPARE(filter.Transform(sample), S_OK);
        }
        QCOMPARE(contents(buffer.get()), second);
    }
};

QTEST_GUILESS_MAIN(TestGrabberFilter)
#include "tst_grabberfilter.moc"
