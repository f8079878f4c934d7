#include "platform/PastedText.h"

#include "platform/FileError.h"
#include "platform/TestHook.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

QString& folderForTests()
{
    static QString folder;
    return folder;
}

// Closes a descriptor when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    // Closes it now; returns 0 or the errno.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Makes path and the folders above it that are missing, each one private.
void makeFolders(const QString& path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString at;
    for (const QString& part : parts) {
        at += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(at).constData(), 0700) != 0 && errno != EEXIST)
            throw FileError::Failure(QStringLiteral("create the folder"), at, errno);
    }
}

// Opens folder (inside parent) as a folder of this user's alone: never
// through a symbolic link, never one another user owns, and one that others
// may enter or write is made private first.
int openPrivateFolder(const QString& folder)
{
    const QFileInfo info(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    const QString parent = info.absolutePath();
    makeFolders(parent);
    const Descriptor parentFd(
        ::open(QFile::encodeName(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parentFd.get() < 0)
        throw FileError::Failure(QStringLiteral("open the folder"), parent, errno);
    // In a folder others may write and that is not sticky, another user could
    // swap the folder for theirs after it was checked.
    struct stat above;
    if (::fstat(parentFd.get(), &above) != 0)
        throw FileError::Failure(QStringLiteral("open the folder"), parent, errno);
    if ((above.st_mode & (S_IWGRP | S_IWOTH)) && !(above.st_mode & S_ISVTX) &&
        above.st_uid != ::geteuid())
        throw FileError::Failure(
            QStringLiteral("use the folder"), parent,
            QCoreApplication::translate("FileError", "other users may change it"));
    const QByteArray name = QFile::encodeName(info.fileName());
    if (::mkdirat(parentFd.get(), name.constData(), 0700) != 0 && errno != EEXIST)
        throw FileError::Failure(QStringLiteral("create the folder"), info.filePath(), errno);
    const int fd =
        ::openat(parentFd.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        struct stat st;
        if (::fstatat(parentFd.get(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(st.st_mode))
            throw FileError::Failure(
                QStringLiteral("use the folder"), info.filePath(),
                QCoreApplication::translate("FileError", "it is a symbolic link"));
        throw FileError::Failure(QStringLiteral("open the folder"), info.filePath(), err);
    }
    Descriptor folderFd(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw FileError::Failure(QStringLiteral("open the folder"), info.filePath(), errno);
    if (st.st_uid != ::geteuid())
        throw FileError::Failure(
            QStringLiteral("use the folder"), info.filePath(),
            QCoreApplication::translate("FileError", "it belongs to another user"));
    if ((st.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        throw FileError::Failure(QStringLiteral("restrict the folder"), info.filePath(), errno);
    return folderFd.release();
}

} // namespace

namespace PastedText {

QString Folder()
{
    if (!folderForTests().isEmpty())
        return folderForTests();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/pasted");
}

void SetFolderForTests(const QString& folder)
{
    folderForTests() = folder;
}

QString Save(const QString& folder, int field, const QByteArray& bytes)
{
    if (folder.isEmpty())
        throw RuntimeError(QCoreApplication::translate(
            "FileError", "There is no cache folder to keep the pasted text in."));
    const Descriptor folderFd(openPrivateFolder(folder));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name, path;
    int fd = -1;
    // O_EXCL never follows a link planted under the name, nor opens a file
    // that is there already: the next name is tried.
    for (int attempt = 1; fd < 0; ++attempt) {
        name = QStringLiteral("pasted-%1-%2%3.txt")
                   .arg(field)
                   .arg(stamp, attempt > 1 ? QStringLiteral("-%1").arg(attempt) : QString());
        path = QDir(folder).filePath(name);
        fd = ::openat(folderFd.get(), QFile::encodeName(name).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            throw FileError::Failure(QStringLiteral("create"), path, errno);
    }
    Descriptor file(fd);
    int err = 0;
    for (qsizetype done = 0; done < bytes.size() && err == 0;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            err = errno;
    }
    const int closed = file.close();
    if (err == 0)
        err = closed;
    if (err != 0) {
        ::unlinkat(folderFd.get(), QFile::encodeName(name).constData(), 0);
        throw FileError::Failure(QStringLiteral("write"), path, err);
    }
    return path;
}

} // namespace PastedText
