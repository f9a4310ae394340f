#include "FakeUvcTest.h"

#include <QtTest>

#include <linux/dma-buf.h>
#include <linux/uvcvideo.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <future>
#include <poll.h>

using namespace fakeuvctest;

// Streaming from the fake camera as a V4L2 program does it: buffers, mmap, poll, DQBUF,
// exported buffers, the metadata node, a camera that delivers fewer frames than it
// negotiated, and the camera unplugged while it streams.
class TestFakeUvcStreaming : public QObject
{
    Q_OBJECT

    struct Mapping
    {
        void *data = MAP_FAILED;
        size_t length = 0;
    };

    // A streaming capture node with `count` mapped buffers, all queued.
    struct Stream
    {
        Fd fd;
        uint32_t type;
        std::vector<Mapping> maps;
        explicit Stream(const char *path, uint32_t bufferType = V4L2_BUF_TYPE_VIDEO_CAPTURE,
                        int flags = O_RDWR | O_NONBLOCK | O_CLOEXEC)
            : fd(path, flags)
            , type(bufferType)
        { }
        ~Stream()
        {
            for (const Mapping &m : maps) {
                if (m.data != MAP_FAILED)
                    munmap(m.data, m.length);
            }
        }
        bool start(uint32_t count)
        {
            v4l2_requestbuffers request{};
            request.count = count;
            request.type = type;
            request.memory = V4L2_MEMORY_MMAP;
            if (fd.ioctl(VIDIOC_REQBUFS, &request) != 0)
                return false;
            for (uint32_t i = 0; i < request.count; ++i) {
                v4l2_buffer buffer{};
                buffer.type = type;
                buffer.memory = V4L2_MEMORY_MMAP;
                buffer.index = i;
                if (fd.ioctl(VIDIOC_QUERYBUF, &buffer) != 0)
                    return false;
                Mapping m;
                m.length = buffer.length;
                m.data = mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd.get(),
                              buffer.m.offset);
                maps.push_back(m);
                if (m.data == MAP_FAILED || fd.ioctl(VIDIOC_QBUF, &buffer) != 0)
                    return false;
            }
            return fd.ioctl(VIDIOC_STREAMON, &type) == 0;
        }
        // Waits (bounded) for the next buffer and takes it.
        int next(v4l2_buffer *buffer, int timeoutMs = 3000)
        {
            pollfd p{fd.get(), POLLIN, 0};
            if (poll(&p, 1, timeoutMs) != 1)
                return -ETIMEDOUT;
            *buffer = {};
            buffer->type = type;
            buffer->memory = V4L2_MEMORY_MMAP;
            return fd.ioctl(VIDIOC_DQBUF, buffer);
        }
        int requeue(v4l2_buffer *buffer) { return fd.ioctl(VIDIOC_QBUF, buffer); }
        const uint8_t *bytes(const v4l2_buffer &buffer) const
        {
            return static_cast<const uint8_t *>(maps[buffer.index].data);
        }
    };

    static bool setFormat(const Fd &fd, uint32_t fourcc, int width, int height)
    {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = fourcc;
        format.fmt.pix.width = uint32_t(width);
        format.fmt.pix.height = uint32_t(height);
        return fd.ioctl(VIDIOC_S_FMT, &format) == 0 && int(format.fmt.pix.width) == width;
    }
    static qint64 microseconds(const timeval &t) { return qint64(t.tv_sec) * 1000000 + t.tv_usec; }

private slots:
    void init()
    {
        QCOMPARE(command("busy off"), 0);
        QCOMPARE(command("fps auto"), 0);
        QCOMPARE(command("replug 0"), 0);
    }

    void mmapStreaming()
    {
        Stream stream("/dev/video0");
        QVERIFY(setFormat(stream.fd, V4L2_PIX_FMT_MJPEG, 640, 480));
        v4l2_requestbuffers request{};
        request.count = 4;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        QCOMPARE(stream.fd.ioctl(VIDIOC_REQBUFS, &request), 0);
        QCOMPARE(request.count, 4u);
        QVERIFY(request.capabilities & V4L2_BUF_CAP_SUPPORTS_MMAP);
        QVERIFY(request.capabilities & V4L2_BUF_CAP_SUPPORTS_DMABUF);
        const long page = sysconf(_SC_PAGESIZE);
        uint32_t previousEnd = 0;
        for (uint32_t i = 0; i < 4; ++i) {
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            buffer.memory = V4L2_MEMORY_MMAP;
            buffer.index = i;
            QCOMPARE(stream.fd.ioctl(VIDIOC_QUERYBUF, &buffer), 0);
            QCOMPARE(buffer.length, 640u * 480 * 2);
            QCOMPARE(buffer.m.offset % page, 0u);
            QVERIFY(buffer.m.offset >= previousEnd);
            previousEnd = buffer.m.offset + buffer.length;
            QVERIFY(!(buffer.flags & (V4L2_BUF_FLAG_QUEUED | V4L2_BUF_FLAG_MAPPED)));
            QCOMPARE(mmap(nullptr, buffer.length, PROT_READ, MAP_PRIVATE, stream.fd.get(), buffer.m.offset),
                     MAP_FAILED);
            QCOMPARE(errno, EINVAL);
            QCOMPARE(
                mmap(nullptr, buffer.length, PROT_READ, MAP_SHARED, stream.fd.get(), buffer.m.offset + page),
                MAP_FAILED);
            QCOMPARE(errno, EINVAL);
        }
        request.count = 0;
        QCOMPARE(stream.fd.ioctl(VIDIOC_REQBUFS, &request), 0);

        // The camera stalls at first: nothing to dequeue, nothing to poll.
        QCOMPARE(command("fps 0"), 0);
        QVERIFY(stream.start(4));
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        QCOMPARE(stream.fd.ioctl(VIDIOC_DQBUF, &buffer), -EAGAIN);
        pollfd p{stream.fd.get(), POLLIN, 0};
        QCOMPARE(poll(&p, 1, 100), 0);
        QCOMPARE(command("fps auto"), 0);

        qint64 previousSequence = -1;
        qint64 previousStamp = 0;
        QByteArray previousPicture;
        for (int frame = 0; frame < 8; ++frame) {
            QCOMPARE(stream.next(&buffer), 0);
            QVERIFY(buffer.flags & V4L2_BUF_FLAG_MAPPED);
            QVERIFY(buffer.flags & V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC);
            QVERIFY(buffer.flags & V4L2_BUF_FLAG_TSTAMP_SRC_SOE);
            QVERIFY(!(buffer.flags & (V4L2_BUF_FLAG_DONE | V4L2_BUF_FLAG_ERROR | V4L2_BUF_FLAG_QUEUED)));
            QCOMPARE(buffer.field, uint32_t(V4L2_FIELD_NONE));
            QVERIFY(buffer.bytesused > 1000 && buffer.bytesused < buffer.length);
            QVERIFY(qint64(buffer.sequence) > previousSequence);
            const qint64 stamp = microseconds(buffer.timestamp);
            if (previousSequence >= 0) // camera time: whole frame intervals apart
                QVERIFY2(stamp - previousStamp >= (qint64(buffer.sequence) - previousSequence) * 33333 - 1000,
                         qPrintable(QString::number(stamp - previousStamp)));
            Image image;
            QVERIFY(decodeJpeg(stream.bytes(buffer), buffer.bytesused, &image));
            QCOMPARE(image.warnings, 0);
            QCOMPARE(QSize(image.width, image.height), QSize(640, 480));
            QCOMPARE(frameCode(image, 640, 480), qint64(buffer.sequence));
            const QByteArray picture(reinterpret_cast<const char *>(image.pixels.data()),
                                     int(image.pixels.size()));
            QVERIFY(picture != previousPicture); // the counter and the bar move
            previousPicture = picture;
            previousSequence = buffer.sequence;
            previousStamp = stamp;
            QCOMPARE(stream.requeue(&buffer), 0);
        }

        // Another program may read controls and the format, not take the stream.
        Fd other("/dev/video0");
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(other.ioctl(VIDIOC_G_FMT, &format), 0);
        QCOMPARE(other.ioctl(VIDIOC_S_FMT, &format), -EBUSY);
        request.count = 2;
        QCOMPARE(other.ioctl(VIDIOC_REQBUFS, &request), -EBUSY);
        QCOMPARE(other.ioctl(VIDIOC_QUERYBUF, &buffer), -EBUSY);
        v4l2_control brightness{V4L2_CID_BRIGHTNESS, 12};
        QCOMPARE(other.ioctl(VIDIOC_S_CTRL, &brightness), 0);
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(stream.fd.ioctl(VIDIOC_S_PARM, &parm), -EBUSY); // not while streaming

        uint32_t type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(stream.fd.ioctl(VIDIOC_STREAMOFF, &type), 0);
        QCOMPARE(stream.fd.ioctl(VIDIOC_DQBUF, &buffer), -EINVAL);
        QCOMPARE(stream.fd.ioctl(VIDIOC_QUERYBUF, &buffer), 0);
        QVERIFY(!(buffer.flags & V4L2_BUF_FLAG_QUEUED));
        // Freeing buffers that are still mapped leaves the mappings usable (orphaned).
        request.count = 0;
        QCOMPARE(stream.fd.ioctl(VIDIOC_REQBUFS, &request), 0);
        QCOMPARE(stream.bytes(buffer)[0], uint8_t(0xFF));
    }

    void exportedBuffersShareTheFrames()
    {
        Stream stream("/dev/video0");
        v4l2_requestbuffers request{};
        request.count = 2;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        QCOMPARE(stream.fd.ioctl(VIDIOC_REQBUFS, &request), 0);
        v4l2_exportbuffer exported{};
        exported.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        exported.index = 0;
        exported.flags = O_RDWR | O_CLOEXEC;
        QCOMPARE(stream.fd.ioctl(VIDIOC_EXPBUF, &exported), 0);
        Fd dmabuf(exported.fd);
        exported.flags = O_NONBLOCK;
        QCOMPARE(stream.fd.ioctl(VIDIOC_EXPBUF, &exported), -EINVAL);

        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        QCOMPARE(stream.fd.ioctl(VIDIOC_QUERYBUF, &buffer), 0);
        QVERIFY(buffer.flags & V4L2_BUF_FLAG_MAPPED); // exported counts as in use
        void *data = mmap(nullptr, buffer.length, PROT_READ, MAP_SHARED, dmabuf.get(), 0);
        QVERIFY(data != MAP_FAILED);
        QCOMPARE(stream.fd.ioctl(VIDIOC_QBUF, &buffer), 0);
        uint32_t type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(stream.fd.ioctl(VIDIOC_STREAMON, &type), 0);
        pollfd p{stream.fd.get(), POLLIN, 0};
        QCOMPARE(poll(&p, 1, 3000), 1);
        QCOMPARE(stream.fd.ioctl(VIDIOC_DQBUF, &buffer), 0);
        dma_buf_sync sync{DMA_BUF_SYNC_START | DMA_BUF_SYNC_READ};
        QCOMPARE(xioctl(dmabuf.get(), DMA_BUF_IOCTL_SYNC, &sync), 0);
        Image image;
        QVERIFY(decodeJpeg(static_cast<const uint8_t *>(data), buffer.bytesused, &image));
        QCOMPARE(frameCode(image, 640, 480), qint64(buffer.sequence));
        munmap(data, buffer.length);
    }

    void userPointerBuffers()
    {
        Fd fd("/dev/video0");
        v4l2_requestbuffers request{};
        request.count = 1;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_USERPTR;
        QCOMPARE(fd.ioctl(VIDIOC_REQBUFS, &request), 0);
        const size_t size = 640 * 480 * 2;
        std::vector<uint8_t> memory(size);
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_USERPTR;
        buffer.length = uint32_t(size);
        buffer.m.userptr = 0;
        QCOMPARE(fd.ioctl(VIDIOC_QBUF, &buffer), -EFAULT);
        buffer.m.userptr = reinterpret_cast<unsigned long>(memory.data());
        buffer.length = uint32_t(size - 1);
        QCOMPARE(fd.ioctl(VIDIOC_QBUF, &buffer), -EINVAL);
        buffer.length = uint32_t(size);
        QCOMPARE(fd.ioctl(VIDIOC_QBUF, &buffer), 0);
        QCOMPARE(fd.ioctl(VIDIOC_QBUF, &buffer), -EINVAL); // already queued
        uint32_t type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(fd.ioctl(VIDIOC_STREAMON, &type), 0);
        pollfd p{fd.get(), POLLIN, 0};
        QCOMPARE(poll(&p, 1, 3000), 1);
        QCOMPARE(fd.ioctl(VIDIOC_DQBUF, &buffer), 0);
        QCOMPARE(buffer.m.userptr, reinterpret_cast<unsigned long>(memory.data()));
        QCOMPARE(memory[0], uint8_t(0xFF));
        QCOMPARE(memory[1], uint8_t(0xD8));
        QCOMPARE(fd.ioctl(VIDIOC_STREAMOFF, &type), 0);
    }

    void uncompressedFrames()
    {
        Stream stream("/dev/video0");
        QVERIFY(setFormat(stream.fd, V4L2_PIX_FMT_YUYV, 640, 480));
        QVERIFY(stream.start(2));
        v4l2_buffer buffer{};
        QCOMPARE(stream.next(&buffer), 0);
        QCOMPARE(buffer.bytesused, 640u * 480 * 2);
        Image luma;
        luma.width = 640;
        luma.height = 480;
        luma.components = 1;
        luma.pixels.resize(640 * 480);
        for (size_t i = 0; i < luma.pixels.size(); ++i)
            luma.pixels[i] = stream.bytes(buffer)[i * 2];
        QCOMPARE(frameCode(luma, 640, 480), qint64(buffer.sequence));
    }

    void largeFrames()
    {
        Stream stream("/dev/video0");
        QVERIFY(setFormat(stream.fd, V4L2_PIX_FMT_MJPEG, 3264, 2448));
        QVERIFY(stream.start(2));
        v4l2_buffer buffer{};
        QCOMPARE(stream.next(&buffer, 5000), 0);
        Image image;
        QVERIFY(decodeJpeg(stream.bytes(buffer), buffer.bytesused, &image));
        QCOMPARE(image.warnings, 0);
        QCOMPARE(QSize(image.width, image.height), QSize(3264, 2448));
        QCOMPARE(frameCode(image, 3264, 2448), qint64(buffer.sequence));
    }

    void metadataNode()
    {
        Stream capture("/dev/video0");
        Stream meta("/dev/video1", V4L2_BUF_TYPE_META_CAPTURE);
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_META_CAPTURE;
        QCOMPARE(meta.fd.ioctl(VIDIOC_G_FMT, &format), 0);
        QCOMPARE(format.fmt.meta.dataformat, uint32_t(V4L2_META_FMT_UVC));
        QCOMPARE(format.fmt.meta.buffersize, 10240u);
        v4l2_requestbuffers request{};
        request.count = 2;
        request.type = V4L2_BUF_TYPE_META_CAPTURE;
        request.memory = V4L2_MEMORY_DMABUF;
        QCOMPARE(meta.fd.ioctl(VIDIOC_REQBUFS, &request), -EINVAL);
        QVERIFY(capture.start(2));
        QCOMPARE(meta.fd.ioctl(VIDIOC_S_FMT, &format), -EBUSY); // the video queue has buffers
        QVERIFY(meta.start(2));
        Fd other("/dev/video1");
        request.memory = V4L2_MEMORY_MMAP;
        QCOMPARE(other.ioctl(VIDIOC_REQBUFS, &request), -EBUSY); // the queue has its owner

        // Each frame the camera sends while both stream comes with its payload header.
        v4l2_buffer header{};
        QCOMPARE(meta.next(&header), 0);
        v4l2_buffer frame{};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(capture.next(&frame), 0);
            if (frame.sequence >= header.sequence)
                break;
            QCOMPARE(capture.requeue(&frame), 0);
        }
        QCOMPARE(frame.sequence, header.sequence);
        QCOMPARE(header.bytesused, uint32_t(sizeof(uvc_meta_buf) + 10));
        uvc_meta_buf entry;
        memcpy(&entry, meta.bytes(header), sizeof entry);
        QCOMPARE(int(entry.length), 12);
        QCOMPARE(qint64(entry.ns / 1000), microseconds(frame.timestamp));
    }

    // A camera in low light lengthens its exposure: fewer frames than negotiated, with
    // consecutive sequence numbers and timestamps that show the real pace.
    void deliveredRateSags()
    {
        Stream stream("/dev/video0");
        QVERIFY(stream.start(4));
        QCOMPARE(command("fps 12"), 0);
        v4l2_buffer buffer{};
        QCOMPARE(stream.next(&buffer), 0); // may still come at the old pace
        QCOMPARE(stream.requeue(&buffer), 0);
        QList<qint64> stamps;
        QList<qint64> sequences;
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(stream.next(&buffer), 0);
            stamps << microseconds(buffer.timestamp);
            sequences << buffer.sequence;
            QCOMPARE(stream.requeue(&buffer), 0);
        }
        int atPace = 0;
        for (int i = 1; i < stamps.size(); ++i) {
            QCOMPARE(sequences[i], sequences[i - 1] + 1);
            const qint64 step = stamps[i] - stamps[i - 1];
            QVERIFY2(step >= 83333 - 1000, qPrintable(QString::number(step)));
            atPace += qAbs(step - 83333) <= 1000;
        }
        QVERIFY(atPace >= 2);
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        QCOMPARE(stream.fd.ioctl(VIDIOC_G_PARM, &parm), 0);
        QCOMPARE(parm.parm.capture.timeperframe.denominator, 30u); // still what was negotiated
    }

    void unplugWhileStreaming()
    {
        Stream stream("/dev/video0");
        QVERIFY(stream.start(3));
        v4l2_buffer buffer{};
        QCOMPARE(stream.next(&buffer), 0);
        const uint8_t firstByte = stream.bytes(buffer)[0];
        QCOMPARE(command("unplug"), 0);

        pollfd p{stream.fd.get(), POLLIN | POLLPRI, 0};
        QCOMPARE(poll(&p, 1, 1000), 1);
        QVERIFY(p.revents & POLLERR);
        QVERIFY(p.revents & POLLHUP);
        v4l2_capability cap{};
        QCOMPARE(stream.fd.ioctl(VIDIOC_QUERYCAP, &cap), -ENODEV);
        QCOMPARE(stream.fd.ioctl(VIDIOC_DQBUF, &buffer), -ENODEV);
        QCOMPARE(stream.fd.ioctl(VIDIOC_QBUF, &buffer), -ENODEV);
        v4l2_control control{V4L2_CID_BRIGHTNESS, 0};
        QCOMPARE(stream.fd.ioctl(VIDIOC_G_CTRL, &control), -ENODEV);
        QCOMPARE(mmap(nullptr, 4096, PROT_READ, MAP_SHARED, stream.fd.get(), 0), MAP_FAILED);
        QCOMPARE(errno, ENODEV);
        char byte;
        QCOMPARE(read(stream.fd.get(), &byte, 1), ssize_t(-1));
        QCOMPARE(errno, ENODEV);
        QCOMPARE(stream.bytes(buffer)[0], firstByte); // mappings stay readable

        struct stat st;
        QCOMPARE(stat("/dev/video0", &st), -1);
        QCOMPARE(errno, ENOENT);
        QCOMPARE(lstat("/sys/class/video4linux/video0", &st), -1);
        QCOMPARE(lstat("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1", &st), -1);
        Fd reopened("/dev/video0");
        QCOMPARE(reopened.error(), ENOENT);

        // Plugged in again while the old node is still open: the numbers are still taken.
        QCOMPARE(command("replug"), 0);
        QCOMPARE(readFile("/sys/class/video4linux/video4/device/../idVendor"), QByteArray("04fc\n"));
        QCOMPARE(readFile("/sys/class/video4linux/video4/index"), QByteArray("0\n"));
        QVERIFY(state().contains("capture=/dev/video4 meta=/dev/video5"));
        Fd fresh("/dev/video4");
        QCOMPARE(fresh.ioctl(VIDIOC_QUERYCAP, &cap), 0);
        QCOMPARE(stream.fd.ioctl(VIDIOC_QUERYCAP, &cap), -ENODEV);
    }

    void unplugWakesABlockedDequeue()
    {
        Stream stream("/dev/video0", V4L2_BUF_TYPE_VIDEO_CAPTURE, O_RDWR | O_CLOEXEC);
        QCOMPARE(command("fps 0"), 0);
        QVERIFY(stream.start(2));
        std::future<std::pair<int, uint32_t>> waiting = std::async(std::launch::async, [&] {
            v4l2_buffer buffer{};
            buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            buffer.memory = V4L2_MEMORY_MMAP;
            const int result = stream.fd.ioctl(VIDIOC_DQBUF, &buffer);
            return std::make_pair(result, buffer.flags);
        });
        QTRY_VERIFY_WITH_TIMEOUT(state().contains("waiting=1"), 5000); // inside DQBUF
        QCOMPARE(int(waiting.wait_for(std::chrono::milliseconds(0))), int(std::future_status::timeout));
        QCOMPARE(command("unplug"), 0);
        QCOMPARE(int(waiting.wait_for(std::chrono::seconds(3))), int(std::future_status::ready));
        const auto [result, flags] = waiting.get();
        QCOMPARE(result, 0); // the driver hands back the buffer, marked as failed
        QVERIFY(flags & V4L2_BUF_FLAG_ERROR);
    }
};

int main(int argc, char **argv)
{
    ensurePreloaded(argv,
                    {{"FAKEUVC_CAMERAS", "name=USB Document Camera;vid=abcd,pid=1234,name=Other Webcam"}});
    QCoreApplication app(argc, argv);
    TestFakeUvcStreaming test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fakeuvcstreaming.moc"
