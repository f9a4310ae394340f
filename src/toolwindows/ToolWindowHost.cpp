#include "ToolWindowHost.h"

ToolWindowHost::~ToolWindowHost() = default;
