#include "common/MappedBlock.h"
#include "sources/media/GstRef.h"
#include "sources/media/MappedMemoryAllocator.h"
#include "sources/media/MediaFramework.h"

#include <QtTest>

#include <gst/video/gstvideopool.h>
#include <gst/video/video.h>

#include <algorithm>
#include <memory>
#include <utility>

using AllocatorRef = std::unique_ptr<GstAllocator, void (*)(gpointer)>;

// Memory mapped straight from the system: the block the live source's recording slots use and
// the GStreamer allocator behind the decoder's buffer pool.
class TestMappedMemory : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }

    void blockIsZeroedWritableAndMoves()
    {
        MappedBlock block(3 * 4096 + 5);
        QVERIFY(block);
        QCOMPARE(block.size(), size_t(3 * 4096 + 5));
        QVERIFY(
            std::all_of(block.data(), block.data() + block.size(), [](unsigned char c) { return c == 0; }));
        block.data()[block.size() - 1] = 0x5a;
        MappedBlock moved(std::move(block));
        QVERIFY(!block);
        QCOMPARE(block.size(), size_t(0));
        QCOMPARE(moved.data()[moved.size() - 1], uchar(0x5a));
        MappedBlock other(100);
        other = std::move(moved);
        QCOMPARE(other.size(), size_t(3 * 4096 + 5));
        other.reset();
        QVERIFY(!other);
        QVERIFY(!MappedBlock(0));
    }

    // A memory with prefix, padding and alignment as a pool asks for it; shares see the same
    // bytes and keep them after the parent reference goes; copies are memories of their own.
    void allocatorMemories()
    {
        const AllocatorRef allocator(MappedMemoryAllocator::get(), &gst_object_unref);
        QVERIFY(allocator);
        GstAllocationParams params;
        gst_allocation_params_init(&params);
        params.prefix = 64;
        params.padding = 32;
        params.align = 127;
        GstMemory *memory = gst_allocator_alloc(allocator.get(), 10000, &params);
        QVERIFY(memory);
        QVERIFY(MappedMemoryAllocator::owns(memory));
        QCOMPARE(gst_memory_get_sizes(memory, nullptr, nullptr), gsize(10000));
        GstMapInfo map;
        QVERIFY(gst_memory_map(memory, &map, GST_MAP_READWRITE));
        QCOMPARE(map.size, gsize(10000));
        QCOMPARE((quintptr(map.data) - 64) & 127u,
                 quintptr(0)); // the block is aligned, as GStreamer's own are
        for (gsize i = 0; i < map.size; ++i)
            map.data[i] = guint8(i * 7);
        gst_memory_unmap(memory, &map);

        GstMemory *share = gst_memory_share(memory, 100, 50);
        QVERIFY(MappedMemoryAllocator::owns(share));
        GstMemory *copy = gst_memory_copy(memory, 200, 10);
        gst_memory_unref(memory); // the share keeps the mapping alive
        QVERIFY(gst_memory_map(share, &map, GST_MAP_READ));
        QCOMPARE(map.size, gsize(50));
        for (gsize i = 0; i < map.size; ++i)
            QCOMPARE(map.data[i], guint8((i + 100) * 7));
        gst_memory_unmap(share, &map);
        gst_memory_unref(share);
        QVERIFY(gst_memory_map(copy, &map, GST_MAP_READ));
        QCOMPARE(map.size, gsize(10));
        QCOMPARE(map.data[0], guint8(200 * 7));
        gst_memory_unmap(copy, &map);
        gst_memory_unref(copy);
    }

    // A video buffer pool configured with the allocator hands out its buffers again and again.
    void poolBuffers()
    {
        const AllocatorRef allocator(MappedMemoryAllocator::get(), &gst_object_unref);
        GstBufferPool *pool = gst_video_buffer_pool_new();
        GstRef<GstCaps> caps(gst_caps_from_string("video/x-raw,format=BGRx,width=641,height=479"));
        GstVideoInfo info;
        QVERIFY(gst_video_info_from_caps(&info, caps.get()));
        GstStructure *config = gst_buffer_pool_get_config(pool);
        gst_buffer_pool_config_set_params(config, caps.get(), guint(GST_VIDEO_INFO_SIZE(&info)), 2, 0);
        gst_buffer_pool_config_set_allocator(config, allocator.get(), nullptr);
        QVERIFY(gst_buffer_pool_set_config(pool, config));
        QVERIFY(gst_buffer_pool_set_active(pool, TRUE));
        for (int i = 0; i < 5; ++i) {
            GstBuffer *buffer = nullptr;
            QCOMPARE(gst_buffer_pool_acquire_buffer(pool, &buffer, nullptr), GST_FLOW_OK);
            QVERIFY(MappedMemoryAllocator::owns(gst_buffer_peek_memory(buffer, 0)));
            GstMapInfo map;
            QVERIFY(gst_buffer_map(buffer, &map, GST_MAP_WRITE));
            QVERIFY(map.size >= gsize(641 * 479 * 4));
            std::fill(map.data, map.data + map.size, guint8(i));
            gst_buffer_unmap(buffer, &map);
            gst_buffer_unref(buffer);
        }
        QVERIFY(gst_buffer_pool_set_active(pool, FALSE));
        gst_object_unref(pool);
    }

    // Once the framework is up, buffers elements allocate without an allocator of their own
    // are mapped from frame size down to the threshold; smaller ones stay system memory.
    // Copies (a tee's branch making a frame writable) follow their original.
    void defaultAllocatorMapsLargeBuffers_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("mapped");
        QTest::newRow("audio-sized") << 4096 << false;
        QTest::newRow("just below") << int(MappedMemoryAllocator::DEFAULT_SMALLEST_BYTES) - 1 << false;
        QTest::newRow("threshold") << int(MappedMemoryAllocator::DEFAULT_SMALLEST_BYTES) << true;
        QTest::newRow("camera JPEG") << 300 * 1024 << true;
        QTest::newRow("I420 1280x720") << 1280 * 720 * 3 / 2 << true;
    }
    void defaultAllocatorMapsLargeBuffers()
    {
        QFETCH(int, bytes);
        QFETCH(bool, mapped);
        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, gsize(bytes), nullptr);
        QVERIFY(buffer);
        QCOMPARE(MappedMemoryAllocator::owns(gst_buffer_peek_memory(buffer, 0)), mapped);
        GstMapInfo map;
        QVERIFY(gst_buffer_map(buffer, &map, GST_MAP_WRITE));
        QCOMPARE(map.size, gsize(bytes));
        std::fill(map.data, map.data + map.size, guint8(0xa5));
        gst_buffer_unmap(buffer, &map);
        gst_buffer_ref(buffer); // shared, as by a tee
        GstBuffer *copy = gst_buffer_make_writable(buffer);
        QVERIFY(copy != buffer);
        QCOMPARE(MappedMemoryAllocator::owns(gst_buffer_peek_memory(copy, 0)), mapped);
        QVERIFY(gst_buffer_map(copy, &map, GST_MAP_READ));
        QCOMPARE(map.size, gsize(bytes));
        QVERIFY(std::all_of(map.data, map.data + map.size, [](guint8 c) { return c == 0xa5; }));
        gst_buffer_unmap(copy, &map);
        gst_buffer_unref(copy);
        gst_buffer_unref(buffer);
    }
};

QTEST_GUILESS_MAIN(TestMappedMemory)
#include "tst_mappedmemory.moc"
