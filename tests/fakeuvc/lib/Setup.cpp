// Start and end of the fake cameras in a process: reading the environment, the state file
// and the debug log.
//
//   FAKEUVC_CAMERAS   cameras, ';' between cameras, ',' between key=value settings:
//                     vid, pid (hex), name, manufacturer, serial, node (first node number),
//                     port (USB port 1..), intervals (100 ns units, '/' between them, for the
//                     MJPEG sizes up to 1920x1080), huffman (0: frames without DHT),
//                     first (yuyv: YUYV listed before MJPEG), plugged (0: starts unplugged).
//                     Default: one camera vid=04fc,pid=5330,name=USB Document Camera,node=0.
//   FAKEUVC_COMMANDS  commands applied at start, ';' between them (see Commands.cpp)
//   FAKEUVC_CONTROL   a file whose appended lines are commands
//   FAKEUVC_STATE     a file the library rewrites with the cameras' state after each change
//   FAKEUVC_TMPDIR    where the fake /sys folder goes (default $TMPDIR, then /tmp)
//   FAKEUVC_DEBUG=1   a line on stderr for every open, command and plug event

#include "Real.h"
#include "Registry.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sstream>
#include <unistd.h>

namespace fakeuvc {

std::atomic<uint8_t> Registry::s_fdKinds[kMaxFd];

namespace {

std::once_flag g_initOnce;
std::atomic<bool> g_active{false};

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

std::string trimmed(const std::string &s)
{
    const size_t a = s.find_first_not_of(" \t\n");
    if (a == std::string::npos)
        return {};
    const size_t b = s.find_last_not_of(" \t\n");
    return s.substr(a, b - a + 1);
}

CameraSpec parseCamera(const std::string &text, int index)
{
    CameraSpec cameraSpec;
    cameraSpec.port = index + 1;
    cameraSpec.firstNode = index == 0 ? 0 : -1;
    if (index > 0)
        cameraSpec.serial = "FAKEUVC000" + std::to_string(index + 1);
    for (const std::string &item : split(text, ',')) {
        const size_t eq = item.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = trimmed(item.substr(0, eq));
        const std::string value = trimmed(item.substr(eq + 1));
        const long number = strtol(value.c_str(), nullptr, 0);
        if (key == "vid")
            cameraSpec.vid = uint16_t(strtoul(value.c_str(), nullptr, 16));
        else if (key == "pid")
            cameraSpec.pid = uint16_t(strtoul(value.c_str(), nullptr, 16));
        else if (key == "name")
            cameraSpec.product = value;
        else if (key == "manufacturer")
            cameraSpec.manufacturer = value;
        else if (key == "serial")
            cameraSpec.serial = value;
        else if (key == "node")
            cameraSpec.firstNode = int(number);
        else if (key == "port")
            cameraSpec.port = int(number);
        else if (key == "huffman" || key == "dht")
            cameraSpec.huffmanTables = number != 0;
        else if (key == "first")
            cameraSpec.yuyvFirst = value == "yuyv";
        else if (key == "builtin")
            cameraSpec.builtIn = number != 0;
        else if (key == "plugged")
            cameraSpec.startPlugged = number != 0;
        else if (key == "intervals") {
            for (const std::string &interval : split(value, '/')) {
                const unsigned long v = strtoul(interval.c_str(), nullptr, 0);
                if (v > 0 && v < 100000000)
                    cameraSpec.mjpegIntervals.push_back(uint32_t(v));
            }
        }
    }
    return cameraSpec;
}

void prepareFork()
{
    Registry::instance().mutex.lock();
}
void afterFork()
{
    Registry::instance().mutex.unlock();
}

void initialise()
{
    Registry &registry = Registry::instance();
    registry.ownerPid = getpid();
    const char *debug = getenv("FAKEUVC_DEBUG");
    registry.debug = debug && *debug && strcmp(debug, "0") != 0;
    if (const char *control = getenv("FAKEUVC_CONTROL"))
        registry.controlFile = control;
    if (const char *state = getenv("FAKEUVC_STATE"))
        registry.stateFile = state;
    createSysfsRoot();

    const char *cameras = getenv("FAKEUVC_CAMERAS");
    std::vector<std::string> specs = split(cameras && *cameras ? cameras : "", ';');
    if (specs.empty())
        specs.push_back("");
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        for (size_t i = 0; i < specs.size(); ++i) {
            auto camera = std::make_unique<Camera>();
            camera->index = int(i);
            camera->cameraSpec = parseCamera(specs[i], int(i));
            camera->formats = buildFormats(camera->cameraSpec);
            camera->descriptors = buildDescriptors(camera->cameraSpec, camera->formats);
            camera->registerDefaults = {{0x70000024, 100}, {0x7000001C, 1000}, {0x7000001E, 1000}};
            registry.cameras.push_back(std::move(camera));
        }
        for (auto &camera : registry.cameras) {
            if (camera->cameraSpec.startPlugged)
                plugCamera(*camera, camera->cameraSpec.firstNode);
        }
    }
    pthread_atfork(prepareFork, afterFork, afterFork);
    g_active.store(true);
    if (const char *commands = getenv("FAKEUVC_COMMANDS")) {
        for (const std::string &command : split(commands, ';')) {
            if (applyCommand(command) < 0)
                registry.debugLog("FAKEUVC_COMMANDS: \"%s\" not understood", command.c_str());
        }
    }
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        registry.publishState();
    }
    startControlWatcher();
}

__attribute__((constructor)) void onLoad()
{
    Registry::ensureInitialised();
}

__attribute__((destructor)) void onUnload()
{
    if (!Registry::active())
        return;
    Registry &registry = Registry::instance();
    stopControlWatcher();
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        for (auto &camera : registry.cameras) {
            if (camera->device)
                stopStreaming(*camera->device, camera->device->capture, false);
        }
    }
    registry.joinStopped();
    g_active.store(false);
    removeSysfsRoot();
}

} // namespace

Registry &Registry::instance()
{
    static Registry *registry = new Registry; // outlives every static destructor
    return *registry;
}

void Registry::ensureInitialised()
{
    std::call_once(g_initOnce, initialise);
}

bool Registry::active()
{
    if (!g_active.load(std::memory_order_acquire))
        return false;
    return getpid() == instance().ownerPid;
}

void Registry::joinStopped()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(mutex);
        threads.swap(joinLater);
    }
    for (std::thread &thread : threads) {
        if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
            thread.join();
        else if (thread.joinable())
            thread.detach();
    }
}

std::string Registry::stateText() const
{
    std::ostringstream out;
    out << "sysfs " << sysfsRoot << "\n";
    for (const auto &camera : cameras) {
        char ids[32];
        snprintf(ids, sizeof ids, "vid=%04x pid=%04x", camera->cameraSpec.vid, camera->cameraSpec.pid);
        out << "camera " << camera->index << " " << ids << " plugged=" << (camera->device ? 1 : 0);
        if (camera->device) {
            const Device &d = *camera->device;
            int handles = int(d.capture.handles.size() + d.metadata.handles.size());
            const uint32_t fourcc = d.format().fourcc;
            out << " capture=/dev/video" << d.capture.number << " meta=/dev/video" << d.metadata.number
                << " devnum=" << d.devnum << " handles=" << handles
                << " streaming=" << (d.capture.queue.streaming ? 1 : 0) << " format=" << char(fourcc & 0xFF)
                << char((fourcc >> 8) & 0xFF) << char((fourcc >> 16) & 0xFF) << char(fourcc >> 24)
                << " size=" << d.frame().width << "x" << d.frame().height << " interval=" << d.frameInterval
                << " delivered=" << d.framesDelivered << " dropped=" << d.framesDropped
                << " waiting=" << (d.capture.queue.waitingInDqbuf ? 1 : 0);
        }
        out << " usb=" << camera->usbPath() << " opens=" << camera->openAttempts
            << " plugs=" << camera->plugCount << " busy=" << (camera->busy ? 1 : 0)
            << " eacces=" << (camera->eacces ? 1 : 0) << " fps=";
        if (camera->deliveredFps < 0)
            out << "auto";
        else
            out << camera->deliveredFps;
        out << "\n";
    }
    return out.str();
}

void Registry::publishState()
{
    if (stateFile.empty())
        return;
    const std::string text = stateText();
    const std::string temporary = stateFile + ".tmp." + std::to_string(getpid());
    const int fd = real::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    real::write(fd, text.data(), text.size());
    real::close(fd);
    ::rename(temporary.c_str(), stateFile.c_str());
}

void Registry::debugLog(const char *format, ...) const
{
    if (!debug)
        return;
    char line[1024];
    int n = snprintf(line, sizeof line, "fakeuvc[%d]: ", int(getpid()));
    va_list ap;
    va_start(ap, format);
    n += vsnprintf(line + n, sizeof line - size_t(n) - 1, format, ap);
    va_end(ap);
    n = std::min(n, int(sizeof line) - 2);
    line[n++] = '\n';
    real::write(2, line, size_t(n));
}

} // namespace fakeuvc

extern "C" {

// Applies one command inside the process (the tests' way in); 0 or a negated errno.
__attribute__((visibility("default"))) int fakeuvc_command(const char *line)
{
    fakeuvc::Registry::ensureInitialised();
    return line ? fakeuvc::applyCommand(line) : -EINVAL;
}

// The state text (as in FAKEUVC_STATE) into `buffer`; returns its full length.
__attribute__((visibility("default"))) size_t fakeuvc_state(char *buffer, size_t size)
{
    fakeuvc::Registry &registry = fakeuvc::Registry::instance();
    std::string text;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        text = registry.stateText();
    }
    if (buffer && size > 0) {
        const size_t n = std::min(size - 1, text.size());
        memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return text.size();
}

} // extern "C"
