#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/media/MediaFramework.h"

#include <QtEndian>
#include <QtTest>

#include <gst/app/gstappsink.h>

#include <cerrno>

namespace {

struct Pipeline
{
    GstElement *pipeline = nullptr;
    GstElement *sink = nullptr;

    Pipeline(SimulatedCamera &camera, const QString &caps)
    {
        pipeline = gst_pipeline_new(nullptr);
        GstElement *source = camera.createVideoElement();
        GstElement *filter = gst_element_factory_make("capsfilter", nullptr);
        sink = gst_element_factory_make("appsink", nullptr);
        GstCaps *wanted = gst_caps_from_string(caps.toUtf8().constData());
        g_object_set(filter, "caps", wanted, nullptr);
        gst_caps_unref(wanted);
        g_object_set(sink, "max-buffers", 2, "drop", TRUE, "sync", FALSE, nullptr);
        gst_bin_add_many(GST_BIN(pipeline), source, filter, sink, nullptr);
        gst_element_link_many(source, filter, sink, nullptr);
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
    }
    ~Pipeline()
    {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
    }
    // The next frame's caps as a string, or empty when none came within the bound.
    QString nextFrameCaps(int timeoutMs = 5000)
    {
        GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink),
                                                         GstClockTime(timeoutMs) * GST_MSECOND);
        if (!sample)
            return {};
        gchar *text = gst_caps_to_string(gst_sample_get_caps(sample));
        const QString result = QString::fromUtf8(text);
        g_free(text);
        gst_sample_unref(sample);
        return result;
    }
    // Takes the frames queued in the sink (at most a few, bounded).
    void drain()
    {
        for (int i = 0; i < 4 && !nextFrameCaps(150).isEmpty(); ++i) { }
    }
    // The first error on the bus within the bound.
    QString error(int timeoutMs = 5000)
    {
        GstBus *bus = gst_element_get_bus(pipeline);
        GstMessage *message = gst_bus_timed_pop_filtered(bus, GstClockTime(timeoutMs) * GST_MSECOND,
                                                         GST_MESSAGE_ERROR);
        gst_object_unref(bus);
        if (!message)
            return {};
        GError *err = nullptr;
        gst_message_parse_error(message, &err, nullptr);
        const QString text = QString::fromUtf8(err->message);
        g_error_free(err);
        gst_message_unref(message);
        return text;
    }
};

} // namespace

class TestSimulatedCamera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    void anySizeAndRate_data()
    {
        QTest::addColumn<QString>("caps");
        QTest::newRow("720p30") << "image/jpeg,width=1280,height=720,framerate=30/1";
        QTest::newRow("odd height at 15") << "image/jpeg,width=1920,height=1081,framerate=15/1";
        QTest::newRow("small") << "image/jpeg,width=160,height=120,framerate=5/1";
    }
    void anySizeAndRate()
    {
        QFETCH(QString, caps);
        auto camera = std::make_shared<SimulatedCamera>();
        Pipeline p(*camera, caps);
        const QString got = p.nextFrameCaps();
        const QStringList wanted = caps.split(',').mid(1);
        for (const QString &field : wanted) {
            const QString key = field.section('=', 0, 0), value = field.section('=', 1);
            QVERIFY2(got.contains(key + "=(int)" + value) || got.contains(key + "=(fraction)" + value),
                     qPrintable(got));
        }
        QVERIFY(got.startsWith("image/jpeg"));
        QVERIFY(camera->framesDelivered() >= 1);
    }

    void sizeNotOfferedFailsToNegotiate()
    {
        auto camera = std::make_shared<SimulatedCamera>();
        camera->setOfferedFormats({FrameSizeOption::discrete(640, 480, {30})});
        Pipeline p(*camera, "image/jpeg,width=1280,height=720");
        QVERIFY(!p.error().isEmpty());
    }

    void stallAndUnplug()
    {
        auto camera = std::make_shared<SimulatedCamera>();
        Pipeline p(*camera, "image/jpeg,width=320,height=240,framerate=30/1");
        QVERIFY(!p.nextFrameCaps().isEmpty());
        camera->setStalled(true);
        p.drain(); // frames already on their way may still arrive
        const int stalledAt = camera->framesDelivered();
        QVERIFY(p.nextFrameCaps(300).isEmpty());
        QCOMPARE(camera->framesDelivered(), stalledAt);
        camera->setStalled(false);
        QVERIFY(!p.nextFrameCaps().isEmpty());

        camera->unplug();
        QCOMPARE(p.error(), QString("The simulated camera was unplugged."));
        // Plugged in again, the old element stays dead like a v4l2src on a vanished node.
        camera->plugIn();
        p.drain();
        QVERIFY(p.nextFrameCaps(300).isEmpty());
    }

    void controls()
    {
        SimulatedCamera camera;
        qint32 value = 0, minimum = 0, maximum = 0;
        QCOMPARE(camera.propertyRange(DeviceProperty::Brightness, &minimum, &maximum), 0);
        QCOMPARE(minimum, SimulatedCamera::BRIGHTNESS_MIN);
        QCOMPARE(maximum, SimulatedCamera::BRIGHTNESS_MAX);
        QCOMPARE(camera.setProperty(DeviceProperty::Brightness, 65, PROPERTY_FLAG_MANUAL), -ERANGE);
        QCOMPARE(camera.property(DeviceProperty::Brightness, &value), 0);
        QCOMPARE(value, 0);
        camera.unplug();
        QCOMPARE(camera.property(DeviceProperty::Brightness, &value), -ENODEV);
    }

    void registersThroughTheExtensionUnit()
    {
        SimulatedCamera camera;
        camera.setRegister(0x7000001C, 2500);
        quint32 address = qToLittleEndian(quint32(0x7000001C));
        QCOMPARE(camera.extensionUnitRequest(true, 19, &address, 4), 0);
        quint32 value = 0;
        QCOMPARE(camera.extensionUnitRequest(false, 20, &value, 4), 0);
        QCOMPARE(qFromLittleEndian(value), 2500u);
        QVERIFY(camera.extensionUnitRequest(true, 20, &value, 4) < 0); // data control is read-only
        QVERIFY(camera.extensionUnitRequest(false, 20, &value, 2) < 0);
    }
};

QTEST_GUILESS_MAIN(TestSimulatedCamera)
#include "tst_simulatedcamera.moc"
