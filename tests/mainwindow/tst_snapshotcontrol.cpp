#include "ManualClock.h"
#include "ScriptedPrompts.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "mainwindow/SnapshotControl.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime WALL_START(QDate(2026, 12, 7), QTime(9, 30, 0));

// A canvas with hand-driven clocks, a Take snapshot button wired as the window wires it, and
// the control between them.
struct Rig
{
    ManualClock clock{WALL_START};
    ImageCanvas canvas{nullptr, clock};
    QPushButton button;
    SnapshotControl control{&button, nullptr};

    Rig()
    {
        QObject::connect(&button, &QPushButton::clicked, &control, [this] { control.snapshot(&canvas); });
    }
    void click() { QTest::mouseClick(&button, Qt::LeftButton); }
    void frame(const QColor &colour = QColor(200, 120, 40))
    {
        QImage still(QSize(320, 240), QImage::Format_RGB888);
        still.fill(colour);
        canvas.pipeline()->stillImageCaptured(&still);
    }
};

QStringList files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

// The Take snapshot button in single and continuous mode, and its folder check.
class TestSnapshotControl : public QObject
{
    Q_OBJECT
private slots:
    void init() { Config::resetForTesting(); }

    void singleWritesOneFile_data()
    {
        QTest::addColumn<int>("effect");
        QTest::newRow("colour") << 0;
        QTest::newRow("black and white") << 1;
        QTest::newRow("negative") << 2;
        QTest::newRow("mosaic") << 3;
    }
    void singleWritesOneFile()
    {
        QFETCH(int, effect);
        QTemporaryDir dir;
        Config::setSnapshotPath(dir.path());
        Config::setSnapshotMode(0);
        Rig r;
        r.frame();
        r.canvas.pipeline()->setEffect(effect);
        r.click();
        QVERIFY(!r.button.isCheckable());
        QVERIFY(r.canvas.pipeline()->isSnapshotArmed());
        r.clock.set(100);
        r.frame();
        const QStringList written = files(dir.path());
        QCOMPARE(written.size(), 1);
        QVERIFY(written.first().endsWith(".jpg"));
        QImage picture(dir.filePath(written.first()));
        QCOMPARE(picture.size(), r.canvas.pipeline()->outputImage().size());
        // The file holds the processed picture: compare one pixel of it with the output.
        const QColor a = picture.pixelColor(160, 120);
        const QColor b = r.canvas.pipeline()->outputImage().pixelColor(160, 120);
        QVERIFY(qAbs(a.red() - b.red()) < 8 && qAbs(a.green() - b.green()) < 8
                && qAbs(a.blue() - b.blue()) < 8);
        r.clock.set(5000);
        r.frame();
        QCOMPARE(files(dir.path()).size(), 1);
    }

    void continuousClicksToggleTheSeries()
    {
        QTemporaryDir dir;
        Config::setSnapshotPath(dir.path());
        Config::setSnapshotMode(1);
        Config::setSnapshotInterval(3);
        Rig r;
        r.frame();

        r.click();
        QVERIFY(r.button.isCheckable());
        QVERIFY(r.button.isChecked());
        QVERIFY(r.canvas.pipeline()->isSnapshotArmed());
        const SnapshotWriter::Settings s = r.canvas.pipeline()->snapshotSettings();
        QCOMPARE(s.continuous, 1);
        QCOMPARE(s.interval, quint64(3));
        QCOMPARE(s.duration, std::numeric_limits<quint64>::max());
        QCOMPARE(s.folder, dir.path());

        r.click();
        QVERIFY(!r.button.isChecked());
        QVERIFY(!r.canvas.pipeline()->isSnapshotArmed());

        r.click();
        QVERIFY(r.button.isChecked());
        QVERIFY(r.canvas.pipeline()->isSnapshotArmed());
    }

    // The live camera without a picture: a click arms nothing and says why, in either mode;
    // a series that ran when the camera went away still stops at the next click.
    void liveCameraWithoutPicture()
    {
        QTemporaryDir dir;
        Config::setSnapshotPath(dir.path());
        Config::setSnapshotMode(1);
        Rig r;
        bool hasPicture = true;
        int explained = 0;
        r.control.setLiveCamera(
            &r.canvas, [&] { return hasPicture; }, [&] { ++explained; });
        r.click();
        QVERIFY(r.button.isChecked());
        QVERIFY(r.canvas.pipeline()->isSnapshotArmed());

        hasPicture = false;
        r.click();
        QVERIFY(!r.button.isChecked());
        QVERIFY(!r.canvas.pipeline()->isSnapshotArmed());
        QCOMPARE(explained, 0);

        r.click();
        QVERIFY(!r.button.isChecked());
        QVERIFY(!r.canvas.pipeline()->isSnapshotArmed());
        QCOMPARE(explained, 1);
        Config::setSnapshotMode(0);
        r.click();
        QVERIFY(!r.canvas.pipeline()->isSnapshotArmed());
        QCOMPARE(explained, 2);
        r.frame();
        QVERIFY(files(dir.path()).isEmpty());
    }

    void singleAfterContinuousStopsTheSeries()
    {
        QTemporaryDir dir;
        Config::setSnapshotPath(dir.path());
        Config::setSnapshotMode(1);
        Config::setSnapshotInterval(1);
        Rig r;
        r.frame();
        r.click();
        QVERIFY(r.button.isChecked());

        Config::setSnapshotMode(0);
        r.click();
        QVERIFY(!r.button.isCheckable());
        QVERIFY(!r.button.isChecked());
        QCOMPARE(r.canvas.pipeline()->snapshotSettings().continuous, 0);
        // One snapshot armed, written by the next frame; then the series is over.
        const int before = files(dir.path()).size();
        r.clock.set(100);
        r.frame();
        QCOMPARE(files(dir.path()).size(), before + 1);
        QVERIFY(!r.canvas.pipeline()->isSnapshotArmed());
        r.clock.set(10000);
        r.frame();
        QCOMPARE(files(dir.path()).size(), before + 1);
    }

    void missingFolderShowsTheBox_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("folder");
        QTest::newRow("single, vanished") << 0 << QStringLiteral("/nonexistent/snapshots");
        QTest::newRow("continuous, vanished") << 1 << QStringLiteral("/nonexistent/snapshots");
        QTest::newRow("single, unset") << 0 << QString();
    }
    void missingFolderShowsTheBox()
    {
        QFETCH(int, mode);
        QFETCH(QString, folder);
        ScriptedPrompts prompts;
        Config::setSnapshotPath(folder);
        Config::setSnapshotMode(mode);
        Rig r;
        r.frame();
        r.click();
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(prompts.errors.first().title, QStringLiteral("Error"));
        QCOMPARE(prompts.errors.first().text, QStringLiteral("Please select a folder first."));
        QVERIFY(!r.canvas.pipeline()->isSnapshotArmed());
        QVERIFY(!r.button.isChecked());
    }
};

QTEST_MAIN(TestSnapshotControl)
#include "tst_snapshotcontrol.moc"
