#pragma once

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

// The memory libjpeg asks for per picture (its "image pool"), served from one block that is
// kept from picture to picture. libjpeg's own manager takes that memory from malloc for every
// picture and frees it at the end; with the arena the first picture of a size fills the block,
// and when it overflowed the block grows once into what that picture needed, which every later
// picture of the size reuses: after that, a picture allocates nothing. The permanent pool and
// the virtual arrays of multi-scan pictures stay with libjpeg's own manager.
//
// Threads: used through its libjpeg object, so by one thread at a time.
class JpegMemoryArena
{
public:
    JpegMemoryArena() = default;
    ~JpegMemoryArena();
    JpegMemoryArena(const JpegMemoryArena &) = delete;
    JpegMemoryArena &operator=(const JpegMemoryArena &) = delete;

    // Serves the image pool of `cinfo`, a decompressor or compressor just made by
    // jpeg_create_decompress() or jpeg_create_compress(), from now on. It keeps the arena in
    // cinfo->client_data; the arena must outlive the libjpeg object.
    void attach(j_common_ptr cinfo);

private:
    struct Overflow
    {
        Overflow *next;
    };

    static JpegMemoryArena *of(j_common_ptr cinfo);
    static void *allocSmall(j_common_ptr cinfo, int pool, size_t size);
    static void *allocLarge(j_common_ptr cinfo, int pool, size_t size);
    static JSAMPARRAY allocSampleRows(j_common_ptr cinfo, int pool, JDIMENSION samplesPerRow,
                                      JDIMENSION rows);
    static JBLOCKARRAY allocBlockRows(j_common_ptr cinfo, int pool, JDIMENSION blocksPerRow, JDIMENSION rows);
    static void freePool(j_common_ptr cinfo, int pool);
    void *take(j_common_ptr cinfo, size_t size);
    // The end of a picture: the arena is empty again.
    void reset();

    jpeg_memory_mgr m_forward{}; // libjpeg's own methods, for what the arena does not serve
    unsigned char *m_base = nullptr;
    size_t m_capacity = 0;
    size_t m_used = 0;
    size_t m_demand = 0; // everything asked for since the last reset
    Overflow *m_overflow = nullptr;
};
