#pragma once

#include "sources/photograph/DecodeJob.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>

// Decodes the photographs the canvas shows, off the GUI thread, one at a time in the order
// asked. Each request gets a ticket; a later request calls off every earlier one, whose decode
// stops at its next look at the job and whose result is never handed over. Results come back
// with loaded() on the GUI thread.
//
// Threads: request(), cancel() and the destructor on the GUI thread; the decodes run on the
// loader's one worker thread and reach the GUI thread only through queued calls addressed to
// the loader, so a call still queued when the loader goes is dropped. The latest ticket is an
// atomic the worker reads.
class PictureLoader : public QObject
{
    Q_OBJECT
public:
    explicit PictureLoader(QObject *parent = nullptr);
    ~PictureLoader() override;

    // Decodes `job` and returns its ticket; any earlier request is called off.
    quint64 request(DecodeJob job);
    // Calls off every request.
    void cancel();
    // The ticket of the latest request (0 before the first).
    quint64 latestTicket() const { return m_latest.load(std::memory_order_acquire); }
    // Waits for the worker to finish what it has (tests, shutdown); false when `ms` passed.
    bool waitForIdle(int ms);

signals:
    // The decode of the latest request ended (GUI thread).
    void loaded(quint64 ticket, const DecodeJob &job);

private:
    QThreadPool m_pool;
    std::atomic<quint64> m_latest{0};
};
