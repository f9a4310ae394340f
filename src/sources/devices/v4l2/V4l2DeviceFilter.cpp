#include "sources/devices/v4l2/V4l2DeviceFilter.h"

#include "sources/devices/v4l2/UvcDescriptorParser.h"

#include <gst/gst.h>
#include <linux/usb/video.h>
#include <linux/uvcvideo.h>
#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>

V4l2DeviceFilter::V4l2DeviceFilter(std::shared_ptr<V4l2Io> io, SysfsVideoNode node)
    : m_io(std::move(io))
    , m_node(std::move(node))
    , m_handle(m_io.get(), m_node.devicePath)
{ }

V4l2DeviceFilter::~V4l2DeviceFilter() = default;

QString V4l2DeviceFilter::displayName() const
{
    return m_node.displayName();
}

GstElement *V4l2DeviceFilter::createElement()
{
    GstElement *source = gst_element_factory_make("v4l2src", nullptr);
    if (source)
        g_object_set(source, "device", m_node.devicePath.toLocal8Bit().constData(), nullptr);
    return source;
}

bool V4l2DeviceFilter::hasPropertyControl()
{
    v4l2_capability caps;
    std::memset(&caps, 0, sizeof caps);
    if (m_handle.control(VIDIOC_QUERYCAP, &caps) != 0)
        return false;
    return std::strncmp(reinterpret_cast<const char *>(caps.driver), "uvcvideo", sizeof caps.driver) == 0;
}

bool V4l2DeviceFilter::controlOffered(quint32 id)
{
    v4l2_queryctrl query;
    std::memset(&query, 0, sizeof query);
    query.id = id;
    return m_handle.control(VIDIOC_QUERYCTRL, &query) == 0 && !(query.flags & V4L2_CTRL_FLAG_DISABLED);
}

bool V4l2DeviceFilter::hasVideoProcAmp()
{
    return controlOffered(V4L2_CID_BRIGHTNESS);
}

bool V4l2DeviceFilter::hasCameraControl()
{
    return controlOffered(V4L2_CID_FOCUS_ABSOLUTE) || controlOffered(V4L2_CID_FOCUS_AUTO);
}

quint32 V4l2DeviceFilter::controlId(DeviceProperty property)
{
    switch (property) {
    case DeviceProperty::Brightness:
        return V4L2_CID_BRIGHTNESS;
    case DeviceProperty::PowerLineFrequency:
        return V4L2_CID_POWER_LINE_FREQUENCY;
    case DeviceProperty::Focus:
        return V4L2_CID_FOCUS_ABSOLUTE;
    }
    return 0;
}

qint32 V4l2DeviceFilter::getProperty(DeviceProperty property, qint32 *value)
{
    v4l2_control control{controlId(property), 0};
    const int result = m_handle.control(VIDIOC_G_CTRL, &control);
    if (result == 0)
        *value = control.value;
    return result;
}

qint32 V4l2DeviceFilter::getPropertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum)
{
    v4l2_queryctrl query;
    std::memset(&query, 0, sizeof query);
    query.id = controlId(property);
    const int result = m_handle.control(VIDIOC_QUERYCTRL, &query);
    if (result == 0) {
        *minimum = query.minimum;
        *maximum = query.maximum;
    }
    return result;
}

int V4l2DeviceFilter::setControl(quint32 id, qint32 value)
{
    v4l2_control control{id, value};
    return m_handle.control(VIDIOC_S_CTRL, &control);
}

qint32 V4l2DeviceFilter::setProperty(DeviceProperty property, qint32 value, int flags)
{
    if (property != DeviceProperty::Focus)
        return setControl(controlId(property), value);

    if (flags & PROPERTY_FLAG_AUTO) {
        // Switching continuous autofocus on starts a focus run; a camera that only has the
        // one-shot trigger gets that instead.
        const int result = setControl(V4L2_CID_FOCUS_AUTO, 1);
        if (result == -EINVAL)
            return setControl(V4L2_CID_AUTO_FOCUS_START, 1);
        return result;
    }
    // Manual: the absolute focus only takes effect with autofocus off. A camera without the
    // auto switch is always manual.
    const int autoOff = setControl(V4L2_CID_FOCUS_AUTO, 0);
    if (autoOff != 0 && autoOff != -EINVAL)
        return autoOff;
    return setControl(V4L2_CID_FOCUS_ABSOLUTE, value);
}

int V4l2DeviceFilter::extensionUnitLength(quint8 selector)
{
    auto known = m_controlLengths.constFind(selector);
    if (known != m_controlLengths.constEnd())
        return known.value();
    quint8 wire[2] = {0, 0};
    uvc_xu_control_query query;
    std::memset(&query, 0, sizeof query);
    query.unit = static_cast<__u8>(m_extensionUnit);
    query.selector = selector;
    query.query = UVC_GET_LEN;
    query.size = sizeof wire;
    query.data = wire;
    const int result = m_handle.control(UVCIOC_CTRL_QUERY, &query);
    // wLength, little-endian as every UVC field.
    const int length = result == 0 ? int(wire[0] | wire[1] << 8) : result;
    if (result == 0 || result == -ENOENT)
        m_controlLengths.insert(selector, length);
    return length;
}

qint32 V4l2DeviceFilter::extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length)
{
    if (m_extensionUnit == -2) {
        m_extensionUnit = m_node.usbDevicePath.isEmpty()
            ? -1
            : UvcDescriptorParser::findExtensionUnitInFile(m_node.usbDevicePath
                                                               + QStringLiteral("/descriptors"),
                                                           UvcDescriptorParser::vendorExtensionGuid());
    }
    if (m_extensionUnit < 0)
        return -ENOENT;
    if (controlId > 0xFF || length > 0xFFFF || (length > 0 && !data))
        return -EINVAL;
    // The kernel passes a request on only with exactly the control's own length: the caller's
    // buffer is padded with zeros or cut to it, and a read hands back what fits.
    const int controlLength = extensionUnitLength(static_cast<quint8>(controlId));
    if (controlLength < 0)
        return controlLength;
    QByteArray wire(controlLength, '\0');
    const int common = qMin(controlLength, int(length));
    if (set && common > 0)
        std::memcpy(wire.data(), data, size_t(common));
    uvc_xu_control_query query;
    std::memset(&query, 0, sizeof query);
    query.unit = static_cast<__u8>(m_extensionUnit);
    query.selector = static_cast<__u8>(controlId);
    query.query = set ? UVC_SET_CUR : UVC_GET_CUR;
    query.size = static_cast<__u16>(controlLength);
    query.data = reinterpret_cast<__u8 *>(wire.data());
    const int result = m_handle.control(UVCIOC_CTRL_QUERY, &query);
    if (result == 0 && !set && common > 0)
        std::memcpy(data, wire.constData(), size_t(common));
    return result;
}

bool V4l2DeviceFilter::isCaptureNode() const
{
    v4l2_capability caps;
    std::memset(&caps, 0, sizeof caps);
    if (m_handle.control(VIDIOC_QUERYCAP, &caps) != 0)
        return false;
    const quint32 nodeCaps = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps
                                                                        : caps.capabilities;
    return (nodeCaps & V4L2_CAP_VIDEO_CAPTURE) != 0;
}

bool V4l2DeviceFilter::offersMjpeg()
{
    for (quint32 index = 0; index < 64; ++index) {
        v4l2_fmtdesc desc;
        std::memset(&desc, 0, sizeof desc);
        desc.index = index;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (m_handle.control(VIDIOC_ENUM_FMT, &desc) != 0)
            return false;
        if (desc.pixelformat == V4L2_PIX_FMT_MJPEG)
            return true;
    }
    return false;
}

QVector<FrameRate> V4l2DeviceFilter::discreteRates(quint32 pixelFormat, int width, int height,
                                                   FrameRate *minRate, FrameRate *maxRate)
{
    QVector<FrameRate> rates;
    *minRate = *maxRate = FrameRate();
    for (quint32 index = 0; index < 64; ++index) {
        v4l2_frmivalenum interval;
        std::memset(&interval, 0, sizeof interval);
        interval.index = index;
        interval.pixel_format = pixelFormat;
        interval.width = static_cast<quint32>(width);
        interval.height = static_cast<quint32>(height);
        if (m_handle.control(VIDIOC_ENUM_FRAMEINTERVALS, &interval) != 0)
            break;
        // An interval of n/d seconds is a rate of d/n frames/s, kept as the driver states it.
        if (interval.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            const FrameRate rate(int(interval.discrete.denominator), int(interval.discrete.numerator));
            if (rate.isValid())
                rates.append(rate);
            continue;
        }
        // Stepwise or continuous: the shortest interval is the highest rate.
        *maxRate = FrameRate(int(interval.stepwise.min.denominator), int(interval.stepwise.min.numerator));
        *minRate = FrameRate(int(interval.stepwise.max.denominator), int(interval.stepwise.max.numerator));
        break;
    }
    return rates;
}

QVector<FrameSizeOption> V4l2DeviceFilter::captureFormats()
{
    QVector<FrameSizeOption> options;
    if (!offersMjpeg())
        return options;
    for (quint32 index = 0; index < 256; ++index) {
        v4l2_frmsizeenum size;
        std::memset(&size, 0, sizeof size);
        size.index = index;
        size.pixel_format = V4L2_PIX_FMT_MJPEG;
        if (m_handle.control(VIDIOC_ENUM_FRAMESIZES, &size) != 0)
            break;
        FrameSizeOption option;
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            option.minWidth = option.maxWidth = int(size.discrete.width);
            option.minHeight = option.maxHeight = int(size.discrete.height);
        } else {
            option.minWidth = int(size.stepwise.min_width);
            option.maxWidth = int(size.stepwise.max_width);
            option.stepWidth = int(qMax(1u, size.stepwise.step_width));
            option.minHeight = int(size.stepwise.min_height);
            option.maxHeight = int(size.stepwise.max_height);
            option.stepHeight = int(qMax(1u, size.stepwise.step_height));
        }
        option.rates = discreteRates(V4L2_PIX_FMT_MJPEG, option.minWidth, option.minHeight, &option.minRate,
                                     &option.maxRate);
        options.append(option);
        if (size.type != V4L2_FRMSIZE_TYPE_DISCRETE)
            break; // one stepwise entry describes every size
    }
    return options;
}

CaptureMode V4l2DeviceFilter::currentFormat()
{
    CaptureMode mode;
    v4l2_format format;
    std::memset(&format, 0, sizeof format);
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (m_handle.control(VIDIOC_G_FMT, &format) == 0 && format.fmt.pix.pixelformat == V4L2_PIX_FMT_MJPEG) {
        mode.width = int(format.fmt.pix.width);
        mode.height = int(format.fmt.pix.height);
        v4l2_streamparm parm;
        std::memset(&parm, 0, sizeof parm);
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (m_handle.control(VIDIOC_G_PARM, &parm) == 0) {
            const v4l2_fract &frame = parm.parm.capture.timeperframe;
            const FrameRate rate(int(frame.denominator), int(frame.numerator));
            if (rate.isValid()) {
                mode.rateNumerator = rate.numerator;
                mode.rateDenominator = rate.denominator;
            }
        }
        return mode;
    }
    // The node is set to another pixel format: its own MJPG format is the first one it lists.
    const QVector<FrameSizeOption> options = captureFormats();
    if (options.isEmpty())
        return mode;
    const FrameSizeOption &first = options.first();
    mode.width = first.minWidth;
    mode.height = first.minHeight;
    const FrameRate rate = !first.rates.isEmpty() ? first.rates.first() : first.maxRate;
    if (rate.isValid()) {
        mode.rateNumerator = rate.numerator;
        mode.rateDenominator = rate.denominator;
    }
    return mode;
}
