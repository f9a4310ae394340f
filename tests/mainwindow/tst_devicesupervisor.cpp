#include "ManualClock.h"
#include "MessageCapture.h"
#include "mainwindow/DeviceSupervisor.h"

#include <QSignalSpy>
#include <QtTest>

class TestDeviceSupervisor : public QObject
{
    Q_OBJECT
private:
    static constexpr qint64 NO_STAMP = DeviceSupervisor::NO_ARRIVAL;

    struct Rig
    {
        ManualClock clock;
        DeviceSupervisor supervisor{clock};
        bool cameraOpen = true;
        Rig()
        {
            supervisor.setCameraOpenQuery([this] { return cameraOpen; });
        }
    };

private slots:
    void frameGap_data()
    {
        QTest::addColumn<qint64>("gap");
        QTest::addColumn<bool>("cameraOpen");
        QTest::addColumn<bool>("stalled");
        QTest::newRow("exactly the limit") << qint64(5000) << true << false;
        QTest::newRow("one past the limit") << qint64(5001) << true << true;
        QTest::newRow("long gap") << qint64(60000) << true << true;
        QTest::newRow("short gap") << qint64(40) << true << false;
        QTest::newRow("no camera") << qint64(9000) << false << false;
    }
    void frameGap()
    {
        QFETCH(qint64, gap);
        QFETCH(bool, cameraOpen);
        QFETCH(bool, stalled);
        Rig rig;
        rig.cameraOpen = cameraOpen;
        QSignalSpy spy(&rig.supervisor, &DeviceSupervisor::cameraStalled);
        MessageCapture capture;

        rig.clock.advance(gap);
        rig.supervisor.frameArrived();

        QCOMPARE(spy.count(), stalled ? 1 : 0);
        QCOMPARE(rig.supervisor.sinceLastFrameMs(), qint64(0)); // every frame restarts the clock
        if (stalled) {
            QCOMPARE(capture.messages(),
                     QStringList({QString("video frame time interval %1 ms, large than 5000 "
                                          "ms, something error")
                                      .arg(gap),
                                  "disconnect device"}));
        } else {
            QVERIFY(capture.messages().isEmpty());
        }
    }

    void periodicCheck_data()
    {
        QTest::addColumn<qint64>("age");
        QTest::addColumn<bool>("cameraOpen");
        QTest::addColumn<bool>("stalled");
        QTest::addColumn<qint64>("clockAfter");
        QTest::newRow("fresh clock left alone") << qint64(5000) << true << false << qint64(5000);
        QTest::newRow("stale clock, camera open") << qint64(5001) << true << true << qint64(0);
        // Without a camera the check merely restarts the clock.
        QTest::newRow("stale clock, no camera") << qint64(6000) << false << false << qint64(0);
    }
    void periodicCheck()
    {
        QFETCH(qint64, age);
        QFETCH(bool, cameraOpen);
        QFETCH(bool, stalled);
        QFETCH(qint64, clockAfter);
        Rig rig;
        rig.cameraOpen = cameraOpen;
        QSignalSpy spy(&rig.supervisor, &DeviceSupervisor::cameraStalled);
        MessageCapture capture;

        rig.clock.advance(age);
        rig.supervisor.check();

        QCOMPARE(spy.count(), stalled ? 1 : 0);
        QCOMPARE(rig.supervisor.sinceLastFrameMs(), clockAfter);
        QCOMPARE(capture.messages().isEmpty(), !stalled);
    }

    void steadyFramesNeverStall()
    {
        Rig rig;
        QSignalSpy spy(&rig.supervisor, &DeviceSupervisor::cameraStalled);
        for (int i = 0; i < 200; ++i) {
            rig.clock.advance(4000);
            rig.supervisor.check();
            rig.supervisor.frameArrived();
        }
        QCOMPARE(spy.count(), 0);
    }

    // The canvases stamp each frame on the streaming thread; the GUI thread may come back to
    // the reports late. `lastStamp` is when the camera last delivered, `blocked` how long the
    // GUI thread was away; then the late report and one periodic check run.
    void arrivalStamps_data()
    {
        QTest::addColumn<qint64>("blocked");
        QTest::addColumn<qint64>("lastStamp");
        QTest::addColumn<bool>("stalled");
        QTest::newRow("8 s busy, camera delivering") << qint64(8000) << qint64(7967) << false;
        QTest::newRow("60 s busy, camera delivering") << qint64(60000) << qint64(59990) << false;
        QTest::newRow("8 s busy, camera silent throughout") << qint64(8000) << qint64(0) << true;
        QTest::newRow("8 s busy, camera silent for exactly the limit")
            << qint64(8000) << qint64(3000) << false;
        QTest::newRow("8 s busy, camera silent past the limit") << qint64(8000) << qint64(2999) << true;
    }
    void arrivalStamps()
    {
        QFETCH(qint64, blocked);
        QFETCH(qint64, lastStamp);
        QFETCH(bool, stalled);
        Rig rig;
        qint64 stamp = 0;
        rig.supervisor.setArrivalQuery([&stamp] { return stamp; });
        QSignalSpy spy(&rig.supervisor, &DeviceSupervisor::cameraStalled);

        stamp = lastStamp;
        rig.clock.set(blocked);
        rig.supervisor.frameArrived(); // a frame reported late
        rig.supervisor.check();
        QCOMPARE(spy.count(), stalled ? 1 : 0);
    }

    // A late report does not restart the timing at the moment it is handled: a camera that
    // fell silent 4 s into an 8 s block is found 5 s after its last frame, not 5 s after the
    // block.
    void lateReportKeepsTheArrivalTime()
    {
        Rig rig;
        qint64 stamp = NO_STAMP;
        rig.supervisor.setArrivalQuery([&stamp] { return stamp; });
        QSignalSpy spy(&rig.supervisor, &DeviceSupervisor::cameraStalled);
        stamp = 4000;
        rig.clock.set(8000);
        rig.supervisor.frameArrived();
        QCOMPARE(rig.supervisor.sinceLastFrameMs(), qint64(4000));
        rig.clock.set(9000);
        rig.supervisor.check();
        QCOMPARE(spy.count(), 0);
        rig.clock.set(9001);
        rig.supervisor.check();
        QCOMPARE(spy.count(), 1);
        // After the stall the timing starts over.
        QCOMPARE(rig.supervisor.sinceLastFrameMs(), qint64(0));
    }

    void restartAfterRecordingChange()
    {
        Rig rig;
        QSignalSpy spy(&rig.supervisor, &DeviceSupervisor::cameraStalled);
        rig.clock.advance(4900);
        rig.supervisor.restartClock(); // a graph rebuild is not a stall
        rig.clock.advance(4900);
        rig.supervisor.frameArrived();
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDeviceSupervisor)
#include "tst_devicesupervisor.moc"
