#pragma once

#include "sources/devices/DeviceFilter.h"
#include "sources/devices/v4l2/SysfsVideoScanner.h"
#include "sources/devices/v4l2/V4l2Io.h"

#include <QHash>

#include <memory>

// A V4L2 camera node taken by the device search. It keeps its own handle on the node for the
// controls (V4L2 allows control ioctls while another handle streams); capture runs in the
// pipeline's v4l2src on the same node.
//
// Mapping: brightness = V4L2_CID_BRIGHTNESS, power-line frequency =
// V4L2_CID_POWER_LINE_FREQUENCY (1 = 50 Hz, 2 = 60 Hz), focus = V4L2_CID_FOCUS_ABSOLUTE with
// V4L2_CID_FOCUS_AUTO (manual = auto off, auto = on). The extension unit is reached with
// UVCIOC_CTRL_QUERY; its unit id comes from the USB descriptors in sysfs, and each request
// carries the control's own length (UVC_GET_LEN), as the kernel insists.
//
// Threads: GUI thread only.
class V4l2DeviceFilter : public DeviceFilter
{
public:
    V4l2DeviceFilter(std::shared_ptr<V4l2Io> io, SysfsVideoNode node);
    ~V4l2DeviceFilter() override;

    bool isUsable() const { return m_handle.isOpen(); }
    // A node that captures frames (a UVC camera's other node carries metadata).
    bool isCaptureNode() const;

    QString displayName() const override;
    GstElement *createElement() override;

    bool hasPropertyControl() override;
    bool hasVideoProcAmp() override;
    bool hasCameraControl() override;

    QVector<FrameSizeOption> captureFormats() override;
    CaptureMode currentFormat() override;

    qint32 getProperty(DeviceProperty property, qint32 *value) override;
    qint32 getPropertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum) override;
    qint32 setProperty(DeviceProperty property, qint32 value, int flags) override;
    qint32 extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length) override;

private:
    static quint32 controlId(DeviceProperty property);
    bool controlOffered(quint32 id);
    int setControl(quint32 id, qint32 value);
    QVector<FrameRate> discreteRates(quint32 pixelFormat, int width, int height, FrameRate *minRate,
                                     FrameRate *maxRate);
    bool offersMjpeg();
    // The length of an extension-unit control (UVC_GET_LEN), or a negated errno.
    int extensionUnitLength(quint8 selector);

    std::shared_ptr<V4l2Io> m_io;
    SysfsVideoNode m_node;
    V4l2Handle m_handle;
    int m_extensionUnit = -2; // -2: not looked up yet, -1: none
    QHash<quint8, int> m_controlLengths;
};
