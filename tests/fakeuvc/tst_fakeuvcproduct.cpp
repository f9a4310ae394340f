#include "FakeUvcTest.h"
#include "sources/devices/v4l2/SysfsVideoScanner.h"
#include "sources/devices/v4l2/UvcDescriptorParser.h"
#include "sources/devices/v4l2/V4l2Backend.h"
#include "sources/devices/v4l2/V4l2DeviceFilter.h"
#include "sources/devices/v4l2/V4l2Io.h"
#include "sources/media/GstRef.h"

#include <QtTest>

#include <gst/gst.h>

#include <cstring>

using namespace fakeuvctest;

// The program's own device search and camera controls on the fake camera, with the real
// /sys paths and the real system calls: nothing here is injected.
class TestFakeUvcProduct : public QObject
{
    Q_OBJECT

    static std::unique_ptr<DeviceFilter> takeDocumentCamera(V4l2Backend &backend)
    {
        for (const DeviceMoniker &moniker : backend.enumerate(DeviceCategory::VideoInput)) {
            if (moniker.displayName.contains("vid_04fc"))
                return moniker.bind();
        }
        return nullptr;
    }

private slots:
    void initTestCase() { gst_init(nullptr, nullptr); }

    void init()
    {
        QCOMPARE(command("eacces off"), 0);
        QCOMPARE(command("replug 0"), 0);
    }

    void scannerFindsTheUsbIds()
    {
        const QVector<SysfsVideoNode> nodes = SysfsVideoScanner(QStringLiteral("/sys")).nodes();
        QCOMPARE(nodes.size(), 4);
        QCOMPARE(nodes[0].devicePath, QStringLiteral("/dev/video0"));
        QCOMPARE(nodes[0].usbDevicePath, QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1"));
        QCOMPARE(nodes[0].vid, quint16(0x04fc));
        QCOMPARE(nodes[0].pid, quint16(0x5330));
        QCOMPARE(nodes[0].displayName(), QStringLiteral("v4l2:/dev/video0 usb#vid_04fc&pid_5330"));
        QCOMPARE(nodes[1].vid, quint16(0x04fc)); // the metadata node hangs off the same device
        QCOMPARE(nodes[2].displayName(), QStringLiteral("v4l2:/dev/video2 usb#vid_abcd&pid_1234"));
        QCOMPARE(UvcDescriptorParser::findExtensionUnitInFile(nodes[0].usbDevicePath + "/descriptors",
                                                              UvcDescriptorParser::vendorExtensionGuid()),
                 4);
    }

    void backendListsCaptureNodesOnly()
    {
        V4l2Backend backend;
        QStringList names;
        for (const DeviceMoniker &moniker : backend.enumerate(DeviceCategory::VideoInput))
            names << moniker.displayName;
        QCOMPARE(names,
                 QStringList(
                     {"v4l2:/dev/video0 usb#vid_04fc&pid_5330", "v4l2:/dev/video2 usb#vid_abcd&pid_1234"}));
    }

    void controlsAndExtensionUnit()
    {
        V4l2Backend backend;
        std::unique_ptr<DeviceFilter> camera = takeDocumentCamera(backend);
        QVERIFY(camera);
        QVERIFY(camera->hasPropertyControl());
        QVERIFY(camera->hasVideoProcAmp());
        QVERIFY(camera->hasCameraControl());

        qint32 minimum = 0, maximum = 0, value = 0;
        QCOMPARE(camera->getPropertyRange(DeviceProperty::Brightness, &minimum, &maximum), 0);
        QCOMPARE(minimum, -64);
        QCOMPARE(maximum, 64);
        QCOMPARE(camera->setProperty(DeviceProperty::Brightness, 100, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(camera->getProperty(DeviceProperty::Brightness, &value), 0);
        QCOMPARE(value, 64);
        QCOMPARE(camera->setProperty(DeviceProperty::PowerLineFrequency, 2, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(camera->getProperty(DeviceProperty::PowerLineFrequency, &value), 0);
        QCOMPARE(value, 2);
        QCOMPARE(camera->setProperty(DeviceProperty::Focus, 100, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(camera->getProperty(DeviceProperty::Focus, &value), 0);
        QCOMPARE(value, 100);
        QCOMPARE(camera->setProperty(DeviceProperty::Focus, 0, PROPERTY_FLAG_AUTO), 0);

        // The zoom position register: address through control 19, value through control 20.
        quint32 address = 0x70000024;
        QCOMPARE(camera->extensionUnitRequest(true, 19, &address, sizeof address), 0);
        quint32 zoom = 0;
        QCOMPARE(camera->extensionUnitRequest(false, 20, &zoom, sizeof zoom), 0);
        QCOMPARE(zoom, 100u);
    }

    // The camera takes a request only at the control's own length (8 bytes for the firmware
    // name, 4 for the registers): a caller's buffer of another size is cut or padded to it,
    // and a read hands back what fits, the rest of a longer buffer left as it was.
    void extensionUnitRequestAtAnyLength_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("shorter") << 3;
        QTest::newRow("the control's length") << 8;
        QTest::newRow("longer") << 12;
    }
    void extensionUnitRequestAtAnyLength()
    {
        QFETCH(int, size);
        V4l2Backend backend;
        std::unique_ptr<DeviceFilter> camera = takeDocumentCamera(backend);
        QVERIFY(camera);
        QByteArray firmware(size, char(0x55));
        QCOMPARE(camera->extensionUnitRequest(false, 1, firmware.data(), quint32(size)), 0);
        const QByteArray expected = QByteArray("FW1.20\0\0", 8).left(size)
            + QByteArray(qMax(0, size - 8), char(0x55));
        QCOMPARE(firmware, expected);

        // A register address written from a longer buffer (its first four bytes count), the
        // zoom position read into two bytes.
        QByteArray address(size, char(0x7f));
        const quint32 zoomRegister = 0x70000024;
        std::memcpy(address.data(), &zoomRegister, size_t(qMin(size, 4)));
        if (size >= 4) {
            QCOMPARE(camera->extensionUnitRequest(true, 19, address.data(), quint32(size)), 0);
            quint16 zoom = 0;
            QCOMPARE(camera->extensionUnitRequest(false, 20, &zoom, sizeof zoom), 0);
            QCOMPARE(zoom, quint16(100));
        }
    }

    void formatsCarryTheCameraRates()
    {
        V4l2Backend backend;
        std::unique_ptr<DeviceFilter> camera = takeDocumentCamera(backend);
        QVERIFY(camera);
        const QVector<FrameSizeOption> options = camera->captureFormats();
        QCOMPARE(options.size(), 5);
        QCOMPARE(options[0].minWidth, 640);
        QCOMPARE(options[4].maxHeight, 2448);
        // The fractions as uvcvideo reduces the camera's intervals, unchanged.
        QCOMPARE(options[0].rates,
                 QVector<FrameRate>(
                     {FrameRate(30), FrameRate(30060, 1003), FrameRate(15), FrameRate(10000, 1001)}));
        QCOMPARE(options[4].rates, QVector<FrameRate>({FrameRate(15), FrameRate(10000, 1001)}));
        const CaptureMode mode = camera->currentFormat();
        QCOMPARE(mode.width, 640);
        QCOMPARE(mode.rateNumerator, 30);
        QCOMPARE(mode.rateDenominator, 1);
    }

    void unplugAndReplug()
    {
        V4l2Backend backend;
        QCOMPARE(backend.enumerate(DeviceCategory::VideoInput).size(), size_t(2));
        QCOMPARE(command("unplug"), 0);
        const std::vector<DeviceMoniker> left = backend.enumerate(DeviceCategory::VideoInput);
        QCOMPARE(left.size(), size_t(1));
        QVERIFY(left[0].displayName.contains("vid_abcd"));
        QCOMPARE(command("replug"), 0);
        QVERIFY(takeDocumentCamera(backend));
    }

    void permissionIsTheSystemCallsAnswer()
    {
        QCOMPARE(command("eacces on"), 0);
        V4l2Io io;
        QCOMPARE(io.openDevice(QStringLiteral("/dev/video0")), -EACCES);
        QCOMPARE(command("eacces off"), 0);
        const int fd = io.openDevice(QStringLiteral("/dev/video0"));
        QVERIFY(fd >= 0);
        io.closeDevice(fd);
    }
    // The camera's own v4l2src element streams in this process while the program keeps its
    // control handle open, as the live source does. Last: GStreamer 1.22's v4l2src never
    // finalizes once its buffers were orphaned (uvcvideo allows that), so its descriptor
    // keeps the node number taken for the rest of the process.
    void elementStreamsBesideTheControlHandle()
    {
        V4l2Backend backend;
        std::unique_ptr<DeviceFilter> camera = takeDocumentCamera(backend);
        QVERIFY(camera);
        GstRef<GstElement> pipeline(gst_pipeline_new(nullptr));
        GstElement *source = camera->createElement();
        QVERIFY(source);
        g_object_set(source, "num-buffers", 10, nullptr);
        GstElement *filter = gst_element_factory_make("capsfilter", nullptr);
        GstRef<GstCaps> caps(gst_caps_from_string("image/jpeg,width=1280,height=720,framerate=30/1"));
        g_object_set(filter, "caps", caps.get(), nullptr);
        GstElement *decoder = gst_element_factory_make("jpegdec", nullptr);
        GstElement *sink = gst_element_factory_make("fakesink", nullptr);
        gst_bin_add_many(GST_BIN(pipeline.get()), source, filter, decoder, sink, nullptr);
        QVERIFY(gst_element_link_many(source, filter, decoder, sink, nullptr));
        QVERIFY(gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE);
        qint32 value = 0;
        QCOMPARE(camera->setProperty(DeviceProperty::Brightness, 20, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(camera->getProperty(DeviceProperty::Brightness, &value), 0);
        GstRef<GstBus> bus(gst_element_get_bus(pipeline.get()));
        GstRef<GstMessage> message(gst_bus_timed_pop_filtered(
            bus.get(), 10 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
        QVERIFY(message);
        QCOMPARE(GST_MESSAGE_TYPE(message.get()), GST_MESSAGE_EOS);
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        QCOMPARE(value, 20);
    }
};

int main(int argc, char **argv)
{
    ensurePreloaded(argv,
                    {{"FAKEUVC_CAMERAS", "name=USB Document Camera;vid=abcd,pid=1234,name=Other Webcam"}});
    QCoreApplication app(argc, argv);
    TestFakeUvcProduct test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakeuvcproduct.moc"
