#include "CanvasFrames.h"
#include "CanvasTypes.h"
#include "ImageCanvas.h"
#include "MessageCapture.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

#include <cstdlib>

using namespace CanvasFrames;

namespace {

// A canvas whose slot allocations can be counted and made to fail, and whose snapshot step
// can run code in the middle of the processing.
class ProbeCanvas : public ImageCanvas
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
        return ImageCanvas::allocateFrameBlock(bytes);
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

// Frame intake, processing order and the view of one canvas, fed as a media streaming thread
// would feed it.
class TestImageCanvas : public QObject
{
    Q_OBJECT
private:
    static QImage expected(ImageCanvas &canvas, const QImage &upright, bool layerDirty = false)
    {
        return reference(upright, canvas.view(), canvas.annotationLayer(), layerDirty, canvas.effect(),
                         canvas.mask());
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
        ImageCanvas canvas;
        canvas.setEffect(EFFECT_NEGATIVE);
        QSignalSpy queued(&canvas, &ImageCanvas::newFrameData);
        QSignalSpy arrived(&canvas, &ImageCanvas::streamFrameUpdate);
        const QImage upright = picture(size.width(), size.height(), alpha, 1);
        std::vector<uchar> frame = raw(upright, flip);
        feed(canvas, frame, size.width(), size.height(), flip, alpha);

        QVERIFY(messages.contains(QString("streamImageCaptured(), reset szie %1x%2").arg(size.width()).arg(size.height())));
        QCOMPARE(queued.count(), 0);
        QCOMPARE(arrived.count(), 1);
        // Returned processed in the same call, in the caller's row order and layout.
        const QImage want = expected(canvas, upright);
        QCOMPARE(fromRaw(frame.data(), size.width(), size.height(), alpha, flip), want);
        QCOMPARE(canvas.outputImage().convertToFormat(layout(alpha)), want);
    }

    void framesWithoutPixelsAreIgnored()
    {
        ImageCanvas canvas;
        const QImage before = canvas.outputImage(); // the start picture, when there is one
        canvas.streamImageCaptured(nullptr, 64, 48, false, true);
        std::vector<uchar> none(16);
        canvas.streamImageCaptured(none.data(), 0, 48, false, true);
        canvas.streamImageCaptured(none.data(), -5, -5, false, false);
        canvas.imageCaptured(none.data(), 0, 0, false, false);
        QImage null;
        canvas.stillImageCaptured(&null);
        canvas.stillImageCaptured(nullptr);
        QCOMPARE(canvas.outputImage(), before);
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
        ProbeCanvas canvas;
        for (int i = 0; i < steps.size(); ++i) {
            const Step &s = steps.at(i);
            const QImage upright = picture(s.size.width(), s.size.height(), s.alpha, quint32(i));
            std::vector<uchar> frame = raw(upright, false);
            feed(canvas, frame, s.size.width(), s.size.height(), false, s.alpha);
            processQueued();
            QCOMPARE(messages.count("streamImageCaptured(), reset szie "), resets.at(i));
            QCOMPARE(canvas.allocations, allocations.at(i));
            // Whichever path it took, this frame is the one now shown.
            QCOMPARE(canvas.outputImage().convertToFormat(layout(s.alpha)), upright);
            QCOMPARE(canvas.view().frameSize(), s.size);
        }
    }

    void newFrameSizeStartsFreshLayer()
    {
        ImageCanvas canvas;
        std::vector<uchar> a = raw(picture(64, 48, true, 1), false);
        feed(canvas, a, 64, 48, false, true);
        canvas.drawOnLayer([](QPainter &p) { p.fillRect(0, 0, 10, 10, Qt::red); });
        QCOMPARE(canvas.annotationLayer().pixelColor(5, 5), QColor(Qt::red));
        // Same size: the drawing stays and shows.
        std::vector<uchar> b = raw(picture(64, 48, true, 2), false);
        feed(canvas, b, 64, 48, false, true);
        processQueued();
        QCOMPARE(canvas.outputImage().pixelColor(5, 5), QColor(Qt::red));
        // Another size: a transparent layer of the new size.
        std::vector<uchar> c = raw(picture(40, 30, true, 3), false);
        feed(canvas, c, 40, 30, false, true);
        const QImage layer = canvas.annotationLayer();
        QCOMPARE(layer.size(), QSize(40, 30));
        QCOMPARE(layer.pixelColor(5, 5).alpha(), 0);
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), picture(40, 30, true, 3));
    }

    void secondFrameBeforeProcessingGetsPreviousBack()
    {
        MessageCapture messages;
        ImageCanvas canvas;
        canvas.setEffect(EFFECT_NEGATIVE);
        QSignalSpy queued(&canvas, &ImageCanvas::newFrameData);
        const QImage a = picture(64, 48, true, 1), b = picture(64, 48, true, 2), c = picture(64, 48, true, 3);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, false), fc = raw(c, false), fd = raw(a, false);
        feed(canvas, fa, 64, 48, false, true);
        const QImage aOut = expected(canvas, a);

        feed(canvas, fb, 64, 48, false, true); // queued; the caller gets A back processed
        QCOMPARE(queued.count(), 1);
        QCOMPARE(fromRaw(fb.data(), 64, 48, true, false), aOut);
        feed(canvas, fc, 64, 48, false, true); // B still pending: C is dropped
        QCOMPARE(queued.count(), 1);
        QCOMPARE(fromRaw(fc.data(), 64, 48, true, false), aOut);
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), aOut);

        processQueued();
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), expected(canvas, b));
        feed(canvas, fd, 64, 48, false, true);
        QCOMPARE(fromRaw(fd.data(), 64, 48, true, false), expected(canvas, b));
        QCOMPARE(messages.count("streamImageCaptured(), reset szie "), 1);
    }

    void frameWithOtherFlipIsQueued()
    {
        MessageCapture messages;
        ImageCanvas canvas;
        const QImage a = picture(64, 48, true, 1), b = picture(64, 48, true, 2);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, true);
        feed(canvas, fa, 64, 48, false, true);
        feed(canvas, fb, 64, 48, true, true);
        processQueued();
        QCOMPARE(messages.count("streamImageCaptured(), reset szie "), 1);
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), b);
    }

    void busyProcessingReturnsAtOnce()
    {
        MessageCapture messages;
        ProbeCanvas canvas;
        std::vector<uchar> fa = raw(picture(32, 24, true, 1), false), fb = raw(picture(32, 24, true, 2), false);
        feed(canvas, fa, 32, 24, false, true);
        canvas.duringProcessing = [&canvas] { canvas.precessFrameData(); };
        feed(canvas, fb, 32, 24, false, true);
        processQueued();
        QVERIFY(messages.contains("FPS_BUSY == frameProcessState"));
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), picture(32, 24, true, 2));
    }

    void staleQueuedFrameIsNotProcessed()
    {
        // A frame queued just before a size change is superseded by the synchronous path.
        ImageCanvas canvas;
        std::vector<uchar> fa = raw(picture(32, 24, true, 1), false), fb = raw(picture(32, 24, true, 2), false);
        std::vector<uchar> fc = raw(picture(20, 10, true, 3), false);
        feed(canvas, fa, 32, 24, false, true);
        feed(canvas, fb, 32, 24, false, true);
        feed(canvas, fc, 20, 10, false, true);
        processQueued();
        QCOMPARE(canvas.view().frameSize(), QSize(20, 10));
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), picture(20, 10, true, 3));
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
        ImageCanvas canvas;
        const QImage a = picture(64, 48, true, 1);
        const QImage b = picture(secondSize.width(), secondSize.height(), true, 2);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, false);
        feed(canvas, fa, 64, 48, false, true);
        canvas.setFreeze(true);
        canvas.setEffect(effectAfterFreeze);
        canvas.zoomIn();
        feed(canvas, fb, secondSize.width(), secondSize.height(), false, true);
        processQueued();
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32),
                 expected(canvas, showsFirst ? a : b));
        // And once more, through the refresh of the last picture.
        canvas.autoRefresh();
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32),
                 expected(canvas, showsFirst ? a : b));
    }

    void stillPicturesAreProcessedAsThreeBytePixels()
    {
        ImageCanvas canvas;
        QImage still = picture(40, 30, true, 5);
        const QImage before = still;
        canvas.stillImageCaptured(&still);
        QCOMPARE(still, before);
        const QImage out = canvas.outputImage();
        QCOMPARE(out.format(), QImage::Format_RGB888);
        QCOMPARE(out, before.convertToFormat(QImage::Format_RGB888));
    }

    void refreshShowsNewSettingsOnAStill()
    {
        ImageCanvas canvas;
        canvas.fillStill(Qt::white);
        QCOMPARE(canvas.outputImage().size(), QSize(ImageCanvas::STILL_WIDTH, ImageCanvas::STILL_HEIGHT));
        QCOMPARE(canvas.outputImage().pixelColor(10, 10), QColor(Qt::white));
        canvas.setEffect(EFFECT_NEGATIVE);
        QSignalSpy repaints(&canvas, &ImageCanvas::updateFromWorker);
        canvas.startAutoRefresh();
        QTRY_VERIFY_WITH_TIMEOUT(repaints.count() >= 2, 5000);
        canvas.stopAutoRefresh();
        QCOMPARE(canvas.outputImage().pixelColor(10, 10), QColor(Qt::black));
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
        ImageCanvas canvas;
        canvas.setMask(MASK_TOP); // visibly asymmetric: the top half turns black
        QImage upright(64, 48, layout(alpha));
        upright.fill(QColor(200, 30, 30));
        std::vector<uchar> a = raw(upright, flip), b = raw(upright, flip);
        feed(canvas, a, 64, 48, flip, alpha);
        feed(canvas, b, 64, 48, flip, alpha);
        processQueued();
        const QImage out = canvas.outputImage();
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
        struct State { const char *name; int turns, zoomIns; QPoint offset; int effect, mask; bool drawing; };
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
                        << alpha << flip << s.turns << s.zoomIns << s.offset << s.effect << s.mask << s.drawing;
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
        ImageCanvas canvas;
        std::vector<uchar> first = raw(picture(w, h, alpha, 1), flip);
        feed(canvas, first, w, h, flip, alpha);
        for (int i = 0; i < turns; ++i)
            canvas.rotateClockwise();
        for (int i = 0; i < zoomIns; ++i)
            canvas.zoomIn();
        canvas.setViewOffset(offset.x(), offset.y());
        canvas.setEffect(effect);
        canvas.setMask(mask);
        if (drawing)
            canvas.drawOnLayer([](QPainter &p) {
                p.setPen(QPen(Qt::green, 3));
                p.drawLine(0, 0, 200, 200);
                p.fillRect(20, 5, 30, 12, QColor(0, 0, 255, 128));
            });
        for (quint32 seed = 2; seed < 4; ++seed) {
            const QImage upright = picture(w, h, alpha, seed);
            std::vector<uchar> frame = raw(upright, flip);
            feed(canvas, frame, w, h, flip, alpha);
            processQueued();
            const QImage want = expected(canvas, upright, drawing);
            QCOMPARE(canvas.outputImage().convertToFormat(layout(alpha)), want);
            // The next caller receives exactly this frame, in its own row order.
            std::vector<uchar> next = raw(upright, flip);
            feed(canvas, next, w, h, flip, alpha);
            QCOMPARE(fromRaw(next.data(), w, h, alpha, flip), want);
            processQueued();
        }
    }

    void quarterTurnShowsUprightPictureBetweenBars()
    {
        ImageCanvas canvas;
        QImage upright(1280, 720, QImage::Format_ARGB32);
        upright.fill(QColor(100, 150, 200));
        std::vector<uchar> a = raw(upright, false);
        feed(canvas, a, 1280, 720, false, true);
        canvas.rotateClockwise();
        QCOMPARE(canvas.zoom(), 0.5625);
        std::vector<uchar> b = raw(upright, false);
        feed(canvas, b, 1280, 720, false, true);
        processQueued();
        const QImage out = canvas.outputImage();
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
        ImageCanvas canvas;
        canvas.setMask(mask);
        const QImage upright = picture(1280, 720, true, 4);
        std::vector<uchar> a = raw(upright, false), b = raw(upright, false);
        feed(canvas, a, 1280, 720, false, true);
        for (int i = 0; i < zoomIns; ++i)
            canvas.zoomIn();
        canvas.setViewOffset(offset.x(), offset.y());
        feed(canvas, b, 1280, 720, false, true);
        processQueued();
        const QImage out = canvas.outputImage();
        // Sample points of the view well away from the mask's edges.
        struct Probe { QPoint at; QList<int> blackFor; };
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
        ProbeCanvas canvas;
        canvas.setEffect(EFFECT_NEGATIVE);
        QSignalSpy queued(&canvas, &ImageCanvas::newFrameData);
        const QImage a = picture(64, 48, true, 1), b = picture(64, 48, true, 2);
        std::vector<uchar> fa = raw(a, false), fb = raw(b, false);
        canvas.failAllocations = failFirst;
        feed(canvas, fa, 64, 48, false, true);
        QCOMPARE(fromRaw(fa.data(), 64, 48, true, false), expected(canvas, a));
        canvas.failAllocations = true;
        feed(canvas, fb, 64, 48, false, true);
        processQueued();
        QVERIFY(messages.contains("allocate buffer fail"));
        QCOMPARE(queued.count(), 0);
        if (failFirst) {
            // Nothing was kept, so the next frame takes the synchronous path again.
            QCOMPARE(messages.count("streamImageCaptured(), reset szie "), 2);
            QCOMPARE(fromRaw(fb.data(), 64, 48, true, false), expected(canvas, b));
        } else {
            QCOMPARE(fromRaw(fb.data(), 64, 48, true, false), expected(canvas, a));
        }
        // Once memory is back the stream goes on normally.
        canvas.failAllocations = false;
        std::vector<uchar> fc = raw(b, false);
        feed(canvas, fc, 64, 48, false, true);
        processQueued();
        QCOMPARE(canvas.outputImage().convertToFormat(QImage::Format_ARGB32), expected(canvas, b));
    }

    void adjustingNullSlot()
    {
        MessageCapture messages;
        ImageCanvas canvas;
        canvas.adjStreamFrameData(nullptr, 10, 10, false, true);
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
        ImageCanvas canvas;
        const int guard = 4096;
        std::vector<uchar> blocks[2] = {std::vector<uchar>(size_t(capacity) + guard, 0xab),
                                       std::vector<uchar>(size_t(capacity) + guard, 0xab)};
        canvas.recordBuffer[0] = blocks[0].data();
        canvas.recordBuffer[1] = blocks[1].data();
        canvas.recordBufferSize = capacity;
        canvas.recordReadySlot = ICaptureCB::NO_RECORD_SLOT;
        canvas.recordingActive = true;
        canvas.previewFrameSeen = true;
        // Upright picture: red top half, blue bottom half.
        QImage upright(64, 48, QImage::Format_ARGB32);
        upright.fill(Qt::blue);
        QPainter(&upright).fillRect(0, 0, 64, 24, Qt::red);
        for (int n = 0; n < 3; ++n) {
            std::vector<uchar> frame = raw(upright, flip);
            canvas.imageCaptured(frame.data(), 64, 48, flip, true);
            if (!published) {
                QCOMPARE(canvas.recordReadySlot.load(), int(ICaptureCB::NO_RECORD_SLOT));
                QCOMPARE(canvas.recordBytes[0], 0);
                continue;
            }
            const int slot = n % 2; // 65535, then alternating
            QCOMPARE(canvas.recordReadySlot.load(), slot);
            const QImage jpeg = QImage::fromData(blocks[slot].data(), canvas.recordBytes[slot], "JPG");
            QCOMPARE(jpeg.size(), QSize(64, 48));
            QVERIFY(jpeg.pixelColor(32, 5).red() > 200 && jpeg.pixelColor(32, 5).blue() < 60);
            QVERIFY(jpeg.pixelColor(32, 42).blue() > 200 && jpeg.pixelColor(32, 42).red() < 60);
        }
        for (const auto &s : blocks)
            for (size_t i = size_t(capacity); i < s.size(); ++i)
                QCOMPARE(s[i], uchar(0xab));
        canvas.recordingActive = false;
    }

    void recordingNeedsThePreview()
    {
        ImageCanvas canvas;
        std::vector<uchar> slot(64 * 48 * 4);
        canvas.recordBuffer[0] = canvas.recordBuffer[1] = slot.data();
        canvas.recordBufferSize = int(slot.size());
        canvas.recordingActive = true;
        canvas.previewFrameSeen = false;
        std::vector<uchar> frame = raw(picture(64, 48, true, 1), false);
        canvas.imageCaptured(frame.data(), 64, 48, false, true);
        QCOMPARE(canvas.recordReadySlot.load(), int(ICaptureCB::NO_RECORD_SLOT));
    }

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
            feed(canvas, frame, 200, 100, false, true);
        else
            canvas.stillImageCaptured(&still);
        window.resize(400, 400);
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.pixelColor(1, 1), QColor("#484848"));
        QCOMPARE(shot.pixelColor(398, 200), QColor("#484848"));
        QCOMPARE(shot.pixelColor(200, 200), QColor(250, 250, 0)); // picture centred, 400 x 200
        QCOMPARE(shot.pixelColor(200, 60), board ? QColor(10, 200, 10) : QColor(Qt::black));
        // Turned, the picture stands 50 wide between black bars of the frame.
        QCOMPARE(shot.pixelColor(140, 200), turns ? QColor(Qt::black) : QColor(250, 250, 0));
        QCOMPARE(canvas.outputImage().size(), QSize(200, 100)); // the widget only scales
    }

    void frameTimingReportsEachShownFrameOnce()
    {
        ImageCanvas canvas;
        canvas.resize(200, 200);
        QVector<QPair<qint64, qint64>> reports;
        canvas.setFrameTimingObserver([&reports](qint64 arrival, qint64 painted) {
            reports.append({arrival, painted});
        });
        const qint64 start = FramePaintTiming::nowNs();
        std::vector<uchar> fa = raw(picture(64, 48, true, 1), false), fb = raw(picture(64, 48, true, 2), false);
        std::vector<uchar> fc = raw(picture(64, 48, true, 3), false);

        feed(canvas, fa, 64, 48, false, true); // processed at once
        canvas.grab();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].first >= start);
        QVERIFY(reports[0].second >= reports[0].first);
        canvas.grab(); // the same frame again: already reported
        QCOMPARE(reports.size(), 1);

        feed(canvas, fb, 64, 48, false, true); // queued
        const qint64 queuedAt = FramePaintTiming::nowNs();
        processQueued();
        canvas.grab();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports[1].first <= queuedAt); // stamped on arrival, not when processed

        canvas.fillStill(Qt::red); // a still picture is no camera frame
        canvas.grab();
        QCOMPARE(reports.size(), 2);

        canvas.setFrameTimingObserver({});
        feed(canvas, fc, 64, 48, false, true);
        processQueued();
        canvas.grab();
        QCOMPARE(reports.size(), 2);
    }
};

QTEST_MAIN(TestImageCanvas)
#include "tst_imagecanvas.moc"
