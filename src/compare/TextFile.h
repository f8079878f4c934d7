#pragma once

#include "compare/ByteBuffer.h"
#include "compare/ReadOptions.h"

#include <QByteArray>
#include <QString>
#include <memory>

class CompareProgress;
class InputFile;

// The raw content of a text file as the loader found it.
struct FileContent
{
    enum class Kind
    {
        Missing, // no such file: reads as the empty text
        Empty,   // a file that opened and gave no bytes: reads as the text "empty file"
        Ansi,    // bytes in the 8-bit encoding (AnsiCodec)
        Utf16,   // 16-bit characters, low byte first
        Utf16BE  // 16-bit characters, high byte first (the file starts FE FF)
    };
    Kind kind = Kind::Missing;
    ByteBuffer bytes;
};

// The text that stands for a file of length 0.
inline QString EmptyFileText()
{
    return QStringLiteral("empty file");
}

// Reads a whole file, to its end whatever size the file system reports. A file
// that starts with the bytes FE FF is UTF-16 high byte first; any other whose
// first byte is 0xFF or 0xFE is UTF-16 low byte first; anything else the 8-bit
// encoding. Throws RuntimeError, naming the path and the reason, when the file
// exists but cannot be opened or read, or is not a regular file (unless
// read.streamInputs); nothing stays open afterwards. A big file is read
// 64 MiB at a time; with progress, CompareCancelled is thrown between reads,
// and while the buffer for them is made, once progress is cancelled.
FileContent ReadFileContent(const QString& path, const ReadOptions& read = {},
                            const CompareProgress* progress = nullptr);

// Reads as ReadFileContent does, but a regular file read from its start is
// mapped into memory rather than copied (ByteBuffer::MapFile): for a caller
// that is done with the bytes soon, and checks bytes.Unchanged() before it
// trusts what it made of them.
FileContent MapFileContent(const QString& path, const ReadOptions& read = {});

// A file read a piece at a time, for a caller that never needs all of it at
// once. A file in the 8-bit encoding with a line feed comes in pieces of whole
// lines, cut at line feeds, the line feed between two pieces belonging to
// neither; any other file (missing, empty, UTF-16, or without a line feed)
// comes whole, as ReadFileContent reads it. With read.lineEnds Nul, the same
// with NUL for line feed.
class PieceReader
{
public:
    struct Piece
    {
        FileContent content;
        bool wholeFile = false; // content is the whole file
        bool first = false;     // the file's first piece
    };

    // Opens path as ReadFileContent does, throwing as it does. Pieces are
    // about pieceBytes, less for a small file.
    PieceReader(const QString& path, qint64 pieceBytes, const ReadOptions& read = {});
    ~PieceReader();
    PieceReader(const PieceReader&) = delete;
    PieceReader& operator=(const PieceReader&) = delete;

    // Reads the next piece; false once the file is done. Throws RuntimeError
    // when the file cannot be read.
    bool Next(Piece& piece);

private:
    QString m_path;
    std::unique_ptr<InputFile> m_file;
    qint64 m_pieceBytes;
    char m_lineEnd;      // the byte pieces are cut at
    ByteBuffer m_carry;  // the bytes after the last line feed read so far
    qint64 m_offset = 0; // the bytes read from the file so far
    bool m_started = false, m_sawLineFeed = false, m_done = false;
};

// The content of a file as text: the empty text for a missing file, "empty
// file" for a file of length 0, else the decoded characters (a UTF-16 text
// keeps its byte-order mark).
QString ReadWholeFile(const QString& path);

// Decodes a UTF-16 byte sequence, low byte first unless bigEndian. A lone
// last byte becomes U+DC00 + the byte.
QString DecodeUtf16(const char* bytes, qint64 size, bool bigEndian = false);

// Whether a file of this kind holds 16-bit characters.
inline bool IsUtf16(FileContent::Kind kind)
{
    return kind == FileContent::Kind::Utf16 || kind == FileContent::Kind::Utf16BE;
}
