#include "TextFile.h"

#include "AnsiCodec.h"
#include "FileSystem.h"
#include "RuntimeError.h"

#include "FileError.h"
#include "InputFile.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace {

std::atomic<bool> streamInputs{false};

// Reads from file to its end into buffer, which holds done bytes already.
qint64 readToEnd(InputFile& file, const QString& path, ByteBuffer& buffer, qint64 done)
{
    for (;;) {
        if (done == buffer.size()) {
            // More than the file system reported (a /proc file, a pipe, a file
            // still growing): move to a buffer twice the size.
            const qint64 bigger = std::max<qint64>(qint64(64) << 10, buffer.size() * 2);
            ByteBuffer next;
            try {
                next = ByteBuffer(bigger);
            } catch (const std::bad_alloc&) {
                throw RuntimeError(QStringLiteral("Not enough memory to read %1 (over %2 bytes)")
                                       .arg(FileError::QuotedName(path))
                                       .arg(done));
            }
            if (done > 0)
                std::memcpy(next.data(), buffer.data(), size_t(done));
            buffer = std::move(next);
        }
        const qint64 n = file.Read(buffer.data() + done, buffer.size() - done);
        if (n == 0)
            return done;
        done += n;
    }
}

} // namespace

void SetStreamInputsAccepted(bool accepted)
{
    streamInputs = accepted;
}

FileContent ReadFileContent(const QString& path)
{
    FileContent content;
    struct stat st;
    const QByteArray native = QFile::encodeName(path);
    if (!FileSystem::FileExists(path) || ::stat(native.constData(), &st) != 0)
        return content;

    std::optional<InputFile> file;
    try {
        file.emplace(path,
                     streamInputs ? InputFile::Accept::AnyFile : InputFile::Accept::RegularFile);
    } catch (const RuntimeError&) {
        // A file of length 0 reads as "empty file" without being opened.
        if (S_ISREG(st.st_mode) && st.st_size == 0) {
            content.kind = FileContent::Kind::Empty;
            return content;
        }
        throw;
    }

    // The reported size sizes the buffer (one byte more, to see the end at
    // once), but reading goes on to the end of the file whatever it said.
    const qint64 reported = file->IsRegular() ? qint64(file->Status().st_size) : 0;
    try {
        content.bytes = ByteBuffer(reported + 1);
    } catch (const std::bad_alloc&) {
        throw RuntimeError(QStringLiteral("Not enough memory to read %1 (%2 bytes)")
                               .arg(FileError::QuotedName(path))
                               .arg(reported));
    }
    content.bytes.truncate(readToEnd(*file, path, content.bytes, 0));
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
        break;
    }
    return AnsiCodec::Decode(QByteArrayView(content.bytes.data(), content.bytes.size()));
}
