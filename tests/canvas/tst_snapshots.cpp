#include "ManualClock.h"
#include "MessageCapture.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <thread>
#include <vector>

namespace {

const QDateTime WALL_START(QDate(2026, 12, 7), QTime(9, 30, 0));

// A canvas whose snapshot stopwatch and file-naming wall clock both follow a clock the test
// sets (milliseconds since the test began).
struct TimedCanvas
{
    ManualClock clock{WALL_START};
    ImageCanvas canvas{nullptr, clock};

    explicit TimedCanvas(const QString &folder, int continuous = 0,
                         quint64 interval = SnapshotWriter::DEFAULT_INTERVAL,
                         quint64 duration = SnapshotWriter::DEFAULT_DURATION)
    {
        SnapshotWriter::Settings settings;
        settings.folder = folder;
        settings.continuous = continuous;
        settings.interval = interval;
        settings.duration = duration;
        canvas.pipeline()->setSnapshotSettings(settings);
    }
    void frame(const QColor &colour = QColor(200, 120, 40), const QSize &size = QSize(1280, 720))
    {
        QImage still(size, QImage::Format_RGB888);
        still.fill(colour);
        // A mark in the top-left corner shows which way up the file is.
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                still.setPixelColor(x, y, Qt::white);
        canvas.pipeline()->stillImageCaptured(&still);
    }
};

QString nameAt(qint64 ms)
{
    return WALL_START.addMSecs(ms).toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss.jpg"));
}

QStringList files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// Mean of the absolute byte differences of two pictures of one size.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    qint64 sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(x.constScanLine(row)[i]) - int(y.constScanLine(row)[i]));
    return double(sum) / (double(x.width()) * x.height() * 3);
}

bool isBlack(const QColor &c)
{
    return c.red() < 16 && c.green() < 16 && c.blue() < 16;
}

} // namespace

// Snapshot files written from inside the frame processing.
class TestSnapshots : public QObject
{
    Q_OBJECT
private slots:
    void singleWritesTheProcessedFrame_data()
    {
        QTest::addColumn<bool>("quarterTurn");
        QTest::addColumn<int>("effect");
        QTest::newRow("upright") << false << int(EFFECT_COLOR);
        QTest::newRow("negative") << false << int(EFFECT_NEGATIVE);
        QTest::newRow("quarter turn, black bars") << true << int(EFFECT_COLOR);
    }
    void singleWritesTheProcessedFrame()
    {
        QFETCH(bool, quarterTurn);
        QFETCH(int, effect);
        QTemporaryDir dir;
        TimedCanvas t(dir.path());
        t.frame();
        if (quarterTurn)
            t.canvas.rotateClockwise();
        t.canvas.pipeline()->setEffect(effect);
        t.canvas.pipeline()->startSnapshot();
        QVERIFY(t.canvas.pipeline()->isSnapshotArmed());
        t.clock.set(250);
        t.frame();
        QVERIFY(!t.canvas.pipeline()->isSnapshotArmed());
        QCOMPARE(files(dir.path()), QStringList{nameAt(250)});

        QImage written(dir.filePath(nameAt(250)));
        QCOMPARE(written.size(), QSize(1280, 720));
        QVERIFY(meanDifference(written, t.canvas.pipeline()->outputImage()) < 2.0);
        if (quarterTurn) {
            QVERIFY(isBlack(written.pixelColor(100, 360)));
            QVERIFY(isBlack(written.pixelColor(1180, 360)));
            QVERIFY(!isBlack(written.pixelColor(640, 360)));
            // Turned clockwise, the white corner mark is now at the top right of the picture.
            QCOMPARE(written.pixelColor(640 + 405 / 2 - 10, 10).lightness() > 240, true);
        } else {
            QCOMPARE(written.pixelColor(10, 10).lightness() > 240, effect != EFFECT_NEGATIVE);
        }

        // Disarmed: later frames write nothing.
        t.clock.set(3000);
        t.frame();
        QCOMPARE(files(dir.path()).size(), 1);
    }

    void twoSinglesInOneSecondLeaveOneFile()
    {
        QTemporaryDir dir;
        TimedCanvas t(dir.path());
        t.canvas.pipeline()->startSnapshot();
        t.clock.set(100);
        t.frame(Qt::white);
        t.canvas.pipeline()->stopSnapshot();
        t.canvas.pipeline()->startSnapshot();
        t.clock.set(900);
        t.frame(Qt::black);
        QCOMPARE(files(dir.path()), QStringList{nameAt(0)});
        QVERIFY(isBlack(QImage(dir.filePath(nameAt(0))).pixelColor(640, 360)));
    }

    void continuous_data()
    {
        QTest::addColumn<quint64>("interval");
        QTest::addColumn<quint64>("duration");
        QTest::addColumn<QList<qint64>>("frames");  // ms after arming
        QTest::addColumn<QList<qint64>>("written"); // ms of the frames that wrote a file
        QTest::addColumn<bool>("armedAfter");
        const quint64 noEnd = SnapshotWriter::NO_END;
        QTest::newRow("interval 1") << quint64(1) << noEnd
                                    << QList<qint64>{0, 500, 999, 1000, 1500, 2000, 2999, 3100}
                                    << QList<qint64>{1000, 2000, 3100} << true;
        QTest::newRow("interval 5") << quint64(5) << noEnd << QList<qint64>{0, 4999, 5000, 7000, 10000, 10500}
                                    << QList<qint64>{5000, 10000} << true;
        QTest::newRow("late frame") << quint64(2) << noEnd << QList<qint64>{0, 3500, 4100, 5900, 6000}
                                    << QList<qint64>{3500, 5900} << true;
        // Interval 0: every frame writes the file of its second, replacing the previous one.
        QTest::newRow("interval 0") << quint64(0) << noEnd << QList<qint64>{0, 300, 1200}
                                    << QList<qint64>{300, 1200} << true;
        QTest::newRow("duration 2") << quint64(1) << quint64(2) << QList<qint64>{1000, 2000, 3000}
                                    << QList<qint64>{1000, 2000} << false;
    }
    void continuous()
    {
        QFETCH(quint64, interval);
        QFETCH(quint64, duration);
        QFETCH(QList<qint64>, frames);
        QFETCH(QList<qint64>, written);
        QFETCH(bool, armedAfter);
        QTemporaryDir dir;
        TimedCanvas t(dir.path(), 1, interval, duration);
        t.canvas.pipeline()->startSnapshot();
        QStringList expected;
        for (qint64 ms : written)
            expected << nameAt(ms);
        for (qint64 ms : frames) {
            t.clock.set(ms);
            t.frame();
        }
        QCOMPARE(files(dir.path()), expected);
        QCOMPARE(t.canvas.pipeline()->isSnapshotArmed(), armedAfter);
    }

    void armingNeedsTheFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/snapshots");
        QTest::newRow("empty") << QString();
        QTest::newRow("a file") << QStringLiteral(DOCCAM_SOURCE_DIR "/CMakeLists.txt");
    }
    void armingNeedsTheFolder()
    {
        QFETCH(QString, folder);
        TimedCanvas t(folder);
        t.canvas.pipeline()->startSnapshot();
        QVERIFY(!t.canvas.pipeline()->isSnapshotArmed());
    }

    void vanishedFolderKeepsTheCanvasArmed()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("shots"));
        QVERIFY(QDir().mkpath(folder));
        TimedCanvas t(folder);
        t.canvas.pipeline()->startSnapshot();
        QVERIFY(QDir(folder).removeRecursively());
        t.frame();
        QVERIFY(t.canvas.pipeline()->isSnapshotArmed());
        QVERIFY(QDir().mkpath(folder));
        t.clock.set(4000);
        t.frame();
        QCOMPARE(files(folder), QStringList{nameAt(4000)});
        QVERIFY(!t.canvas.pipeline()->isSnapshotArmed());
    }

    void writtenOnTheCaptureThread()
    {
        // The first frame of a new size is processed on the streaming thread itself, snapshot
        // step and mark included.
        QTemporaryDir dir;
        TimedCanvas t(dir.path());
        t.canvas.resize(640, 360);
        OSDProcessor osd(&t.canvas, nullptr, nullptr, t.clock);
        t.canvas.pipeline()->startSnapshot();
        std::vector<uchar> frame(size_t(320) * 240 * 4, 90);
        std::thread capture(
            [&] { t.canvas.pipeline()->streamImageCaptured(frame.data(), 320, 240, false, true); });
        capture.join();
        QCOMPARE(files(dir.path()), QStringList{nameAt(0)});
        QCOMPARE(QImage(dir.filePath(nameAt(0))).size(), QSize(320, 240));
        const QImage marked = t.canvas.grab().toImage().copy(10, 10, 48, 48);
        t.clock.set(500);
        QVERIFY(t.canvas.grab().toImage().copy(10, 10, 48, 48) != marked);
    }

    void markOnlyForAWrittenFile()
    {
        QTemporaryDir dir;
        TimedCanvas t(dir.path());
        t.canvas.resize(640, 360);
        OSDProcessor osd(&t.canvas, nullptr, nullptr, t.clock);
        t.frame();
        const QImage before = t.canvas.grab().toImage();
        const QRect mark(10, 10, 48, 48);

        // A folder standing where the file should go: the write fails.
        QVERIFY(QDir(dir.path()).mkdir(nameAt(0)));
        MessageCapture messages;
        t.canvas.pipeline()->startSnapshot();
        t.frame();
        QCOMPARE(messages.count(QStringLiteral("snapshot write fail")), 1);
        QCOMPARE(files(dir.path()), QStringList()); // nothing half-written left behind
        QCOMPARE(t.canvas.grab().toImage().copy(mark), before.copy(mark));
        QVERIFY(!t.canvas.pipeline()->isSnapshotArmed()); // a single snapshot is lost, as the mode says

        t.clock.set(2000);
        t.canvas.pipeline()->startSnapshot();
        t.frame();
        QVERIFY(QFileInfo(dir.filePath(nameAt(2000))).isFile());
        QVERIFY(t.canvas.grab().toImage().copy(mark) != before.copy(mark));
        t.clock.set(2499);
        QVERIFY(t.canvas.grab().toImage().copy(mark) != before.copy(mark));
        t.clock.set(2500);
        QCOMPARE(t.canvas.grab().toImage().copy(mark), before.copy(mark));
    }
};

QTEST_MAIN(TestSnapshots)
#include "tst_snapshots.moc"
