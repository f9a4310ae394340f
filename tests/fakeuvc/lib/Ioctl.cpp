// The V4L2 ioctls of the two nodes: what v4l2-ioctl does around a driver (argument copies,
// cleared fields, priorities, the ioctls a driver without a handler does not have) and
// uvcvideo's own answers for capabilities, formats, frame sizes and intervals, streaming
// parameters, inputs and selections. Controls and buffers live in Controls.cpp and
// Streaming.cpp.

#include "Registry.h"
#include "UvcMath.h"

#include <linux/uvcvideo.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

namespace fakeuvc {

namespace {

constexpr uint32_t kMetaBufferSize = 10240;

uint32_t kernelVersion()
{
    static uint32_t version = [] {
        utsname u;
        unsigned a = 6, b = 1, c = 0;
        if (uname(&u) == 0)
            sscanf(u.release, "%u.%u.%u", &a, &b, &c);
        return (a << 16) | (b << 8) | std::min(c, 255u);
    }();
    return version;
}

uint32_t maxPriority(const Device &device)
{
    for (uint32_t p = V4L2_PRIORITY_RECORD; p > V4L2_PRIORITY_UNSET; --p) {
        auto it = device.priorities.find(p);
        if (it != device.priorities.end() && it->second > 0)
            return p;
    }
    return V4L2_PRIORITY_UNSET;
}

bool isPriorityIoctl(unsigned long request)
{
    switch (request) {
    case VIDIOC_S_FMT:
    case VIDIOC_S_PARM:
    case VIDIOC_S_INPUT:
    case VIDIOC_S_CTRL:
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_REQBUFS:
    case VIDIOC_CREATE_BUFS:
    case VIDIOC_STREAMON:
    case VIDIOC_STREAMOFF:
    case VIDIOC_S_PRIORITY:
    case VIDIOC_S_SELECTION:
    case VIDIOC_S_CROP:
        return true;
    default:
        return false;
    }
}

// The fields v4l2-ioctl clears after copying the argument in (INFO_FL_CLEAR).
size_t clearFrom(unsigned long request)
{
    switch (request) {
    case VIDIOC_ENUM_FMT:
        return offsetof(v4l2_fmtdesc, type) + sizeof(uint32_t);
    case VIDIOC_G_FMT:
        return offsetof(v4l2_format, type) + sizeof(uint32_t);
    case VIDIOC_QUERYBUF:
        return offsetof(v4l2_buffer, length) + sizeof(uint32_t);
    case VIDIOC_ENUMINPUT:
        return offsetof(v4l2_input, index) + sizeof(uint32_t);
    case VIDIOC_QUERYCTRL:
        return offsetof(v4l2_queryctrl, id) + sizeof(uint32_t);
    case VIDIOC_QUERY_EXT_CTRL:
        return offsetof(v4l2_query_ext_ctrl, id) + sizeof(uint32_t);
    case VIDIOC_QUERYMENU:
        return offsetof(v4l2_querymenu, index) + sizeof(uint32_t);
    case VIDIOC_G_PARM:
        return offsetof(v4l2_streamparm, type) + sizeof(uint32_t);
    case VIDIOC_CROPCAP:
        return offsetof(v4l2_cropcap, type) + sizeof(uint32_t);
    case VIDIOC_G_SELECTION:
        return offsetof(v4l2_selection, r);
    case VIDIOC_EXPBUF:
        return offsetof(v4l2_exportbuffer, flags) + sizeof(uint32_t);
    case VIDIOC_ENUM_FRAMESIZES:
        return offsetof(v4l2_frmsizeenum, pixel_format) + sizeof(uint32_t);
    case VIDIOC_ENUM_FRAMEINTERVALS:
        return offsetof(v4l2_frmivalenum, height) + sizeof(uint32_t);
    default:
        return SIZE_MAX;
    }
}

uint32_t tryFrameInterval(const FrameDesc &frame, uint32_t interval)
{
    uint32_t best = UINT32_MAX;
    size_t i = 0;
    for (; i < frame.intervals.size(); ++i) {
        const uint32_t d = interval > frame.intervals[i] ? interval - frame.intervals[i]
                                                         : frame.intervals[i] - interval;
        if (d > best)
            break;
        best = d;
    }
    return frame.intervals[i - 1];
}

void fillPixFormat(const FormatDesc &format, const FrameDesc &frame, uint32_t sizeimage, v4l2_pix_format *pix)
{
    pix->width = frame.width;
    pix->height = frame.height;
    pix->field = V4L2_FIELD_NONE;
    pix->bytesperline = uint32_t(format.bitsPerPixel) * frame.width / 8;
    pix->sizeimage = sizeimage;
    pix->pixelformat = format.fourcc;
    pix->colorspace = V4L2_COLORSPACE_SRGB;
    pix->xfer_func = V4L2_XFER_FUNC_709;
    pix->ycbcr_enc = V4L2_YCBCR_ENC_601;
}

void sanitizeFormat(v4l2_format *f)
{
    if (f->fmt.pix.priv == V4L2_PIX_FMT_PRIV_MAGIC)
        return;
    f->fmt.pix.priv = V4L2_PIX_FMT_PRIV_MAGIC;
    const size_t from = offsetof(v4l2_pix_format, priv) + sizeof(uint32_t);
    memset(reinterpret_cast<char *>(&f->fmt.pix) + from, 0, sizeof(v4l2_pix_format) - from);
}

// uvc_v4l2_try_format: the format, the nearest frame size by non-overlapping area, the
// frame's default interval.
int tryFormat(const Device &device, v4l2_format *f, size_t *formatIndex, size_t *frameIndex)
{
    const auto &formats = device.camera->formats;
    size_t fi = 0;
    while (fi < formats.size() && formats[fi].fourcc != f->fmt.pix.pixelformat)
        ++fi;
    if (fi == formats.size()) {
        fi = 0;
        f->fmt.pix.pixelformat = formats[0].fourcc;
    }
    const FormatDesc &format = formats[fi];
    const uint16_t rw = uint16_t(f->fmt.pix.width);
    const uint16_t rh = uint16_t(f->fmt.pix.height);
    uint32_t maxd = UINT32_MAX;
    size_t best = 0;
    for (size_t i = 0; i < format.frames.size(); ++i) {
        const uint32_t w = format.frames[i].width;
        const uint32_t h = format.frames[i].height;
        uint32_t d = std::min<uint32_t>(w, rw) * std::min<uint32_t>(h, rh);
        d = w * h + uint32_t(rw) * rh - 2 * d;
        if (d < maxd) {
            maxd = d;
            best = i;
        }
        if (maxd == 0)
            break;
    }
    const FrameDesc &frame = format.frames[best];
    fillPixFormat(format, frame, frame.maxFrameSize, &f->fmt.pix);
    *formatIndex = fi;
    *frameIndex = best;
    return 0;
}

int captureIoctl(Handle &handle, unsigned long request, void *arg)
{
    Device &device = *handle.device;
    switch (request) {
    case VIDIOC_ENUM_FMT: {
        auto *d = static_cast<v4l2_fmtdesc *>(arg);
        if (d->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || d->index >= device.camera->formats.size())
            return -EINVAL;
        const FormatDesc &format = device.camera->formats[d->index];
        const uint32_t index = d->index;
        memset(d, 0, sizeof *d);
        d->index = index;
        d->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        d->flags = format.compressed ? V4L2_FMT_FLAG_COMPRESSED : 0;
        strncpy(reinterpret_cast<char *>(d->description), format.compressed ? "Motion-JPEG" : "YUYV 4:2:2",
                sizeof d->description - 1);
        d->pixelformat = format.fourcc;
        return 0;
    }
    case VIDIOC_G_FMT: {
        auto *f = static_cast<v4l2_format *>(arg);
        if (f->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
            return -EINVAL;
        memset(&f->fmt, 0, sizeof f->fmt);
        fillPixFormat(device.format(), device.frame(), device.maxVideoFrameSize, &f->fmt.pix);
        f->fmt.pix.priv = V4L2_PIX_FMT_PRIV_MAGIC;
        return 0;
    }
    case VIDIOC_TRY_FMT:
    case VIDIOC_S_FMT: {
        auto *f = static_cast<v4l2_format *>(arg);
        if (f->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
            return -EINVAL;
        sanitizeFormat(f);
        if (request == VIDIOC_S_FMT) {
            if (!handle.privileged && (device.privileged || device.camera->busy))
                return -EBUSY;
            if (!handle.privileged) {
                device.privileged = &handle;
                handle.privileged = true;
            }
        }
        size_t formatIndex, frameIndex;
        tryFormat(device, f, &formatIndex, &frameIndex);
        f->fmt.pix.priv = V4L2_PIX_FMT_PRIV_MAGIC;
        if (request == VIDIOC_TRY_FMT)
            return 0;
        if (!device.capture.queue.buffers.empty())
            return -EBUSY;
        device.curFormat = formatIndex;
        device.curFrame = frameIndex;
        device.frameInterval = tryFrameInterval(device.frame(), device.frame().defaultInterval);
        device.maxVideoFrameSize = device.frame().maxFrameSize;
        return 0;
    }
    case VIDIOC_G_PARM: {
        auto *p = static_cast<v4l2_streamparm *>(arg);
        if (p->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
            return -EINVAL;
        const Fraction tpf = intervalFraction(device.frameInterval);
        memset(p, 0, sizeof *p);
        p->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        p->parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
        p->parm.capture.timeperframe.numerator = tpf.numerator;
        p->parm.capture.timeperframe.denominator = tpf.denominator;
        return 0;
    }
    case VIDIOC_S_PARM: {
        auto *p = static_cast<v4l2_streamparm *>(arg);
        if (p->type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
            return -EINVAL;
        memset(p->parm.capture.reserved, 0, sizeof p->parm.capture.reserved);
        p->parm.capture.extendedmode = 0;
        p->parm.capture.capturemode &= V4L2_MODE_HIGHQUALITY;
        if (!handle.privileged && (device.privileged || device.camera->busy))
            return -EBUSY;
        if (!handle.privileged) {
            device.privileged = &handle;
            handle.privileged = true;
        }
        if (device.capture.queue.streaming)
            return -EBUSY;
        const uint32_t wanted = fractionToInterval(p->parm.capture.timeperframe.numerator,
                                                   p->parm.capture.timeperframe.denominator);
        // Frames of the same size under other frame indices are not listed twice here, so
        // the current frame descriptor decides.
        device.frameInterval = tryFrameInterval(device.frame(), wanted);
        const Fraction tpf = intervalFraction(device.frameInterval);
        p->parm.capture.timeperframe.numerator = tpf.numerator;
        p->parm.capture.timeperframe.denominator = tpf.denominator;
        p->parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
        auto *s = static_cast<v4l2_frmsizeenum *>(arg);
        const auto &formats = device.camera->formats;
        auto format = std::find_if(formats.begin(), formats.end(),
                                   [&](const FormatDesc &d) { return d.fourcc == s->pixel_format; });
        if (format == formats.end() || s->index >= format->frames.size())
            return -EINVAL;
        s->type = V4L2_FRMSIZE_TYPE_DISCRETE;
        s->discrete.width = format->frames[s->index].width;
        s->discrete.height = format->frames[s->index].height;
        return 0;
    }
    case VIDIOC_ENUM_FRAMEINTERVALS: {
        auto *v = static_cast<v4l2_frmivalenum *>(arg);
        const auto &formats = device.camera->formats;
        auto format = std::find_if(formats.begin(), formats.end(),
                                   [&](const FormatDesc &d) { return d.fourcc == v->pixel_format; });
        if (format == formats.end())
            return -EINVAL;
        auto frame = std::find_if(format->frames.begin(), format->frames.end(), [&](const FrameDesc &f) {
            return f.width == v->width && f.height == v->height;
        });
        if (frame == format->frames.end() || v->index >= frame->intervals.size())
            return -EINVAL;
        const Fraction f = intervalFraction(frame->intervals[v->index]);
        v->type = V4L2_FRMIVAL_TYPE_DISCRETE;
        v->discrete.numerator = f.numerator;
        v->discrete.denominator = f.denominator;
        return 0;
    }
    case VIDIOC_ENUMINPUT: {
        auto *in = static_cast<v4l2_input *>(arg);
        if (in->index != 0)
            return -EINVAL;
        memset(in, 0, sizeof *in);
        strncpy(reinterpret_cast<char *>(in->name), "Camera 1", sizeof in->name - 1);
        in->type = V4L2_INPUT_TYPE_CAMERA;
        return 0;
    }
    case VIDIOC_G_INPUT:
        *static_cast<int *>(arg) = 0;
        return 0;
    case VIDIOC_S_INPUT:
        if (!handle.privileged && (device.privileged || device.camera->busy))
            return -EBUSY;
        if (!handle.privileged) {
            device.privileged = &handle;
            handle.privileged = true;
        }
        return *static_cast<int *>(arg) == 0 ? 0 : -EINVAL;
    case VIDIOC_G_SELECTION: {
        auto *s = static_cast<v4l2_selection *>(arg);
        const uint32_t type = s->type == V4L2_BUF_TYPE_VIDEO_CAPTURE_MPLANE
            ? uint32_t(V4L2_BUF_TYPE_VIDEO_CAPTURE)
            : s->type;
        if (type != V4L2_BUF_TYPE_VIDEO_CAPTURE
            || (s->target != V4L2_SEL_TGT_CROP_DEFAULT && s->target != V4L2_SEL_TGT_CROP_BOUNDS))
            return -EINVAL;
        s->r = {0, 0, device.frame().width, device.frame().height};
        return 0;
    }
    case VIDIOC_CROPCAP: {
        auto *c = static_cast<v4l2_cropcap *>(arg);
        const uint32_t type = c->type == V4L2_BUF_TYPE_VIDEO_CAPTURE_MPLANE
            ? uint32_t(V4L2_BUF_TYPE_VIDEO_CAPTURE)
            : c->type;
        c->pixelaspect = {1, 1};
        if (type != V4L2_BUF_TYPE_VIDEO_CAPTURE)
            return -EINVAL;
        c->bounds = c->defrect = {0, 0, device.frame().width, device.frame().height};
        return 0;
    }
    case VIDIOC_G_CROP:
        return -EINVAL; // the selection target CROP is not one uvcvideo answers
    case VIDIOC_SUBSCRIBE_EVENT: {
        auto *sub = static_cast<v4l2_event_subscription *>(arg);
        if (sub->type != V4L2_EVENT_CTRL)
            return -EINVAL;
        v4l2_queryctrl q{};
        q.id = sub->id;
        return controlIoctl(handle, VIDIOC_QUERYCTRL, &q) == 0 ? 0 : -EINVAL;
    }
    case VIDIOC_UNSUBSCRIBE_EVENT:
        return 0;
    case VIDIOC_DQEVENT:
        // No control events are raised; a blocking wait would last until a signal.
        return -ENOENT;
    default:
        return -ENOTTY;
    }
}

int metadataIoctl(Handle &handle, unsigned long request, void *arg)
{
    Device &device = *handle.device;
    switch (request) {
    case VIDIOC_ENUM_FMT: {
        auto *d = static_cast<v4l2_fmtdesc *>(arg);
        if (d->type != V4L2_BUF_TYPE_META_CAPTURE || d->index > 0)
            return -EINVAL;
        memset(d, 0, sizeof *d);
        d->type = V4L2_BUF_TYPE_META_CAPTURE;
        d->pixelformat = V4L2_META_FMT_UVC;
        strncpy(reinterpret_cast<char *>(d->description), "UVC Payload Header Metadata",
                sizeof d->description - 1);
        return 0;
    }
    case VIDIOC_G_FMT:
    case VIDIOC_TRY_FMT:
    case VIDIOC_S_FMT: {
        auto *f = static_cast<v4l2_format *>(arg);
        if (f->type != V4L2_BUF_TYPE_META_CAPTURE)
            return -EINVAL;
        memset(&f->fmt.meta, 0, sizeof f->fmt.meta);
        f->fmt.meta.dataformat = V4L2_META_FMT_UVC;
        f->fmt.meta.buffersize = kMetaBufferSize;
        if (request == VIDIOC_S_FMT && !device.capture.queue.buffers.empty())
            return -EBUSY;
        return 0;
    }
    default:
        return -ENOTTY;
    }
}

int dispatch(Handle &handle, unsigned long request, void *arg, std::unique_lock<std::mutex> &lock)
{
    Device &device = *handle.device;
    if (isPriorityIoctl(request) && handle.priority < maxPriority(device))
        return -EBUSY;
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto *cap = static_cast<v4l2_capability *>(arg);
        memset(cap, 0, sizeof *cap);
        strncpy(reinterpret_cast<char *>(cap->driver), "uvcvideo", sizeof cap->driver - 1);
        strncpy(reinterpret_cast<char *>(cap->card), device.camera->cameraSpec.product.c_str(),
                sizeof cap->card - 1);
        snprintf(reinterpret_cast<char *>(cap->bus_info), sizeof cap->bus_info, "usb-0000:00:14.0-%d",
                 device.camera->cameraSpec.port);
        cap->version = kernelVersion();
        cap->capabilities = V4L2_CAP_DEVICE_CAPS | V4L2_CAP_STREAMING | V4L2_CAP_VIDEO_CAPTURE
            | V4L2_CAP_META_CAPTURE | V4L2_CAP_EXT_PIX_FORMAT;
        cap->device_caps = (handle.kind == NodeKind::Capture ? V4L2_CAP_VIDEO_CAPTURE : V4L2_CAP_META_CAPTURE)
            | V4L2_CAP_STREAMING | V4L2_CAP_EXT_PIX_FORMAT;
        return 0;
    }
    case VIDIOC_G_PRIORITY:
        *static_cast<uint32_t *>(arg) = maxPriority(device);
        return 0;
    case VIDIOC_S_PRIORITY: {
        const uint32_t wanted = *static_cast<uint32_t *>(arg);
        if (wanted != V4L2_PRIORITY_BACKGROUND && wanted != V4L2_PRIORITY_INTERACTIVE
            && wanted != V4L2_PRIORITY_RECORD)
            return -EINVAL;
        if (--device.priorities[handle.priority] <= 0)
            device.priorities.erase(handle.priority);
        handle.priority = wanted;
        device.priorities[wanted]++;
        return 0;
    }
    case VIDIOC_REQBUFS:
    case VIDIOC_CREATE_BUFS:
    case VIDIOC_QUERYBUF:
    case VIDIOC_QBUF:
    case VIDIOC_DQBUF:
    case VIDIOC_PREPARE_BUF:
    case VIDIOC_EXPBUF:
    case VIDIOC_STREAMON:
    case VIDIOC_STREAMOFF:
        return bufferIoctl(handle, request, arg, lock);
    case VIDIOC_QUERYCTRL:
    case VIDIOC_QUERY_EXT_CTRL:
    case VIDIOC_QUERYMENU:
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
    case VIDIOC_G_EXT_CTRLS:
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_TRY_EXT_CTRLS:
    case UVCIOC_CTRL_QUERY:
        return controlIoctl(handle, request, arg);
    default:
        return handle.kind == NodeKind::Capture ? captureIoctl(handle, request, arg)
                                                : metadataIoctl(handle, request, arg);
    }
}

} // namespace

// video_usercopy: the driver works on a copy; it goes back to the caller on success (and
// for the extended controls, whose error index counts, always).
int nodeIoctl(Handle &handle, unsigned long request, void *arg, std::unique_lock<std::mutex> &lock)
{
    // Requests the file layer answers before any driver sees them.
    if (request == FIONBIO || request == FIOASYNC || request == FIOCLEX || request == FIONCLEX)
        return -ENOSYS;
    if (handle.device->unplugged)
        return -ENODEV;
    const unsigned type = _IOC_TYPE(request);
    if (type != 'V' && type != 'u')
        return -ENOTTY;
    const size_t size = _IOC_SIZE(request);
    if (size > 4096)
        return -ENOTTY;
    alignas(16) unsigned char copy[4096];
    if (size > 0) {
        if (!arg)
            return -EFAULT;
        if (_IOC_DIR(request) & _IOC_WRITE)
            memcpy(copy, arg, size);
        else
            memset(copy, 0, size);
        const size_t from = clearFrom(request);
        if (from < size)
            memset(copy + from, 0, size - from);
    }
    const int result = dispatch(handle, request, size ? copy : arg, lock);
    const bool alwaysCopy = request == VIDIOC_G_EXT_CTRLS || request == VIDIOC_S_EXT_CTRLS
        || request == VIDIOC_TRY_EXT_CTRLS;
    if (size > 0 && (_IOC_DIR(request) & _IOC_READ) && (result >= 0 || alwaysCopy))
        memcpy(arg, copy, size);
    return result;
}

} // namespace fakeuvc
