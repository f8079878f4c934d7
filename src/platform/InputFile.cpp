#include "platform/InputFile.h"

#include "platform/FileError.h"
#include "platform/FileKind.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <unistd.h>

namespace {

void closeQuietly(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace

InputFile::InputFile(const QString& path, Accept accept) : m_path(path)
{
    const QByteArray native = FileSystem::NativeName(path);
    if (path.isEmpty() || native.contains('\0'))
        throw FileError::Failure(QStringLiteral("open"), path, ENOENT);
    const int descriptor = FileKind::DescriptorOf(path);
    if (descriptor >= 0) {
        m_fd = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    } else {
        // O_NONBLOCK: a FIFO opens at once even with nobody writing to it.
        m_fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }
    if (m_fd < 0) {
        const int err = errno;
        struct stat st;
        // A socket cannot be opened; say what it is rather than "No such device".
        if (err == ENXIO && ::stat(native.constData(), &st) == 0)
            throw FileError::Failure(QStringLiteral("open"), path, FileKind::WhatItIs(st.st_mode));
        throw FileError::Failure(QStringLiteral("open"), path, err);
    }
    if (::fstat(m_fd, &m_status) != 0) {
        const int err = errno;
        closeQuietly(m_fd);
        throw FileError::Failure(QStringLiteral("read"), path, err);
    }
    const mode_t mode = m_status.st_mode;
    if (S_ISREG(mode))
        return;
    if (accept == Accept::RegularFile || S_ISDIR(mode)) {
        closeQuietly(m_fd);
        throw FileError::Failure(QStringLiteral("read"), path, FileKind::WhatItIs(mode));
    }
    if (descriptor >= 0)
        return; // its flags belong to whoever handed it over
    if (S_ISFIFO(mode)) {
        // Still non-blocking: a read now would find the end at once when no
        // writer has come yet. Read waits in poll instead, as long as any
        // reader of a FIFO waits for its writer.
        m_waitForWriter = true;
        return;
    }
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK))
        ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
}

InputFile::~InputFile()
{
    closeQuietly(m_fd);
}

qint64 InputFile::Read(char* into, qint64 size)
{
    for (;;) {
        if (m_waitForWriter) {
            // Readable once a writer has written, or has come and gone.
            pollfd wait{m_fd, POLLIN, 0};
            if (::poll(&wait, 1, -1) < 0 && errno == EINTR)
                continue;
        }
        const ssize_t n = ::read(m_fd, into, size_t(std::min<qint64>(size, qint64(1) << 30)));
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // A descriptor handed to us may be non-blocking; wait for data.
            if (!m_waitForWriter) {
                pollfd wait{m_fd, POLLIN, 0};
                ::poll(&wait, 1, -1);
            }
            continue;
        }
        throw FileError::Failure(QStringLiteral("read"), m_path, errno);
    }
}

QByteArray InputFile::ReadAll(qint64 limit)
{
    QByteArray bytes;
    qint64 done = 0;
    qint64 expected = IsRegular() ? qint64(m_status.st_size) : 0;
    for (;;) {
        if (done > limit)
            throw RuntimeError(QCoreApplication::translate(
                                   "FileError", "Cannot read %1: it is too large (over %2 bytes)")
                                   .arg(FileError::QuotedName(m_path))
                                   .arg(limit));
        // Room for what the file system reports plus one byte, which shows the end.
        const qint64 want = std::min(std::max({expected + 1, done * 2, qint64(4096)}), limit + 1);
        if (bytes.size() < want) {
            try {
                bytes.resize(want);
            } catch (const std::bad_alloc&) {
                throw RuntimeError(
                    QCoreApplication::translate("FileError", "Cannot read %1: not enough memory")
                        .arg(FileError::QuotedName(m_path)));
            }
        }
        const qint64 n = Read(bytes.data() + done, bytes.size() - done);
        if (n == 0)
            break;
        done += n;
        expected = 0;
    }
    bytes.truncate(done);
    return bytes;
}

QByteArray InputFile::ReadSmallFile(const QString& path, qint64 limit)
{
    return InputFile(path).ReadAll(limit);
}
