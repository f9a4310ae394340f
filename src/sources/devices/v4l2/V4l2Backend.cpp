#include "sources/devices/v4l2/V4l2Backend.h"

#include "common/Logging.h"
#include "sources/devices/v4l2/GstAudioInputFilter.h"
#include "sources/devices/v4l2/SysfsVideoScanner.h"
#include "sources/devices/v4l2/V4l2DeviceFilter.h"

#include <linux/videodev2.h>

#include <cstring>

V4l2Backend::V4l2Backend(QString sysRoot, std::shared_ptr<V4l2Io> io, QString devRoot)
    : m_sysRoot(std::move(sysRoot))
    , m_devRoot(std::move(devRoot))
    , m_io(std::move(io))
{ }

V4l2Backend::~V4l2Backend() = default;

bool V4l2Backend::isCaptureNode(const QString &devicePath) const
{
    V4l2Handle handle(m_io.get(), devicePath);
    v4l2_capability caps;
    std::memset(&caps, 0, sizeof caps);
    if (handle.control(VIDIOC_QUERYCAP, &caps) != 0) {
        qCDebug(lcSources) << "passing over" << devicePath << "(cannot query it)";
        return false;
    }
    // A uvcvideo camera has a second node for metadata; only the one that captures frames counts.
    const quint32 nodeCaps = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps
                                                                        : caps.capabilities;
    return (nodeCaps & V4L2_CAP_VIDEO_CAPTURE) != 0;
}

std::vector<DeviceMoniker> V4l2Backend::enumerate(DeviceCategory category)
{
    if (category == DeviceCategory::AudioInput)
        return GstAudioInputFilter::enumerate();

    std::vector<DeviceMoniker> monikers;
    const QVector<SysfsVideoNode> nodes = SysfsVideoScanner(m_sysRoot, m_devRoot).nodes();
    for (const SysfsVideoNode &node : nodes) {
        if (!isCaptureNode(node.devicePath))
            continue;
        std::shared_ptr<V4l2Io> io = m_io;
        monikers.push_back({node.displayName(), [io, node]() -> std::unique_ptr<DeviceFilter> {
                                auto filter = std::make_unique<V4l2DeviceFilter>(io, node);
                                if (!filter->isUsable())
                                    return nullptr;
                                return filter;
                            }});
    }
    return monikers;
}
