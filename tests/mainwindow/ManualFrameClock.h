#pragma once

#include "FrameClock.h"

// A frame clock that moves only when the test advances it.
class ManualFrameClock : public FrameClock
{
public:
    void start() override { m_since = 0; }
    qint64 elapsed() const override { return m_since; }
    qint64 restart() override
    {
        const qint64 gap = m_since;
        m_since = 0;
        return gap;
    }
    void advance(qint64 ms) { m_since += ms; }

private:
    qint64 m_since = 0;
};
