#pragma once

#include "Model.h"

#include <linux/uvcvideo.h>
#include <sys/types.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace fakeuvc {

constexpr int kMaxFd = 65536;
enum FdKind : uint8_t { FdNone = 0, FdNode = 1, FdExport = 2 };

// The process-wide state of the fake cameras. One instance, made on first use and never
// destroyed (the library may still be called while the process exits). All members are
// guarded by `mutex` unless said otherwise.
class Registry
{
public:
    static Registry &instance();
    // True once the environment was read, in the process that read it (not in a fork).
    static bool active();
    static void ensureInitialised();

    std::mutex mutex;
    std::vector<std::unique_ptr<Camera>> cameras;

    // Set once during initialisation, read without the lock afterwards.
    std::string sysfsRoot; // canonical temporary folder holding the fake /sys tree
    std::string controlFile;
    std::string stateFile;
    bool debug = false;
    pid_t ownerPid = 0;

    std::unordered_map<int, std::shared_ptr<Handle>> handles;       // program descriptor -> handle
    std::unordered_map<int, std::shared_ptr<BufferMemory>> exports; // exported buffer descriptors

    struct Mapping
    {
        std::shared_ptr<BufferMemory> memory;
        size_t length;
    };
    std::map<uintptr_t, Mapping> mappings; // the program's mappings of buffers
    std::atomic<int> mappingCount{0};

    // Stream threads stopped under the lock and joined once it is released.
    std::vector<std::thread> joinLater;

    static FdKind fdKind(int fd)
    {
        return fd >= 0 && fd < kMaxFd ? FdKind(s_fdKinds[fd].load(std::memory_order_acquire)) : FdNone;
    }
    void setFdKind(int fd, FdKind kind) { s_fdKinds[fd].store(kind, std::memory_order_release); }

    // Joins the threads stopped meanwhile; call without the lock.
    void joinStopped();
    // Rewrites the state file (FAKEUVC_STATE) after a change anybody may wait for.
    void publishState();
    std::string stateText() const;

    void debugLog(const char *format, ...) const __attribute__((format(printf, 2, 3)));

private:
    static std::atomic<uint8_t> s_fdKinds[kMaxFd];
};

// Device life (Devices.cpp). All with the registry lock held.
std::shared_ptr<Device> plugCamera(Camera &camera, int firstNode);
void unplugCamera(Camera &camera);
// The device and node kind for a /dev/videoN path of a plugged camera, or null.
std::shared_ptr<Device> deviceForPath(const char *path, NodeKind *kind);
bool isNodeNumberInUse(int number);
// Opens a node: a descriptor, or a negated errno.
int openNode(const char *path, int flags);
// Forgets a program descriptor; releases the handle when it was the last one.
void releaseDescriptor(int fd);
int duplicateDescriptor(int oldFd, int newFd);
// The ready byte follows the queue's done list.
void updateReadiness(Node &node);
void releaseHandle(Handle &handle);
void fillCharDeviceStat(const Device &device, NodeKind kind, struct stat *st);

// The V4L2 interface (Ioctl.cpp, Controls.cpp, Streaming.cpp). Lock held; may wait on it.
int nodeIoctl(Handle &handle, unsigned long request, void *arg, std::unique_lock<std::mutex> &lock);
int controlIoctl(Handle &handle, unsigned long request, void *arg);
int extensionUnitQuery(Device &device, uvc_xu_control_query *query);
void resetControls(Device &device);
int bufferIoctl(Handle &handle, unsigned long request, void *arg, std::unique_lock<std::mutex> &lock);
void *mapBuffer(Handle &handle, void *addr, size_t length, int prot, int flags, off_t offset, int *error);
void unmapNotify(void *addr);
void stopStreaming(Device &device, Node &node, bool disconnect);
int streamOn(Handle &handle, uint32_t type);
int streamOff(Handle &handle, uint32_t type);
// uvcvideo's privilege on the capture node, videobuf2's owner on the metadata node.
bool mayUseQueue(Handle &handle);
// Every buffer back to the program's side, the done list empty.
void cancelQueue(Queue &queue);
void freeBuffers(Node &node);

// Commands (Commands.cpp).
int applyCommand(const std::string &line);
void startControlWatcher();
void stopControlWatcher();

// sysfs (Sysfs.cpp).
void writeSysfsDevice(const Camera &camera, const Device &device);
void removeSysfsDevice(const Camera &camera, const Device &device);
void createSysfsRoot();
void removeSysfsRoot();
// A path the program asks for, rewritten into the fake tree; false when it is not ours.
bool redirectPath(const char *path, std::string *redirected);
// A resolved path inside the fake tree, written back as the program expects to see it.
void unredirectPath(char *resolved);

// Formats and descriptors (Descriptors.cpp).
std::vector<FormatDesc> buildFormats(const CameraSpec &cameraSpec);
std::vector<uint8_t> buildDescriptors(const CameraSpec &cameraSpec, const std::vector<FormatDesc> &formats);
extern const uint8_t kVendorExtensionGuid[16];
constexpr uint8_t kVendorUnitId = 4;
constexpr uint8_t kOtherUnitId = 3;

int64_t monotonicNs();

} // namespace fakeuvc
