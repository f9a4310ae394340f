#include "sources/media/RecordingJournal.h"

#include "common/Logging.h"
#include "sources/media/GstRef.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const QString JOURNAL_PREFIX = QStringLiteral(".");
const QString JOURNAL_SUFFIX = QStringLiteral(".recording");
const char TEMPORARY_SUFFIX[] = ".tmp";

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

QString iso(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime fromIso(const QString &text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() ? time.toUTC() : QDateTime();
}

// Size and rate of a video format, as the journal spells them out.
void readVideoFormat(const QString &text, RecordingJournal::Contents *c)
{
    GstRef<GstCaps> caps(gst_caps_from_string(text.toUtf8().constData()));
    if (!caps || gst_caps_get_size(caps.get()) == 0)
        return;
    const GstStructure *s = gst_caps_get_structure(caps.get(), 0);
    gst_structure_get_int(s, "width", &c->width);
    gst_structure_get_int(s, "height", &c->height);
    int numerator = 0, denominator = 1;
    if (gst_structure_get_fraction(s, "framerate", &numerator, &denominator))
        c->framerate = QStringLiteral("%1/%2").arg(numerator).arg(denominator);
}

} // namespace

RecordingJournal::~RecordingJournal()
{
    stopUpdates();
    closeFiles();
}

QString RecordingJournal::journalPath(const QString &recordingPath)
{
    const QFileInfo info(recordingPath);
    return info.dir().filePath(JOURNAL_PREFIX + info.fileName() + JOURNAL_SUFFIX);
}

QString RecordingJournal::recordingName(const QString &journalFileName)
{
    if (!journalFileName.startsWith(JOURNAL_PREFIX) || !journalFileName.endsWith(JOURNAL_SUFFIX)
        || journalFileName.contains(QLatin1Char('/')))
        return QString();
    const int length = journalFileName.size() - JOURNAL_PREFIX.size() - JOURNAL_SUFFIX.size();
    if (length <= 0)
        return QString();
    const QString name = journalFileName.mid(JOURNAL_PREFIX.size(), length);
    return name == QLatin1String(".") || name == QLatin1String("..") ? QString() : name;
}

std::shared_ptr<RecordingJournal> RecordingJournal::begin(const QString &path, const QString &captureCaps)
{
    const QFileInfo info(path);
    std::shared_ptr<RecordingJournal> journal(new RecordingJournal);
    journal->m_journalName = QFileInfo(journalPath(path)).fileName();
    // The folder is opened once: every later step names entries relative to this folder, even
    // if the path came to mean another one.
    journal->m_folderFd = ::open(QFile::encodeName(info.absolutePath()).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (journal->m_folderFd < 0) {
        qCWarning(lcMedia) << "no recording journal: the folder of" << path
                           << "cannot be opened:" << systemError();
        return nullptr;
    }
    journal->m_recordingFd = ::openat(journal->m_folderFd, QFile::encodeName(info.fileName()).constData(),
                                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (journal->m_recordingFd < 0) {
        qCWarning(lcMedia) << "no recording journal:" << path << "cannot be opened:" << systemError();
        return nullptr;
    }
    if (::flock(journal->m_recordingFd, LOCK_SH | LOCK_NB) != 0)
        qCWarning(lcMedia) << "the recording" << path
                           << "cannot be marked as being written:" << systemError();

    Contents &c = journal->m_contents;
    c.file = info.fileName();
    c.path = info.absoluteFilePath();
    c.captureCaps = captureCaps;
    readVideoFormat(captureCaps, &c);
    c.started = QDateTime::currentDateTimeUtc();
    c.pid = QCoreApplication::applicationPid();
    journal->m_clock.start();

    // Written here without waiting for the disk, so the journal exists from the start; the
    // updater makes it durable at once (a flush may wait for every file the disk still owes,
    // which the GUI thread must not).
    QString error;
    if (!journal->write(false, &error)) {
        qCWarning(lcMedia) << "no recording journal for" << path << ":" << error;
        return nullptr;
    }
    journal->m_updater = std::thread([raw = journal.get()] { raw->run(); });
    return journal;
}

void RecordingJournal::watch(GstElement *muxer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_muxer = muxer ? GstRef<GstElement>::borrow(muxer) : GstRef<GstElement>();
}

void RecordingJournal::noteMuxerCaps()
{
    GstRef<GstElement> muxer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        muxer = m_muxer;
    }
    if (!muxer)
        return;
    std::vector<std::pair<bool, GstRef<GstCaps>>> inputs;
    GST_OBJECT_LOCK(muxer.get());
    for (GList *l = muxer.get()->sinkpads; l; l = l->next) {
        GstPad *pad = GST_PAD(l->data);
        inputs.emplace_back(g_str_has_prefix(GST_OBJECT_NAME(pad), "video"), GstRef<GstCaps>());
        inputs.back().second = GstRef<GstCaps>(gst_pad_get_current_caps(pad));
    }
    GST_OBJECT_UNLOCK(muxer.get());
    for (const auto &input : inputs) {
        if (!input.second)
            continue;
        gchar *text = gst_caps_to_string(input.second.get());
        noteCaps(input.first, QString::fromUtf8(text));
        g_free(text);
    }
}

void RecordingJournal::noteCaps(bool video, const QString &caps)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    (video ? m_contents.videoCaps : m_contents.audioCaps) = caps;
    if (video)
        readVideoFormat(caps, &m_contents);
}

RecordingJournal::Contents RecordingJournal::contents() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_contents;
}

void RecordingJournal::run()
{
    QString error;
    if (!write(true, &error))
        qCWarning(lcMedia) << "the recording journal" << m_journalName << "was not saved:" << error;
    // The journal's entry in the folder must survive a power failure too.
    ::fsync(m_folderFd);
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_wake.wait_for(lock, std::chrono::milliseconds(UPDATE_INTERVAL_MS), [this] { return m_stop; }))
            return;
        lock.unlock();
        if (!write(true, &error))
            qCWarning(lcMedia) << "the recording journal" << m_journalName << "was not updated:" << error;
        lock.lock();
    }
}

bool RecordingJournal::write(bool durable, QString *error)
{
    // The data the duration stands for reaches the disk before the journal claims it.
    const qint64 elapsed = m_clock.elapsed();
    if (durable && m_recordingFd >= 0)
        ::fdatasync(m_recordingFd);
    noteMuxerCaps();
    QByteArray bytes;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_contents.recordedMs = elapsed;
        bytes = encode(m_contents);
    }
    return writeAtomically(m_folderFd, m_journalName, bytes, error, durable);
}

void RecordingJournal::stopUpdates()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_updater.joinable())
        m_updater.join();
}

void RecordingJournal::finish()
{
    stopUpdates();
    if (m_folderFd >= 0 && ::unlinkat(m_folderFd, QFile::encodeName(m_journalName).constData(), 0) != 0
        && errno != ENOENT)
        qCWarning(lcMedia) << "the recording journal" << m_journalName
                           << "cannot be removed:" << systemError();
    closeFiles();
}

void RecordingJournal::keep()
{
    // The last update stands: it is at most one interval old.
    stopUpdates();
    closeFiles();
}

void RecordingJournal::closeFiles()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_muxer.reset();
    }
    closeFd(m_recordingFd); // releases the lock
    closeFd(m_folderFd);
}

QByteArray RecordingJournal::encode(const Contents &c)
{
    QJsonObject o;
    o.insert(QStringLiteral("file"), c.file);
    o.insert(QStringLiteral("path"), c.path);
    o.insert(QStringLiteral("captureCaps"), c.captureCaps);
    o.insert(QStringLiteral("videoCaps"), c.videoCaps);
    o.insert(QStringLiteral("audioCaps"), c.audioCaps);
    o.insert(QStringLiteral("width"), c.width);
    o.insert(QStringLiteral("height"), c.height);
    o.insert(QStringLiteral("framerate"), c.framerate);
    o.insert(QStringLiteral("started"), iso(c.started));
    o.insert(QStringLiteral("recordedMs"), double(c.recordedMs));
    o.insert(QStringLiteral("pid"), double(c.pid));
    if (!c.failure.isEmpty()) {
        o.insert(QStringLiteral("failure"), c.failure);
        o.insert(QStringLiteral("failedAt"), iso(c.failedAt));
    }
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool RecordingJournal::decode(const QByteArray &bytes, Contents *c)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject o = document.object();
    *c = Contents();
    c->file = o.value(QStringLiteral("file")).toString();
    c->path = o.value(QStringLiteral("path")).toString();
    c->captureCaps = o.value(QStringLiteral("captureCaps")).toString();
    c->videoCaps = o.value(QStringLiteral("videoCaps")).toString();
    c->audioCaps = o.value(QStringLiteral("audioCaps")).toString();
    c->width = o.value(QStringLiteral("width")).toInt();
    c->height = o.value(QStringLiteral("height")).toInt();
    c->framerate = o.value(QStringLiteral("framerate")).toString();
    c->started = fromIso(o.value(QStringLiteral("started")).toString());
    c->recordedMs = qint64(o.value(QStringLiteral("recordedMs")).toDouble());
    c->pid = qint64(o.value(QStringLiteral("pid")).toDouble());
    c->failure = o.value(QStringLiteral("failure")).toString();
    c->failedAt = fromIso(o.value(QStringLiteral("failedAt")).toString());
    return !c->file.isEmpty();
}

bool RecordingJournal::writeAtomically(int folderFd, const QString &name, const QByteArray &bytes,
                                       QString *error, bool durable)
{
    const QByteArray target = QFile::encodeName(name);
    const QByteArray temporary = target + TEMPORARY_SUFFIX;
    // Whatever holds the temporary name (a crash's leftover, a planted link) is removed, not
    // followed; O_EXCL then refuses anything that appears in between.
    if (::unlinkat(folderFd, temporary.constData(), 0) != 0 && errno != ENOENT) {
        *error = QStringLiteral("cannot clear %1: %2").arg(QString::fromLocal8Bit(temporary), systemError());
        return false;
    }
    int fd = ::openat(folderFd, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0644);
    if (fd < 0) {
        *error = QStringLiteral("cannot create %1: %2").arg(QString::fromLocal8Bit(temporary), systemError());
        return false;
    }
    const bool written = writeAll(fd, bytes) && (!durable || ::fsync(fd) == 0);
    const QString writeError = written ? QString() : systemError();
    closeFd(fd);
    if (!written || ::renameat(folderFd, temporary.constData(), folderFd, target.constData()) != 0) {
        *error = QStringLiteral("cannot write %1: %2").arg(name, written ? systemError() : writeError);
        ::unlinkat(folderFd, temporary.constData(), 0);
        return false;
    }
    return true;
}

bool RecordingJournal::read(int folderFd, const QString &name, Contents *contents, QString *error)
{
    int fd = ::openat(folderFd, QFile::encodeName(name).constData(),
                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot open the journal: %1").arg(systemError());
        return false;
    }
    struct stat info;
    QByteArray bytes;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MAX_JOURNAL_BYTES;
    if (ok) {
        bytes.resize(int(info.st_size));
        qint64 done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, std::size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            done += ok ? n : 0;
        }
    }
    closeFd(fd);
    if (!ok || !decode(bytes, contents)) {
        *error = QStringLiteral("the journal cannot be read");
        return false;
    }
    return true;
}
