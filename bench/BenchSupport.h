#pragma once

// Helpers shared by the whole-program benchmark and the soak run: the process's own CPU time
// and memory, a private settings store, and event-loop waits.

#include "common/ICaptureCB.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QString>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>

namespace BenchSupport {

// User plus system CPU seconds of every thread of this process so far.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6
        + double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
}

// A "Vm..." figure of /proc/self/status in KiB (VmRSS, VmHWM); -1 when it cannot be read.
inline long statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The program keeps its settings and its documents folder under `dir`, so a run neither reads
// nor changes the user's own. Call before the first setting is read.
inline bool usePrivateSettings(const QString &dir)
{
    const QString config = dir + QStringLiteral("/config");
    const QString documents = dir + QStringLiteral("/documents");
    if (!QDir().mkpath(config) || !QDir().mkpath(documents))
        return false;
    QFile userDirs(config + QStringLiteral("/user-dirs.dirs"));
    if (!userDirs.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    userDirs.write("XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n");
    userDirs.close();
    return qputenv("XDG_CONFIG_HOME", config.toUtf8());
}

inline void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds or `boundMs` passes; whether it held.
template<typename Done>
bool spinUntil(Done done, int boundMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= boundMs)
            return false;
        spin(10);
    }
    return true;
}

// A live source's sink that only counts the stream's frames; safe from the streaming thread.
class CountingSink : public ICaptureCB
{
public:
    void imageCaptured(void *, int, int, bool, bool) override { }
    void stillImageCaptured(QImage *) override { }
    void streamImageCaptured(void *, int, int, bool, bool) override { frames.fetch_add(1); }
    std::atomic<int> frames{0};
};

} // namespace BenchSupport
