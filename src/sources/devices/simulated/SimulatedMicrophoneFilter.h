#pragma once

#include "sources/devices/DeviceFilter.h"

#include <memory>

class SimulatedCamera;

// An audio input of the simulated camera's world: a sine tone from audiotestsrc.
//
// Threads: GUI thread only.
class SimulatedMicrophoneFilter : public DeviceFilter
{
public:
    SimulatedMicrophoneFilter(std::shared_ptr<SimulatedCamera> camera, QString displayName);
    ~SimulatedMicrophoneFilter() override;

    QString displayName() const override;
    GstElement *createElement() override;

private:
    std::shared_ptr<SimulatedCamera> m_camera;
    QString m_displayName;
};
