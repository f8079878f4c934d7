#include "platform/OutputFile.h"

#include "platform/FileError.h"
#include "platform/FileKind.h"
#include "platform/FileSystem.h"
#include "platform/TestHook.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QString kWrite = QStringLiteral("write");
// A big text is sent on to the disk in steps of this many bytes.
constexpr qint64 kFlushStep = qint64(8) << 20;

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A name for a temporary file in folder, hidden and not guessed by others.
QByteArray temporaryName(const QByteArray& folder)
{
    return folder + "/.quillmark-" +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
}

// The mode a new file gets from open(2) with 0666: what the umask leaves.
mode_t newFileMode()
{
    // Read, not set: umask(2) would change it for every thread meanwhile.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(0666 & ~mask);
            }
        }
    }
    // Without /proc: a stricter mask for the moment it takes, never a wider one.
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return mode_t(0666 & ~mask);
}

std::function<void(int, const QByteArray&)>& createdHook()
{
    return TestHook<struct TemporaryCreatedHook, void(int, const QByteArray&)>();
}

bool& namedOnly()
{
    static bool named = false;
    return named;
}

// Clears O_NONBLOCK, so that a pipe's writes wait for its reader as usual.
void makeBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK))
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

} // namespace

OutputFile::OutputFile(const QString& path) : m_path(path)
{
    const QByteArray native = FileSystem::NativeName(path);
    if (path.isEmpty())
        throw RuntimeError(
            QCoreApplication::translate("FileError", "Cannot write a file without a name"));
    if (native.contains('\0'))
        throw FileError::Failure(kWrite, path, ENOENT);

    const int descriptor = FileKind::DescriptorOf(path);
    if (descriptor >= 0) {
        m_mode = Mode::Stream;
        m_fd = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
        if (m_fd < 0)
            throw FileError::Failure(kWrite, path, errno);
        return;
    }

    struct stat st = {};
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode))
            throw FileError::Failure(kWrite, path, FileKind::WhatItIs(st.st_mode));
        if (!S_ISREG(st.st_mode)) {
            m_mode = Mode::Stream;
            // O_NONBLOCK: a FIFO that nobody reads fails at once instead of waiting.
            m_fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (m_fd < 0) {
                const int err = errno;
                if (err == ENXIO && S_ISFIFO(st.st_mode))
                    throw FileError::Failure(
                        kWrite, path,
                        QCoreApplication::translate("FileError",
                                                    "it is a FIFO that no program reads"));
                if (err == ENXIO)
                    throw FileError::Failure(kWrite, path, FileKind::WhatItIs(st.st_mode));
                throw FileError::Failure(kWrite, path, err);
            }
            makeBlocking(m_fd);
            return;
        }
        // A file whose owner may not write it is read-only, even for root.
        if (!(st.st_mode & S_IWUSR))
            throw FileError::Failure(
                kWrite, path, QCoreApplication::translate("FileError", "the file is read-only"));
        // Through a symbolic link, the file it points to gets the new text.
        char resolved[PATH_MAX];
        m_target = ::realpath(native.constData(), resolved) ? QByteArray(resolved) : native;
    } else if (errno == ENOENT) {
        // A link to a file not there yet creates that file, as a shell would.
        m_target = FileKind::CreatedName(native);
    } else {
        throw FileError::Failure(kWrite, path, errno);
    }

    // Other names of the file would be cut off by a rename.
    if (exists && st.st_nlink > 1)
        m_mode = Mode::InPlace;

    if (m_mode == Mode::Replace) {
        if (exists)
            m_old = OldAttributes{st.st_uid, st.st_gid, mode_t(st.st_mode & 07777)};
        const int err = createTemporary();
        if (err != 0) {
            // A folder that may not be written, holding a file that may: the
            // text goes into the file itself.
            if (exists && (err == EACCES || err == EPERM || err == EROFS))
                m_mode = Mode::InPlace;
            else
                throw FileError::Failure(kWrite, path, err);
        }
    }
    if (m_mode == Mode::InPlace) {
        m_fd = ::open(m_target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0)
            throw FileError::Failure(kWrite, path, errno);
    }
}

OutputFile::~OutputFile()
{
    discard();
}

int OutputFile::createTemporary()
{
    // Readable and writable by this user alone until Commit: another user
    // who opened it now would keep the descriptor, and with it the text.
    constexpr mode_t kPrivate = 0600;
    const QByteArray folder = folderOf(m_target);
    // Where the file system can, the file has no name at all while the text
    // goes in: nobody can open it, and nothing is left if the program dies.
    if (!namedOnly()) {
        m_fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kPrivate);
        if (m_fd >= 0) {
            if (const auto& hook = createdHook())
                hook(m_fd, QByteArray());
            return 0;
        }
    }
    int err = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temp = temporaryName(folder);
        // Listed before it exists, so that no moment has it on disk unlisted.
        m_listed.List(m_temp, false);
        m_fd = ::open(m_temp.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, kPrivate);
        err = errno;
        if (m_fd >= 0 || err != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temp.clear();
        m_listed.Unlist();
        return err;
    }
    if (const auto& hook = createdHook())
        hook(m_fd, m_temp);
    return 0;
}

void OutputFile::takeOldAttributes()
{
    // Only now, with the whole text on disk, does the file get the old one's
    // owner and group where permitted, then its mode (a change of owner
    // clears set-user-ID bits); a new file gets what the umask leaves.
    if (m_old) {
        if (::fchown(m_fd, m_old->owner, m_old->group) != 0)
            (void)!::fchown(m_fd, uid_t(-1), m_old->group);
        if (::fchmod(m_fd, m_old->mode) != 0)
            throw FileError::Failure(kWrite, m_path, errno);
    } else if (::fchmod(m_fd, newFileMode()) != 0) {
        return; // a file system that cannot widen it (FAT) leaves the new file private
    }
    // The owner and mode must reach the disk before the name does.
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        throw FileError::Failure(kWrite, m_path, errno);
}

void OutputFile::nameTemporary()
{
    const QByteArray folder = folderOf(m_target);
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", m_fd);
    int err = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temp = temporaryName(folder);
        m_listed.List(m_temp, true);
        // Through the descriptor needs a privilege; through /proc, only /proc.
        if (::linkat(m_fd, "", AT_FDCWD, m_temp.constData(), AT_EMPTY_PATH) == 0 ||
            ::linkat(AT_FDCWD, self, AT_FDCWD, m_temp.constData(), AT_SYMLINK_FOLLOW) == 0)
            return;
        err = errno;
        if (err != EEXIST)
            break;
    }
    m_temp.clear();
    m_listed.Unlist();
    throw FileError::Failure(kWrite, m_path, err);
}

void OutputFile::SetCreatedTestHook(std::function<void(int fd, const QByteArray& name)> hook)
{
    createdHook() = std::move(hook);
}

void OutputFile::SetNamedOnlyForTests(bool named)
{
    namedOnly() = named;
}

void OutputFile::discard() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temp.isEmpty())
        ::unlink(m_temp.constData());
    m_temp.clear();
    m_listed.Unlist();
}

void OutputFile::writeAll(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(std::min<qint64>(size, qint64(1) << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                // A descriptor handed to us may be non-blocking.
                pollfd wait{m_fd, POLLOUT, 0};
                ::poll(&wait, 1, -1);
                continue;
            }
            throw FileError::Failure(kWrite, m_path, errno);
        }
        data += n;
        size -= n;
    }
}

void OutputFile::Write(const char* data, qint64 size)
{
    if (m_done || m_fd < 0)
        throw FileError::Failure(kWrite, m_path, EBADF);
    if (m_mode != Mode::InPlace) {
        writeAll(data, size);
        if (m_mode == Mode::Replace) {
            // A big text starts on its way to the disk while more is written,
            // so that the sync at the end has little left to wait for. Only
            // the sync's answer counts; this one's is not needed.
            m_written += size;
            if (m_written - m_flushed >= kFlushStep) {
                ::sync_file_range(m_fd, off_t(m_flushed), off_t(m_written - m_flushed),
                                  SYNC_FILE_RANGE_WRITE);
                m_flushed = m_written;
                dropWrittenBack();
            }
        }
        return;
    }
    try {
        m_pending.append(data, size);
    } catch (const std::bad_alloc&) {
        throw FileError::Failure(kWrite, m_path, ENOMEM);
    }
}

void OutputFile::dropWrittenBack()
{
    // The pages well behind what is being written are let go once on disk:
    // a text of hundreds of megabytes then takes a few dozen megabytes of
    // the page cache, not the memory of files other programs keep cached,
    // and each new page is one just given back rather than fresh memory,
    // which a virtual machine is slow to hand out.
    constexpr qint64 kKept = qint64(32) << 20;
    if (m_flushed - m_dropped < kKept + kFlushStep)
        return;
    const qint64 upTo = m_flushed - kKept;
    // Waiting here takes the range's write error, if any, from the sync at
    // the end: it is reported now.
    if (::sync_file_range(m_fd, off_t(m_dropped), off_t(upTo - m_dropped),
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                              SYNC_FILE_RANGE_WAIT_AFTER) != 0) {
        if (errno == EINVAL || errno == ESPIPE)
            return; // nothing to write back here (not a regular file on disk)
        throw FileError::Failure(kWrite, m_path, errno);
    }
    ::posix_fadvise(m_fd, off_t(m_dropped), off_t(upTo - m_dropped), POSIX_FADV_DONTNEED);
    m_dropped = upTo;
}

void OutputFile::Sync()
{
    if (m_synced)
        return;
    if (m_done || m_fd < 0)
        throw FileError::Failure(kWrite, m_path, EBADF);
    if (m_mode == Mode::InPlace) {
        const qint64 size = m_pending.size();
        // Space for the whole text first, where the file system can promise
        // it: a full disk then fails before the old text is touched.
        if (size > 0 && ::fallocate(m_fd, 0, 0, off_t(size)) != 0 &&
            (errno == ENOSPC || errno == EFBIG || errno == EDQUOT))
            throw FileError::Failure(kWrite, m_path, errno);
        qint64 done = 0;
        while (done < size) {
            const ssize_t n =
                ::pwrite(m_fd, m_pending.constData() + done,
                         size_t(std::min<qint64>(size - done, qint64(1) << 30)), off_t(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw FileError::Failure(
                    kWrite, m_path,
                    FileError::Reason(errno) +
                        QCoreApplication::translate("FileError", " (the file now holds part of the "
                                                                 "new text)"));
            done += n;
        }
        if (::ftruncate(m_fd, off_t(size)) != 0)
            throw FileError::Failure(kWrite, m_path, errno);
        m_pending = QByteArray();
    }
    struct stat st;
    const bool regular = ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode);
    // A pipe or terminal has nothing to sync; a regular file must reach the disk.
    if (regular && ::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        throw FileError::Failure(kWrite, m_path, errno);
    m_synced = true;
}

void OutputFile::Commit()
{
    if (m_done)
        return;
    Sync();
    if (m_mode == Mode::Replace) {
        try {
            // After a stop signal no save starts its commit.
            if (!m_listed.StartCommit())
                throw FileError::Failure(
                    kWrite, m_path,
                    QCoreApplication::translate("FileError", "the save was stopped by a signal"));
            takeOldAttributes();
            if (m_temp.isEmpty())
                nameTemporary();
        } catch (...) {
            discard();
            throw;
        }
    }
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && errno != EINTR)
        throw FileError::Failure(kWrite, m_path, errno);
    if (m_mode == Mode::Replace) {
        // The old file is held across the rename and let go after it: a
        // rename that drops the last name of a big file frees its pages and
        // blocks while holding the folder, so lists replaced side by side
        // would wait for each other.
        const int old = ::open(m_target.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        const bool renamed = ::rename(m_temp.constData(), m_target.constData()) == 0;
        const int renameErr = errno;
        if (old >= 0)
            ::close(old);
        if (!renamed)
            throw FileError::Failure(kWrite, m_path, renameErr);
        m_temp.clear();
        m_listed.Unlist();
        // The rename itself is on disk only once the folder is synced.
        const int folder =
            ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            const int synced = ::fsync(folder);
            const int err = errno;
            ::close(folder);
            if (synced != 0 && err != EINVAL && err != EROFS)
                throw FileError::Failure(kWrite, m_path, err);
        }
    }
    m_done = true;
}
