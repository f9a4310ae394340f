#pragma once

#include <QMutex>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#define DOCCAM_TSAN_LOCK 1
#endif

// The canvas lock: a non-recursive QMutex. QtCore is not built with ThreadSanitizer, so in a
// TSan build the lock tells the sanitizer about its acquire and release; otherwise it is the
// bare mutex. Use it through std::lock_guard / std::unique_lock.
//
// Threads: any thread; that is what it is for.
class CanvasLock
{
public:
    CanvasLock() = default;
    CanvasLock(const CanvasLock &) = delete;
    CanvasLock &operator=(const CanvasLock &) = delete;

    void lock()
    {
        m_mutex.lock();
#ifdef DOCCAM_TSAN_LOCK
        __tsan_acquire(&m_mutex);
#endif
    }
    bool try_lock()
    {
        if (!m_mutex.tryLock())
            return false;
#ifdef DOCCAM_TSAN_LOCK
        __tsan_acquire(&m_mutex);
#endif
        return true;
    }
    void unlock()
    {
#ifdef DOCCAM_TSAN_LOCK
        __tsan_release(&m_mutex);
#endif
        m_mutex.unlock();
    }

private:
    QMutex m_mutex; // non-recursive
};
