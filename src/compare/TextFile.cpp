#include "compare/TextFile.h"

#include "compare/CompareProgress.h"
#include "platform/AnsiCodec.h"
#include "platform/RuntimeError.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/InputFile.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How much one read asks for: between reads, Cancel is looked at.
constexpr qint64 kReadStep = qint64(64) << 20;

// Reads from file to its end into buffer, which holds done bytes already;
// stops with CompareCancelled between reads once progress is cancelled.
qint64 readToEnd(InputFile& file, const QString& path, ByteBuffer& buffer, qint64 done,
                 const CompareProgress* progress = nullptr)
{
    for (;;) {
        if (progress)
            progress->ThrowIfCancelled();
        if (done == buffer.size()) {
            // More than the file system reported (a /proc file, a pipe, a file
            // still growing): the buffer grows by what it holds, 64 MiB at
            // most, without its bytes being copied.
            try {
                buffer.Grow(done + std::clamp(done, qint64(64) << 10, kReadStep));
            } catch (const std::bad_alloc&) {
                throw RuntimeError(QCoreApplication::translate(
                                       "TextFile", "Not enough memory to read %1 (over %2 bytes)")
                                       .arg(FileError::QuotedName(path))
                                       .arg(done));
            }
        }
        const qint64 n = file.Read(buffer.data() + done, std::min(buffer.size() - done, kReadStep));
        if (n == 0)
            return done;
        done += n;
    }
}

// Opens path for reading; null for a file that is not there (Missing). A file
// that is there but does not open throws, whatever size it reports: /proc/1/mem
// reports 0 and is no empty file. Only a file that opens and gives no bytes is.
std::unique_ptr<InputFile> openInput(const QString& path, const ReadOptions& read)
{
    const QByteArray native = FileSystem::NativeName(path);
    if (path.isEmpty() || native.contains('\0'))
        return nullptr;
    struct stat st;
    // A folder on the way that may not be searched hides a file that may be
    // there: the open says why it cannot be read.
    if (::stat(native.constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return nullptr;
    return std::make_unique<InputFile>(path, read.streamInputs ? InputFile::Accept::AnyFile
                                                               : InputFile::Accept::RegularFile);
}

RuntimeError outOfMemory(const QString& path, qint64 size)
{
    return RuntimeError(
        QCoreApplication::translate("TextFile", "Not enough memory to read %1 (%2 bytes)")
            .arg(FileError::QuotedName(path))
            .arg(size));
}

// A buffer for size bytes of path; a big one stops coming once progress is cancelled.
ByteBuffer bufferFor(const QString& path, qint64 size, const CompareProgress* progress = nullptr)
{
    try {
        if (progress)
            return ByteBuffer(size, false, [progress] { progress->ThrowIfCancelled(); });
        return ByteBuffer(size);
    } catch (const std::bad_alloc&) {
        throw outOfMemory(path, size);
    }
}

// Whether a file that starts with this byte is UTF-16: a byte-order mark
// starts with 0xFF (low byte first) or 0xFE (high byte first, FE FF); a first
// byte of 0xFE not followed by 0xFF is read low byte first, as it always was.
// Any other first byte is the 8-bit encoding's.
bool startsUtf16(char first)
{
    const auto byte = static_cast<unsigned char>(first);
    return byte == 0xFF || byte == 0xFE;
}

// The kind of a file read whole, by its bytes.
void classify(FileContent& content)
{
    if (content.bytes.isEmpty()) {
        content.kind = FileContent::Kind::Empty;
        return;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.bytes.data());
    if (!startsUtf16(content.bytes.data()[0]))
        content.kind = FileContent::Kind::Ansi;
    else if (content.bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        content.kind = FileContent::Kind::Utf16BE;
    else
        content.kind = FileContent::Kind::Utf16;
}

// The rest of an open file, from where it stands, in a buffer sized by the
// size it reports (one byte more, to see the end at once); reading goes on to
// the end of the file whatever it said.
ByteBuffer readRest(InputFile& file, const QString& path, const CompareProgress* progress = nullptr)
{
    const qint64 reported = file.IsRegular() ? qint64(file.Status().st_size) : 0;
    ByteBuffer bytes = bufferFor(path, reported + 1, progress);
    bytes.truncate(readToEnd(file, path, bytes, 0, progress));
    return bytes;
}

} // namespace

FileContent ReadFileContent(const QString& path, const ReadOptions& read,
                            const CompareProgress* progress)
{
    FileContent content;
    std::unique_ptr<InputFile> file = openInput(path, read);
    if (!file)
        return content;
    content.bytes = readRest(*file, path, progress);
    classify(content);
    return content;
}

FileContent MapFileContent(const QString& path, const ReadOptions& read)
{
    FileContent content;
    std::unique_ptr<InputFile> file = openInput(path, read);
    if (!file)
        return content;
    const qint64 reported = file->IsRegular() ? qint64(file->Status().st_size) : 0;
    // A descriptor handed over part read is read on from where it stands.
    if (reported > 0 && ::lseek(file->Descriptor(), 0, SEEK_CUR) == 0) {
        content.bytes = ByteBuffer::MapFile(file->Descriptor(), reported);
        // UTF-16 is decoded whole into text at once: read, as the copy is made anyway.
        classify(content);
        if (IsUtf16(content.kind))
            content.bytes = ByteBuffer();
    }
    if (content.bytes.isEmpty())
        content.bytes = readRest(*file, path);
    classify(content);
    return content;
}

PieceReader::PieceReader(const QString& path, qint64 pieceBytes, const ReadOptions& read)
    : m_path(path), m_pieceBytes(std::max<qint64>(pieceBytes, 1)),
      m_lineEnd(read.lineEnds == ReadOptions::LineEnds::Nul ? '\0' : '\n')
{
    m_file = openInput(path, read);
    if (!m_file) {
        m_done = true; // missing: no lines, not even one piece
        return;
    }
    // A small file in smaller pieces (a sixteenth, 64 KiB at least): the
    // pieces in hand at once are a small part of it too.
    if (m_file->IsRegular())
        m_pieceBytes = std::min(m_pieceBytes,
                                std::max<qint64>(m_file->Status().st_size / 16, qint64(64) << 10));
}

PieceReader::~PieceReader() = default;

bool PieceReader::Next(Piece& piece)
{
    if (m_done)
        return false;
    piece = Piece();
    piece.first = !m_started;
    m_started = true;
    ByteBuffer buffer = bufferFor(m_path, m_carry.size() + m_pieceBytes);
    qint64 filled = m_carry.size();
    if (filled > 0)
        std::memcpy(buffer.data(), m_carry.data(), size_t(filled));
    m_carry = ByteBuffer();
    // The carry has no line feed: only the bytes read after it are looked through.
    qint64 looked = filled;
    for (;;) {
        const qint64 n = m_file->Read(buffer.data() + filled, buffer.size() - filled);
        filled += n;
        m_offset += n;
        if (piece.first && filled > 0 && startsUtf16(buffer.data()[0])) {
            // UTF-16: its line feeds are two bytes, so it is read whole.
            m_done = true;
            piece.wholeFile = true;
            piece.content.bytes = std::move(buffer);
            piece.content.bytes.truncate(readToEnd(*m_file, m_path, piece.content.bytes, filled));
            classify(piece.content);
            return true;
        }
        if (n == 0) {
            // The end: the rest is the last piece, or the whole file when it
            // has no line feed at all. A NUL ends its line, so nothing after
            // the last one is no line at all.
            m_done = true;
            if (filled == 0 && m_sawLineFeed && m_lineEnd == '\0')
                return false;
            // A piece's lines are joined by their ends, so the NUL that
            // ends the last line is no part of it.
            if (m_sawLineFeed && m_lineEnd == '\0' && buffer.data()[filled - 1] == '\0')
                --filled;
            buffer.truncate(filled);
            piece.wholeFile = !m_sawLineFeed;
            piece.content.bytes = std::move(buffer);
            if (piece.wholeFile)
                classify(piece.content);
            else
                piece.content.kind = FileContent::Kind::Ansi;
            return true;
        }
        if (filled < buffer.size())
            continue;
        const void* last = ::memrchr(buffer.data() + looked, m_lineEnd, size_t(filled - looked));
        if (last) {
            const qint64 cut = static_cast<const char*>(last) - buffer.data();
            m_sawLineFeed = true;
            m_carry = bufferFor(m_path, filled - cut - 1);
            if (filled - cut - 1 > 0)
                std::memcpy(m_carry.data(), buffer.data() + cut + 1, size_t(filled - cut - 1));
            buffer.truncate(cut);
            piece.content.kind = FileContent::Kind::Ansi;
            piece.content.bytes = std::move(buffer);
            return true;
        }
        // No line feed in all of it yet: a line longer than a piece, or a
        // file without any. The buffer grows by a piece, or by what is left
        // of a regular file when that is less, its bytes not copied: a long
        // line costs its own size and a piece at most.
        looked = filled;
        const qint64 left = m_file->IsRegular() ? qint64(m_file->Status().st_size) - m_offset : -1;
        const qint64 step = left >= 0 ? std::min(m_pieceBytes, left + 1) : m_pieceBytes;
        try {
            buffer.Grow(filled + step);
        } catch (const std::bad_alloc&) {
            throw outOfMemory(m_path, filled + step);
        }
    }
}

QString DecodeUtf16(const char* bytes, qint64 size, bool bigEndian)
{
    const qsizetype pairs = size / 2;
    const bool odd = size % 2 != 0;
    QString text(pairs + (odd ? 1 : 0), Qt::Uninitialized);
    auto* dst = reinterpret_cast<char16_t*>(text.data());
    auto* src = reinterpret_cast<const unsigned char*>(bytes);
    const int high = bigEndian ? 0 : 1; // which byte of a pair is the high one
    for (qsizetype i = 0; i < pairs; ++i)
        dst[i] = char16_t((src[2 * i + high] << 8) | src[2 * i + 1 - high]);
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
    case FileContent::Kind::Utf16BE:
        return DecodeUtf16(content.bytes.data(), content.bytes.size(),
                           content.kind == FileContent::Kind::Utf16BE);
    case FileContent::Kind::Ansi:
        break;
    }
    return AnsiCodec::Decode(QByteArrayView(content.bytes.data(), content.bytes.size()));
}
