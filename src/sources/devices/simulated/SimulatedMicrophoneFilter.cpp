#include "sources/devices/simulated/SimulatedMicrophoneFilter.h"

#include "sources/devices/simulated/SimulatedCamera.h"

SimulatedMicrophoneFilter::SimulatedMicrophoneFilter(std::shared_ptr<SimulatedCamera> camera,
                                                     QString displayName)
    : m_camera(std::move(camera))
    , m_displayName(std::move(displayName))
{ }

SimulatedMicrophoneFilter::~SimulatedMicrophoneFilter() = default;

QString SimulatedMicrophoneFilter::displayName() const
{
    return m_displayName;
}
GstElement *SimulatedMicrophoneFilter::createElement()
{
    return m_camera->createAudioElement();
}
