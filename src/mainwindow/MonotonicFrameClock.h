#pragma once

#include "FrameClock.h"

#include <QElapsedTimer>

// The frame clock of the running program, on the monotonic system clock.
//
// Threads: GUI thread only.
class MonotonicFrameClock : public FrameClock
{
public:
    void start() override { m_timer.start(); }
    qint64 elapsed() const override { return m_timer.elapsed(); }
    qint64 restart() override { return m_timer.restart(); }

private:
    QElapsedTimer m_timer;
};
