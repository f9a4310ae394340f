#include "FakeV4l2Io.h"
#include "sources/devices/v4l2/SysfsVideoScanner.h"
#include "sources/devices/v4l2/UvcDescriptorParser.h"
#include "sources/devices/v4l2/V4l2DeviceFilter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <linux/videodev2.h>

#include <cerrno>

// The V4L2 backend's controls, run against a fake node: no camera is attached where the tests
// run, so what is checked is the mapping of each operation to ioctls and values.
class TestV4l2Controls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<FakeV4l2Io> m_io;
    SysfsVideoNode m_node;

    FakeV4l2Io::Node &fake() { return m_io->nodes["/dev/video0"]; }
    std::unique_ptr<V4l2DeviceFilter> open() { return std::make_unique<V4l2DeviceFilter>(m_io, m_node); }
    void writeDescriptors(const QByteArray &bytes)
    {
        QFile f(m_node.usbDevicePath + "/descriptors");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray extensionUnitDescriptors(quint8 unit)
    {
        QByteArray d = QByteArray::fromHex("12010002EF020140FC04305300010102"
                                           "0001");
        d += QByteArray::fromHex("0902A10102010080FA");
        d += QByteArray::fromHex("090400000"
                                 "10E010000");
        QByteArray xu;
        xu += char(27);
        xu += char(0x24);
        xu += char(0x06);
        xu += char(unit);
        xu += UvcDescriptorParser::vendorExtensionGuid();
        xu += QByteArray::fromHex("10010201FF0300");
        return d + xu;
    }

private slots:
    void init()
    {
        m_io = std::make_shared<FakeV4l2Io>();
        FakeV4l2Io::Node node;
        node.controls.insert(V4L2_CID_BRIGHTNESS, {-64, 64, 10, 0});
        node.controls.insert(V4L2_CID_POWER_LINE_FREQUENCY, {0, 2, 1, 0});
        node.controls.insert(V4L2_CID_FOCUS_ABSOLUTE, {0, 1023, 300, 0});
        node.controls.insert(V4L2_CID_FOCUS_AUTO, {0, 1, 1, 0});
        m_io->nodes.insert("/dev/video0", node);
        m_node.name = "video0";
        m_node.devicePath = "/dev/video0";
        m_node.usbDevicePath = m_dir.path() + "/usb1/1-1";
        QDir().mkpath(m_node.usbDevicePath);
        m_node.vid = 0x04FC;
        m_node.pid = 0x5330;
        writeDescriptors(extensionUnitDescriptors(4));
    }

    void interfaceChecks_data()
    {
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<QList<quint32>>("controls");
        QTest::addColumn<bool>("propertyControl");
        QTest::addColumn<bool>("procAmp");
        QTest::addColumn<bool>("cameraControl");
        QTest::newRow("full uvc camera")
            << QByteArray("uvcvideo") << QList<quint32>{V4L2_CID_BRIGHTNESS, V4L2_CID_FOCUS_ABSOLUTE} << true
            << true << true;
        QTest::newRow("auto focus only")
            << QByteArray("uvcvideo") << QList<quint32>{V4L2_CID_FOCUS_AUTO} << true << false << true;
        QTest::newRow("other driver")
            << QByteArray("vivid") << QList<quint32>{V4L2_CID_BRIGHTNESS} << false << true << false;
    }
    void interfaceChecks()
    {
        QFETCH(QByteArray, driver);
        QFETCH(QList<quint32>, controls);
        fake().driver = driver;
        fake().controls.clear();
        for (quint32 id : controls)
            fake().controls.insert(id, {0, 10, 5, 0});
        auto filter = open();
        QTEST(filter->hasPropertyControl(), "propertyControl");
        QTEST(filter->hasVideoProcAmp(), "procAmp");
        QTEST(filter->hasCameraControl(), "cameraControl");
    }

    void disabledBrightnessIsNoAmplifier()
    {
        fake().controls[V4L2_CID_BRIGHTNESS].flags = V4L2_CTRL_FLAG_DISABLED;
        QVERIFY(!open()->hasVideoProcAmp());
    }

    void nodeThatDoesNotOpen()
    {
        fake().openError = -EBUSY;
        auto filter = open();
        QVERIFY(!filter->isUsable());
        qint32 value = 0;
        QCOMPARE(filter->getProperty(DeviceProperty::Brightness, &value), -EBADF);
    }

    void brightnessAndPowerLine()
    {
        auto filter = open();
        qint32 value = 0, minimum = 0, maximum = 0;
        QCOMPARE(filter->getProperty(DeviceProperty::Brightness, &value), 0);
        QCOMPARE(value, 10);
        QCOMPARE(filter->getPropertyRange(DeviceProperty::Brightness, &minimum, &maximum), 0);
        QCOMPARE(minimum, -64);
        QCOMPARE(maximum, 64);
        QCOMPARE(filter->setProperty(DeviceProperty::Brightness, -30, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(fake().controls[V4L2_CID_BRIGHTNESS].value, -30);
        // uvcvideo clamps a value outside the range.
        QCOMPARE(filter->setProperty(DeviceProperty::Brightness, 90, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(fake().controls[V4L2_CID_BRIGHTNESS].value, 64);
        QCOMPARE(filter->setProperty(DeviceProperty::PowerLineFrequency, 2, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(fake().controls[V4L2_CID_POWER_LINE_FREQUENCY].value, 2);
        QCOMPARE(filter->getProperty(DeviceProperty::PowerLineFrequency, &value), 0);
        QCOMPARE(value, 2);
    }

    void focusManualThenAuto()
    {
        auto filter = open();
        qint32 focus = 0;
        QCOMPARE(filter->getProperty(DeviceProperty::Focus, &focus), 0);
        QCOMPARE(filter->setProperty(DeviceProperty::Focus, focus, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(filter->setProperty(DeviceProperty::Focus, 0, PROPERTY_FLAG_AUTO), 0);
        const QString autoId = QString::number(V4L2_CID_FOCUS_AUTO, 16);
        const QString absId = QString::number(V4L2_CID_FOCUS_ABSOLUTE, 16);
        QCOMPARE(
            m_io->calls,
            QStringList({"S_CTRL " + autoId + " 0", "S_CTRL " + absId + " 300", "S_CTRL " + autoId + " 1"}));
    }

    void focusWithoutAutoSwitch()
    {
        fake().controls.remove(V4L2_CID_FOCUS_AUTO);
        fake().controls.insert(V4L2_CID_AUTO_FOCUS_START, {0, 1, 0, 0});
        auto filter = open();
        QCOMPARE(filter->setProperty(DeviceProperty::Focus, 200, PROPERTY_FLAG_MANUAL), 0);
        QCOMPARE(fake().controls[V4L2_CID_FOCUS_ABSOLUTE].value, 200);
        QCOMPARE(filter->setProperty(DeviceProperty::Focus, 0, PROPERTY_FLAG_AUTO), 0);
        QVERIFY(m_io->calls.last().startsWith("S_CTRL " + QString::number(V4L2_CID_AUTO_FOCUS_START, 16)));
    }

    void extensionUnitRequests()
    {
        fake().unitData.insert(4u << 8 | 20, QByteArray::fromHex("24000070"));
        auto filter = open();
        quint32 address = qToLittleEndian(quint32(0x70000024));
        QCOMPARE(filter->extensionUnitRequest(true, 19, &address, 4), 0);
        quint32 value = 0;
        QCOMPARE(filter->extensionUnitRequest(false, 20, &value, 4), 0);
        QCOMPARE(qFromLittleEndian(value), 0x70000024u);
        // Each control's length is asked once.
        QVERIFY(filter->extensionUnitRequest(false, 20, &value, 4) == 0);
        QCOMPARE(m_io->calls,
                 QStringList(
                     {"XU 4 19 LEN 2", "XU 4 19 SET 4", "XU 4 20 LEN 2", "XU 4 20 GET 4", "XU 4 20 GET 4"}));
        QCOMPARE(fake().unitData.value(4u << 8 | 19), QByteArray::fromHex("24000070"));
        QVERIFY(filter->extensionUnitRequest(false, 256, &value, 4) < 0);
    }

    // The kernel refuses a request of any other size than the control's: the caller's buffer
    // is padded or cut to it.
    void extensionUnitRequestsTakeTheControlsLength_data()
    {
        QTest::addColumn<int>("controlLength");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("readBack"); // into a 4-byte buffer of 0xEE
        QTest::newRow("shorter control: cut")
            << 2 << QByteArray::fromHex("11223344") << QByteArray::fromHex("1122")
            << QByteArray::fromHex("1122EEEE");
        QTest::newRow("longer control: padded")
            << 6 << QByteArray::fromHex("11223344") << QByteArray::fromHex("112233440000")
            << QByteArray::fromHex("11223344");
        QTest::newRow("same length") << 4 << QByteArray::fromHex("11223344")
                                     << QByteArray::fromHex("11223344") << QByteArray::fromHex("11223344");
    }
    void extensionUnitRequestsTakeTheControlsLength()
    {
        QFETCH(int, controlLength);
        QFETCH(QByteArray, written);
        fake().unitLengths.insert(4u << 8 | 7, controlLength);
        auto filter = open();
        QCOMPARE(filter->extensionUnitRequest(true, 7, written.data(), quint32(written.size())), 0);
        QTEST(fake().unitData.value(4u << 8 | 7), "stored");
        QByteArray read(4, char(0xEE));
        QCOMPARE(filter->extensionUnitRequest(false, 7, read.data(), quint32(read.size())), 0);
        QTEST(read, "readBack");
    }

    void extensionUnitMissing()
    {
        writeDescriptors(QByteArray::fromHex("12010002EF020140FC04305300010102"
                                             "0001"));
        quint32 value = 0;
        QVERIFY(open()->extensionUnitRequest(false, 20, &value, 4) < 0);
        QVERIFY(m_io->calls.isEmpty());
    }

    void captureFormats()
    {
        fake().mjpegSizes = {{640, 480, {30, 15}}, {1920, 1080, {30}}, {2592, 1944, {15, 10}}};
        auto filter = open();
        const QVector<FrameSizeOption> options = filter->captureFormats();
        QCOMPARE(options.size(), 3);
        QVERIFY(options[1].offersSize(1920, 1080));
        QCOMPARE(options[2].rates, QVector<FrameRate>({15, 10}));
        QCOMPARE(CaptureFormatChooser::choose(options, filter->currentFormat(), 2592, 1944).toCapsString(),
                 QString("image/jpeg,width=2592,height=1944,framerate=15/1"));
    }

    void currentFormatOfANodeSetToAnotherFormat()
    {
        fake().mjpegSizes = {{1280, 720, {30}}};
        fake().currentPixelFormat = V4L2_PIX_FMT_YUYV;
        fake().currentSize = {640, 480, {30}};
        const CaptureMode mode = open()->currentFormat();
        QCOMPARE(mode.width, 1280);
        QCOMPARE(mode.height, 720);
        QCOMPARE(double(mode.rateNumerator) / mode.rateDenominator, 30.0);
    }

    void currentMjpegFormat()
    {
        fake().mjpegSizes = {{1280, 720, {30}}};
        fake().currentSize = {800, 600, {20}};
        QCOMPARE(open()->currentFormat().toCapsString(),
                 QString("image/jpeg,width=800,height=600,framerate=20/1"));
    }
};

QTEST_GUILESS_MAIN(TestV4l2Controls)
#include "tst_v4l2controls.moc"
