// The C library's path functions (the stat family, access, readlink, realpath, opendir,
// fopen, extended attributes): the fake nodes answer for themselves, paths into the fake
// cameras' part of /sys are answered from the library's folder.

#include "Interpose.h"

#include <sys/sysmacros.h>
#include <sys/xattr.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace fakeuvc;
using namespace fakeuvc::interpose;

static_assert(sizeof(struct stat) == sizeof(struct stat64), "stat and stat64 share their layout here");

namespace {

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

} // namespace

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

FAKEUVC_EXPORT int fstat64(int fd, struct stat64 *st)
{
    return fstat(fd, reinterpret_cast<struct stat *>(st));
}

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

FAKEUVC_EXPORT int eaccess(const char *path, int mode)
{
    return euidaccess(path, mode);
}

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

FAKEUVC_EXPORT char *canonicalize_file_name(const char *path)
{
    return realpath(path, nullptr);
}

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
