#pragma once

#include "sources/devices/DeviceBackend.h"

#include <memory>

class SimulatedCamera;

// The devices of the simulated camera's world: the camera (while plugged in) as the one video
// input; as audio inputs the camera's own microphone (while plugged in, with the camera's USB
// id, which the search passes over) followed by a microphone of the machine.
//
// Threads: GUI thread only.
class SimulatedBackend : public DeviceBackend
{
public:
    explicit SimulatedBackend(std::shared_ptr<SimulatedCamera> camera);
    ~SimulatedBackend() override;

    std::vector<DeviceMoniker> enumerate(DeviceCategory category) override;
    const std::shared_ptr<SimulatedCamera> &camera() const { return m_camera; }

private:
    std::shared_ptr<SimulatedCamera> m_camera;
};
