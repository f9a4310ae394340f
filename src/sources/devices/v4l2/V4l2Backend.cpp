#include "sources/devices/v4l2/V4l2Backend.h"

#include "sources/devices/UsbDeviceId.h"
#include "sources/devices/v4l2/GstAudioInputFilter.h"
#include "sources/devices/v4l2/SysfsVideoScanner.h"
#include "sources/devices/v4l2/V4l2DeviceFilter.h"

#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>

V4l2Backend::V4l2Backend(QString sysRoot, std::shared_ptr<V4l2Io> io, QString devRoot)
    : m_sysRoot(std::move(sysRoot))
    , m_devRoot(std::move(devRoot))
    , m_io(std::move(io))
{ }

V4l2Backend::~V4l2Backend() = default;

V4l2Backend::Probe V4l2Backend::probe(const SysfsVideoNode &node) const
{
    Probe result;
    V4l2Handle handle(m_io.get(), node.devicePath);
    if (!handle.isOpen()) {
        // The node is there but will not open for this user: both nodes of the camera refuse
        // alike, so the capture node is taken to be the first. A node that vanished since the
        // scan is no camera.
        if (handle.error() == -EACCES || handle.error() == -EPERM) {
            result.capture = node.index <= 0;
            result.unusable = -EACCES;
        }
        return result;
    }
    v4l2_capability caps;
    std::memset(&caps, 0, sizeof caps);
    if (handle.control(VIDIOC_QUERYCAP, &caps) != 0)
        return result;
    // A uvcvideo camera has a second node for metadata; only the one that captures frames counts.
    const quint32 nodeCaps = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps
                                                                        : caps.capabilities;
    result.capture = (nodeCaps & V4L2_CAP_VIDEO_CAPTURE) != 0;
    if (!result.capture)
        return result;
    // uvcvideo lets one file at a time stream. Asking for no buffers takes that right and
    // gives it back at once when it is free, and fails with EBUSY while another program holds
    // it; nothing else changes on the device.
    v4l2_requestbuffers request;
    std::memset(&request, 0, sizeof request);
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    request.count = 0;
    if (handle.control(VIDIOC_REQBUFS, &request) == -EBUSY)
        result.unusable = -EBUSY;
    return result;
}

DeviceMoniker V4l2Backend::moniker(const SysfsVideoNode &node) const
{
    std::shared_ptr<V4l2Io> io = m_io;
    DeviceMoniker moniker;
    moniker.displayName = node.displayName();
    moniker.location = node.devicePath;
    moniker.isBuiltIn = node.builtIn;
    moniker.bind = [io, node]() -> std::unique_ptr<DeviceFilter> {
        auto filter = std::make_unique<V4l2DeviceFilter>(io, node);
        if (!filter->isUsable() || !filter->isCaptureNode())
            return nullptr;
        return filter;
    };
    return moniker;
}

std::vector<DeviceMoniker> V4l2Backend::enumerate(DeviceCategory category)
{
    if (category == DeviceCategory::AudioInput)
        return GstAudioInputFilter::enumerate();

    std::vector<DeviceMoniker> monikers;
    const QVector<SysfsVideoNode> nodes = SysfsVideoScanner(m_sysRoot, m_devRoot).nodes();
    for (const SysfsVideoNode &node : nodes) {
        if (!UsbDeviceId::isSupportedDevice(node.vid, node.pid)) {
            if (node.index <= 0)
                monikers.push_back(moniker(node));
            continue;
        }
        const Probe found = probe(node);
        if (!found.capture)
            continue;
        DeviceMoniker entry = moniker(node);
        entry.unusable = found.unusable;
        monikers.push_back(std::move(entry));
    }
    return monikers;
}
