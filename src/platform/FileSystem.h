#pragma once

#include <QString>

// The file facilities the program takes from the system.
namespace FileSystem {

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
