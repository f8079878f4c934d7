#pragma once

#include <QtGlobal>

#include <functional>

// A large byte buffer for a whole file. Big buffers come straight from the
// system with all their pages faulted in at once, so reading a file of
// hundreds of megabytes does not pay one page fault per 4 KiB.
class ByteBuffer
{
public:
    ByteBuffer() = default;
    // Throws std::bad_alloc when the memory is not there. The bytes are zero
    // when zeroed is set, else undefined. Every 64 MiB of pages faulted in,
    // between is called; what it throws leaves the constructor, with the
    // memory given back.
    explicit ByteBuffer(qint64 size, bool zeroed = false,
                        const std::function<void()>& between = {});
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    char* data() { return m_data; }
    const char* data() const { return m_data; }
    qint64 size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Shortens the buffer; its memory stays.
    void truncate(qint64 size) { m_size = qMin(size, m_size); }
    // Lengthens the buffer to size bytes, keeping its bytes; the new ones are
    // undefined. A big buffer's bytes are not copied: its pages are remapped
    // (mremap), with room ahead so that growing a step at a time remaps
    // seldom, and only the pages of the new bytes are faulted in. Pointers
    // into the buffer may move. Throws std::bad_alloc when the memory is not
    // there, the buffer as it was.
    void Grow(qint64 size);

    // The first size bytes of the regular file open as fd, mapped into memory
    // rather than copied: no fresh memory to fault in, nothing to copy. The
    // buffer keeps its own descriptor of the file. Writes to the bytes stay
    // in this process. Should the file shrink meanwhile, the bytes it lost
    // read as zeros rather than ending the process, and Unchanged tells.
    // Returns an empty buffer when the file cannot be mapped (read it instead).
    static ByteBuffer MapFile(int fd, qint64 size);
    // False once the mapped file lost bytes that were read, or was written
    // to, or changed its size since it was mapped; true for any other buffer.
    bool Unchanged() const;

private:
    // Faults in the pages of the bytes [from, to) with the madvise advice, a
    // piece at a time, calling between (when set) every 64 MiB; returns errno
    // of the piece that failed, else 0.
    int populate(qint64 from, qint64 to, int advice, const std::function<void()>& between = {});
    void release();

    char* m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_mapped = 0;   // bytes mapped, 0 when the buffer came from malloc
    int m_fd = -1;         // the mapped file's
    int m_guard = -1;      // the mapped file's place among the guarded ones
    qint64 m_modified = 0; // the mapped file's modification time when mapped, in nanoseconds
};
