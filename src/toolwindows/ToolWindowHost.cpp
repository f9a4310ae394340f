#include "toolwindows/ToolWindowHost.h"

ToolWindowHost::~ToolWindowHost() = default;
