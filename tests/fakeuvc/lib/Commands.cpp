// Commands that change a running camera ("unplug", "replug", "fps 12", "busy on", ...),
// from FAKEUVC_COMMANDS at start, from the control file while the program runs, or from
// fakeuvc_command() inside the process.
//
// The control file is read line by line as it grows; every process that loaded the library
// with the same FAKEUVC_CONTROL applies every line once. After a line took effect its number
// is written to "<control file>.ack".

#include "Real.h"
#include "Registry.h"

#include <sys/eventfd.h>
#include <sys/inotify.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace fakeuvc {

namespace {

std::thread *g_watcher = nullptr; // never destroyed: the library may be unloaded in any order
int g_wakeFd = -1;

bool parseSwitch(const std::string &word, bool *on)
{
    if (word == "on" || word == "1" || word == "yes") {
        *on = true;
        return true;
    }
    if (word == "off" || word == "0" || word == "no") {
        *on = false;
        return true;
    }
    return false;
}

bool parseNumber(const std::string &word, unsigned long *value)
{
    if (word.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    *value = strtoul(word.c_str(), &end, 0);
    return errno == 0 && *end == '\0';
}

void writeAck(long line)
{
    const std::string &file = Registry::instance().controlFile;
    if (file.empty())
        return;
    const std::string temporary = file + ".ack." + std::to_string(getpid());
    const int fd = real::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const std::string text = std::to_string(line) + "\n";
    real::write(fd, text.data(), text.size());
    real::close(fd);
    ::rename(temporary.c_str(), (file + ".ack").c_str());
}

void watch(std::string path, int wakeFd)
{
    const int notify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (notify >= 0)
        inotify_add_watch(notify, path.c_str(), IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB);
    off_t offset = 0;
    long lineNumber = 0;
    std::string pending;
    for (;;) {
        const int fd = real::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            char buffer[4096];
            for (;;) {
                const ssize_t n = pread(fd, buffer, sizeof buffer, offset);
                if (n <= 0)
                    break;
                offset += n;
                pending.append(buffer, size_t(n));
            }
            real::close(fd);
        }
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            ++lineNumber;
            const int result = applyCommand(line);
            if (result < 0)
                Registry::instance().debugLog("control line %ld \"%s\": %s", lineNumber, line.c_str(),
                                              strerror(-result));
            writeAck(lineNumber);
        }
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {notify, POLLIN, 0}};
        if (poll(fds, notify >= 0 ? 2 : 1, 200) > 0 && (fds[0].revents & POLLIN))
            break;
        if (notify >= 0 && (fds[1].revents & POLLIN)) {
            char events[4096];
            while (real::read(notify, events, sizeof events) > 0) { }
        }
    }
    if (notify >= 0)
        real::close(notify);
}

} // namespace

// One command; 0 or a negated errno (EINVAL for what is not understood).
int applyCommand(const std::string &text)
{
    std::string line = text;
    const size_t hash = line.find('#');
    if (hash != std::string::npos)
        line.erase(hash);
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return char(tolower(c)); });
        words.push_back(word);
    }
    if (words.empty())
        return 0;

    Registry &registry = Registry::instance();
    size_t cameraIndex = 0;
    if (words[0][0] == '@') {
        unsigned long index;
        if (!parseNumber(words[0].substr(1), &index))
            return -EINVAL;
        cameraIndex = index;
        words.erase(words.begin());
        if (words.empty())
            return -EINVAL;
    }

    int result = 0;
    {
        std::unique_lock<std::mutex> lock(registry.mutex);
        if (cameraIndex >= registry.cameras.size())
            return -ENODEV;
        Camera &camera = *registry.cameras[cameraIndex];
        const std::string &verb = words[0];
        const std::string argument = words.size() > 1 ? words[1] : std::string();
        bool on = false;
        unsigned long number = 0;
        if (verb == "unplug" && words.size() == 1) {
            unplugCamera(camera);
        } else if ((verb == "replug" || verb == "plug") && words.size() <= 2) {
            if (argument.empty()) {
                unplugCamera(camera);
                plugCamera(camera, -1);
            } else if (parseNumber(argument, &number) && number < 256) {
                unplugCamera(camera);
                plugCamera(camera, int(number));
            } else {
                result = -EINVAL;
            }
        } else if (verb == "fps" && words.size() == 2) {
            char *end = nullptr;
            const double fps = strtod(argument.c_str(), &end);
            if (argument == "auto" || argument == "off")
                camera.deliveredFps = -1;
            else if (end && *end == '\0' && fps >= 0)
                camera.deliveredFps = fps;
            else
                result = -EINVAL;
            if (camera.device)
                camera.device->capture.queue.changed.notify_all();
        } else if (verb == "busy" && words.size() == 2 && parseSwitch(argument, &on)) {
            camera.busy = on;
        } else if (verb == "eacces" && words.size() == 2 && parseSwitch(argument, &on)) {
            camera.eacces = on;
        } else if (verb == "reg" && words.size() == 3) {
            unsigned long value = 0;
            if (parseNumber(argument, &number) && parseNumber(words[2], &value) && number <= UINT32_MAX
                && value <= UINT32_MAX) {
                camera.registerDefaults[uint32_t(number)] = uint32_t(value);
                if (camera.device)
                    camera.device->registers[uint32_t(number)] = uint32_t(value);
            } else {
                result = -EINVAL;
            }
        } else {
            result = -EINVAL;
        }
        if (result == 0)
            registry.debugLog("command \"%s\" applied to camera %zu", text.c_str(), cameraIndex);
        registry.publishState();
    }
    registry.joinStopped();
    return result;
}

void startControlWatcher()
{
    const std::string &path = Registry::instance().controlFile;
    if (path.empty())
        return;
    const int fd = real::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0)
        real::close(fd);
    g_wakeFd = eventfd(0, EFD_CLOEXEC);
    g_watcher = new std::thread(watch, path, g_wakeFd);
}

void stopControlWatcher()
{
    if (!g_watcher || !g_watcher->joinable())
        return;
    const uint64_t one = 1;
    real::write(g_wakeFd, &one, sizeof one);
    g_watcher->join();
    delete g_watcher;
    g_watcher = nullptr;
    real::close(g_wakeFd);
    g_wakeFd = -1;
}

} // namespace fakeuvc
