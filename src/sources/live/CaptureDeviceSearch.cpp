#include "sources/live/CaptureDeviceSearch.h"

#include "sources/devices/UsbDeviceId.h"

#include <QDebug>

std::unique_ptr<DeviceFilter> CaptureDeviceSearch::enumCaptureFilter(DeviceBackend *backend,
                                                                     DeviceCategory category)
{
    std::vector<DeviceMoniker> devices = backend->enumerate(category);

    const bool video = category == DeviceCategory::VideoInput;
    int index = 0;
    for (DeviceMoniker &device : devices) {
        quint16 vid = 0, pid = 0;
        UsbDeviceId::parseVidPid(device.displayName, &vid, &pid);
        const bool supported = UsbDeviceId::isSupportedDevice(vid, pid);
        if (supported == video) {
            std::unique_ptr<DeviceFilter> filter = device.bind ? device.bind() : nullptr;
            if (filter) {
                qDebug("Done with index %d, USB VID_%04X&PID_%04X", index, unsigned(vid), unsigned(pid));
                if (video && !filter->hasPropertyControl()) {
                    filter.reset();
                    qDebug("cancelled");
                } else if (video && !filter->hasVideoProcAmp()) {
                    filter.reset();
                }
                if (filter)
                    return filter;
            }
        }
        ++index;
    }
    return nullptr;
}
