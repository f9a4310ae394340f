#include "MainWindowRig.h"
#include "MessageCapture.h"
#include "RecordedFiles.h"
#include "ScriptedPrompts.h"
#include "SmallFileSystem.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "common/Config.h"
#include "common/OutputFile.h"
#include "mainwindow/RecordingControl.h"
#include "mainwindow/RecordingWatch.h"
#include "sources/live/LiveSource.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <unistd.h>

// What the window does when a recording's file or disk fails: a recording that cannot start
// leaves the preview alone, one that has to stop stops at once with its file finished, the
// user is told on the canvas and in one box, the camera is never closed for it, and the
// recording time on the live canvas stops whatever mode is shown.
namespace {

constexpr int OpenTimeoutMs = 10000;
const qint64 PLENTY = qint64(1) << 40;

// Full disks are made as a tmpfs in a mount namespace of the test's own, where allowed.
const bool PRIVATE_MOUNTS = SmallFileSystem::enterPrivateMounts();

QStringList avis(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.avi")}, QDir::Files);
}

struct Rig
{
    std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>();
    ManualClock *clock = nullptr;
    std::unique_ptr<MainWindow> window;
    qint64 free = PLENTY; // what the recording's watch is told of its disk
    bool realFreeSpace = false;

    Rig()
    {
        camera->setPattern("ball");
        window = MainWindowRig::makeWindow(&clock, camera);
        window->recordingControl()->watch()->setFreeSpace(
            [this](const QString &folder) { return realFreeSpace ? OutputFile::freeBytes(folder) : free; });
    }
    bool waitOpen() const
    {
        const int frames = camera->framesDelivered();
        return QTest::qWaitFor([this] { return window->liveSource()->isOpen(); }, OpenTimeoutMs)
            && QTest::qWaitFor([&] { return camera->framesDelivered() > frames + 2; }, OpenTimeoutMs);
    }
    qint64 lastArrival() const { return window->canvas(MODE_LIVE)->pipeline()->lastArrivalMs(); }
    // Frames reach the live canvas: the preview runs.
    bool previewRuns() const
    {
        const int frames = camera->framesDelivered();
        const qint64 arrival = lastArrival();
        return QTest::qWaitFor(
            [&] { return camera->framesDelivered() > frames + 5 && lastArrival() >= arrival; }, 3000);
    }
    OSDProcessor *osd(WindowMode mode) const { return window->osd(window->canvas(mode)); }
    bool buttonsChecked(bool checked) const
    {
        return window->toolButtons().record->isChecked() == checked
            && window->liveRecordingButton()->isChecked() == checked;
    }
};

} // namespace

class TestRecordingSafety : public QObject
{
    Q_OBJECT
private slots:
    void init() { Config::resetForTesting(); }

    // The record branch is checked before it joins the live graph.
    void refusedStartLeavesThePreview_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("text");
        QTest::newRow("less than a minute of room")
            << "space"
            << "There is not enough free space in the record folder for a minute of recording: a minute "
               "needs about ";
        QTest::newRow("read-only folder")
            << "readonly"
            << "The recording cannot be written into the record folder: Read-only file system";
    }
    void refusedStartLeavesThePreview()
    {
        QFETCH(QString, cause);
        QFETCH(QString, text);
        QTemporaryDir plain;
        std::unique_ptr<SmallFileSystem::Mount> small;
        QString folder = plain.path();
        if (cause == "readonly") {
            if (!SmallFileSystem::available())
                QSKIP("no read-only file system can be mounted here");
            small = std::make_unique<SmallFileSystem::Mount>(1024 * 1024);
            QVERIFY(small->isMounted() && small->makeReadOnly());
            folder = small->path();
        }
        Config::setRecordPath(folder);
        ScriptedPrompts prompts;
        Rig r;
        if (cause == "space")
            r.free = 1024 * 1024;
        QVERIFY(r.waitOpen());
        QSignalSpy plugIn(r.window->liveSource(), &LiveSource::devicePlugIn);
        const QString caps = r.window->liveSource()->captureCaps();

        QTest::mouseClick(r.window->liveRecordingButton(), Qt::LeftButton);
        QVERIFY(!r.window->isRecording());
        QVERIFY(r.buttonsChecked(false));
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(prompts.errors.first().title, QStringLiteral("Error"));
        QVERIFY2(prompts.errors.first().text.startsWith(text), qPrintable(prompts.errors.first().text));
        QVERIFY(!r.osd(MODE_LIVE)->isRecordingTimeRunning());
        QCOMPARE(avis(folder), QStringList());
        // The live graph was never rebuilt, nor the camera closed.
        QCOMPARE(r.window->liveSource()->captureCaps(), caps);
        QVERIFY(r.previewRuns());
        QCOMPARE(plugIn.count(), 0);
    }

    // A recording that has to stop, stopped while another mode is shown.
    void failureStopsTheRecording_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<WindowMode>("mode");
        QTest::addColumn<QString>("text");
        QTest::newRow("disk almost full, Film shown")
            << "space" << MODE_FILM
            << "The recording was stopped because the record folder has room for less than a minute more: "
               "a minute of recording needs about ";
        QTest::newRow("file removed, Photograph shown")
            << "removed" << MODE_PHOTOGRAPH << "The recording was stopped because its file was removed.";
        QTest::newRow("disk full under the writer, Film shown")
            << "writer" << MODE_FILM << "The recording was stopped because its file could not be written: ";
    }
    void failureStopsTheRecording()
    {
        QFETCH(QString, failure);
        QFETCH(WindowMode, mode);
        QFETCH(QString, text);
        QTemporaryDir plain;
        std::unique_ptr<SmallFileSystem::Mount> small;
        std::unique_ptr<FileSizeLimit> limit;
        QString folder = plain.filePath("videos");
        QVERIFY(QDir().mkpath(folder));
        if (failure == "writer" && SmallFileSystem::available()) {
            small = std::make_unique<SmallFileSystem::Mount>(3 * 1024 * 1024);
            QVERIFY(small->isMounted());
            folder = small->path();
        }
        Config::setRecordPath(folder);
        ScriptedPrompts prompts;
        MessageCapture capture;
        Rig r;
        QVERIFY(r.waitOpen());
        QSignalSpy plugIn(r.window->liveSource(), &LiveSource::devicePlugIn);

        QTest::mouseClick(r.window->toolButtons().record, Qt::LeftButton);
        QElapsedTimer recorded;
        recorded.start();
        QVERIFY(r.window->isRecording());
        QVERIFY(r.osd(MODE_LIVE)->isRecordingTimeRunning());
        QVERIFY(MainWindowRig::selectMode(*r.window, mode));
        const QStringList files = avis(folder);
        QCOMPARE(files.size(), 1);
        const QString path = QDir(folder).filePath(files.first());
        QTest::qWait(1500);

        if (failure == "space")
            r.free = 1024 * 1024;
        else if (failure == "removed")
            QVERIFY(QDir(folder).removeRecursively());
        else if (!small)
            limit = std::make_unique<FileSizeLimit>(QFileInfo(path).size() + 512 * 1024);
        QVERIFY(QTest::qWaitFor([&] { return !r.window->isRecording(); }, 20000));
        const double seconds = double(recorded.elapsed()) / 1000.0;
        limit.reset();

        QVERIFY(r.buttonsChecked(false));
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY2(prompts.errors.first().text.startsWith(text), qPrintable(prompts.errors.first().text));
        QCOMPARE(r.osd(mode)->noticeText(), prompts.errors.first().text);
        QCOMPARE(r.osd(MODE_LIVE)->noticeText(), prompts.errors.first().text);
        QVERIFY(!r.osd(MODE_LIVE)->isRecordingTimeRunning());
        // The camera was neither closed nor stopped for it.
        QVERIFY(r.window->liveSource()->isOpen());
        QVERIFY(r.previewRuns());
        QCOMPARE(plugIn.count(), 0);
        QCOMPARE(capture.count("disconnect device"), 0);
        QVERIFY(QDir().mkpath(QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/safety")));
        r.window->grab().save(
            QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/safety/recording-stopped-%1.png").arg(failure));

        if (failure == "removed")
            return;
        QString why;
        QVERIFY2(RecordedFiles::finished(path, &why), qPrintable(why));
        const RecordedFiles::Facts facts = RecordedFiles::discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        if (failure == "space") // stopped cleanly: all of it is there
            QVERIFY2(qAbs(facts.seconds - seconds) < 0.5,
                     qPrintable(QString("file %1 s, recorded %2 s").arg(facts.seconds).arg(seconds)));
        else
            QVERIFY2(facts.seconds > 0.5, qPrintable(QString::number(facts.seconds)));
    }

    // Every way a recording ends stops the recording time on the live canvas, whatever mode
    // is shown then.
    void recordingTimeStopsWhateverModeIsShown_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<WindowMode>("mode");
        QTest::newRow("stall, Film shown") << "stall" << MODE_FILM;
        QTest::newRow("stall, Drawing Board shown") << "stall" << MODE_DRAWING_BOARD;
        QTest::newRow("capture size changed, Photograph shown") << "reset" << MODE_PHOTOGRAPH;
        QTest::newRow("stopped in Live") << "click" << MODE_LIVE;
    }
    void recordingTimeStopsWhateverModeIsShown()
    {
        QFETCH(QString, ending);
        QFETCH(WindowMode, mode);
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        ScriptedPrompts prompts;
        Rig r;
        QVERIFY(r.waitOpen());
        QTest::mouseClick(r.window->liveRecordingButton(), Qt::LeftButton);
        QVERIFY(r.window->isRecording());
        QVERIFY(r.osd(MODE_LIVE)->isRecordingTimeRunning());
        QVERIFY(MainWindowRig::selectMode(*r.window, mode));
        QTest::qWait(500);
        if (ending == "stall") {
            r.camera->setStalled(true);
            QTest::qWait(500);
            r.window->deviceSupervisor()->restartClock();
            r.clock->advance(5001);
            r.window->deviceActiveCheck();
        } else if (ending == "reset") {
            r.window->liveSource()->stopRecording();
            r.window->resetRecordingState();
        } else {
            QTest::mouseClick(r.window->liveRecordingButton(), Qt::LeftButton);
        }
        QVERIFY(!r.window->isRecording());
        for (WindowMode m : {MODE_LIVE, MODE_FILM, MODE_PHOTOGRAPH, MODE_DRAWING_BOARD})
            QVERIFY2(!r.osd(m)->isRecordingTimeRunning(), qPrintable(QString::number(int(m))));
        QVERIFY(prompts.errors.isEmpty());
    }
};

QTEST_MAIN(TestRecordingSafety)
#include "tst_recordingsafety.moc"
