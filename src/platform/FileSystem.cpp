#include "platform/FileSystem.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>

namespace FileSystem {

namespace {

bool isRawByte(QChar c)
{
    return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
}

// The length of the UTF-8 sequence at bytes[i], or 0 where none starts: no
// overlong form, no surrogate, nothing past U+10FFFF.
qsizetype utf8Length(const QByteArray& bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return k < bytes.size() ? quint8(bytes[k]) : 0; };
    const auto follows = [&](qsizetype k) { return (at(k) & 0xC0) == 0x80; };
    const quint8 b = at(i);
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return follows(i + 1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const quint8 c = at(i + 1);
        if ((b == 0xE0 && c < 0xA0) || (b == 0xED && c >= 0xA0))
            return 0;
        return follows(i + 1) && follows(i + 2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const quint8 c = at(i + 1);
        if ((b == 0xF0 && c < 0x90) || (b == 0xF4 && c >= 0x90))
            return 0;
        return follows(i + 1) && follows(i + 2) && follows(i + 3) ? 4 : 0;
    }
    return 0;
}

bool statPath(const QString& path, struct stat& st)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = NativeName(path);
    // A NUL inside the path would silently cut it short.
    if (native.contains('\0'))
        return false;
    return ::stat(native.constData(), &st) == 0;
}

} // namespace

QByteArray NativeName(const QString& path)
{
    if (!HoldsRawBytes(path))
        return QFile::encodeName(path);
    QByteArray native;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isRawByte(path[i]))
            continue;
        native += QStringView(path).mid(from, i - from).toUtf8();
        if (i < path.size())
            native += char(path[i].unicode() - 0xDC00);
        from = i + 1;
    }
    return native;
}

QString NameFromNative(const QByteArray& native)
{
    QString name;
    qsizetype from = 0;
    for (qsizetype i = 0; i < native.size();) {
        const qsizetype length = utf8Length(native, i);
        if (length > 0) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(native.constData() + from, i - from);
        name += QChar(0xDC00 + quint8(native[i]));
        from = ++i;
    }
    return name + QString::fromUtf8(native.constData() + from, native.size() - from);
}

bool HoldsRawBytes(const QString& path)
{
    return std::any_of(path.begin(), path.end(), isRawByte);
}

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
