#pragma once

#include "sources/devices/DeviceBackend.h"

#include <memory>

// The device search: walks one category's devices in order and takes the first that fits.
// A video input is a USB camera with the extension unit and the brightness controls, taken by
// rank: the vendor's own cameras (the supported table) first, then any other external camera,
// then one built into the computer. A camera of a better rank that is there but cannot be used
// ends the search, so that its problem is told rather than another camera shown instead. An audio input is
// taken when its USB ids are NOT in the table (the camera's own microphone is passed over) and it is a real
// input, not a sound server's monitor of an output; among those the system's default input comes first.
//
// Threads: GUI thread only.
class CaptureDeviceSearch
{
public:
    // A supported camera that is there but cannot be used now (see DeviceMoniker::unusable).
    struct Problem
    {
        int error = 0; // -EACCES or -EBUSY; 0: none
        QString location;
    };

    // The ranks of video inputs, best first.
    enum class CameraRank { Vendor, External, BuiltIn };

    // Writes "Done with index %d, USB VID_%04X&PID_%04X" for each device taken and "cancelled"
    // for a video input without the extension unit. Returns the device taken; null when the
    // category has no devices or none of them qualified. When no camera is taken but a
    // supported one could not be used, `problem` (if given) says why. Video inputs below
    // `lowest` are not taken; `taken` (if given) receives the rank of the one returned.
    static std::unique_ptr<DeviceFilter> enumCaptureFilter(DeviceBackend *backend, DeviceCategory category,
                                                           Problem *problem = nullptr,
                                                           CameraRank lowest = CameraRank::BuiltIn,
                                                           CameraRank *taken = nullptr);

    // The order in which audio inputs are tried: indexes into `devices` of the allowed ones,
    // the default input first, then the others in the system's order.
    static std::vector<int> audioCandidates(const std::vector<DeviceMoniker> &devices);

private:
    static std::unique_ptr<DeviceFilter> videoSearch(std::vector<DeviceMoniker> &devices, Problem *problem,
                                                     CameraRank lowest, CameraRank *taken);
    static std::unique_ptr<DeviceFilter> audioSearch(std::vector<DeviceMoniker> &devices);
};
