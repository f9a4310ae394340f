#pragma once

#include <QtGlobal>

// The time since the last frame, as the device supervision measures it. The program uses a
// monotonic clock (MonotonicFrameClock); tests put in a clock they advance by hand.
//
// Threads: GUI thread only.
class FrameClock
{
public:
    virtual ~FrameClock() = default;
    virtual void start() = 0;
    // Milliseconds since the last start or restart.
    virtual qint64 elapsed() const = 0;
    // Starts again and returns the milliseconds measured until now.
    virtual qint64 restart() = 0;
};
