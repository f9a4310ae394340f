#include "mainwindow/DeviceSupervisor.h"

#include "common/Logging.h"

#include <QDebug>

#include <algorithm>

DeviceSupervisor::DeviceSupervisor(const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(&clock)
    , m_lastFrameMs(clock.monotonicMs())
{ }

DeviceSupervisor::~DeviceSupervisor() = default;

void DeviceSupervisor::setCameraOpenQuery(std::function<bool()> isCameraOpen)
{
    m_isCameraOpen = std::move(isCameraOpen);
}

void DeviceSupervisor::setArrivalQuery(std::function<qint64()> lastArrivalMs)
{
    m_lastArrivalMs = std::move(lastArrivalMs);
}

qint64 DeviceSupervisor::lastDeliveryMs() const
{
    const qint64 arrival = m_lastArrivalMs ? m_lastArrivalMs() : NO_ARRIVAL;
    return std::max(m_lastFrameMs, arrival);
}

void DeviceSupervisor::frameArrived()
{
    const qint64 now = m_clock->monotonicMs();
    const qint64 delivered = lastDeliveryMs();
    const qint64 gap = now - delivered;
    // A frame reported without a stamp arrived now; a stamped one when it was stamped, so a
    // late report never hides a silence that followed it. After a stall (or with no camera)
    // the timing starts over.
    m_lastFrameMs = (!m_lastArrivalMs || gap > STALL_LIMIT_MS) ? now : delivered;
    if (gap <= STALL_LIMIT_MS)
        return;
    if (!m_isCameraOpen || !m_isCameraOpen())
        return;
    qCDebug(lcTrace) << "video frame time interval" << gap << "ms, large than" << STALL_LIMIT_MS
                     << "ms, something error";
    qCDebug(lcTrace) << "disconnect device";
    emit cameraStalled();
}

void DeviceSupervisor::check()
{
    if (sinceLastFrameMs() > STALL_LIMIT_MS)
        frameArrived();
}

void DeviceSupervisor::restartClock()
{
    m_lastFrameMs = m_clock->monotonicMs();
}
