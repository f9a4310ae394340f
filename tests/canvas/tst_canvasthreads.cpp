#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"

#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

// The capture thread and the GUI thread at full speed on one canvas: a streaming thread
// pushes frames as fast as it can while the event loop processes the queued ones and the
// user turns, zooms, pans and changes effects and masks. Every frame is one flat grey level,
// so a frame put together from two frames shows as two levels.
class TestCanvasThreads : public QObject
{
    Q_OBJECT
private:
    // Colour bytes of every non-black pixel; more than one value means a torn frame. Black
    // comes from masks and letterbox bars; the grey levels fed are never black.
    static QSet<quint32> levels(const uchar *data, int w, int h, bool alpha)
    {
        QSet<quint32> seen;
        const int bpp = alpha ? 4 : 3;
        for (int i = 0; i < w * h; ++i) {
            const uchar *p = data + size_t(i) * bpp;
            const quint32 v = quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16;
            if (v != 0)
                seen.insert(v);
        }
        return seen;
    }

private slots:
    void streamingWhileTheViewChanges_data()
    {
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("flip");
        QTest::addColumn<bool>("sizeChanges");
        QTest::newRow("bgra top-down") << true << false << false;
        QTest::newRow("bgra bottom-up with size changes") << true << true << true;
        QTest::newRow("rgb with size changes") << false << false << true;
    }
    void streamingWhileTheViewChanges()
    {
        QFETCH(bool, alpha);
        QFETCH(bool, flip);
        QFETCH(bool, sizeChanges);
        constexpr int FRAMES = 600;
        ImageCanvas canvas;
        canvas.resize(320, 240);
        canvas.show();

        std::atomic<bool> done{false};
        std::atomic<int> tornReturned{0};
        std::thread capture([&] {
            const int bpp = alpha ? 4 : 3;
            std::vector<uchar> frame;
            for (int n = 0; n < FRAMES; ++n) {
                const bool tall = sizeChanges && (n / 50) % 2 == 1;
                const int w = tall ? 90 : 160, h = tall ? 160 : 90;
                const uchar level = uchar(16 + n % 200);
                frame.assign(size_t(w) * h * bpp, level);
                canvas.pipeline()->streamImageCaptured(frame.data(), w, h, flip, alpha);
                if (levels(frame.data(), w, h, alpha).size() > 1)
                    ++tornReturned;
            }
            done = true;
        });

        int step = 0;
        int tornShown = 0;
        int checked = 0;
        QTimer user;
        user.setInterval(0);
        connect(&user, &QTimer::timeout, &canvas, [&] {
            switch (step++ % 9) {
            case 0:
                canvas.zoomIn();
                break;
            case 1:
                canvas.rotateClockwise();
                break;
            case 2:
                canvas.pipeline()->setViewOffset(step * 7 % 300, step * 3 % 200);
                break;
            case 3:
                canvas.pipeline()->setEffect(step % 4);
                break;
            case 4:
                canvas.pipeline()->setMask(step % 5);
                break;
            case 5:
                canvas.zoomOut();
                break;
            case 6:
                canvas.rotateCounterClockwise();
                break;
            case 7:
                canvas.pipeline()->setFreeze(step % 2 == 0);
                break;
            case 8:
                canvas.repaint();
                break;
            }
            const QImage out = canvas.pipeline()->outputImage();
            // Until the first frame is processed the canvas shows its start picture.
            if (out.size() == QSize(160, 90) || out.size() == QSize(90, 160)) {
                const QImage packed = out.convertToFormat(QImage::Format_RGB888);
                QSet<quint32> seen;
                for (int y = 0; y < packed.height(); ++y) {
                    const QSet<quint32> row = levels(packed.constScanLine(y), packed.width(), 1, false);
                    seen.unite(row);
                }
                tornShown += seen.size() > 1 ? 1 : 0;
                ++checked;
            }
        });
        user.start();
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 240000);
        user.stop();
        capture.join();
        QCoreApplication::processEvents();

        QCOMPARE(tornReturned.load(), 0);
        QCOMPARE(tornShown, 0);
        QVERIFY(checked > 0);
    }
};

QTEST_MAIN(TestCanvasThreads)
#include "tst_canvasthreads.moc"
