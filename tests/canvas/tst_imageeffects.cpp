#include "canvas/CanvasTypes.h"
#include "canvas/ImageEffects.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

// Effects and masks on both pixel layouts, checked against a per-pixel reading of the rules
// and against the fixed values the on-screen display and the popups rely on.
class TestImageEffects : public QObject
{
    Q_OBJECT
private:
    // A picture of random bytes; 4-byte pictures get random alpha too, so any change to the
    // fourth byte shows.
    static QImage noise(int w, int h, QImage::Format format, quint32 seed)
    {
        QImage img(w, h, format);
        QRandomGenerator rng(seed);
        for (int y = 0; y < h; ++y) {
            uchar *row = img.scanLine(y);
            for (int i = 0; i < img.bytesPerLine(); ++i)
                row[i] = uchar(rng.bounded(256));
        }
        return img;
    }
    static int bpp(const QImage &img) { return img.format() == QImage::Format_RGB888 ? 3 : 4; }
    static const uchar *px(const QImage &img, int x, int y) { return img.constScanLine(y) + x * bpp(img); }

    // Whether the mask rule turns (x, y) of a cw x ch cut-out black.
    static bool maskedBlack(int mask, int x, int y, int cw, int ch)
    {
        switch (mask) {
        case MASK_CIRCLE: {
            const int t = int(std::min(cw, ch) * 0.48);
            const int dx = cw / 2 - x, dy = ch / 2 - y;
            return t * t < dx * dx + dy * dy;
        }
        case MASK_RECTANGLE: {
            const int hw = int(cw * 0.3), hh = int(ch * 0.3);
            return std::abs(y - ch / 2) > hh || std::abs(x - cw / 2) > hw;
        }
        case MASK_LEFT:
            return x <= cw / 2 - 1;
        case MASK_TOP:
            return y <= ch / 2 - 1;
        default:
            return false;
        }
    }

private slots:
    void processWideLists()
    {
        QCOMPARE(EFFECT_ICON_NAMES, (QStringList{"COLOR", "BW", "NEGATIVE", "MOSAIC"}));
        QCOMPARE(EFFECT_LABELS, (QStringList{"Color", "B & W", "Negative", "Mosaic"}));
        QCOMPARE(EFFECT_VALUES, (QList<int>{0, 1, 2, 3}));
        QCOMPARE(MASK_ICON_NAMES, (QStringList{"", "CIRCLE", "RECTANGLE", "LEFT", "TOP"}));
        QCOMPARE(MASK_VALUES, (QList<int>{0, 1, 2, 3, 4}));
        QCOMPARE(int(TOOL_HAND), 0);
        QCOMPARE(int(TOOL_TEXT), 9);
    }

    void redUnderBlackAndWhite_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("3-byte red") << int(QImage::Format_RGB888) << QByteArray("\xff\x00\x00", 3)
                                    << QByteArray("\x4f\x4f\x4f", 3);
        QTest::newRow("4-byte red") << int(QImage::Format_ARGB32) << QByteArray("\x00\x00\xff\xff", 4)
                                    << QByteArray("\x1f\x1f\x1f\xff", 4);
        QTest::newRow("4-byte alpha kept") << int(QImage::Format_ARGB32) << QByteArray("\x10\x20\x30\x40", 4)
                                           << QByteArray("\x1d\x1d\x1d\x40", 4);
    }
    void redUnderBlackAndWhite()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        QImage img(3, 2, QImage::Format(format));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                memcpy(img.scanLine(y) + x * in.size(), in.constData(), size_t(in.size()));
        ImageEffects::applyEffect(img, EFFECT_BW);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(QByteArray(reinterpret_cast<const char *>(px(img, x, y)), out.size()), out);
    }

    void effectsMatchTheRules_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("effect");
        QTest::addColumn<QSize>("size");
        const QList<QPair<const char *, int>> formats{{"bgra", QImage::Format_ARGB32},
                                                      {"rgb", QImage::Format_RGB888}};
        for (const auto &f : formats) {
            for (int effect :
                 {int(EFFECT_COLOR), int(EFFECT_BW), int(EFFECT_NEGATIVE), int(EFFECT_MOSAIC), 17}) {
                // Rows of many eight-pixel runs with a narrower block at their end.
                for (QSize size : {QSize(10, 10), QSize(33, 17), QSize(1, 1), QSize(7, 9), QSize(131, 21)}) {
                    QTest::addRow("%s effect %d %dx%d", f.first, effect, size.width(), size.height())
                        << f.second << effect << size;
                }
            }
        }
    }
    void effectsMatchTheRules()
    {
        QFETCH(int, format);
        QFETCH(int, effect);
        QFETCH(QSize, size);
        const QImage in = noise(size.width(), size.height(), QImage::Format(format), 7);
        QImage out = in;
        ImageEffects::applyEffect(out, effect);
        if (ImageEffects::changesPicture(effect)) {
            // Into a picture of its own: the same bytes.
            QImage other(in.size(), in.format());
            ImageEffects::applyEffect(in, other, effect);
            QCOMPARE(other, out);
        }
        const int n = bpp(in);
        for (int y = 0; y < in.height(); ++y) {
            for (int x = 0; x < in.width(); ++x) {
                const uchar *a = px(in, x, y);
                const uchar *b = px(out, x, y);
                int want[3] = {a[0], a[1], a[2]};
                if (effect == EFFECT_BW) {
                    const int g = (5 * a[0] + 9 * a[1] + 2 * a[2]) >> 4;
                    want[0] = want[1] = want[2] = g;
                } else if (effect == EFFECT_NEGATIVE) {
                    for (int &v : want)
                        v = 255 - v;
                } else if (effect == EFFECT_MOSAIC) {
                    const int bx = x / 8 * 8, by = y / 8 * 8;
                    const int bw = std::min(8, in.width() - bx), bh = std::min(8, in.height() - by);
                    for (int c = 0; c < 3; ++c) {
                        int sum = 0;
                        for (int yy = by; yy < by + bh; ++yy)
                            for (int xx = bx; xx < bx + bw; ++xx)
                                sum += px(in, xx, yy)[c];
                        want[c] = sum / (bw * bh);
                    }
                }
                for (int c = 0; c < 3; ++c)
                    QCOMPARE(int(b[c]), want[c]);
                if (n == 4)
                    QCOMPARE(b[3], a[3]);
            }
        }
    }

    void mosaicOfTenByTenHasFourFlatBlocks()
    {
        QImage img = noise(10, 10, QImage::Format_RGB888, 3);
        ImageEffects::applyEffect(img, EFFECT_MOSAIC);
        const QList<QRect> blocks{QRect(0, 0, 8, 8), QRect(8, 0, 2, 8), QRect(0, 8, 8, 2), QRect(8, 8, 2, 2)};
        QSet<QByteArray> colours;
        for (const QRect &r : blocks) {
            const QByteArray first(reinterpret_cast<const char *>(px(img, r.x(), r.y())), 3);
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    QCOMPARE(QByteArray(reinterpret_cast<const char *>(px(img, x, y)), 3), first);
            colours.insert(first);
        }
        QCOMPARE(colours.size(), 4);
    }

    void maskEdges_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("black");
        const QSize hd(1280, 720);
        QTest::newRow("circle top edge visible") << int(MASK_CIRCLE) << hd << QPoint(640, 15) << false;
        QTest::newRow("circle above edge black") << int(MASK_CIRCLE) << hd << QPoint(640, 14) << true;
        QTest::newRow("circle right edge visible") << int(MASK_CIRCLE) << hd << QPoint(985, 360) << false;
        QTest::newRow("circle past right edge") << int(MASK_CIRCLE) << hd << QPoint(986, 360) << true;
        QTest::newRow("circle corner") << int(MASK_CIRCLE) << hd << QPoint(0, 0) << true;
        QTest::newRow("rect left edge") << int(MASK_RECTANGLE) << hd << QPoint(256, 300) << false;
        QTest::newRow("rect left of edge") << int(MASK_RECTANGLE) << hd << QPoint(255, 300) << true;
        QTest::newRow("rect right edge") << int(MASK_RECTANGLE) << hd << QPoint(1024, 300) << false;
        QTest::newRow("rect right of edge") << int(MASK_RECTANGLE) << hd << QPoint(1025, 300) << true;
        QTest::newRow("rect top edge") << int(MASK_RECTANGLE) << hd << QPoint(640, 144) << false;
        QTest::newRow("rect above top") << int(MASK_RECTANGLE) << hd << QPoint(640, 143) << true;
        QTest::newRow("rect bottom edge") << int(MASK_RECTANGLE) << hd << QPoint(640, 576) << false;
        QTest::newRow("rect below bottom") << int(MASK_RECTANGLE) << hd << QPoint(640, 577) << true;
        QTest::newRow("left odd width last covered")
            << int(MASK_LEFT) << QSize(1279, 720) << QPoint(638, 5) << true;
        QTest::newRow("left odd width first open")
            << int(MASK_LEFT) << QSize(1279, 720) << QPoint(639, 5) << false;
        QTest::newRow("top last covered") << int(MASK_TOP) << QSize(100, 51) << QPoint(99, 24) << true;
        QTest::newRow("top first open") << int(MASK_TOP) << QSize(100, 51) << QPoint(0, 25) << false;
        QTest::newRow("none") << int(MASK_NONE) << hd << QPoint(0, 0) << false;
    }
    void maskEdges()
    {
        QFETCH(int, mask);
        QFETCH(QSize, size);
        QFETCH(QPoint, point);
        QFETCH(bool, black);
        QImage img(size, QImage::Format_RGB888);
        img.fill(QColor(200, 150, 100));
        ImageEffects::applyMask(img, mask);
        QCOMPARE(img.pixelColor(point) == QColor(0, 0, 0), black);
    }

    void masksMatchTheRules_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QSize>("size");
        for (int format : {int(QImage::Format_ARGB32), int(QImage::Format_RGB888)})
            for (int mask : {1, 2, 3, 4, 9})
                for (QSize size : {QSize(64, 36), QSize(37, 53), QSize(1, 1), QSize(2, 3), QSize(131, 97)})
                    QTest::addRow("format %d mask %d %dx%d", format, mask, size.width(), size.height())
                        << format << mask << size;
    }
    void masksMatchTheRules()
    {
        QFETCH(int, format);
        QFETCH(int, mask);
        QFETCH(QSize, size);
        const QImage in = noise(size.width(), size.height(), QImage::Format(format), 11);
        QImage out = in;
        ImageEffects::applyMask(out, mask);
        if (ImageEffects::masks(mask)) {
            QImage other(in.size(), in.format());
            ImageEffects::applyMask(in, other, mask);
            QCOMPARE(other, out);
        }
        // The half masks are painter fills of opaque black.
        QImage painted = in;
        if (mask == MASK_LEFT || mask == MASK_TOP) {
            QPainter p(&painted);
            p.fillRect(mask == MASK_LEFT
                           ? QRect(QPoint(0, 0), QPoint(size.width() / 2 - 1, size.height() - 1))
                           : QRect(QPoint(0, 0), QPoint(size.width() - 1, size.height() / 2 - 1)),
                       QColor(0, 0, 0));
        }
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const uchar *a = px(in, x, y);
                const uchar *b = px(out, x, y);
                if (mask == MASK_LEFT || mask == MASK_TOP) {
                    QCOMPARE(QByteArray(reinterpret_cast<const char *>(b), bpp(in)),
                             QByteArray(reinterpret_cast<const char *>(px(painted, x, y)), bpp(in)));
                    continue;
                }
                const bool black = maskedBlack(mask, x, y, size.width(), size.height());
                for (int c = 0; c < 3; ++c)
                    QCOMPARE(int(b[c]), black ? 0 : int(a[c]));
                if (bpp(in) == 4)
                    QCOMPARE(b[3], a[3]);
            }
        }
    }

    void otherFormatsUntouched()
    {
        QImage img(8, 8, QImage::Format_Grayscale8);
        img.fill(128);
        const QImage before = img;
        ImageEffects::applyEffect(img, EFFECT_NEGATIVE);
        ImageEffects::applyMask(img, MASK_CIRCLE);
        QCOMPARE(img, before);
        QImage none;
        ImageEffects::applyEffect(none, EFFECT_MOSAIC);
        ImageEffects::applyMask(none, MASK_TOP);
        QVERIFY(none.isNull());
    }
};

QTEST_MAIN(TestImageEffects)
#include "tst_imageeffects.moc"
