#include "TestSupport.h"

#include <QProcess>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Run
{
    int status;
    QByteArray out;
    QByteArray err;
};

// Runs the companion; asUser drops the child to an unprivileged user first when
// the tests run as root, so that permission bits count.
Run runCompanion(const QStringList& arguments, bool asUser = false)
{
    QProcess process;
    if (asUser && changesUserForPermissions()) {
        process.setChildProcessModifier([] {
            if (::setgid(kUnprivilegedUser) != 0 || ::setuid(kUnprivilegedUser) != 0)
                ::_exit(99);
        });
    }
    process.start(QStringLiteral(QUILLMARK_BINARY_DIR "/quillmark-compare"), arguments);
    if (!process.waitForFinished(60000))
        qFatal("quillmark-compare did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

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

private:
    QTemporaryDir m_dir;
    QString m_one, m_two, m_padded;
};

void TestCompanion::initTestCase()
{
    // Open to everybody, so that the unprivileged child can reach the files.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    m_one = writeFile(m_dir, QStringLiteral("one.txt"), "apple\r\nPear\r\nfig\r\nfig\r\nkiwi");
    m_two = writeFile(m_dir, QStringLiteral("two.txt"), "pear\r\nplum\r\nfig\r\napple");
    m_padded = writeFile(m_dir, QStringLiteral("padded.txt"), " Apple\t\r\nplum ");
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
    QTest::newRow("each once") << QStringList{"--each-once", "--both", "-", m_one, m_two} << 0
                               << "apple\r\nPear\r\nfig\r\n"
                               << "";
    QTest::newRow("blanks count") << QStringList{"--only-in-1", "-", m_padded, m_two} << 0
                                  << " Apple\t\r\nplum \r\n"
                                  << "";
    QTest::newRow("blanks ignored")
        << QStringList{"--ignore-blanks", "--only-in-1", "-", m_padded, m_two} << 0 << ""
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
        SKIP_UNLESS_UNREADABLE(input);
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

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
