// Plugging and unplugging cameras, and the open files on their nodes.
//
// A node's descriptor is one end of a UNIX socket pair: the program polls it, the library
// keeps the other end. While the node's queue holds a filled buffer one byte waits in the
// program's end (POLLIN). At an unplug the library sends a byte towards its own end and
// closes it, so the program's end reports POLLERR | POLLHUP for good, as a disconnected
// video node does.

#include "Real.h"
#include "Registry.h"

#include <sys/socket.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace fakeuvc {

namespace {

constexpr gid_t kVideoGroup = 44; // Debian's "video" group

int lowestFreeNumber(int from, int except)
{
    for (int n = std::max(0, from);; ++n) {
        if (n != except && !isNodeNumberInUse(n))
            return n;
    }
}

void hangUp(Handle &handle)
{
    if (handle.hiddenFd < 0)
        return;
    // Unread data in the closing end makes the kernel flag an error on the other one.
    if (handle.drainFd >= 0)
        ::send(handle.drainFd, "x", 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    real::close(handle.hiddenFd);
    handle.hiddenFd = -1;
    handle.signalled = false;
}

} // namespace

const FormatDesc &Device::format() const
{
    return camera->formats[curFormat];
}
const FrameDesc &Device::frame() const
{
    return format().frames[curFrame];
}

bool isNodeNumberInUse(int number)
{
    for (const auto &camera : Registry::instance().cameras) {
        std::vector<std::shared_ptr<Device>> devices;
        if (camera->device)
            devices.push_back(camera->device);
        for (const auto &weak : camera->retired) {
            if (auto device = weak.lock())
                devices.push_back(device);
        }
        for (const auto &device : devices) {
            if (device->capture.number == number || device->metadata.number == number)
                return true;
        }
    }
    return false;
}

std::shared_ptr<Device> plugCamera(Camera &camera, int firstNode)
{
    if (camera.device)
        return camera.device;
    camera.retired.erase(std::remove_if(camera.retired.begin(), camera.retired.end(),
                                        [](const std::weak_ptr<Device> &d) { return d.expired(); }),
                         camera.retired.end());
    auto device = std::make_shared<Device>();
    device->camera = &camera;
    device->devnum = ++camera.lastDevnum;
    // videodev hands out the lowest free number to each node as it registers.
    const int captureNumber = firstNode >= 0 && !isNodeNumberInUse(firstNode) ? firstNode
                                                                              : lowestFreeNumber(0, -1);
    device->capture.kind = NodeKind::Capture;
    device->capture.number = captureNumber;
    device->capture.queue.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    device->capture.queue.dmabufCapable = true;
    device->metadata.kind = NodeKind::Metadata;
    device->metadata.number = lowestFreeNumber(firstNode >= 0 ? captureNumber + 1 : 0, captureNumber);
    device->metadata.queue.type = V4L2_BUF_TYPE_META_CAPTURE;
    device->metadata.queue.dmabufCapable = false;

    device->curFormat = 0;
    device->curFrame = size_t(std::max(0, camera.formats[0].defaultFrameIndex - 1));
    device->frameInterval = device->frame().defaultInterval;
    device->maxVideoFrameSize = device->frame().maxFrameSize;
    device->registers = camera.registerDefaults;
    resetControls(*device);

    camera.device = device;
    camera.plugCount++;
    writeSysfsDevice(camera, *device);
    Registry::instance().debugLog("camera %d plugged in: video%d, video%d", camera.index,
                                  device->capture.number, device->metadata.number);
    return device;
}

void unplugCamera(Camera &camera)
{
    std::shared_ptr<Device> device = camera.device;
    if (!device)
        return;
    device->unplugged = true;
    removeSysfsDevice(camera, *device);
    for (Node *node : {&device->capture, &device->metadata}) {
        stopStreaming(*device, *node, true);
        for (Handle *handle : node->handles)
            hangUp(*handle);
        node->queue.changed.notify_all();
    }
    camera.retired.push_back(device);
    camera.device.reset();
    Registry::instance().debugLog("camera %d unplugged", camera.index);
}

std::shared_ptr<Device> deviceForPath(const char *path, NodeKind *kind)
{
    if (!path || strncmp(path, "/dev/video", 10) != 0)
        return nullptr;
    const char *digits = path + 10;
    if (*digits < '0' || *digits > '9')
        return nullptr;
    char *end = nullptr;
    const long number = strtol(digits, &end, 10);
    if (*end != '\0')
        return nullptr;
    for (const auto &camera : Registry::instance().cameras) {
        const auto &device = camera->device;
        if (!device)
            continue;
        if (device->capture.number == number) {
            *kind = NodeKind::Capture;
            return device;
        }
        if (device->metadata.number == number) {
            *kind = NodeKind::Metadata;
            return device;
        }
    }
    return nullptr;
}

int openNode(const char *path, int flags)
{
    Registry &registry = Registry::instance();
    NodeKind kind;
    std::shared_ptr<Device> device = deviceForPath(path, &kind);
    if (!device)
        return -ENOSYS;
    Camera &camera = *device->camera;
    camera.openAttempts++;
    if (camera.eacces) {
        registry.publishState();
        return -EACCES;
    }
    if (flags & O_DIRECTORY)
        return -ENOTDIR;

    int pair[2];
    const int cloexec = (flags & O_CLOEXEC) ? SOCK_CLOEXEC : 0;
    const int nonblock = (flags & O_NONBLOCK) ? SOCK_NONBLOCK : 0;
    if (::socketpair(AF_UNIX, SOCK_STREAM | cloexec | nonblock, 0, pair) != 0)
        return -errno;
    if (pair[0] >= kMaxFd) {
        real::close(pair[0]);
        real::close(pair[1]);
        return -EMFILE;
    }
    real::fcntl(pair[1], F_SETFD, FD_CLOEXEC);
    const int drain = real::fcntl(pair[0], F_DUPFD_CLOEXEC, 3);

    auto handle = std::make_shared<Handle>();
    handle->device = device;
    handle->kind = kind;
    handle->appFds = 1;
    handle->hiddenFd = pair[1];
    handle->drainFd = drain;
    handle->openFlags = flags;
    Node &node = device->node(kind);
    node.handles.push_back(handle.get());
    device->priorities[handle->priority]++;
    registry.handles[pair[0]] = handle;
    registry.setFdKind(pair[0], FdNode);
    updateReadiness(node);
    registry.debugLog("open %s -> fd %d", path, pair[0]);
    registry.publishState();
    return pair[0];
}

void releaseHandle(Handle &handle)
{
    Device &device = *handle.device;
    Node &node = handle.node();
    if (handle.kind == NodeKind::Capture) {
        // uvcvideo frees the queue only when the privileged handle goes.
        if (handle.privileged) {
            stopStreaming(device, node, false);
            freeBuffers(node);
            device.privileged = nullptr;
            handle.privileged = false;
        }
    } else if (node.queue.owner == &handle) {
        stopStreaming(device, node, false);
        freeBuffers(node);
        node.queue.owner = nullptr;
    }
    if (--device.priorities[handle.priority] <= 0)
        device.priorities.erase(handle.priority);
    node.handles.erase(std::remove(node.handles.begin(), node.handles.end(), &handle), node.handles.end());
    if (handle.hiddenFd >= 0)
        real::close(handle.hiddenFd);
    if (handle.drainFd >= 0)
        real::close(handle.drainFd);
    handle.hiddenFd = handle.drainFd = -1;
}

void releaseDescriptor(int fd)
{
    Registry &registry = Registry::instance();
    registry.setFdKind(fd, FdNone);
    auto exported = registry.exports.find(fd);
    if (exported != registry.exports.end()) {
        exported->second->exports--;
        registry.exports.erase(exported);
        return;
    }
    auto it = registry.handles.find(fd);
    if (it == registry.handles.end())
        return;
    std::shared_ptr<Handle> handle = it->second;
    registry.handles.erase(it);
    if (--handle->appFds == 0) {
        releaseHandle(*handle);
        registry.debugLog("close fd %d (last)", fd);
        registry.publishState();
    } else {
        registry.debugLog("close fd %d (%d left)", fd, handle->appFds);
    }
}

int duplicateDescriptor(int oldFd, int newFd)
{
    Registry &registry = Registry::instance();
    if (newFd < 0 || newFd >= kMaxFd)
        return -EMFILE;
    auto exported = registry.exports.find(oldFd);
    if (exported != registry.exports.end()) {
        exported->second->exports++;
        registry.exports[newFd] = exported->second;
        registry.setFdKind(newFd, FdExport);
        return newFd;
    }
    auto it = registry.handles.find(oldFd);
    if (it == registry.handles.end())
        return newFd;
    it->second->appFds++;
    registry.handles[newFd] = it->second;
    registry.debugLog("duplicate fd %d -> %d", oldFd, newFd);
    registry.setFdKind(newFd, FdNode);
    return newFd;
}

void updateReadiness(Node &node)
{
    const bool ready = node.queue.streaming && !node.queue.done.empty();
    for (Handle *handle : node.handles) {
        if (handle->hiddenFd < 0 || handle->signalled == ready)
            continue;
        if (ready) {
            real::write(handle->hiddenFd, "r", 1);
        } else {
            char byte;
            ::recv(handle->drainFd, &byte, 1, MSG_DONTWAIT);
        }
        handle->signalled = ready;
    }
}

void fillCharDeviceStat(const Device &device, NodeKind kind, struct stat *st)
{
    const int number = kind == NodeKind::Capture ? device.capture.number : device.metadata.number;
    memset(st, 0, sizeof *st);
    st->st_dev = makedev(0, 5);
    st->st_ino = ino_t(1000 + number);
    st->st_mode = S_IFCHR | 0660;
    st->st_nlink = 1;
    st->st_uid = 0;
    st->st_gid = kVideoGroup;
    st->st_rdev = makedev(81, unsigned(number));
    st->st_blksize = 4096;
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    st->st_atim = st->st_mtim = st->st_ctim = now;
}

int64_t monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

} // namespace fakeuvc
