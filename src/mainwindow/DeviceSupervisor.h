#pragma once

#include "common/Clock.h"

#include <QObject>

#include <functional>
#include <limits>

// Frame timing supervision of the main window: a gap of more than STALL_LIMIT_MS between the
// camera's frames while it is open counts as a stalled or vanished camera and is reported with
// cameraStalled(), on which the window ends a running recording and closes the live source
// (its presence check then reopens the camera).
//
// What is measured is the camera, not the window: the canvases stamp each frame's arrival on
// the streaming thread that delivers it (the arrival query reads the newest stamp), and the
// GUI thread compares that stamp with the clock. A GUI thread that was busy for any length of
// time therefore finds fresh stamps when it comes back, and the frames it reports late count
// from when they arrived. Without an arrival query each reported frame counts as arriving when
// it is reported.
//
// The clock is handed in, so tests can move it by hand.
//
// Threads: GUI thread only (frames reach frameArrived() through queued connections); the
// arrival query is called on the GUI thread and reads what the streaming threads stamped.
class DeviceSupervisor : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 STALL_LIMIT_MS = 5000;
    static constexpr qint64 NO_ARRIVAL = std::numeric_limits<qint64>::min();

    explicit DeviceSupervisor(const Clock &clock = Clock::system(), QObject *parent = nullptr);
    ~DeviceSupervisor() override;

    // Whether the live camera is open; without it no gap counts.
    void setCameraOpenQuery(std::function<bool()> isCameraOpen);
    // The clock's monotonic time of the newest frame arrival stamped by the streaming threads
    // (NO_ARRIVAL before any).
    void setArrivalQuery(std::function<qint64()> lastArrivalMs);

    // A frame reached a canvas (or the check below found the timing stale): reports a stall
    // when the camera's last delivery before now is too long ago while the camera is open,
    // and takes the delivery as the new start of the timing.
    void frameArrived();
    // The periodic check: runs frameArrived() when the last delivery is older than the limit.
    void check();
    // Recording starts and stops restart the timing so a graph rebuild is never a stall.
    void restartClock();
    // Milliseconds since the camera's last delivery (or the last restart).
    qint64 sinceLastFrameMs() const { return m_clock->monotonicMs() - lastDeliveryMs(); }

signals:
    void cameraStalled();

private:
    // The later of the timing's start and the newest stamped arrival.
    qint64 lastDeliveryMs() const;

    const Clock *m_clock;
    qint64 m_lastFrameMs = 0;
    std::function<bool()> m_isCameraOpen;
    std::function<qint64()> m_lastArrivalMs;
};
