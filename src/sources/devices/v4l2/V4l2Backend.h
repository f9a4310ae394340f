#pragma once

#include "sources/devices/DeviceBackend.h"
#include "sources/devices/v4l2/V4l2Io.h"

#include <memory>

struct SysfsVideoNode;

// The system's cameras: V4L2 capture nodes found in sysfs (the root is injectable so tests run
// on fixture trees) and the audio inputs of GStreamer's device monitor.
//
// The search runs twice a second while no camera is open, so it reads the USB ids in sysfs
// first and opens only the nodes of supported document cameras: opening a node wakes its
// camera, and other webcams on the machine are left asleep. A supported camera's node is
// opened to tell its capture node from its metadata node and to learn whether it can be used
// now (permission, another program streaming from it). Other nodes are listed unopened, one
// per device (the first, sysfs index 0: a UVC camera's capture node), so that the search
// counts devices as the system lists video inputs.
//
// Threads: GUI thread only.
class V4l2Backend : public DeviceBackend
{
public:
    explicit V4l2Backend(QString sysRoot = QStringLiteral("/sys"),
                         std::shared_ptr<V4l2Io> io = std::make_shared<V4l2Io>(),
                         QString devRoot = QStringLiteral("/dev"));
    ~V4l2Backend() override;

    std::vector<DeviceMoniker> enumerate(DeviceCategory category) override;

private:
    // What opening a supported camera's node tells.
    struct Probe
    {
        bool capture = false; // a node that captures frames (not the metadata node)
        int unusable = 0;     // -EACCES, -EBUSY, or 0
    };
    Probe probe(const SysfsVideoNode &node) const;
    DeviceMoniker moniker(const SysfsVideoNode &node) const;

    QString m_sysRoot;
    QString m_devRoot;
    std::shared_ptr<V4l2Io> m_io;
};
