#include "RecordedFiles.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <gst/app/gstappsink.h>

#include <cstdlib>

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
    QVector<QImage> frames; // a few decoded frames from the middle of the film
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
        source.startRecording(path);
        QTest::qWait(3000);
        if (ending == "unplug") {
            camera->unplug();
            QTest::qWait(300);
            source.stopRecording(); // as the frame-timing supervision does before closing
            source.close();
        } else if (ending == "close") {
            source.close();
        } else {
            source.stopRecording();
        }

        const Recording r = inspect(path);
        QVERIFY2(r.opened, qPrintable(r.error));
        QCOMPARE(r.videoStreams, 1);
        QCOMPARE(r.audioStreams, 1);
        QVERIFY2(r.seconds > 2.0 && r.seconds < 4.5, qPrintable(QString::number(r.seconds)));
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
};

QTEST_MAIN(TestLiveRecording)
#include "tst_liverecording.moc"
