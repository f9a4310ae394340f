// The C library functions this library stands in for. Each passes straight through unless
// it touches a fake node (/dev/videoN of a plugged camera, or a descriptor opened from one),
// a buffer mapping, or the parts of /sys the fake cameras live in.

#include "Real.h"
#include "Registry.h"

#include <linux/dma-buf.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#define FAKEUVC_EXPORT extern "C" __attribute__((visibility("default")))

using namespace fakeuvc;

static_assert(sizeof(struct stat) == sizeof(struct stat64), "stat and stat64 share their layout here");

namespace {

// Pointers to the next definitions, found on first use (calls may come before this
// library's constructor ran).
template<class F>
F next(std::atomic<void *> &slot, const char *name)
{
    void *p = slot.load(std::memory_order_relaxed);
    if (!p) {
        p = dlsym(RTLD_NEXT, name);
        slot.store(p, std::memory_order_relaxed);
    }
    return reinterpret_cast<F>(p);
}

#define NEXT(type, name)                                                                                               \
    static std::atomic<void *> slot_##name{nullptr};                                                                   \
    auto next_##name = next<type>(slot_##name, #name)

using OpenFn = int (*)(const char *, int, ...);
using OpenatFn = int (*)(int, const char *, int, ...);
using Open2Fn = int (*)(const char *, int);
using Openat2Fn = int (*)(int, const char *, int);
using StatFn = int (*)(const char *, struct stat *);
using FstatFn = int (*)(int, struct stat *);
using FstatatFn = int (*)(int, const char *, struct stat *, int);
using XstatFn = int (*)(int, const char *, struct stat *);
using FxstatFn = int (*)(int, int, struct stat *);
using FxstatatFn = int (*)(int, int, const char *, struct stat *, int);
using StatxFn = int (*)(int, const char *, int, unsigned, struct statx *);
using AccessFn = int (*)(const char *, int);
using FaccessatFn = int (*)(int, const char *, int, int);
using ReadlinkFn = ssize_t (*)(const char *, char *, size_t);
using ReadlinkatFn = ssize_t (*)(int, const char *, char *, size_t);
using RealpathFn = char *(*)(const char *, char *);
using RealpathChkFn = char *(*)(const char *, char *, size_t);
using CanonicalizeFn = char *(*)(const char *);
using OpendirFn = DIR *(*)(const char *);
using FopenFn = FILE *(*)(const char *, const char *);
using CloseFn = int (*)(int);
using CloseRangeFn = int (*)(unsigned, unsigned, int);
using ClosefromFn = void (*)(int);
using DupFn = int (*)(int);
using Dup2Fn = int (*)(int, int);
using Dup3Fn = int (*)(int, int, int);
using FcntlFn = int (*)(int, int, ...);
using IoctlFn = int (*)(int, unsigned long, ...);
using ReadFn = ssize_t (*)(int, void *, size_t);
using WriteFn = ssize_t (*)(int, const void *, size_t);
using MmapFn = void *(*)(void *, size_t, int, int, int, off_t);
using MunmapFn = int (*)(void *, size_t);

// Only absolute paths below /sys or /dev can be ours; everything else leaves at once.
inline bool maybeOurs(const char *p)
{
    return p && p[0] == '/' && ((p[1] == 's' && p[2] == 'y' && p[3] == 's' && p[4] == '/')
                                || (p[1] == 'd' && p[2] == 'e' && p[3] == 'v' && p[4] == '/'));
}

// Through a function: the C library declares the paths of some calls never null, yet
// callers pass null (and expect EFAULT), so they are tested where that is not assumed.
__attribute__((noinline)) bool absolutePath(const char *p) { return p && p[0] == '/'; }
__attribute__((noinline)) bool emptyPath(const char *p) { return p && p[0] == '\0'; }

inline bool fakeFd(int fd) { return Registry::fdKind(fd) != FdNone && Registry::active(); }

// A fake node at `path`: its device and kind, under the lock.
std::shared_ptr<Device> nodeAt(const char *path, NodeKind *kind)
{
    if (!maybeOurs(path) || path[1] != 'd' || !Registry::active())
        return nullptr;
    std::lock_guard<std::mutex> lock(Registry::instance().mutex);
    return deviceForPath(path, kind);
}

// The path to hand the C library: the fake tree's copy for our part of /sys.
const char *routed(const char *path, std::string *storage)
{
    if (maybeOurs(path) && path[1] == 's' && Registry::active() && redirectPath(path, storage))
        return storage->c_str();
    return path;
}

int fail(int error)
{
    errno = error;
    return -1;
}

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

void fillStatx(const struct stat &st, struct statx *sx)
{
    memset(sx, 0, sizeof *sx);
    sx->stx_mask = STATX_BASIC_STATS;
    sx->stx_blksize = uint32_t(st.st_blksize);
    sx->stx_nlink = uint32_t(st.st_nlink);
    sx->stx_uid = st.st_uid;
    sx->stx_gid = st.st_gid;
    sx->stx_mode = uint16_t(st.st_mode);
    sx->stx_ino = st.st_ino;
    sx->stx_atime = {st.st_atim.tv_sec, uint32_t(st.st_atim.tv_nsec), 0};
    sx->stx_mtime = {st.st_mtim.tv_sec, uint32_t(st.st_mtim.tv_nsec), 0};
    sx->stx_ctime = {st.st_ctim.tv_sec, uint32_t(st.st_ctim.tv_nsec), 0};
    sx->stx_btime = sx->stx_ctime;
    sx->stx_rdev_major = major(st.st_rdev);
    sx->stx_rdev_minor = minor(st.st_rdev);
    sx->stx_dev_major = major(st.st_dev);
    sx->stx_dev_minor = minor(st.st_dev);
}

// stat() of a path: 1 when answered here (with errno set on failure), 0 otherwise.
int statNode(const char *path, struct stat *st)
{
    NodeKind kind;
    std::shared_ptr<Device> device = nodeAt(path, &kind);
    if (!device)
        return 0;
    fillCharDeviceStat(*device, kind, st);
    return 1;
}

bool statFd(int fd, struct stat *st)
{
    if (Registry::fdKind(fd) != FdNode || !Registry::active())
        return false;
    std::lock_guard<std::mutex> lock(Registry::instance().mutex);
    auto &handles = Registry::instance().handles;
    auto it = handles.find(fd);
    if (it == handles.end())
        return false;
    fillCharDeviceStat(*it->second->device, it->second->kind, st);
    return true;
}

int accessNode(const char *path, int mode, bool *handled)
{
    NodeKind kind;
    std::shared_ptr<Device> device = nodeAt(path, &kind);
    *handled = device != nullptr;
    if (!device)
        return 0;
    if (mode & X_OK)
        return fail(EACCES);
    std::lock_guard<std::mutex> lock(Registry::instance().mutex);
    if ((mode & (R_OK | W_OK)) && device->camera->eacces)
        return fail(EACCES);
    return 0;
}

char *realpathNode(const char *path, char *resolved, bool *handled)
{
    NodeKind kind;
    *handled = nodeAt(path, &kind) != nullptr;
    if (!*handled)
        return nullptr;
    if (resolved) {
        strncpy(resolved, path, PATH_MAX - 1);
        resolved[PATH_MAX - 1] = '\0';
        return resolved;
    }
    return strdup(path);
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
int openat(int dirfd, const char *path, int flags, mode_t mode)
{
    NEXT(OpenatFn, openat);
    return next_openat(dirfd, path, flags, mode);
}
int close(int fd)
{
    NEXT(CloseFn, close);
    return next_close(fd);
}
int ioctl(int fd, unsigned long request, void *arg)
{
    NEXT(IoctlFn, ioctl);
    return next_ioctl(fd, request, arg);
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
int dup(int fd)
{
    NEXT(DupFn, dup);
    return next_dup(fd);
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
ssize_t readlink(const char *path, char *buf, size_t size)
{
    NEXT(ReadlinkFn, readlink);
    return next_readlink(path, buf, size);
}
DIR *opendir(const char *path)
{
    NEXT(OpendirFn, opendir);
    return next_opendir(path);
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

FAKEUVC_EXPORT int __open_2(const char *path, int flags) { return openCommon(path, flags, 0); }
FAKEUVC_EXPORT int __open64_2(const char *path, int flags) { return openCommon(path, flags | O_LARGEFILE, 0); }

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

FAKEUVC_EXPORT int __openat_2(int dirfd, const char *path, int flags) { return openatCommon(dirfd, path, flags, 0); }
FAKEUVC_EXPORT int __openat64_2(int dirfd, const char *path, int flags)
{
    return openatCommon(dirfd, path, flags | O_LARGEFILE, 0);
}

FAKEUVC_EXPORT FILE *fopen(const char *path, const char *mode)
{
    std::string storage;
    NEXT(FopenFn, fopen);
    return next_fopen(routed(path, &storage), mode);
}

FAKEUVC_EXPORT FILE *fopen64(const char *path, const char *mode)
{
    std::string storage;
    NEXT(FopenFn, fopen64);
    return next_fopen64(routed(path, &storage), mode);
}

FAKEUVC_EXPORT DIR *opendir(const char *path)
{
    std::string storage;
    NEXT(OpendirFn, opendir);
    return next_opendir(routed(path, &storage));
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

// ---- the stat family -----------------------------------------------------------------

FAKEUVC_EXPORT int stat(const char *path, struct stat *st)
{
    if (statNode(path, st))
        return 0;
    std::string storage;
    NEXT(StatFn, stat);
    return next_stat(routed(path, &storage), st);
}

FAKEUVC_EXPORT int stat64(const char *path, struct stat64 *st)
{
    return stat(path, reinterpret_cast<struct stat *>(st));
}

FAKEUVC_EXPORT int lstat(const char *path, struct stat *st)
{
    if (statNode(path, st))
        return 0;
    std::string storage;
    NEXT(StatFn, lstat);
    return next_lstat(routed(path, &storage), st);
}

FAKEUVC_EXPORT int lstat64(const char *path, struct stat64 *st)
{
    return lstat(path, reinterpret_cast<struct stat *>(st));
}

FAKEUVC_EXPORT int fstat(int fd, struct stat *st)
{
    if (statFd(fd, st))
        return 0;
    NEXT(FstatFn, fstat);
    return next_fstat(fd, st);
}

FAKEUVC_EXPORT int fstat64(int fd, struct stat64 *st) { return fstat(fd, reinterpret_cast<struct stat *>(st)); }

FAKEUVC_EXPORT int fstatat(int dirfd, const char *path, struct stat *st, int flags)
{
    if (emptyPath(path) && (flags & AT_EMPTY_PATH) && statFd(dirfd, st))
        return 0;
    if (absolutePath(path) && statNode(path, st))
        return 0;
    std::string storage;
    NEXT(FstatatFn, fstatat);
    return next_fstatat(dirfd, absolutePath(path) ? routed(path, &storage) : path, st, flags);
}

FAKEUVC_EXPORT int fstatat64(int dirfd, const char *path, struct stat64 *st, int flags)
{
    return fstatat(dirfd, path, reinterpret_cast<struct stat *>(st), flags);
}

FAKEUVC_EXPORT int __xstat(int version, const char *path, struct stat *st)
{
    if (statNode(path, st))
        return 0;
    std::string storage;
    NEXT(XstatFn, __xstat);
    return next___xstat(version, routed(path, &storage), st);
}

FAKEUVC_EXPORT int __xstat64(int version, const char *path, struct stat64 *st)
{
    return __xstat(version, path, reinterpret_cast<struct stat *>(st));
}

FAKEUVC_EXPORT int __lxstat(int version, const char *path, struct stat *st)
{
    if (statNode(path, st))
        return 0;
    std::string storage;
    NEXT(XstatFn, __lxstat);
    return next___lxstat(version, routed(path, &storage), st);
}

FAKEUVC_EXPORT int __lxstat64(int version, const char *path, struct stat64 *st)
{
    return __lxstat(version, path, reinterpret_cast<struct stat *>(st));
}

FAKEUVC_EXPORT int __fxstat(int version, int fd, struct stat *st)
{
    if (statFd(fd, st))
        return 0;
    NEXT(FxstatFn, __fxstat);
    return next___fxstat(version, fd, st);
}

FAKEUVC_EXPORT int __fxstat64(int version, int fd, struct stat64 *st)
{
    return __fxstat(version, fd, reinterpret_cast<struct stat *>(st));
}

FAKEUVC_EXPORT int __fxstatat(int version, int dirfd, const char *path, struct stat *st, int flags)
{
    if (emptyPath(path) && (flags & AT_EMPTY_PATH) && statFd(dirfd, st))
        return 0;
    if (absolutePath(path) && statNode(path, st))
        return 0;
    std::string storage;
    NEXT(FxstatatFn, __fxstatat);
    return next___fxstatat(version, dirfd, absolutePath(path) ? routed(path, &storage) : path, st, flags);
}

FAKEUVC_EXPORT int __fxstatat64(int version, int dirfd, const char *path, struct stat64 *st, int flags)
{
    return __fxstatat(version, dirfd, path, reinterpret_cast<struct stat *>(st), flags);
}

FAKEUVC_EXPORT int statx(int dirfd, const char *path, int flags, unsigned mask, struct statx *sx)
{
    struct stat st;
    if (((emptyPath(path) && (flags & AT_EMPTY_PATH) && statFd(dirfd, &st))
         || (absolutePath(path) && statNode(path, &st)))) {
        fillStatx(st, sx);
        return 0;
    }
    std::string storage;
    NEXT(StatxFn, statx);
    return next_statx(dirfd, absolutePath(path) ? routed(path, &storage) : path, flags, mask, sx);
}

// ---- access, links, canonical paths --------------------------------------------------

FAKEUVC_EXPORT int access(const char *path, int mode)
{
    bool handled;
    const int result = accessNode(path, mode, &handled);
    if (handled)
        return result;
    std::string storage;
    NEXT(AccessFn, access);
    return next_access(routed(path, &storage), mode);
}

FAKEUVC_EXPORT int faccessat(int dirfd, const char *path, int mode, int flags)
{
    if (absolutePath(path)) {
        bool handled;
        const int result = accessNode(path, mode, &handled);
        if (handled)
            return result;
    }
    std::string storage;
    NEXT(FaccessatFn, faccessat);
    return next_faccessat(dirfd, absolutePath(path) ? routed(path, &storage) : path, mode, flags);
}

FAKEUVC_EXPORT int euidaccess(const char *path, int mode)
{
    bool handled;
    const int result = accessNode(path, mode, &handled);
    if (handled)
        return result;
    std::string storage;
    NEXT(AccessFn, euidaccess);
    return next_euidaccess(routed(path, &storage), mode);
}

FAKEUVC_EXPORT int eaccess(const char *path, int mode) { return euidaccess(path, mode); }

FAKEUVC_EXPORT ssize_t readlink(const char *path, char *buf, size_t size)
{
    std::string storage;
    NEXT(ReadlinkFn, readlink);
    return next_readlink(routed(path, &storage), buf, size);
}

FAKEUVC_EXPORT ssize_t readlinkat(int dirfd, const char *path, char *buf, size_t size)
{
    std::string storage;
    NEXT(ReadlinkatFn, readlinkat);
    return next_readlinkat(dirfd, absolutePath(path) ? routed(path, &storage) : path, buf, size);
}

FAKEUVC_EXPORT char *realpath(const char *path, char *resolved)
{
    bool handled;
    char *node = realpathNode(path, resolved, &handled);
    if (handled)
        return node;
    std::string storage;
    NEXT(RealpathFn, realpath);
    char *result = next_realpath(routed(path, &storage), resolved);
    if (result && Registry::active())
        unredirectPath(result);
    return result;
}

FAKEUVC_EXPORT char *__realpath_chk(const char *path, char *resolved, size_t resolvedLength)
{
    if (resolvedLength < PATH_MAX)
        abort(); // what the fortified original does on a too small buffer
    return realpath(path, resolved);
}

FAKEUVC_EXPORT char *canonicalize_file_name(const char *path) { return realpath(path, nullptr); }

// ---- extended attributes (ls -l asks for them) -----------------------------------------

using GetxattrFn = ssize_t (*)(const char *, const char *, void *, size_t);
using ListxattrFn = ssize_t (*)(const char *, char *, size_t);

FAKEUVC_EXPORT ssize_t getxattr(const char *path, const char *name, void *value, size_t size)
{
    NodeKind kind;
    if (nodeAt(path, &kind))
        return fail(ENODATA);
    std::string storage;
    NEXT(GetxattrFn, getxattr);
    return next_getxattr(routed(path, &storage), name, value, size);
}

FAKEUVC_EXPORT ssize_t lgetxattr(const char *path, const char *name, void *value, size_t size)
{
    NodeKind kind;
    if (nodeAt(path, &kind))
        return fail(ENODATA);
    std::string storage;
    NEXT(GetxattrFn, lgetxattr);
    return next_lgetxattr(routed(path, &storage), name, value, size);
}

FAKEUVC_EXPORT ssize_t listxattr(const char *path, char *list, size_t size)
{
    NodeKind kind;
    if (nodeAt(path, &kind))
        return 0;
    std::string storage;
    NEXT(ListxattrFn, listxattr);
    return next_listxattr(routed(path, &storage), list, size);
}

FAKEUVC_EXPORT ssize_t llistxattr(const char *path, char *list, size_t size)
{
    NodeKind kind;
    if (nodeAt(path, &kind))
        return 0;
    std::string storage;
    NEXT(ListxattrFn, llistxattr);
    return next_llistxattr(routed(path, &storage), list, size);
}
