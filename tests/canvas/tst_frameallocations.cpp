#include "CanvasFrames.h"
#include "CountingAllocator.h"
#include "canvas/CanvasTypes.h"
#include "canvas/FramePipeline.h"

#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace CanvasFrames;

// Steady frames through the canvas allocate nothing, on the streaming thread that hands them
// over or on the GUI thread that processes them, in the view states and while recording: the
// allocations are counted, not timed. The queued signal that carries a frame to the GUI
// thread is the toolkit's; it is disconnected here and called directly, and counted once on
// its own.
class TestFrameAllocations : public QObject
{
    Q_OBJECT
private:
    // A streaming thread of its own that hands over one frame at a time when asked, counting
    // its allocations, as the media framework's thread does.
    class Streamer
    {
    public:
        explicit Streamer(FramePipeline &pipeline)
            : m_pipeline(pipeline)
            , m_thread([this] { loop(); })
        { }
        ~Streamer()
        {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_quit = true;
            }
            m_wake.notify_all();
            m_thread.join();
        }
        // Hands `frame` over and returns the allocations that took.
        long handOver(std::vector<uchar> &frame, int w, int h)
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_frame = &frame;
            m_width = w;
            m_height = h;
            m_done = false;
            m_wake.notify_all();
            m_wake.wait(lock, [this] { return m_done; });
            return m_count;
        }

    private:
        void loop()
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            for (;;) {
                m_wake.wait(lock, [this] { return m_quit || (m_frame && !m_done); });
                if (m_quit)
                    return;
                {
                    CountingAllocator::Scope scope;
                    m_pipeline.streamImageCaptured(m_frame->data(), m_width, m_height, false, true);
                    m_count = scope.count();
                }
                m_frame = nullptr;
                m_done = true;
                m_wake.notify_all();
            }
        }

        FramePipeline &m_pipeline;
        std::mutex m_mutex;
        std::condition_variable m_wake;
        std::vector<uchar> *m_frame = nullptr;
        int m_width = 0;
        int m_height = 0;
        bool m_done = true;
        bool m_quit = false;
        long m_count = 0;
        std::thread m_thread; // last: it starts once the rest is ready
    };

private slots:
    void steadyFramesAllocateNothing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("zoomIns");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("recording");
        const QSize vga(640, 480);
        QTest::newRow("plain") << vga << 0 << 0 << int(EFFECT_COLOR) << int(MASK_NONE) << false;
        QTest::newRow("plain 1920x1080")
            << QSize(1920, 1080) << 0 << 0 << int(EFFECT_COLOR) << int(MASK_NONE) << false;
        QTest::newRow("zoom 2 panned") << vga << 0 << 1 << int(EFFECT_COLOR) << int(MASK_NONE) << false;
        QTest::newRow("zoom 5") << vga << 0 << 4 << int(EFFECT_COLOR) << int(MASK_NONE) << false;
        QTest::newRow("quarter turn") << vga << 1 << 0 << int(EFFECT_COLOR) << int(MASK_NONE) << false;
        QTest::newRow("half turn zoom 3") << vga << 2 << 2 << int(EFFECT_COLOR) << int(MASK_NONE) << false;
        QTest::newRow("black and white") << vga << 0 << 0 << int(EFFECT_BW) << int(MASK_NONE) << false;
        QTest::newRow("negative quarter turn zoom 2")
            << vga << 1 << 1 << int(EFFECT_NEGATIVE) << int(MASK_NONE) << false;
        QTest::newRow("mosaic") << vga << 0 << 0 << int(EFFECT_MOSAIC) << int(MASK_NONE) << false;
        QTest::newRow("circle mask") << vga << 0 << 0 << int(EFFECT_COLOR) << int(MASK_CIRCLE) << false;
        QTest::newRow("top mask zoom 2") << vga << 0 << 1 << int(EFFECT_COLOR) << int(MASK_TOP) << false;
        QTest::newRow("recording") << vga << 0 << 0 << int(EFFECT_COLOR) << int(MASK_NONE) << true;
        QTest::newRow("recording mosaic quarter turn")
            << vga << 1 << 0 << int(EFFECT_MOSAIC) << int(MASK_RECTANGLE) << true;
    }
    void steadyFramesAllocateNothing()
    {
#if !DOCCAM_COUNTS_ALLOCATIONS
        QSKIP("the sanitizer's allocator is not counted");
#else
        QFETCH(QSize, size);
        QFETCH(int, turns);
        QFETCH(int, zoomIns);
        QFETCH(int, effect);
        QFETCH(int, mask);
        QFETCH(bool, recording);
        const int w = size.width(), h = size.height();
        FramePipeline pipeline;
        QObject::disconnect(&pipeline, &FramePipeline::newFrameData, &pipeline,
                            &FramePipeline::precessFrameData);
        std::vector<uchar> recordSlots[2];
        if (recording) {
            for (std::vector<uchar> &s : recordSlots)
                s.resize(size_t(w) * h * 4);
            pipeline.recordBuffer[0] = recordSlots[0].data();
            pipeline.recordBuffer[1] = recordSlots[1].data();
            pipeline.recordBufferSize = int(recordSlots[0].size());
            pipeline.recordingActive = true;
            pipeline.previewFrameSeen = true;
        }
        std::vector<std::vector<uchar>> frames;
        for (quint32 seed = 1; seed <= 3; ++seed)
            frames.push_back(raw(picture(w, h, true, seed), false));
        std::vector<uchar> buffer = frames[0];
        long streaming = 0, processing = 0;
        {
            Streamer streamer(pipeline);
            streamer.handOver(buffer, w, h); // the first frame takes the synchronous path
            for (int i = 0; i < turns; ++i)
                pipeline.rotateClockwise();
            for (int i = 0; i < zoomIns; ++i)
                pipeline.zoomIn();
            pipeline.setViewOffset(w / 3, h / 3);
            pipeline.setEffect(effect);
            pipeline.setMask(mask);
            // A few frames warm what is kept from frame to frame; then nothing more is allocated.
            const int warm = 3, counted = 8;
            for (int n = 0; n < warm + counted; ++n) {
                buffer = frames[size_t(n) % frames.size()];
                const long handed = streamer.handOver(buffer, w, h);
                CountingAllocator::Scope scope;
                pipeline.precessFrameData();
                const long processed = scope.count();
                if (n >= warm) {
                    streaming += handed;
                    processing += processed;
                }
            }
        }
        if (recording)
            QVERIFY(pipeline.recordReadySlot.load() == 0 || pipeline.recordReadySlot.load() == 1);
        pipeline.recordingActive = false;
        QCOMPARE(streaming, 0L);
        QCOMPARE(processing, 0L);
#endif
    }

    // With the connection the canvas makes, each handed-over frame costs the toolkit's queued
    // call event on the streaming thread, and nothing else.
    void queuedHandOverIsTheOnlyAllocation()
    {
#if !DOCCAM_COUNTS_ALLOCATIONS
        QSKIP("the sanitizer's allocator is not counted");
#else
        const int w = 320, h = 240;
        FramePipeline pipeline;
        std::vector<uchar> frame = raw(picture(w, h, true, 1), false);
        std::vector<uchar> buffer = frame;
        long streaming = 0;
        const int counted = 8;
        {
            Streamer streamer(pipeline);
            for (int n = 0; n < 3 + counted; ++n) {
                buffer = frame;
                const long handed = streamer.handOver(buffer, w, h);
                processQueued();
                if (n >= 3)
                    streaming += handed;
            }
        }
        qInfo("allocations on the streaming thread: %ld in %d frames", streaming, counted);
        QVERIFY(streaming <= counted);
#endif
    }
};

QTEST_GUILESS_MAIN(TestFrameAllocations)
#include "tst_frameallocations.moc"
