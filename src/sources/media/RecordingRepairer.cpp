#include "sources/media/RecordingRepairer.h"

#include "common/Logging.h"
#include "sources/media/AviChunkIndex.h"
#include "sources/media/AviPlaybackCheck.h"
#include "sources/media/AviRemuxer.h"
#include "sources/media/RecordingJournal.h"

#include <QDir>
#include <QFile>

#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char REPAIR_SUFFIX[] = ".repairing";

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes a descriptor when the scope ends.
struct Descriptor
{
    int fd = -1;
    explicit Descriptor(int f)
        : fd(f)
    { }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool removeEntry(int folderFd, const QByteArray &name)
{
    return ::unlinkat(folderFd, name.constData(), 0) == 0 || errno == ENOENT;
}

} // namespace

QVector<RecordingRepairer::Outcome> RecordingRepairer::repairFolder(const QString &folder,
                                                                    const std::atomic<bool> *cancel)
{
    QVector<Outcome> outcomes;
    if (folder.isEmpty())
        return outcomes;
    const Descriptor folderFd(
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.fd < 0) {
        qCInfo(lcMedia) << "no unfinished recordings looked for in" << folder << ":" << systemError(errno);
        return outcomes;
    }
    QStringList journals;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (!RecordingJournal::recordingName(entry).isEmpty())
            journals.append(entry);
    }
    for (const QString &journal : journals) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            break;
        Outcome outcome;
        const Step step = repair(folderFd.fd, folder, journal, cancel, &outcome);
        if (step == Step::Cancelled)
            break;
        if (step != Step::Reported)
            continue;
        if (outcome.repaired)
            qCInfo(lcMedia) << "repaired the unfinished recording" << outcome.path << "to" << outcome.seconds
                            << "s";
        else
            qCWarning(lcMedia) << "the unfinished recording" << outcome.path
                               << "cannot be repaired:" << outcome.detail;
        outcomes.append(outcome);
    }
    return outcomes;
}

RecordingRepairer::Step RecordingRepairer::repair(int folderFd, const QString &folder,
                                                  const QString &journalName, const std::atomic<bool> *cancel,
                                                  Outcome *outcome)
{
    const QString name = RecordingJournal::recordingName(journalName);
    const QByteArray encodedName = QFile::encodeName(name);
    outcome->path = QDir(folder).filePath(name);

    struct stat journalInfo;
    if (::fstatat(folderFd, QFile::encodeName(journalName).constData(), &journalInfo, AT_SYMLINK_NOFOLLOW)
            != 0
        || !S_ISREG(journalInfo.st_mode)) {
        qCInfo(lcMedia) << "passed over" << journalName << "in" << folder << ": not a journal file";
        return Step::Silent;
    }
    RecordingJournal::Contents journal;
    QString error;
    const bool readable = RecordingJournal::read(folderFd, journalName, &journal, &error);
    if (readable)
        outcome->recordedSeconds = double(journal.recordedMs) / 1000.0;
    const QByteArray leftover = QFile::encodeName(journalName) + ".tmp"; // of a write cut off

    // O_NONBLOCK: a FIFO under the name must not hold the repair up.
    const Descriptor recording(
        ::openat(folderFd, encodedName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    const int openError = recording.fd < 0 ? errno : 0;
    if (openError == ENOENT) {
        // Deleted since: nothing is left to repair.
        qCInfo(lcMedia) << "the unfinished recording" << outcome->path << "is gone; its journal is removed";
        removeEntry(folderFd, QFile::encodeName(journalName));
        removeEntry(folderFd, leftover);
        return Step::Silent;
    }
    if (readable && !journal.failure.isEmpty())
        return Step::Silent; // told when it failed

    // A failure is told once: the journal keeps its cause and the file is not tried again.
    const auto fail = [&](Failure failure, const QString &detail) {
        outcome->failure = failure;
        outcome->detail = detail;
        RecordingJournal::Contents marked = journal;
        marked.file = name;
        marked.failure = detail;
        marked.failedAt = QDateTime::currentDateTimeUtc();
        QString markError;
        if (!RecordingJournal::writeAtomically(folderFd, journalName, RecordingJournal::encode(marked),
                                               &markError))
            qCWarning(lcMedia) << "the journal" << journalName << "cannot be marked:" << markError;
        return Step::Reported;
    };
    if (openError == ELOOP)
        return fail(Failure::IsLink, QStringLiteral("the recording's name is a link"));
    if (openError != 0)
        return fail(Failure::Unreadable, systemError(openError));
    struct stat info;
    if (::fstat(recording.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return fail(Failure::NotARecording, QStringLiteral("not a regular file"));
    if (::flock(recording.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        qCInfo(lcMedia) << "the recording" << outcome->path << "is still being written; left alone";
        return Step::Silent;
    }
    removeEntry(folderFd, leftover);
    if (!readable || journal.file != name)
        return fail(Failure::Unreadable, readable ? QStringLiteral("the journal names another file") : error);

    AviChunkIndex index;
    if (!index.scan(recording.fd, &error))
        return fail(Failure::NotARecording, error);
    if (index.headerFrames() > 0 && index.hasIndex()) {
        qCInfo(lcMedia) << "the recording" << outcome->path
                        << "was finished after all; its journal is removed";
        removeEntry(folderFd, QFile::encodeName(journalName));
        return Step::Silent;
    }
    const int video = index.videoStream();
    if (video < 0 || index.streams()[video].chunks == 0)
        return fail(Failure::NoPicture, QStringLiteral("the file holds no whole video frame"));

    const Step step = rewrite(folderFd, folder, name, recording.fd, index, cancel, outcome);
    if (step == Step::Reported && !outcome->repaired)
        return fail(outcome->failure, outcome->detail);
    if (outcome->repaired && !removeEntry(folderFd, QFile::encodeName(journalName)))
        qCWarning(lcMedia) << "the journal" << journalName << "cannot be removed:" << systemError(errno);
    return step;
}

RecordingRepairer::Step RecordingRepairer::rewrite(int folderFd, const QString &folder, const QString &name,
                                                   int recording, const AviChunkIndex &index,
                                                   const std::atomic<bool> *cancel, Outcome *outcome)
{
    const QByteArray target = QFile::encodeName(name);
    const QByteArray temporary = "." + target + REPAIR_SUFFIX;
    const auto failed = [&](Failure failure, const QString &detail) {
        removeEntry(folderFd, temporary);
        outcome->failure = failure;
        outcome->detail = detail;
        return Step::Reported;
    };

    struct stat original;
    ::fstat(recording, &original);
    if (!removeEntry(folderFd, temporary))
        return failed(
            Failure::CannotWrite,
            QStringLiteral("cannot clear %1: %2").arg(QString::fromLocal8Bit(temporary), systemError(errno)));
    const Descriptor copy(::openat(folderFd, temporary.constData(),
                                   O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                   original.st_mode & 07777));
    if (copy.fd < 0)
        return failed(Failure::CannotWrite,
                      QStringLiteral("cannot create the repaired copy: %1").arg(systemError(errno)));

    QString error;
    bool cancelled = false;
    if (!AviRemuxer::remux(recording, index, copy.fd, cancel, &error, &cancelled)) {
        if (cancelled) {
            removeEntry(folderFd, temporary);
            return Step::Cancelled;
        }
        return failed(Failure::CannotWrite,
                      QStringLiteral("the repaired copy cannot be written: %1").arg(error));
    }
    if (::fsync(copy.fd) != 0)
        return failed(Failure::CannotWrite,
                      QStringLiteral("the repaired copy cannot be saved: %1").arg(systemError(errno)));

    // The copy must be a finished file holding every frame of the original ...
    AviChunkIndex repaired;
    const int video = index.videoStream();
    if (!repaired.scan(copy.fd, &error) || repaired.headerFrames() == 0 || !repaired.hasIndex()
        || repaired.videoStream() < 0
        || repaired.streams()[repaired.videoStream()].chunks != index.streams()[video].chunks)
        return failed(Failure::NotPlayable,
                      QStringLiteral("the repaired copy is not a finished file with every frame%1")
                          .arg(error.isEmpty() ? QString() : ": " + error));
    // ... that plays, seeks, and lasts as long as what the original holds of the streams carried.
    double held = 0;
    for (int i = 0; i < index.streams().size(); ++i) {
        if (AviRemuxer::streamCaps(index, i))
            held = std::max(held, index.streamSeconds(i));
    }
    const AviPlaybackCheck::Result played = AviPlaybackCheck::check(
        QDir(folder).filePath(QFile::decodeName(temporary)));
    if (!played.playable)
        return failed(Failure::NotPlayable,
                      QStringLiteral("the repaired copy does not play: %1").arg(played.error));
    if (std::fabs(played.seconds - held) > TOLERANCE_SECONDS)
        return failed(Failure::NotPlayable,
                      QStringLiteral("the repaired copy lasts %1 s, the original holds %2 s")
                          .arg(played.seconds, 0, 'f', 2)
                          .arg(held, 0, 'f', 2));

    // The entry renamed must be the copy written, not something put in its place meanwhile.
    struct stat written, entry;
    if (::fstat(copy.fd, &written) != 0
        || ::fstatat(folderFd, temporary.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0
        || written.st_dev != entry.st_dev || written.st_ino != entry.st_ino)
        return failed(Failure::CannotWrite,
                      QStringLiteral("the repaired copy was replaced while it was checked"));
    if (::renameat(folderFd, temporary.constData(), folderFd, target.constData()) != 0)
        return failed(Failure::CannotWrite,
                      QStringLiteral("the original cannot be replaced: %1").arg(systemError(errno)));
    ::fsync(folderFd);

    outcome->repaired = true;
    outcome->seconds = played.seconds;
    return Step::Reported;
}
