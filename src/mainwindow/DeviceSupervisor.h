#pragma once

#include "FrameClock.h"

#include <QObject>

#include <functional>
#include <memory>

// Frame timing supervision of the main window: every frame of any canvas restarts the frame
// clock; a gap of more than STALL_LIMIT_MS while the camera is open counts as a stalled or
// vanished camera and is reported with cameraStalled(), on which the window ends a running
// recording and closes the live source (its presence check then reopens the camera).
//
// The clock is handed in, so tests can advance it by hand.
//
// Threads: GUI thread only (frames reach frameArrived() through queued connections).
class DeviceSupervisor : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 STALL_LIMIT_MS = 5000;

    DeviceSupervisor(std::unique_ptr<FrameClock> clock, QObject *parent = nullptr);
    ~DeviceSupervisor() override;

    // Whether the live camera is open; without it no gap counts.
    void setCameraOpenQuery(std::function<bool()> isCameraOpen);

    // A frame reached a canvas (or the check below found the clock stale): restarts the clock
    // and reports a stall when the gap was too long while the camera is open.
    void frameArrived();
    // The periodic check: runs frameArrived() when the clock is older than the limit.
    void check();
    // Recording starts and stops restart the clock so a graph rebuild is never a stall.
    void restartClock();

    FrameClock &clock() const { return *m_clock; }

signals:
    void cameraStalled();

private:
    std::unique_ptr<FrameClock> m_clock;
    std::function<bool()> m_isCameraOpen;
};
