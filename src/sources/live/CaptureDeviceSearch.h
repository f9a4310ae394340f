#pragma once

#include "sources/devices/DeviceBackend.h"

#include <memory>

// The device search: walks one category's devices in order and takes the first that fits.
// A video input is taken when its USB ids are in the supported table and it has the extension
// unit and the brightness controls; an audio input when its USB ids are NOT in the table, so
// that the camera's own microphone is passed over.
//
// Threads: GUI thread only.
class CaptureDeviceSearch
{
public:
    // Writes "Done with index %d, USB VID_%04X&PID_%04X" for each device taken and "cancelled"
    // for a video input without the extension unit. Returns the device taken; null when the
    // category has no devices or none of them qualified.
    static std::unique_ptr<DeviceFilter> enumCaptureFilter(DeviceBackend *backend, DeviceCategory category);
};
