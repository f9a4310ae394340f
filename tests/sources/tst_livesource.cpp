#include "MessageCapture.h"
#include "RecordedFiles.h"
#include "common/ICaptureCB.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstring>

namespace {

// Stands in for the canvas: counts frames and, while recording, publishes one JPEG (a grey
// picture of the frame's size) into a recording slot the way the canvas does.
class LiveTestSink : public ICaptureCB
{
public:
    void imageCaptured(void *, int, int, bool, bool) override { }
    void stillImageCaptured(QImage *) override { }
    void streamImageCaptured(void *, int width, int height, bool flip, bool alpha) override
    {
        lastWidth.store(width);
        lastHeight.store(height);
        flipped.store(flip);
        fourBytes.store(alpha);
        frames.fetch_add(1);
        if (recordingActive.load(std::memory_order_acquire) && recordBuffer[0]
            && recordReadySlot.load(std::memory_order_acquire) == NO_RECORD_SLOT) {
            QImage grey(width, height, QImage::Format_RGB32);
            grey.fill(QColor(128, 128, 128));
            QByteArray jpeg;
            QBuffer out(&jpeg);
            out.open(QIODevice::WriteOnly);
            grey.save(&out, "JPEG", 90);
            if (jpeg.size() <= recordBufferSize) {
                std::memcpy(recordBuffer[0], jpeg.constData(), size_t(jpeg.size()));
                recordBytes[0] = jpeg.size();
                recordReadySlot.store(0, std::memory_order_release);
            }
        }
    }
    void stopAutoRefresh() override { autoRefreshStopped = true; }

    std::atomic<int> frames{0};
    std::atomic<int> lastWidth{0};
    std::atomic<int> lastHeight{0};
    std::atomic<bool> flipped{true};
    std::atomic<bool> fourBytes{false};
    bool autoRefreshStopped = false;
};

} // namespace

class TestLiveSource : public QObject
{
    Q_OBJECT

    std::shared_ptr<SimulatedCamera> m_camera;
    LiveTestSink m_sink;
    QTemporaryDir m_dir;

    std::unique_ptr<LiveSource> makeSource(int width, int height, QObject *parent = nullptr)
    {
        return std::make_unique<LiveSource>(std::make_unique<SimulatedBackend>(m_camera), &m_sink, width,
                                            height, width, height, parent);
    }
    // A source with the camera attached from the start, opened after its settle time.
    std::unique_ptr<LiveSource> openSource(int width, int height)
    {
        auto source = makeSource(width, height);
        QSignalSpy plugIn(source.get(), &LiveSource::devicePlugIn);
        [&] { QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 8000); }();
        return source;
    }
    void waitForFrames(int atLeast = 3)
    {
        const int start = m_sink.frames.load();
        QTRY_VERIFY_WITH_TIMEOUT(m_sink.frames.load() >= start + atLeast, 10000);
    }

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void cleanupTestCase() { MediaFramework::shutdown(); }
    void init()
    {
        m_camera = std::make_shared<SimulatedCamera>();
        m_camera->setPattern("ball");
        m_sink.frames = 0;
    }

    void opensAfterTheSettleTimeOnce()
    {
        QElapsedTimer sinceStart;
        sinceStart.start();
        auto source = makeSource(320, 240);
        QTimer *presence = source->findChild<QTimer *>();
        QVERIFY(presence);
        QCOMPARE(presence->interval(), 500);
        int ticks = 0;
        connect(presence, &QTimer::timeout, this, [&] { ++ticks; });
        QSignalSpy plugIn(source.get(), &LiveSource::devicePlugIn);
        QVERIFY(!source->isOpen());
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 8000);
        QVERIFY(sinceStart.elapsed() > 2000);
        QVERIFY2(ticks >= 4, qPrintable(QString::number(ticks)));
        QVERIFY(source->isOpen());
        waitForFrames();
        QCOMPARE(m_sink.lastWidth.load(), 320);
        QCOMPARE(m_sink.lastHeight.load(), 240);
        QCOMPARE(m_sink.flipped.load(), false);
        QVERIFY(m_sink.fourBytes.load());
        QVERIFY(m_sink.previewFrameSeen.load());

        // Open: the checks leave it alone.
        const int ticksOpen = ticks;
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= ticksOpen + 2, 5000);
        QCOMPARE(plugIn.count(), 1);

        // Closed: the next check reopens it without a new settle time.
        source->close();
        QVERIFY(!source->isOpen());
        QVERIFY(source->captureCaps().isEmpty());
        ticks = 0;
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 2, 5000);
        QCOMPARE(ticks, 1);
    }

    void absentCamera()
    {
        m_camera->unplug();
        auto source = makeSource(640, 480);
        QSignalSpy plugIn(source.get(), &LiveSource::devicePlugIn);
        source->setResolution(320, 240);
        QCOMPARE(source->captureWidth(), 320);
        const QString path = m_dir.filePath("absent.avi");
        source->startRecording(path);
        QVERIFY(source->recordingPath().isEmpty());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(source->deviceZoomPosition(), 0.0);
        QCOMPARE(source->deviceZoomFactor(), 0.0);
        QCOMPARE(source->brightnessLevel(), 0);
        QCOMPARE(source->brightnessLevelMax(), 0);
        QCOMPARE(source->brightnessLevelMin(), 0);
        QTest::qWait(600);
        QCOMPARE(plugIn.count(), 0);

        m_camera->plugIn();
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 8000);
        QCOMPARE(source->captureCaps(), QString("image/jpeg,width=320,height=240,framerate=30/1"));
        waitForFrames();
        QCOMPARE(m_sink.lastWidth.load(), 320);
    }

    void capsAskedOfTheCamera_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("caps");
        QTest::addColumn<bool>("restricted");
        QTest::newRow("720 rows at 30")
            << 1280 << 720 << "image/jpeg,width=1280,height=720,framerate=30/1" << false;
        QTest::newRow("1080 rows at 30")
            << 1920 << 1080 << "image/jpeg,width=1920,height=1080,framerate=30/1" << false;
        QTest::newRow("1081 rows at 15")
            << 1920 << 1081 << "image/jpeg,width=1920,height=1081,framerate=15/1" << false;
        QTest::newRow("not offered: camera's own")
            << 800 << 600 << "image/jpeg,width=640,height=480,framerate=30/1" << true;
        QTest::newRow("nearest rate offered")
            << 1280 << 720 << "image/jpeg,width=1280,height=720,framerate=25/1" << true;
    }
    void capsAskedOfTheCamera()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, restricted);
        if (restricted) {
            m_camera->setOfferedFormats({FrameSizeOption::discrete(640, 480, {30, 15}),
                                         FrameSizeOption::discrete(1280, 720, {25, 10})});
            m_camera->setCurrentFormat({640, 480, 30, 1});
        }
        auto source = openSource(320, 240);
        source->setResolution(width, height);
        QTEST(source->captureCaps(), "caps");
        const QString caps = source->captureCaps();
        waitForFrames(2);
        QCOMPARE(m_sink.lastWidth.load(), caps.section("width=", 1).section(',', 0, 0).toInt());
        QCOMPARE(m_sink.lastHeight.load(), caps.section("height=", 1).section(',', 0, 0).toInt());
    }

    void controls()
    {
        auto source = openSource(320, 240);
        QCOMPARE(source->brightnessLevelMax(), 3);  // 64 / 20
        QCOMPARE(source->brightnessLevelMin(), -3); // -64 / 20, toward zero
        QCOMPARE(source->brightnessLevel(), 0);
        source->brightnessUp();
        QCOMPARE(source->brightness(), 20);
        QCOMPARE(source->brightnessLevel(), 1);
        source->brightnessDown();
        source->brightnessDown();
        QCOMPARE(source->brightness(), -20);
        QCOMPARE(source->brightnessLevel(), -1);
        source->setBrightness(-39);
        QCOMPARE(source->brightnessLevel(), -1); // -1.95 truncates toward zero
        source->setBrightness(39);
        QCOMPARE(source->brightnessLevel(), 1);

        m_camera->clearOperations();
        source->triggerAutoFocus();
        QCOMPARE(m_camera->operations(),
                 QStringList({"get Focus", "set Focus 300 manual", "set Focus 0 auto"}));
        QVERIFY(m_camera->focusAuto());

        QCOMPARE(source->flicker(), 1);
        source->setFlicker(2);
        QCOMPARE(source->flicker(), 2);

        m_camera->setRegister(0x70000024, 150);
        m_camera->setRegister(0x7000001C, 2000);
        m_camera->setRegister(0x7000001E, 1500);
        QCOMPARE(source->deviceZoomPosition(), 1.5);
        QCOMPARE(source->deviceZoomFactor(), 3.0);

        source->resumeCapture();
        QVERIFY(m_sink.autoRefreshStopped);

        source->close();
        QCOMPARE(source->deviceZoomPosition(), 0.0);
        QCOMPARE(source->deviceZoomFactor(), 0.0);
        QCOMPARE(source->brightnessLevel(), 0);
    }

    void failedRegisterReadLeavesZero()
    {
        auto source = openSource(320, 240);
        m_camera->unplug();
        QCOMPARE(source->deviceZoomPosition(), 0.0);
        QCOMPARE(source->deviceZoomFactor(), 0.0);
    }

    // A camera that stops before the first recorded frame leaves no file behind that no
    // player could open; a recording that got its frames keeps its file (above).
    void recordingWithoutAFrameLeavesNoFile()
    {
        auto source = openSource(320, 240);
        waitForFrames();
        m_camera->setStalled(true);
        const QString path = m_dir.filePath("no-frame.avi");
        source->startRecording(path);
        QVERIFY(m_sink.recordingActive.load());
        QTest::qWait(500);
        MessageCapture messages;
        source->stopRecording();
        QVERIFY(!QFileInfo::exists(path));
        const QStringList lines = messages.messages();
        QVERIFY2(!lines.filter("received no frame from the camera").isEmpty(), qPrintable(lines.join('\n')));
        m_camera->setStalled(false);
        source->close();
    }

    void recordingEndsComplete_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("stop") << "stop";
        QTest::newRow("setResolution") << "setResolution";
        QTest::newRow("close") << "close";
        QTest::newRow("destruction") << "destruction";
        QTest::newRow("camera unplugged") << "unplug";
        QTest::newRow("camera stalled") << "stall";
    }
    void recordingEndsComplete()
    {
        QFETCH(QString, ending);
        auto source = openSource(320, 240);
        waitForFrames();
        const QString path = m_dir.filePath(ending + ".avi");
        source->startRecording(path);
        QCOMPARE(source->recordingPath(), path);
        QVERIFY(m_sink.recordingActive.load());
        QVERIFY(m_sink.recordBuffer[0] && m_sink.recordBuffer[1]);
        QVERIFY(m_sink.recordBufferSize >= 320 * 240 * 4);
        QTRY_COMPARE_WITH_TIMEOUT(m_sink.recordReadySlot.load(), 0, 5000);
        QTest::qWait(1500);

        if (ending == "unplug" || ending == "stall") {
            if (ending == "unplug")
                m_camera->unplug();
            else
                m_camera->setStalled(true);
            QTest::qWait(300);
            source->stopRecording(); // what the frame-timing supervision does
            source->close();
        } else if (ending == "stop") {
            source->stopRecording();
            waitForFrames(); // preview again
        } else if (ending == "setResolution") {
            source->setResolution(160, 120);
            QCOMPARE(source->captureCaps(), QString("image/jpeg,width=160,height=120,framerate=30/1"));
        } else if (ending == "close") {
            source->close();
        } else {
            source.reset();
        }
        QVERIFY(!m_sink.recordingActive.load());
        QCOMPARE(m_sink.recordReadySlot.load(), int(ICaptureCB::NO_RECORD_SLOT));
        // The slots go with the pipeline: a stopped recording leaves the camera streaming, and
        // the preview's thread may still be inside a frame that saw the recording running.
        if (ending == "stop") {
            QVERIFY(source->isRecording() == false);
            source->close();
        }
        QVERIFY(!m_sink.recordBuffer[0] && !m_sink.recordBuffer[1]);

        const RecordedFiles::Facts facts = RecordedFiles::discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QCOMPARE(facts.videoStreams, 1);
        QCOMPARE(facts.audioStreams, 1);
        QVERIFY2(facts.seconds > 0.8 && facts.seconds < 4.0, qPrintable(QString::number(facts.seconds)));
    }
};

QTEST_GUILESS_MAIN(TestLiveSource)
#include "tst_livesource.moc"
