#include "platform/TemporaryFolder.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/TemporaryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString TemporaryFolder::DefaultParent()
{
    const QByteArray tmp = qgetenv("TMPDIR");
    return tmp.isEmpty() ? QStringLiteral("/tmp") : QString::fromLocal8Bit(tmp);
}

TemporaryFolder::TemporaryFolder(const QString& parent)
{
    const QString under = parent.isEmpty() ? DefaultParent() : parent;
    QByteArray name = FileSystem::NativeName(QDir::cleanPath(under)) + "/quillmark-XXXXXX";
    // mkdtemp makes a fresh name, 0700, and fails rather than reuse one.
    if (!::mkdtemp(name.data()))
        throw RuntimeError(QCoreApplication::translate("TemporaryFolder",
                                                       "Cannot make a temporary folder in %1: %2")
                               .arg(FileError::QuotedName(under), reason(errno)));
    m_native = name;
    m_path = FileSystem::NameFromNative(name);
    m_slot = TemporaryFiles::ListFolder(m_native);
}

TemporaryFolder::~TemporaryFolder()
{
    TemporaryFiles::UnlistFolder(m_slot);
    TemporaryFiles::RemoveFolder(m_native.constData());
}

int TemporaryFolder::Create(const QByteArray& name) const
{
    const QByteArray path = m_native + '/' + name;
    const int fd =
        ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        ThrowWriteFailure(errno);
    return fd;
}

void TemporaryFolder::Remove(const QByteArray& name) const
{
    ::unlink((m_native + '/' + name).constData());
}

qint64 TemporaryFolder::FreeBytes() const
{
    struct statvfs fs
    {
    };
    if (::statvfs(m_native.constData(), &fs) != 0)
        return -1;
    return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

void TemporaryFolder::ThrowWriteFailure(int error) const
{
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        throw RuntimeError(QCoreApplication::translate(
                               "TemporaryFolder",
                               "There is no room left in the temporary folder %1 (%2); nothing was "
                               "saved.")
                               .arg(FileError::QuotedName(m_path), reason(error)));
    throw RuntimeError(QCoreApplication::translate("TemporaryFolder",
                                                   "Cannot write in the temporary folder %1: %2")
                           .arg(FileError::QuotedName(m_path), reason(error)));
}

SpillWriter::SpillWriter(const TemporaryFolder& folder, const QByteArray& name, qint64 bufferBytes)
    : m_folder(folder), m_name(name), m_fd(folder.Create(name))
{
    m_buffer.reserve(qsizetype(bufferBytes));
}

SpillWriter::~SpillWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void SpillWriter::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_folder.Remove(m_name);
    m_buffer = QByteArray();
}

void SpillWriter::writeOut(QByteArrayView bytes)
{
    const char* at = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t wrote = ::write(m_fd, at, size_t(left));
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            m_folder.ThrowWriteFailure(errno);
        }
        if (wrote == 0)
            m_folder.ThrowWriteFailure(ENOSPC);
        at += wrote;
        left -= wrote;
        m_written += wrote;
    }
}

void SpillWriter::flushFor(QByteArrayView bytes)
{
    writeOut(m_buffer);
    m_buffer.resize(0);
    if (bytes.size() >= m_buffer.capacity())
        writeOut(bytes);
    else
        m_buffer.append(bytes);
}

qint64 SpillWriter::Flush()
{
    writeOut(m_buffer);
    m_buffer.resize(0);
    return m_written;
}

SpillReader::SpillReader(const TemporaryFolder& folder, int fd, qint64 from, qint64 to,
                         qint64 bufferBytes)
    : m_folder(&folder), m_fd(fd), m_next(from), m_to(to), m_bufferBytes(bufferBytes)
{
}

QByteArrayView SpillReader::Take(qint64 bytes)
{
    const qsizetype have = m_buffer.size() - m_at;
    if (have < bytes) {
        // What is left moves to the front, then the buffer fills past it.
        m_buffer.remove(0, m_at);
        m_at = 0;
        const qint64 want = std::min(std::max(bytes - have, m_bufferBytes), m_to - m_next);
        if (want < bytes - have)
            throw RuntimeError(
                QCoreApplication::translate("TemporaryFolder",
                                            "A file in the temporary folder %1 was cut short.")
                    .arg(FileError::QuotedName(m_folder->Path())));
        const qsizetype kept = m_buffer.size();
        m_buffer.resize(kept + qsizetype(want));
        for (qint64 got = 0; got < want;) {
            const ssize_t n =
                ::pread(m_fd, m_buffer.data() + kept + got, size_t(want - got), m_next);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw RuntimeError(
                    QCoreApplication::translate("TemporaryFolder",
                                                "Cannot read the temporary folder %1: %2")
                        .arg(FileError::QuotedName(m_folder->Path()), reason(n < 0 ? errno : EIO)));
            got += n;
            m_next += n;
        }
    }
    const QByteArrayView out(m_buffer.constData() + m_at, bytes);
    m_at += qsizetype(bytes);
    return out;
}
