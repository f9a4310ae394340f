#pragma once

#include "sources/devices/DeviceBackend.h"
#include "sources/devices/v4l2/V4l2Io.h"

#include <memory>

// The system's cameras: V4L2 capture nodes found in sysfs (the root is injectable so tests run
// on fixture trees) and the audio inputs of GStreamer's device monitor.
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
    bool isCaptureNode(const QString &devicePath) const;

    QString m_sysRoot;
    QString m_devRoot;
    std::shared_ptr<V4l2Io> m_io;
};
