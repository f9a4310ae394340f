#pragma once

// Prints the build options record to the debug stream, one message per line.
//
// Threads: the main thread, once at start-up.
void DumpConfig();
