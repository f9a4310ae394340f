// The live source on the simulated camera: time from plug-in to the first frame, the frame
// rate that reaches the sink at a few capture sizes, and how long starting and finishing a
// recording keeps the GUI thread busy.
#include "BenchSupport.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSize>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

using BenchSupport::spin;

// Runs the event loop until `done` holds or `boundMs` passes; the time taken in ms.
template<typename Done>
qint64 timeUntil(Done done, int boundMs)
{
    QElapsedTimer t;
    t.start();
    BenchSupport::spinUntil(done, boundMs);
    return t.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!MediaFramework::initialize())
        return 1;
    QTemporaryDir dir;
    const QSize sizes[] = {{640, 480}, {1280, 720}, {1920, 1080}};
    std::printf("%-10s %10s %12s %10s %12s %12s\n", "size", "open ms", "1st frame ms", "frames/s",
                "rec start ms", "rec end ms");
    for (const QSize &size : sizes) {
        auto camera = std::make_shared<SimulatedCamera>();
        BenchSupport::CountingSink sink;
        LiveSource source(std::make_unique<SimulatedBackend>(camera), &sink, size.width(), size.height(),
                          size.width(), size.height());
        const qint64 open = timeUntil([&] { return source.isOpen(); }, 5000);
        const qint64 first = timeUntil([&] { return sink.frames.load() > 0; }, 5000);
        const int before = sink.frames.load();
        spin(3000);
        const double rate = (sink.frames.load() - before) / 3.0;

        QElapsedTimer t;
        t.start();
        source.startRecording(dir.filePath(QStringLiteral("bench-%1.avi").arg(size.width())));
        const qint64 recStart = t.elapsed();
        spin(2000);
        t.restart();
        source.stopRecording();
        const qint64 recEnd = t.elapsed();
        std::printf("%4dx%-5d %10lld %12lld %10.1f %12lld %12lld\n", size.width(), size.height(),
                    static_cast<long long>(open), static_cast<long long>(first), rate,
                    static_cast<long long>(recStart), static_cast<long long>(recEnd));
    }
    MediaFramework::shutdown();
    return 0;
}
