#pragma once

#include "sources/devices/DeviceFilter.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// The two device categories the live source searches.
enum class DeviceCategory { VideoInput, AudioInput };

// One enumerated device: its display name and how to take it. bind() returns null when the
// device cannot be taken (gone, cannot be opened).
struct DeviceMoniker
{
    DeviceMoniker() = default;
    DeviceMoniker(QString name, std::function<std::unique_ptr<DeviceFilter>()> binder)
        : displayName(std::move(name))
        , bind(std::move(binder))
    { }

    QString displayName;
    std::function<std::unique_ptr<DeviceFilter>()> bind;
    // A camera that is there but cannot be used now: -EACCES (the user may not open it) or
    // -EBUSY (another program streams from it), with the node it was found at; 0 when usable.
    int unusable = 0;
    QString location;
    // Cameras: built into the computer (a laptop's own camera), taken only when nothing else is.
    bool isBuiltIn = false;
    // Audio inputs: a sound server's monitor of an output (what the desktop plays, not a
    // microphone), and the input the system uses by default.
    bool isMonitor = false;
    bool isDefault = false;
};

// Where devices come from: the system's V4L2 cameras and audio inputs, or the simulated camera.
// The choice is made once when the live source is created (DeviceBackendLoader).
//
// Threads: GUI thread only.
class DeviceBackend
{
public:
    virtual ~DeviceBackend();

    // The devices of one category, in the system's order; empty when there are none.
    virtual std::vector<DeviceMoniker> enumerate(DeviceCategory category) = 0;

protected:
    DeviceBackend() = default;
    DeviceBackend(const DeviceBackend &) = delete;
    DeviceBackend &operator=(const DeviceBackend &) = delete;
};
