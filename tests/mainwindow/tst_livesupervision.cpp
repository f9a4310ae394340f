#include "MainWindowRig.h"
#include "MessageCapture.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "sources/devices/DeviceFilter.h"
#include "sources/live/LiveSource.h"
#include "widgets/ImageButton.h"

#include <QtTest>

// The live camera in the main window, on the simulated camera: it keeps running in every
// mode, its controls answer the tool buttons, and frame timing supervision closes a stalled
// camera, which the live source then reopens.
class TestLiveSupervision : public QObject
{
    Q_OBJECT

    static constexpr int OpenTimeoutMs = 10000;

    struct Rig
    {
        std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>();
        ManualClock *clock = nullptr;
        std::unique_ptr<MainWindow> window;
        explicit Rig(bool plugged = true)
        {
            if (!plugged)
                camera->unplug();
            window = MainWindowRig::makeWindow(&clock, camera);
        }
        bool waitOpen() const
        {
            const int frames = camera->framesDelivered();
            return QTest::qWaitFor([this] { return window->liveSource()->isOpen(); }, OpenTimeoutMs)
                && QTest::qWaitFor([&] { return camera->framesDelivered() > frames; }, OpenTimeoutMs);
        }
        // Stops the frames and lets the ones under way arrive.
        void stall() const
        {
            camera->setStalled(true);
            QTest::qWait(500);
            window->deviceSupervisor()->restartClock();
        }
    };

private slots:
    void cameraRunsInEveryMode()
    {
        Rig rig;
        QVERIFY(rig.waitOpen());
        for (WindowMode mode : {MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD, MODE_LIVE}) {
            QVERIFY(MainWindowRig::selectMode(*rig.window, mode));
            const int frames = rig.camera->framesDelivered();
            QTRY_VERIFY_WITH_TIMEOUT(rig.camera->framesDelivered() > frames + 3, 5000);
            QVERIFY(rig.window->liveSource()->isOpen());
        }
    }

    void plugInStoresTheFlickerCode()
    {
        MessageCapture capture;
        Rig rig;
        rig.camera->setProperty(DeviceProperty::PowerLineFrequency, 2, PROPERTY_FLAG_MANUAL);
        QVERIFY(rig.waitOpen());
        QTRY_VERIFY(capture.contains("device plug in, flicker type = 2"));
        QCOMPARE(Config::flicker(), quint64(2));
        // One opening, one handling: the plug-in must not reach the window twice.
        QCOMPARE(capture.count("device plug in"), 1);
    }

    void frameGap_data()
    {
        QTest::addColumn<qint64>("gap");
        QTest::addColumn<bool>("byTimer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("frame after exactly 5000 ms") << qint64(5000) << false << false;
        QTest::newRow("frame after 5001 ms") << qint64(5001) << false << true;
        QTest::newRow("check at 5000 ms") << qint64(5000) << true << false;
        QTest::newRow("check at 5001 ms") << qint64(5001) << true << true;
    }
    void frameGap()
    {
        QFETCH(qint64, gap);
        QFETCH(bool, byTimer);
        QFETCH(bool, closed);
        Rig rig;
        QVERIFY(rig.waitOpen());
        rig.stall();
        MessageCapture capture;
        rig.clock->advance(gap);
        if (byTimer)
            rig.window->deviceActiveCheck();
        else
            rig.window->streamFrameUpdate();
        QCOMPARE(rig.window->liveSource()->isOpen(), !closed);
        QCOMPARE(capture.count("disconnect device"), closed ? 1 : 0);
        if (closed)
            QVERIFY(capture.contains(
                QString("video frame time interval %1 ms, large than 5000 ms, something error").arg(gap)));
    }

    void stalledCameraIsReopened()
    {
        Rig rig;
        QVERIFY(rig.waitOpen());
        rig.camera->setProperty(DeviceProperty::PowerLineFrequency, 1, PROPERTY_FLAG_MANUAL);
        rig.stall();
        MessageCapture capture;
        rig.clock->advance(6000);
        rig.window->deviceActiveCheck();
        QVERIFY(!rig.window->liveSource()->isOpen());
        rig.camera->setStalled(false);
        QVERIFY(rig.waitOpen());
        // Each opening, reopenings included, stores the camera's code.
        QTRY_VERIFY(capture.contains("device plug in, flicker type = 1"));
        QCOMPARE(Config::flicker(), quint64(1));
    }

    void withoutCameraNothingHappens()
    {
        Rig rig(false);
        MessageCapture capture;
        rig.clock->advance(9000);
        rig.window->deviceActiveCheck();
        QCOMPARE(rig.window->deviceSupervisor()->sinceLastFrameMs(), qint64(0));
        QCOMPARE(capture.count("disconnect device"), 0);
        QCOMPARE(capture.count("video frame time interval"), 0);
        QVERIFY(!rig.window->liveSource()->isOpen());
    }

    void cameraButtons()
    {
        Rig rig;
        QVERIFY(rig.waitOpen());
        const ToolButtons &t = rig.window->toolButtons();
        LiveSource *live = rig.window->liveSource();

        const qint32 before = live->brightness();
        QTest::mouseClick(t.brightnessUp, Qt::LeftButton);
        QCOMPARE(live->brightness(), before + LiveSource::BRIGHTNESS_STEP);
        QTest::mouseClick(t.brightnessDown, Qt::LeftButton);
        QCOMPARE(live->brightness(), before);

        rig.camera->clearOperations();
        QTest::mouseClick(t.autoFocus, Qt::LeftButton);
        QVERIFY(rig.camera->focusAuto());

        rig.window->applyFlicker(2);
        QCOMPARE(live->flicker(), 2);
        rig.window->applyFlicker(1);
        QCOMPARE(live->flicker(), 1);
    }

    void cameraButtonsWithoutCamera()
    {
        Rig rig(false);
        const ToolButtons &t = rig.window->toolButtons();
        rig.camera->clearOperations();
        QTest::mouseClick(t.autoFocus, Qt::LeftButton);
        QTest::mouseClick(t.brightnessUp, Qt::LeftButton);
        rig.window->applyFlicker(2);
        QVERIFY(rig.camera->operations().isEmpty());
        QCOMPARE(rig.window->liveSource()->brightnessLevel(), 0);
    }
};

QTEST_MAIN(TestLiveSupervision)
#include "tst_livesupervision.moc"
