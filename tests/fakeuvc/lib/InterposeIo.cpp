// The C library's descriptor functions (open, close, dup, fcntl, ioctl, read, write,
// mmap, munmap): each passes straight through unless it touches a fake node (/dev/videoN
// of a plugged camera, or a descriptor opened from one) or a buffer mapping.

#include "Interpose.h"

#include <linux/dma-buf.h>
#include <sys/ioctl.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace fakeuvc;
using namespace fakeuvc::interpose;

namespace {

int openFake(const char *path, int flags, bool *handled)
{
    *handled = false;
    if (!maybeOurs(path) || path[1] != 'd' || !Registry::active())
        return -1;
    int fd;
    {
        std::lock_guard<std::mutex> lock(Registry::instance().mutex);
        fd = openNode(path, flags);
    }
    if (fd == -ENOSYS)
        return -1;
    *handled = true;
    return fd < 0 ? fail(-fd) : fd;
}

// A descriptor number the kernel handed out again while our table still knew it (closed
// behind the library's back, e.g. by a raw system call): forget the old meaning.
void forgetStale(int fd)
{
    if (fd >= 0 && Registry::fdKind(fd) != FdNone && Registry::active()) {
        std::lock_guard<std::mutex> lock(Registry::instance().mutex);
        releaseDescriptor(fd);
    }
}

int ioctlFake(int fd, unsigned long request, void *arg, bool *handled)
{
    Registry &registry = Registry::instance();
    *handled = true;
    if (Registry::fdKind(fd) == FdExport) {
        if (request == DMA_BUF_IOCTL_SYNC || request == DMA_BUF_SET_NAME_A || request == DMA_BUF_SET_NAME_B)
            return 0;
        *handled = false;
        return 0;
    }
    int result;
    {
        std::unique_lock<std::mutex> lock(registry.mutex);
        auto it = registry.handles.find(fd);
        if (it == registry.handles.end()) {
            *handled = false;
            return 0;
        }
        std::shared_ptr<Handle> handle = it->second;
        result = nodeIoctl(*handle, request, arg, lock);
    }
    registry.joinStopped();
    if (result == -ENOSYS) {
        *handled = false;
        return 0;
    }
    return result < 0 ? fail(-result) : result;
}

} // namespace

namespace fakeuvc::real {

int open(const char *path, int flags, mode_t mode)
{
    NEXT(OpenFn, open);
    return next_open(path, flags, mode);
}
int close(int fd)
{
    NEXT(CloseFn, close);
    return next_close(fd);
}
ssize_t read(int fd, void *buf, size_t count)
{
    NEXT(ReadFn, read);
    return next_read(fd, buf, count);
}
ssize_t write(int fd, const void *buf, size_t count)
{
    NEXT(WriteFn, write);
    return next_write(fd, buf, count);
}
void *mmap(void *addr, size_t length, int prot, int flags, int fd, off_t offset)
{
    NEXT(MmapFn, mmap);
    return next_mmap(addr, length, prot, flags, fd, offset);
}
int munmap(void *addr, size_t length)
{
    NEXT(MunmapFn, munmap);
    return next_munmap(addr, length);
}
int fcntl(int fd, int cmd, long arg)
{
    NEXT(FcntlFn, fcntl);
    return next_fcntl(fd, cmd, arg);
}
int stat(const char *path, struct stat *st)
{
    NEXT(StatFn, stat);
    return next_stat(path, st);
}
int lstat(const char *path, struct stat *st)
{
    NEXT(StatFn, lstat);
    return next_lstat(path, st);
}
char *realpath(const char *path, char *resolved)
{
    NEXT(RealpathFn, realpath);
    return next_realpath(path, resolved);
}
} // namespace fakeuvc::real

// ---- opening -------------------------------------------------------------------------

static int openCommon(const char *path, int flags, mode_t mode)
{
    bool handled;
    const int fd = openFake(path, flags, &handled);
    if (handled)
        return fd;
    std::string storage;
    NEXT(OpenFn, open);
    const int result = next_open(routed(path, &storage), flags, mode);
    forgetStale(result);
    return result;
}

static int openatCommon(int dirfd, const char *path, int flags, mode_t mode)
{
    if (absolutePath(path))
        return openCommon(path, flags, mode);
    NEXT(OpenatFn, openat);
    const int result = next_openat(dirfd, path, flags, mode);
    forgetStale(result);
    return result;
}

static mode_t modeArgument(int flags, va_list ap)
{
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? mode_t(va_arg(ap, int)) : 0;
}

FAKEUVC_EXPORT int open(const char *path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    return openCommon(path, flags, mode);
}

FAKEUVC_EXPORT int open64(const char *path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    return openCommon(path, flags | O_LARGEFILE, mode);
}

FAKEUVC_EXPORT int __open_2(const char *path, int flags)
{
    return openCommon(path, flags, 0);
}
FAKEUVC_EXPORT int __open64_2(const char *path, int flags)
{
    return openCommon(path, flags | O_LARGEFILE, 0);
}

FAKEUVC_EXPORT int openat(int dirfd, const char *path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    return openatCommon(dirfd, path, flags, mode);
}

FAKEUVC_EXPORT int openat64(int dirfd, const char *path, int flags, ...)
{
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    return openatCommon(dirfd, path, flags | O_LARGEFILE, mode);
}

FAKEUVC_EXPORT int __openat_2(int dirfd, const char *path, int flags)
{
    return openatCommon(dirfd, path, flags, 0);
}
FAKEUVC_EXPORT int __openat64_2(int dirfd, const char *path, int flags)
{
    return openatCommon(dirfd, path, flags | O_LARGEFILE, 0);
}

// ---- closing and duplicating ---------------------------------------------------------

FAKEUVC_EXPORT int close(int fd)
{
    NEXT(CloseFn, close);
    if (!fakeFd(fd))
        return next_close(fd);
    Registry &registry = Registry::instance();
    int result;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        releaseDescriptor(fd);
        result = next_close(fd);
    }
    registry.joinStopped();
    return result;
}

FAKEUVC_EXPORT int close_range(unsigned first, unsigned last, int flags)
{
    NEXT(CloseRangeFn, close_range);
    if (Registry::active() && !(flags & CLOSE_RANGE_CLOEXEC)) {
        Registry &registry = Registry::instance();
        {
            std::lock_guard<std::mutex> lock(registry.mutex);
            for (unsigned fd = first; fd <= last && fd < unsigned(kMaxFd); ++fd) {
                if (Registry::fdKind(int(fd)) != FdNone)
                    releaseDescriptor(int(fd));
            }
        }
        registry.joinStopped();
    }
    return next_close_range(first, last, flags);
}

FAKEUVC_EXPORT void closefrom(int lowest)
{
    close_range(unsigned(std::max(lowest, 0)), ~0u, 0);
}

static int afterDuplicate(int oldFd, int newFd, bool replaced)
{
    if (newFd < 0 || !Registry::active())
        return newFd;
    Registry &registry = Registry::instance();
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        if (replaced && Registry::fdKind(newFd) != FdNone)
            releaseDescriptor(newFd);
        if (Registry::fdKind(oldFd) != FdNone) {
            const int result = duplicateDescriptor(oldFd, newFd);
            if (result < 0) {
                real::close(newFd);
                return fail(-result);
            }
        }
    }
    registry.joinStopped();
    return newFd;
}

FAKEUVC_EXPORT int dup(int fd)
{
    NEXT(DupFn, dup);
    const int result = next_dup(fd);
    forgetStale(result);
    return fakeFd(fd) ? afterDuplicate(fd, result, false) : result;
}

FAKEUVC_EXPORT int dup2(int oldFd, int newFd)
{
    NEXT(Dup2Fn, dup2);
    if (oldFd == newFd || (!fakeFd(oldFd) && !fakeFd(newFd)))
        return next_dup2(oldFd, newFd);
    const int result = next_dup2(oldFd, newFd);
    return afterDuplicate(oldFd, result, true);
}

FAKEUVC_EXPORT int dup3(int oldFd, int newFd, int flags)
{
    NEXT(Dup3Fn, dup3);
    if (!fakeFd(oldFd) && !fakeFd(newFd))
        return next_dup3(oldFd, newFd, flags);
    const int result = next_dup3(oldFd, newFd, flags);
    return afterDuplicate(oldFd, result, true);
}

static int fcntlCommon(int fd, int cmd, unsigned long arg)
{
    NEXT(FcntlFn, fcntl);
    const int result = next_fcntl(fd, cmd, arg);
    if (cmd == F_DUPFD || cmd == F_DUPFD_CLOEXEC) {
        forgetStale(result);
        if (fakeFd(fd))
            return afterDuplicate(fd, result, false);
    }
    return result;
}

FAKEUVC_EXPORT int fcntl(int fd, int cmd, ...)
{
    va_list ap;
    va_start(ap, cmd);
    const unsigned long arg = va_arg(ap, unsigned long);
    va_end(ap);
    return fcntlCommon(fd, cmd, arg);
}

FAKEUVC_EXPORT int fcntl64(int fd, int cmd, ...)
{
    va_list ap;
    va_start(ap, cmd);
    const unsigned long arg = va_arg(ap, unsigned long);
    va_end(ap);
    return fcntlCommon(fd, cmd, arg);
}

// ---- ioctl, read, write, mmap --------------------------------------------------------

FAKEUVC_EXPORT int ioctl(int fd, unsigned long request, ...)
{
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    NEXT(IoctlFn, ioctl);
    if (fakeFd(fd)) {
        bool handled;
        const int result = ioctlFake(fd, request, arg, &handled);
        if (handled)
            return result;
    }
    return next_ioctl(fd, request, arg);
}

static int nodeReadWrite(int fd, bool reading)
{
    Registry &registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.handles.find(fd);
    if (it == registry.handles.end())
        return 0;
    const Handle &handle = *it->second;
    // uvcvideo has no read(); the capture node answers EINVAL (ENODEV once gone), the
    // metadata node and write() answer EINVAL.
    if (reading && handle.kind == NodeKind::Capture && handle.device->unplugged)
        return ENODEV;
    return EINVAL;
}

FAKEUVC_EXPORT ssize_t read(int fd, void *buf, size_t count)
{
    NEXT(ReadFn, read);
    if (Registry::fdKind(fd) == FdNode && Registry::active()) {
        const int error = nodeReadWrite(fd, true);
        if (error)
            return fail(error);
    }
    return next_read(fd, buf, count);
}

FAKEUVC_EXPORT ssize_t write(int fd, const void *buf, size_t count)
{
    NEXT(WriteFn, write);
    if (Registry::fdKind(fd) == FdNode && Registry::active()) {
        const int error = nodeReadWrite(fd, false);
        if (error)
            return fail(error);
    }
    return next_write(fd, buf, count);
}

static void *mmapCommon(void *addr, size_t length, int prot, int flags, int fd, off_t offset)
{
    NEXT(MmapFn, mmap);
    if (Registry::fdKind(fd) != FdNode || !Registry::active())
        return next_mmap(addr, length, prot, flags, fd, offset);
    Registry &registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.handles.find(fd);
    if (it == registry.handles.end())
        return next_mmap(addr, length, prot, flags, fd, offset);
    int error = 0;
    void *mapped = mapBuffer(*it->second, addr, length, prot, flags, offset, &error);
    if (mapped == MAP_FAILED)
        errno = error;
    return mapped;
}

FAKEUVC_EXPORT void *mmap(void *addr, size_t length, int prot, int flags, int fd, off_t offset)
{
    return mmapCommon(addr, length, prot, flags, fd, offset);
}

FAKEUVC_EXPORT void *mmap64(void *addr, size_t length, int prot, int flags, int fd, off_t offset)
{
    return mmapCommon(addr, length, prot, flags, fd, offset);
}

FAKEUVC_EXPORT int munmap(void *addr, size_t length)
{
    NEXT(MunmapFn, munmap);
    const int result = next_munmap(addr, length);
    Registry &registry = Registry::instance();
    if (result == 0 && registry.mappingCount.load(std::memory_order_relaxed) > 0 && Registry::active()) {
        std::lock_guard<std::mutex> lock(registry.mutex);
        unmapNotify(addr);
    }
    return result;
}
