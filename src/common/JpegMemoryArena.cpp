#include "common/JpegMemoryArena.h"

#include <algorithm>
#include <cstdlib>
#include <jerror.h>

namespace {

// libjpeg-turbo's SIMD routines want 32-byte alignment and may run on to the next multiple of
// 64 samples at the end of a row; the arena gives both.
constexpr size_t ALIGN = 64;
// No single request of a sane picture comes near this; a header that asks more is refused.
constexpr size_t MAX_REQUEST = size_t(1) << 30;

size_t roundUp(size_t n, size_t to)
{
    return (n + to - 1) / to * to;
}

} // namespace

JpegMemoryArena::~JpegMemoryArena()
{
    m_demand = 0;
    reset();
    std::free(m_base);
}

void JpegMemoryArena::attach(j_common_ptr cinfo)
{
    cinfo->client_data = this;
    m_forward = *cinfo->mem;
    cinfo->mem->alloc_small = allocSmall;
    cinfo->mem->alloc_large = allocLarge;
    cinfo->mem->alloc_sarray = allocSampleRows;
    cinfo->mem->alloc_barray = allocBlockRows;
    cinfo->mem->free_pool = freePool;
}

JpegMemoryArena *JpegMemoryArena::of(j_common_ptr cinfo)
{
    return static_cast<JpegMemoryArena *>(cinfo->client_data);
}

void *JpegMemoryArena::take(j_common_ptr cinfo, size_t size)
{
    if (size > MAX_REQUEST)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 100);
    size = roundUp(std::max<size_t>(size, 1), ALIGN);
    m_demand += size;
    if (m_base && m_capacity - m_used >= size) {
        void *p = m_base + m_used;
        m_used += size;
        return p;
    }
    void *block = nullptr;
    if (posix_memalign(&block, ALIGN, ALIGN + size) != 0)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 101);
    auto *header = static_cast<Overflow *>(block);
    header->next = m_overflow;
    m_overflow = header;
    return static_cast<unsigned char *>(block) + ALIGN;
}

// When the arena overflowed, its blocks become one that holds all the picture needed.
void JpegMemoryArena::reset()
{
    if (m_overflow) {
        while (Overflow *b = m_overflow) {
            m_overflow = b->next;
            std::free(b);
        }
        std::free(m_base);
        m_base = nullptr;
        m_capacity = 0;
        void *fresh = nullptr;
        const size_t capacity = roundUp(m_demand + m_demand / 8, ALIGN);
        if (capacity > 0 && posix_memalign(&fresh, ALIGN, capacity) == 0) {
            m_base = static_cast<unsigned char *>(fresh);
            m_capacity = capacity;
        }
    }
    m_used = 0;
    m_demand = 0;
}

void *JpegMemoryArena::allocSmall(j_common_ptr cinfo, int pool, size_t size)
{
    if (pool != JPOOL_IMAGE)
        return of(cinfo)->m_forward.alloc_small(cinfo, pool, size);
    return of(cinfo)->take(cinfo, size);
}

void *JpegMemoryArena::allocLarge(j_common_ptr cinfo, int pool, size_t size)
{
    if (pool != JPOOL_IMAGE)
        return of(cinfo)->m_forward.alloc_large(cinfo, pool, size);
    return of(cinfo)->take(cinfo, size);
}

JSAMPARRAY JpegMemoryArena::allocSampleRows(j_common_ptr cinfo, int pool, JDIMENSION samplesPerRow,
                                            JDIMENSION rows)
{
    JpegMemoryArena *arena = of(cinfo);
    if (pool != JPOOL_IMAGE)
        return arena->m_forward.alloc_sarray(cinfo, pool, samplesPerRow, rows);
    const size_t pitch = roundUp(size_t(samplesPerRow) * sizeof(JSAMPLE), ALIGN);
    if (rows == 0 || pitch > MAX_REQUEST / rows)
        ERREXIT(cinfo, JERR_WIDTH_OVERFLOW);
    auto *result = static_cast<JSAMPARRAY>(arena->take(cinfo, size_t(rows) * sizeof(JSAMPROW)));
    auto *data = static_cast<JSAMPLE *>(arena->take(cinfo, pitch * rows));
    for (JDIMENSION r = 0; r < rows; ++r)
        result[r] = data + size_t(r) * pitch / sizeof(JSAMPLE);
    return result;
}

JBLOCKARRAY JpegMemoryArena::allocBlockRows(j_common_ptr cinfo, int pool, JDIMENSION blocksPerRow,
                                            JDIMENSION rows)
{
    JpegMemoryArena *arena = of(cinfo);
    if (pool != JPOOL_IMAGE)
        return arena->m_forward.alloc_barray(cinfo, pool, blocksPerRow, rows);
    const size_t pitch = size_t(blocksPerRow) * sizeof(JBLOCK);
    if (rows == 0 || pitch == 0 || pitch > MAX_REQUEST / rows)
        ERREXIT(cinfo, JERR_WIDTH_OVERFLOW);
    auto *result = static_cast<JBLOCKARRAY>(arena->take(cinfo, size_t(rows) * sizeof(JBLOCKROW)));
    auto *data = static_cast<JBLOCKROW>(arena->take(cinfo, pitch * rows));
    for (JDIMENSION r = 0; r < rows; ++r)
        result[r] = data + size_t(r) * blocksPerRow;
    return result;
}

void JpegMemoryArena::freePool(j_common_ptr cinfo, int pool)
{
    JpegMemoryArena *arena = of(cinfo);
    if (pool == JPOOL_IMAGE)
        arena->reset();
    arena->m_forward.free_pool(cinfo, pool);
}
