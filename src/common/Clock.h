#pragma once

#include <QDateTime>
#include <QtGlobal>

// The program's one source of time: a monotonic millisecond count for stopwatches, indication
// windows and frame gaps, and the wall clock that names snapshot and recording files. Everything
// that measures or stamps time is handed a Clock when it is made; the program hands out
// Clock::system(), tests a clock they move by hand.
//
// Threads: both readers may be called from any thread (the frame processing reads them on media
// streaming threads); implementations must allow that.
class Clock
{
public:
    Clock() = default;
    virtual ~Clock();
    Clock(const Clock &) = delete;
    Clock &operator=(const Clock &) = delete;

    // Milliseconds since an arbitrary start, never going back.
    virtual qint64 monotonicMs() const;
    // The local date and time.
    virtual QDateTime now() const;

    // The system's clocks.
    static const Clock &system();
};

// A stopwatch on a Clock with the operations the on-screen display and the snapshot timing
// need: created invalid, start/restart, invalidate, elapsed milliseconds.
//
// Threads: a plain value; its owner says which lock guards it.
class Stopwatch
{
public:
    explicit Stopwatch(const Clock &clock)
        : m_clock(&clock)
    { }

    void start()
    {
        m_start = m_clock->monotonicMs();
        m_valid = true;
    }
    void restart() { start(); }
    void invalidate() { m_valid = false; }
    bool isValid() const { return m_valid; }
    // Milliseconds since the last start; meaningless while invalid.
    qint64 elapsed() const { return m_clock->monotonicMs() - m_start; }
    // Valid and started less than `ms` milliseconds ago.
    bool isWithin(qint64 ms) const { return m_valid && elapsed() < ms; }

private:
    const Clock *m_clock;
    qint64 m_start = 0;
    bool m_valid = false;
};
