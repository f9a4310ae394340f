#pragma once

#include <QString>

// The system calls the V4L2 backend makes on a device node: open, close and ioctl. The
// product uses this class as it is; tests derive from it to stand in for a camera.
//
// Results: a file descriptor or 0 on success, a negated errno on failure.
// Threads: GUI thread only (the product); implementations keep no shared state.
class V4l2Io
{
public:
    V4l2Io() = default;
    virtual ~V4l2Io();
    V4l2Io(const V4l2Io &) = delete;
    V4l2Io &operator=(const V4l2Io &) = delete;

    virtual int openDevice(const QString &path);
    virtual void closeDevice(int fd);
    virtual int control(int fd, unsigned long request, void *arg);
};

// An open device node, closed when the handle goes.
class V4l2Handle
{
public:
    V4l2Handle(V4l2Io *io, const QString &path);
    ~V4l2Handle();
    V4l2Handle(const V4l2Handle &) = delete;
    V4l2Handle &operator=(const V4l2Handle &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int error() const { return m_fd < 0 ? m_fd : 0; }
    // The ioctl's result (0 or a negated errno); -EBADF when the node did not open.
    int control(unsigned long request, void *arg) const;

private:
    V4l2Io *m_io;
    int m_fd;
};
