#include "compare/ByteBuffer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr qint64 kMapThreshold = qint64(4) << 20;
constexpr qint64 kPage = qint64(4) << 10;
// Pages are faulted in and given back this many bytes at a time: the
// process's memory map is held meanwhile, so another thread that needs it
// (the window's, allocating) waits for one small piece at most, even on a
// virtual machine whose fresh memory is slow just after it handed memory
// back to its host.
constexpr qint64 kPopulatePiece = qint64(2) << 20;
// How often a buffer being faulted in lets its caller look in (at Cancel).
constexpr qint64 kBetweenCalls = qint64(64) << 20;

// The mapped files' bytes. A file that shrinks while mapped takes its lost
// pages with it, and a read of them raises SIGBUS; the handler puts zeros in
// their place, marks the file as changed, and the read goes on.
struct Guarded
{
    std::atomic<char*> begin{nullptr};
    std::atomic<qint64> size{0};
    std::atomic<bool> lost{false};
};
Guarded guarded[16];
struct sigaction previousHandler;

void onBusError(int signal, siginfo_t* info, void* context)
{
    char* const at = static_cast<char*>(info->si_addr);
    for (Guarded& g : guarded) {
        char* const begin = g.begin.load(std::memory_order_acquire);
        const qint64 size = g.size.load(std::memory_order_acquire);
        if (!begin || at < begin || at >= begin + size)
            continue;
        // Zeros from the page read to the end: the rest of the file is
        // likely gone too, and one fault is enough to know.
        char* const page = begin + (at - begin) / kPage * kPage;
        if (::mmap(page, size_t(begin + size - page), PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            g.lost.store(true, std::memory_order_release);
            return;
        }
    }
    // Not a mapped file's: handled as before this handler came, when the
    // faulting access runs again on return.
    if (previousHandler.sa_flags & SA_SIGINFO && previousHandler.sa_sigaction) {
        previousHandler.sa_sigaction(signal, info, context);
        return;
    }
    ::sigaction(SIGBUS, &previousHandler, nullptr);
}

// A place among the guarded files for size bytes at begin, or -1 when all are taken.
int guard(char* begin, qint64 size)
{
    static std::once_flag installed;
    static bool handled = false;
    std::call_once(installed, [] {
        struct sigaction action = {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        handled = ::sigaction(SIGBUS, &action, &previousHandler) == 0;
    });
    if (!handled)
        return -1;
    static std::mutex placing;
    const std::lock_guard<std::mutex> lock(placing);
    for (int i = 0; i < int(std::size(guarded)); ++i) {
        if (guarded[i].begin.load(std::memory_order_relaxed))
            continue;
        guarded[i].lost.store(false, std::memory_order_relaxed);
        guarded[i].size.store(size, std::memory_order_release);
        guarded[i].begin.store(begin, std::memory_order_release);
        return i;
    }
    return -1;
}

qint64 modifiedNs(const struct stat& st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
} // namespace

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22 // Linux 5.14
#endif
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

ByteBuffer::ByteBuffer(qint64 size, bool zeroed, const std::function<void()>& between)
    : m_size(size)
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
    // Ordinary pages, all faulted in at once. No huge pages are asked for: on
    // a virtual machine after idle, a fresh huge page costs several times more
    // to fault in than its ordinary pages, as its memory is most often some
    // the host took back. Even a hash table of ten million lines, read all
    // over at random, loses more that way than the address cache gains.
    const qint64 mapped = (size + kPage - 1) / kPage * kPage;
    void* p =
        ::mmap(nullptr, size_t(mapped), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    m_data = static_cast<char*>(p);
    m_mapped = mapped;
    // Memory that is not there shows here as bad_alloc instead of later as
    // a killed process; a kernel without MADV_POPULATE_WRITE faults the pages
    // in as they are first written.
    int failed;
    try {
        failed = populate(0, mapped, MADV_POPULATE_WRITE, between);
    } catch (...) {
        release();
        throw;
    }
    if (failed == ENOMEM) {
        release();
        throw std::bad_alloc();
    }
}

int ByteBuffer::populate(qint64 from, qint64 to, int advice, const std::function<void()>& between)
{
    // A piece at a time rather than with MAP_POPULATE, which holds the
    // process's memory map for the whole buffer (seconds for a file of
    // hundreds of megabytes): the window's thread, wanting memory meanwhile,
    // would stop painting.
    from = from / kPage * kPage; // madvise takes whole pages
    for (qint64 at = from; at < to; at += kPopulatePiece) {
        if (between && at > from && (at - from) % kBetweenCalls == 0)
            between();
        if (::madvise(m_data + at, size_t(std::min(kPopulatePiece, to - at)), advice) != 0)
            return errno;
    }
    return 0;
}

void ByteBuffer::Grow(qint64 size)
{
    if (size <= m_size)
        return;
    if (!m_mapped && size < kMapThreshold) {
        void* grown = std::realloc(m_data, size_t(size));
        if (!grown)
            throw std::bad_alloc();
        m_data = static_cast<char*>(grown);
        m_size = size;
        return;
    }
    if (!m_mapped || m_fd >= 0) {
        // Out of malloc's memory (under 4 MiB to copy), or a mapped file's
        // bytes: copied once into pages of its own.
        ByteBuffer own(size);
        if (m_size > 0)
            std::memcpy(own.m_data, m_data, size_t(m_size));
        *this = std::move(own);
        return;
    }
    if (size > m_mapped) {
        // Twice the room where the address space allows: pages never written
        // cost nothing, and a buffer grown a piece at a time is remapped
        // only as often as it doubles.
        qint64 room = std::max(size, m_mapped * 2);
        room = (room + kPage - 1) / kPage * kPage;
        void* moved = ::mremap(m_data, size_t(m_mapped), size_t(room), MREMAP_MAYMOVE);
        if (moved == MAP_FAILED) {
            room = (size + kPage - 1) / kPage * kPage;
            moved = ::mremap(m_data, size_t(m_mapped), size_t(room), MREMAP_MAYMOVE);
        }
        if (moved == MAP_FAILED)
            throw std::bad_alloc();
        m_data = static_cast<char*>(moved);
        m_mapped = room;
    }
    // Memory that is not there shows here, as in the constructor.
    if (populate(m_size, size, MADV_POPULATE_WRITE) == ENOMEM)
        throw std::bad_alloc();
    m_size = size;
}

ByteBuffer ByteBuffer::MapFile(int fd, qint64 size)
{
    ByteBuffer buffer;
    struct stat st;
    if (size <= 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < size)
        return buffer;
    // A page of zeros after the file's last page, so that reading a little
    // past the end, as the line splitting may, stays in the buffer.
    const qint64 filePages = (size + kPage - 1) / kPage * kPage;
    const qint64 mapped = filePages + kPage;
    void* room =
        ::mmap(nullptr, size_t(mapped), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (room == MAP_FAILED)
        return buffer;
    buffer.m_data = static_cast<char*>(room);
    buffer.m_size = size;
    buffer.m_mapped = mapped;
    buffer.m_fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    if (buffer.m_fd < 0 ||
        ::mmap(room, size_t(size), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED, buffer.m_fd,
               0) == MAP_FAILED ||
        (buffer.m_guard = guard(buffer.m_data, filePages)) < 0) {
        buffer.release();
        return buffer;
    }
    buffer.m_modified = modifiedNs(st);
    // The file's pages in the page cache are mapped at once rather than one
    // fault per few pages as they are first read. Should that fail (an older
    // kernel, or the file shrank), they are faulted as they are read.
    buffer.populate(0, size, MADV_POPULATE_READ);
    return buffer;
}

bool ByteBuffer::Unchanged() const
{
    if (m_guard < 0)
        return true;
    struct stat st;
    return !guarded[m_guard].lost.load(std::memory_order_acquire) && ::fstat(m_fd, &st) == 0 &&
           modifiedNs(st) == m_modified && st.st_size >= m_size;
}

ByteBuffer::~ByteBuffer()
{
    release();
}

void ByteBuffer::release()
{
    if (m_guard >= 0) {
        guarded[m_guard].begin.store(nullptr, std::memory_order_release);
        guarded[m_guard].size.store(0, std::memory_order_release);
    }
    // A piece at a time: the process's memory map is held while a piece is
    // given back, and the window's thread, wanting memory meanwhile, waits.
    for (qint64 at = 0; at < m_mapped; at += kPopulatePiece)
        ::munmap(m_data + at, size_t(std::min(kPopulatePiece, m_mapped - at)));
    if (!m_mapped)
        std::free(m_data);
    if (m_fd >= 0)
        ::close(m_fd);
    m_data = nullptr;
    m_size = m_mapped = 0;
    m_fd = m_guard = -1;
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0)), m_fd(std::exchange(other.m_fd, -1)),
      m_guard(std::exchange(other.m_guard, -1)), m_modified(other.m_modified)
{
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
        m_fd = std::exchange(other.m_fd, -1);
        m_guard = std::exchange(other.m_guard, -1);
        m_modified = other.m_modified;
    }
    return *this;
}
