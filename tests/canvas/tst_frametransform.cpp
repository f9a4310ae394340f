#include "canvas/FrameTransform.h"

#include <QRandomGenerator>
#include <QTransform>
#include <QtTest>

// The canvas's own quarter turns and nearest-neighbour scaling must give the toolkit's
// results byte for byte, on both pixel layouts and across the sizes the view produces
// (upscaling by whole and odd factors, the best-fit downscale, sizes past 2048 pixels).
class TestFrameTransform : public QObject
{
    Q_OBJECT
private:
    static QImage noise(int w, int h, QImage::Format format, quint32 seed)
    {
        QImage img(w, h, format);
        QRandomGenerator rng(seed);
        for (int y = 0; y < h; ++y) {
            uchar *row = img.scanLine(y);
            for (int i = 0; i < img.bytesPerLine(); ++i)
                row[i] = uchar(rng.bounded(256));
            if (format == QImage::Format_ARGB32)
                for (int x = 0; x < w; ++x)
                    row[x * 4 + 3] = 255;
        }
        return img;
    }

private slots:
    void scaleMatchesToolkit_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("target");
        const QList<QPair<QSize, QSize>> cases{
            {QSize(640, 360), QSize(1280, 720)},    // zoom 2
            {QSize(426, 240), QSize(1280, 720)},    // zoom 3 (letterboxed)
            {QSize(213, 120), QSize(1280, 720)},    // zoom 6
            {QSize(720, 1280), QSize(1280, 720)},   // best fit after a quarter turn
            {QSize(1088, 816), QSize(3264, 2448)},  // zoom 3 at the largest size
            {QSize(2448, 3264), QSize(3264, 2448)}, // quarter turn at the largest size
            {QSize(1, 1), QSize(7, 5)},
            {QSize(333, 77), QSize(2900, 17)},
            {QSize(2500, 3), QSize(31, 400)},
            // Whole factors with rows that do not end on a full step of the fast path.
            {QSize(97, 13), QSize(194, 26)},
            {QSize(333, 20), QSize(999, 60)},
            {QSize(37, 11), QSize(222, 66)},
            {QSize(650, 9), QSize(3250, 45)},
            {QSize(700, 10), QSize(2800, 40)}, // past a restart of the column steps
        };
        for (int format : {int(QImage::Format_ARGB32), int(QImage::Format_RGB888)})
            for (const auto &c : cases)
                QTest::addRow("%s %dx%d to %dx%d", format == QImage::Format_RGB888 ? "rgb" : "bgra",
                              c.first.width(), c.first.height(), c.second.width(), c.second.height())
                    << format << c.first << c.second;
    }
    void scaleMatchesToolkit()
    {
        QFETCH(int, format);
        QFETCH(QSize, source);
        QFETCH(QSize, target);
        const QImage in = noise(source.width(), source.height(), QImage::Format(format), 3);
        QImage out(5, 5, QImage::Format(format)); // reused buffer of the wrong size
        FrameTransform::scale(in, target, out);
        const QImage want = in.scaled(target, Qt::KeepAspectRatio, Qt::FastTransformation);
        QCOMPARE(out.size(), want.size());
        QCOMPARE(out, want.convertToFormat(QImage::Format(format)));
    }

    void rotateMatchesToolkit_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("turns");
        QTest::addColumn<QSize>("size");
        for (int format : {int(QImage::Format_ARGB32), int(QImage::Format_RGB888)})
            for (int turns : {1, 2, 3})
                for (QSize size : {QSize(160, 90), QSize(1, 7), QSize(129, 65), QSize(67, 200)})
                    QTest::addRow("%s %d turns %dx%d", format == QImage::Format_RGB888 ? "rgb" : "bgra",
                                  turns, size.width(), size.height())
                        << format << turns << size;
    }
    void rotateMatchesToolkit()
    {
        QFETCH(int, format);
        QFETCH(int, turns);
        QFETCH(QSize, size);
        const QImage in = noise(size.width(), size.height(), QImage::Format(format), 4);
        QImage out;
        FrameTransform::rotate(in, turns, out);
        const QImage want = in.transformed(QTransform().rotate(90 * turns), Qt::FastTransformation);
        QCOMPARE(out, want.convertToFormat(QImage::Format(format)));
    }

    void turnedCutOutScaledInOnePass_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("turns");
        QTest::addColumn<QRect>("region");
        QTest::addColumn<QSize>("size");
        for (int format : {int(QImage::Format_ARGB32), int(QImage::Format_RGB888)})
            for (int turns : {0, 1, 2, 3}) {
                const bool odd = turns % 2;
                QTest::addRow("%d turns whole picture %d", turns, format)
                    << format << turns << QRect(0, 0, odd ? 90 : 160, odd ? 160 : 90)
                    << (odd ? QSize(160, 90) : QSize(320, 180));
                QTest::addRow("%d turns zoom 3 corner %d", turns, format)
                    << format << turns << QRect(odd ? 37 : 106, odd ? 130 : 60, 53, 30) << QSize(160, 90);
            }
    }
    void turnedCutOutScaledInOnePass()
    {
        QFETCH(int, format);
        QFETCH(int, turns);
        QFETCH(QRect, region);
        QFETCH(QSize, size);
        const QImage in = noise(160, 90, QImage::Format(format), 8);
        QImage direct;
        QVERIFY(FrameTransform::rotateScale(in, turns, region, size, direct));
        QImage cut, want;
        FrameTransform::rotateRegion(in, turns, region, cut);
        FrameTransform::scale(cut, size, want);
        QCOMPARE(direct, want);
    }

    // Scaled straight into the letterbox: the bytes of rotateScale() followed by letterbox(),
    // also when the placement changes from frame to frame in the same target and when someone
    // still holds the last result.
    void letterboxedScaleInOnePass_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("turns");
        for (int format : {int(QImage::Format_ARGB32), int(QImage::Format_RGB888)})
            for (int turns : {0, 1, 2, 3})
                QTest::addRow("%s %d turns", format == QImage::Format_RGB888 ? "rgb" : "bgra", turns)
                    << format << turns;
    }
    void letterboxedScaleInOnePass()
    {
        QFETCH(int, format);
        QFETCH(int, turns);
        const QImage in = noise(160, 90, QImage::Format(format), 9);
        const QSize frame(160, 90);
        const bool odd = turns % 2;
        const QRect regions[] = {QRect(0, 0, odd ? 90 : 160, odd ? 160 : 90), QRect(10, 20, 53, 30),
                                 QRect(5, 5, odd ? 50 : 40, odd ? 80 : 70),
                                 QRect(0, 0, odd ? 90 : 160, odd ? 160 : 90)};
        QImage target;
        QRect placed;
        QImage held;
        for (const QRect &region : regions) {
            const QSize size = region.size().scaled(frame, Qt::KeepAspectRatio);
            // A picture that needs no scaling is refused and left to letterbox() alone.
            const bool scales = size != region.size();
            QCOMPARE(FrameTransform::rotateScaleLetterboxed(in, turns, region, size, frame, target, placed),
                     scales);
            if (!scales)
                continue;
            QImage scaled, want;
            QVERIFY(FrameTransform::rotateScale(in, turns, region, size, scaled));
            FrameTransform::letterbox(scaled, frame, want);
            QCOMPARE(target, want);
            if (region.width() == 53)
                held = target; // shared: the next call must not write into it
        }
        QVERIFY(held.size() == frame);
    }

    void reusedBuffersAreNotShared()
    {
        // A work buffer someone still holds is left alone and replaced.
        const QImage in = noise(40, 30, QImage::Format_ARGB32, 5);
        QImage work;
        FrameTransform::rotate(in, 1, work);
        const QImage held = work;
        const QImage heldCopy = held.copy();
        FrameTransform::rotate(noise(40, 30, QImage::Format_ARGB32, 6), 1, work);
        QCOMPARE(held, heldCopy);
        QVERIFY(work != held);
    }

    void cutOutOutsideIsZero()
    {
        QImage in(10, 10, QImage::Format_ARGB32);
        in.fill(0xff112233u);
        QImage cut;
        FrameTransform::cutOut(in, QRect(6, -2, 8, 5), cut);
        QCOMPARE(cut.size(), QSize(8, 5));
        QCOMPARE(cut.pixel(0, 2), 0xff112233u);
        QCOMPARE(cut.pixel(0, 1), 0u);
        QCOMPARE(cut.pixel(4, 3), 0u);
        QCOMPARE(cut.pixel(3, 4), 0xff112233u);
    }
};

QTEST_APPLESS_MAIN(TestFrameTransform)
#include "tst_frametransform.moc"
