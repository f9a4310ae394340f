#include "sources/devices/simulated/SimulatedBackend.h"

#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/devices/simulated/SimulatedDeviceFilter.h"
#include "sources/devices/simulated/SimulatedMicrophoneFilter.h"

SimulatedBackend::SimulatedBackend(std::shared_ptr<SimulatedCamera> camera)
    : m_camera(std::move(camera))
{ }

SimulatedBackend::~SimulatedBackend() = default;

std::vector<DeviceMoniker> SimulatedBackend::enumerate(DeviceCategory category)
{
    std::vector<DeviceMoniker> monikers;
    std::shared_ptr<SimulatedCamera> camera = m_camera;
    if (category == DeviceCategory::VideoInput) {
        if (camera->isPluggedIn()) {
            monikers.push_back({camera->displayName(), [camera]() -> std::unique_ptr<DeviceFilter> {
                                    if (!camera->isPluggedIn())
                                        return nullptr;
                                    return std::make_unique<SimulatedDeviceFilter>(camera);
                                }});
        }
        return monikers;
    }
    if (camera->isPluggedIn()) {
        const QString own = camera->displayName() + QStringLiteral(" microphone");
        monikers.push_back({own, [camera, own]() -> std::unique_ptr<DeviceFilter> {
                                return std::make_unique<SimulatedMicrophoneFilter>(camera, own);
                            }});
    }
    const QString machine = camera->microphoneDisplayName();
    monikers.push_back({machine, [camera, machine]() -> std::unique_ptr<DeviceFilter> {
                            return std::make_unique<SimulatedMicrophoneFilter>(camera, machine);
                        }});
    return monikers;
}
