#include "common/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int CREATE_FLAGS = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t FILE_MODE = 0666; // narrowed by the user's umask, as any file they make

// The folder of a path, open for the *at() calls, and the entry's name in it.
struct Entry
{
    int folder = -1;
    QByteArray name;

    explicit Entry(const QString &path)
    {
        const QFileInfo info(path);
        name = QFile::encodeName(info.fileName());
        folder = ::open(QFile::encodeName(info.absolutePath()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    ~Entry()
    {
        if (folder >= 0)
            ::close(folder);
    }
    Entry(const Entry &) = delete;
    Entry &operator=(const Entry &) = delete;
};

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// A temporary name beside `name` that is not taken; the file is created and open on `*fd`.
QByteArray createTemporaryIn(int folder, const QByteArray &name, int *fd)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = '.' + name + '.'
            + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
        *fd = ::openat(folder, candidate.constData(), CREATE_FLAGS, FILE_MODE);
        if (*fd >= 0)
            return candidate;
        if (errno != EEXIST)
            return QByteArray();
    }
    return QByteArray();
}

} // namespace

QString OutputFile::systemError(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

bool OutputFile::replace(const QString &path, const QByteArray &bytes, QString *error)
{
    const Entry entry(path);
    if (entry.folder < 0) {
        *error = systemError(errno);
        return false;
    }
    int fd = -1;
    const QByteArray temporary = createTemporaryIn(entry.folder, entry.name, &fd);
    if (fd < 0) {
        *error = systemError(errno);
        return false;
    }
    const bool written = writeAll(fd, bytes);
    const int writeError = errno;
    // A file system that reports a failed write only at close (network, some FUSE) must not
    // get a cut-off file past us.
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        ::unlinkat(entry.folder, temporary.constData(), 0);
        *error = systemError(!written ? writeError : closeError);
        return false;
    }
    if (::renameat(entry.folder, temporary.constData(), entry.folder, entry.name.constData()) != 0) {
        const int renameError = errno;
        ::unlinkat(entry.folder, temporary.constData(), 0);
        *error = systemError(renameError);
        return false;
    }
    return true;
}

int OutputFile::create(const QString &path, QString *error)
{
    const Entry entry(path);
    if (entry.folder < 0) {
        *error = systemError(errno);
        return -1;
    }
    struct stat existing;
    if (::fstatat(entry.folder, entry.name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            *error = systemError(EISDIR);
            return -1;
        }
        if (::unlinkat(entry.folder, entry.name.constData(), 0) != 0 && errno != ENOENT) {
            *error = systemError(errno);
            return -1;
        }
    }
    const int fd = ::openat(entry.folder, entry.name.constData(), CREATE_FLAGS, FILE_MODE);
    if (fd < 0)
        *error = systemError(errno);
    return fd;
}

QString OutputFile::createTemporary(const QString &path, QString *error)
{
    const Entry entry(path);
    if (entry.folder < 0) {
        *error = systemError(errno);
        return QString();
    }
    int fd = -1;
    const QByteArray temporary = createTemporaryIn(entry.folder, entry.name, &fd);
    if (fd < 0) {
        *error = systemError(errno);
        return QString();
    }
    ::close(fd);
    return QFileInfo(path).absoluteDir().filePath(QFile::decodeName(temporary));
}

bool OutputFile::moveOver(const QString &from, const QString &to, QString *error)
{
    const Entry source(from);
    const Entry target(to);
    if (source.folder < 0 || target.folder < 0) {
        *error = systemError(errno);
        return false;
    }
    if (::renameat(source.folder, source.name.constData(), target.folder, target.name.constData()) != 0) {
        *error = systemError(errno);
        return false;
    }
    return true;
}

qint64 OutputFile::freeBytes(const QString &folder)
{
    struct statvfs info;
    if (::statvfs(QFile::encodeName(folder).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}
