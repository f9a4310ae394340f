#pragma once

// The C library's own functions behind the ones this library replaces, found with
// dlsym(RTLD_NEXT). The library's own file work goes through these so that it never runs
// into itself.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdio>

namespace fakeuvc::real {

int open(const char *path, int flags, mode_t mode = 0);
int close(int fd);
ssize_t read(int fd, void *buf, size_t count);
ssize_t write(int fd, const void *buf, size_t count);
void *mmap(void *addr, size_t length, int prot, int flags, int fd, off_t offset);
int munmap(void *addr, size_t length);
int fcntl(int fd, int cmd, long arg);
int stat(const char *path, struct stat *st);
int lstat(const char *path, struct stat *st);
char *realpath(const char *path, char *resolved);

} // namespace fakeuvc::real
