#pragma once

#include "ByteBuffer.h"

#include <QByteArray>
#include <QString>

// The raw content of a text file as the loader found it.
struct FileContent
{
    enum class Kind
    {
        Missing, // no such file: reads as the empty text
        Empty,   // a file of length 0: reads as the text "empty file"
        Ansi,    // bytes in the 8-bit encoding (AnsiCodec)
        Utf16    // 16-bit characters, low byte first
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
// whose first byte is 0xFF or 0xFE is UTF-16, anything else the 8-bit
// encoding. Throws RuntimeError, naming the path and the reason, when the file
// exists but cannot be opened or read, or is not a regular file (unless stream
// inputs are accepted); nothing stays open afterwards.
FileContent ReadFileContent(const QString& path);

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
