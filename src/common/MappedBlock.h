#pragma once

#include <cstddef>

// A block of memory mapped straight from the system (anonymous, private, zero-filled) and
// returned to it when the block goes. For frame-sized blocks that live as long as a media graph
// (recording slots, decoded-frame buffers): taken from malloc, they would settle in its heaps,
// where the small blocks allocated around them keep them resident after they are freed, and
// each one freed would raise malloc's own size limit for mapping blocks, so that the next ones
// land in the heaps as well. Only the pages written count as resident.
//
// Threads: a plain owner; whoever holds it says which thread uses it.
class MappedBlock
{
public:
    MappedBlock() = default;
    // `bytes` of memory; null when the system refuses or `bytes` is 0.
    explicit MappedBlock(std::size_t bytes);
    ~MappedBlock();
    MappedBlock(MappedBlock &&other) noexcept;
    MappedBlock &operator=(MappedBlock &&other) noexcept;
    MappedBlock(const MappedBlock &) = delete;
    MappedBlock &operator=(const MappedBlock &) = delete;

    unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }
    // Returns the memory to the system.
    void reset();

    // The primitives, for owners that keep the address and size themselves.
    static void *map(std::size_t bytes);
    static void unmap(void *data, std::size_t bytes);

private:
    unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
};
