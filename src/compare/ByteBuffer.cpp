#include "ByteBuffer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {
constexpr qint64 kMapThreshold = qint64(4) << 20;
constexpr qint64 kPage = qint64(4) << 10;
constexpr qint64 kPopulatePiece = qint64(16) << 20;
} // namespace

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

ByteBuffer::ByteBuffer(qint64 size, bool zeroed, bool hugePages, bool faultNow) : m_size(size)
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
    // Ordinary pages unless asked otherwise, all faulted in at once. A file's
    // bytes are read mostly in order: on a virtual machine after idle, a
    // fresh huge page costs three to five times more to fault in than its
    // ordinary pages, more than it saves there. A table of tens of millions
    // of lines, read at random, gains more than that.
    const qint64 mapped = (size + kPage - 1) / kPage * kPage;
    void* p =
        ::mmap(nullptr, size_t(mapped), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    if (hugePages)
        ::madvise(p, size_t(mapped), MADV_HUGEPAGE); // a hint: without it, ordinary pages
    m_data = static_cast<char*>(p);
    m_mapped = mapped;
    if (faultNow) {
        try {
            FaultIn(0, mapped);
        } catch (const std::bad_alloc&) {
            release();
            throw;
        }
    }
}

void ByteBuffer::FaultIn(qint64 from, qint64 size)
{
    if (!m_mapped)
        return;
    // The pages are faulted in a piece at a time rather than with
    // MAP_POPULATE: that holds the process's memory map for the whole buffer
    // (seconds for a file of hundreds of megabytes), and the window's thread,
    // wanting memory meanwhile, would stop painting. Memory that is not there
    // shows here as bad_alloc instead of later as a killed process.
    const qint64 begin = from / kPage * kPage;
    const qint64 end = std::min(m_mapped, from + size);
    for (qint64 at = begin; at < end; at += kPopulatePiece) {
        const size_t piece = size_t(std::min(kPopulatePiece, end - at));
        if (::madvise(m_data + at, piece, MADV_POPULATE_WRITE) == 0)
            continue;
        if (errno == ENOMEM)
            throw std::bad_alloc();
        return; // a kernel without it faults the pages in as they are first written
    }
}

ByteBuffer::~ByteBuffer()
{
    release();
}

void ByteBuffer::release()
{
    // A piece at a time: the process's memory map is held while a piece is
    // given back, and the window's thread, wanting memory meanwhile, waits.
    for (qint64 at = 0; at < m_mapped; at += kPopulatePiece)
        ::munmap(m_data + at, size_t(std::min(kPopulatePiece, m_mapped - at)));
    if (!m_mapped)
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
