#include "FakeV4l2Io.h"

#include <linux/usb/video.h>
#include <linux/uvcvideo.h>
#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>

int FakeV4l2Io::openDevice(const QString &path)
{
    auto it = nodes.find(path);
    if (it == nodes.end())
        return -ENOENT;
    if (it->openError)
        return it->openError;
    ++openCount;
    openedPaths << path;
    const int fd = m_nextFd++;
    m_open.insert(fd, path);
    return fd;
}

void FakeV4l2Io::closeDevice(int fd)
{
    m_open.remove(fd);
}

int FakeV4l2Io::control(int fd, unsigned long request, void *arg)
{
    if (!m_open.contains(fd))
        return -EBADF;
    Node &node = nodes[m_open.value(fd)];
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto *caps = static_cast<v4l2_capability *>(arg);
        std::memset(caps, 0, sizeof *caps);
        std::strncpy(reinterpret_cast<char *>(caps->driver), node.driver.constData(),
                     sizeof caps->driver - 1);
        caps->capabilities = node.deviceCaps | V4L2_CAP_DEVICE_CAPS;
        caps->device_caps = node.deviceCaps;
        return 0;
    }
    case VIDIOC_QUERYCTRL: {
        auto *query = static_cast<v4l2_queryctrl *>(arg);
        if (!node.controls.contains(query->id))
            return -EINVAL;
        const Control &c = node.controls[query->id];
        query->minimum = c.minimum;
        query->maximum = c.maximum;
        query->flags = c.flags;
        query->step = 1;
        return 0;
    }
    case VIDIOC_G_CTRL: {
        auto *ctrl = static_cast<v4l2_control *>(arg);
        if (!node.controls.contains(ctrl->id))
            return -EINVAL;
        ctrl->value = node.controls[ctrl->id].value;
        return 0;
    }
    case VIDIOC_S_CTRL: {
        auto *ctrl = static_cast<v4l2_control *>(arg);
        if (!node.controls.contains(ctrl->id))
            return -EINVAL;
        Control &c = node.controls[ctrl->id];
        calls << QStringLiteral("S_CTRL %1 %2").arg(ctrl->id, 0, 16).arg(ctrl->value);
        // uvcvideo clamps a value outside the range; it does not refuse it.
        c.value = qBound(c.minimum, ctrl->value, c.maximum);
        return 0;
    }
    case VIDIOC_REQBUFS:
        return node.streamError;
    case UVCIOC_CTRL_QUERY: {
        auto *query = static_cast<uvc_xu_control_query *>(arg);
        const bool set = query->query == UVC_SET_CUR;
        const bool length = query->query == UVC_GET_LEN;
        calls << QStringLiteral("XU %1 %2 %3 %4")
                     .arg(query->unit)
                     .arg(query->selector)
                     .arg(set                               ? QStringLiteral("SET")
                              : query->query == UVC_GET_CUR ? QStringLiteral("GET")
                              : length                      ? QStringLiteral("LEN")
                                                            : QStringLiteral("?"))
                     .arg(query->size);
        const quint32 key = quint32(query->unit) << 8 | query->selector;
        const int controlLength = node.unitLengths.value(key, 4);
        // As uvcvideo: GET_LEN takes 2 bytes, every other request exactly the control's length.
        if (query->size != (length ? 2 : controlLength))
            return -ENOBUFS;
        if (length) {
            query->data[0] = quint8(controlLength & 0xFF);
            query->data[1] = quint8(controlLength >> 8);
            return 0;
        }
        if (set) {
            node.unitData[key] = QByteArray(reinterpret_cast<const char *>(query->data), query->size);
            return 0;
        }
        if (!node.unitData.contains(key))
            return -ENOENT;
        const QByteArray data = node.unitData.value(key);
        std::memcpy(query->data, data.constData(), qMin<size_t>(size_t(data.size()), query->size));
        return 0;
    }
    case VIDIOC_ENUM_FMT: {
        auto *desc = static_cast<v4l2_fmtdesc *>(arg);
        const QVector<quint32> formats = node.mjpegSizes.isEmpty()
            ? QVector<quint32>{V4L2_PIX_FMT_YUYV}
            : QVector<quint32>{V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_MJPEG};
        if (desc->index >= quint32(formats.size()))
            return -EINVAL;
        desc->pixelformat = formats[int(desc->index)];
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
        auto *size = static_cast<v4l2_frmsizeenum *>(arg);
        if (size->pixel_format != V4L2_PIX_FMT_MJPEG || size->index >= quint32(node.mjpegSizes.size()))
            return -EINVAL;
        size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
        size->discrete.width = node.mjpegSizes[int(size->index)].width;
        size->discrete.height = node.mjpegSizes[int(size->index)].height;
        return 0;
    }
    case VIDIOC_ENUM_FRAMEINTERVALS: {
        auto *interval = static_cast<v4l2_frmivalenum *>(arg);
        for (const FrameSize &size : node.mjpegSizes) {
            if (size.width != interval->width || size.height != interval->height)
                continue;
            if (interval->index >= quint32(size.rates.size()))
                return -EINVAL;
            interval->type = V4L2_FRMIVAL_TYPE_DISCRETE;
            interval->discrete.numerator = 1;
            interval->discrete.denominator = size.rates[int(interval->index)];
            return 0;
        }
        return -EINVAL;
    }
    case VIDIOC_G_FMT: {
        auto *format = static_cast<v4l2_format *>(arg);
        format->fmt.pix.pixelformat = node.currentPixelFormat ? node.currentPixelFormat : V4L2_PIX_FMT_MJPEG;
        format->fmt.pix.width = node.currentSize.width;
        format->fmt.pix.height = node.currentSize.height;
        return 0;
    }
    case VIDIOC_G_PARM: {
        auto *parm = static_cast<v4l2_streamparm *>(arg);
        if (node.currentSize.rates.isEmpty())
            return -EINVAL;
        parm->parm.capture.timeperframe.numerator = 1;
        parm->parm.capture.timeperframe.denominator = node.currentSize.rates.first();
        return 0;
    }
    default:
        return -ENOTTY;
    }
}
