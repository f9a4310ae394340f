#include "CanvasFrames.h"
#include "canvas/ImageCanvas.h"
#include "common/FrameArrival.h"

#include <QPalette>
#include <QtTest>

#include <thread>

using namespace CanvasFrames;

// What the canvas widget adds to its frame pipeline: painting the processed picture scaled into
// the widget, between bars, with its border, and timing the paints that show camera frames.
class TestImageCanvas : public QObject
{
    Q_OBJECT
private slots:
    void painting_data()
    {
        QTest::addColumn<bool>("board");
        QTest::addColumn<bool>("live");
        QTest::addColumn<int>("turns");
        QTest::newRow("canvas, still") << false << false << 0;
        QTest::newRow("drawing board, still") << true << false << 0;
        // Camera frames come as 4-byte pixels whose fourth byte the decoder leaves undefined.
        QTest::newRow("canvas, camera frame") << false << true << 0;
        QTest::newRow("canvas, camera frame turned between bars") << false << true << 1;
    }
    void painting()
    {
        QFETCH(bool, board);
        QFETCH(bool, live);
        QFETCH(int, turns);
        QWidget window;
        window.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(10, 200, 10));
        window.setPalette(palette);
        ImageCanvas canvas(&window);
        canvas.setBoard(board);
        canvas.setGeometry(0, 0, 400, 400);
        for (int i = 0; i < turns; ++i)
            canvas.rotateClockwise();
        QImage still(200, 100, live ? QImage::Format_ARGB32 : QImage::Format_RGB888);
        still.fill(QColor(250, 250, 0));
        std::vector<uchar> frame = raw(still, false);
        if (live)
            feed(*canvas.pipeline(), frame, 200, 100, false, true);
        else
            canvas.pipeline()->stillImageCaptured(&still);
        window.resize(400, 400);
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.pixelColor(1, 1), QColor("#484848"));
        QCOMPARE(shot.pixelColor(398, 200), QColor("#484848"));
        QCOMPARE(shot.pixelColor(200, 200), QColor(250, 250, 0)); // picture centred, 400 x 200
        QCOMPARE(shot.pixelColor(200, 60), board ? QColor(10, 200, 10) : QColor(Qt::black));
        // Turned, the picture stands 50 wide between black bars of the frame.
        QCOMPARE(shot.pixelColor(140, 200), turns ? QColor(Qt::black) : QColor(250, 250, 0));
        QCOMPARE(canvas.pipeline()->outputImage().size(), QSize(200, 100)); // the widget only scales
    }

    void frameTimingReportsEachShownFrameOnce()
    {
        ImageCanvas canvas;
        canvas.resize(200, 200);
        QVector<QPair<qint64, qint64>> reports;
        canvas.pipeline()->setFrameTimingObserver([&reports](const FramePaintTiming::Report &report) {
            reports.append({report.arrivalNs, report.paintedNs});
        });
        const qint64 start = FramePaintTiming::nowNs();
        std::vector<uchar> fa = raw(picture(64, 48, true, 1), false),
                           fb = raw(picture(64, 48, true, 2), false);
        std::vector<uchar> fc = raw(picture(64, 48, true, 3), false);

        feed(*canvas.pipeline(), fa, 64, 48, false, true); // processed at once
        canvas.grab();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].first >= start);
        QVERIFY(reports[0].second >= reports[0].first);
        canvas.grab(); // the same frame again: already reported
        QCOMPARE(reports.size(), 1);

        feed(*canvas.pipeline(), fb, 64, 48, false, true); // queued
        const qint64 queuedAt = FramePaintTiming::nowNs();
        processQueued();
        canvas.grab();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports[1].first <= queuedAt); // stamped on arrival, not when processed

        canvas.pipeline()->fillStill(Qt::red); // a still picture is no camera frame
        canvas.grab();
        QCOMPARE(reports.size(), 2);

        canvas.pipeline()->setFrameTimingObserver({});
        feed(*canvas.pipeline(), fc, 64, 48, false, true);
        processQueued();
        canvas.grab();
        QCOMPARE(reports.size(), 2);
    }

    // A frame stamped by its decoder on the streaming thread, before the canvas takes it on the
    // same thread, reports that stamp too; decoders stamp only while someone measures.
    void frameTimingCarriesTheDecoderStamp()
    {
        ImageCanvas canvas;
        canvas.resize(200, 200);
        QVector<FramePaintTiming::Report> reports;
        QVERIFY(!FrameArrival::measuring());
        canvas.pipeline()->setFrameTimingObserver(
            [&reports](const FramePaintTiming::Report &report) { reports.append(report); });
        QVERIFY(FrameArrival::measuring());
        auto handOver = [&](std::vector<uchar> &frame, bool stamped) {
            std::thread streaming([&] {
                if (stamped)
                    FrameArrival::stampEntry();
                canvas.pipeline()->streamImageCaptured(frame.data(), 64, 48, false, true);
            });
            streaming.join();
            processQueued();
            canvas.grab();
        };
        std::vector<uchar> fa = raw(picture(64, 48, true, 1), false),
                           fb = raw(picture(64, 48, true, 2), false);
        const qint64 start = FrameArrival::nowNs();
        handOver(fa, true);
        handOver(fb, false);
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports[0].decoderNs >= start);
        QVERIFY(reports[0].decoderNs <= reports[0].arrivalNs);
        QVERIFY(reports[0].arrivalNs <= reports[0].paintedNs);
        QCOMPARE(reports[1].decoderNs, qint64(0));
        QVERIFY(reports[1].arrivalNs > 0);
        canvas.pipeline()->setFrameTimingObserver({});
        QVERIFY(!FrameArrival::measuring());
    }
};

QTEST_MAIN(TestImageCanvas)
#include "tst_imagecanvas.moc"
