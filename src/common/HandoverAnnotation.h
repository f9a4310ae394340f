#pragma once

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// Tells ThreadSanitizer about a handover it cannot see: QtCore is not built with the
// sanitizer, so its semaphores, wait conditions and QThread::wait() order nothing as far as
// the sanitizer knows. The thread that hands data over calls handoverRelease(key) before
// the Qt primitive that publishes it; the thread that takes it calls handoverAcquire(key)
// after the Qt primitive that waited for it. Both are empty outside a TSan build.
//
// Threads: called on the two threads of a handover, as said above.
inline void handoverRelease([[maybe_unused]] const void *key)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void *>(key));
#endif
}

inline void handoverAcquire([[maybe_unused]] const void *key)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void *>(key));
#endif
}
