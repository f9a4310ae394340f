#include "FakeUvcLive.h"
#include "MessageCapture.h"
#include "sources/media/MediaFramework.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace fakeuvctest;

// The program's live path on the fake camera, as it runs on a machine with a document camera
// and another webcam: the device search reads sysfs and opens only the document camera, the
// camera opens after its settle time, its pictures reach the canvas through v4l2src, its
// controls and registers answer, and it is told apart when it cannot be used.
class TestFakeUvcLive : public QObject
{
    Q_OBJECT

    using Availability = LiveSource::Availability;

    static void waitForPictures(LiveRig &rig) { QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() >= 0, 10000); }

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void init()
    {
        for (const char *line : {"eacces off", "busy off", "fps auto", "replug 0", "@1 replug 2"})
            QCOMPARE(command(line), 0);
    }

    void opensAfterTheSettleTimeAndShowsTheCamerasPictures()
    {
        QElapsedTimer sinceStart;
        sinceStart.start();
        LiveRig rig;
        QCOMPARE(rig.source->availability(), Availability::Starting);
        QVERIFY(rig.waitForOpen());
        QVERIFY(sinceStart.elapsed() > LiveSource::SETTLE_MS);
        QCOMPARE(rig.source->availability(), Availability::Open);
        QTRY_COMPARE_WITH_TIMEOUT(stateField("streaming"), QString("1"), 5000);
        QCOMPARE(stateField("format"), QString("MJPG"));
        waitForPictures(rig);
        // Pictures keep coming, in the camera's order.
        const qint64 first = rig.frameOnCanvas();
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() > first + 10, 5000);
        QCOMPARE(rig.canvas.pipeline()->outputImage().size(), QSize(640, 480));
        // The other webcam was never opened, not even to look at it.
        QCOMPARE(stateField("opens", 1), QString("0"));
    }

    // Intervals that are not a whole number of frames per second are carried as the camera
    // states them (uvcvideo reports 333666 as 1003/30060): a rate rounded to thousandths is
    // one v4l2src refuses, and the camera gave no picture at all.
    void fractionalFrameIntervals()
    {
        QCOMPARE(command("@1 unplug"), 0);
        QCOMPARE(command("unplug"), 0);
        QCOMPARE(command("@2 replug 0"), 0);
        LiveRig rig;
        QVERIFY(rig.waitForOpen());
        QCOMPARE(rig.source->captureCaps(), QString("image/jpeg,width=640,height=480,framerate=30060/1003"));
        QCOMPARE(stateField("interval", 2), QString("333666"));
        waitForPictures(rig);
        const qint64 first = rig.frameOnCanvas();
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() > first + 20, 5000);
        QCOMPARE(command("@2 unplug"), 0);
    }

    void controlsAndRegisters()
    {
        LiveRig rig;
        QVERIFY(rig.waitForOpen());
        // Brightness -64..64 in steps of 20: levels -3..3; uvcvideo clamps beyond the range.
        QCOMPARE(rig.source->brightnessLevelMin(), -3);
        QCOMPARE(rig.source->brightnessLevelMax(), 3);
        for (int i = 0; i < 5; ++i)
            rig.source->brightnessUp();
        QCOMPARE(rig.source->brightness(), 64);
        QCOMPARE(rig.source->brightnessLevel(), 3);
        rig.source->setBrightness(-7);
        QCOMPARE(rig.source->brightness(), -7);

        QCOMPARE(rig.source->setFlicker(2), 0);
        QCOMPARE(rig.source->flicker(), 2);
        QCOMPARE(rig.source->setFlicker(1), 0);
        QCOMPARE(rig.source->flicker(), 1);

        // The one-shot autofocus: manual at the current focus, then autofocus on.
        QCOMPARE(rig.source->triggerAutoFocus(), 0);

        // Registers through the extension unit (defaults 100, 1000, 1000; then set).
        QCOMPARE(rig.source->deviceZoomPosition(), 1.0);
        QCOMPARE(rig.source->deviceZoomFactor(), 1.0);
        QCOMPARE(command("reg 0x70000024 250"), 0);
        QCOMPARE(command("reg 0x7000001C 2000"), 0);
        QCOMPARE(command("reg 0x7000001E 1500"), 0);
        QCOMPARE(rig.source->deviceZoomPosition(), 2.5);
        QCOMPARE(rig.source->deviceZoomFactor(), 3.0);

        // Controls of another length than the caller's buffer (the firmware string): the
        // request takes the control's length, the caller gets what fits.
        char firmware[8] = {};
        QCOMPARE(rig.source->getExtensionControl(1, firmware, sizeof firmware), 0);
        QVERIFY(firmware[0] != 0);
        quint16 shortAddress = 0x24;
        QCOMPARE(rig.source->setExtensionControl(19, &shortAddress, sizeof shortAddress), 0);
        // The pictures went on while the controls were used on the same node.
        const qint64 now = rig.frameOnCanvas();
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() > now, 5000);
    }

    // Pulled out while streaming, plugged in again: it comes back under the same number, since
    // the program holds no descriptor of the old device, and opens at once.
    void unplugAndReplug()
    {
        LiveRig rig;
        QVERIFY(rig.waitForOpen());
        waitForPictures(rig);
        QSignalSpy plugIn(rig.source.get(), &LiveSource::devicePlugIn);
        QCOMPARE(command("unplug"), 0);
        // A frame the camera gave just before may still be on its way through the decoder and
        // the canvas; after that nothing more comes.
        QTest::qWait(300);
        const qint64 last = rig.frameOnCanvas();
        QTest::qWait(500);
        QCOMPARE(rig.frameOnCanvas(), last);
        // What the window's frame supervision does after its 5 s without frames.
        rig.source->close();
        QTRY_COMPARE_WITH_TIMEOUT(rig.source->availability(), Availability::Absent, 2000);
        QCOMPARE(command("replug"), 0);
        QCOMPARE(stateField("capture"), QString("/dev/video0"));
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() >= 0 && rig.frameOnCanvas() != last, 5000);
        const qint64 again = rig.frameOnCanvas();
        QTRY_VERIFY_WITH_TIMEOUT(rig.frameOnCanvas() > again, 5000);
    }

    // A camera the user may not open, or that another program streams from, is not opened;
    // the reason is known (and logged once, not at every check) and the camera opens by
    // itself once the cause is gone.
    void cameraThatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("availability");
        QTest::addColumn<QString>("logged");
        QTest::newRow("no permission") << "eacces" << int(Availability::NoPermission)
                                       << "no permission to use the document camera at /dev/video0";
        QTest::newRow("in use") << "busy" << int(Availability::InUse)
                                << "the document camera is in use by another program";
    }
    void cameraThatCannotBeUsed()
    {
        QFETCH(QString, fault);
        QCOMPARE(command(qPrintable(fault + " on")), 0);
        MessageCapture messages;
        LiveRig rig;
        QSignalSpy plugIn(rig.source.get(), &LiveSource::devicePlugIn);
        QTest::qWait(3000); // past the settle time: six checks
        QVERIFY(!rig.source->isOpen());
        QCOMPARE(plugIn.count(), 0);
        QTEST(int(rig.source->availability()), "availability");
        QCOMPARE(rig.source->problemLocation(), QString("/dev/video0"));
        QFETCH(QString, logged);
        QCOMPARE(messages.messages().filter(logged).size(), 1);
        QCOMPARE(stateField("streaming"), QString("0"));

        QCOMPARE(command(qPrintable(fault + " off")), 0);
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 2000);
        QCOMPARE(rig.source->availability(), Availability::Open);
        QCOMPARE(messages.messages().filter("the document camera can be used again").size(), 1);
        waitForPictures(rig);
    }

    // Another program takes the camera between the check and the start of the stream: v4l2src
    // is refused, the source closes and waits for the camera to be free.
    void takenByAnotherProgramWhileOpening()
    {
        LiveRig rig;
        QVERIFY(rig.waitForOpen());
        waitForPictures(rig);
        MessageCapture messages;
        QCOMPARE(command("busy on"), 0);
        // A new format means a new stream, which the other program now holds.
        rig.source->setResolution(1280, 720);
        QTRY_COMPARE_WITH_TIMEOUT(rig.source->availability(), Availability::InUse, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.source->isOpen(), 2000);
        QSignalSpy plugIn(rig.source.get(), &LiveSource::devicePlugIn);
        QTest::qWait(1500);
        QCOMPARE(plugIn.count(), 0); // no reopening while it is held
        // Said once, though the stream and then every presence check find it held.
        QCOMPARE(messages.messages().filter("the document camera is in use by another program").size(), 1);
        QCOMPARE(command("busy off"), 0);
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.canvas.pipeline()->outputImage().width(), 1280, 5000);
    }

    // Without the document camera the webcam would be taken: both are out.
    void noCamera()
    {
        QCOMPARE(command("unplug"), 0);
        QCOMPARE(command("@1 unplug"), 0);
        LiveRig rig;
        QCOMPARE(rig.source->availability(), Availability::Absent);
        QTest::qWait(1200);
        QVERIFY(!rig.source->isOpen());
        QCOMPARE(stateField("opens", 1), QString("0"));
        QCOMPARE(command("replug"), 0);
        QTRY_COMPARE_WITH_TIMEOUT(rig.source->availability(), Availability::Starting, 2000);
        QVERIFY(rig.waitForOpen());
        QCOMPARE(command("@1 replug 2"), 0);
    }
};

int main(int argc, char **argv)
{
    ensurePreloaded(argv,
                    {{"FAKEUVC_CAMERAS",
                      "name=USB Document Camera;vid=abcd,pid=1234,name=Other Webcam,node=2;"
                      "name=Slow Document Camera,intervals=333666/666666,plugged=0"}});
    QApplication app(argc, argv);
    TestFakeUvcLive test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakeuvclive.moc"
