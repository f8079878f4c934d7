#include "platform/FileKind.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <climits>
#include <unistd.h>

namespace FileKind {

QString WhatItIs(mode_t mode)
{
    if (S_ISDIR(mode))
        return QCoreApplication::translate("FileError", "it is a folder");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("FileError", "it is a FIFO");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("FileError", "it is a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("FileError", "it is a device");
    return QCoreApplication::translate("FileError", "it is not a regular file");
}

namespace {

// The number at the end of prefix + digits, or -1.
int numberAfter(const QByteArray& path, const QByteArray& prefix)
{
    if (!path.startsWith(prefix) || path.size() == prefix.size() || path.size() - prefix.size() > 9)
        return -1;
    int number = 0;
    for (const char c : path.mid(prefix.size())) {
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

// Plain text work, no regular expression: both inputs are opened at once on
// two threads.
int descriptorSpelling(const QByteArray& path)
{
    if (path == "/dev/stdin")
        return 0;
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    for (const QByteArray& prefix :
         {QByteArrayLiteral("/dev/fd/"), QByteArrayLiteral("/proc/self/fd/"),
          QByteArrayLiteral("/proc/thread-self/fd/"),
          "/proc/" + QByteArray::number(qint64(::getpid())) + "/fd/"}) {
        const int fd = numberAfter(path, prefix);
        if (fd >= 0)
            return fd;
    }
    return -1;
}

} // namespace

namespace {

// The target of the symbolic link at path, relative to its folder; empty when
// path is no link.
QByteArray linkTarget(const QByteArray& path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return QByteArray();
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.constData(), target, sizeof target);
    if (n <= 0 || n >= ssize_t(sizeof target))
        return QByteArray();
    QByteArray next(target, n);
    if (!next.startsWith('/')) {
        const qsizetype slash = path.lastIndexOf('/');
        next = (slash < 0 ? QByteArray() : path.left(slash + 1)) + next;
    }
    return next;
}

} // namespace

int DescriptorOf(const QString& path)
{
    QByteArray current = FileSystem::NativeName(path);
    // Follow the last name's links, as open would, up to the system's limit.
    for (int hop = 0; hop < 40 && !current.isEmpty(); ++hop) {
        const int fd = descriptorSpelling(current);
        if (fd >= 0)
            return fd;
        current = linkTarget(current);
    }
    return -1;
}

QByteArray CreatedName(const QByteArray& path)
{
    QByteArray current = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray next = linkTarget(current);
        if (next.isEmpty())
            return current;
        current = next;
    }
    return path;
}

std::optional<FileId> IdentityOfDescriptor(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return FileId{quint64(st.st_dev), quint64(st.st_ino), QByteArray(), st.st_mode, st.st_rdev};
}

bool IsNullDevice(const FileId& id)
{
    struct stat null;
    return S_ISCHR(id.mode) && ::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode) &&
           id.special == null.st_rdev;
}

std::optional<FileId> IdentityOf(const QString& path)
{
    const int fd = DescriptorOf(path);
    if (fd >= 0)
        return IdentityOfDescriptor(fd);
    const QByteArray native = FileSystem::NativeName(path);
    if (native.isEmpty() || native.contains('\0'))
        return std::nullopt;
    struct stat st;
    if (::stat(native.constData(), &st) == 0)
        return FileId{quint64(st.st_dev), quint64(st.st_ino), QByteArray(), st.st_mode, st.st_rdev};
    const QByteArray created = CreatedName(native);
    const qsizetype slash = created.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : created.left(slash + 1);
    const QByteArray name = created.mid(slash + 1);
    if (name.isEmpty() || ::stat(folder.constData(), &st) != 0)
        return std::nullopt;
    return FileId{quint64(st.st_dev), quint64(st.st_ino), name, 0, 0};
}

} // namespace FileKind
