#include "common/FrameArrival.h"

#include <atomic>
#include <chrono>

namespace {

std::atomic<int> g_measuring{0};
thread_local qint64 t_entryNs = 0;

} // namespace

qint64 FrameArrival::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void FrameArrival::beginMeasuring()
{
    g_measuring.fetch_add(1, std::memory_order_relaxed);
}

void FrameArrival::endMeasuring()
{
    g_measuring.fetch_sub(1, std::memory_order_relaxed);
}

bool FrameArrival::measuring()
{
    return g_measuring.load(std::memory_order_relaxed) > 0;
}

void FrameArrival::stampEntry()
{
    t_entryNs = nowNs();
}

qint64 FrameArrival::takeEntry()
{
    const qint64 stamp = t_entryNs;
    t_entryNs = 0;
    return stamp;
}
