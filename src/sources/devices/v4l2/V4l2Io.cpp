#include "sources/devices/v4l2/V4l2Io.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

V4l2Io::~V4l2Io() = default;

int V4l2Io::openDevice(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
}

void V4l2Io::closeDevice(int fd)
{
    ::close(fd);
}

int V4l2Io::control(int fd, unsigned long request, void *arg)
{
    int result;
    do {
        result = ::ioctl(fd, request, arg);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? -errno : 0;
}

V4l2Handle::V4l2Handle(V4l2Io *io, const QString &path)
    : m_io(io)
    , m_fd(io->openDevice(path))
{ }

V4l2Handle::~V4l2Handle()
{
    if (m_fd >= 0)
        m_io->closeDevice(m_fd);
}

int V4l2Handle::control(unsigned long request, void *arg) const
{
    return m_fd >= 0 ? m_io->control(m_fd, request, arg) : -EBADF;
}
