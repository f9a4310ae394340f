#include "MainWindowRig.h"
#include "MessageCapture.h"
#include "OpenedUrls.h"
#include "RecordedFiles.h"
#include "ScriptedPrompts.h"
#include "canvas/AnnotationTools.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/FileNotice.h"
#include "sources/live/LiveSource.h"
#include "widgets/ImageButton.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QtTest>

namespace {

constexpr int OpenTimeoutMs = 10000;

using RecordedFiles::discover;
using RecordedFiles::lastFrame;
using FileFacts = RecordedFiles::Facts;

QStringList avis(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.avi")}, QDir::Files);
}

// A window with the simulated camera plugged in from the start.
struct Rig
{
    std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>();
    ManualClock *clock = nullptr;
    std::unique_ptr<MainWindow> window;

    Rig()
    {
        camera->setPattern("ball");
        window = MainWindowRig::makeWindow(&clock, camera);
    }
    bool waitOpen() const
    {
        const int frames = camera->framesDelivered();
        return QTest::qWaitFor([this] { return window->liveSource()->isOpen(); }, OpenTimeoutMs)
            && QTest::qWaitFor([&] { return camera->framesDelivered() > frames + 2; }, OpenTimeoutMs);
    }
    bool buttonsChecked(bool checked) const
    {
        return window->toolButtons().record->isChecked() == checked
            && window->liveRecordingButton()->isChecked() == checked;
    }
    ImageButton *button(bool live) const
    {
        return live ? window->liveRecordingButton() : window->toolButtons().record;
    }
};

} // namespace

// Recording from the window's two recording buttons on the simulated camera.
class TestWindowRecording : public QObject
{
    Q_OBJECT
private slots:
    void init() { Config::resetForTesting(); }

    void recordsFromEitherButton_data()
    {
        QTest::addColumn<bool>("startLive");
        QTest::newRow("started on the panel, stopped on the live bar") << false;
        QTest::newRow("started on the live bar, stopped on the panel") << true;
    }
    void recordsFromEitherButton()
    {
        QFETCH(bool, startLive);
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        Rig r;
        QVERIFY(r.waitOpen());
        ImageCanvas *canvas = r.window->currentCanvas();
        QTest::mouseClick(r.window->toolButtons().freeze, Qt::LeftButton);
        QVERIFY(canvas->pipeline()->freeze());

        const QDateTime before = QDateTime::currentDateTime();
        QTest::mouseClick(r.button(startLive), Qt::LeftButton);
        QVERIFY(r.window->isRecording());
        QVERIFY(r.buttonsChecked(true));
        QVERIFY(!canvas->pipeline()->freeze());
        QVERIFY(!r.window->toolButtons().freeze->isChecked());
        const QStringList files = avis(dir.path());
        QCOMPARE(files.size(), 1);
        const QDateTime named = QDateTime::fromString(files.first(), "yyyy-MM-dd_hh-mm-ss'.avi'");
        QVERIFY(named.isValid());
        QVERIFY(qAbs(named.secsTo(before)) <= 2);

        // A filled rectangle drawn while recording goes into the file.
        AnnotationTools::Style style;
        style.lineColor = QColor(0, 255, 0);
        style.lineWidth = 4;
        style.fillEnabled = true;
        style.fillColor = QColor(0, 255, 0);
        canvas->setDrawingStyle(style);
        canvas->setTool(TOOL_RECTANGLE);
        const QPoint centre(canvas->width() / 2, canvas->height() / 2);
        const QPoint corner(canvas->width() / 4, canvas->height() / 4);
        QWindow *handle = canvas->window()->windowHandle();
        const QPoint origin = canvas->mapTo(canvas->window(), QPoint(0, 0));
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, origin + centre - corner);
        QTest::mouseMove(handle, origin + centre);
        QTest::mouseMove(handle, origin + centre + corner);
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, origin + centre + corner);

        QTest::qWait(1500);
        QTest::mouseClick(r.button(!startLive), Qt::LeftButton);
        QVERIFY(!r.window->isRecording());
        QVERIFY(r.buttonsChecked(false));
        // The window says where it went.
        QVERIFY(r.window->fileNotice()->isVisible());
        QCOMPARE(r.window->fileNotice()->text(), "Recording saved: " + files.first());
        QVERIFY(!r.window->fileNotice()->thumbnailButton()->isVisible());
        {
            OpenedUrls opened;
            QTest::mouseClick(r.window->fileNotice()->openFolderButton(), Qt::LeftButton);
            QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QDir(dir.path()).absolutePath())});
        }

        const QString path = dir.filePath(files.first());
        const FileFacts facts = discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QCOMPARE(facts.videoStreams, 1);
        QVERIFY2(facts.seconds > 0.8, qPrintable(QString::number(facts.seconds)));
        const QImage last = lastFrame(path);
        QVERIFY(!last.isNull());
        const QColor inside = last.pixelColor(last.width() / 2, last.height() / 2);
        QVERIFY2(inside.green() > 200 && inside.red() < 60 && inside.blue() < 60, qPrintable(inside.name()));
    }

    void missingRecordFolderShowsTheBox()
    {
        ScriptedPrompts prompts;
        Config::setRecordPath(QStringLiteral("/nonexistent/videos"));
        Rig r;
        QVERIFY(r.waitOpen());
        QTest::mouseClick(r.button(true), Qt::LeftButton);
        QVERIFY(!r.window->isRecording());
        QVERIFY(r.buttonsChecked(false));
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(prompts.errors.first().title, QStringLiteral("Error"));
        QCOMPARE(prompts.errors.first().text, QStringLiteral("Please select a folder first."));
    }

    // A picture that takes the GUI thread for seconds (a huge photograph or film frame) is not
    // a silent camera: the recording goes on and its file holds all of it.
    void busyWindowKeepsTheRecording()
    {
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        auto camera = std::make_shared<SimulatedCamera>();
        std::unique_ptr<MainWindow> window = MainWindowRig::makeSupervisedWindow(camera);
        QVERIFY(QTest::qWaitFor([&] { return window->liveSource()->isOpen(); }, OpenTimeoutMs));
        const int frames = camera->framesDelivered();
        QVERIFY(QTest::qWaitFor([&] { return camera->framesDelivered() > frames + 2; }, OpenTimeoutMs));
        MessageCapture capture;

        QElapsedTimer recorded;
        QTest::mouseClick(window->toolButtons().record, Qt::LeftButton);
        recorded.start();
        QVERIFY(window->isRecording());
        QTest::qWait(1000);
        QThread::msleep(8000); // the GUI thread is busy, as with a 16 s picture under load
        QTest::qWait(2500);    // the frames reported late and the device checks run
        QVERIFY(window->isRecording());
        QVERIFY(window->liveSource()->isOpen());
        QCOMPARE(capture.count("disconnect device"), 0);
        QTest::mouseClick(window->toolButtons().record, Qt::LeftButton);
        const double seconds = double(recorded.elapsed()) / 1000.0;
        QVERIFY(!window->isRecording());

        const QStringList files = avis(dir.path());
        QCOMPARE(files.size(), 1);
        const QString path = dir.filePath(files.first());
        QString why;
        QVERIFY2(RecordedFiles::finished(path, &why), qPrintable(why));
        const FileFacts facts = discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QVERIFY2(qAbs(facts.seconds - seconds) < 0.5,
                 qPrintable(QString("file %1 s, recorded %2 s").arg(facts.seconds).arg(seconds)));
    }

    void stallEndsTheRecordingAndTheCameraComesBack()
    {
        QTemporaryDir dir;
        Config::setRecordPath(dir.path());
        Rig r;
        QSignalSpy plugIn(r.window->liveSource(), &LiveSource::devicePlugIn);
        QVERIFY(r.waitOpen());
        QTest::mouseClick(r.button(false), Qt::LeftButton);
        QVERIFY(r.window->isRecording());
        QTest::qWait(1500);

        r.camera->setStalled(true);
        QTest::qWait(500); // frames under way arrive
        r.window->deviceSupervisor()->restartClock();
        r.clock->advance(5001);
        r.window->deviceActiveCheck();
        QVERIFY(!r.window->isRecording());
        QVERIFY(r.buttonsChecked(false));
        QVERIFY(!r.window->liveSource()->isOpen());
        const QStringList files = avis(dir.path());
        QCOMPARE(files.size(), 1);
        const FileFacts facts = discover(dir.filePath(files.first()));
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QCOMPARE(facts.videoStreams, 1);

        const int plugIns = plugIn.count();
        r.camera->setStalled(false);
        QTRY_VERIFY_WITH_TIMEOUT(plugIn.count() > plugIns, OpenTimeoutMs);
        QVERIFY(r.waitOpen());
    }
};

QTEST_MAIN(TestWindowRecording)
#include "tst_windowrecording.moc"
