#pragma once

#include "ByteBuffer.h"

#include <QByteArray>
#include <QString>

// What tells whether a file is still the one read before: its identity and
// the times and size the file system reports.
struct FileIdentity
{
    quint64 device = 0, inode = 0;
    qint64 size = 0, modified = 0, changed = 0; // times in nanoseconds

    bool operator==(const FileIdentity&) const = default;
};

// The raw content of a text file as the loader found it.
struct FileContent
{
    enum class Kind
    {
        Missing,  // no such file: reads as the empty text
        Empty,    // a file of length 0: reads as the text "empty file"
        Ansi,     // bytes in the 8-bit encoding (AnsiCodec)
        Utf16,    // 16-bit characters, low byte first
        Unchanged // the file is the one the caller already holds; nothing was read
    };
    Kind kind = Kind::Missing;
    ByteBuffer bytes;
    FileIdentity identity;
};

// The text that stands for a file of length 0.
inline QString EmptyFileText()
{
    return QStringLiteral("empty file");
}

// Reads a whole file, to its end whatever size the file system reports. A file
// whose first byte is 0xFF or 0xFE is UTF-16, anything else the 8-bit
// encoding. Throws RuntimeError, naming the path and the reason, when the file
// exists but cannot be opened or read, or is not a regular file (unless stream
// inputs are accepted); nothing stays open afterwards. When known is given and the opened file
// still matches it, the result is Unchanged and nothing is read.
FileContent ReadFileContent(const QString& path, const FileIdentity* known = nullptr);

// Whether inputs may also be pipes, FIFOs and devices, read once to their end
// (the command-line companion's). Off, only regular files are read, so a FIFO
// put in a file's place never stops the program.
void SetStreamInputsAccepted(bool accepted);

// The content of a file as text: the empty text for a missing file, "empty
// file" for a file of length 0, else the decoded characters (a UTF-16 text
// keeps its byte-order mark).
QString ReadWholeFile(const QString& path);

// Decodes a UTF-16 (low byte first) byte sequence.
QString DecodeUtf16(const char* bytes, qint64 size);
