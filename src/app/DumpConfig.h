#pragma once

// Prints the build options record to the debug stream, one message per line.
void DumpConfig();
