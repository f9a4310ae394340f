#include "mainwindow/DeviceSupervisor.h"

#include <QDebug>

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

void DeviceSupervisor::frameArrived()
{
    const qint64 now = m_clock->monotonicMs();
    const qint64 gap = now - m_lastFrameMs;
    m_lastFrameMs = now;
    if (gap <= STALL_LIMIT_MS)
        return;
    if (!m_isCameraOpen || !m_isCameraOpen())
        return;
    qDebug() << "video frame time interval" << gap << "ms, large than" << STALL_LIMIT_MS
             << "ms, something error";
    qDebug() << "disconnect device";
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
