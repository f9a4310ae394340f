#pragma once

#include <QString>

class DeviceFilter;

// Whether an audio input starts: its element alone into a fakesink, until its first buffer or
// an error, bounded. A recording takes the microphone only when it passes, so an input that
// cannot start (no sound server, a device gone or held by another program) costs the sound of
// the recording, never its pictures or the preview.
//
// Threads: GUI thread; blocks for at most the bound.
class MicrophoneCheck
{
public:
    static constexpr int BOUND_MS = 2000;

    // Empty when the input delivered sound; otherwise why it did not.
    static QString check(DeviceFilter *audio, int boundMs = BOUND_MS);
};
