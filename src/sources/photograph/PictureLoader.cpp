#include "sources/photograph/PictureLoader.h"

#include "sources/photograph/PictureReader.h"

#include <QRunnable>

PictureLoader::PictureLoader(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    // The worker stays for the next picture: a slide show does not start a thread each time.
    m_pool.setExpiryTimeout(-1);
}

PictureLoader::~PictureLoader()
{
    cancel();
    m_pool.waitForDone();
}

quint64 PictureLoader::request(DecodeJob job)
{
    const quint64 ticket = m_latest.fetch_add(1, std::memory_order_acq_rel) + 1;
    job.cancelled = [this, ticket] { return m_latest.load(std::memory_order_acquire) != ticket; };
    m_pool.start(QRunnable::create([this, ticket, job]() mutable {
        if (!job.mustStop())
            PictureReader::read(job);
        if (job.outcome == DecodeJob::Outcome::Cancelled)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, ticket, job] {
                if (ticket == latestTicket())
                    emit loaded(ticket, job);
            },
            Qt::QueuedConnection);
    }));
    return ticket;
}

void PictureLoader::cancel()
{
    m_latest.fetch_add(1, std::memory_order_acq_rel);
}

bool PictureLoader::waitForIdle(int ms)
{
    return m_pool.waitForDone(ms);
}
