#include "platform/FileSystem.h"

#include <QFile>
#include <sys/stat.h>

namespace FileSystem {

namespace {

bool statPath(const QString& path, struct stat& st)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(path);
    // A NUL inside the path would silently cut it short.
    if (native.contains('\0'))
        return false;
    return ::stat(native.constData(), &st) == 0;
}

} // namespace

bool FileExists(const QString& path)
{
    struct stat st;
    return statPath(path, st);
}

qint64 FileLength(const QString& path)
{
    struct stat st;
    if (!statPath(path, st))
        return -1;
    return qint64(st.st_size);
}

bool RegularFileLookup(const QString& path)
{
    // Taken as written: '*' and '?' are ordinary characters in a name here,
    // and the file is later read by this very name. A pattern that matched
    // some other file would pass the check and then read as missing.
    struct stat st;
    return statPath(path, st) && S_ISREG(st.st_mode);
}

} // namespace FileSystem
