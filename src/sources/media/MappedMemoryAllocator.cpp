#include "sources/media/MappedMemoryAllocator.h"

#include "common/MappedBlock.h"

#include <unistd.h>

// The allocator follows the usual GObject layout. A memory is the mapping (`data`, `mapped`
// bytes, page-aligned, so any alignment GStreamer asks for is met) or a share of another one;
// only the memory without a parent unmaps it.
namespace {

constexpr const char *MEMORY_TYPE = "DoccamMappedMemory";

struct MappedMemory
{
    GstMemory memory;
    unsigned char *data;
    gsize mapped;
};

} // namespace

struct DoccamMappedAllocator
{
    GstAllocator parent;
    // Smaller memories are GStreamer's own system memory (the default instance only).
    gsize smallest;
};

struct DoccamMappedAllocatorClass
{
    GstAllocatorClass parent_class;
};

G_DEFINE_TYPE(DoccamMappedAllocator, doccam_mapped_allocator, GST_TYPE_ALLOCATOR)

static GstMemory *doccam_mapped_alloc(GstAllocator *allocator, gsize size, GstAllocationParams *params)
{
    const gsize maxsize = size + params->prefix + params->padding;
    if (maxsize < reinterpret_cast<DoccamMappedAllocator *>(allocator)->smallest) {
        GstAllocator *system = gst_allocator_find(GST_ALLOCATOR_SYSMEM);
        GstMemory *memory = system ? gst_allocator_alloc(system, size, params) : nullptr;
        if (system)
            gst_object_unref(system);
        return memory;
    }
    const gsize page = gsize(sysconf(_SC_PAGESIZE));
    const gsize mapped = (maxsize + page - 1) / page * page;
    void *data = MappedBlock::map(mapped);
    if (!data)
        return nullptr;
    auto *m = g_slice_new(MappedMemory);
    m->data = static_cast<unsigned char *>(data);
    m->mapped = mapped;
    // The mapping comes zero-filled, so a zero prefix or padding is already there.
    gst_memory_init(GST_MEMORY_CAST(m), GstMemoryFlags(params->flags), allocator, nullptr, maxsize,
                    params->align, params->prefix, size);
    return GST_MEMORY_CAST(m);
}

static void doccam_mapped_free(GstAllocator *, GstMemory *memory)
{
    auto *m = reinterpret_cast<MappedMemory *>(memory);
    if (!memory->parent)
        MappedBlock::unmap(m->data, m->mapped);
    g_slice_free(MappedMemory, m);
}

static gpointer doccam_mapped_map(GstMemory *memory, gsize, GstMapFlags)
{
    return reinterpret_cast<MappedMemory *>(memory)->data;
}

static void doccam_mapped_unmap(GstMemory *) { }

static GstMemory *doccam_mapped_share(GstMemory *memory, gssize offset, gssize size)
{
    auto *m = reinterpret_cast<MappedMemory *>(memory);
    GstMemory *parent = memory->parent ? memory->parent : memory;
    if (size == -1)
        size = gssize(memory->size) - offset;
    auto *share = g_slice_new(MappedMemory);
    share->data = m->data;
    share->mapped = m->mapped;
    gst_memory_init(GST_MEMORY_CAST(share),
                    GstMemoryFlags(GST_MINI_OBJECT_FLAGS(parent) | GST_MINI_OBJECT_FLAG_LOCK_READONLY),
                    memory->allocator, parent, memory->maxsize, memory->align, memory->offset + offset,
                    gsize(size));
    return GST_MEMORY_CAST(share);
}

static void doccam_mapped_allocator_class_init(DoccamMappedAllocatorClass *klass)
{
    GstAllocatorClass *allocatorClass = GST_ALLOCATOR_CLASS(klass);
    allocatorClass->alloc = doccam_mapped_alloc;
    allocatorClass->free = doccam_mapped_free;
}

static void doccam_mapped_allocator_init(DoccamMappedAllocator *self)
{
    GstAllocator *allocator = GST_ALLOCATOR_CAST(self);
    allocator->mem_type = MEMORY_TYPE;
    allocator->mem_map = doccam_mapped_map;
    allocator->mem_unmap = doccam_mapped_unmap;
    allocator->mem_share = doccam_mapped_share;
}

GstAllocator *MappedMemoryAllocator::get()
{
    static GstAllocator *const instance = [] {
        auto *allocator = static_cast<GstAllocator *>(
            g_object_new(doccam_mapped_allocator_get_type(), nullptr));
        gst_object_ref_sink(allocator);
        // Lives as long as the process, like GStreamer's own default allocator.
        GST_OBJECT_FLAG_SET(allocator, GST_OBJECT_FLAG_MAY_BE_LEAKED);
        return allocator;
    }();
    return static_cast<GstAllocator *>(gst_object_ref(instance));
}

void MappedMemoryAllocator::installAsDefault()
{
    auto *allocator = static_cast<GstAllocator *>(g_object_new(doccam_mapped_allocator_get_type(), nullptr));
    reinterpret_cast<DoccamMappedAllocator *>(allocator)->smallest = DEFAULT_SMALLEST_BYTES;
    gst_object_ref_sink(allocator);
    GST_OBJECT_FLAG_SET(allocator, GST_OBJECT_FLAG_MAY_BE_LEAKED);
    gst_allocator_set_default(allocator); // takes the reference
}

bool MappedMemoryAllocator::owns(GstMemory *memory)
{
    return memory && gst_memory_is_type(memory, MEMORY_TYPE);
}
