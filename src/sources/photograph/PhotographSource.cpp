#include "sources/photograph/PhotographSource.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "sources/photograph/PictureReader.h"

#include <QFileInfo>
#include <QImage>

#include <algorithm>

PhotographSource::PhotographSource(ICaptureCB *sink, QObject *parent)
    : QObject(parent)
    , m_sink(sink)
{
    connect(&m_slideTimer, &QTimer::timeout, this, &PhotographSource::nextPhotograph);
}

PhotographSource::~PhotographSource() = default;

QStringList PhotographSource::listPictures(const QDir &folder)
{
    static const QStringList patterns = {"*.bmp", "*.jpg", "*.jpeg", "*.png", "*.gif"};
    // Without QDir::CaseSensitive the patterns match in any case.
    QStringList names = folder.entryList(patterns, QDir::Files | QDir::Readable | QDir::NoDotAndDotDot,
                                         QDir::Unsorted);
    // Plain character order: upper-case initials before lower-case ones.
    std::sort(names.begin(), names.end());
    return names;
}

bool PhotographSource::openPhotograph(const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    const QStringList names = listPictures(dir);
    const int index = names.indexOf(fileName);
    if (index < 0) {
        qCDebug(lcSources) << "not a picture of" << folder << ":" << fileName;
        return false;
    }
    m_slideTimer.stop();
    m_loaded = true;
    m_folder = dir;
    m_fileName = fileName;
    m_fileNames = names;
    emit photographListChanged();
    selectPhotograph(index);
    return true;
}

void PhotographSource::setPlayInterval(int milliseconds)
{
    m_playInterval = milliseconds;
}

QStringList PhotographSource::filePaths() const
{
    QStringList paths;
    paths.reserve(m_fileNames.size());
    for (const QString &name : m_fileNames)
        paths.append(m_folder.filePath(name));
    return paths;
}

void PhotographSource::selectPhotograph(int id)
{
    if (id < 0 || id >= m_fileNames.size())
        return;
    m_currentIndex = id;
    // An unreadable or oversized picture goes to the canvas as a null image; the position in
    // the list still moves, so stepping on past a damaged file works.
    QImage image = PictureReader::readPicture(m_folder.filePath(m_fileNames.at(id)));
    m_sink->stillImageCaptured(&image);
    emit photographChanged(id);
}

void PhotographSource::pauseCapture()
{
    m_sink->stopAutoRefresh();
}

void PhotographSource::resumeCapture()
{
    if (m_loaded && QFileInfo::exists(m_folder.path()))
        openPhotograph(m_folder.path(), m_fileName);
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
    if (m_fileNames.isEmpty())
        return;
    selectPhotograph((m_currentIndex + 1) % count());
}
