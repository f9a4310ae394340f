#include "sources/devices/DeviceBackendLoader.h"

#include "common/Logging.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/devices/v4l2/V4l2Backend.h"

std::unique_ptr<DeviceBackend> DeviceBackendLoader::fromEnvironment()
{
    if (qEnvironmentVariable("DOCUMENT_CAMERA_SIMULATED") == QLatin1String("1")) {
        qCInfo(lcSources) << "using the simulated document camera (DOCUMENT_CAMERA_SIMULATED=1)";
        return std::make_unique<SimulatedBackend>(std::make_shared<SimulatedCamera>());
    }
    return std::make_unique<V4l2Backend>();
}
