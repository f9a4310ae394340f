#include "sources/photograph/PhotographSource.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "sources/photograph/PictureLoader.h"
#include "sources/photograph/PicturePlaceholder.h"
#include "sources/photograph/PictureReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

PhotographSource::PhotographSource(ICaptureCB *sink, QObject *parent)
    : QObject(parent)
    , m_sink(sink)
    , m_loader(new PictureLoader(this))
{
    connect(&m_slideTimer, &QTimer::timeout, this, &PhotographSource::nextPhotograph);
    connect(m_loader, &PictureLoader::loaded, this, &PhotographSource::pictureLoaded);
}

PhotographSource::~PhotographSource() = default;

const QStringList &PhotographSource::mimeTypes()
{
    static const QStringList types = {"image/bmp", "image/jpeg", "image/png", "image/gif"};
    return types;
}

QStringList PhotographSource::listPictures(const QString &folder)
{
    QStringList names;
    for (const PictureFile &file : PictureListing::list(QFile::encodeName(folder)))
        names << file.name;
    return names;
}

bool PhotographSource::openPhotograph(const QString &folder, const QString &fileName)
{
    const QByteArray local = QFile::encodeName(folder);
    const QVector<PictureFile> files = PictureListing::list(local);
    const auto found = std::find_if(files.begin(), files.end(),
                                    [&](const PictureFile &file) { return file.name == fileName; });
    if (fileName.isEmpty() || found == files.end()) {
        qCDebug(lcSources) << "not a picture of" << folder << ":" << fileName;
        return false;
    }
    const int index = int(found - files.begin());
    m_slideTimer.stop();
    m_loaded = true;
    m_folder = local;
    m_folderText = folder;
    m_fileName = fileName;
    m_files = files;
    emit photographListChanged();
    selectPhotograph(index);
    return true;
}

void PhotographSource::setPlayInterval(int milliseconds)
{
    m_playInterval = milliseconds;
}

void PhotographSource::setShownSize(const QSize &size)
{
    if (!size.isEmpty())
        m_shownSize = size;
}

QStringList PhotographSource::filePaths() const
{
    const QDir folder(m_folderText);
    QStringList paths;
    paths.reserve(m_files.size());
    for (const PictureFile &file : m_files)
        paths.append(folder.filePath(file.name));
    return paths;
}

void PhotographSource::selectPhotograph(int id)
{
    if (id < 0 || id >= m_files.size())
        return;
    m_currentIndex = id;
    m_pending = Pending::Picture;
    m_pendingIndex = id;
    m_pendingLevel = 1;
    m_ticket = m_loader->request(PictureReader::pictureJob(m_files.at(id).localPath, m_shownSize));
}

void PhotographSource::pictureLoaded(quint64 ticket, const DecodeJob &job)
{
    if (ticket != m_ticket || m_pending == Pending::None)
        return;
    const Pending kind = m_pending;
    m_pending = Pending::None;
    if (kind == Pending::Detail) {
        if (job.image.isNull()) {
            qCWarning(lcSources) << "no more detail of" << m_files.value(m_shownIndex).name
                                 << PictureReader::outcomeName(job.outcome) << job.detail;
            return;
        }
        QImage image = job.image;
        m_sink->stillImageResampled(&image);
        m_level = m_pendingLevel;
        m_delivered = image.size();
        return;
    }

    const int id = m_pendingIndex;
    const QString name = m_files.at(id).name;
    if (job.image.isNull()) {
        // The counter moves on with a page that names the picture, never over the last one.
        qCWarning(lcSources) << "cannot show" << name << PictureReader::outcomeName(job.outcome)
                             << job.detail;
        QImage page = PicturePlaceholder::draw(name, job.outcome);
        m_sink->stillImageCaptured(&page);
        m_shownIndex = -1;
        m_level = 0;
        m_fitted = QImage();
        m_delivered = page.size();
        m_fullSize = QSize();
    } else {
        if (job.outcome == DecodeJob::Outcome::Partial)
            qCInfo(lcSources) << name
                              << "is cut short or damaged; its missing part shows grey:" << job.detail;
        QImage image = job.image;
        m_sink->stillImageCaptured(&image);
        m_shownIndex = id;
        m_level = 1;
        m_fitted = image;
        m_delivered = image.size();
        m_fullSize = job.fullSize;
    }
    emit photographChanged(id);
    requestDetail();
}

int PhotographSource::wantedLevel() const
{
    return m_zoom <= 1.0 ? 1 : std::min(6, int(std::ceil(m_zoom - 1e-9)));
}

void PhotographSource::setViewZoom(double zoom)
{
    m_zoom = zoom;
    requestDetail();
}

void PhotographSource::requestDetail()
{
    if (m_shownIndex < 0 || m_shownIndex != m_currentIndex || m_pending == Pending::Picture)
        return;
    const int level = wantedLevel();
    if (level == 1) {
        if (m_pending == Pending::Detail) {
            m_loader->cancel();
            m_pending = Pending::None;
        }
        if (m_level != 1) {
            QImage fitted = m_fitted;
            m_sink->stillImageResampled(&fitted);
            m_level = 1;
            m_delivered = fitted.size();
        }
        return;
    }
    const QSize target = PictureReader::fittedSize(m_fullSize, m_shownSize * level,
                                                   PictureReader::MAX_PICTURE_PIXELS, false);
    // Less than what the canvas has already (zooming out from a higher level) or no more than
    // the picture holds: the canvas keeps what it has.
    if (target.width() <= m_delivered.width() && target.height() <= m_delivered.height()) {
        if (m_pending == Pending::Detail) {
            m_loader->cancel();
            m_pending = Pending::None;
        }
        return;
    }
    if (m_pending == Pending::Detail && m_pendingLevel == level)
        return;
    m_pending = Pending::Detail;
    m_pendingLevel = level;
    m_ticket = m_loader->request(PictureReader::pictureJob(m_files.at(m_shownIndex).localPath, target));
}

void PhotographSource::pauseCapture()
{
    m_sink->stopAutoRefresh();
}

void PhotographSource::resumeCapture()
{
    if (m_loaded && QFileInfo::exists(m_folderText))
        openPhotograph(m_folderText, m_fileName);
    m_sink->startAutoRefresh();
}

void PhotographSource::play()
{
    m_slideTimer.setInterval(m_playInterval);
    m_slideTimer.start();
}

void PhotographSource::stop()
{
    m_slideTimer.stop();
    emit playDone();
}

void PhotographSource::previous()
{
    m_slideTimer.stop();
    selectPhotograph(std::max(m_currentIndex - 1, 0));
}

void PhotographSource::next()
{
    m_slideTimer.stop();
    selectPhotograph(std::min(m_currentIndex + 1, count() - 1));
}

void PhotographSource::nextPhotograph()
{
    if (m_files.isEmpty())
        return;
    selectPhotograph((m_currentIndex + 1) % count());
}
