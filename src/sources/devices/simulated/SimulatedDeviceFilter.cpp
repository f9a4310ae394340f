#include "sources/devices/simulated/SimulatedDeviceFilter.h"

#include "sources/devices/simulated/SimulatedCamera.h"

SimulatedDeviceFilter::SimulatedDeviceFilter(std::shared_ptr<SimulatedCamera> camera)
    : m_camera(std::move(camera))
{ }

SimulatedDeviceFilter::~SimulatedDeviceFilter() = default;

QString SimulatedDeviceFilter::displayName() const
{
    return m_camera->displayName();
}
GstElement *SimulatedDeviceFilter::createElement()
{
    return m_camera->createVideoElement();
}
bool SimulatedDeviceFilter::hasPropertyControl()
{
    return m_camera->isPluggedIn();
}
bool SimulatedDeviceFilter::hasVideoProcAmp()
{
    return m_camera->isPluggedIn();
}
bool SimulatedDeviceFilter::hasCameraControl()
{
    return m_camera->isPluggedIn();
}
QVector<FrameSizeOption> SimulatedDeviceFilter::captureFormats()
{
    return m_camera->offeredFormats();
}
CaptureMode SimulatedDeviceFilter::currentFormat()
{
    return m_camera->currentFormat();
}

qint32 SimulatedDeviceFilter::getProperty(DeviceProperty property, qint32 *value)
{
    return m_camera->property(property, value);
}

qint32 SimulatedDeviceFilter::getPropertyRange(DeviceProperty property, qint32 *minimum, qint32 *maximum)
{
    return m_camera->propertyRange(property, minimum, maximum);
}

qint32 SimulatedDeviceFilter::setProperty(DeviceProperty property, qint32 value, int flags)
{
    return m_camera->setProperty(property, value, flags);
}

qint32 SimulatedDeviceFilter::extensionUnitRequest(bool set, quint32 controlId, void *data, quint32 length)
{
    return m_camera->extensionUnitRequest(set, controlId, data, length);
}
