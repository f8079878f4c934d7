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

// Runs as an unprivileged user while it lives (the effective user only, so
// the process can come back), so that permission bits count even for root.
class AsUnprivilegedUser
{
public:
    AsUnprivilegedUser() { m_ok = ::seteuid(65534) == 0; }
    ~AsUnprivilegedUser()
    {
        if (m_ok && ::seteuid(0) != 0)
            qFatal("cannot return to the original user");
    }

private:
    bool m_ok = false;
};
