#include "sources/devices/DeviceFilter.h"

#include <cerrno>

DeviceFilter::~DeviceFilter() = default;

bool DeviceFilter::hasPropertyControl()
{
    return false;
}
bool DeviceFilter::hasVideoProcAmp()
{
    return false;
}
bool DeviceFilter::hasCameraControl()
{
    return false;
}

QVector<FrameSizeOption> DeviceFilter::captureFormats()
{
    return {};
}
CaptureMode DeviceFilter::currentFormat()
{
    return {};
}

qint32 DeviceFilter::getProperty(DeviceProperty, qint32 *)
{
    return -ENOTTY;
}
qint32 DeviceFilter::getPropertyRange(DeviceProperty, qint32 *, qint32 *)
{
    return -ENOTTY;
}
qint32 DeviceFilter::setProperty(DeviceProperty, qint32, int)
{
    return -ENOTTY;
}
qint32 DeviceFilter::extensionUnitRequest(bool, quint32, void *, quint32)
{
    return -ENOTTY;
}
