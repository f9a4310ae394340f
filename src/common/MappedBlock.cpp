#include "common/MappedBlock.h"

#include <sys/mman.h>

#include <utility>

MappedBlock::MappedBlock(std::size_t bytes)
    : m_data(static_cast<unsigned char *>(map(bytes)))
    , m_size(m_data ? bytes : 0)
{ }

MappedBlock::~MappedBlock()
{
    reset();
}

MappedBlock::MappedBlock(MappedBlock &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
{ }

MappedBlock &MappedBlock::operator=(MappedBlock &&other) noexcept
{
    if (this != &other) {
        reset();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void MappedBlock::reset()
{
    unmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

void *MappedBlock::map(std::size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    void *data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return data == MAP_FAILED ? nullptr : data;
}

void MappedBlock::unmap(void *data, std::size_t bytes)
{
    if (data)
        munmap(data, bytes);
}
