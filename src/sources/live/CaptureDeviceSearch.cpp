#include "sources/live/CaptureDeviceSearch.h"

#include "common/Logging.h"
#include "sources/devices/UsbDeviceId.h"

#include <QDebug>

#include <algorithm>
#include <optional>

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

// The rank of a video input; none for a node that is not on USB (loopback outputs, test
// patterns), which is never taken.
std::optional<CaptureDeviceSearch::CameraRank> rankOf(const DeviceMoniker &device)
{
    quint16 vid = 0, pid = 0;
    UsbDeviceId::parseVidPid(device.displayName, &vid, &pid);
    if (UsbDeviceId::isSupportedDevice(vid, pid))
        return CaptureDeviceSearch::CameraRank::Vendor;
    if (vid == 0)
        return std::nullopt;
    return device.isBuiltIn ? CaptureDeviceSearch::CameraRank::BuiltIn
                            : CaptureDeviceSearch::CameraRank::External;
}

} // namespace

std::unique_ptr<DeviceFilter> CaptureDeviceSearch::enumCaptureFilter(DeviceBackend *backend,
                                                                     DeviceCategory category,
                                                                     Problem *problem, CameraRank lowest,
                                                                     CameraRank *taken)
{
    if (problem)
        *problem = Problem();
    std::vector<DeviceMoniker> devices = backend->enumerate(category);
    if (category == DeviceCategory::VideoInput)
        return videoSearch(devices, problem, lowest, taken);
    return audioSearch(devices);
}

std::unique_ptr<DeviceFilter> CaptureDeviceSearch::videoSearch(std::vector<DeviceMoniker> &devices,
                                                               Problem *problem, CameraRank lowest,
                                                               CameraRank *taken)
{
    Problem first;
    for (int rank = 0; rank <= int(lowest) && first.error == 0; ++rank) {
        for (int index = 0; index < int(devices.size()); ++index) {
            DeviceMoniker &device = devices[size_t(index)];
            if (rankOf(device) != CameraRank(rank))
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
            if (taken)
                *taken = CameraRank(rank);
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
