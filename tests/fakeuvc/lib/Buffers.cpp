// Buffers as videobuf2 and uvcvideo handle them: REQBUFS, CREATE_BUFS, QUERYBUF, QBUF,
// DQBUF, PREPARE_BUF, EXPBUF and mmap. Streaming itself is in Stream.cpp.
//
// On the capture node the streaming ioctls need uvcvideo's privilege (the first handle to
// ask for it gets it; others get EBUSY until it is released); on the metadata node
// videobuf2's owner rule does the same.

#include "Real.h"
#include "Registry.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fakeuvc {

namespace {

constexpr uint32_t kMetaBufferSize = 10240; // UVC_METADATA_BUF_SIZE
constexpr uint32_t kMaxBuffers = 32;        // VB2_MAX_FRAME
constexpr uint32_t kTimestampFlags = V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC | V4L2_BUF_FLAG_TSTAMP_SRC_SOE;
constexpr uint32_t kStateFlags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_QUEUED | V4L2_BUF_FLAG_DONE
    | V4L2_BUF_FLAG_ERROR | V4L2_BUF_FLAG_KEYFRAME | V4L2_BUF_FLAG_PFRAME | V4L2_BUF_FLAG_BFRAME
    | V4L2_BUF_FLAG_PREPARED | V4L2_BUF_FLAG_IN_REQUEST | V4L2_BUF_FLAG_REQUEST_FD
    | V4L2_BUF_FLAG_TIMESTAMP_MASK;

size_t pageAlign(size_t n)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return (n + page - 1) / page * page;
}

uint32_t planeSize(const Device &device, const Node &node)
{
    return node.kind == NodeKind::Capture ? device.maxVideoFrameSize : kMetaBufferSize;
}

int acquirePrivileges(Handle &handle)
{
    Device &device = *handle.device;
    if (handle.privileged)
        return 0;
    if (device.privileged || device.camera->busy)
        return -EBUSY;
    device.privileged = &handle;
    handle.privileged = true;
    return 0;
}

void dismissPrivileges(Handle &handle)
{
    if (handle.privileged) {
        handle.device->privileged = nullptr;
        handle.privileged = false;
    }
}

int verifyMemory(const Queue &queue, uint32_t memory, uint32_t type)
{
    if (memory != V4L2_MEMORY_MMAP && memory != V4L2_MEMORY_USERPTR
        && !(memory == V4L2_MEMORY_DMABUF && queue.dmabufCapable))
        return -EINVAL;
    return type == queue.type ? 0 : -EINVAL;
}

uint32_t bufferCapabilities(const Queue &queue)
{
    uint32_t caps = V4L2_BUF_CAP_SUPPORTS_ORPHANED_BUFS | V4L2_BUF_CAP_SUPPORTS_MMAP
        | V4L2_BUF_CAP_SUPPORTS_USERPTR;
    if (queue.dmabufCapable)
        caps |= V4L2_BUF_CAP_SUPPORTS_DMABUF;
    return caps;
}

std::shared_ptr<BufferMemory> allocateMemory(size_t size)
{
    const int fd = memfd_create("fakeuvc-buffer", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    auto memory = std::make_shared<BufferMemory>();
    memory->fd = fd;
    memory->size = pageAlign(size);
    if (ftruncate(fd, off_t(memory->size)) != 0)
        return nullptr;
    void *data = real::mmap(nullptr, memory->size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED)
        return nullptr;
    memory->data = static_cast<uint8_t *>(data);
    memory->ownsMapping = true;
    return memory;
}

// Appends `count` buffers of `size` bytes; returns how many could be made.
uint32_t allocateBuffers(Queue &queue, uint32_t memory, uint32_t count, uint32_t size)
{
    uint32_t made = 0;
    for (; made < count; ++made) {
        Buffer buffer;
        buffer.index = uint32_t(queue.buffers.size());
        buffer.length = size;
        if (!queue.buffers.empty()) {
            const Buffer &previous = queue.buffers.back();
            buffer.offset = uint32_t(pageAlign(size_t(previous.offset) + previous.length));
        }
        if (memory == V4L2_MEMORY_MMAP) {
            buffer.memory = allocateMemory(size);
            if (!buffer.memory)
                break;
        }
        queue.buffers.push_back(std::move(buffer));
    }
    queue.memory = memory;
    return made;
}

void fillBuffer(const Queue &queue, const Buffer &buffer, v4l2_buffer *b)
{
    b->index = buffer.index;
    b->type = queue.type;
    b->memory = queue.memory;
    b->flags = buffer.userFlags;
    b->field = buffer.field;
    b->timestamp = buffer.timestamp;
    memset(&b->timecode, 0, sizeof b->timecode);
    b->sequence = buffer.sequence;
    b->reserved2 = 0;
    b->request_fd = 0;
    b->length = buffer.length;
    b->bytesused = buffer.bytesused;
    if (queue.memory == V4L2_MEMORY_MMAP)
        b->m.offset = buffer.offset;
    else if (queue.memory == V4L2_MEMORY_USERPTR)
        b->m.userptr = buffer.userptr;
    else
        b->m.fd = buffer.dmabufFd;
    b->flags &= ~kStateFlags;
    b->flags |= kTimestampFlags;
    switch (buffer.state) {
    case BufState::Queued:
    case BufState::Active:
        b->flags |= V4L2_BUF_FLAG_QUEUED;
        break;
    case BufState::Error:
        b->flags |= V4L2_BUF_FLAG_ERROR | V4L2_BUF_FLAG_DONE;
        break;
    case BufState::Done:
        b->flags |= V4L2_BUF_FLAG_DONE;
        break;
    case BufState::Dequeued:
        if (buffer.prepared)
            b->flags |= V4L2_BUF_FLAG_PREPARED;
        break;
    }
    if (queue.memory == V4L2_MEMORY_MMAP && buffer.memory
        && (buffer.memory->appMappings > 0 || buffer.memory->exports > 0))
        b->flags |= V4L2_BUF_FLAG_MAPPED;
}

// videobuf2's vb2_core_reqbufs.
int coreReqbufs(Device &device, Node &node, uint32_t memory, uint32_t *count)
{
    Queue &queue = node.queue;
    if (queue.streaming)
        return -EBUSY;
    if (queue.waitingInDqbuf && *count)
        return -EBUSY;
    if (*count == 0 || !queue.buffers.empty() || (queue.memory && queue.memory != memory)) {
        cancelQueue(queue);
        freeBuffers(node);
        if (*count == 0)
            return 0;
    }
    const uint32_t wanted = std::min(*count, kMaxBuffers);
    const uint32_t made = allocateBuffers(queue, memory, wanted, planeSize(device, node));
    if (made == 0) {
        freeBuffers(node);
        return -ENOMEM;
    }
    *count = made;
    return 0;
}

int reqbufs(Handle &handle, v4l2_requestbuffers *rb)
{
    Node &node = handle.node();
    Queue &queue = node.queue;
    if (rb->type != queue.type)
        return -EINVAL;
    memset(rb->reserved, 0, sizeof rb->reserved);
    if (handle.kind == NodeKind::Capture) {
        const int privileges = acquirePrivileges(handle);
        if (privileges < 0)
            return privileges;
    }
    const int verified = verifyMemory(queue, rb->memory, rb->type);
    rb->capabilities = bufferCapabilities(queue);
    rb->flags = 0;
    if (verified < 0)
        return verified;
    if (handle.kind == NodeKind::Metadata && !mayUseQueue(handle))
        return -EBUSY;
    const int result = coreReqbufs(*handle.device, node, rb->memory, &rb->count);
    if (result < 0)
        return result;
    if (handle.kind == NodeKind::Capture) {
        if (rb->count == 0)
            dismissPrivileges(handle);
    } else {
        queue.owner = rb->count ? &handle : nullptr;
    }
    return 0;
}

int createBufs(Handle &handle, v4l2_create_buffers *cb)
{
    Node &node = handle.node();
    Queue &queue = node.queue;
    if (cb->format.type != queue.type)
        return -EINVAL;
    memset(cb->reserved, 0, sizeof cb->reserved);
    if (handle.kind == NodeKind::Capture) {
        const int privileges = acquirePrivileges(handle);
        if (privileges < 0)
            return privileges;
    }
    const int verified = verifyMemory(queue, cb->memory, cb->format.type);
    cb->capabilities = bufferCapabilities(queue);
    cb->flags = 0;
    cb->index = uint32_t(queue.buffers.size());
    if (cb->count == 0)
        return verified;
    if (verified < 0)
        return verified;
    if (handle.kind == NodeKind::Metadata && !mayUseQueue(handle))
        return -EBUSY;
    const uint32_t requested = handle.kind == NodeKind::Capture ? cb->format.fmt.pix.sizeimage
                                                                : cb->format.fmt.meta.buffersize;
    if (requested == 0)
        return -EINVAL;
    if (queue.buffers.size() >= kMaxBuffers)
        return -ENOBUFS;
    if (!queue.buffers.empty() && queue.memory != cb->memory)
        return -EINVAL;
    if (requested < planeSize(*handle.device, node))
        return -EINVAL;
    const uint32_t wanted = std::min<uint32_t>(cb->count, kMaxBuffers - uint32_t(queue.buffers.size()));
    const uint32_t made = allocateBuffers(queue, cb->memory, wanted, requested);
    if (made == 0)
        return -ENOMEM;
    cb->count = made;
    if (handle.kind == NodeKind::Metadata)
        queue.owner = &handle;
    return 0;
}

int checkBuffer(const Queue &queue, const v4l2_buffer *b)
{
    if (b->type != queue.type || b->index >= queue.buffers.size())
        return -EINVAL;
    return 0;
}

int prepare(Buffer &buffer, const Queue &queue, v4l2_buffer *b)
{
    if (queue.memory == V4L2_MEMORY_USERPTR) {
        if (b->length < buffer.length)
            return -EINVAL;
        // The driver pins the pages; memory that is not mapped cannot be.
        const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
        const uintptr_t start = b->m.userptr & ~(page - 1);
        if (b->m.userptr == 0
            || msync(reinterpret_cast<void *>(start), b->m.userptr + b->length - start, MS_ASYNC) != 0)
            return -EFAULT;
        auto memory = std::make_shared<BufferMemory>();
        memory->data = reinterpret_cast<uint8_t *>(b->m.userptr);
        memory->size = b->length;
        buffer.memory = memory;
        buffer.userptr = b->m.userptr;
    } else if (queue.memory == V4L2_MEMORY_DMABUF) {
        struct stat st;
        if (b->m.fd < 0 || fstat(b->m.fd, &st) != 0 || st.st_size <= 0)
            return -EINVAL;
        const size_t size = b->length ? b->length : size_t(st.st_size);
        if (size < buffer.length || size > size_t(st.st_size))
            return -EINVAL;
        void *data = real::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, b->m.fd, 0);
        if (data == MAP_FAILED)
            return -EINVAL;
        auto memory = std::make_shared<BufferMemory>();
        memory->data = static_cast<uint8_t *>(data);
        memory->size = size;
        memory->ownsMapping = true;
        buffer.memory = memory;
        buffer.dmabufFd = b->m.fd;
    }
    // Cache hints are honoured only by queues that allow them; uvcvideo's do not.
    buffer.userFlags = b->flags & ~kStateFlags & ~V4L2_BUF_FLAG_TSTAMP_SRC_MASK
        & ~(V4L2_BUF_FLAG_NO_CACHE_INVALIDATE | V4L2_BUF_FLAG_NO_CACHE_CLEAN);
    buffer.prepared = true;
    return 0;
}

int qbuf(Handle &handle, v4l2_buffer *b)
{
    Queue &queue = handle.node().queue;
    if (!mayUseQueue(handle))
        return -EBUSY;
    int result = checkBuffer(queue, b);
    if (result < 0)
        return result;
    if (b->memory != queue.memory)
        return -EINVAL;
    if (b->flags & V4L2_BUF_FLAG_REQUEST_FD)
        return -EBADR;
    Buffer &buffer = queue.buffers[b->index];
    if (buffer.state != BufState::Dequeued)
        return -EINVAL;
    if (!buffer.prepared || queue.memory != V4L2_MEMORY_MMAP) {
        result = prepare(buffer, queue, b);
        if (result < 0)
            return result;
    }
    buffer.state = BufState::Queued;
    buffer.prepared = false;
    queue.incoming.push_back(buffer.index);
    queue.queuedCount++;
    fillBuffer(queue, buffer, b);
    return 0;
}

int prepareBuf(Handle &handle, v4l2_buffer *b)
{
    Queue &queue = handle.node().queue;
    if (!mayUseQueue(handle))
        return -EBUSY;
    int result = checkBuffer(queue, b);
    if (result < 0)
        return result;
    if (b->memory != queue.memory)
        return -EINVAL;
    Buffer &buffer = queue.buffers[b->index];
    if (buffer.state != BufState::Dequeued || buffer.prepared)
        return -EINVAL;
    result = prepare(buffer, queue, b);
    if (result < 0)
        return result;
    fillBuffer(queue, buffer, b);
    return 0;
}

int dqbuf(Handle &handle, v4l2_buffer *b, std::unique_lock<std::mutex> &lock)
{
    Device &device = *handle.device;
    Node &node = handle.node();
    Queue &queue = node.queue;
    if (!mayUseQueue(handle))
        return -EBUSY;
    if (b->type != queue.type)
        return -EINVAL;
    const bool nonblocking = (real::fcntl(handle.drainFd, F_GETFL, 0) & O_NONBLOCK) != 0;
    for (;;) {
        if (queue.waitingInDqbuf)
            return -EBUSY;
        if (!queue.streaming)
            return -EINVAL;
        if (!queue.done.empty())
            break;
        if (device.unplugged)
            return -ENODEV;
        if (nonblocking)
            return -EAGAIN;
        queue.waitingInDqbuf = true;
        queue.changed.wait(lock);
        queue.waitingInDqbuf = false;
    }
    const uint32_t index = queue.done.front();
    queue.done.pop_front();
    Buffer &buffer = queue.buffers[index];
    fillBuffer(queue, buffer, b);
    b->flags &= ~V4L2_BUF_FLAG_DONE; // cleared once dequeued; ERROR stays
    buffer.state = BufState::Dequeued;
    queue.queuedCount--;
    updateReadiness(node);
    return 0;
}

int expbuf(Handle &handle, v4l2_exportbuffer *e)
{
    Queue &queue = handle.node().queue;
    if (!mayUseQueue(handle))
        return -EBUSY;
    if (queue.memory != V4L2_MEMORY_MMAP)
        return -EINVAL;
    if (e->flags & ~uint32_t(O_CLOEXEC | O_ACCMODE))
        return -EINVAL;
    if (e->type != queue.type || e->index >= queue.buffers.size() || e->plane != 0)
        return -EINVAL;
    const auto &memory = queue.buffers[e->index].memory;
    const int fd = real::fcntl(memory->fd, (e->flags & O_CLOEXEC) ? F_DUPFD_CLOEXEC : F_DUPFD, 0);
    if (fd < 0)
        return -errno;
    if (fd >= kMaxFd) {
        real::close(fd);
        return -EMFILE;
    }
    Registry &registry = Registry::instance();
    memory->exports++;
    registry.exports[fd] = memory;
    registry.setFdKind(fd, FdExport);
    e->fd = fd;
    return 0;
}

} // namespace

// uvcvideo's privilege on the capture node, videobuf2's owner on the metadata node.
bool mayUseQueue(Handle &handle)
{
    if (handle.kind == NodeKind::Capture)
        return handle.privileged;
    const Handle *owner = handle.node().queue.owner;
    return !owner || owner == &handle;
}

void cancelQueue(Queue &queue)
{
    for (Buffer &buffer : queue.buffers) {
        buffer.state = BufState::Dequeued;
        buffer.prepared = false;
    }
    queue.incoming.clear();
    queue.done.clear();
    queue.queuedCount = 0;
    queue.generation++;
    queue.changed.notify_all();
}

BufferMemory::~BufferMemory()
{
    if (ownsMapping && data)
        real::munmap(data, size);
    if (fd >= 0)
        real::close(fd);
}

void freeBuffers(Node &node)
{
    // Mapped or exported memory stays alive with its mappings ("orphaned" buffers).
    node.queue.buffers.clear();
    node.queue.incoming.clear();
    node.queue.done.clear();
    node.queue.memory = 0;
}

int bufferIoctl(Handle &handle, unsigned long request, void *arg, std::unique_lock<std::mutex> &lock)
{
    const bool capture = handle.kind == NodeKind::Capture;
    switch (request) {
    case VIDIOC_REQBUFS:
        return reqbufs(handle, static_cast<v4l2_requestbuffers *>(arg));
    case VIDIOC_CREATE_BUFS: {
        auto *cb = static_cast<v4l2_create_buffers *>(arg);
        const int result = createBufs(handle, cb);
        if (capture)
            cb->format.fmt.pix.priv = V4L2_PIX_FMT_PRIV_MAGIC;
        return result;
    }
    case VIDIOC_QUERYBUF: {
        auto *b = static_cast<v4l2_buffer *>(arg);
        const Queue &queue = handle.node().queue;
        if (b->type != queue.type)
            return -EINVAL;
        if (capture && !handle.privileged)
            return -EBUSY;
        const int result = checkBuffer(queue, b);
        if (result == 0)
            fillBuffer(queue, queue.buffers[b->index], b);
        return result;
    }
    case VIDIOC_QBUF:
        if (static_cast<v4l2_buffer *>(arg)->type != handle.node().queue.type)
            return -EINVAL;
        return qbuf(handle, static_cast<v4l2_buffer *>(arg));
    case VIDIOC_PREPARE_BUF:
        if (capture)
            return -ENOTTY;
        if (static_cast<v4l2_buffer *>(arg)->type != handle.node().queue.type)
            return -EINVAL;
        return prepareBuf(handle, static_cast<v4l2_buffer *>(arg));
    case VIDIOC_DQBUF:
        if (static_cast<v4l2_buffer *>(arg)->type != handle.node().queue.type)
            return -EINVAL;
        return dqbuf(handle, static_cast<v4l2_buffer *>(arg), lock);
    case VIDIOC_EXPBUF:
        if (!capture)
            return -ENOTTY;
        return expbuf(handle, static_cast<v4l2_exportbuffer *>(arg));
    case VIDIOC_STREAMON:
        return streamOn(handle, *static_cast<uint32_t *>(arg));
    case VIDIOC_STREAMOFF:
        return streamOff(handle, *static_cast<uint32_t *>(arg));
    default:
        return -ENOTTY;
    }
}

void *mapBuffer(Handle &handle, void *addr, size_t length, int prot, int flags, off_t offset, int *error)
{
    Registry &registry = Registry::instance();
    Device &device = *handle.device;
    if (device.unplugged) {
        *error = ENODEV;
        return MAP_FAILED;
    }
    const int access = handle.openFlags & O_ACCMODE;
    if (((prot & PROT_WRITE) && (flags & MAP_SHARED) && access == O_RDONLY)
        || ((prot & PROT_READ) && access == O_WRONLY)) {
        *error = EACCES;
        return MAP_FAILED;
    }
    Queue &queue = handle.node().queue;
    if (queue.memory != V4L2_MEMORY_MMAP || !(flags & MAP_SHARED) || !(prot & PROT_READ)) {
        *error = EINVAL;
        return MAP_FAILED;
    }
    const Buffer *found = nullptr;
    for (const Buffer &buffer : queue.buffers) {
        if (off_t(buffer.offset) == offset) {
            found = &buffer;
            break;
        }
    }
    if (!found || pageAlign(found->length) < pageAlign(length) || !found->memory) {
        *error = EINVAL;
        return MAP_FAILED;
    }
    void *mapped = real::mmap(addr, length, prot, flags, found->memory->fd, 0);
    if (mapped == MAP_FAILED) {
        *error = errno;
        return MAP_FAILED;
    }
    found->memory->appMappings++;
    registry.mappings[reinterpret_cast<uintptr_t>(mapped)] = {found->memory, length};
    registry.mappingCount.fetch_add(1);
    return mapped;
}

void unmapNotify(void *addr)
{
    Registry &registry = Registry::instance();
    auto it = registry.mappings.find(reinterpret_cast<uintptr_t>(addr));
    if (it == registry.mappings.end())
        return;
    it->second.memory->appMappings--;
    registry.mappings.erase(it);
    registry.mappingCount.fetch_sub(1);
}

} // namespace fakeuvc
