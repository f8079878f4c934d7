#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    if (path.isEmpty())
        return false;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        const QString folder = slash < 0 ? QStringLiteral(".") : path.left(slash + 1);
        QDir dir(folder);
        const auto entries = dir.entryInfoList({name}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& info : entries) {
            struct stat st;
            if (statPath(info.filePath(), st) && S_ISREG(st.st_mode))
                return true;
        }
        return false;
    }
    struct stat st;
    return statPath(path, st) && S_ISREG(st.st_mode);
}

} // namespace FileSystem
