#include "ByteBuffer.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {
constexpr qint64 kMapThreshold = qint64(4) << 20;
constexpr qint64 kHugePage = qint64(2) << 20;
// Above this, finding free huge pages costs the kernel more than it saves;
// such a buffer is filled in at once instead of one page fault at a time.
constexpr qint64 kHugeLimit = qint64(256) << 20;
} // namespace

ByteBuffer::ByteBuffer(qint64 size, bool zeroed) : m_size(size)
{
    if (size <= 0) {
        m_size = 0;
        return;
    }
    if (size < kMapThreshold) {
        m_data =
            static_cast<char*>(zeroed ? std::calloc(1, size_t(size)) : std::malloc(size_t(size)));
        if (!m_data)
            throw std::bad_alloc();
        return;
    }
    const qint64 mapped = (size + kHugePage - 1) / kHugePage * kHugePage;
    void* p = ::mmap(nullptr, size_t(mapped), PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | (size > kHugeLimit ? MAP_POPULATE : 0), -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    if (size <= kHugeLimit)
        ::madvise(p, size_t(mapped), MADV_HUGEPAGE); // fresh mappings read as zero
    m_data = static_cast<char*>(p);
    m_mapped = mapped;
}

ByteBuffer::~ByteBuffer()
{
    release();
}

void ByteBuffer::release()
{
    if (m_mapped)
        ::munmap(m_data, size_t(m_mapped));
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = m_mapped = 0;
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0))
{
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}
