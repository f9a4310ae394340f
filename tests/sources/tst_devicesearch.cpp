#include "FakeV4l2Io.h"
#include "MessageCapture.h"
#include "sources/devices/UsbDeviceId.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/devices/v4l2/GstAudioInputFilter.h"
#include "sources/devices/v4l2/SysfsVideoScanner.h"
#include "sources/devices/v4l2/UvcDescriptorParser.h"
#include "sources/devices/v4l2/V4l2Backend.h"
#include "sources/live/CaptureDeviceSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <linux/videodev2.h>

namespace {

// One video4linux node of a sysfs fixture and how its fake device answers.
struct NodeFixture
{
    QString name;    // "video0"
    quint16 vid = 0; // with pid: the USB device above the node; both 0 = not on USB
    quint16 pid = 0;
    bool metadata = false; // the second node a uvcvideo camera creates
    QByteArray driver = "uvcvideo";
    bool brightness = true;
    int openError = 0;
    int streamError = 0;  // what asking for buffers answers: -EBUSY while another program streams
    bool builtIn = false; // the USB device says "fixed" in "removable": a laptop's own camera
};

// An audio input as a sound server describes it to GStreamer's device monitor.
struct AudioFixture
{
    QString label;
    QString vendor; // device.vendor.id as the server writes it; empty: not USB
    QString product;
    QString deviceClass = "sound";
    bool isDefault = false;
};

} // namespace

Q_DECLARE_METATYPE(NodeFixture)
Q_DECLARE_METATYPE(AudioFixture)

namespace {

// Builds a sysfs tree as the kernel lays it out: the class link points at the node under the
// USB interface, the node's "device" link at the interface, ids on the USB device above.
void buildFixture(const QString &root, const QVector<NodeFixture> &entries, FakeV4l2Io *io)
{
    QDir(root).mkpath(QStringLiteral("class/video4linux"));
    int port = 1;
    for (const NodeFixture &entry : entries) {
        QString deviceDir;
        if (entry.vid || entry.pid) {
            const QString usb = QStringLiteral("devices/pci0000:00/0000:00:14.0/usb1/1-%1").arg(port++);
            QDir(root).mkpath(usb);
            auto write = [&](const QString &file, const QByteArray &text) {
                QFile f(root + QLatin1Char('/') + usb + QLatin1Char('/') + file);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(text);
            };
            write(QStringLiteral("idVendor"),
                  QByteArray::number(entry.vid, 16).rightJustified(4, '0') + '\n');
            write(QStringLiteral("idProduct"),
                  QByteArray::number(entry.pid, 16).rightJustified(4, '0') + '\n');
            write(QStringLiteral("removable"), entry.builtIn ? "fixed\n" : "removable\n");
            deviceDir = usb + QStringLiteral("/1-%1:1.0").arg(port - 1);
        } else {
            deviceDir = QStringLiteral("devices/platform/vivid.%1").arg(entry.name);
        }
        const QString nodeDir = deviceDir + QStringLiteral("/video4linux/") + entry.name;
        QDir(root).mkpath(nodeDir);
        QFile index(root + QLatin1Char('/') + nodeDir + QStringLiteral("/index"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write(entry.metadata ? "1\n" : "0\n");
        index.close();
        QVERIFY(QFile::link(root + QLatin1Char('/') + deviceDir,
                            root + QLatin1Char('/') + nodeDir + QStringLiteral("/device")));
        QVERIFY(QFile::link(root + QLatin1Char('/') + nodeDir,
                            root + QStringLiteral("/class/video4linux/") + entry.name));

        FakeV4l2Io::Node node;
        node.openError = entry.openError;
        node.streamError = entry.streamError;
        node.driver = entry.driver;
        node.deviceCaps = entry.metadata ? V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING
                                         : V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        if (entry.brightness)
            node.controls.insert(V4L2_CID_BRIGHTNESS, {-64, 64, 0, 0});
        io->nodes.insert(QStringLiteral("/dev/") + entry.name, node);
    }
}

QByteArray descriptorsWithUnits(const QVector<QPair<int, QByteArray>> &units, quint8 interfaceClass = 0x0E,
                                quint8 interfaceSubclass = 0x01)
{
    QByteArray d;
    d += QByteArray::fromHex("12010002EF020140FC04305300010102"
                             "0001");               // device
    d += QByteArray::fromHex("0902A10102010080FA"); // configuration
    d += QByteArray::fromHex("080B00020E030000");   // interface association
    QByteArray iface = QByteArray::fromHex("09040000010"
                                           "1"
                                           "000000");
    iface[5] = char(interfaceClass);
    iface[6] = char(interfaceSubclass);
    d += iface;
    d += QByteArray::fromHex("0C24010001330080C3C90101"); // VideoControl header
    for (const auto &unit : units) {
        QByteArray xu;
        xu += char(27);   // bLength
        xu += char(0x24); // CS_INTERFACE
        xu += char(0x06); // VC_EXTENSION_UNIT
        xu += char(unit.first);
        xu += unit.second; // guidExtensionCode
        xu += QByteArray::fromHex("10010201FF0300");
        d += xu;
    }
    d += QByteArray::fromHex("0904010001"
                             "0E02"
                             "0000"); // a VideoStreaming interface
    return d;
}

} // namespace

class TestDeviceSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { gst_init(nullptr, nullptr); }

    void parseVidPid_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::newRow("display name") << "v4l2:/dev/video0 usb#vid_04fc&pid_5330" << 0x04FC << 0x5330;
        QTest::newRow("first occurrence") << "vid_04fc&pid_2089 vid_1111&pid_2222" << 0x04FC << 0x2089;
        QTest::newRow("upper case tags") << "USB#VID_04FC&PID_5330" << 0 << 0;
        QTest::newRow("not hexadecimal") << "vid_04fg&pid_53 0" << 0 << 0;
        QTest::newRow("cut short") << "pid_5330 vid_04f" << 0 << 0x5330;
        QTest::newRow("sign is not a digit") << "vid_+4fc&pid_-330" << 0 << 0;
        QTest::newRow("no tags") << "v4l2:/dev/video3" << 0 << 0;
    }
    void parseVidPid()
    {
        QFETCH(QString, name);
        quint16 vid = 1, pid = 1;
        UsbDeviceId::parseVidPid(name, &vid, &pid);
        QTEST(int(vid), "vid");
        QTEST(int(pid), "pid");
    }

    void isSupportedDevice_data()
    {
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<bool>("supported");
        QTest::newRow("listed 5330") << 0x04FC << 0x5330 << true;
        QTest::newRow("low byte ignored 53FF") << 0x04FC << 0x53FF << true;
        QTest::newRow("6339") << 0x04FC << 0x6339 << true;
        QTest::newRow("26xx") << 0x04FC << 0x2601 << true;
        QTest::newRow("2089") << 0x04FC << 0x2089 << true;
        QTest::newRow("high byte differs 5430") << 0x04FC << 0x5430 << false;
        QTest::newRow("other vendor") << 0x046D << 0x5330 << false;
        QTest::newRow("table end is no match") << 0 << 0 << false;
    }
    void isSupportedDevice()
    {
        QFETCH(int, vid);
        QFETCH(int, pid);
        QTEST(UsbDeviceId::isSupportedDevice(quint16(vid), quint16(pid)), "supported");
    }

    void videoSearch_data()
    {
        QTest::addColumn<QVector<NodeFixture>>("nodes");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("opened"); // nodes the search opened, in order
        QTest::addColumn<int>("problem");

        QTest::newRow("supported camera among others")
            << QVector<NodeFixture>{{"video0", 0x046D, 0x0825},
                                    {"video1", 0x046D, 0x0825, true},
                                    {"video2", 0x04FC, 0x5330},
                                    {"video3", 0x04FC, 0x5330, true}}
            << "v4l2:/dev/video2 usb#vid_04fc&pid_5330"
            << QStringList{"Done with index 1, USB VID_04FC&PID_5330"}
            << QStringList{"/dev/video2", "/dev/video3", "/dev/video2"} << 0;
        QTest::newRow("metadata and non-USB nodes passed over")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x5330, true},
                                    {"video1", 0, 0},
                                    {"video10", 0x04FC, 0x53FF},
                                    {"video2", 0x1234, 0x5678}}
            << "v4l2:/dev/video10 usb#vid_04fc&pid_53ff"
            << QStringList{"Done with index 2, USB VID_04FC&PID_53FF"}
            << QStringList{"/dev/video0", "/dev/video10", "/dev/video10"} << 0;
        QTest::newRow("another maker's camera alone is taken")
            << QVector<NodeFixture>{{"video0", 0x1778, 0xD021}, {"video1", 0x1778, 0xD021, true}}
            << "v4l2:/dev/video0 usb#vid_1778&pid_d021"
            << QStringList{"Done with index 0, USB VID_1778&PID_D021"} << QStringList{"/dev/video0"} << 0;
        QTest::newRow("vendor camera after a webcam still taken first")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x5430}, {"video2", 0x04FC, 0x6330}}
            << "v4l2:/dev/video2 usb#vid_04fc&pid_6330"
            << QStringList{"Done with index 1, USB VID_04FC&PID_6330"}
            << QStringList{"/dev/video2", "/dev/video2"} << 0;
        QTest::newRow("laptop's own camera after an external one")
            << QVector<NodeFixture>{{"video0", 0x0BDA, 0x58F4, false, "uvcvideo", true, 0, 0, true},
                                    {"video2", 0x1778, 0xD021}}
            << "v4l2:/dev/video2 usb#vid_1778&pid_d021"
            << QStringList{"Done with index 1, USB VID_1778&PID_D021"} << QStringList{"/dev/video2"} << 0;
        QTest::newRow("laptop's own camera when nothing else is there")
            << QVector<NodeFixture>{{"video0", 0x0BDA, 0x58F4, false, "uvcvideo", true, 0, 0, true}}
            << "v4l2:/dev/video0 usb#vid_0bda&pid_58f4"
            << QStringList{"Done with index 0, USB VID_0BDA&PID_58F4"} << QStringList{"/dev/video0"} << 0;
        QTest::newRow("not on USB: never taken")
            << QVector<NodeFixture>{{"video0", 0, 0}} << QString() << QStringList() << QStringList() << 0;
        QTest::newRow("not uvcvideo: cancelled, next taken")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x5330, false, "vivid"}, {"video2", 0x04FC, 0x6330}}
            << "v4l2:/dev/video2 usb#vid_04fc&pid_6330"
            << QStringList{"Done with index 0, USB VID_04FC&PID_5330", "cancelled",
                           "Done with index 1, USB VID_04FC&PID_6330"}
            << QStringList{"/dev/video0", "/dev/video2", "/dev/video0", "/dev/video2"} << 0;
        QTest::newRow("no brightness control")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x2620, false, "uvcvideo", false}} << QString()
            << QStringList{"Done with index 0, USB VID_04FC&PID_2620"}
            << QStringList{"/dev/video0", "/dev/video0"} << 0;
        QTest::newRow("no permission")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x5330, false, "uvcvideo", true, -EACCES},
                                    {"video1", 0x04FC, 0x5330, true, "uvcvideo", true, -EACCES}}
            << QString() << QStringList() << QStringList() << -EACCES;
        QTest::newRow("in use by another program")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x5330, false, "uvcvideo", true, 0, -EBUSY},
                                    {"video1", 0x04FC, 0x5330, true}}
            << QString() << QStringList() << QStringList{"/dev/video0", "/dev/video1"} << -EBUSY;
        QTest::newRow("a usable camera beside one in use")
            << QVector<NodeFixture>{{"video0", 0x04FC, 0x5330, false, "uvcvideo", true, 0, -EBUSY},
                                    {"video2", 0x04FC, 0x6330}}
            << "v4l2:/dev/video2 usb#vid_04fc&pid_6330"
            << QStringList{"Done with index 1, USB VID_04FC&PID_6330"}
            << QStringList{"/dev/video0", "/dev/video2", "/dev/video2"} << 0;
        QTest::newRow("no nodes") << QVector<NodeFixture>{} << QString() << QStringList() << QStringList()
                                  << 0;
    }
    void videoSearch()
    {
        QFETCH(QVector<NodeFixture>, nodes);
        QTemporaryDir dir;
        auto io = std::make_shared<FakeV4l2Io>();
        buildFixture(dir.path() + "/sys", nodes, io.get());
        V4l2Backend backend(dir.path() + "/sys", io);

        MessageCapture messages;
        CaptureDeviceSearch::Problem problem;
        const std::unique_ptr<DeviceFilter> filter = CaptureDeviceSearch::enumCaptureFilter(
            &backend, DeviceCategory::VideoInput, &problem);
        QFETCH(QString, taken);
        QCOMPARE(filter ? filter->displayName() : QString(), taken);
        QTEST(messages.messages().filter(QRegularExpression("^(Done with|cancelled)")), "lines");
        // Other cameras' nodes are never opened: a check twice a second would keep them awake.
        QTEST(io->openedPaths, "opened");
        QTEST(problem.error, "problem");
        QCOMPARE(problem.location, problem.error ? QString("/dev/video0") : QString());
    }

    void scannerFindsUsbDeviceAboveNode()
    {
        QTemporaryDir dir;
        FakeV4l2Io io;
        buildFixture(dir.path() + "/sys", {{"video0", 0x04FC, 0x2089}, {"video1", 0, 0}}, &io);
        const QVector<SysfsVideoNode> nodes = SysfsVideoScanner(dir.path() + "/sys").nodes();
        QCOMPARE(nodes.size(), 2);
        QCOMPARE(nodes[0].usbDevicePath,
                 QFileInfo(dir.path() + "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1").canonicalFilePath());
        QCOMPARE(nodes[0].displayName(), QString("v4l2:/dev/video0 usb#vid_04fc&pid_2089"));
        QVERIFY(nodes[1].usbDevicePath.isEmpty());
        QCOMPARE(nodes[1].displayName(), QString("v4l2:/dev/video1"));
    }

    void usbIdForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("id");
        QTest::newRow("PulseAudio") << "04fc"
                                    << "04fc";
        QTest::newRow("PipeWire") << "0x04fc"
                                  << "04fc";
        QTest::newRow("upper case") << "0X04FC"
                                    << "04fc";
        QTest::newRow("short") << "0x4fc"
                               << "04fc";
        QTest::newRow("too long") << "0x104fc"
                                  << "";
        QTest::newRow("not hexadecimal") << "04fg"
                                         << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void usbIdForms()
    {
        QFETCH(QString, text);
        QTEST(GstAudioInputFilter::usbId(text), "id");
    }

    // The microphone a recording takes, from the devices as the sound servers list them: never
    // the camera's own, never a monitor of an output, the system's default input first.
    void audioChoice_data()
    {
        QTest::addColumn<QVector<AudioFixture>>("devices");
        QTest::addColumn<QStringList>("order");
        const AudioFixture monitor{"Monitor of Built-in Audio Analog Stereo", "", "", "monitor"};
        const AudioFixture cameraPulse{"USB Document Camera Analog Mono", "04fc", "5330"};
        const AudioFixture cameraPipeWire{"USB Document Camera Mono", "0x04fc", "0x5330"};
        const AudioFixture builtIn{"Built-in Audio Analog Stereo", "", ""};
        const AudioFixture headset{"USB Headset Mono", "0x046d", "0x0a44"};
        AudioFixture defaultBuiltIn = builtIn;
        defaultBuiltIn.isDefault = true;
        AudioFixture defaultCamera = cameraPipeWire;
        defaultCamera.isDefault = true;
        AudioFixture defaultMonitor = monitor;
        defaultMonitor.isDefault = true;
        QTest::newRow("PulseAudio: monitor first, default built-in")
            << QVector<AudioFixture>{monitor, cameraPulse, headset, defaultBuiltIn}
            << QStringList{"audio:Built-in Audio Analog Stereo",
                           "audio:USB Headset Mono usb#vid_046d&pid_0a44"};
        QTest::newRow("PipeWire: the camera's own is the default")
            << QVector<AudioFixture>{defaultCamera, builtIn, headset}
            << QStringList{"audio:Built-in Audio Analog Stereo",
                           "audio:USB Headset Mono usb#vid_046d&pid_0a44"};
        QTest::newRow("a monitor as the default is still no microphone")
            << QVector<AudioFixture>{defaultMonitor, headset}
            << QStringList{"audio:USB Headset Mono usb#vid_046d&pid_0a44"};
        QTest::newRow("only the camera and a monitor")
            << QVector<AudioFixture>{cameraPipeWire, monitor} << QStringList();
        QTest::newRow("no default: the system's order")
            << QVector<AudioFixture>{headset, builtIn}
            << QStringList{"audio:USB Headset Mono usb#vid_046d&pid_0a44",
                           "audio:Built-in Audio Analog Stereo"};
    }
    void audioChoice()
    {
        QFETCH(QVector<AudioFixture>, devices);
        std::vector<DeviceMoniker> monikers;
        for (const AudioFixture &device : devices) {
            GstStructure *properties = gst_structure_new(
                "pulse-proplist", "device.class", G_TYPE_STRING, device.deviceClass.toUtf8().constData(),
                "is-default", G_TYPE_BOOLEAN, gboolean(device.isDefault), nullptr);
            if (!device.vendor.isEmpty())
                gst_structure_set(properties, "device.vendor.id", G_TYPE_STRING,
                                  device.vendor.toUtf8().constData(), "device.product.id", G_TYPE_STRING,
                                  device.product.toUtf8().constData(), nullptr);
            monikers.push_back(GstAudioInputFilter::describe(device.label, properties));
            gst_structure_free(properties);
        }
        QStringList order;
        for (int index : CaptureDeviceSearch::audioCandidates(monikers))
            order << monikers[size_t(index)].displayName;
        QTEST(order, "order");
    }

    void audioSearchPassesOverTheCamerasMicrophone()
    {
        SimulatedBackend backend(std::make_shared<SimulatedCamera>());
        MessageCapture messages;
        const std::unique_ptr<DeviceFilter> filter = CaptureDeviceSearch::enumCaptureFilter(
            &backend, DeviceCategory::AudioInput);
        QVERIFY(filter);
        QCOMPARE(filter->displayName(), QString("simulated:microphone"));
        QVERIFY(messages.contains("Done with index 1, USB VID_0000&PID_0000"));
        QVERIFY(!messages.contains("cancelled"));
    }

    void simulatedCameraFoundOnlyWhilePluggedIn()
    {
        auto camera = std::make_shared<SimulatedCamera>();
        SimulatedBackend backend(camera);
        QVERIFY(CaptureDeviceSearch::enumCaptureFilter(&backend, DeviceCategory::VideoInput));
        camera->unplug();
        QVERIFY(!CaptureDeviceSearch::enumCaptureFilter(&backend, DeviceCategory::VideoInput));
    }

    void extensionUnit_data()
    {
        const QByteArray ours = UvcDescriptorParser::vendorExtensionGuid();
        const QByteArray other = QByteArray::fromHex("AD94E1A6C9F5D34D9D3C1E6B2E5D9F01");
        const QByteArray bigEndian = QByteArray::fromHex("636106825070"
                                                         "49AB"
                                                         "B8CCB3855E8D221D");
        QTest::addColumn<QByteArray>("descriptors");
        QTest::addColumn<int>("unit");
        QTest::newRow("second unit") << descriptorsWithUnits({{3, other}, {4, ours}}) << 4;
        QTest::newRow("only unit") << descriptorsWithUnits({{2, ours}}) << 2;
        QTest::newRow("GUID in big-endian order is another unit")
            << descriptorsWithUnits({{2, bigEndian}}) << -1;
        QTest::newRow("outside a VideoControl interface")
            << descriptorsWithUnits({{2, ours}}, 0x01, 0x01) << -1;
        QTest::newRow("truncated") << descriptorsWithUnits({{2, ours}}).left(60) << -1;
        QTest::newRow("empty") << QByteArray() << -1;
    }
    void extensionUnit()
    {
        QFETCH(QByteArray, descriptors);
        QTEST(UvcDescriptorParser::findExtensionUnit(descriptors, UvcDescriptorParser::vendorExtensionGuid()),
              "unit");
    }

    void vendorGuidIsStoredLittleEndian()
    {
        QCOMPARE(UvcDescriptorParser::vendorExtensionGuid().toHex(' ').toUpper(),
                 QByteArray("82 06 61 63 70 50 AB 49 B8 CC B3 85 5E 8D 22 1D"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceSearch)
#include "tst_devicesearch.moc"
