#include "sources/devices/DeviceBackend.h"

DeviceBackend::~DeviceBackend() = default;
