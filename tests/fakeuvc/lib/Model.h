#pragma once

// The fake camera's state: the cameras a process was started with, the device each one is
// while plugged in, its two video nodes, their buffer queues and the open file handles.
// Everything here is guarded by Registry::mutex; nothing in this header locks by itself.

#include <linux/videodev2.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fakeuvc {

class FramePainter;
struct Camera;
struct Device;
struct Handle;

// One discrete frame size of a format as its frame descriptor states it.
struct FrameDesc
{
    uint8_t index = 0; // bFrameIndex, from 1
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint32_t> intervals; // 100 ns units, ascending as the device lists them
    uint32_t defaultInterval = 0;
    uint32_t maxFrameSize = 0; // dwMaxVideoFrameBufferSize
};

struct FormatDesc
{
    uint8_t index = 0; // bFormatIndex, from 1
    uint32_t fourcc = 0;
    bool compressed = false;
    uint8_t bitsPerPixel = 0; // 0 for compressed formats
    uint8_t defaultFrameIndex = 1;
    std::vector<FrameDesc> frames;
};

// What the environment says about one camera.
struct CameraSpec
{
    uint16_t vid = 0x04fc;
    uint16_t pid = 0x5330;
    uint16_t bcdDevice = 0x0100;
    std::string manufacturer = "Fake UVC";
    std::string product = "USB Document Camera";
    std::string serial = "FAKEUVC0001";
    int firstNode = 0; // /dev/video<firstNode> captures, the next number carries metadata
    int port = 1;      // USB port on bus 1: sysfs 1-<port>, bus_info usb-0000:00:14.0-<port>
    std::vector<uint32_t> mjpegIntervals; // replaces the MJPEG intervals up to 1920x1080
    bool huffmanTables = true;            // false: frames without DHT, as many cameras send
    bool yuyvFirst = false;
    bool startPlugged = true;
    bool builtIn = false; // "fixed" in the USB device's removable file: a laptop's own camera
};

struct BufferMemory
{
    uint8_t *data = nullptr;
    size_t size = 0;
    int fd = -1;              // memfd of an MMAP buffer, or the imported DMABUF's duplicate
    bool ownsMapping = false; // the library's own mapping, undone with the memory
    int appMappings = 0;      // the program's mappings of it
    int exports = 0;          // descriptors VIDIOC_EXPBUF handed out
    ~BufferMemory();
};

enum class BufState { Dequeued, Queued, Active, Done, Error };

struct Buffer
{
    uint32_t index = 0;
    uint32_t offset = 0; // mmap offset, page aligned and growing as videobuf2 lays them out
    uint32_t length = 0; // plane length
    BufState state = BufState::Dequeued;
    std::shared_ptr<BufferMemory> memory;
    unsigned long userptr = 0;
    int dmabufFd = -1; // as the caller gave it, reported back
    uint32_t bytesused = 0;
    uint32_t sequence = 0;
    uint32_t field = V4L2_FIELD_ANY;
    uint32_t userFlags = 0;
    timeval timestamp{};
    bool prepared = false;
};

struct Queue
{
    uint32_t type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    bool dmabufCapable = true;
    uint32_t memory = 0; // 0 until buffers exist
    std::vector<Buffer> buffers;
    std::deque<uint32_t> incoming; // queued to the driver, in order
    std::deque<uint32_t> done;
    uint32_t queuedCount = 0; // queued, active or done: owned by the driver side
    bool streaming = false;
    bool waitingInDqbuf = false;
    uint64_t generation = 0;
    Handle *owner = nullptr; // videobuf2's owner, used on the metadata node
    std::condition_variable changed;
};

enum class NodeKind { Capture, Metadata };

struct Node
{
    NodeKind kind = NodeKind::Capture;
    int number = 0;
    Queue queue;
    std::vector<Handle *> handles;
};

// An open file of a fake node (one open file description; dup()ed numbers share it).
struct Handle
{
    std::shared_ptr<Device> device;
    NodeKind kind = NodeKind::Capture;
    int appFds = 0;    // descriptor numbers the program holds
    int drainFd = -1;  // private duplicate of the program's end, to take the ready byte back
    int hiddenFd = -1; // the library's end of the socket pair
    bool signalled = false;
    bool privileged = false; // uvcvideo's streaming privilege
    uint32_t priority = V4L2_PRIORITY_DEFAULT;
    int openFlags = 0;
    Node &node();
};

enum class CtrlType { Integer, Boolean, Menu };

struct ControlDef
{
    uint32_t id;
    const char *name;
    CtrlType type;
    int32_t minimum;
    int32_t maximum;
    int32_t step;
    int32_t defaultValue;
    bool isSigned;
    bool autoUpdate;
    uint32_t masterId;
    int32_t masterManual;
    bool hasRange; // GET_MIN/MAX/RES answered
};

// One connection of a camera: created when it is plugged in, unregistered when it is
// unplugged, freed when the last handle on it closes.
struct Device : std::enable_shared_from_this<Device>
{
    Camera *camera = nullptr;
    int devnum = 0;
    bool unplugged = false;
    Node capture;
    Node metadata;
    uint32_t metaFormat = V4L2_META_FMT_UVC;

    size_t curFormat = 0; // index into Camera::formats
    size_t curFrame = 0;  // index into the format's frames
    uint32_t frameInterval = 0;
    uint32_t maxVideoFrameSize = 0;

    Handle *privileged = nullptr;
    std::map<uint32_t, int> priorities; // V4L2 priority -> handles holding it

    std::map<uint32_t, int32_t> controls;
    int64_t focusRunStartNs = 0; // autofocus moves the lens from here
    int32_t focusRunFrom = 0;
    std::map<uint32_t, uint32_t> registers;
    uint32_t registerAddress = 0;

    std::thread streamThread;
    uint32_t sequence = 0;
    uint64_t framesDelivered = 0;
    uint64_t framesDropped = 0;
    std::shared_ptr<FramePainter> painter;

    Node &node(NodeKind kind) { return kind == NodeKind::Capture ? capture : metadata; }
    const FormatDesc &format() const;
    const FrameDesc &frame() const;
};

struct Camera
{
    int index = 0;
    CameraSpec cameraSpec;
    std::vector<FormatDesc> formats;
    std::vector<uint8_t> descriptors;
    std::shared_ptr<Device> device;             // null while unplugged
    std::vector<std::weak_ptr<Device>> retired; // unplugged, still held open
    bool eacces = false;
    bool busy = false;
    double deliveredFps = -1; // below 0: as negotiated
    std::map<uint32_t, uint32_t> registerDefaults;
    int lastDevnum = 1;
    uint64_t openAttempts = 0;
    uint64_t plugCount = 0;
    std::string usbPath() const; // /sys/devices/.../1-<port>
};

inline Node &Handle::node()
{
    return device->node(kind);
}

} // namespace fakeuvc
