#include "tests/TestSupport.h"

#include <QProcess>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Runs a hostile case: a bash script in a fresh folder holding a.txt (apple,
// fig, kiwi) and b.txt (fig, plum). The script calls the companion through
// run, which keeps its status, then prints what must hold afterwards.
Run runScript(const QString& folder, const QString& script)
{
    static const QString prelude =
        QStringLiteral("root() { [ \"$(id -u)\" = 0 ]; }\n"
                       // A stuck run fails its row; a slow one under the
                       // sanitizers on a loaded machine (a 6M-line list took
                       // 16 s) must not.
                       "run() { timeout 50 \"$Q\" \"$@\"; status=$?; }\n"
                       "printf 'apple\\nfig\\nkiwi' > a.txt; printf 'fig\\nplum' > b.txt\n");
    QProcess process;
    process.setWorkingDirectory(folder);
    // Whatever this process does with it, the file-size limit's signal is at
    // its default, as in a newcomer's shell.
    process.setChildProcessModifier([] { ::signal(SIGXFSZ, SIG_DFL); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("Q"), QStringLiteral(QUILLMARK_BINARY_DIR "/quillmark-compare"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("bash"),
                  {QStringLiteral("-c"), prelude + script + QStringLiteral("\nexit $status")});
    if (!process.waitForFinished(180000))
        qFatal("the case did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Runs a bash script in folder, which ends by exec-ing the companion, and
// returns its status and its peak memory in bytes: wait4 reports the
// companion's alone, where QProcess would not.
std::pair<int, qint64> runForPeak(const QString& folder, const QString& script)
{
    const QByteArray where = QFile::encodeName(folder);
    const QByteArray text =
        (QStringLiteral("Q='" QUILLMARK_BINARY_DIR "/quillmark-compare'\n") + script).toUtf8();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(where.constData()) == 0)
            ::execlp("bash", "bash", "-c", text.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return {-1, 0};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, qint64(usage.ru_maxrss) * 1024};
}

const char* const kCompanion = QUILLMARK_BINARY_DIR "/quillmark-compare";

// text with each '@' a NUL, for the lines of -z.
QString nulEnded(const char* text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('@'), QChar(0));
}

// The long options a program's --help lists.
QStringList longOptions(const QString& help)
{
    QStringList options;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z0-9-]*"));
    for (auto match = option.globalMatch(help); match.hasNext();)
        options.append(match.next().captured());
    options.removeDuplicates();
    return options;
}

// Starts the companion as from a fresh shell; with ignoreHangUp, SIGHUP is
// ignored as nohup leaves it.
pid_t startCompanion(const QStringList& arguments, bool ignoreHangUp)
{
    QList<QByteArray> words;
    if (ignoreHangUp)
        words = {"/bin/sh", "-c", "trap '' HUP; exec \"$0\" \"$@\""};
    words.append(kCompanion);
    for (const QString& argument : arguments)
        words.append(QFile::encodeName(argument));
    return startWithDefaultSignals(words);
}

// How many bytes process pid has written into a file in folder that is not
// one of its names yet (a temporary file, with or without a name); -1 while
// it has no such file open.
qint64 bytesBeingSaved(pid_t pid, const QString& folder)
{
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        const QByteArray link = QFile::encodeName(fds + QLatin1Char('/') + fd);
        char target[4096];
        const ssize_t size = ::readlink(link.constData(), target, sizeof target - 1);
        if (size <= 0)
            continue;
        const QByteArray name(target, size);
        if (!name.startsWith(prefix) ||
            !(name.contains("/.quillmark-") || name.endsWith(" (deleted)")))
            continue;
        struct stat st = {};
        if (::stat(link.constData(), &st) == 0)
            return st.st_size;
    }
    return -1;
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
    void manualPagesListEveryOption_data();
    void manualPagesListEveryOption();
    void ioErrorsLeaveNoPartialOutput_data();
    void ioErrorsLeaveNoPartialOutput();
    void hostileFiles_data();
    void hostileFiles();
    void longLineInFile2CostsItsSize_data();
    void longLineInFile2CostsItsSize();
    void stopSignalsLeaveNoTemporaryFile_data();
    void stopSignalsLeaveNoTemporaryFile();

private:
    QTemporaryDir m_dir;
    QString m_one, m_two, m_padded;
    QString m_blank;              // blanks and tabs only
    QString m_fields1, m_fields2; // a key in each line's second field
    QString m_tabs1, m_tabs2, m_mails1, m_mails2, m_nfc, m_nfd;
    QString m_hellos, m_hellosUpper; // twelve lines "Hello", twelve "hELLO"
    QString m_limits, m_limits2;     // lines a nested pattern matches, or gives up on
    QString m_march, m_june;         // records with a header, CR LF, quotes and a repeated key
    QString m_nul, m_nul2;           // lines ended by NUL, with CR, LF, comma and quote inside
    QString m_nulEnded, m_nulEnded2; // names ended by NUL, as find -print0 writes them
    QString m_big;                   // 6,000,000 numbered lines, 47 MB
};

void TestCompanion::initTestCase()
{
    // Open to everybody, so that the unprivileged child can reach the files.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    m_one = writeFile(m_dir, QStringLiteral("one.txt"), "apple\r\nPear\r\nfig\r\nfig\r\nkiwi");
    m_two = writeFile(m_dir, QStringLiteral("two.txt"), "pear\r\nplum\r\nfig\r\napple");
    m_padded = writeFile(m_dir, QStringLiteral("padded.txt"), " Apple\t\r\nplum ");
    m_limits = writeFile(m_dir, QStringLiteral("limits.txt"),
                         QByteArray(22, 'x') + "zxxy\n" + QByteArray(24, 'x') + "zxxy");
    m_limits2 = writeFile(m_dir, QStringLiteral("limits2.txt"), "xxy");
    m_hellos = writeFile(m_dir, QStringLiteral("hellos.txt"), QByteArray("Hello\n").repeated(12));
    m_hellosUpper =
        writeFile(m_dir, QStringLiteral("hellos-upper.txt"), QByteArray("hELLO\n").repeated(12));
    m_fields1 = writeFile(m_dir, QStringLiteral("fields1.csv"),
                          "a,Apple\r\nb,\"fig, dried\"\r\nc,kiwi\r\nd,\r\ne");
    m_fields2 =
        writeFile(m_dir, QStringLiteral("fields2.csv"), "x,APPLE\ny,\"fig, dried\"\nz,plum");
    m_tabs1 = writeFile(m_dir, QStringLiteral("tabs1.txt"), "1\tapple\n2  kiwi\n3\tfig");
    m_tabs2 = writeFile(m_dir, QStringLiteral("tabs2.txt"), "9\t apple\n8 fig");
    m_mails1 = writeFile(m_dir, QStringLiteral("mails1.txt"), "<a@x> Ann\n<b@x> Bob\nno mail");
    m_mails2 = writeFile(m_dir, QStringLiteral("mails2.txt"), "Ann Other <a@x>\nno mail");
    m_nfc = writeFile(m_dir, QStringLiteral("nfc.txt"), "caf\xC3\xA9\nnaive");
    m_nfd = writeFile(m_dir, QStringLiteral("nfd.txt"), "cafe\xCC\x81\nna\xC3\xAFve");
    m_blank = writeFile(m_dir, QStringLiteral("blank.txt"), " \n\t");
    m_march = writeFile(m_dir, QStringLiteral("march.csv"),
                        "id,name,email,at\r\n1,Ann,a@x.org,03\r\n2,\"Bob, Jr\",b@x.org,03\r\n"
                        "3,Cy,c@x.org,03\r\n2,\"Bob, Jr\",b@x.org,03");
    m_june = writeFile(m_dir, QStringLiteral("june.csv"),
                       "id,name,mail,at\n2,\"Bob, Jr\",b@x.org,06\n1,Ann,a@y.org,06\n"
                       "1,Ann,a@y.org,07\n4,Di,d@x.org,06\n3,Cy,\"c@x.org\",03");
    m_nul = writeFile(m_dir, QStringLiteral("nul.txt"), QByteArray("apple\0b,\"q\"\r\nc\0fig", 18));
    m_nul2 = writeFile(m_dir, QStringLiteral("nul2.txt"), QByteArray("FIG\0c\0d\re", 9));
    // As find -print0 writes: each name ended by a NUL, an empty one among them.
    m_nulEnded = writeFile(m_dir, QStringLiteral("ended.txt"), QByteArray("a\0b\0\0", 5));
    m_nulEnded2 = writeFile(m_dir, QStringLiteral("ended2.txt"), QByteArray("b\0\0c\0", 5));
    QByteArray big;
    for (int line = 1; line <= 6000000; ++line)
        big += QByteArray::number(line) + '\n';
    m_big = writeFile(m_dir, QStringLiteral("big.txt"), big);
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
    // Without --exit-status, files that differ are a success.
    QTest::newRow("exit status: the files differ")
        << QStringList{"--exit-status", m_one, m_two} << 1
        << "Lines In Both Text Files: 4\nLines In File 1 That Are Not In File 2: 1\n"
           "Lines In File 2 That Are Not In File 1: 1\n"
        << "";
    QTest::newRow("exit status: the same lines")
        << QStringList{"--exit-status", "--both", "/dev/null", m_one, m_one} << 0 << ""
        << "";
    QTest::newRow("exit status: letter case makes them differ")
        << QStringList{"--exit-status", "--both", "/dev/null", m_one, m_two, "--match-case"} << 1
        << ""
        << "";
    QTest::newRow("exit status: only file 2 has lines of its own")
        << QStringList{"--exit-status", "--skip-empty", "--ignore-blanks", "--both", "/dev/null",
                       m_blank,         m_two}
        << 1 << ""
        << "";
    QTest::newRow("exit status: a missing file is trouble")
        << QStringList{"--exit-status", missing, m_two} << 2 << ""
        << "quillmark-compare: " + missing + ": No such file or directory\n";
    QTest::newRow("exit status: a list that cannot be written")
        << QStringList{"--exit-status", "--both", m_dir.filePath(QStringLiteral("no/x")), m_one,
                       m_two}
        << 2 << ""
        << "*";
    QTest::newRow("exit status: a usage error")
        << QStringList{"--exit-status", "--field", "0", m_one, m_one} << 2 << ""
        << "*";
    QTest::newRow("summary")
        << QStringList{"--summary", m_one, m_two} << 0
        << "{\"file1_lines\":5,\"file2_lines\":4,\"both\":4,\"only_in_1\":1,\"only_in_2\":1,"
           "\"file1_distinct\":4,\"file2_distinct\":4,\"distinct_both\":3,\"jaccard\":0.6}\n"
        << "";
    QTest::newRow("summary: lists to files, case matched, each once")
        << QStringList{"--summary", "--match-case", "--each-once", "--only-in-2",
                       "/dev/null", m_one,          m_two}
        << 0
        << "{\"file1_lines\":5,\"file2_lines\":4,\"both\":2,\"only_in_1\":2,\"only_in_2\":2,"
           "\"file1_distinct\":4,\"file2_distinct\":4,\"distinct_both\":2,"
           "\"jaccard\":0.3333333333333333}\n"
        << "";
    QTest::newRow("summary: nothing left to compare")
        << QStringList{"--summary",     "--skip-empty", "--ignore-blanks",
                       "--exit-status", m_blank,        m_blank}
        << 0
        << "{\"file1_lines\":0,\"file2_lines\":0,\"both\":0,\"only_in_1\":0,\"only_in_2\":0,"
           "\"file1_distinct\":0,\"file2_distinct\":0,\"distinct_both\":0,\"jaccard\":0}\n"
        << "";
    QTest::newRow("skip empty") << QStringList{"--skip-empty", "--ignore-blanks",
                                               "--only-in-1",  "-",
                                               m_blank,        m_two}
                                << 0 << ""
                                << "";
    QTest::newRow("empty lines kept")
        << QStringList{"--ignore-blanks", "--only-in-1", "-", m_blank, m_two} << 0 << " \r\n\t\r\n"
        << "";
    QTest::newRow("key field, quoted")
        << QStringList{"--field", "2", "--only-in-1", "-", m_fields1, m_fields2} << 0
        << "c,kiwi\r\nd,\r\ne\r\n"
        << "";
    QTest::newRow("key field, empty keys skipped")
        << QStringList{"--field", "2", "--skip-empty", "--only-in-1", "-", m_fields1, m_fields2}
        << 0 << "c,kiwi\r\n"
        << "";
    QTest::newRow("key field, tab: lines without one have the empty key")
        << QStringList{"--field",   "2", "--delimiter", "tab",  "--match-case",
                       "--changed", "-", m_tabs1,       m_tabs2}
        << 0 << "2  kiwi\r\n"
        << "";
    QTest::newRow("key field, runs of blanks")
        << QStringList{"--field", "2", "--delimiter", "space", "--changed", "-", m_tabs1, m_tabs2}
        << 0 << "1\tapple\r\n3\tfig\r\n"
        << "";
    QTest::newRow("changes: fields by name, partner the first of its key, quotes kept")
        << QStringList{"--field", "id", "--header", "--changes", "-", m_march, m_june} << 0
        << "line_1,line_2,fields,text_1,text_2\r\n"
           "2,3,email;at,\"1,Ann,a@x.org,03\",\"1,Ann,a@y.org,06\"\r\n"
           "3,2,at,\"2,\"\"Bob, Jr\"\",b@x.org,03\",\"2,\"\"Bob, Jr\"\",b@x.org,06\"\r\n"
           "5,2,at,\"2,\"\"Bob, Jr\"\",b@x.org,03\",\"2,\"\"Bob, Jr\"\",b@x.org,06\"\r\n"
        << "quillmark-compare: the first lines differ; fields are named as in \"" + m_march +
               "\" (id,name,email,at), not as in \"" + m_june + "\" (id,name,mail,at)\n";
    QTest::newRow("changes: ignored fields, by number")
        << QStringList{"--field",   "1", "--header",      "--ignore-fields", "4",
                       "--changed", "-", "--exit-status", m_march,           m_june}
        << 1 << "1,Ann,a@x.org,03\r\n"
        << "*";
    QTest::newRow("summary with a key: changed, repeated keys, changes by field")
        << QStringList{"--field", "1", "--summary", m_march, m_june} << 0
        << "{\"file1_lines\":5,\"file2_lines\":6,\"both\":1,\"only_in_1\":0,\"only_in_2\":1,"
           "\"changed\":4,\"file1_distinct\":4,\"file2_distinct\":5,\"distinct_both\":4,"
           "\"jaccard\":0.8,\"duplicate_keys_1\":1,\"duplicate_keys_2\":1,"
           "\"changed_by_field\":{\"3\":2,\"4\":3}}\n"
        << "";
    // A key pattern compares whole lines: quotes count.
    QTest::newRow("csv with a key: the partner of each changed line")
        << QStringList{"--key-pattern", "^(\\d),", "--header", "--csv", "-", m_march, m_june} << 0
        << "list,line,text,partner\r\nonly_in_2,5,\"4,Di,d@x.org,06\",\r\n"
           "changed,2,\"1,Ann,a@x.org,03\",3\r\nchanged,3,\"2,\"\"Bob, Jr\"\",b@x.org,03\",2\r\n"
           "changed,4,\"3,Cy,c@x.org,03\",6\r\nchanged,5,\"2,\"\"Bob, Jr\"\",b@x.org,03\",2\r\n"
        << "*";
    QTest::newRow("key pattern, its group")
        << QStringList{"--key-pattern", "<([^>]+)>", "--only-in-1", "-", m_mails1, m_mails2} << 0
        << "<b@x> Bob\r\n"
        << "";
    QTest::newRow("look-alike spelling")
        << QStringList{"--look-alike", "--both", "-", m_nfc, m_nfd} << 0 << "caf\u00e9\r\n"
        << "";
    QTest::newRow("look-alike spelling off") << QStringList{"--both", "-", m_nfc, m_nfd} << 0 << ""
                                             << "";
    QTest::newRow("near misses: letter case")
        << QStringList{"--match-case", "--near-misses", "-", m_one, m_two} << 0
        << "2\t1\tletter case\n"
        << "";
    QTest::newRow("near misses: Unicode spelling, beside a list")
        << QStringList{"--only-in-2", "/dev/null", "--near-misses", "-", m_nfc, m_nfd} << 0
        << "1\t1\tUnicode spelling (NFC/NFD)\n"
        << "";
    // 2,000 of each would be four million pairs: each line lists ten and
    // counts the rest.
    QString tenEach;
    for (int line = 1; line <= 12; ++line) {
        for (int alike = 1; alike <= 10; ++alike)
            tenEach += QStringLiteral("%1\t%2\tletter case\n").arg(line).arg(alike);
        tenEach += QStringLiteral("%1\t\tand 2 more like it\n").arg(line);
    }
    QTest::newRow("near misses: ten a line, the rest counted")
        << QStringList{"--match-case", "--near-misses", "-", m_hellos, m_hellosUpper} << 0
        << tenEach << "";
    // Nested repeats reach PCRE2's match limit on the second line: it is
    // compared whole, and said.
    QTest::newRow("a key pattern that gives up on a line")
        << QStringList{"--key-pattern", "(x+x+)+y", "--summary",
                       "--exit-status", m_limits,   m_limits2}
        << 2
        << "{\"file1_lines\":2,\"file2_lines\":1,\"both\":0,\"only_in_1\":1,\"only_in_2\":0,"
           "\"changed\":1,\"file1_distinct\":2,\"file2_distinct\":1,\"distinct_both\":1,"
           "\"jaccard\":0.5,\"pattern_gave_up\":1,\"duplicate_keys_1\":0,\"duplicate_keys_2\":0}\n"
        << "quillmark-compare: the key pattern gave up on 1 line (its match limit); it was "
           "compared whole\n";
    QTest::newRow("near misses: none once they compare equal")
        << QStringList{"--look-alike", "--near-misses", "-", m_nfc, m_nfd} << 0 << ""
        << "";
    QTest::newRow("lists ended by LF")
        << QStringList{"--lf", "--both", "-", m_one, m_two} << 0 << "apple\nPear\nfig\nfig\n"
        << "";
    QTest::newRow("-z: lines ended by NUL, CR and LF ordinary bytes")
        << QStringList{"-z", "--only-in-1", "-", m_nul, m_nul2} << 0
        << nulEnded("apple@b,\"q\"\r\nc@") << "";
    QTest::newRow("-z: a file with no NUL is one line")
        << QStringList{"--zero-terminated", "--only-in-1", "-", m_one, m_nul} << 0
        << nulEnded("apple\r\nPear\r\nfig\r\nfig\r\nkiwi@") << "";
    QTest::newRow("-z: a NUL at the end ends the last line, as for xargs -0")
        << QStringList{"-z", "--both", "-", m_nulEnded, m_nulEnded2} << 0 << nulEnded("b@@") << "";
    QTest::newRow("-z: counts")
        << QStringList{"-z", m_nul, m_nul2} << 0
        << "Lines In Both Text Files: 1\nLines In File 1 That Are Not In File 2: 2\n"
           "Lines In File 2 That Are Not In File 1: 2\n"
        << "";
    QTest::newRow("CSV: a text with a comma, a quote, a CR or an LF is quoted")
        << QStringList{"-z", "--csv", "-", m_nul, m_nul2} << 0
        << "list,line,text\r\nboth,3,fig\r\nonly_in_1,1,apple\r\n"
           "only_in_1,2,\"b,\"\"q\"\"\r\nc\"\r\nonly_in_2,2,c\r\nonly_in_2,3,\"d\re\"\r\n"
        << "";
    QTest::newRow("CSV: plain texts are not quoted, each-once kept")
        << QStringList{"--csv", "-", "--each-once", m_one, m_two} << 0
        << "list,line,text\r\nboth,1,apple\r\nboth,2,Pear\r\nboth,3,fig\r\n"
           "only_in_1,5,kiwi\r\nonly_in_2,2,plum\r\n"
        << "";
    const auto usage = [](const char* what) {
        return QStringLiteral(
                   "quillmark-compare: %1\nTry 'quillmark-compare --help' for more information.\n")
            .arg(QString::fromUtf8(what));
    };
    QTest::newRow("--field 0") << QStringList{"--field", "0", m_one, m_two} << 2 << ""
                               << usage("--field needs a number from 1 up, not \"0\"");
    QTest::newRow("--field -1") << QStringList{"--field=-1", m_one, m_two} << 2 << ""
                                << usage("--field needs a number from 1 up, not \"-1\"");
    QTest::newRow("--field not a number") << QStringList{"--field", "2nd", m_one, m_two} << 2 << ""
                                          << usage("--field needs a number from 1 up, not \"2nd\"");
    QTest::newRow("--delimiter without --field") << QStringList{"--delimiter", "tab", m_one, m_two}
                                                 << 2 << "" << usage("--delimiter needs --field");
    QTest::newRow("--delimiter of one character beyond the BMP")
        << QStringList{"--field", "2",  "--delimiter", QString::fromUcs4(U"\U0001F600"),
                       m_one,     m_two}
        << 0
        << "Lines In Both Text Files: 4\nLines In File 1 That Are Not In File 2: 0\n"
           "Lines In File 2 That Are Not In File 1: 0\nLines Changed In File 2: 1\n"
        << "";
    QTest::newRow("--delimiter of two characters")
        << QStringList{"--field", "2", "--delimiter", "::", m_one, m_two} << 2 << ""
        << usage("--delimiter needs one character, 'tab' or 'space', not \"::\"");
    QTest::newRow("--key-pattern that does not compile")
        << QStringList{"--key-pattern", "id=(\\d+", m_one, m_two} << 2 << ""
        << usage("The key pattern \"id=(\\d+\" does not compile: missing closing parenthesis "
                 "(at character 8).");
    QTest::newRow("--field and --key-pattern")
        << QStringList{"--field", "1", "--key-pattern", "x", m_one, m_two} << 2 << ""
        << usage("A key field and a key pattern cannot be used together.");
    QTest::newRow("--summary beside a list on standard output")
        << QStringList{"--summary", "--only-in-1", "/dev/stdout", m_one, m_two} << 2 << ""
        << usage("--summary and --only-in-1 /dev/stdout would both write to standard output");
    QTest::newRow("--lf and -z")
        << QStringList{"--lf", "-z", m_one, m_two} << 2 << ""
        << usage("--lf and -z (--zero-terminated) ask for two different line ends");
    QTest::newRow("the changed list needs a key")
        << QStringList{"--changed", "-", m_march, m_june} << 2 << ""
        << usage("--changed needs a key: --field or --key-pattern");
    QTest::newRow("a key field cannot be ignored")
        << QStringList{"--field", "1,2", "--ignore-fields", "2", m_march, m_june} << 2 << ""
        << usage("Field 2 is part of the key and cannot be ignored.");
    QTest::newRow("a name the header lacks")
        << QStringList{"--field", "id", "--header", "--ignore-fields", "mail", m_march, m_june} << 2
        << "" << usage("No field is named \"mail\" in the first line of file 1.");
    QTest::newRow("names need a header") << QStringList{"--field", "id", m_march, m_june} << 2 << ""
                                         << usage("--field needs a number from 1 up, not \"id\"");
    QTest::newRow("a CSV file over an input")
        << QStringList{"--csv", m_two, m_one, m_two} << 2 << ""
        << "*";
    QTest::newRow("both empty") << QStringList{"", ""} << 1 << ""
                                << "quillmark-compare: You forgot to input file #1.\n";
    QTest::newRow("emptiness before existence")
        << QStringList{missing, ""} << 1 << ""
        << "quillmark-compare: You forgot to input file #2.\n";
    // A file that is not there says why, as the system does.
    const auto notThere = [](const QString& name, const char* why) {
        return QStringLiteral("quillmark-compare: %1: %2\n").arg(name, QLatin1String(why));
    };
    QTest::newRow("file 1 missing") << QStringList{"nothere.txt", m_two} << 1 << ""
                                    << notThere("nothere.txt", "No such file or directory");
    QTest::newRow("file 2 a folder")
        << QStringList{m_one, "/tmp"} << 1 << "" << notThere("/tmp", "Is a directory");
    QTest::newRow("a name too long") << QStringList{QString(300, 'x'), m_two} << 1 << ""
                                     << notThere(QString(300, 'x'), "File name too long");
    QTest::newRow("blanks are no path")
        << QStringList{m_one, "  "} << 1 << "" << notThere("'  '", "No such file or directory");
    QTest::newRow("unknown option") << QStringList{"--frobnicate", m_one, m_two} << 2 << ""
                                    << usage("unrecognized option '--frobnicate'");
    QTest::newRow("a file named like options")
        << QStringList{"-dash.txt", m_two} << 2 << "" << usage("invalid option -- 'd'");
    QTest::newRow("a long option by a prefix")
        << QStringList{"--match", "--only-in-1=-", m_one, m_two} << 0 << "Pear\r\nkiwi\r\n"
        << "";
    QTest::newRow("an ambiguous prefix")
        << QStringList{"--e", m_one, m_two} << 2 << ""
        << usage("option '--e' is ambiguous; possibilities: '--each-once' '--exit-status'");
    QTest::newRow("an option without its value") << QStringList{m_one, m_two, "--field"} << 2 << ""
                                                 << usage("option '--field' requires an argument");
    QTest::newRow("short options together, one unknown")
        << QStringList{"-zq", m_one, m_two} << 2 << "" << usage("invalid option -- 'q'");
    QTest::newRow("two lists to standard output")
        << QStringList{"--both", "-", "--only-in-1", "-", m_one, m_two} << 2 << ""
        << usage("only one list can go to standard output");
    QTest::newRow("one file only") << QStringList{m_one} << 2 << ""
                                   << "*";
    QTest::newRow("a pattern is no file")
        << QStringList{m_dir.filePath(QStringLiteral("o*.txt")), m_two} << 1 << ""
        << notThere(m_dir.filePath(QStringLiteral("o*.txt")).prepend('\'').append('\''),
                    "No such file or directory");
    QTest::newRow("a list asked for twice")
        << QStringList{"--both", "x1", "--both", "x2", m_one, m_two} << 2 << ""
        << "*";
    QTest::newRow("two lists to one file")
        << QStringList{"--both",      m_dir.filePath(QStringLiteral("same")),
                       "--only-in-2", m_dir.filePath(QStringLiteral("same")),
                       m_one,         m_two}
        << 2 << ""
        << "*";
    // An empty PATH, however given, before the files are looked at.
    const auto emptyPath = [](const char* option) {
        return QStringLiteral("quillmark-compare: --%1 needs a PATH; an empty one names no file\n"
                              "Try 'quillmark-compare --help' for more information.\n")
            .arg(QLatin1String(option));
    };
    QTest::newRow("an empty list path, --both")
        << QStringList{"--both", "", m_one, m_two} << 2 << "" << emptyPath("both");
    QTest::newRow("an empty list path, --only-in-1")
        << QStringList{"--only-in-1", "", m_one, m_two} << 2 << "" << emptyPath("only-in-1");
    QTest::newRow("an empty list path, --only-in-2=")
        << QStringList{"--only-in-2=", m_one, m_two} << 2 << "" << emptyPath("only-in-2");
    QTest::newRow("an empty list path before a missing file")
        << QStringList{"--only-in-2", "", missing, m_two} << 2 << "" << emptyPath("only-in-2");
    QTest::newRow("an empty list path beside a good one")
        << QStringList{"--both", "-", "--only-in-1", "", m_one, m_two} << 2 << ""
        << emptyPath("only-in-1");
    QTest::newRow("a device as target")
        << QStringList{"--only-in-2", "/dev/stdout", m_one, m_two} << 0 << "plum\r\n"
        << "";
    QTest::newRow("--help-all is --help") << QStringList{"--help-all", m_one} << 0
                                          << QString::fromUtf8(runCompanion({"--help"}).out) << "";
    const QString version =
        QStringLiteral("quillmark-compare " QUILLMARK_VERSION "\nCopyright (C) 2026 Harrowmere\n"
                       "License: Harrowmere-proprietary. All rights reserved.\n"
                       "For the terms under which this program may be used or passed on,\n"
                       "ask Harrowmere at " QUILLMARK_SUPPORT_ADDRESS ".\n");
    QTest::newRow("version") << QStringList{"--version"} << 0 << version << "";
    QTest::newRow("help, and where to report problems")
        << QStringList{"--help"} << 0
        << "*Report problems to <" QUILLMARK_SUPPORT_ADDRESS ">.\n"
           "Quillmark home page: <" QUILLMARK_HOME_PAGE ">\n"
        << "";
    // The order of the checks: the options first, then where the lists go,
    // then whether the files are there.
    QTest::newRow("version before the count of files")
        << QStringList{"--ver", m_one} << 0 << version << "";
    QTest::newRow("a list asked for twice before two lists in one file")
        << QStringList{"--both", "x", "--only-in-1", "x", "--only-in-1", "y", m_one, m_two} << 2
        << ""
        << "quillmark-compare: --only-in-1 is given more than once\n"
           "Try 'quillmark-compare --help' for more information.\n";
    QTest::newRow("two lists in one file before a missing file")
        << QStringList{"--both", "x", "--only-in-1", "x", missing, m_two} << 2 << ""
        << "quillmark-compare: --both \"x\" and --only-in-1 \"x\" are the same file: one list "
           "would be lost\nTry 'quillmark-compare --help' for more information.\n";
}

void TestCompanion::messagesAndStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run run = runCompanion(arguments);
    QCOMPARE(run.status, status);
    if (out.startsWith(QLatin1Char('*')))
        QVERIFY2(run.out.endsWith(out.mid(1).toUtf8()), run.out.constData());
    else
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
    // The CSV file beside the lists, written as they are.
    const QString csv = m_dir.filePath(QStringLiteral("lists.csv"));
    const Run csvRun = runCompanion({"--csv", csv, "--only-in-2", only2, "--lf", m_one, m_two});
    QCOMPARE(csvRun.status, 0);
    QCOMPARE(readFile(csv), QByteArray("list,line,text\r\nboth,1,apple\r\nboth,2,Pear\r\n"
                                       "both,3,fig\r\nboth,4,fig\r\nonly_in_1,5,kiwi\r\n"
                                       "only_in_2,2,plum\r\n"));
    QCOMPARE(readFile(only2), QByteArray("plum\n"));
    const Run help = runCompanion({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("--only-in-2 <PATH>"));
}

void TestCompanion::manualPagesListEveryOption_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("page");
    QTest::newRow("quillmark-compare") << "quillmark-compare"
                                       << "quillmark-compare.1";
    QTest::newRow("quillmark") << "quillmark"
                               << "quillmark.1";
}

// Every option a program's --help offers is in its manual page and its
// completion.
void TestCompanion::manualPagesListEveryOption()
{
    QFETCH(QString, program);
    QFETCH(QString, page);
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_BINARY_DIR "/") + program, {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList options = longOptions(QString::fromUtf8(process.readAllStandardOutput()));
    QVERIFY(options.contains(QStringLiteral("--help")));
    const QString manual =
        QString::fromUtf8(readFile(QStringLiteral(QUILLMARK_DIST_DIR "/") + page))
            .replace(QStringLiteral("\\-"), QStringLiteral("-"));
    const QString completion = QString::fromUtf8(
        readFile(QStringLiteral(QUILLMARK_DIST_DIR "/bash-completion/") + program));
    const QStringList documented = longOptions(manual);
    const QStringList completed = longOptions(completion);
    for (const QString& option : options) {
        QVERIFY2(documented.contains(option), qPrintable(option + QStringLiteral(" in ") + page));
        QVERIFY2(completed.contains(option), qPrintable(option + QStringLiteral(" completed")));
    }
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

void TestCompanion::hostileFiles_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err"); // alternatives separated by '|'; empty: no message
    QTest::addColumn<QByteArray>("out");

    // A 64 KiB tmpfs with about 4 KiB left when permitted, else a 4 KiB file
    // size limit; the old list must stay whole, with no temporary file left.
    const QString nearlyFull = QStringLiteral(
        "seq 1000000000 %1 > a.txt; mkdir full\n"
        "root && mount -t tmpfs -o size=64k tmpfs full 2>/dev/null && trap 'umount -l full' EXIT\n"
        "printf 'old\\r\\n' > full/only1.txt\n"
        "if mountpoint -q full; then\n"
        "  head -c $(( $(stat -f -c '%a*%S' full) - 4096 )) /dev/zero > full/filler\n"
        "else ulimit -f 4; fi\n"
        "run --only-in-1 full/only1.txt a.txt b.txt; cat full/only1.txt; ls -A full | grep -v "
        "filler");
    const QString full = "No space left on device|File too large";
    QTest::newRow("nearly full disk, a 13,200-byte list")
        << nearlyFull.arg(1000001099) << 1 << full << QByteArray("old\r\nonly1.txt\n");
    QTest::newRow("nearly full disk, a 2.4 MB list")
        << nearlyFull.arg(1000199999) << 1 << full << QByteArray("old\r\nonly1.txt\n");
    // SIGXFSZ at its default: the companion, not the test, keeps it from
    // ending the run.
    QTest::newRow("the file-size limit, a 22 MB list")
        << "seq 3000000 > big.txt; printf 'OLD\\n' > fs.txt\n"
           "ulimit -f 1024; run --only-in-1 fs.txt big.txt b.txt; cat fs.txt; ls -A"
        << 1 << "Cannot write \"fs.txt\": File too large"
        << QByteArray("OLD\na.txt\nb.txt\nbig.txt\nfs.txt\n");
    QTest::newRow("the file-size limit, lists to two files")
        << "seq 3000000 > big.txt; printf 'OLD\\n' > fs.txt\n"
           "ulimit -f 1024; run --both both.txt --only-in-1 fs.txt big.txt b.txt; cat fs.txt; "
           "ls -A"
        << 1 << "File too large" << QByteArray("OLD\na.txt\nb.txt\nbig.txt\nfs.txt\n");
    QTest::newRow("a 53 MB list, sent to the disk and let go of as it is written")
        << "seq 6000000 > a.txt; run --only-in-1 big a.txt b.txt\n"
           "{ sed 's/$/\\r/' a.txt; printf '\\r\\n'; } | cmp - big && echo same"
        << 0 << "" << QByteArray("same\n");
    QTest::newRow("/dev/full as a list")
        << "run --both /dev/full a.txt b.txt" << 1 << "No space left on device" << QByteArray();
    QTest::newRow("/dev/stdout appended with >>")
        << "echo earlier > log; run --both /dev/stdout a.txt b.txt >> log; cat log" << 0 << ""
        << QByteArray("earlier\nfig\r\n");
    QTest::newRow("lists to files, and file 2's list to standard output after them")
        << "run --both both --only-in-1 one --only-in-2 - a.txt b.txt; cat both one" << 0 << ""
        << QByteArray("plum\r\nfig\r\napple\r\nkiwi\r\n");
    QTest::newRow("names that are not UTF-8, read and written as they are")
        << "cp a.txt $'\\xff.txt'; run --both $'\\xfe' $'\\xff.txt' b.txt; cat $'\\xfe'" << 0 << ""
        << QByteArray("fig\r\n");
    QTest::newRow("a file named like options, after --")
        << "cp a.txt ./-dash.txt; run --both - -- -dash.txt b.txt" << 0 << ""
        << QByteArray("fig\r\n");
    QTest::newRow("- and /dev/stdout both standard output")
        << "run --both - --only-in-1 /dev/stdout a.txt b.txt > out; cat out" << 2
        << "only one list can go to standard output" << QByteArray();
    QTest::newRow("a closed standard output")
        << "run --both - a.txt b.txt >&-" << 2
        << "quillmark-compare: standard output: Bad file descriptor" << QByteArray();
    QTest::newRow("- with standard input closed")
        << "run --both /dev/null - b.txt <&-" << 2
        << "quillmark-compare: standard input: Bad file descriptor" << QByteArray();
    QTest::newRow("a missing name that is not UTF-8, quoted as ls does")
        << "run $'\\xffnope' b.txt" << 1
        << "quillmark-compare: $'\\377''nope': No such file or directory" << QByteArray();
    QTest::newRow("a symbolic link loop")
        << "ln -s loop loop; run loop b.txt" << 1
        << "quillmark-compare: loop: Too many levels of symbolic links" << QByteArray();
    QTest::newRow("/dev/fd/3 opened with >>")
        << "echo earlier > log; exec 3>>log; run --only-in-1 /dev/fd/3 a.txt b.txt; cat log" << 0
        << "" << QByteArray("earlier\napple\r\nkiwi\r\n");
    QTest::newRow("a list to a symbolic link to another list")
        << "ln -s same link; run --both same --only-in-1 link a.txt b.txt; ls" << 2
        << "\"link\" are the same file" << QByteArray("a.txt\nb.txt\nlink\n");
    QTest::newRow("a list to a hard link of another list")
        << "echo old > one; ln one two; run --both one --only-in-2 two a.txt b.txt; cat one" << 2
        << "\"two\" are the same file" << QByteArray("old\n");
    QTest::newRow("a list over an input, through a link")
        << "ln -s a.txt link; run --both link a.txt b.txt; cat a.txt" << 2
        << "would overwrite FILE1" << QByteArray("apple\nfig\nkiwi");
    QTest::newRow("-z with file 2 in pieces: a NUL at the end ends its last line")
        << "printf 'a\\0b\\0' > z1; printf 'b\\0c\\0' > z2\n"
           "run -z --only-in-2 out z1 z2; tr '\\0' @ < out"
        << 0 << "" << QByteArray("c@");
    QTest::newRow("a list over an input, through >>")
        << "run --both - a.txt b.txt >> a.txt; cat a.txt" << 2 << "would overwrite FILE1"
        << QByteArray("apple\nfig\nkiwi");
    QTest::newRow("file 1 on standard input, its first line read already")
        << "{ read -r skipped; run --only-in-1 - /dev/stdin b.txt; } < a.txt" << 0 << ""
        << QByteArray("kiwi\r\n");
    QTest::newRow("standard input as both files")
        << "run - /dev/stdin <<< fig" << 2 << "read only once" << QByteArray();
    QTest::newRow("a list through a symbolic link: the link stays")
        << "echo old > real; ln -s real link; run --both link a.txt b.txt; stat -c %F link; "
           "cat real"
        << 0 << "" << QByteArray("symbolic link\nfig\r\n");
    QTest::newRow("a hard-linked list is written into the file, mode kept")
        << "echo 'an old text longer than the list' > one; chmod 640 one; ln one other\n"
           "run --both one a.txt b.txt; stat -c '%h %a' one; cat other"
        << 0 << "" << QByteArray("2 640\nfig\r\n");
    QTest::newRow("another user's list keeps its owner, group and mode")
        << "root || { echo only root can give a file to another user; exit 77; }\n"
           "echo old > theirs; chown 65534:65534 theirs; chmod 604 theirs\n"
           "run --both theirs a.txt b.txt; stat -c '%u:%g %a' theirs; cat theirs"
        << 0 << "" << QByteArray("65534:65534 604\nfig\r\n");
    QTest::newRow("a new list gets the mode that the umask leaves")
        << "umask 027; run --both new a.txt b.txt; stat -c %a new; umask 002\n"
           "run --only-in-1 shared a.txt b.txt; stat -c %a shared"
        << 0 << "" << QByteArray("640\n664\n");
    // As root, the folder is root's and the companion runs as another user;
    // otherwise the folder's own bits stop its owner.
    QTest::newRow("a writable file in a folder that may not be written")
        << "mkdir locked; printf old > locked/list; chmod 666 locked/list; chmod 555 locked\n"
           "root && run() { setpriv --reuid=65534 --regid=65534 --clear-groups \"$Q\" \"$@\"; "
           "status=$?; }\n"
           "run --only-in-1 locked/list a.txt b.txt; chmod 755 locked; cat locked/list"
        << 0 << "" << QByteArray("apple\r\nkiwi\r\n");
    QTest::newRow("a FIFO that nobody reads, as a list")
        << "mkfifo fifo; run --both fifo a.txt b.txt" << 1 << "no program reads" << QByteArray();
    // The reader is there, without blocking, before the companion starts
    // (Perl comes with every Debian system).
    QTest::newRow("a FIFO with a reader, as a list")
        << "mkfifo fifo; perl -MFcntl -e 'sysopen(my $f, \"fifo\", O_RDONLY | O_NONBLOCK) or die;\n"
           "open(my $r, \">\", \"ready\"); close $r; my $in = \"\"; vec($in, fileno($f), 1) = 1;\n"
           "while (select(my $out = $in, undef, undef, 20) > 0) {\n"
           "  sysread($f, my $piece, 65536) or last; print $piece }' &\n"
           "until [ -e ready ]; do sleep 0.01; done; run --both fifo a.txt b.txt; wait"
        << 0 << "" << QByteArray("fig\r\n");
    QTest::newRow("a FIFO as an input")
        << "mkfifo fifo; printf 'plum\\nkiwi' > fifo & run --both - fifo a.txt" << 0 << ""
        << QByteArray("kiwi\r\n");
    QTest::newRow("a pipe on standard input")
        << "run --only-in-2 - b.txt - < <(printf 'kiwi\\nfig')" << 0 << ""
        << QByteArray("kiwi\r\n");
    QTest::newRow("a process substitution")
        << "run --both - <(printf 'kiwi\\nfig') b.txt" << 0 << "" << QByteArray("fig\r\n");
    QTest::newRow("a /proc file, whose reported size is 0")
        << "printf 'Linux\\nplum' > b.txt; run --both - /proc/sys/kernel/ostype b.txt" << 0 << ""
        << QByteArray("Linux\r\n");
    // Root runs the companion as nobody, whom the permission bits stop.
    const QString asNobody = QStringLiteral(
        "root && run() { setpriv --reuid=nobody --regid=nogroup --clear-groups \"$Q\" \"$@\"; "
        "status=$?; }\n");
    QTest::newRow("a file of length 0 that may not be read, as file 1")
        << asNobody + ": > secret; chmod 600 secret; root || chmod 000 secret; run secret b.txt"
        << 1 << "Cannot open \"secret\": Permission denied" << QByteArray();
    QTest::newRow("a file of length 0 that may not be read, as file 2 read in pieces")
        << asNobody + ": > secret; chmod 600 secret; root || chmod 000 secret\n"
                      "run --only-in-2 out b.txt secret; ls"
        << 1 << "Cannot open \"secret\": Permission denied" << QByteArray("a.txt\nb.txt\nsecret\n");
    QTest::newRow("/proc/1/mem, whose reported size is 0, as file 1")
        << asNobody + "run --both - /proc/1/mem b.txt" << 1
        << "Cannot open \"/proc/1/mem\": Permission denied" << QByteArray();
    QTest::newRow("/proc/1/mem as file 2 read in pieces")
        << asNobody + "run a.txt /proc/1/mem" << 1
        << "Cannot open \"/proc/1/mem\": Permission denied" << QByteArray();
    QTest::newRow("/proc/1/mem as file 2 read whole")
        << asNobody + "run --only-in-2 - a.txt /proc/1/mem" << 1
        << "Cannot open \"/proc/1/mem\": Permission denied" << QByteArray();
    QTest::newRow("a file of length 0 that opens is \"empty file\"")
        << ": > empty; run --only-in-1 - empty b.txt" << 0 << "" << QByteArray("empty file\r\n");
    QTest::newRow("a socket as an input")
        << "perl -MIO::Socket::UNIX -e 'IO::Socket::UNIX->new(Local => \"sock\", Listen => 1)'\n"
           "run sock b.txt"
        << 1 << "it is a socket" << QByteArray();
    QTest::newRow("--help to a full disk")
        << "run --help > /dev/full" << 1
        << "quillmark-compare: standard output: No space left on device" << QByteArray();
    QTest::newRow("--version to a full disk")
        << "run --version > /dev/full" << 1
        << "quillmark-compare: standard output: No space left on device" << QByteArray();
    QTest::newRow("near misses to a full disk, the lists untouched")
        << "printf FIG > c.txt; echo old > both\n"
           "run --match-case --both both --near-misses /dev/full a.txt c.txt; cat both"
        << 1 << "No space left on device" << QByteArray("old\n");
    QTest::newRow("a CSV file to a full disk, the lists untouched")
        << "echo old > both; run --both both --csv /dev/full a.txt b.txt; cat both" << 1
        << "No space left on device" << QByteArray("old\n");
    // From disk: a temporary folder that fills part-way (the file-size
    // limit), or that a nearly full disk gives too little room from the start.
    const QString fromDisk = QStringLiteral(
        "seq 1000000000 1000199999 > a.txt; printf 'old\\r\\n' > only1.txt; mkdir tmp\n%1\n"
        "run --memory 1M --temp-dir tmp --only-in-1 only1.txt a.txt b.txt; cat only1.txt; ls -A "
        "tmp");
    QTest::newRow("from disk, the temporary folder fills part-way")
        << fromDisk.arg("ulimit -f 64") << 1 << "no room left in the temporary folder"
        << QByteArray("old\r\n");
    QTest::newRow("from disk, too little room in the temporary folder")
        << fromDisk.arg("root && mount -t tmpfs -o size=256k tmpfs tmp 2>/dev/null && trap 'umount "
                        "-l tmp' EXIT || ulimit -f 4")
        << 1 << "MB free; comparing these files from disk takes|no room left"
        << QByteArray("old\r\n");
    QTest::newRow("a memory budget that is no size")
        << "run --memory lots a.txt b.txt" << 2 << "--memory needs a size" << QByteArray();
    QTest::newRow("a folder as a list")
        << "run --both . a.txt b.txt" << 1 << "it is a folder" << QByteArray();
    QTest::newRow("a link to nothing as an input")
        << "ln -s gone link; run link b.txt" << 1
        << "quillmark-compare: link: No such file or directory" << QByteArray();
    QTest::newRow("control characters in a name are quoted")
        << "run --both $'no\\n\\e[31mfolder/x' a.txt b.txt" << 1 << "'no'$'\\n\\033''[31mfolder/x'"
        << QByteArray();
}

void TestCompanion::hostileFiles()
{
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(QString, err);
    QFETCH(QByteArray, out);
    QTemporaryDir dir;
    // Open to everybody, so that an unprivileged child can reach the files.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const Run run = runScript(dir.path(), script);
    if (run.status == 77)
        QSKIP(run.out.trimmed().constData());
    QVERIFY2(run.status == status, run.err.constData());
    QCOMPARE(run.out, out);
    if (err.isEmpty()) {
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    } else {
        const QString message = QString::fromUtf8(run.err);
        bool found = false;
        for (const QString& alternative : err.split(QLatin1Char('|')))
            found = found || message.contains(alternative);
        QVERIFY2(found, run.err.constData());
        QVERIFY2(!run.err.contains('\x1b'), "a control character reached the terminal");
        // Every message says whose it is, as every command-line tool's does.
        QVERIFY2(run.err.startsWith("quillmark-compare: "), run.err.constData());
    }
}

void TestCompanion::longLineInFile2CostsItsSize_data()
{
    QTest::addColumn<QString>("run"); // the end of the script: the companion's arguments
    QTest::addColumn<QByteArray>("out");
    const QByteArray counts("Lines In Both Text Files: 1\nLines In File 1 That Are Not In File 2: "
                            "2\nLines In File 2 That Are Not In File 1: 2\n");
    QTest::newRow("a regular file") << "a.txt long.txt > counts" << counts;
    QTest::newRow("a pipe") << "a.txt <(cat long.txt) > counts" << counts;
    QTest::newRow("a regular file, its list written")
        << "--only-in-2 counts a.txt long.txt" << QByteArray("plum\r\n");
    QTest::newRow("a pipe, its list written")
        << "--only-in-2 counts a.txt <(cat long.txt)" << QByteArray("plum\r\n");
}

// File 2 is read a piece at a time; a line longer than a piece makes its
// piece grow. The growing must not copy the line, nor may its list take a
// second copy: 160 MiB once, with room for a piece and the program.
void TestCompanion::longLineInFile2CostsItsSize()
{
    QFETCH(QString, run);
    QFETCH(QByteArray, out);
    constexpr qint64 kLine = qint64(160) << 20;
    QTemporaryDir dir;
    const auto [status, peak] = runForPeak(
        dir.path(), QStringLiteral("printf 'apple\\nfig\\nkiwi' > a.txt\n"
                                   "{ head -c %1 /dev/zero | tr '\\0' z; printf '\\nfig\\nplum'; } "
                                   "> long.txt\nexec \"$Q\" %2")
                        .arg(kLine)
                        .arg(run));
    QCOMPARE(status, 0);
    const QByteArray written = readFile(dir.filePath(QStringLiteral("counts")));
    QVERIFY2(written.endsWith(out), written.right(200).constData());
    if (out.startsWith("plum"))
        QCOMPARE(written.size(), kLine + 2 + out.size());
        // The address sanitizer keeps freed memory aside and shadows what is
        // used, so a peak taken under it says nothing of the program's own.
#ifndef __SANITIZE_ADDRESS__
    QVERIFY2(peak < kLine + (qint64(32) << 20),
             qPrintable(QStringLiteral("peak %1 MiB").arg(peak >> 20)));
#else
    Q_UNUSED(peak);
#endif
}

void TestCompanion::stopSignalsLeaveNoTemporaryFile_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("ignoredAtStart");
    QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT) << false;
    QTest::newRow("SIGTERM (kill)") << int(SIGTERM) << false;
    QTest::newRow("SIGHUP (the terminal closed)") << int(SIGHUP) << false;
    QTest::newRow("SIGHUP under nohup: the save goes on") << int(SIGHUP) << true;
    QTest::newRow("SIGTERM while the lists merge from disk") << int(SIGTERM) << false;
}

void TestCompanion::stopSignalsLeaveNoTemporaryFile()
{
    QFETCH(int, signal);
    QFETCH(bool, ignoredAtStart);
    QTemporaryDir dir;
    const QString list = writeFile(dir, QStringLiteral("list.txt"), "old\r\n");
    const QString small = writeFile(dir, QStringLiteral("small.txt"), "x\n");
    // Compared from disk, the list is merged from the parts as it is saved:
    // the private folder must go too.
    const QStringList fromDisk =
        QString::fromLatin1(QTest::currentDataTag()).contains(QLatin1String("from disk"))
            ? QStringList{"--memory", "64M", "--temp-dir", dir.path()}
            : QStringList();
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const pid_t pid =
        startCompanion(fromDisk + QStringList{"--only-in-1", list, m_big, small}, ignoredAtStart);
    QVERIFY(pid > 0);
    // Signalled once a megabyte of its 53 MB list is in the temporary file.
    qint64 saved = -1;
    for (int waited = 0; waited < 60000 && saved < (1 << 20); ++waited) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            QFAIL("the companion ended before it could be signalled");
        saved = bytesBeingSaved(pid, dir.path());
        if (saved < (1 << 20))
            QThread::msleep(1);
    }
    QVERIFY(saved >= (1 << 20));
    QVERIFY(::kill(pid, signal) == 0);
    const int status = waitForEnd(pid);
    if (ignoredAtStart) {
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
                 qPrintable(QString::number(status)));
        QVERIFY(readFile(list).endsWith("\r\n5999999\r\n6000000\r\n"));
    } else {
        // Ended by the signal, as without a handler: a shell sees 128 + signal.
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString::number(status)));
        QCOMPARE(WTERMSIG(status), signal);
        QCOMPARE(readFile(list), QByteArray("old\r\n"));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             before);
}

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
