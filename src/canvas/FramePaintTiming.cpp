#include "canvas/FramePaintTiming.h"

#include <chrono>

qint64 FramePaintTiming::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void FramePaintTiming::setObserver(Observer observer)
{
    m_observer = std::move(observer);
    m_enabled.store(static_cast<bool>(m_observer), std::memory_order_relaxed);
}

void FramePaintTiming::painted()
{
    if (m_shownArrivalNs == 0 || !m_observer)
        return;
    const qint64 arrival = m_shownArrivalNs;
    m_shownArrivalNs = 0;
    m_observer(arrival, nowNs());
}
