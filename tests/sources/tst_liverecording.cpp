#include "RecordedFiles.h"
#include "SmallFileSystem.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/RecordingJournal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/app/gstappsink.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;
const QRect OUTLINE(80, 60, 160, 120);

struct Recording
{
    bool opened = false;
    QString error;
    double seconds = 0;
    int videoStreams = 0;
    int audioStreams = 0;
    QVector<QImage> frames;  // a few decoded frames from the middle of the film
    double videoSeconds = 0; // the pictures alone: their count over their rate
};

Recording inspect(const QString &path)
{
    Recording r;
    const RecordedFiles::Facts facts = RecordedFiles::discover(path);
    r.opened = facts.opened;
    r.error = facts.error;
    r.seconds = facts.seconds;
    r.videoStreams = facts.videoStreams;
    r.audioStreams = facts.audioStreams;
    GError *error = nullptr;
    if (!r.opened)
        return r;

    // Decode the film's video as it is stored (no clock), keeping every tenth frame.
    const QString description = QStringLiteral(
                                    "filesrc location=\"%1\" ! avidemux ! jpegdec ! videoconvert ! "
                                    "video/x-raw,format=RGBx ! appsink name=out sync=false")
                                    .arg(path);
    GstElement *pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    g_clear_error(&error);
    if (!pipeline)
        return r;
    GstElement *sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    for (int index = 0; index < 400; ++index) {
        GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND);
        if (!sample)
            break;
        int rateNumerator = 0, rateDenominator = 1;
        if (gst_structure_get_fraction(gst_caps_get_structure(gst_sample_get_caps(sample), 0), "framerate",
                                       &rateNumerator, &rateDenominator)
            && rateNumerator > 0)
            r.videoSeconds = double(index + 1) * rateDenominator / rateNumerator;
        if (index % 10 == 5) {
            GstStructure *s = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
            int w = 0, h = 0;
            gst_structure_get_int(s, "width", &w);
            gst_structure_get_int(s, "height", &h);
            GstMapInfo map;
            GstBuffer *buffer = gst_sample_get_buffer(sample);
            if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                r.frames.append(QImage(map.data, w, h, w * 4, QImage::Format_RGBX8888).copy());
                gst_buffer_unmap(buffer, &map);
            }
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return r;
}

int spread(QRgb p)
{
    return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
}

// A live source on the simulated camera at 320 x 240, feeding a canvas.
struct Rig
{
    std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>();
    ImageCanvas canvas;
    LiveSource source{
        std::make_unique<SimulatedBackend>(camera), canvas.pipeline(), WIDTH, HEIGHT, WIDTH, HEIGHT};

    bool waitOpen()
    {
        return QTest::qWaitFor([this] { return source.isOpen(); }, 8000)
            && QTest::qWaitFor(
                   [this] { return canvas.pipeline()->lastArrivalMs() != FramePipeline::NO_ARRIVAL; }, 5000);
    }
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Full disks are made as a tmpfs in a mount namespace of the test's own, where allowed.
const bool PRIVATE_MOUNTS = SmallFileSystem::enterPrivateMounts();

} // namespace

// The whole live path: simulated camera → grabber → canvas (black and white, a red rectangle
// drawn) → recording slots → record grabber → AVI file, and the file read back.
class TestLiveRecording : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    void recordsProcessedFrames_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("stopRecording") << "stop";
        QTest::newRow("camera unplugged mid-recording") << "unplug";
        QTest::newRow("close") << "close";
    }
    void recordsProcessedFrames()
    {
        QFETCH(QString, ending);
        auto camera = std::make_shared<SimulatedCamera>();
        camera->setPattern("white"); // a light grey page once compressed (limited-range white)
        ImageCanvas canvas;
        canvas.resize(640, 480);
        canvas.pipeline()->setEffect(EFFECT_BW);
        LiveSource source(std::make_unique<SimulatedBackend>(camera), canvas.pipeline(), WIDTH, HEIGHT, WIDTH,
                          HEIGHT);
        QSignalSpy plugIn(&source, &LiveSource::devicePlugIn);
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 8000);
        // The layer is made with the first frame processed on this thread.
        QTRY_VERIFY_WITH_TIMEOUT(canvas.pipeline()->annotationLayer().size() == QSize(WIDTH, HEIGHT), 5000);
        canvas.pipeline()->drawOnLayer([](QPainter &painter) {
            painter.setPen(QPen(Qt::red, 6));
            painter.drawRect(OUTLINE);
        });
        QCOMPARE(canvas.pipeline()->annotationLayer().pixel(OUTLINE.topLeft()), QColor(Qt::red).rgb());

        const QString path = m_dir.filePath(ending + ".avi");
        QElapsedTimer recording;
        recording.start();
        source.startRecording(path);
        QTest::qWait(3000);
        if (ending == "unplug") {
            // The supervision ends the recording a while after the camera went silent: the
            // file keeps the last picture up to that stop, as long as its sound.
            camera->unplug();
            QTest::qWait(2000);
            source.stopRecording(); // as the frame-timing supervision does before closing
            source.close();
        } else if (ending == "close") {
            source.close();
        } else {
            source.stopRecording();
        }
        const double recorded = double(recording.elapsed()) / 1000.0;

        const Recording r = inspect(path);
        QVERIFY2(r.opened, qPrintable(r.error));
        QCOMPARE(r.videoStreams, 1);
        QCOMPARE(r.audioStreams, 1);
        // The file starts with the first frame after the branch joined, a little after the
        // start, and its pictures, like its sound, end at the stop.
        for (double seconds : {r.seconds, r.videoSeconds})
            QVERIFY2(seconds > recorded - 0.6 && seconds < recorded + 0.2,
                     qPrintable(QStringLiteral("%1 s recorded, %2 s in the file, %3 s of pictures")
                                    .arg(recorded)
                                    .arg(r.seconds)
                                    .arg(r.videoSeconds)));
        QVERIFY(r.frames.size() >= 3);
        for (const QImage &frame : r.frames) {
            QCOMPARE(frame.size(), QSize(WIDTH, HEIGHT));
            int coloured = 0;
            for (int y = 0; y < frame.height(); y += 2)
                for (int x = 0; x < frame.width(); x += 2)
                    coloured += spread(frame.pixel(x, y)) > 24;
            QVERIFY2(coloured == 0, "a recorded frame is not grey");
            // The outline is darker than the white page inside and outside it.
            const QPoint onLeftEdge(OUTLINE.left(), OUTLINE.center().y());
            const QPoint onTopEdge(OUTLINE.center().x(), OUTLINE.top());
            for (const QPoint &p : {onLeftEdge, onTopEdge})
                QVERIFY2(qGray(frame.pixel(p)) < 170, qPrintable(QString::number(qGray(frame.pixel(p)))));
            QVERIFY(qGray(frame.pixel(OUTLINE.center())) > 200);
            QVERIFY(qGray(frame.pixel(20, 20)) > 200);
        }
    }

    // A link named like the recording, to a file outside the folder: the recording replaces the
    // link and the file it pointed at stays as it was (a dangling link makes no file elsewhere).
    void outputNeverFollowsLinks_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("link to a file elsewhere") << true;
        QTest::newRow("dangling link into another folder") << false;
    }
    void outputNeverFollowsLinks()
    {
        QFETCH(bool, targetExists);
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("precious.txt");
        const QByteArray precious("the user's own words\n");
        if (targetExists)
            QVERIFY(writeFile(target, precious));
        const QString path = folder.filePath("2026-12-07_09-30-05.avi");
        QVERIFY(QFile::link(target, path));

        Rig rig;
        QVERIFY(rig.waitOpen());
        QString error;
        QVERIFY2(rig.source.startRecording(path, &error), qPrintable(error));
        QTest::qWait(1500);
        rig.source.stopRecording();

        QVERIFY(!QFileInfo(path).isSymLink());
        QString why;
        QVERIFY2(RecordedFiles::finished(path, &why), qPrintable(why));
        if (targetExists) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), precious);
        }
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
                 targetExists ? QStringList{"precious.txt"} : QStringList());
    }

    // A folder that cannot take the file is found before the live graph is touched: the start
    // fails with the system's cause and the preview runs on.
    void unwritableFolderLeavesThePreviewAlone_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("folder not writable") << "none";
        QTest::newRow("a link of the name that cannot be removed") << "link";
    }
    void unwritableFolderLeavesThePreviewAlone()
    {
        QFETCH(QString, entry);
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("precious.txt");
        QVERIFY(writeFile(target, "kept"));
        std::unique_ptr<SmallFileSystem::Mount> small;
        QTemporaryDir plain;
        QString folder = plain.path();
        QString cause;
        if (SmallFileSystem::available()) {
            small = std::make_unique<SmallFileSystem::Mount>(1024 * 1024);
            QVERIFY(small->isMounted());
            folder = small->path();
            cause = "Read-only file system";
        } else if (::geteuid() != 0) {
            cause = "Permission denied";
        } else {
            QSKIP("a folder root cannot write needs a mount here");
        }
        const QString path = QDir(folder).filePath("2026-12-07_09-30-05.avi");
        if (entry == "link")
            QVERIFY(QFile::link(target, path));
        if (small)
            QVERIFY(small->makeReadOnly());
        else
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

        Rig rig;
        QVERIFY(rig.waitOpen());
        const QString caps = rig.source.captureCaps();
        const qint64 arrival = rig.canvas.pipeline()->lastArrivalMs();
        QString error;
        QVERIFY(!rig.source.startRecording(path, &error));
        QCOMPARE(error, cause);
        QVERIFY(rig.source.isOpen());
        QCOMPARE(rig.source.captureCaps(), caps);
        QVERIFY(QTest::qWaitFor([&] { return rig.canvas.pipeline()->lastArrivalMs() > arrival; }, 3000));
        QCOMPARE(QFileInfo(path).isSymLink(), entry == "link");
        QCOMPARE(readFile(target), QByteArray("kept"));
        if (!small)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The disk fills under the recording: the failure is reported once, the preview keeps
    // running, and the stopped recording is a finished file of what fitted.
    void writerFailureKeepsThePreviewAndFinishesTheFile()
    {
        std::unique_ptr<SmallFileSystem::Mount> small;
        std::unique_ptr<FileSizeLimit> limit;
        QTemporaryDir plain;
        QString folder = plain.path();
        if (SmallFileSystem::available()) {
            small = std::make_unique<SmallFileSystem::Mount>(1536 * 1024);
            QVERIFY(small->isMounted());
            folder = small->path();
        }
        const QString path = QDir(folder).filePath("2026-12-07_09-30-05.avi");
        Rig rig;
        QVERIFY(rig.waitOpen());
        QSignalSpy failed(&rig.source, &LiveSource::recordingFailed);
        if (!small)
            limit = std::make_unique<FileSizeLimit>(1536 * 1024);
        QVERIFY(rig.source.startRecording(path));
        QVERIFY(failed.wait(20000));
        const qint64 arrival = rig.canvas.pipeline()->lastArrivalMs();
        QVERIFY(
            QTest::qWaitFor([&] { return rig.canvas.pipeline()->lastArrivalMs() > arrival + 500; }, 3000));
        QCOMPARE(failed.count(), 1);
        QVERIFY(!failed.first().first().toString().isEmpty());
        rig.source.stopRecording();
        limit.reset();

        QString why;
        QVERIFY2(RecordedFiles::finished(path, &why), qPrintable(why));
        const RecordedFiles::Facts facts = RecordedFiles::discover(path);
        QVERIFY2(facts.opened, qPrintable(facts.error));
        QVERIFY2(facts.seconds > 0.5, qPrintable(QString::number(facts.seconds)));
        QVERIFY(!QFileInfo::exists(RecordingJournal::journalPath(path)));
        QVERIFY(rig.source.isOpen());
    }
};

QTEST_MAIN(TestLiveRecording)
#include "tst_liverecording.moc"
