#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Writes bytes to a file in dir and returns its path.
inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

// Writes bytes to path and returns it.
inline QString writeFileAt(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// The number of file descriptors this process holds open.
inline int openDescriptorCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

// Lowers the open-file limit to what is open now, so that the next open fails
// even for root; restores it when it goes.
class NoMoreFiles
{
public:
    NoMoreFiles()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        // A new descriptor takes the lowest free number; allow none from there on.
        int lowestFree = 0;
        while (fcntl(lowestFree, F_GETFD) != -1)
            ++lowestFree;
        rlimit tight = m_saved;
        tight.rlim_cur = rlim_t(lowestFree);
        setrlimit(RLIMIT_NOFILE, &tight);
    }
    ~NoMoreFiles() { setrlimit(RLIMIT_NOFILE, &m_saved); }

private:
    rlimit m_saved;
};

// Permission bits stop root from nothing, so a case about a file that may not
// be read or written runs as another user when the tests run as root. Any other
// user is bound by the bits already and runs such a case as itself.
inline bool changesUserForPermissions()
{
    return ::geteuid() == 0;
}

// The user, if any, that a case about permissions changes to.
constexpr uid_t kUnprivilegedUser = 65534;

// True when this process can open path for reading (not access(), which leaves
// out the capabilities of a user other than root).
inline bool opensForReading(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Skips the current case unless path is now out of reach for the user the case
// runs as (after changing user, when it does).
#define SKIP_UNLESS_UNREADABLE(path)                                                               \
    do {                                                                                           \
        if (!changesUserForPermissions() && opensForReading(path))                                 \
            QSKIP("permission bits do not stop this user, and changing user needs root");          \
    } while (false)

// Runs as an unprivileged user while it lives (the effective user only, so
// the process can come back), so that permission bits count even for root.
// Run by any other user, it changes nothing.
class AsUnprivilegedUser
{
public:
    AsUnprivilegedUser()
    {
        m_ok = changesUserForPermissions() && ::seteuid(kUnprivilegedUser) == 0;
    }
    ~AsUnprivilegedUser()
    {
        if (m_ok && ::seteuid(0) != 0)
            qFatal("cannot return to the original user");
    }

private:
    bool m_ok = false;
};
