#include "DeviceBackend.h"

#include "Logging.h"
#include "SimulatedBackend.h"
#include "SimulatedCamera.h"
#include "V4l2Backend.h"

DeviceBackend::~DeviceBackend() = default;

std::unique_ptr<DeviceBackend> DeviceBackend::fromEnvironment()
{
    if (qEnvironmentVariable("DOCUMENT_CAMERA_SIMULATED") == QLatin1String("1")) {
        qCInfo(lcSources) << "using the simulated document camera (DOCUMENT_CAMERA_SIMULATED=1)";
        return std::make_unique<SimulatedBackend>(std::make_shared<SimulatedCamera>());
    }
    return std::make_unique<V4l2Backend>();
}
