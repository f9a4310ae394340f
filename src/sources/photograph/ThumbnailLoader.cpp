#include "sources/photograph/ThumbnailLoader.h"

#include "common/HandoverAnnotation.h"
#include "common/Logging.h"
#include "sources/photograph/PictureReader.h"
#include "sources/photograph/ThumbnailButton.h"

#include <QFile>
#include <QImage>

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : QThread(parent)
{ }

ThumbnailLoader::~ThumbnailLoader()
{
    stopPass();
}

void ThumbnailLoader::stopPass()
{
    m_cancel.store(true, std::memory_order_release);
    if (!m_holdsIdle) {
        m_idle.acquire();
        m_holdsIdle = true;
    }
    wait();
    // The ended pass no longer reads the paths and buttons that the next pass replaces.
    handoverAcquire(this);
}

void ThumbnailLoader::startPass(const QStringList &paths, const QVector<ThumbnailButton *> &buttons)
{
    QVector<QByteArray> local;
    local.reserve(paths.size());
    for (const QString &path : paths)
        local.append(QFile::encodeName(path));
    startPass(local, buttons);
}

void ThumbnailLoader::startPass(const QVector<QByteArray> &paths, const QVector<ThumbnailButton *> &buttons)
{
    stopPass();
    m_paths = paths;
    m_buttons = buttons;
    m_cancel.store(false, std::memory_order_release);
    // The pass now owns the idle resource and gives it back when it ends.
    m_holdsIdle = false;
    start();
}

void ThumbnailLoader::run()
{
    const QSize box(ThumbnailButton::THUMBNAIL_WIDTH, ThumbnailButton::THUMBNAIL_HEIGHT);
    const int total = qMin(m_paths.size(), m_buttons.size());
    int loaded = 0;
    for (int i = 0; i < total && !isCancelled(); ++i) {
        DecodeJob job = PictureReader::thumbnailJob(m_paths.at(i), box);
        job.cancelled = [this] { return isCancelled(); };
        PictureReader::read(job);
        const QImage thumbnail = job.image;
        if (thumbnail.isNull()) {
            if (job.outcome != DecodeJob::Outcome::Cancelled)
                qCDebug(lcSources) << "no thumbnail of" << QFile::decodeName(m_paths.at(i))
                                   << PictureReader::outcomeName(job.outcome) << job.detail;
            continue; // the button keeps its black face
        }
        ThumbnailButton *button = m_buttons.at(i);
        // Addressed to the button: if it is deleted before the call runs, the call is dropped.
        QMetaObject::invokeMethod(
            button, [button, thumbnail] { button->setThumbnail(thumbnail); }, Qt::QueuedConnection);
        ++loaded;
    }
    emit passFinished(loaded, isCancelled());
    handoverRelease(this);
    m_idle.release();
}
