// Streaming: STREAMON, STREAMOFF and the thread that plays the camera, filling the oldest
// queued buffer at every frame interval and the metadata node's buffers beside it.

#include "FramePainter.h"
#include "Registry.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace fakeuvc {

namespace {

void fillMetadata(Device &device, uint32_t sequence, int64_t frameNs, const timeval &stamp)
{
    Queue &queue = device.metadata.queue;
    if (!queue.streaming || queue.incoming.empty())
        return;
    const uint32_t index = queue.incoming.front();
    queue.incoming.pop_front();
    Buffer &buffer = queue.buffers[index];
    struct __attribute__((packed)) Entry
    {
        uint64_t ns;
        uint16_t sof;
        uint8_t length;
        uint8_t flags;
        uint32_t pts;
        uint32_t stc;
        uint16_t scrSof;
    } entry;
    const uint64_t deviceClock = uint64_t(frameNs) * 48 / 1000; // 48 MHz
    entry.ns = uint64_t(frameNs);
    entry.sof = uint16_t((frameNs / 1000000) & 2047);
    entry.length = 12;
    entry.flags = uint8_t(0x8C | (sequence & 1)); // end of header, SCR, PTS, frame id
    entry.pts = uint32_t(deviceClock);
    entry.stc = uint32_t(deviceClock);
    entry.scrSof = entry.sof;
    if (buffer.memory && buffer.memory->size >= sizeof entry) {
        memcpy(buffer.memory->data, &entry, sizeof entry);
        buffer.bytesused = sizeof entry;
        buffer.state = BufState::Done;
    } else {
        buffer.bytesused = 0;
        buffer.state = BufState::Error;
    }
    buffer.sequence = sequence;
    buffer.timestamp = stamp;
    buffer.field = V4L2_FIELD_NONE;
    queue.done.push_back(index);
    queue.changed.notify_all();
    updateReadiness(device.metadata);
}

// The camera: delivers a frame every interval (or at the lower delivered rate a command
// set), into the oldest queued buffer; frames without a buffer are lost but counted, so
// sequence numbers show the gap as uvcvideo's do.
void runStream(std::shared_ptr<Device> device, uint64_t generation)
{
    Registry &registry = Registry::instance();
    std::unique_lock<std::mutex> lock(registry.mutex);
    Queue &queue = device->capture.queue;
    int64_t next = 0;
    double lastPeriod = 0;
    auto running = [&] { return !device->unplugged && queue.streaming && queue.generation == generation; };
    while (running()) {
        double fps = 1e7 / double(device->frameInterval);
        if (device->camera->deliveredFps >= 0)
            fps = std::min(fps, device->camera->deliveredFps);
        if (fps <= 0) {
            queue.changed.wait_for(lock, std::chrono::milliseconds(50));
            next = 0;
            continue;
        }
        const double period = 1e9 / fps;
        const int64_t now = monotonicNs();
        if (next == 0 || period != lastPeriod) {
            next = now + int64_t(period);
            lastPeriod = period;
        }
        if (now < next) {
            queue.changed.wait_for(lock, std::chrono::nanoseconds(next - now));
            continue;
        }
        const int64_t frameNs = next;
        next += int64_t(period);
        if (next < now)
            next = now + int64_t(period); // a late camera does not catch up in a burst
        const uint32_t sequence = device->sequence++;
        if (queue.incoming.empty()) {
            device->framesDropped++;
            continue;
        }
        const uint32_t index = queue.incoming.front();
        queue.incoming.pop_front();
        queue.buffers[index].state = BufState::Active;
        std::shared_ptr<BufferMemory> memory = queue.buffers[index].memory;
        const FormatDesc &format = device->format();
        const FrameDesc &frame = device->frame();
        std::shared_ptr<FramePainter> painter = device->painter;
        const bool tables = device->camera->cameraSpec.huffmanTables;
        const uint32_t capacity = std::min<uint32_t>(queue.buffers[index].length,
                                                     uint32_t(memory ? memory->size : 0));

        lock.unlock();
        if (!painter || painter->fourcc() != format.fourcc || painter->width() != frame.width
            || painter->height() != frame.height)
            painter = std::make_shared<FramePainter>(format.fourcc, frame.width, frame.height, tables);
        const size_t used = memory ? painter->paint(sequence, memory->data, capacity) : 0;
        lock.lock();

        device->painter = painter;
        if (!running() || index >= queue.buffers.size() || queue.buffers[index].state != BufState::Active)
            continue;
        Buffer &buffer = queue.buffers[index];
        buffer.bytesused = uint32_t(used);
        buffer.sequence = sequence;
        buffer.timestamp.tv_sec = frameNs / 1000000000;
        buffer.timestamp.tv_usec = (frameNs % 1000000000) / 1000;
        buffer.field = V4L2_FIELD_NONE;
        buffer.state = used ? BufState::Done : BufState::Error;
        queue.done.push_back(index);
        device->framesDelivered++;
        fillMetadata(*device, sequence, frameNs, buffer.timestamp);
        if (device->framesDelivered % 15 == 1) // the first frame, then twice a second or so
            registry.publishState();
        queue.changed.notify_all();
        updateReadiness(device->capture);
    }
}

} // namespace

int streamOn(Handle &handle, uint32_t type)
{
    Device &device = *handle.device;
    Node &node = handle.node();
    Queue &queue = node.queue;
    if (!mayUseQueue(handle))
        return -EBUSY;
    if (type != queue.type)
        return -EINVAL;
    if (queue.streaming)
        return 0;
    if (queue.buffers.empty())
        return -EINVAL;
    queue.streaming = true;
    queue.generation++;
    if (node.kind == NodeKind::Capture) {
        device.sequence = 0;
        device.framesDelivered = device.framesDropped = 0;
        if (device.streamThread.joinable())
            Registry::instance().joinLater.push_back(std::move(device.streamThread));
        device.streamThread = std::thread(runStream, device.shared_from_this(), queue.generation);
    }
    Registry::instance().publishState();
    return 0;
}

int streamOff(Handle &handle, uint32_t type)
{
    Node &node = handle.node();
    if (!mayUseQueue(handle))
        return -EBUSY;
    if (type != node.queue.type)
        return -EINVAL;
    stopStreaming(*handle.device, node, false);
    Registry::instance().publishState();
    return 0;
}

void stopStreaming(Device &device, Node &node, bool disconnect)
{
    Queue &queue = node.queue;
    if (disconnect) {
        // The driver hands every buffer it holds back with an error; a DQBUF that waits
        // wakes up with one of them.
        for (uint32_t index : queue.incoming) {
            queue.buffers[index].state = BufState::Error;
            queue.buffers[index].bytesused = 0;
            queue.done.push_back(index);
        }
        queue.incoming.clear();
        for (Buffer &buffer : queue.buffers) {
            if (buffer.state == BufState::Active) {
                buffer.state = BufState::Error;
                queue.done.push_back(buffer.index);
            }
        }
        queue.generation++;
        queue.changed.notify_all();
    } else {
        queue.streaming = false;
        cancelQueue(queue);
        updateReadiness(node);
    }
    if (node.kind == NodeKind::Capture && device.streamThread.joinable())
        Registry::instance().joinLater.push_back(std::move(device.streamThread));
}

} // namespace fakeuvc
