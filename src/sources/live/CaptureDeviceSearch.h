#pragma once

#include "sources/devices/DeviceBackend.h"

#include <memory>

// The device search: walks one category's devices in order and takes the first that fits.
// A video input is taken when its USB ids are in the supported table and it has the extension
// unit and the brightness controls. An audio input is taken when its USB ids are NOT in the
// table (the camera's own microphone is passed over) and it is a real input, not a sound
// server's monitor of an output; among those the system's default input comes first.
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

    // Writes "Done with index %d, USB VID_%04X&PID_%04X" for each device taken and "cancelled"
    // for a video input without the extension unit. Returns the device taken; null when the
    // category has no devices or none of them qualified. When no camera is taken but a
    // supported one could not be used, `problem` (if given) says why.
    static std::unique_ptr<DeviceFilter> enumCaptureFilter(DeviceBackend *backend, DeviceCategory category,
                                                           Problem *problem = nullptr);

    // The order in which audio inputs are tried: indexes into `devices` of the allowed ones,
    // the default input first, then the others in the system's order.
    static std::vector<int> audioCandidates(const std::vector<DeviceMoniker> &devices);

private:
    static std::unique_ptr<DeviceFilter> videoSearch(std::vector<DeviceMoniker> &devices, Problem *problem);
    static std::unique_ptr<DeviceFilter> audioSearch(std::vector<DeviceMoniker> &devices);
};
