#include "DeviceSupervisor.h"

#include <QDebug>

DeviceSupervisor::DeviceSupervisor(std::unique_ptr<FrameClock> clock, QObject *parent)
    : QObject(parent), m_clock(std::move(clock))
{
    m_clock->start();
}

DeviceSupervisor::~DeviceSupervisor() = default;

void DeviceSupervisor::setCameraOpenQuery(std::function<bool()> isCameraOpen)
{
    m_isCameraOpen = std::move(isCameraOpen);
}

void DeviceSupervisor::frameArrived()
{
    const qint64 gap = m_clock->restart();
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
    if (m_clock->elapsed() > STALL_LIMIT_MS)
        frameArrived();
}

void DeviceSupervisor::restartClock()
{
    m_clock->restart();
}
