#pragma once

#include "common/Clock.h"

#include <QDate>
#include <QTime>

#include <atomic>

// A clock whose monotonic count moves only when the test moves it, starting at 0. Given a
// `wallStart`, the wall clock starts there and advances with the count; without one it is the
// system's wall clock, so files are named as the program names them.
class ManualClock : public Clock
{
public:
    ManualClock() = default;
    explicit ManualClock(QDateTime wallStart)
        : m_wallStart(std::move(wallStart))
    { }

    qint64 monotonicMs() const override { return m_ms.load(); }
    QDateTime now() const override
    {
        return m_wallStart.isValid() ? m_wallStart.addMSecs(m_ms.load()) : Clock::now();
    }

    void advance(qint64 ms) { m_ms.fetch_add(ms); }
    void set(qint64 ms) { m_ms.store(ms); }

private:
    const QDateTime m_wallStart;
    std::atomic<qint64> m_ms{0};
};
