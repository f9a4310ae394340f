#include "ManualClock.h"
#include "ScriptedPrompts.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/DeviceSupervisor.h"
#include "mainwindow/RecordingControl.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QDateTime START(QDate(2026, 12, 7), QTime(9, 30, 5));

// A camera that writes a file at start and remembers what it was asked; stands in for the live
// source, whose own tests cover the recording graph.
struct FakeCamera
{
    bool open = true;
    QStringList started;
    int stops = 0;
    int closes = 0;

    RecordingControl::Camera operations()
    {
        RecordingControl::Camera c;
        c.isOpen = [this] { return open; };
        c.startRecording = [this](const QString &path, QString *) {
            started << path;
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write("RIFF");
            return true;
        };
        c.stopRecording = [this] { ++stops; };
        return c;
    }
};

// The recording's buttons, the live canvas and the frame supervision as the window has them.
struct Rig
{
    QPushButton recordButton;
    QPushButton liveButton;
    QPushButton freezeButton;
    QTimer deviceCheckTimer;
    ManualClock clock{START};
    DeviceSupervisor supervisor{clock};
    ImageCanvas canvas;
    FakeCamera camera;
    std::unique_ptr<RecordingControl> control;

    Rig()
    {
        for (QPushButton *b : {&recordButton, &liveButton, &freezeButton})
            b->setCheckable(true);
        deviceCheckTimer.setInterval(1000);
        deviceCheckTimer.start();
        RecordingControl::Parts parts;
        parts.recordButton = &recordButton;
        parts.liveRecordingButton = &liveButton;
        parts.freezeButton = &freezeButton;
        parts.deviceCheckTimer = &deviceCheckTimer;
        parts.supervisor = &supervisor;
        parts.currentCanvas = [this] { return &canvas; };
        parts.clock = &clock;
        control = std::make_unique<RecordingControl>(parts);
        control->setCamera(camera.operations());
        for (QPushButton *b : {&recordButton, &liveButton})
            QObject::connect(b, &QPushButton::clicked, control.get(), &RecordingControl::record);
        supervisor.setCameraOpenQuery([this] { return camera.open; });
        // What the window does on a stall: stop a running recording, close the camera.
        QObject::connect(&supervisor, &DeviceSupervisor::cameraStalled, control.get(), [this] {
            if (control->isRecording())
                control->record();
            camera.open = false;
            ++camera.closes;
        });
    }
    void click(bool live) { QTest::mouseClick(live ? &liveButton : &recordButton, Qt::LeftButton); }
    bool buttonsChecked(bool checked) const
    {
        return recordButton.isChecked() == checked && liveButton.isChecked() == checked;
    }
};

} // namespace

// The recording buttons' logic: start and stop from either button, folder and camera checks,
// stall handling.
class TestRecordingControl : public QObject
{
    Q_OBJECT
private slots:
    void init() { Config::resetForTesting(); }

    void fileName()
    {
        QCOMPARE(RecordingControl::filePath("/tmp/rec", START),
                 QStringLiteral("/tmp/rec/2026-12-07_09-30-05.avi"));
    }

    void startAndStopFromEitherButton_data()
    {
        QTest::addColumn<bool>("startLive");
        QTest::addColumn<bool>("stopLive");
        QTest::newRow("panel, panel") << false << false;
        QTest::newRow("live bar, live bar") << true << true;
        QTest::newRow("panel, live bar") << false << true;
        QTest::newRow("live bar, panel") << true << false;
    }
    void startAndStopFromEitherButton()
    {
        QFETCH(bool, startLive);
        QFETCH(bool, stopLive);
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        Rig r;
        r.canvas.pipeline()->setFreeze(true);
        r.freezeButton.setChecked(true);
        r.clock.advance(3000); // named when the recording starts

        r.click(startLive);
        QVERIFY(r.control->isRecording());
        QVERIFY(r.buttonsChecked(true));
        QCOMPARE(r.camera.started, QStringList{dir.filePath("2026-12-07_09-30-08.avi")});
        QVERIFY(QFile::exists(r.camera.started.first()));
        QVERIFY(!r.canvas.pipeline()->freeze());
        QVERIFY(!r.freezeButton.isChecked());
        QCOMPARE(r.supervisor.sinceLastFrameMs(), qint64(0)); // the graph rebuild is no frame gap

        r.clock.advance(4000);
        r.click(stopLive);
        QVERIFY(!r.control->isRecording());
        QVERIFY(r.buttonsChecked(false));
        QCOMPARE(r.camera.stops, 1);
        QCOMPARE(r.supervisor.sinceLastFrameMs(), qint64(0));
        QVERIFY(r.deviceCheckTimer.isActive());
    }

    void sameSecondReplacesTheFile()
    {
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        Rig r;
        const QString path = dir.filePath("2026-12-07_09-30-05.avi");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1000, 'x'));
        old.close();
        r.click(false);
        QCOMPARE(QFileInfo(path).size(), qint64(4));
    }

    void nothingStartsWithoutCameraOrFolder_data()
    {
        QTest::addColumn<bool>("cameraOpen");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("box");
        QTest::newRow("no camera") << false << QStringLiteral("<temp>") << false;
        QTest::newRow("folder vanished") << true << QStringLiteral("/nonexistent/videos") << true;
        QTest::newRow("folder unset") << true << QString() << true;
    }
    void nothingStartsWithoutCameraOrFolder()
    {
        QFETCH(bool, cameraOpen);
        QFETCH(QString, folder);
        QFETCH(bool, box);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        Config::setRecordPath(folder == "<temp>" ? dir.path() : folder);
        for (bool live : {false, true}) {
            Rig r;
            r.camera.open = cameraOpen;
            // Not shown pressed while the box is up.
            bool pressedUnderTheBox = false;
            prompts.whileShown = [&r, &pressedUnderTheBox] {
                pressedUnderTheBox |= !r.buttonsChecked(false);
            };
            r.click(live);
            prompts.whileShown = nullptr;
            QVERIFY(!pressedUnderTheBox);
            QVERIFY(!r.control->isRecording());
            QVERIFY(r.buttonsChecked(false));
            QVERIFY(r.camera.started.isEmpty());
        }
        QCOMPARE(prompts.errors.size(), box ? 2 : 0);
        for (const ScriptedPrompts::Asked &asked : prompts.errors) {
            QCOMPARE(asked.title, QStringLiteral("Error"));
            QCOMPARE(asked.text, QStringLiteral("Please select a folder first."));
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void stallStopsTheRecordingAndClosesTheCamera()
    {
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        Rig r;
        r.click(true);
        QVERIFY(r.control->isRecording());

        r.clock.advance(5000);
        r.supervisor.check();
        QVERIFY(r.control->isRecording()); // exactly 5000 ms is no stall
        r.clock.advance(1);
        r.supervisor.check();
        QVERIFY(!r.control->isRecording());
        QVERIFY(r.buttonsChecked(false));
        QCOMPARE(r.camera.stops, 1);
        QCOMPARE(r.camera.closes, 1);
    }

    void resetOnlyTouchesTheWindowState()
    {
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        Rig r;
        r.click(false);
        QVERIFY(r.control->isRecording());
        r.control->resetRecordingState();
        QVERIFY(!r.control->isRecording());
        QVERIFY(r.buttonsChecked(false));
        QCOMPARE(r.camera.stops, 0);
        // The next click starts a new recording rather than stopping a finished one.
        r.click(true);
        QVERIFY(r.control->isRecording());
        QCOMPARE(r.camera.started.size(), 2);
    }
};

QTEST_MAIN(TestRecordingControl)
#include "tst_recordingcontrol.moc"
