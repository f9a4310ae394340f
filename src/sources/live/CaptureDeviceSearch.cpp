#include "sources/live/CaptureDeviceSearch.h"

#include "common/Logging.h"
#include "sources/devices/UsbDeviceId.h"

#include <QDebug>

#include <algorithm>

namespace {

void logTaken(int index, const DeviceMoniker &device)
{
    quint16 vid = 0, pid = 0;
    UsbDeviceId::parseVidPid(device.displayName, &vid, &pid);
    qCDebug(lcTrace, "Done with index %d, USB VID_%04X&PID_%04X", index, unsigned(vid), unsigned(pid));
}

bool isSupported(const DeviceMoniker &device)
{
    quint16 vid = 0, pid = 0;
    UsbDeviceId::parseVidPid(device.displayName, &vid, &pid);
    return UsbDeviceId::isSupportedDevice(vid, pid);
}

// Pass 0 takes the vendor's cameras, pass 1 any other external USB camera, pass 2 a camera
// built into the computer.
bool takenInPass(const DeviceMoniker &device, int pass)
{
    quint16 vid = 0, pid = 0;
    UsbDeviceId::parseVidPid(device.displayName, &vid, &pid);
    if (UsbDeviceId::isSupportedDevice(vid, pid))
        return pass == 0;
    if (vid == 0)
        return false;
    return pass == (device.isBuiltIn ? 2 : 1);
}

} // namespace

std::unique_ptr<DeviceFilter>
CaptureDeviceSearch::enumCaptureFilter(DeviceBackend *backend, DeviceCategory category, Problem *problem)
{
    if (problem)
        *problem = Problem();
    std::vector<DeviceMoniker> devices = backend->enumerate(category);
    if (category == DeviceCategory::VideoInput)
        return videoSearch(devices, problem);
    return audioSearch(devices);
}

std::unique_ptr<DeviceFilter> CaptureDeviceSearch::videoSearch(std::vector<DeviceMoniker> &devices,
                                                               Problem *problem)
{
    // The vendor's own cameras are taken first; only without one does another maker's USB
    // camera become the live camera, and a laptop's own camera last. Nodes not on USB (loopback outputs, test
    // patterns) never do.
    Problem first;
    for (int pass = 0; pass < 3; ++pass) {
        for (int index = 0; index < int(devices.size()); ++index) {
            DeviceMoniker &device = devices[size_t(index)];
            if (!takenInPass(device, pass))
                continue;
            if (device.unusable != 0) {
                if (first.error == 0)
                    first = {device.unusable, device.location};
                continue;
            }
            std::unique_ptr<DeviceFilter> filter = device.bind ? device.bind() : nullptr;
            if (!filter)
                continue;
            logTaken(index, device);
            if (!filter->hasPropertyControl()) {
                qCDebug(lcTrace, "cancelled");
                continue;
            }
            if (!filter->hasVideoProcAmp())
                continue;
            return filter;
        }
    }
    if (problem)
        *problem = first;
    return nullptr;
}

std::vector<int> CaptureDeviceSearch::audioCandidates(const std::vector<DeviceMoniker> &devices)
{
    std::vector<int> allowed;
    for (int index = 0; index < int(devices.size()); ++index) {
        const DeviceMoniker &device = devices[size_t(index)];
        // The camera's own microphone is passed over, and so is what the desktop plays.
        if (isSupported(device) || device.isMonitor)
            continue;
        allowed.push_back(index);
    }
    // The default input first; should a server mark several, they keep the system's order.
    std::stable_sort(allowed.begin(), allowed.end(), [&](int a, int b) {
        return devices[size_t(a)].isDefault && !devices[size_t(b)].isDefault;
    });
    return allowed;
}

std::unique_ptr<DeviceFilter> CaptureDeviceSearch::audioSearch(std::vector<DeviceMoniker> &devices)
{
    for (int index : audioCandidates(devices)) {
        DeviceMoniker &device = devices[size_t(index)];
        std::unique_ptr<DeviceFilter> filter = device.bind ? device.bind() : nullptr;
        if (!filter)
            continue;
        logTaken(index, device);
        return filter;
    }
    return nullptr;
}
