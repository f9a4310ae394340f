#pragma once

#include "DeviceBackend.h"
#include "HResult.h"

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
    static constexpr HRESULT STATUS_TAKEN = S_OK;
    static constexpr HRESULT STATUS_EXHAUSTED = S_FALSE; // no device of the category qualified
    static constexpr HRESULT STATUS_NO_DEVICES = E_FAIL;  // the category has no devices

    // Writes "Done with index %d, USB VID_%04X&PID_%04X" for each device taken and
    // "cancelled" for a video input without the extension unit. Callers look at `out`.
    static HRESULT enumCaptureFilter(DeviceBackend *backend, DeviceCategory category,
                                    std::unique_ptr<DeviceFilter> *out);
};
