#include "TestSupport.h"

#include <QProcess>
#include <QtTest>
#include <csignal>
#include <functional>
#include <poll.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

struct Run
{
    int status;
    QByteArray out;
    QByteArray err;
};

// Runs the companion; asUser drops the child to an unprivileged user first, so
// that permission bits count even when the tests run as root.
Run runCompanion(const QStringList& arguments, bool asUser = false)
{
    QProcess process;
    if (asUser) {
        process.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
    }
    process.start(QStringLiteral(QUILLMARK_BINARY_DIR "/quillmark-compare"), arguments);
    if (!process.waitForFinished(60000))
        qFatal("quillmark-compare did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// One hostile case: the scene it sets up, how the companion is run in it, and
// what must hold afterwards.
struct Scene
{
    QString dir;                        // the case's own folder
    QString a, b;                       // the two inputs, FILE1 and FILE2
    QStringList arguments;              // the companion's, unless shell is set
    QString shell;                      // a bash command line run in dir; $Q is the companion
    QString stdoutFile;                 // standard output appended to this file
    QByteArray stdinBytes;              // written to standard input
    bool asUser = false;                // run as an unprivileged user
    rlim_t fileSizeLimit = 0;           // RLIMIT_FSIZE for the child, 0 for none
    std::vector<std::jthread> partners; // the other ends of FIFOs
    QByteArray partnerGot;              // what a reading partner received
    QString skipped;                    // set when the case cannot run here
    QString mounted;                    // a tmpfs to take away afterwards
    QByteArray expectOut;               // standard output, when it is checked

    QString path(const QString& name) const { return dir + QLatin1Char('/') + name; }
};
using Step = std::function<void(Scene&)>;

bool isRoot()
{
    return ::geteuid() == 0;
}

// Mounts a 64 KiB tmpfs on folder when permitted; then, with everything but
// about 4 KiB filled, a list larger than that finds the disk full.
bool mountNearlyFull(const QString& folder)
{
    if (!isRoot() ||
        ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
        return false;
    struct statvfs fs;
    ::statvfs(QFile::encodeName(folder).constData(), &fs);
    const qint64 fill = qint64(fs.f_bavail) * qint64(fs.f_bsize) - 4096;
    QFile filler(folder + QStringLiteral("/filler"));
    return filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(fill, 'f')) == fill;
}

// A partner that writes bytes into the FIFO at path once somebody reads it.
void feedFifo(Scene& scene, const QString& path, const QByteArray& bytes)
{
    scene.partners.emplace_back([path, bytes](std::stop_token stop) {
        while (!stop.stop_requested()) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::fcntl(fd, F_SETFL, 0);
                (void)!::write(fd, bytes.constData(), size_t(bytes.size()));
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
}

// A partner that reads the FIFO at path until its writer leaves. It opens
// the FIFO before returning, so the companion finds a reader there.
void drainFifo(Scene& scene, const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    scene.partners.emplace_back([&scene, fd](std::stop_token stop) {
        char buffer[4096];
        while (!stop.stop_requested()) {
            pollfd wait{fd, POLLIN, 0};
            if (::poll(&wait, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                scene.partnerGot.append(buffer, n);
            else if (n == 0 && (wait.revents & POLLHUP))
                break;
        }
        ::close(fd);
    });
}

Run runScene(const Scene& scene)
{
    QProcess process;
    process.setWorkingDirectory(scene.dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Q"), QStringLiteral(QUILLMARK_BINARY_DIR "/quillmark-compare"));
    process.setProcessEnvironment(env);
    if (!scene.stdoutFile.isEmpty())
        process.setStandardOutputFile(scene.stdoutFile, QIODevice::Append);
    const bool asUser = scene.asUser;
    const rlim_t limit = scene.fileSizeLimit;
    process.setChildProcessModifier([asUser, limit] {
        if (limit) {
            const rlimit small{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &small);
            ::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG
        }
        if (asUser && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
    });
    if (scene.shell.isEmpty())
        process.start(QStringLiteral(QUILLMARK_BINARY_DIR "/quillmark-compare"), scene.arguments);
    else
        process.start(QStringLiteral("bash"), {QStringLiteral("-c"), scene.shell});
    process.waitForStarted();
    if (!scene.stdinBytes.isNull())
        process.write(scene.stdinBytes);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {-2, QByteArray(), QByteArrayLiteral("did not finish")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestCompanion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void messagesAndStatuses_data();
    void messagesAndStatuses();
    void writesTheThreeLists();
    void ioErrorsLeaveNoPartialOutput_data();
    void ioErrorsLeaveNoPartialOutput();
    void hostileFiles_data();
    void hostileFiles();

private:
    QTemporaryDir m_dir;
    QString m_one, m_two;
};

void TestCompanion::initTestCase()
{
    // Open to everybody, so that the unprivileged child can reach the files.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    m_one = writeFile(m_dir, QStringLiteral("one.txt"), "apple\r\nPear\r\nfig\r\nfig\r\nkiwi");
    m_two = writeFile(m_dir, QStringLiteral("two.txt"), "pear\r\nplum\r\nfig\r\napple");
}

void TestCompanion::messagesAndStatuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString missing = m_dir.filePath(QStringLiteral("missing.txt"));
    QTest::newRow("counts, case ignored")
        << QStringList{m_one, m_two} << 0
        << "Lines In Both Text Files: 4\nLines In File 1 That Are Not In File 2: 1\n"
           "Lines In File 2 That Are Not In File 1: 1\n"
        << "";
    QTest::newRow("counts, case matched")
        << QStringList{"--match-case", m_one, m_two} << 0
        << "Lines In Both Text Files: 3\nLines In File 1 That Are Not In File 2: 2\n"
           "Lines In File 2 That Are Not In File 1: 2\n"
        << "";
    QTest::newRow("both empty") << QStringList{"", ""} << 1 << ""
                                << "You forgot to input file #1.\n";
    QTest::newRow("emptiness before existence") << QStringList{missing, ""} << 1 << ""
                                                << "You forgot to input file #2.\n";
    QTest::newRow("file 1 missing") << QStringList{missing, m_two} << 1 << ""
                                    << "File #1 not found.\n";
    QTest::newRow("file 2 a folder") << QStringList{m_one, m_dir.path()} << 1 << ""
                                     << "File #2 not found.\n";
    QTest::newRow("blanks are no path") << QStringList{m_one, "  "} << 1 << ""
                                        << "File #2 not found.\n";
    QTest::newRow("unknown option") << QStringList{"--frobnicate", m_one, m_two} << 2 << ""
                                    << "quillmark-compare: Unknown option 'frobnicate'.\n"
                                       "Try 'quillmark-compare --help'.\n";
    QTest::newRow("one file only") << QStringList{m_one} << 2 << ""
                                   << "*";
    QTest::newRow("a pattern is no file")
        << QStringList{m_dir.filePath(QStringLiteral("o*.txt")), m_two} << 1 << ""
        << "File #1 not found.\n";
    QTest::newRow("a list asked for twice")
        << QStringList{"--both", "x1", "--both", "x2", m_one, m_two} << 2 << ""
        << "*";
    QTest::newRow("two lists to one file")
        << QStringList{"--both",      m_dir.filePath(QStringLiteral("same")),
                       "--only-in-2", m_dir.filePath(QStringLiteral("same")),
                       m_one,         m_two}
        << 2 << ""
        << "*";
    QTest::newRow("a device as target")
        << QStringList{"--only-in-2", "/dev/stdout", m_one, m_two} << 0 << "plum\r\n"
        << "";
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << "quillmark-compare " QUILLMARK_VERSION "\n"
                             << "";
}

void TestCompanion::messagesAndStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run run = runCompanion(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(QString::fromUtf8(run.out), out);
    if (err != QLatin1String("*"))
        QCOMPARE(QString::fromUtf8(run.err), err);
    else
        QVERIFY(!run.err.isEmpty());
}

void TestCompanion::writesTheThreeLists()
{
    const QString both = m_dir.filePath(QStringLiteral("both.txt"));
    const QString only2 = m_dir.filePath(QStringLiteral("only2.txt"));
    const Run run =
        runCompanion({"--both", both, "--only-in-1", "-", "--only-in-2", only2, m_one, m_two});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QByteArray("kiwi\r\n"));
    QCOMPARE(readFile(both), QByteArray("apple\r\nPear\r\nfig\r\nfig\r\n"));
    QCOMPARE(readFile(only2), QByteArray("plum\r\n"));
    const Run help = runCompanion({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("--only-in-2 <PATH>"));
}

void TestCompanion::ioErrorsLeaveNoPartialOutput_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("unreadable input") << "input";
    QTest::newRow("read-only output") << "output";
    QTest::newRow("output folder missing") << "nofolder";
    QTest::newRow("one of two outputs fails") << "second";
}

void TestCompanion::ioErrorsLeaveNoPartialOutput()
{
    QFETCH(QString, how);
    QString input = m_one;
    QString output = m_dir.filePath(QStringLiteral("out-") + how + QStringLiteral(".txt"));
    const QByteArray old("old\r\n");
    if (how == QLatin1String("input")) {
        input = writeFile(m_dir, QStringLiteral("secret.txt"), "x");
        ::chmod(QFile::encodeName(input).constData(), 0);
    } else if (how == QLatin1String("output")) {
        writeFile(m_dir, QStringLiteral("out-output.txt"), old);
        ::chmod(QFile::encodeName(output).constData(), 0444);
    } else if (how == QLatin1String("nofolder")) {
        output = m_dir.filePath(QStringLiteral("nowhere/out.txt"));
    }
    // The first of two lists could be written, but neither is.
    QStringList extra;
    QString failing = how == QLatin1String("input") ? input : output;
    if (how == QLatin1String("second")) {
        failing = m_dir.filePath(QStringLiteral("nowhere/second.txt"));
        extra = QStringList{"--only-in-2", failing};
    }
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    const Run run = runCompanion(QStringList{"--both", output} + extra + QStringList{input, m_two},
                                 how == QLatin1String("input"));
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QFile::encodeName(failing)), run.err.constData());
    QCOMPARE(run.err.count('\n'), 1);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    if (how == QLatin1String("output"))
        QCOMPARE(readFile(output), old);
}

void TestCompanion::hostileFiles_data()
{
    QTest::addColumn<Step>("prepare");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err"); // alternatives separated by '|'; empty: no message
    QTest::addColumn<Step>("verify");
    const Step nothing = [](Scene&) {};
    // FILE1 holds apple, fig, kiwi; FILE2 holds fig, plum.
    const QByteArray both("fig\r\n"), only1("apple\r\nkiwi\r\n");

    // Full disks: the old list stays whole and no temporary file is left.
    for (const qint64 lines : {qint64(1100), qint64(200000)}) {
        const Step fill = [lines](Scene& s) {
            QByteArray many;
            for (qint64 i = 0; i < lines; ++i)
                many += QByteArray::number(1000000000 + i) + '\n'; // 12 bytes a line saved
            writeFileAt(s.a, many);
            const QString full = s.path(QStringLiteral("full"));
            QDir().mkpath(full);
            if (mountNearlyFull(full))
                s.mounted = full;
            else
                s.fileSizeLimit = 4096; // not root: the file size limit stands in
            writeFileAt(full + QStringLiteral("/only1.txt"), "old\r\n");
            s.arguments = {"--only-in-1", full + QStringLiteral("/only1.txt"), s.a, s.b};
        };
        QTest::addRow("nearly full disk, a %lld-byte list", lines * 12)
            << fill << 1 << "No space left on device|File too large" << Step([](Scene& s) {
                   const QString full = s.path(QStringLiteral("full"));
                   QCOMPARE(readFile(full + QStringLiteral("/only1.txt")), QByteArray("old\r\n"));
                   QStringList left = QDir(full).entryList(QDir::Files | QDir::Hidden);
                   left.removeAll(QStringLiteral("filler"));
                   QCOMPARE(left, QStringList{QStringLiteral("only1.txt")});
               });
    }
    QTest::newRow("/dev/full as a list") << Step([](Scene& s) {
        s.arguments = {"--both", "/dev/full", s.a, s.b};
    }) << 1 << "No space left on device" << nothing;
    QTest::newRow("/dev/stdout appended with >>") << Step([](Scene& s) {
        s.stdoutFile = writeFileAt(s.path(QStringLiteral("log.txt")), "earlier\n");
        s.arguments = {"--both", "/dev/stdout", s.a, s.b};
    }) << 0 << "" << Step([both](Scene& s) {
        QCOMPARE(readFile(s.path(QStringLiteral("log.txt"))), "earlier\n" + both);
    });
    QTest::newRow("- and /dev/stdout into one file") << Step([](Scene& s) {
        s.stdoutFile = s.path(QStringLiteral("out.txt"));
        s.arguments = {"--both", "-", "--only-in-1", "/dev/stdout", s.a, s.b};
    }) << 0 << "" << Step([both, only1](Scene& s) {
        QCOMPARE(readFile(s.path(QStringLiteral("out.txt"))), both + only1);
    });
    QTest::newRow("/dev/fd/3 opened with >>") << Step([](Scene& s) {
        writeFileAt(s.path(QStringLiteral("log.txt")), "earlier\n");
        s.shell = QStringLiteral("exec 3>>log.txt; \"$Q\" --only-in-1 /dev/fd/3 a.txt b.txt");
    }) << 0 << "" << Step([only1](Scene& s) {
        QCOMPARE(readFile(s.path(QStringLiteral("log.txt"))), "earlier\n" + only1);
    });
    QTest::newRow("a list to a symbolic link to another list") << Step([](Scene& s) {
        QFile::link(s.path(QStringLiteral("same.txt")), s.path(QStringLiteral("link.txt")));
        s.arguments = {"--both",      s.path(QStringLiteral("same.txt")),
                       "--only-in-1", s.path(QStringLiteral("link.txt")),
                       s.a,           s.b};
    }) << 2 << "link.txt\" are the same file" << nothing;
    QTest::newRow("a list to a hard link of another list") << Step([](Scene& s) {
        writeFileAt(s.path(QStringLiteral("one.txt")), "old");
        ::link(QFile::encodeName(s.path(QStringLiteral("one.txt"))).constData(),
               QFile::encodeName(s.path(QStringLiteral("two.txt"))).constData());
        s.arguments = {"--both",      s.path(QStringLiteral("one.txt")),
                       "--only-in-2", s.path(QStringLiteral("two.txt")),
                       s.a,           s.b};
    }) << 2 << "two.txt" << Step([](Scene& s) {
        QCOMPARE(readFile(s.path(QStringLiteral("one.txt"))), QByteArray("old"));
    });
    QTest::newRow("a list over an input, through a link") << Step([](Scene& s) {
        QFile::link(s.a, s.path(QStringLiteral("link.txt")));
        s.arguments = {"--both", s.path(QStringLiteral("link.txt")), s.a, s.b};
    }) << 2 << "would overwrite FILE1" << Step([](Scene& s) {
        QCOMPARE(readFile(s.a), QByteArray("apple\nfig\nkiwi"));
    });
    QTest::newRow("standard input as both files") << Step([](Scene& s) {
        s.stdinBytes = "fig\n";
        s.arguments = {"-", "/dev/stdin"};
    }) << 2 << "read only once" << nothing;
    QTest::newRow("a list through a symbolic link: the link stays") << Step([](Scene& s) {
        writeFileAt(s.path(QStringLiteral("real.txt")), "old");
        QFile::link(s.path(QStringLiteral("real.txt")), s.path(QStringLiteral("link.txt")));
        s.arguments = {"--both", s.path(QStringLiteral("link.txt")), s.a, s.b};
    }) << 0 << "" << Step([both](Scene& s) {
        QVERIFY(QFileInfo(s.path(QStringLiteral("link.txt"))).isSymLink());
        QCOMPARE(readFile(s.path(QStringLiteral("real.txt"))), both);
    });
    QTest::newRow("a hard-linked list is written into the file, mode kept") << Step([](Scene& s) {
        writeFileAt(s.path(QStringLiteral("one.txt")), "an old text longer than the list");
        ::chmod(QFile::encodeName(s.path(QStringLiteral("one.txt"))).constData(), 0640);
        ::link(QFile::encodeName(s.path(QStringLiteral("one.txt"))).constData(),
               QFile::encodeName(s.path(QStringLiteral("other.txt"))).constData());
        s.arguments = {"--both", s.path(QStringLiteral("one.txt")), s.a, s.b};
    }) << 0 << "" << Step([both](Scene& s) {
        QCOMPARE(readFile(s.path(QStringLiteral("other.txt"))), both);
        struct stat st;
        ::stat(QFile::encodeName(s.path(QStringLiteral("one.txt"))).constData(), &st);
        QCOMPARE(int(st.st_nlink), 2);
        QCOMPARE(int(st.st_mode & 07777), 0640);
    });
    QTest::newRow("another user's list keeps its owner, group and mode") << Step([](Scene& s) {
        if (!isRoot()) {
            s.skipped = QStringLiteral("only root can give a file to another user");
            return;
        }
        const QByteArray file = QFile::encodeName(writeFileAt(s.path("theirs.txt"), "old"));
        ::chown(file.constData(), 65534, 65534);
        ::chmod(file.constData(), 0604);
        s.arguments = {"--both", s.path(QStringLiteral("theirs.txt")), s.a, s.b};
    }) << 0 << "" << Step([both](Scene& s) {
        struct stat st;
        ::stat(QFile::encodeName(s.path(QStringLiteral("theirs.txt"))).constData(), &st);
        QCOMPARE(readFile(s.path(QStringLiteral("theirs.txt"))), both);
        QCOMPARE(int(st.st_uid), 65534);
        QCOMPARE(int(st.st_gid), 65534);
        QCOMPARE(int(st.st_mode & 07777), 0604);
    });
    QTest::newRow("a writable file in a folder that may not be written") << Step([](Scene& s) {
        const QString locked = s.path(QStringLiteral("locked"));
        QDir().mkpath(locked);
        const QString file = writeFileAt(locked + QStringLiteral("/list.txt"), "old");
        ::chmod(QFile::encodeName(file).constData(), 0666);
        // As root, the folder is root's and the companion runs as another
        // user; otherwise the folder's own bits stop its owner.
        ::chmod(QFile::encodeName(locked).constData(), isRoot() ? 0755 : 0555);
        s.asUser = isRoot();
        s.arguments = {"--only-in-1", file, s.a, s.b};
    }) << 0 << "" << Step([only1](Scene& s) {
        const QString locked = s.path(QStringLiteral("locked"));
        QCOMPARE(readFile(locked + QStringLiteral("/list.txt")), only1);
        ::chmod(QFile::encodeName(locked).constData(), 0755);
    });
    QTest::newRow("a FIFO that nobody reads, as a list") << Step([](Scene& s) {
        ::mkfifo(QFile::encodeName(s.path(QStringLiteral("fifo"))).constData(), 0600);
        s.arguments = {"--both", s.path(QStringLiteral("fifo")), s.a, s.b};
    }) << 1 << "no program reads" << nothing;
    QTest::newRow("a FIFO with a reader, as a list") << Step([](Scene& s) {
        ::mkfifo(QFile::encodeName(s.path(QStringLiteral("fifo"))).constData(), 0600);
        drainFifo(s, s.path(QStringLiteral("fifo")));
        s.arguments = {"--both", s.path(QStringLiteral("fifo")), s.a, s.b};
    }) << 0 << "" << Step([both](Scene& s) {
        s.partners.clear(); // joins the reader
        QCOMPARE(s.partnerGot, both);
    });
    QTest::newRow("a FIFO as an input") << Step([](Scene& s) {
        ::mkfifo(QFile::encodeName(s.path(QStringLiteral("fifo"))).constData(), 0600);
        feedFifo(s, s.path(QStringLiteral("fifo")), "plum\nkiwi");
        s.arguments = {"--both", "-", s.path(QStringLiteral("fifo")), s.a};
        s.expectOut = "kiwi\r\n";
    }) << 0 << "" << nothing;
    QTest::newRow("a pipe on standard input") << Step([](Scene& s) {
        s.stdinBytes = "kiwi\nfig";
        s.arguments = {"--only-in-2", "-", s.b, "-"};
        s.expectOut = "kiwi\r\n";
    }) << 0 << "" << nothing;
    QTest::newRow("a process substitution") << Step([](Scene& s) {
        s.shell = QStringLiteral("\"$Q\" --both - <(printf 'kiwi\\nfig') b.txt");
        s.expectOut = "fig\r\n";
    }) << 0 << "" << nothing;
    QTest::newRow("a /proc file, whose reported size is 0") << Step([](Scene& s) {
        writeFileAt(s.b, "Linux\nplum");
        s.arguments = {"--both", "-", "/proc/sys/kernel/ostype", s.b};
        s.expectOut = "Linux\r\n";
    }) << 0 << "" << nothing;
    QTest::newRow("a socket as an input") << Step([](Scene& s) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(s.path(QStringLiteral("socket")));
        std::memcpy(address.sun_path, name.constData(),
                    std::min(size_t(name.size()), sizeof address.sun_path - 1));
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::close(fd);
        s.arguments = {s.path(QStringLiteral("socket")), s.b};
    }) << 1 << "it is a socket" << nothing;
    QTest::newRow("a folder as a list") << Step([](Scene& s) {
        s.arguments = {"--both", s.dir, s.a, s.b};
    }) << 1 << "it is a folder" << nothing;
    QTest::newRow("a link to nothing as an input") << Step([](Scene& s) {
        QFile::link(s.path(QStringLiteral("gone.txt")), s.path(QStringLiteral("link.txt")));
        s.arguments = {s.path(QStringLiteral("link.txt")), s.b};
    }) << 1 << "File #1 not found." << nothing;
    QTest::newRow("control characters in a name are quoted") << Step([](Scene& s) {
        s.arguments = {"--both", s.path(QStringLiteral("no\n\x1b[31mfolder/x")), s.a, s.b};
    }) << 1 << "'$'\\n\\033''[31mfolder/x'" << nothing;
}

void TestCompanion::hostileFiles()
{
    QFETCH(Step, prepare);
    QFETCH(int, status);
    QFETCH(QString, err);
    QFETCH(Step, verify);
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    Scene scene;
    scene.dir = dir.path();
    scene.a = writeFileAt(scene.path(QStringLiteral("a.txt")), "apple\nfig\nkiwi");
    scene.b = writeFileAt(scene.path(QStringLiteral("b.txt")), "fig\nplum");
    struct Unmount
    {
        Scene& scene;
        ~Unmount()
        {
            scene.partners.clear();
            if (!scene.mounted.isEmpty())
                ::umount2(QFile::encodeName(scene.mounted).constData(), MNT_DETACH);
        }
    } unmount{scene};
    prepare(scene);
    if (!scene.skipped.isEmpty())
        QSKIP(qPrintable(scene.skipped));
    const Run run = runScene(scene);
    QVERIFY2(run.status == status, run.err.constData());
    if (!scene.expectOut.isNull())
        QCOMPARE(run.out, scene.expectOut);
    if (err.isEmpty()) {
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    } else {
        const QString message = QString::fromUtf8(run.err);
        bool found = false;
        for (const QString& alternative : err.split(QLatin1Char('|')))
            found = found || message.contains(alternative);
        QVERIFY2(found, run.err.constData());
        QVERIFY2(!run.err.contains('\x1b'), "a control character reached the terminal");
    }
    verify(scene);
}

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
