#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// Starts words[0] with SIGINT, SIGTERM, SIGHUP and SIGXFSZ at their defaults
// and no signal blocked, as from a fresh shell, whatever this process does
// with them; settings ("NAME=value") replace or add to the environment.
// Returns the process id, or -1.
inline pid_t startWithDefaultSignals(QList<QByteArray> words, QList<QByteArray> settings = {})
{
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (QByteArray& setting : settings)
        envp.push_back(setting.data());
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray entryText(*entry);
        const QByteArray name = entryText.left(entryText.indexOf('=') + 1);
        bool replaced = false;
        for (const QByteArray& setting : settings)
            replaced = replaced || setting.startsWith(name);
        if (!replaced)
            envp.push_back(*entry);
    }
    envp.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ})
        sigaddset(&defaults, signal);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    return pid;
}

// Waits up to a minute for the child pid to end; its wait status, or -1
// (it is then killed).
inline int waitForEnd(pid_t pid)
{
    for (int waited = 0; waited < 60000; waited += 5) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return status;
        QThread::msleep(5);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}
