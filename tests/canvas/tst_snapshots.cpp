#include "ManualClock.h"
#include "MessageCapture.h"
#include "SmallFileSystem.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Full disks are made as a tmpfs in a mount namespace of the test's own, where allowed.
const bool PRIVATE_MOUNTS = SmallFileSystem::enterPrivateMounts();

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

// Noise does not compress: its JPEG is as large as a picture of its size gets.
QImage noise(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB888);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        uchar *row = picture.scanLine(y);
        for (int i = 0; i < width * 3; ++i) {
            seed = seed * 1664525u + 1013904223u;
            row[i] = uchar(seed >> 24);
        }
    }
    return picture;
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
        // The log and the canvas carry the system's own cause.
        QCOMPARE(messages.count(
                     QStringLiteral("snapshot write fail %1 Is a directory").arg(dir.filePath(nameAt(0)))),
                 1);
        QCOMPARE(osd.noticeText(), QStringLiteral("Snapshot not saved: Is a directory"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList()); // nothing half-written
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

    // A link named like the next snapshot, to a file outside the folder: the link is replaced
    // by the snapshot, the file it pointed at is left as it was (or not made, for a dangling one).
    void linkIsReplacedNotFollowed_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("link to a file elsewhere") << true;
        QTest::newRow("dangling link into another folder") << false;
    }
    void linkIsReplacedNotFollowed()
    {
        QFETCH(bool, targetExists);
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("precious.txt"));
        const QByteArray precious("the user's own words\n");
        if (targetExists) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(precious);
        }
        const QString link = dir.filePath(nameAt(0));
        QVERIFY(QFile::link(target, link));

        TimedCanvas t(dir.path());
        t.canvas.pipeline()->startSnapshot();
        t.frame();

        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(QImage(link).size(), QSize(1280, 720));
        if (targetExists) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), precious);
        } else {
            QVERIFY(!QFileInfo::exists(target));
        }
        QCOMPARE(files(elsewhere.path()), targetExists ? QStringList{"precious.txt"} : QStringList());
    }

    // The free space of the folder is asked before each file: a snapshot that would leave less
    // than the reserve is not written, and says so.
    void freeSpaceIsCheckedFirst_data()
    {
        QTest::addColumn<qint64>("free");
        QTest::addColumn<bool>("written");
        QTest::newRow("unknown") << qint64(-1) << true;
        QTest::newRow("plenty") << qint64(1) << true; // GiB, below
        QTest::newRow("just the reserve") << SnapshotWriter::MIN_FREE_AFTER << false;
        QTest::newRow("none") << qint64(0) << false;
    }
    void freeSpaceIsCheckedFirst()
    {
        QFETCH(qint64, free);
        QFETCH(bool, written);
        if (free == 1)
            free = qint64(1) << 30;
        QTemporaryDir dir;
        ManualClock clock{WALL_START};
        SnapshotWriter writer(clock);
        SnapshotWriter::Settings settings;
        settings.folder = dir.path();
        writer.setSettings(settings);
        QStringList asked;
        writer.setFreeSpace([&](const QString &folder) {
            asked << folder;
            return free;
        });
        writer.start();
        QImage picture(640, 360, QImage::Format_RGB888);
        picture.fill(Qt::darkCyan);
        QCOMPARE(writer.write(picture), written);
        QCOMPARE(asked, QStringList{dir.path()});
        QCOMPARE(files(dir.path()), written ? QStringList{nameAt(0)} : QStringList());
        QCOMPARE(writer.failure(),
                 written ? QString() : QStringLiteral("not enough free space in the snapshot folder"));
    }

    // A disk that fills under the write: the cause is the system's, and no part of the file
    // stays.
    void fullDiskLeavesNothing()
    {
        std::unique_ptr<SmallFileSystem::Mount> small;
        std::unique_ptr<FileSizeLimit> limit;
        QTemporaryDir dir;
        QString folder = dir.path();
        QString cause;
        if (SmallFileSystem::available()) {
            small = std::make_unique<SmallFileSystem::Mount>(256 * 1024);
            QVERIFY(small->isMounted());
            folder = small->path();
            cause = QStringLiteral("No space left on device");
        } else {
            limit = std::make_unique<FileSizeLimit>(64 * 1024);
            QVERIFY(limit->isSet());
            cause = QStringLiteral("File too large");
        }
        ManualClock clock{WALL_START};
        SnapshotWriter writer(clock);
        SnapshotWriter::Settings settings;
        settings.folder = folder;
        writer.setSettings(settings);
        // The space was there when asked; another program took it before the write.
        writer.setFreeSpace([](const QString &) { return qint64(1) << 40; });
        writer.start();
        MessageCapture messages;
        QVERIFY(!writer.write(noise(1280, 720)));
        limit.reset();
        QCOMPARE(writer.failure(), cause);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(
            messages.count(
                QStringLiteral("snapshot write fail %1 %2").arg(QDir(folder).filePath(nameAt(0)), cause)),
            1);
    }

    // On a disk that is nearly full the canvas says so instead of writing the last bytes away.
    void nearlyFullDiskSaysSoOnTheCanvas()
    {
        if (!SmallFileSystem::available())
            QSKIP("no small file system can be mounted here");
        SmallFileSystem::Mount small(2 * 1024 * 1024);
        QVERIFY(small.isMounted());
        TimedCanvas t(small.path());
        t.canvas.resize(640, 360);
        OSDProcessor osd(&t.canvas, nullptr, nullptr, t.clock);
        t.canvas.pipeline()->startSnapshot();
        t.frame();
        QCOMPARE(osd.noticeText(),
                 QStringLiteral("Snapshot not saved: not enough free space in the snapshot folder"));
        QCOMPARE(files(small.path()), QStringList());
        const QImage shown = t.canvas.grab().toImage();
        QVERIFY(QDir().mkpath(QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/safety")));
        shown.save(QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/safety/snapshot-not-saved.png"));
        t.clock.set(OsdNotice::SHOW_MS);
        QCOMPARE(osd.noticeText(), QString());
    }
};

QTEST_MAIN(TestSnapshots)
#include "tst_snapshots.moc"
