#include "canvas/FramePaintTiming.h"

#include "common/FrameArrival.h"

FramePaintTiming::~FramePaintTiming()
{
    setObserver({});
}

qint64 FramePaintTiming::nowNs()
{
    return FrameArrival::nowNs();
}

void FramePaintTiming::setObserver(Observer observer)
{
    const bool wasEnabled = static_cast<bool>(m_observer);
    m_observer = std::move(observer);
    const bool enabled = static_cast<bool>(m_observer);
    if (enabled && !wasEnabled)
        FrameArrival::beginMeasuring();
    else if (!enabled && wasEnabled)
        FrameArrival::endMeasuring();
    m_enabled.store(enabled, std::memory_order_relaxed);
}

FramePaintTiming::Stamp FramePaintTiming::takeStamp()
{
    Stamp stamp;
    stamp.decoderNs = FrameArrival::takeEntry();
    stamp.arrivalNs = nowNs();
    return stamp;
}

void FramePaintTiming::painted()
{
    if (m_shown.arrivalNs == 0 || !m_observer)
        return;
    Report report;
    report.decoderNs = m_shown.decoderNs;
    report.arrivalNs = m_shown.arrivalNs;
    report.paintedNs = nowNs();
    m_shown = Stamp();
    m_observer(report);
}
