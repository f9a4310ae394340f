#include "SmallFileSystem.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace SmallFileSystem {

namespace {
bool g_private = false;
}

bool enterPrivateMounts()
{
    if (g_private)
        return true;
    // DOCCAM_TEST_NO_MOUNT=1 runs the tests as an unprivileged user would, on their fallbacks.
    if (qEnvironmentVariableIsSet("DOCCAM_TEST_NO_MOUNT") || ::unshare(CLONE_NEWNS) != 0)
        return false;
    // Mounts made from here on reach no other process.
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    g_private = true;
    return true;
}

bool available()
{
    return g_private;
}

Mount::Mount(qint64 bytes)
{
    if (!g_private)
        return;
    QByteArray folder = QDir::tempPath().toLocal8Bit() + "/doccam-small-XXXXXX";
    if (!::mkdtemp(folder.data()))
        return;
    m_path = QString::fromLocal8Bit(folder);
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    m_mounted = ::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

Mount::~Mount()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
}

qint64 Mount::freeBytes() const
{
    struct statvfs info;
    if (::statvfs(QFile::encodeName(m_path).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool Mount::fillLeaving(qint64 bytes, const QString &name)
{
    const qint64 fill = freeBytes() - bytes;
    if (fill < 0)
        return false;
    QFile filler(QDir(m_path).filePath(name));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray block(64 * 1024, '\0');
    qint64 left = fill;
    while (left > 0) {
        const qint64 n = qMin<qint64>(left, block.size());
        if (filler.write(block.constData(), n) != n)
            return false;
        left -= n;
    }
    return filler.flush();
}

bool Mount::makeReadOnly()
{
    return m_mounted
        && ::mount(nullptr, QFile::encodeName(m_path).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr)
        == 0;
}

} // namespace SmallFileSystem

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    if (::getrlimit(RLIMIT_FSIZE, &m_previous) != 0)
        return;
    struct rlimit limit = m_previous;
    limit.rlim_cur = rlim_t(bytes);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (m_set)
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler ? m_previousHandler : SIG_DFL);
}
