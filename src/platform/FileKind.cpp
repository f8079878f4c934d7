#include "FileKind.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <climits>
#include <unistd.h>

namespace FileKind {

QString WhatItIs(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device");
    return QStringLiteral("it is not a regular file");
}

namespace {

int descriptorSpelling(const QByteArray& path)
{
    if (path == "/dev/stdin")
        return 0;
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    static const QRegularExpression pattern(
        QStringLiteral("^(?:/dev/fd|/proc/(?:self|thread-self|(\\d+))/fd)/(\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(path));
    if (!match.hasMatch())
        return -1;
    if (match.hasCaptured(1) && match.captured(1).toLongLong() != qint64(::getpid()))
        return -1;
    return match.captured(2).toInt();
}

} // namespace

int DescriptorOf(const QString& path)
{
    QByteArray current = QFile::encodeName(path);
    // Follow the last name's links, as open would, up to the system's limit.
    for (int hop = 0; hop < 40; ++hop) {
        const int fd = descriptorSpelling(current);
        if (fd >= 0)
            return fd;
        struct stat st;
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return -1;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.constData(), target, sizeof target);
        if (n <= 0 || n >= ssize_t(sizeof target))
            return -1;
        QByteArray next(target, n);
        if (!next.startsWith('/')) {
            const qsizetype slash = current.lastIndexOf('/');
            next = (slash < 0 ? QByteArray() : current.left(slash + 1)) + next;
        }
        current = next;
    }
    return -1;
}

} // namespace FileKind
