#pragma once

#include <QByteArray>
#include <QString>

// The file facilities the program takes from the system.
namespace FileSystem {

// A name as the system holds it, from a QString and back. Bytes that are not
// UTF-8 are kept as lone surrogates U+DC80..U+DCFF (no UTF-8 text decodes to
// one), so that any name given on a command line opens the file it names.
// Every other name is its UTF-8 form, as QFile::encodeName gives it.
QByteArray NativeName(const QString& path);
QString NameFromNative(const QByteArray& native);
// Whether a name holds such a byte.
bool HoldsRawBytes(const QString& path);

// True when the file system can report the path's modification time (stat
// succeeds). The empty path is false. Never throws.
bool FileExists(const QString& path);

// The size of the file in bytes as the file system reports it (64-bit, so a
// file over 2 GiB is not mistaken for an empty one); -1 when it cannot tell.
qint64 FileLength(const QString& path);

// The file-name lookup by name for ordinary files: true when the path names a
// regular file (not a folder, device, FIFO or socket). The path is taken as
// written: '*' and '?' match nothing, they are part of the name.
bool RegularFileLookup(const QString& path);

} // namespace FileSystem
