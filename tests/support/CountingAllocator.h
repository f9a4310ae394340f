#pragma once

// A counting allocator for one test program: include this header in exactly one source file of
// the program (it defines the program's malloc family, which then forward to glibc's). A thread
// counts its own calls while a CountingAllocator::Scope of it lives; other threads and other
// times are not counted. Sanitizer builds bring allocators of their own, so there nothing is
// counted (DOCCAM_COUNTS_ALLOCATIONS is 0) and tests skip what they would check.

#include <cerrno>
#include <cstddef>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define DOCCAM_COUNTS_ALLOCATIONS 0
#else
#define DOCCAM_COUNTS_ALLOCATIONS 1
#endif

namespace CountingAllocator {
namespace {
// Plain thread-locals of the program itself: reading them allocates nothing.
thread_local bool t_counting = false;
thread_local long t_allocations = 0;
} // namespace

// Counts the calling thread's allocations from its construction on.
class Scope
{
public:
    Scope()
    {
        t_allocations = 0;
        t_counting = true;
    }
    ~Scope() { t_counting = false; }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
    long count() const { return t_allocations; }
};

inline void countOne()
{
    if (t_counting)
        ++t_allocations;
}
} // namespace CountingAllocator

#if DOCCAM_COUNTS_ALLOCATIONS
extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void *malloc(size_t size)
{
    CountingAllocator::countOne();
    return __libc_malloc(size);
}
void *calloc(size_t n, size_t size)
{
    CountingAllocator::countOne();
    return __libc_calloc(n, size);
}
void *realloc(void *p, size_t size)
{
    CountingAllocator::countOne();
    return __libc_realloc(p, size);
}
int posix_memalign(void **p, size_t alignment, size_t size)
{
    CountingAllocator::countOne();
    *p = __libc_memalign(alignment, size);
    return *p ? 0 : ENOMEM;
}
void *aligned_alloc(size_t alignment, size_t size)
{
    CountingAllocator::countOne();
    return __libc_memalign(alignment, size);
}
void *memalign(size_t alignment, size_t size)
{
    CountingAllocator::countOne();
    return __libc_memalign(alignment, size);
}
}
#endif
