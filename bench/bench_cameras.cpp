// Time from the live source's start to its first frame on the fake USB camera, for the vendor's
// own camera and for another maker's camera, each alone on the bus.
#include "BenchSupport.h"
#include "sources/devices/v4l2/V4l2Backend.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

int fakeCommand(const char *line)
{
    using Command = int (*)(const char *);
    static auto function = reinterpret_cast<Command>(dlsym(RTLD_DEFAULT, "fakeuvc_command"));
    return function ? function(line) : -1;
}

} // namespace

int main(int argc, char **argv)
{
    // The fake camera library has to be there from the process's start.
    if (!dlsym(RTLD_DEFAULT, "fakeuvc_command")) {
        if (qEnvironmentVariableIsSet("BENCH_CAMERAS_REEXEC")) {
            std::fprintf(stderr, "the fake camera library did not load\n");
            return 1;
        }
        setenv("LD_PRELOAD", FAKEUVC_LIBRARY, 1);
        setenv("BENCH_CAMERAS_REEXEC", "1", 1);
        setenv("FAKEUVC_CAMERAS",
               "name=USB Document Camera;vid=1778,pid=d021,name=Other Brand Document Camera,plugged=0", 1);
        execv("/proc/self/exe", argv);
        return 1;
    }
    QCoreApplication app(argc, argv);
    if (!MediaFramework::initialize())
        return 1;
    std::printf("%-32s %14s\n", "camera (alone on the bus)", "1st frame ms");
    const struct
    {
        const char *label;
        const char *plug;
        const char *unplug;
    } cameras[] = {{"vendor 04fc:5330", "@0 replug 0", "@0 unplug"},
                   {"other maker 1778:d021", "@1 replug 0", "@1 unplug"}};
    fakeCommand("@0 unplug");
    for (const auto &camera : cameras) {
        fakeCommand(camera.plug);
        BenchSupport::CountingSink sink;
        QElapsedTimer t;
        t.start();
        {
            LiveSource source(std::make_unique<V4l2Backend>(), &sink, 1280, 720, 1280, 720);
            BenchSupport::spinUntil([&] { return sink.frames.load() > 0; }, 15000);
            const qint64 first = sink.frames.load() > 0 ? t.elapsed() : -1;
            std::printf("%-32s %14lld\n", camera.label, static_cast<long long>(first));
        }
        fakeCommand(camera.unplug);
    }
    return 0;
}
