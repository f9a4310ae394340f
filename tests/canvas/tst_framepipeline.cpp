#include "CanvasFrames.h"
#include "MessageCapture.h"
#include "canvas/CanvasTypes.h"
#include "canvas/FramePipeline.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

#include <cstdlib>

using namespace CanvasFrames;

namespace {

// A pipeline whose slot allocations can be counted and made to fail, and whose snapshot step
// can run code in the middle of the processing.
class ProbePipeline : public FramePipeline
{
public:
    int allocations = 0;
    bool failAllocations = false;
    std::function<void()> duringProcessing;

protected:
    void *allocateFrameBlock(std::size_t bytes) override
    {
        if (failAllocations)
            return nullptr;
        ++allocations;
        return FramePipeline::allocateFrameBlock(bytes);
    }
    void writeSnapshot(const QImage &) override
    {
        if (duringProcessing)
            duringProcessing();
    }
};

struct Step
{
    QSize size;
    bool alpha;
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

// Frame intake, processing order and the view of one frame pipeline, fed as a media streaming
// thread would feed it, without any widget.
class TestFramePipeline : public QObject
{
    Q_OBJECT
private:
    static QImage expected(FramePipeline &pipeline, const QImage &upright, bool layerDirty = false)
    {
        return reference(upright, pipeline.view(), pipeline.annotationLayer(), layerDirty, pipeline.effect(),
                         pipeline.mask());
    }

private slots:
    void firstFrameIsProcessedSynchronously_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("flip");
        QTest::newRow("bgra top-down") << QSize(64, 48) << true << false;
        QTest::newRow("bgra bottom-up") << QSize(64, 48) << true << true;
        QTest::newRow("rgb top-down") << QSize(30, 20) << false << false;
        QTest::newRow("odd size") << QSize(33, 17) << true << false;
    }
    void firstFrameIsProcessedSynchronously()
    {
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        QFETCH(bool, flip);
        MessageCapture messages;
        FramePipeline pipeline;
        pipeline.setEffect(EFFECT_NEGATIVE);
        QSignalSpy queued(&pipeline, &FramePipeline::newFrameData);
        QSignalSpy arrived(&pipeline, &FramePipeline::streamFrameUpdate);
        const QImage upright = picture(size.width(), size.height(), alpha, 1);
        std::vector<uchar> frame = raw(upright, flip);
        feed(pipeline, frame, size.width(), size.height(), flip, alpha);

        QVERIFY(messages.contains(
            QString("streamImageCaptured(), reset szie %1x%2").arg(size.width()).arg(size.height())));
        QCOMPARE(queued.count(), 0);
        QCOMPARE(arrived.count(), 1);
        // Returned processed in the same call, in the caller's row order and layout.
        const QImage want = expected(pipeline, upright);
        QCOMPARE(fromRaw(frame.data(), size.width(), size.height(), alpha, flip), want);
        QCOMPARE(pipeline.outputImage().convertToFormat(layout(alpha)), want);
    }

    void framesWithoutPixelsAreIgnored()
    {
        FramePipeline pipeline;
        const QImage before = pipeline.outputImage(); // the start picture, when there is one
        pipeline.streamImageCaptured(nullptr, 64, 48, false, true);
        std::vector<uchar> none(16);
        pipeline.streamImageCaptured(none.data(), 0, 48, false, true);
        pipeline.streamImageCaptured(none.data(), -5, -5, false, false);
        pipeline.imageCaptured(none.data(), 0, 0, false, false);
        QImage null;
        pipeline.stillImageCaptured(&null);
        pipeline.stillImageCaptured(nullptr);
        QCOMPARE(pipeline.outputImage(), before);
    }

    void sizeAndLayoutChanges_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<int>>("resets");      // "reset szie" lines so far
        QTest::addColumn<QList<int>>("allocations"); // slot blocks allocated so far
        const QSize vga(64, 48), small(32, 24), big(128, 72);
        QTest::newRow("same size twice") << QList<Step>{{vga, true}, {vga, true}, {vga, true}}
                                         << QList<int>{1, 1, 1} << QList<int>{1, 2, 2};
        QTest::newRow("smaller reuses, larger reallocates")
            << QList<Step>{{vga, true}, {vga, true}, {small, true}, {small, true}, {big, true}, {big, true}}
            << QList<int>{1, 1, 2, 2, 3, 3} << QList<int>{1, 2, 2, 2, 3, 4};
        QTest::newRow("3-byte after 4-byte of the same size")
            << QList<Step>{{vga, true}, {vga, true}, {vga, false}, {vga, false}, {vga, true}}
            << QList<int>{1, 1, 2, 2, 3} << QList<int>{1, 2, 2, 2, 2};
    }
    void sizeAndLayoutChanges()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QList<int>, resets);
        QFETCH(QList<int>, allocations);
        MessageCapture messages;
        ProbePipeline pipeline;
        for (int i = 0; i < steps.size(); ++i) {
            const Step &s = steps.at(i);
            const QImage upright = picture(s.size.width(), s.size.height(), s.alpha, quint32(i));
            std::vector<uchar> frame = raw(upright, false);
            feed(pipeline, frame, s.size.width(), s.size.height(), false, s.alpha);
            processQueued();
            QCOMPARE(messages.count("streamImageCaptured(), reset szie "), resets.at(i));
            QCOMPARE(pipeline.allocations, allocations.at(i));
            // Whichever path it took, this frame is the one now shown.
            QCOMPARE(pipeline.outputImage().convertToFormat(layout(s.alpha)), upright);
            QCOMPARE(pipeline.view().frameSize(), s.size);
        }
    }

    void newFrameSizeScalesTheLayer()
    {
        FramePipeline pipeline;
        std::vector<uchar> a = raw(picture(64, 48, true, 1), false);
        feed(pipeline, a, 64, 48, false, true);
        pipeline.drawOnLayer([](QPainter &p) { p.fillRect(0, 0, 10, 10, Qt::red); });
        QCOMPARE(pipeline.annotationLayer().pixelColor(5, 5), QColor(Qt::red));
        // Same size: the drawing stays and shows.
        std::vector<uchar> b = raw(picture(64, 48, true, 2), false);
        feed(pipeline, b, 64, 48, false, true);
        processQueued();
        QCOMPARE(pipeline.outputImage().pixelColor(5, 5), QColor(Qt::red));
        // Another size: the drawing stays, scaled to the new size, and shows.
        std::vector<uchar> c = raw(picture(40, 30, true, 3), false);
        feed(pipeline, c, 40, 30, false, true);
        const QImage layer = pipeline.annotationLayer();
        QCOMPARE(layer.size(), QSize(40, 30));
        QCOMPARE(layer.pixelColor(3, 3), QColor(Qt::red));
        QCOMPARE(layer.pixelColor(12, 12).alpha(), 0);
        QCOMPARE(pipeline.outputImage().pixelColor(3, 3), QColor(Qt::red));
        QCOMPARE(pipeline.outputImage().pixelColor(20, 20), picture(40, 30, true, 3).pixelColor(20, 20));
    }

    void secondFrameBeforeProcessingGetsPreviousBack()
    {
        MessageCapture messages;
        FramePipeline pipeline;
        pipeline.setEffect(EFFECT_NEGATIVE);
        QSignalSpy queued(&pipeline, &FramePipeline::newFrameData);
        const QImage a = picture(64, 48, true, 1), b = picture(64, 48, true, 2), c = picture(64, 48, true, 3);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, false), fc = raw(c, false), fd = raw(a, false);
        feed(pipeline, fa, 64, 48, false, true);
        const QImage aOut = expected(pipeline, a);

        feed(pipeline, fb, 64, 48, false, true); // queued; the caller gets A back processed
        QCOMPARE(queued.count(), 1);
        QCOMPARE(fromRaw(fb.data(), 64, 48, true, false), aOut);
        feed(pipeline, fc, 64, 48, false, true); // B still pending: C is dropped
        QCOMPARE(queued.count(), 1);
        QCOMPARE(fromRaw(fc.data(), 64, 48, true, false), aOut);
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32), aOut);

        processQueued();
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32), expected(pipeline, b));
        feed(pipeline, fd, 64, 48, false, true);
        QCOMPARE(fromRaw(fd.data(), 64, 48, true, false), expected(pipeline, b));
        QCOMPARE(messages.count("streamImageCaptured(), reset szie "), 1);
    }

    void frameWithOtherFlipIsQueued()
    {
        MessageCapture messages;
        FramePipeline pipeline;
        const QImage a = picture(64, 48, true, 1), b = picture(64, 48, true, 2);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, true);
        feed(pipeline, fa, 64, 48, false, true);
        feed(pipeline, fb, 64, 48, true, true);
        processQueued();
        QCOMPARE(messages.count("streamImageCaptured(), reset szie "), 1);
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32), b);
    }

    void busyProcessingReturnsAtOnce()
    {
        MessageCapture messages;
        ProbePipeline pipeline;
        std::vector<uchar> fa = raw(picture(32, 24, true, 1), false),
                           fb = raw(picture(32, 24, true, 2), false);
        feed(pipeline, fa, 32, 24, false, true);
        pipeline.duringProcessing = [&pipeline] { pipeline.precessFrameData(); };
        feed(pipeline, fb, 32, 24, false, true);
        processQueued();
        QVERIFY(messages.contains("FPS_BUSY == frameProcessState"));
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32), picture(32, 24, true, 2));
    }

    void staleQueuedFrameIsNotProcessed()
    {
        // A frame queued just before a size change is superseded by the synchronous path.
        FramePipeline pipeline;
        std::vector<uchar> fa = raw(picture(32, 24, true, 1), false),
                           fb = raw(picture(32, 24, true, 2), false);
        std::vector<uchar> fc = raw(picture(20, 10, true, 3), false);
        feed(pipeline, fa, 32, 24, false, true);
        feed(pipeline, fb, 32, 24, false, true);
        feed(pipeline, fc, 20, 10, false, true);
        processQueued();
        QCOMPARE(pipeline.view().frameSize(), QSize(20, 10));
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32), picture(20, 10, true, 3));
    }

    void freeze_data()
    {
        QTest::addColumn<QSize>("secondSize");
        QTest::addColumn<int>("effectAfterFreeze");
        QTest::addColumn<bool>("showsFirst");
        QTest::newRow("same size repeats the frozen picture") << QSize(64, 48) << int(EFFECT_COLOR) << true;
        QTest::newRow("frozen picture takes a new effect") << QSize(64, 48) << int(EFFECT_BW) << true;
        QTest::newRow("another size replaces it") << QSize(48, 64) << int(EFFECT_COLOR) << false;
    }
    void freeze()
    {
        QFETCH(QSize, secondSize);
        QFETCH(int, effectAfterFreeze);
        QFETCH(bool, showsFirst);
        FramePipeline pipeline;
        const QImage a = picture(64, 48, true, 1);
        const QImage b = picture(secondSize.width(), secondSize.height(), true, 2);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, false);
        feed(pipeline, fa, 64, 48, false, true);
        pipeline.setFreeze(true);
        pipeline.setEffect(effectAfterFreeze);
        pipeline.zoomIn();
        feed(pipeline, fb, secondSize.width(), secondSize.height(), false, true);
        processQueued();
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32),
                 expected(pipeline, showsFirst ? a : b));
        // And once more, through the refresh of the last picture.
        pipeline.autoRefresh();
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32),
                 expected(pipeline, showsFirst ? a : b));
    }

    void stillPicturesAreProcessedAsThreeBytePixels()
    {
        FramePipeline pipeline;
        QImage still = picture(40, 30, true, 5);
        const QImage before = still;
        pipeline.stillImageCaptured(&still);
        QCOMPARE(still, before);
        const QImage out = pipeline.outputImage();
        QCOMPARE(out.format(), QImage::Format_RGB888);
        QCOMPARE(out, before.convertToFormat(QImage::Format_RGB888));
    }

    void refreshShowsNewSettingsOnAStill()
    {
        FramePipeline pipeline;
        pipeline.fillStill(Qt::white);
        QCOMPARE(pipeline.outputImage().size(),
                 QSize(FramePipeline::STILL_WIDTH, FramePipeline::STILL_HEIGHT));
        QCOMPARE(pipeline.outputImage().pixelColor(10, 10), QColor(Qt::white));
        pipeline.setEffect(EFFECT_NEGATIVE);
        QSignalSpy repaints(&pipeline, &FramePipeline::updateFromWorker);
        pipeline.startAutoRefresh();
        QTRY_VERIFY_WITH_TIMEOUT(repaints.count() >= 2, 5000);
        pipeline.stopAutoRefresh();
        QCOMPARE(pipeline.outputImage().pixelColor(10, 10), QColor(Qt::black));
    }

    void idleRefreshOfAStillProcessesNothing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("effect") << "effect";
        QTest::newRow("mask") << "mask";
        QTest::newRow("zoom") << "zoom";
        QTest::newRow("rotation") << "rotation";
        QTest::newRow("new still") << "still";
    }
    void idleRefreshOfAStillProcessesNothing()
    {
        QFETCH(QString, change);
        FramePipeline pipeline;
        pipeline.fillStill(Qt::white);
        QSignalSpy repaints(&pipeline, &FramePipeline::updateFromWorker);
        pipeline.startAutoRefresh();
        // The first refresh may still find the picture unprocessed; from then on, nothing changes.
        QTRY_VERIFY_WITH_TIMEOUT(repaints.count() >= 2, 5000);
        const quint64 processed = pipeline.processedCount();
        const quint64 skipped = pipeline.skippedRefreshCount();
        QTRY_VERIFY_WITH_TIMEOUT(pipeline.skippedRefreshCount() >= skipped + 3, 5000);
        QCOMPARE(pipeline.processedCount(), processed); // the repaints went on without processing

        if (change == "effect")
            pipeline.setEffect(EFFECT_NEGATIVE);
        else if (change == "mask")
            pipeline.setMask(MASK_CIRCLE);
        else if (change == "zoom")
            pipeline.zoomIn();
        else if (change == "rotation")
            pipeline.rotateClockwise();
        else
            pipeline.fillStill(Qt::gray);
        QTRY_VERIFY_WITH_TIMEOUT(pipeline.processedCount() > processed, 5000);
        const quint64 after = pipeline.processedCount();
        const quint64 skippedAfter = pipeline.skippedRefreshCount();
        QTRY_VERIFY_WITH_TIMEOUT(pipeline.skippedRefreshCount() >= skippedAfter + 3, 5000);
        QCOMPARE(pipeline.processedCount(), after);
        pipeline.stopAutoRefresh();
        if (change == "effect")
            QCOMPARE(pipeline.outputImage().pixelColor(10, 10), QColor(Qt::black));
    }

    void pictureComesOutUpright_data()
    {
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("flip");
        QTest::newRow("top-down frames, flip false") << true << false;
        QTest::newRow("bottom-up frames, flip true") << true << true;
        QTest::newRow("3-byte top-down") << false << false;
        QTest::newRow("3-byte bottom-up") << false << true;
    }
    void pictureComesOutUpright()
    {
        QFETCH(bool, alpha);
        QFETCH(bool, flip);
        FramePipeline pipeline;
        pipeline.setMask(MASK_TOP); // visibly asymmetric: the top half turns black
        QImage upright(64, 48, layout(alpha));
        upright.fill(QColor(200, 30, 30));
        std::vector<uchar> a = raw(upright, flip), b = raw(upright, flip);
        feed(pipeline, a, 64, 48, flip, alpha);
        feed(pipeline, b, 64, 48, flip, alpha);
        processQueued();
        const QImage out = pipeline.outputImage();
        QCOMPARE(out.pixelColor(10, 5), QColor(Qt::black));
        QCOMPARE(out.pixelColor(10, 40), QColor(200, 30, 30));
        // The caller gets its own row order back.
        const QImage back = fromRaw(b.data(), 64, 48, alpha, flip);
        QCOMPARE(back.pixelColor(10, 5), QColor(Qt::black));
        QCOMPARE(back.pixelColor(10, 40), QColor(200, 30, 30));
    }

    // Every state against the step-by-step reading of the processing, on both layouts and
    // both row orders: the work the canvas skips must not change a single byte.
    void processingIsBitExact_data()
    {
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("flip");
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("zoomIns");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("drawing");
        struct State
        {
            const char *name;
            int turns, zoomIns;
            QPoint offset;
            int effect, mask;
            bool drawing;
        };
        const State states[] = {
            {"plain", 0, 0, {}, 0, 0, false},
            {"quarter turn best fit", 1, 0, {}, 0, 0, false},
            {"half turn", 2, 0, {}, 0, 0, false},
            {"three quarter turns", 3, 0, {}, 0, 0, false},
            {"zoom 2 panned", 0, 1, {333, 77}, 0, 0, false},
            {"zoom 3 letterboxed", 0, 2, {100, 50}, 0, 0, false},
            {"zoom 6 far corner", 0, 5, {99999, 99999}, 0, 0, false},
            {"quarter turn zoom 2", 1, 2, {40, 500}, 0, 0, false},
            {"bw", 0, 0, {}, EFFECT_BW, 0, false},
            {"negative", 0, 0, {}, EFFECT_NEGATIVE, 0, false},
            {"mosaic", 0, 0, {}, EFFECT_MOSAIC, 0, false},
            {"circle", 0, 0, {}, 0, MASK_CIRCLE, false},
            {"rectangle", 0, 0, {}, 0, MASK_RECTANGLE, false},
            {"left", 0, 0, {}, 0, MASK_LEFT, false},
            {"top zoom 2", 0, 1, {10, 10}, 0, MASK_TOP, false},
            {"drawing", 0, 0, {}, 0, 0, true},
            {"drawing zoom 2 panned", 0, 1, {250, 60}, 0, 0, true},
            {"drawing quarter turn zoom 2 negative", 1, 2, {70, 300}, EFFECT_NEGATIVE, 0, true},
            {"drawing three turns zoom 3", 3, 3, {99999, 0}, EFFECT_BW, MASK_CIRCLE, true},
            {"mosaic quarter turn zoom 2", 1, 2, {10, 10}, EFFECT_MOSAIC, MASK_LEFT, false},
            {"half turn zoom 4 bw", 2, 3, {400, 100}, EFFECT_BW, 0, false},
            {"all at once", 1, 3, {60, 200}, EFFECT_BW, MASK_RECTANGLE, true},
            {"circle at best fit", 1, 0, {}, EFFECT_MOSAIC, MASK_CIRCLE, true},
        };
        for (const State &s : states)
            for (bool alpha : {true, false})
                for (bool flip : {false, true})
                    QTest::addRow("%s %s%s", s.name, alpha ? "bgra" : "rgb", flip ? " bottom-up" : "")
                        << alpha << flip << s.turns << s.zoomIns << s.offset << s.effect << s.mask
                        << s.drawing;
    }
    void processingIsBitExact()
    {
        QFETCH(bool, alpha);
        QFETCH(bool, flip);
        QFETCH(int, turns);
        QFETCH(int, zoomIns);
        QFETCH(QPoint, offset);
        QFETCH(int, effect);
        QFETCH(int, mask);
        QFETCH(bool, drawing);
        const int w = 160, h = 90;
        FramePipeline pipeline;
        std::vector<uchar> first = raw(picture(w, h, alpha, 1), flip);
        feed(pipeline, first, w, h, flip, alpha);
        for (int i = 0; i < turns; ++i)
            pipeline.rotateClockwise();
        for (int i = 0; i < zoomIns; ++i)
            pipeline.zoomIn();
        pipeline.setViewOffset(offset.x(), offset.y());
        pipeline.setEffect(effect);
        pipeline.setMask(mask);
        if (drawing)
            pipeline.drawOnLayer([](QPainter &p) {
                p.setPen(QPen(Qt::green, 3));
                p.drawLine(0, 0, 200, 200);
                p.fillRect(20, 5, 30, 12, QColor(0, 0, 255, 128));
            });
        for (quint32 seed = 2; seed < 4; ++seed) {
            const QImage upright = picture(w, h, alpha, seed);
            std::vector<uchar> frame = raw(upright, flip);
            feed(pipeline, frame, w, h, flip, alpha);
            processQueued();
            const QImage want = expected(pipeline, upright, drawing);
            QCOMPARE(pipeline.outputImage().convertToFormat(layout(alpha)), want);
            // The next caller receives exactly this frame, in its own row order.
            std::vector<uchar> next = raw(upright, flip);
            feed(pipeline, next, w, h, flip, alpha);
            QCOMPARE(fromRaw(next.data(), w, h, alpha, flip), want);
            processQueued();
        }
    }

    void quarterTurnShowsUprightPictureBetweenBars()
    {
        FramePipeline pipeline;
        QImage upright(1280, 720, QImage::Format_ARGB32);
        upright.fill(QColor(100, 150, 200));
        std::vector<uchar> a = raw(upright, false);
        feed(pipeline, a, 1280, 720, false, true);
        pipeline.rotateClockwise();
        QCOMPARE(pipeline.zoom(), 0.5625);
        std::vector<uchar> b = raw(upright, false);
        feed(pipeline, b, 1280, 720, false, true);
        processQueued();
        const QImage out = pipeline.outputImage();
        QCOMPARE(out.size(), QSize(1280, 720));
        // (1280 - 405) / 2 = 437 black columns on the left, 438 on the right.
        for (int y : {0, 360, 719}) {
            QCOMPARE(out.pixelColor(436, y), QColor(Qt::black));
            QCOMPARE(out.pixelColor(437, y), QColor(100, 150, 200));
            QCOMPARE(out.pixelColor(841, y), QColor(100, 150, 200));
            QCOMPARE(out.pixelColor(842, y), QColor(Qt::black));
        }
    }

    // The mask is cut into the view, not the picture: zooming and panning move the picture
    // under a mask that stays where it is.
    void maskStaysFixedInTheView_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("zoomIns");
        QTest::addColumn<QPoint>("offset");
        for (int mask : {int(MASK_CIRCLE), int(MASK_RECTANGLE), int(MASK_LEFT), int(MASK_TOP)}) {
            QTest::addRow("mask %d zoom 1", mask) << mask << 0 << QPoint();
            QTest::addRow("mask %d zoom 2", mask) << mask << 1 << QPoint();
            QTest::addRow("mask %d zoom 2 panned", mask) << mask << 1 << QPoint(900, 500);
            QTest::addRow("mask %d zoom 4 panned", mask) << mask << 3 << QPoint(3000, 1000);
        }
    }
    void maskStaysFixedInTheView()
    {
        QFETCH(int, mask);
        QFETCH(int, zoomIns);
        QFETCH(QPoint, offset);
        FramePipeline pipeline;
        pipeline.setMask(mask);
        const QImage upright = picture(1280, 720, true, 4);
        std::vector<uchar> a = raw(upright, false), b = raw(upright, false);
        feed(pipeline, a, 1280, 720, false, true);
        for (int i = 0; i < zoomIns; ++i)
            pipeline.zoomIn();
        pipeline.setViewOffset(offset.x(), offset.y());
        feed(pipeline, b, 1280, 720, false, true);
        processQueued();
        const QImage out = pipeline.outputImage();
        // Sample points of the view well away from the mask's edges.
        struct Probe
        {
            QPoint at;
            QList<int> blackFor;
        };
        const Probe probes[] = {
            {{640, 360}, {}},
            {{20, 20}, {MASK_CIRCLE, MASK_RECTANGLE, MASK_LEFT, MASK_TOP}},
            {{1260, 700}, {MASK_CIRCLE, MASK_RECTANGLE}},
            {{300, 600}, {MASK_CIRCLE, MASK_LEFT, MASK_RECTANGLE}},
            {{1000, 100}, {MASK_CIRCLE, MASK_RECTANGLE, MASK_TOP}},
            {{900, 500}, {}},
        };
        for (const Probe &p : probes)
            QCOMPARE(out.pixelColor(p.at) == QColor(Qt::black), p.blackFor.contains(mask));
    }

    void slotAllocationFailure_data()
    {
        QTest::addColumn<bool>("failFirst");
        QTest::newRow("first frame: processed in the caller's buffer") << true;
        QTest::newRow("back slot: dropped like a busy frame") << false;
    }
    void slotAllocationFailure()
    {
        QFETCH(bool, failFirst);
        MessageCapture messages;
        ProbePipeline pipeline;
        pipeline.setEffect(EFFECT_NEGATIVE);
        QSignalSpy queued(&pipeline, &FramePipeline::newFrameData);
        const QImage a = picture(64, 48, true, 1), b = picture(64, 48, true, 2);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, false);
        pipeline.failAllocations = failFirst;
        feed(pipeline, fa, 64, 48, false, true);
        QCOMPARE(fromRaw(fa.data(), 64, 48, true, false), expected(pipeline, a));
        pipeline.failAllocations = true;
        feed(pipeline, fb, 64, 48, false, true);
        processQueued();
        QVERIFY(messages.contains("allocate buffer fail"));
        QCOMPARE(queued.count(), 0);
        if (failFirst) {
            // Nothing was kept, so the next frame takes the synchronous path again.
            QCOMPARE(messages.count("streamImageCaptured(), reset szie "), 2);
            QCOMPARE(fromRaw(fb.data(), 64, 48, true, false), expected(pipeline, b));
        } else {
            QCOMPARE(fromRaw(fb.data(), 64, 48, true, false), expected(pipeline, a));
        }
        // Once memory is back the stream goes on normally.
        pipeline.failAllocations = false;
        std::vector<uchar> fc = raw(b, false);
        feed(pipeline, fc, 64, 48, false, true);
        processQueued();
        QCOMPARE(pipeline.outputImage().convertToFormat(QImage::Format_ARGB32), expected(pipeline, b));
    }

    void adjustingNullSlot()
    {
        MessageCapture messages;
        FramePipeline pipeline;
        pipeline.adjStreamFrameData(nullptr, 10, 10, false, true);
        QVERIFY(messages.contains("null pSFD"));
    }

    void recordingExchange_data()
    {
        QTest::addColumn<bool>("flip");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<bool>("published");
        QTest::newRow("top-down frames") << false << 64 * 48 * 4 << true;
        QTest::newRow("bottom-up frames") << true << 64 * 48 * 4 << true;
        QTest::newRow("JPEG larger than its slot is skipped") << false << 100 << false;
    }
    void recordingExchange()
    {
        QFETCH(bool, flip);
        QFETCH(int, capacity);
        QFETCH(bool, published);
        FramePipeline pipeline;
        const int guard = 4096;
        std::vector<uchar> blocks[2] = {std::vector<uchar>(size_t(capacity) + guard, 0xab),
                                        std::vector<uchar>(size_t(capacity) + guard, 0xab)};
        pipeline.recordBuffer[0] = blocks[0].data();
        pipeline.recordBuffer[1] = blocks[1].data();
        pipeline.recordBufferSize = capacity;
        pipeline.recordReadySlot = ICaptureCB::NO_RECORD_SLOT;
        pipeline.recordingActive = true;
        pipeline.previewFrameSeen = true;
        // Upright picture: red top half, blue bottom half.
        QImage upright(64, 48, QImage::Format_ARGB32);
        upright.fill(Qt::blue);
        QPainter(&upright).fillRect(0, 0, 64, 24, Qt::red);
        for (int n = 0; n < 3; ++n) {
            std::vector<uchar> frame = raw(upright, flip);
            pipeline.imageCaptured(frame.data(), 64, 48, flip, true);
            if (!published) {
                QCOMPARE(pipeline.recordReadySlot.load(), int(ICaptureCB::NO_RECORD_SLOT));
                QCOMPARE(pipeline.recordBytes[0], 0);
                continue;
            }
            const int slot = n % 2; // 65535, then alternating
            QCOMPARE(pipeline.recordReadySlot.load(), slot);
            const QImage jpeg = QImage::fromData(blocks[slot].data(), pipeline.recordBytes[slot], "JPG");
            QCOMPARE(jpeg.size(), QSize(64, 48));
            QVERIFY(jpeg.pixelColor(32, 5).red() > 200 && jpeg.pixelColor(32, 5).blue() < 60);
            QVERIFY(jpeg.pixelColor(32, 42).blue() > 200 && jpeg.pixelColor(32, 42).red() < 60);
        }
        for (const auto &s : blocks)
            for (size_t i = size_t(capacity); i < s.size(); ++i)
                QCOMPARE(s[i], uchar(0xab));
        pipeline.recordingActive = false;
    }

    void recordingNeedsThePreview()
    {
        FramePipeline pipeline;
        std::vector<uchar> slot(64 * 48 * 4);
        pipeline.recordBuffer[0] = pipeline.recordBuffer[1] = slot.data();
        pipeline.recordBufferSize = int(slot.size());
        pipeline.recordingActive = true;
        pipeline.previewFrameSeen = false;
        std::vector<uchar> frame = raw(picture(64, 48, true, 1), false);
        pipeline.imageCaptured(frame.data(), 64, 48, false, true);
        QCOMPARE(pipeline.recordReadySlot.load(), int(ICaptureCB::NO_RECORD_SLOT));
    }
};

QTEST_GUILESS_MAIN(TestFramePipeline)
#include "tst_framepipeline.moc"
