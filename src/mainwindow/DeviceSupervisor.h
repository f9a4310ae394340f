#pragma once

#include "common/Clock.h"

#include <QObject>

#include <functional>

// Frame timing supervision of the main window: every frame of any canvas restarts the frame
// timing; a gap of more than STALL_LIMIT_MS while the camera is open counts as a stalled or
// vanished camera and is reported with cameraStalled(), on which the window ends a running
// recording and closes the live source (its presence check then reopens the camera).
//
// The clock is handed in, so tests can move it by hand.
//
// Threads: GUI thread only (frames reach frameArrived() through queued connections).
class DeviceSupervisor : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 STALL_LIMIT_MS = 5000;

    explicit DeviceSupervisor(const Clock &clock = Clock::system(), QObject *parent = nullptr);
    ~DeviceSupervisor() override;

    // Whether the live camera is open; without it no gap counts.
    void setCameraOpenQuery(std::function<bool()> isCameraOpen);

    // A frame reached a canvas (or the check below found the timing stale): restarts the
    // timing and reports a stall when the gap was too long while the camera is open.
    void frameArrived();
    // The periodic check: runs frameArrived() when the last frame is older than the limit.
    void check();
    // Recording starts and stops restart the timing so a graph rebuild is never a stall.
    void restartClock();
    // Milliseconds since the last frame (or restart).
    qint64 sinceLastFrameMs() const { return m_clock->monotonicMs() - m_lastFrameMs; }

signals:
    void cameraStalled();

private:
    const Clock *m_clock;
    qint64 m_lastFrameMs = 0;
    std::function<bool()> m_isCameraOpen;
};
