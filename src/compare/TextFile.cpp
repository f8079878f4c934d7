#include "TextFile.h"

#include "AnsiCodec.h"
#include "FileSystem.h"
#include "RuntimeError.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// Closes the descriptor on every way out.
struct FdGuard
{
    int fd;
    ~FdGuard()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

FileContent ReadFileContent(const QString& path, const FileIdentity* known)
{
    FileContent content;
    if (!FileSystem::FileExists(path))
        return content;
    if (FileSystem::FileLength(path) <= 0) {
        content.kind = FileContent::Kind::Empty;
        return content;
    }

    FdGuard file{::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        throw RuntimeError(QStringLiteral("Cannot open \"%1\": %2").arg(path, reason(errno)));
    struct stat st;
    if (::fstat(file.fd, &st) != 0)
        throw RuntimeError(QStringLiteral("Cannot read \"%1\": %2").arg(path, reason(errno)));

    content.identity = {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
                        qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                        qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
    if (known && *known == content.identity) {
        content.kind = FileContent::Kind::Unchanged;
        return content;
    }

    // The length asked of the file system decides how much is read; a file
    // that shrinks meanwhile gives what it still holds.
    const qint64 length = qint64(st.st_size);
    try {
        content.bytes = ByteBuffer(length);
    } catch (const std::bad_alloc&) {
        throw RuntimeError(
            QStringLiteral("Not enough memory to read \"%1\" (%2 bytes)").arg(path).arg(length));
    }
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::read(file.fd, content.bytes.data() + done,
                                 size_t(std::min<qint64>(length - done, qint64(1) << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw RuntimeError(QStringLiteral("Cannot read \"%1\": %2").arg(path, reason(errno)));
        }
        if (n == 0)
            break;
        done += n;
    }
    content.bytes.truncate(done);
    if (content.bytes.isEmpty()) {
        content.kind = FileContent::Kind::Empty;
        return content;
    }
    const auto first = static_cast<unsigned char>(content.bytes.data()[0]);
    content.kind =
        (first == 0xFF || first == 0xFE) ? FileContent::Kind::Utf16 : FileContent::Kind::Ansi;
    return content;
}

QString DecodeUtf16(const char* bytes, qint64 size)
{
    const qsizetype pairs = size / 2;
    const bool odd = size % 2 != 0;
    QString text(pairs + (odd ? 1 : 0), Qt::Uninitialized);
    auto* dst = reinterpret_cast<char16_t*>(text.data());
    auto* src = reinterpret_cast<const unsigned char*>(bytes);
    for (qsizetype i = 0; i < pairs; ++i)
        dst[i] = char16_t(src[2 * i] | (src[2 * i + 1] << 8));
    // A lone last byte forms no character; it becomes U+DC00 + byte, so it stays
    // distinct and, when it is 0x80 or above, is written back as the same byte.
    if (odd)
        dst[pairs] = char16_t(0xDC00 + src[size - 1]);
    return text;
}

QString ReadWholeFile(const QString& path)
{
    const FileContent content = ReadFileContent(path);
    switch (content.kind) {
    case FileContent::Kind::Missing:
        return QString();
    case FileContent::Kind::Empty:
        return EmptyFileText();
    case FileContent::Kind::Utf16:
        return DecodeUtf16(content.bytes.data(), content.bytes.size());
    case FileContent::Kind::Ansi:
    case FileContent::Kind::Unchanged:
        break;
    }
    return AnsiCodec::Decode(QByteArrayView(content.bytes.data(), content.bytes.size()));
}
