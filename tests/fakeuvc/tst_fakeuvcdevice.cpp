#include "FakeUvcTest.h"
#include "UvcMath.h"

#include <QDir>
#include <QtTest>

#include <linux/usb/video.h>
#include <linux/uvcvideo.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <dirent.h>

using namespace fakeuvctest;

Q_DECLARE_METATYPE(std::vector<uint8_t>)

// The fake camera as a program meets it through system calls: sysfs, the device nodes,
// formats, frame intervals, controls, the extension unit and the faults on demand. The
// expectations are uvcvideo's (Linux 6.1), so a program that passes here talks to a real
// camera the same way.
class TestFakeUvcDevice : public QObject
{
    Q_OBJECT

    static QString fraction(const v4l2_fract &f)
    {
        return QStringLiteral("%1/%2").arg(f.numerator).arg(f.denominator);
    }

    static int setControl(const Fd &fd, uint32_t id, int32_t value, int32_t *result = nullptr)
    {
        v4l2_control control{id, value};
        const int error = fd.ioctl(VIDIOC_S_CTRL, &control);
        if (result)
            *result = control.value;
        return error;
    }
    static int32_t control(const Fd &fd, uint32_t id)
    {
        v4l2_control control{id, 0};
        return fd.ioctl(VIDIOC_G_CTRL, &control) == 0 ? control.value : INT32_MIN;
    }
    static int xuQuery(const Fd &fd, uint8_t unit, uint8_t selector, uint8_t query,
                       std::vector<uint8_t> *data)
    {
        uvc_xu_control_query q{};
        q.unit = unit;
        q.selector = selector;
        q.query = query;
        q.size = uint16_t(data->size());
        q.data = data->data();
        return fd.ioctl(UVCIOC_CTRL_QUERY, &q);
    }

private slots:
    void init()
    {
        // A fresh connection of the document camera at video0 for every test.
        QCOMPARE(command("busy off"), 0);
        QCOMPARE(command("eacces off"), 0);
        QCOMPARE(command("fps auto"), 0);
        QCOMPARE(command("replug 0"), 0);
    }

    void sysfsLaysOutTheCameraAsTheKernelDoes()
    {
        QDir classDir(QStringLiteral("/sys/class/video4linux"));
        QCOMPARE(classDir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({"video0", "video1", "video2", "video3"}));

        char link[PATH_MAX] = {};
        QVERIFY(readlink("/sys/class/video4linux/video0", link, sizeof link - 1) > 0);
        QCOMPARE(QByteArray(link),
                 QByteArray("../../devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/video4linux/video0"));
        char *resolved = realpath("/sys/class/video4linux/video1/device", nullptr);
        QVERIFY(resolved);
        QCOMPARE(QByteArray(resolved), QByteArray("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0"));
        free(resolved);

        const QString usb = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1");
        QCOMPARE(readFile(usb + "/idVendor"), QByteArray("04fc\n"));
        QCOMPARE(readFile(usb + "/idProduct"), QByteArray("5330\n"));
        QCOMPARE(readFile(usb + "/product"), QByteArray("USB Document Camera\n"));
        QCOMPARE(readFile("/sys/class/video4linux/video0/name"), QByteArray("USB Document Camera\n"));
        QCOMPARE(readFile("/sys/class/video4linux/video0/dev"), QByteArray("81:0\n"));
        QCOMPARE(readFile("/sys/class/video4linux/video0/index"), QByteArray("0\n"));
        QCOMPARE(readFile("/sys/class/video4linux/video1/index"), QByteArray("1\n"));
        QCOMPARE(readFile("/sys/class/video4linux/video2/device/../idVendor"), QByteArray("abcd\n"));
        QCOMPARE(readFile("/sys/dev/char/81:2/name"), QByteArray("Other Webcam\n"));
        QCOMPARE(readFile(usb + "/1-1:1.0/bInterfaceClass"), QByteArray("0e\n"));
        QCOMPARE(readFile(usb + "/1-1:1.0/bInterfaceSubClass"), QByteArray("01\n"));
    }

    void descriptorsHoldTheUvcFunction()
    {
        const QByteArray raw = readFile("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/descriptors");
        const auto *d = reinterpret_cast<const uint8_t *>(raw.constData());
        QVERIFY(raw.size() > 18 + 9);
        QCOMPARE(int(d[0]), 18);
        QCOMPARE(int(d[1]), 0x01);
        QCOMPARE(d[8] | d[9] << 8, 0x04fc);
        QCOMPARE(d[10] | d[11] << 8, 0x5330);
        QCOMPARE(int(d[19]), 0x02);
        QCOMPARE(d[20] | d[21] << 8, raw.size() - 18); // wTotalLength covers the rest exactly

        int subclass = -1; // of the interface being walked
        int extensionUnits = 0, mjpegFrames = 0, yuyvFrames = 0, associations = 0;
        int vendorUnit = -1;
        bool header = false, camera = false, processing = false, output = false, mjpeg = false, yuyv = false;
        const QByteArray vendorGuid = QByteArray::fromHex("82066163"
                                                          "7050"
                                                          "AB49"
                                                          "B8CCB3855E8D221D");
        for (int at = 18; at < raw.size();) {
            const int length = d[at];
            QVERIFY2(length >= 2 && at + length <= raw.size(),
                     qPrintable(QString("descriptor at %1").arg(at)));
            const int type = d[at + 1];
            const int sub = d[at + 2];
            if (type == 0x0B)
                associations++;
            if (type == 0x04)
                subclass = d[at + 5] == 0x0E ? d[at + 6] : -1;
            if (type == 0x24 && subclass == 1) {
                header |= sub == 0x01 && (d[at + 3] | d[at + 4] << 8) == 0x0110;
                camera |= sub == 0x02 && (d[at + 4] | d[at + 5] << 8) == 0x0201;
                processing |= sub == 0x05;
                output |= sub == 0x03 && (d[at + 4] | d[at + 5] << 8) == 0x0101;
                if (sub == 0x06) {
                    extensionUnits++;
                    if (raw.mid(at + 4, 16) == vendorGuid)
                        vendorUnit = d[at + 3];
                }
            }
            if (type == 0x24 && subclass == 2) {
                mjpeg |= sub == 0x06;
                yuyv |= sub == 0x04 && raw.mid(at + 5, 4) == "YUY2";
                mjpegFrames += sub == 0x07;
                yuyvFrames += sub == 0x05;
            }
            at += length;
        }
        QCOMPARE(associations, 1);
        QVERIFY(header && camera && processing && output);
        QCOMPARE(extensionUnits, 2);
        QCOMPARE(vendorUnit, 4);
        QVERIFY(mjpeg && yuyv);
        QCOMPARE(mjpegFrames, 5);
        QCOMPARE(yuyvFrames, 2);
    }

    void nodes_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QByteArray>("card");
        QTest::addColumn<QByteArray>("busInfo");
        QTest::addColumn<uint>("deviceCaps");
        const uint streaming = V4L2_CAP_STREAMING | V4L2_CAP_EXT_PIX_FORMAT;
        QTest::newRow("capture") << QByteArray("/dev/video0") << 0 << QByteArray("USB Document Camera")
                                 << QByteArray("usb-0000:00:14.0-1")
                                 << uint(V4L2_CAP_VIDEO_CAPTURE | streaming);
        QTest::newRow("metadata") << QByteArray("/dev/video1") << 1 << QByteArray("USB Document Camera")
                                  << QByteArray("usb-0000:00:14.0-1")
                                  << uint(V4L2_CAP_META_CAPTURE | streaming);
        QTest::newRow("other webcam")
            << QByteArray("/dev/video2") << 2 << QByteArray("Other Webcam")
            << QByteArray("usb-0000:00:14.0-2") << uint(V4L2_CAP_VIDEO_CAPTURE | streaming);
    }

    void nodes()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, minor);
        struct stat st;
        QCOMPARE(stat(path.constData(), &st), 0);
        QVERIFY(S_ISCHR(st.st_mode));
        QCOMPARE(int(major(st.st_rdev)), 81);
        QCOMPARE(int(minor(st.st_rdev)), minor);

        Fd fd(path.constData());
        QVERIFY(fd.isOpen());
        v4l2_capability cap{};
        QCOMPARE(fd.ioctl(VIDIOC_QUERYCAP, &cap), 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(cap.driver)), QByteArray("uvcvideo"));
        QTEST(QByteArray(reinterpret_cast<const char *>(cap.card)), "card");
        QTEST(QByteArray(reinterpret_cast<const char *>(cap.bus_info)), "busInfo");
        QTEST(uint(cap.device_caps), "deviceCaps");
        QCOMPARE(uint(cap.capabilities),
                 uint(V4L2_CAP_DEVICE_CAPS | V4L2_CAP_STREAMING | V4L2_CAP_VIDEO_CAPTURE
                      | V4L2_CAP_META_CAPTURE | V4L2_CAP_EXT_PIX_FORMAT));
    }

    void absentNodeIsNotThere()
    {
        struct stat st;
        QCOMPARE(stat("/dev/video9", &st), -1);
        QCOMPARE(errno, ENOENT);
        Fd fd("/dev/video9");
        QCOMPARE(fd.error(), ENOENT);
    }

    void formats()
    {
        Fd fd("/dev/video0");
        v4l2_fmtdesc desc{};
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_ENUM_FMT, &desc), 0);
        QCOMPARE(desc.pixelformat, uint32_t(V4L2_PIX_FMT_MJPEG));
        QCOMPARE(desc.flags, uint32_t(V4L2_FMT_FLAG_COMPRESSED));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(desc.description)), QByteArray("Motion-JPEG"));
        desc.index = 1;
        QCOMPARE(fd.ioctl(VIDIOC_ENUM_FMT, &desc), 0);
        QCOMPARE(desc.pixelformat, uint32_t(V4L2_PIX_FMT_YUYV));
        QCOMPARE(desc.flags, 0u);
        desc.index = 2;
        QCOMPARE(fd.ioctl(VIDIOC_ENUM_FMT, &desc), -EINVAL);
        desc.index = 0;
        desc.type = V4L2_BUF_TYPE_META_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_ENUM_FMT, &desc), -EINVAL);

        QList<QSize> sizes;
        for (v4l2_frmsizeenum size{0, V4L2_PIX_FMT_MJPEG, 0, {}, {}};
             fd.ioctl(VIDIOC_ENUM_FRAMESIZES, &size) == 0; ++size.index) {
            QCOMPARE(size.type, uint32_t(V4L2_FRMSIZE_TYPE_DISCRETE));
            sizes << QSize(int(size.discrete.width), int(size.discrete.height));
        }
        QCOMPARE(sizes, QList<QSize>({{640, 480}, {1280, 720}, {1920, 1080}, {2592, 1944}, {3264, 2448}}));

        Fd meta("/dev/video1");
        desc = {};
        desc.type = V4L2_BUF_TYPE_META_CAPTURE;
        QCOMPARE(meta.ioctl(VIDIOC_ENUM_FMT, &desc), 0);
        QCOMPARE(desc.pixelformat, uint32_t(V4L2_META_FMT_UVC));
    }

    void frameIntervals_data()
    {
        QTest::addColumn<uint>("fourcc");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("intervals");
        QTest::newRow("MJPG 640x480") << uint(V4L2_PIX_FMT_MJPEG) << QSize(640, 480)
                                      << QStringList{"1/30", "1003/30060", "1/15", "1001/10000"};
        QTest::newRow("MJPG 1920x1080") << uint(V4L2_PIX_FMT_MJPEG) << QSize(1920, 1080)
                                        << QStringList{"1/30", "1003/30060", "1/15", "1001/10000"};
        QTest::newRow("MJPG 3264x2448")
            << uint(V4L2_PIX_FMT_MJPEG) << QSize(3264, 2448) << QStringList{"1/15", "1001/10000"};
        QTest::newRow("YUYV 1280x720")
            << uint(V4L2_PIX_FMT_YUYV) << QSize(1280, 720) << QStringList{"1/10", "1/5"};
        QTest::newRow("size not offered") << uint(V4L2_PIX_FMT_MJPEG) << QSize(800, 600) << QStringList{};
        QTest::newRow("format not offered") << uint(V4L2_PIX_FMT_H264) << QSize(640, 480) << QStringList{};
    }

    void frameIntervals()
    {
        QFETCH(uint, fourcc);
        QFETCH(QSize, size);
        Fd fd("/dev/video0");
        QStringList intervals;
        v4l2_frmivalenum interval{};
        interval.pixel_format = fourcc;
        interval.width = uint32_t(size.width());
        interval.height = uint32_t(size.height());
        int result;
        while ((result = fd.ioctl(VIDIOC_ENUM_FRAMEINTERVALS, &interval)) == 0) {
            QCOMPARE(interval.type, uint32_t(V4L2_FRMIVAL_TYPE_DISCRETE));
            intervals << fraction(interval.discrete);
            ++interval.index;
        }
        QCOMPARE(result, -EINVAL);
        QTEST(intervals, "intervals");
    }

    // uvcvideo reduces each 100 ns interval through a continued fraction it cuts short.
    void intervalArithmetic_data()
    {
        QTest::addColumn<uint>("interval");
        QTest::addColumn<QString>("fraction");
        QTest::newRow("30") << 333333u << "1/30";
        QTest::newRow("29.97 as 333666") << 333666u << "1003/30060";
        QTest::newRow("29.97 as 333667") << 333667u << "100/2997";
        QTest::newRow("25") << 400000u << "1/25";
        QTest::newRow("15") << 666666u << "1/15";
        QTest::newRow("9.99") << 1001000u << "1001/10000";
        QTest::newRow("1") << 10000000u << "1/1";
    }

    void intervalArithmetic()
    {
        QFETCH(uint, interval);
        const fakeuvc::Fraction f = fakeuvc::intervalFraction(interval);
        QTEST(QStringLiteral("%1/%2").arg(f.numerator).arg(f.denominator), "fraction");
    }

    void setFormatTakesTheNearestSize_data()
    {
        QTest::addColumn<uint>("fourcc");
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<uint>("gotFourcc");
        QTest::addColumn<QSize>("got");
        QTest::addColumn<uint>("bytesPerLine");
        QTest::addColumn<QString>("defaultInterval");
        const uint mjpg = V4L2_PIX_FMT_MJPEG, yuyv = V4L2_PIX_FMT_YUYV;
        QTest::newRow("between sizes")
            << mjpg << QSize(1000, 700) << mjpg << QSize(1280, 720) << 0u << "1/30";
        QTest::newRow("larger than all")
            << mjpg << QSize(4000, 3000) << mjpg << QSize(3264, 2448) << 0u << "1/15";
        QTest::newRow("tiny") << mjpg << QSize(10, 10) << mjpg << QSize(640, 480) << 0u << "1/30";
        QTest::newRow("unknown format")
            << uint(V4L2_PIX_FMT_H264) << QSize(1920, 1080) << mjpg << QSize(1920, 1080) << 0u << "1/30";
        QTest::newRow("yuyv") << yuyv << QSize(1920, 1080) << yuyv << QSize(1280, 720) << 2560u << "1/10";
    }

    void setFormatTakesTheNearestSize()
    {
        QFETCH(uint, fourcc);
        QFETCH(QSize, asked);
        QFETCH(QSize, got);
        Fd fd("/dev/video0");
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = fourcc;
        format.fmt.pix.width = uint32_t(asked.width());
        format.fmt.pix.height = uint32_t(asked.height());
        v4l2_format tried = format;
        QCOMPARE(fd.ioctl(VIDIOC_TRY_FMT, &tried), 0);
        QCOMPARE(fd.ioctl(VIDIOC_S_FMT, &format), 0);
        QCOMPARE(tried.fmt.pix.width, format.fmt.pix.width);
        QTEST(uint(format.fmt.pix.pixelformat), "gotFourcc");
        QCOMPARE(QSize(int(format.fmt.pix.width), int(format.fmt.pix.height)), got);
        QTEST(uint(format.fmt.pix.bytesperline), "bytesPerLine");
        QCOMPARE(format.fmt.pix.sizeimage, uint32_t(got.width() * got.height() * 2));
        QCOMPARE(format.fmt.pix.field, uint32_t(V4L2_FIELD_NONE));
        QCOMPARE(format.fmt.pix.colorspace, uint32_t(V4L2_COLORSPACE_SRGB));

        v4l2_format current{};
        current.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_G_FMT, &current), 0);
        QCOMPARE(QSize(int(current.fmt.pix.width), int(current.fmt.pix.height)), got);
        // A new format starts at its frame's default interval, whatever was set before.
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_G_PARM, &parm), 0);
        QTEST(fraction(parm.parm.capture.timeperframe), "defaultInterval");
    }

    void streamParameters_data()
    {
        QTest::addColumn<uint>("numerator");
        QTest::addColumn<uint>("denominator");
        QTest::addColumn<QString>("got");
        QTest::newRow("30") << 1u << 30u << "1/30";
        QTest::newRow("NTSC 30000/1001") << 1001u << 30000u << "1003/30060";
        QTest::newRow("25 is nearest to 29.97") << 1u << 25u << "1003/30060";
        QTest::newRow("15") << 1u << 15u << "1/15";
        QTest::newRow("5 is below all") << 1u << 5u << "1001/10000";
        QTest::newRow("120 is above all") << 1u << 120u << "1/30";
        QTest::newRow("zero saturates") << 0u << 0u << "1001/10000";
    }

    void streamParameters()
    {
        QFETCH(uint, numerator);
        QFETCH(uint, denominator);
        Fd fd("/dev/video0");
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        parm.parm.capture.timeperframe = {numerator, denominator};
        QCOMPARE(fd.ioctl(VIDIOC_S_PARM, &parm), 0);
        QCOMPARE(parm.parm.capture.capability, uint32_t(V4L2_CAP_TIMEPERFRAME));
        QTEST(fraction(parm.parm.capture.timeperframe), "got");
        v4l2_streamparm current{};
        current.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_G_PARM, &current), 0);
        QTEST(fraction(current.parm.capture.timeperframe), "got");
    }

    void controlsClampAsUvcvideo_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("value");
        const uint brightness = V4L2_CID_BRIGHTNESS, focus = V4L2_CID_FOCUS_ABSOLUTE;
        QTest::newRow("brightness in range") << brightness << 10 << 0 << 10;
        QTest::newRow("brightness above") << brightness << 100 << 0 << 64;
        QTest::newRow("brightness below") << brightness << -100 << 0 << -64;
        QTest::newRow("contrast negative clamps high (unsigned)") << uint(V4L2_CID_CONTRAST) << -5 << 0 << 95;
        QTest::newRow("focus rounds down to step") << focus << 7 << 0 << 5;
        QTest::newRow("focus rounds up to step") << focus << 8 << 0 << 10;
        QTest::newRow("focus above") << focus << 253 << 0 << 250;
        QTest::newRow("focus negative clamps high (unsigned)") << focus << -3 << 0 << 250;
        QTest::newRow("focus auto clamps to 1") << uint(V4L2_CID_FOCUS_AUTO) << 5 << 0 << 1;
        QTest::newRow("flicker 60 Hz") << uint(V4L2_CID_POWER_LINE_FREQUENCY) << 2 << 0 << 2;
        QTest::newRow("flicker beyond the menu") << uint(V4L2_CID_POWER_LINE_FREQUENCY) << 3 << ERANGE << 1;
        QTest::newRow("flicker negative") << uint(V4L2_CID_POWER_LINE_FREQUENCY) << -1 << ERANGE << 1;
        QTest::newRow("unknown control") << uint(V4L2_CID_HUE) << 1 << EINVAL << INT32_MIN;
        QTest::newRow("control class") << uint(V4L2_CID_USER_CLASS) << 1 << EACCES << INT32_MIN;
    }

    void controlsClampAsUvcvideo()
    {
        QFETCH(uint, id);
        QFETCH(int, written);
        QFETCH(int, error);
        QFETCH(int, value);
        Fd fd("/dev/video0");
        if (id == V4L2_CID_FOCUS_ABSOLUTE)
            QCOMPARE(setControl(fd, V4L2_CID_FOCUS_AUTO, 0), 0);
        int32_t returned = 0;
        QCOMPARE(setControl(fd, id, written, &returned), -error);
        if (error == 0)
            QCOMPARE(returned, value);
        QCOMPARE(control(fd, id), value);
    }

    void manualFocusWaitsForAutofocusOff()
    {
        Fd fd("/dev/video0");
        v4l2_queryctrl query{};
        query.id = V4L2_CID_FOCUS_ABSOLUTE;
        QCOMPARE(fd.ioctl(VIDIOC_QUERYCTRL, &query), 0);
        QVERIFY(query.flags & V4L2_CTRL_FLAG_INACTIVE);
        QCOMPARE(setControl(fd, V4L2_CID_FOCUS_ABSOLUTE, 100), -EACCES); // the camera's "wrong state"
        // Autofocus settles on the page.
        QTRY_COMPARE_WITH_TIMEOUT(control(fd, V4L2_CID_FOCUS_ABSOLUTE), 120, 3000);

        QCOMPARE(setControl(fd, V4L2_CID_FOCUS_AUTO, 0), 0);
        QCOMPARE(fd.ioctl(VIDIOC_QUERYCTRL, &query), 0);
        QVERIFY(!(query.flags & V4L2_CTRL_FLAG_INACTIVE));
        QCOMPARE(control(fd, V4L2_CID_FOCUS_ABSOLUTE), 120); // the lens stays where it was
        QCOMPARE(setControl(fd, V4L2_CID_FOCUS_ABSOLUTE, 100), 0);
        QCOMPARE(control(fd, V4L2_CID_FOCUS_ABSOLUTE), 100);
    }

    void controlEnumeration()
    {
        Fd fd("/dev/video0");
        QList<uint> ids;
        QList<uint> types;
        v4l2_queryctrl query{};
        query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
        while (fd.ioctl(VIDIOC_QUERYCTRL, &query) == 0) {
            ids << query.id;
            types << query.type;
            query.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
        }
        QCOMPARE(ids,
                 QList<uint>({V4L2_CID_USER_CLASS, V4L2_CID_BRIGHTNESS, V4L2_CID_CONTRAST,
                              V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CID_CAMERA_CLASS, V4L2_CID_FOCUS_ABSOLUTE,
                              V4L2_CID_FOCUS_AUTO}));
        QCOMPARE(types,
                 QList<uint>({V4L2_CTRL_TYPE_CTRL_CLASS, V4L2_CTRL_TYPE_INTEGER, V4L2_CTRL_TYPE_INTEGER,
                              V4L2_CTRL_TYPE_MENU, V4L2_CTRL_TYPE_CTRL_CLASS, V4L2_CTRL_TYPE_INTEGER,
                              V4L2_CTRL_TYPE_BOOLEAN}));

        query = {};
        query.id = V4L2_CID_BRIGHTNESS;
        QCOMPARE(fd.ioctl(VIDIOC_QUERYCTRL, &query), 0);
        QCOMPARE(QList<int>({query.minimum, query.maximum, query.step, query.default_value}),
                 QList<int>({-64, 64, 1, 0}));
        QStringList menu;
        for (v4l2_querymenu item{V4L2_CID_POWER_LINE_FREQUENCY, 0, {}, 0};
             fd.ioctl(VIDIOC_QUERYMENU, &item) == 0; ++item.index)
            menu << QString::fromLatin1(reinterpret_cast<const char *>(item.name));
        QCOMPARE(menu, QStringList({"Disabled", "50 Hz", "60 Hz"}));

        // Extended controls: one class per call, and S_EXT_CTRLS reports errors found before
        // the device is touched at the end of the list.
        v4l2_ext_control list[2] = {};
        list[0].id = V4L2_CID_BRIGHTNESS;
        list[1].id = V4L2_CID_FOCUS_AUTO;
        v4l2_ext_controls controls{};
        controls.count = 2;
        controls.controls = list;
        controls.which = V4L2_CTRL_CLASS_USER;
        QCOMPARE(fd.ioctl(VIDIOC_G_EXT_CTRLS, &controls), -EINVAL);
        QCOMPARE(controls.error_idx, 2u);
        controls.which = V4L2_CTRL_WHICH_CUR_VAL;
        QCOMPARE(fd.ioctl(VIDIOC_G_EXT_CTRLS, &controls), 0);
        QCOMPARE(list[1].value, 1);
        list[0].id = V4L2_CID_POWER_LINE_FREQUENCY;
        list[0].value = 7;
        QCOMPARE(fd.ioctl(VIDIOC_TRY_EXT_CTRLS, &controls), -ERANGE);
        QCOMPARE(controls.error_idx, 0u);
        QCOMPARE(fd.ioctl(VIDIOC_S_EXT_CTRLS, &controls), -ERANGE);
        QCOMPARE(controls.error_idx, 2u);
        controls.which = V4L2_CTRL_WHICH_DEF_VAL;
        QCOMPARE(fd.ioctl(VIDIOC_S_EXT_CTRLS, &controls), -EINVAL);

        Fd meta("/dev/video1");
        query.id = V4L2_CID_BRIGHTNESS;
        QCOMPARE(meta.ioctl(VIDIOC_QUERYCTRL, &query), -ENOTTY);
    }

    void extensionUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("selector");
        QTest::addColumn<int>("query");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("length of register address")
            << 4 << 19 << int(UVC_GET_LEN) << 2 << 0 << QByteArray::fromHex("0400");
        QTest::newRow("length asked with 4 bytes")
            << 4 << 19 << int(UVC_GET_LEN) << 4 << ENOBUFS << QByteArray();
        QTest::newRow("info of register data")
            << 4 << 20 << int(UVC_GET_INFO) << 1 << 0 << QByteArray::fromHex("03");
        QTest::newRow("register data")
            << 4 << 20 << int(UVC_GET_CUR) << 4 << 0 << QByteArray::fromHex("00000000");
        QTest::newRow("register data, 2 bytes")
            << 4 << 20 << int(UVC_GET_CUR) << 2 << ENOBUFS << QByteArray();
        QTest::newRow("register data, 8 bytes")
            << 4 << 20 << int(UVC_GET_CUR) << 8 << ENOBUFS << QByteArray();
        QTest::newRow("maximum") << 4 << 19 << int(UVC_GET_MAX) << 4 << 0 << QByteArray::fromHex("ffffffff");
        QTest::newRow("firmware") << 4 << 1 << int(UVC_GET_CUR) << 8 << 0 << QByteArray("FW1.20\0\0", 8);
        QTest::newRow("firmware is read-only") << 4 << 1 << int(UVC_SET_CUR) << 8 << EBADRQC << QByteArray();
        QTest::newRow("no such unit") << 9 << 19 << int(UVC_GET_CUR) << 4 << ENOENT << QByteArray();
        QTest::newRow("processing unit is no extension unit")
            << 2 << 1 << int(UVC_GET_CUR) << 2 << ENOENT << QByteArray();
        QTest::newRow("no such selector") << 4 << 7 << int(UVC_GET_CUR) << 4 << ENOENT << QByteArray();
        QTest::newRow("no such request") << 4 << 19 << 0x42 << 4 << EINVAL << QByteArray();
    }

    void extensionUnit()
    {
        QFETCH(int, unit);
        QFETCH(int, selector);
        QFETCH(int, query);
        QFETCH(int, size);
        QFETCH(QByteArray, reply);
        Fd fd("/dev/video0");
        std::vector<uint8_t> data(size_t(size), 0);
        QTEST(-xuQuery(fd, uint8_t(unit), uint8_t(selector), uint8_t(query), &data), "error");
        if (!reply.isEmpty())
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(data.data()), size), reply);
    }

    void registersReadThroughTheExtensionUnit()
    {
        Fd fd("/dev/video0");
        auto readRegister = [&](uint32_t address) -> qint64 {
            std::vector<uint8_t> bytes = {uint8_t(address), uint8_t(address >> 8), uint8_t(address >> 16),
                                          uint8_t(address >> 24)};
            if (xuQuery(fd, 4, 19, UVC_SET_CUR, &bytes) != 0)
                return -1;
            std::vector<uint8_t> value(4, 0);
            if (xuQuery(fd, 4, 20, UVC_GET_CUR, &value) != 0)
                return -1;
            return value[0] | value[1] << 8 | value[2] << 16 | qint64(value[3]) << 24;
        };
        QCOMPARE(readRegister(0x70000024), 100);
        QCOMPARE(readRegister(0x7000001C), 1000);
        QCOMPARE(command("reg 0x70000024 250"), 0);
        QCOMPARE(readRegister(0x70000024), 250);
        std::vector<uint8_t> write = {0x2C, 0x01, 0, 0};
        QCOMPARE(xuQuery(fd, 4, 20, UVC_SET_CUR, &write), 0);
        QCOMPARE(readRegister(0x70000024), 300);
        QCOMPARE(command("reg 0x70000024 100"), 0);

        Fd meta("/dev/video1");
        std::vector<uint8_t> data(4, 0);
        QCOMPARE(xuQuery(meta, 4, 20, UVC_GET_CUR, &data), -ENOTTY);
    }

    void permissionDenied()
    {
        Fd before("/dev/video0");
        QCOMPARE(command("eacces on"), 0);
        Fd denied("/dev/video0");
        QCOMPARE(denied.error(), EACCES);
        QCOMPARE(access("/dev/video0", R_OK | W_OK), -1);
        QCOMPARE(errno, EACCES);
        QCOMPARE(access("/dev/video0", F_OK), 0);
        struct stat st;
        QCOMPARE(stat("/dev/video0", &st), 0); // the node is there, only not for this user
        v4l2_capability cap{};
        QCOMPARE(before.ioctl(VIDIOC_QUERYCAP, &cap), 0);
        QCOMPARE(command("eacces off"), 0);
        Fd allowed("/dev/video0");
        QVERIFY(allowed.isOpen());
    }

    void busyElsewhere()
    {
        QCOMPARE(command("busy on"), 0);
        Fd fd("/dev/video0");
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_G_FMT, &format), 0);
        QCOMPARE(fd.ioctl(VIDIOC_TRY_FMT, &format), 0);
        QCOMPARE(fd.ioctl(VIDIOC_S_FMT, &format), -EBUSY);
        v4l2_requestbuffers request{};
        request.count = 2;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        QCOMPARE(fd.ioctl(VIDIOC_REQBUFS, &request), -EBUSY);
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        parm.parm.capture.timeperframe = {1, 15};
        QCOMPARE(fd.ioctl(VIDIOC_S_PARM, &parm), -EBUSY);
        QCOMPARE(setControl(fd, V4L2_CID_BRIGHTNESS, 20), 0); // controls stay usable
        std::vector<uint8_t> data(4, 0);
        QCOMPARE(xuQuery(fd, 4, 20, UVC_GET_CUR, &data), 0);
        QCOMPARE(command("busy off"), 0);
        QCOMPARE(fd.ioctl(VIDIOC_S_FMT, &format), 0);
    }

    // uvcvideo gives the streaming privilege to the first open file that asks; it goes with
    // the last descriptor of that file or with REQBUFS(0).
    void privilegeFollowsTheOpenFile()
    {
        Fd first("/dev/video0");
        Fd second("/dev/video0");
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(first.ioctl(VIDIOC_G_FMT, &format), 0);
        QCOMPARE(first.ioctl(VIDIOC_S_FMT, &format), 0);
        QCOMPARE(second.ioctl(VIDIOC_S_FMT, &format), -EBUSY);
        Fd duplicate(dup(first.get()));
        first.reset();
        QCOMPARE(second.ioctl(VIDIOC_S_FMT, &format), -EBUSY);
        QCOMPARE(duplicate.ioctl(VIDIOC_S_FMT, &format), 0);
        duplicate.reset();
        QCOMPARE(second.ioctl(VIDIOC_S_FMT, &format), 0);

        v4l2_requestbuffers request{};
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        request.count = 2;
        QCOMPARE(second.ioctl(VIDIOC_REQBUFS, &request), 0);
        QCOMPARE(request.count, 2u);
        QVERIFY(request.capabilities & V4L2_BUF_CAP_SUPPORTS_ORPHANED_BUFS);
        Fd third("/dev/video0");
        QCOMPARE(third.ioctl(VIDIOC_S_FMT, &format), -EBUSY);
        request.count = 0;
        QCOMPARE(second.ioctl(VIDIOC_REQBUFS, &request), 0);
        QCOMPARE(third.ioctl(VIDIOC_S_FMT, &format), 0);
    }

    void priorityBlocksOtherWriters()
    {
        Fd recorder("/dev/video0");
        Fd other("/dev/video0");
        uint32_t priority = V4L2_PRIORITY_RECORD;
        QCOMPARE(recorder.ioctl(VIDIOC_S_PRIORITY, &priority), 0);
        QCOMPARE(other.ioctl(VIDIOC_G_PRIORITY, &priority), 0);
        QCOMPARE(priority, uint32_t(V4L2_PRIORITY_RECORD));
        QCOMPARE(setControl(other, V4L2_CID_BRIGHTNESS, 5), -EBUSY);
        QCOMPARE(control(other, V4L2_CID_BRIGHTNESS), 0);
        recorder.reset();
        QCOMPARE(setControl(other, V4L2_CID_BRIGHTNESS, 5), 0);
    }

    void commandsAreChecked()
    {
        QCOMPARE(command("dance"), -EINVAL);
        QCOMPARE(command("fps fast"), -EINVAL);
        QCOMPARE(command("@7 unplug"), -ENODEV);
        QCOMPARE(command("  # a comment"), 0);
        QVERIFY(
            state().contains("camera 0 vid=04fc pid=5330 plugged=1 capture=/dev/video0 meta=/dev/video1"));
    }
};

int main(int argc, char **argv)
{
    ensurePreloaded(argv,
                    {{"FAKEUVC_CAMERAS", "name=USB Document Camera;vid=abcd,pid=1234,name=Other Webcam"}});
    QCoreApplication app(argc, argv);
    TestFakeUvcDevice test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakeuvcdevice.moc"
