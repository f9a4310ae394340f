#include "common/Clock.h"

#include <chrono>

Clock::~Clock() = default;

qint64 Clock::monotonicMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

const Clock &Clock::system()
{
    static const Clock clock;
    return clock;
}
