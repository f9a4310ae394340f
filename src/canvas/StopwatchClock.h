#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <functional>

// The millisecond clock the on-screen display and the snapshot timing read: a monotonic clock
// running since construction, which a test can replace by a source of its own so that one-second
// windows pass without waiting.
//
// Threads: msecs() may be called from any thread; setSource() is called before any reader runs
// (tests only) and must not race with them.
class StopwatchClock
{
public:
    StopwatchClock() { m_timer.start(); }
    StopwatchClock(const StopwatchClock &) = delete;
    StopwatchClock &operator=(const StopwatchClock &) = delete;

    qint64 msecs() const { return m_source ? m_source() : m_timer.elapsed(); }
    // An empty function goes back to the monotonic clock.
    void setSource(std::function<qint64()> source) { m_source = std::move(source); }

private:
    QElapsedTimer m_timer;
    std::function<qint64()> m_source;
};

// A stopwatch on a StopwatchClock with the QElapsedTimer operations the display needs: created
// invalid, start/restart, invalidate, elapsed milliseconds.
//
// Threads: a plain value; its owner says which lock guards it.
class Stopwatch
{
public:
    explicit Stopwatch(const StopwatchClock &clock) : m_clock(&clock) {}

    void start() { m_start = m_clock->msecs(); m_valid = true; }
    void restart() { start(); }
    void invalidate() { m_valid = false; }
    bool isValid() const { return m_valid; }
    // Milliseconds since the last start; meaningless while invalid.
    qint64 elapsed() const { return m_clock->msecs() - m_start; }
    // Valid and started less than `ms` milliseconds ago.
    bool isWithin(qint64 ms) const { return m_valid && elapsed() < ms; }

private:
    const StopwatchClock *m_clock;
    qint64 m_start = 0;
    bool m_valid = false;
};
