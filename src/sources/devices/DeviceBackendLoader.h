#pragma once

#include "sources/devices/DeviceBackend.h"

#include <memory>

// Chooses where the live camera is searched, once, when the live source is made: the simulated
// document camera when DOCUMENT_CAMERA_SIMULATED=1, otherwise the system's V4L2 cameras on the
// real /sys.
//
// Threads: GUI thread only.
class DeviceBackendLoader
{
public:
    static std::unique_ptr<DeviceBackend> fromEnvironment();
};
