#pragma once

#include "sources/devices/DeviceFilter.h"

#include <memory>

class SimulatedCamera;

// The simulated camera as the device search takes it: every query and control goes to the
// shared SimulatedCamera.
//
// Threads: GUI thread only.
class SimulatedDeviceFilter : public DeviceFilter
{
public:
    explicit SimulatedDeviceFilter(std::shared_ptr<SimulatedCamera> camera);
    ~SimulatedDeviceFilter() override;

    QString displayName() const override;
    GstElement *createElement() override;

    bool hasPropertyControl() override;
    bool hasVideoProcAmp() override;
    bool hasCameraControl() override;

    QVector<FrameSizeOption> captureFormats() override;
    CaptureMode currentFormat() override;

    qint32 getProperty(DeviceProperty property, qint32 *value) override;
    qint32 getPropertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum) override;
    qint32 setProperty(DeviceProperty property, qint32 value, int flags) override;
    qint32 extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length) override;

private:
    std::shared_ptr<SimulatedCamera> m_camera;
};
