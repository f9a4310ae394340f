#pragma once

// What the replacements of the C library's functions share: the next definitions behind
// them and the tests that tell the library's paths and descriptors from everyone else's.

#include "Real.h"
#include "Registry.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <dlfcn.h>
#include <string>

#define FAKEUVC_EXPORT extern "C" __attribute__((visibility("default")))

namespace fakeuvc::interpose {

// Pointers to the next definitions, found on first use (calls may come before this
// library's constructor ran).
template<class F>
inline F next(std::atomic<void *> &slot, const char *name)
{
    void *p = slot.load(std::memory_order_relaxed);
    if (!p) {
        p = dlsym(RTLD_NEXT, name);
        slot.store(p, std::memory_order_relaxed);
    }
    return reinterpret_cast<F>(p);
}

#define NEXT(type, name)                                                                                     \
    static std::atomic<void *> slot_##name{nullptr};                                                         \
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
    return p && p[0] == '/'
        && ((p[1] == 's' && p[2] == 'y' && p[3] == 's' && p[4] == '/')
            || (p[1] == 'd' && p[2] == 'e' && p[3] == 'v' && p[4] == '/'));
}

// Through a function: the C library declares the paths of some calls never null, yet
// callers pass null (and expect EFAULT), so they are tested where that is not assumed.
__attribute__((noinline)) inline bool absolutePath(const char *p)
{
    return p && p[0] == '/';
}
__attribute__((noinline)) inline bool emptyPath(const char *p)
{
    return p && p[0] == '\0';
}

inline bool fakeFd(int fd)
{
    return Registry::fdKind(fd) != FdNone && Registry::active();
}

// A fake node at `path`: its device and kind, under the lock.
inline std::shared_ptr<Device> nodeAt(const char *path, NodeKind *kind)
{
    if (!maybeOurs(path) || path[1] != 'd' || !Registry::active())
        return nullptr;
    std::lock_guard<std::mutex> lock(Registry::instance().mutex);
    return deviceForPath(path, kind);
}

// The path to hand the C library: the fake tree's copy for our part of /sys.
inline const char *routed(const char *path, std::string *storage)
{
    if (maybeOurs(path) && path[1] == 's' && Registry::active() && redirectPath(path, storage))
        return storage->c_str();
    return path;
}

inline int fail(int error)
{
    errno = error;
    return -1;
}

} // namespace fakeuvc::interpose
