#include "canvas/JpegFrameEncoder.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QtTest>

#include <cstring>
#include <vector>

// The recording's JPEG encoder against the toolkit's own JPEG writer at its default quality,
// the bytes a recording got before, and at its limits.
class TestJpegFrameEncoder : public QObject
{
    Q_OBJECT
private:
    // A camera-like picture: gradients with noise, opaque.
    static QImage scene(int w, int h, quint32 seed)
    {
        QImage img(w, h, QImage::Format_ARGB32);
        QRandomGenerator rng(seed);
        for (int y = 0; y < h; ++y) {
            auto *row = reinterpret_cast<quint32 *>(img.scanLine(y));
            for (int x = 0; x < w; ++x)
                row[x] = qRgb((x * 255) / w, (y * 255) / h, int((x ^ y) & 0x7f) + int(rng.bounded(64)));
        }
        return img;
    }
    // The picture's rows packed, bottom-up when asked, with a fourth byte the encoder ignores.
    static std::vector<uchar> rows(const QImage &upright, bool bottomUp)
    {
        const int w = upright.width(), h = upright.height();
        std::vector<uchar> out(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y) {
            uchar *dst = out.data() + size_t(bottomUp ? h - 1 - y : y) * w * 4;
            std::memcpy(dst, upright.constScanLine(y), size_t(w) * 4);
            for (int x = 0; x < w; ++x)
                dst[x * 4 + 3] = uchar(x + y);
        }
        return out;
    }
    static QByteArray toolkitJpeg(const QImage &picture)
    {
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        picture.save(&out, "JPG", -1);
        return bytes;
    }

private slots:
    void matchesTheToolkitsWriter_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("bottomUp");
        for (const QSize &size : {QSize(64, 48), QSize(33, 17), QSize(1, 1), QSize(1920, 1080)})
            for (bool bottomUp : {false, true})
                QTest::addRow("%dx%d%s", size.width(), size.height(), bottomUp ? " bottom-up" : "")
                    << size << bottomUp;
    }
    void matchesTheToolkitsWriter()
    {
        QFETCH(QSize, size);
        QFETCH(bool, bottomUp);
        const QImage picture = scene(size.width(), size.height(), 3);
        const std::vector<uchar> raw = rows(picture, bottomUp);
        JpegFrameEncoder encoder;
        for (int n = 0; n < 2; ++n) { // the second frame reuses what the first made
            QCOMPARE(encoder.encode(raw.data(), size.width(), size.height(), size.width() * 4, bottomUp, 75,
                                    size_t(1) << 24),
                     JpegFrameEncoder::Outcome::Encoded);
            const QByteArray ours(reinterpret_cast<const char *>(encoder.data()), int(encoder.size()));
            QCOMPARE(ours, toolkitJpeg(picture));
        }
    }

    // A JPEG of exactly the limit fits; one byte less and it is refused, and the next frame
    // with room is encoded again.
    void limits()
    {
        const QImage picture = scene(320, 240, 5);
        const std::vector<uchar> raw = rows(picture, false);
        JpegFrameEncoder encoder;
        QCOMPARE(encoder.encode(raw.data(), 320, 240, 320 * 4, false, 75, raw.size()),
                 JpegFrameEncoder::Outcome::Encoded);
        const size_t exact = encoder.size();
        QVERIFY(exact > 1000);
        QCOMPARE(encoder.encode(raw.data(), 320, 240, 320 * 4, false, 75, exact),
                 JpegFrameEncoder::Outcome::Encoded);
        QCOMPARE(encoder.size(), exact);
        QCOMPARE(encoder.encode(raw.data(), 320, 240, 320 * 4, false, 75, exact - 1),
                 JpegFrameEncoder::Outcome::TooLarge);
        QCOMPARE(encoder.size(), size_t(0));
        QCOMPARE(encoder.encode(raw.data(), 320, 240, 320 * 4, false, 75, 100),
                 JpegFrameEncoder::Outcome::TooLarge);
        QCOMPARE(encoder.encode(raw.data(), 320, 240, 320 * 4, false, 75, raw.size()),
                 JpegFrameEncoder::Outcome::Encoded);
        QCOMPARE(encoder.size(), exact);
        const QImage decoded = QImage::fromData(encoder.data(), int(encoder.size()), "JPG");
        QCOMPARE(decoded.size(), QSize(320, 240));
    }

    void nothingToEncode_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("stride");
        QTest::addColumn<bool>("pixels");
        QTest::newRow("no pixels") << 8 << 8 << 32 << false;
        QTest::newRow("no width") << 0 << 8 << 32 << true;
        QTest::newRow("rows shorter than the width") << 8 << 8 << 31 << true;
        QTest::newRow("larger than a JPEG can be") << 70000 << 1 << 280000 << true;
    }
    void nothingToEncode()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, stride);
        QFETCH(bool, pixels);
        std::vector<uchar> raw(size_t(std::max(stride, 1)) * size_t(std::max(height, 1)), 0x80);
        JpegFrameEncoder encoder;
        QCOMPARE(encoder.encode(pixels ? raw.data() : nullptr, width, height, stride, false, 75, 1 << 20),
                 JpegFrameEncoder::Outcome::Failed);
        QCOMPARE(encoder.size(), size_t(0));
    }
};

QTEST_GUILESS_MAIN(TestJpegFrameEncoder)
#include "tst_jpegframeencoder.moc"
