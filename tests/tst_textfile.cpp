#include "compare/ByteBuffer.h"
#include "compare/LineTable.h"
#include "compare/TextFile.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "tests/TestSupport.h"

#include <QtTest>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

class TestTextFile : public QObject
{
    Q_OBJECT
private slots:
    void readWholeFile_data();
    void readWholeFile();
    void missingPaths_data();
    void missingPaths();
    void unreadableRaisesAndLeavesNothingOpen_data();
    void unreadableRaisesAndLeavesNothingOpen();
    void readsToTheEndWhateverTheReportedSize();
    void quotedName_data();
    void quotedName();
    void lengthBeyondTwoGiB();
    void regularFileLookup_data();
    void regularFileLookup();
    void mappedFileChangedMeanwhile_data();
    void mappedFileChangedMeanwhile();
    void growKeepsTheBytes_data();
    void growKeepsTheBytes();
    void piecesSplitAsTheWholeFile_data();
    void piecesSplitAsTheWholeFile();

private:
    QTemporaryDir m_dir;
};

void TestTextFile::readWholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero length") << QByteArray() << QStringLiteral("empty file");
    QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("utf-8, its BOM kept as a character")
        << QByteArray("\xEF\xBB\xBFh\xC3\xA9") << QStringLiteral(u"\uFEFFh\u00E9");
    QTest::newRow("invalid utf-8 kept as escapes")
        << QByteArray("a\xE9\r\n") << QStringLiteral(u"a\xDCE9\r\n");
    QTest::newRow("utf-16 with BOM, BOM kept") << QByteArray("\xFF\xFE"
                                                             "A\0\n\0B\0",
                                                             8)
                                               << QStringLiteral(u"\uFEFFA\nB");
    QTest::newRow("utf-16, odd length") << QByteArray("\xFF\xFE"
                                                      "A\0\x81",
                                                      5)
                                        << QStringLiteral(u"\uFEFFA\xDC81");
    QTest::newRow("first byte 0xFE, then not 0xFF: low byte first") << QByteArray("\xFE\0A\0", 4)
                                                                    << QStringLiteral(u"\u00FE"
                                                                                      u"A");
    QTest::newRow("0xFE alone: a lone byte") << QByteArray("\xFE") << QStringLiteral(u"\xDCFE");
    QTest::newRow("FE FF: utf-16 high byte first, BOM kept")
        << QByteArray("\xFE\xFF\0A\0\n\0B", 8) << QStringLiteral(u"\uFEFFA\nB");
    QTest::newRow("FE FF alone") << QByteArray("\xFE\xFF") << QStringLiteral(u"\uFEFF");
    QTest::newRow("utf-16 high byte first, odd length")
        << QByteArray("\xFE\xFF\0A\x81", 5) << QStringLiteral(u"\uFEFFA\xDC81");
    QTest::newRow("utf-16 high byte first, a pair and a lone surrogate")
        << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00\xD8\x00\0A", 10)
        << QStringLiteral(u"\uFEFF\U0001F600\xD800"
                          u"A");
    QTest::newRow("FF FE stays low byte first")
        << QByteArray("\xFF\xFE\xFF\xFE", 4) << QStringLiteral(u"\uFEFF\uFEFF");
    QTest::newRow("first byte 0xFD is 8-bit") << QByteArray("\xFD"
                                                            "A")
                                              << QStringLiteral(u"\xDCFD"
                                                                u"A");
    QTest::newRow("nul bytes") << QByteArray("a\0\0b", 4) << QStringView(u"a\0\0b", 4).toString();
}

void TestTextFile::readWholeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = writeFile(m_dir, QString::fromLatin1(QTest::currentDataTag()), bytes);
    QCOMPARE(ReadWholeFile(path), text);
    QVERIFY(FileSystem::FileExists(path));
}

void TestTextFile::missingPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty path") << QString();
    QTest::newRow("no such file") << m_dir.filePath(QStringLiteral("absent.txt"));
    QTest::newRow("no such folder") << m_dir.filePath(QStringLiteral("nowhere/absent.txt"));
    QTest::newRow("nul in the path") << QStringView(u"/etc/passwd\0x", 13).toString();
}

void TestTextFile::missingPaths()
{
    QFETCH(QString, path);
    QVERIFY(!FileSystem::FileExists(path));
    QCOMPARE(ReadWholeFile(path), QString());
    QVERIFY(ReadWholeFile(path).isEmpty());
}

void TestTextFile::unreadableRaisesAndLeavesNothingOpen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder"
                              << "it is a folder";
    QTest::newRow("no descriptor left to open it") << "locked"
                                                   << "open files";
    QTest::newRow("a FIFO in a file's place, refused at once") << "fifo"
                                                               << "it is a FIFO";
    // Length 0 and no permission to open: a failure, not "empty file".
    QTest::newRow("a file of length 0 that may not be read") << "forbidden"
                                                             << "Permission denied";
    QTest::newRow("/proc/1/mem, whose reported size is 0") << "/proc/1/mem"
                                                           << "Permission denied";
    QTest::newRow("a file in a folder that may not be searched") << "hidden"
                                                                 << "Permission denied";
}

void TestTextFile::unreadableRaisesAndLeavesNothingOpen()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString readable = writeFile(m_dir, QStringLiteral("readable.txt"), "fine");
    // Open to everybody, so that only the file's own bits stop another user.
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    QString path = kind.startsWith(QLatin1Char('/')) ? kind : m_dir.filePath(kind);
    bool asUser = false; // run as another user, whom permission bits stop
    if (kind == QLatin1String("folder")) {
        QDir().mkpath(path);
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("forbidden")) {
        path = writeFile(m_dir, QStringLiteral("forbidden.txt"), QByteArray());
        ::chmod(QFile::encodeName(path).constData(), 0);
        asUser = true;
        SKIP_UNLESS_UNREADABLE(path);
    } else if (kind == QLatin1String("hidden")) {
        QDir().mkpath(path);
        path = writeFile(m_dir, QStringLiteral("hidden/inside.txt"), "secret");
        ::chmod(QFile::encodeName(m_dir.filePath(kind)).constData(), 0);
        asUser = true;
        SKIP_UNLESS_UNREADABLE(path);
    } else if (kind.startsWith(QLatin1Char('/'))) {
        asUser = true;
        SKIP_UNLESS_UNREADABLE(path);
    } else {
        path = writeFile(m_dir, QStringLiteral("locked.txt"), "secret");
    }
    const int before = openDescriptorCount();
    QString description;
    try {
        if (kind == QLatin1String("locked")) {
            NoMoreFiles limit;
            ReadWholeFile(path);
        } else {
            std::optional<AsUnprivilegedUser> user;
            if (asUser)
                user.emplace();
            ReadWholeFile(path);
        }
    } catch (const RuntimeError& error) {
        description = error.description();
    }
    if (kind == QLatin1String("hidden"))
        ::chmod(QFile::encodeName(m_dir.filePath(kind)).constData(), 0755);
    QVERIFY2(description.contains(path), qPrintable(description));
    QVERIFY2(description.contains(reason), qPrintable(description));
    QCOMPARE(openDescriptorCount(), before);
    // The next file reads as usual.
    QCOMPARE(ReadWholeFile(readable), QStringLiteral("fine"));
}

void TestTextFile::readsToTheEndWhateverTheReportedSize()
{
    // /proc files report a size of 0 and hold text all the same.
    const QString text = ReadWholeFile(QStringLiteral("/proc/self/status"));
    QVERIFY2(text.startsWith(QStringLiteral("Name:")), qPrintable(text.left(40)));
}

void TestTextFile::quotedName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/tmp/a b.txt"
                           << "\"/tmp/a b.txt\"";
    QTest::newRow("line break") << "a\nb"
                                << "'a'$'\\n''b'";
    QTest::newRow("escape sequence") << "x\x1b[31m"
                                     << "'x'$'\\033''[31m'";
    QTest::newRow("control characters together") << "\t\r"
                                                 << "$'\\t\\r'";
    QTest::newRow("apostrophe beside a control character") << "it's\a"
                                                           << "'it'\\''s'$'\\a'";
    QTest::newRow("C1 control as its UTF-8 bytes")
        << QStringLiteral(u"a\u009Bb") << "'a'$'\\302\\233''b'";
    QTest::newRow("non-ASCII is no control")
        << QStringLiteral(u"\u00E9t\u00E9") << QStringLiteral(u"\"\u00E9t\u00E9\"");
}

void TestTextFile::quotedName()
{
    QFETCH(QString, name);
    QFETCH(QString, quoted);
    QCOMPARE(FileError::QuotedName(name), quoted);
}

void TestTextFile::lengthBeyondTwoGiB()
{
    // A sparse file takes no space but reports its full length.
    const QString path = m_dir.filePath(QStringLiteral("huge.bin"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize((qint64(1) << 31) + 10));
    file.close();
    QCOMPARE(FileSystem::FileLength(path), (qint64(1) << 31) + 10);
}

void TestTextFile::regularFileLookup_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("found");
    const QString file = writeFile(m_dir, QStringLiteral("list.txt"), "x");
    writeFile(m_dir, QStringLiteral(".hidden"), "x");
    QTest::newRow("regular file") << file << true;
    QTest::newRow("dot-file") << m_dir.filePath(QStringLiteral(".hidden")) << true;
    QTest::newRow("folder") << m_dir.path() << false;
    QTest::newRow("device") << QStringLiteral("/dev/null") << false;
    QTest::newRow("blanks") << QStringLiteral("   ") << false;
    QTest::newRow("empty") << QString() << false;
    // A pattern is a name like any other: it matches nothing, it names itself.
    QTest::newRow("wildcard that would match") << m_dir.filePath(QStringLiteral("*.txt")) << false;
    QTest::newRow("? that would match") << m_dir.filePath(QStringLiteral("lis?.txt")) << false;
    QTest::newRow("a star in the name")
        << writeFile(m_dir, QStringLiteral("a*b?.txt"), "x") << true;
    QTest::newRow("wildcard without match") << m_dir.filePath(QStringLiteral("*.csv")) << false;
}

void TestTextFile::regularFileLookup()
{
    QFETCH(QString, path);
    QFETCH(bool, found);
    QCOMPARE(FileSystem::RegularFileLookup(path), found);
}

void TestTextFile::mappedFileChangedMeanwhile_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("unchanged");
    QTest::newRow("left alone") << "none" << true;
    QTest::newRow("cut to one page while mapped") << "shrink" << false;
    QTest::newRow("emptied while mapped") << "empty" << false;
    QTest::newRow("written in place") << "write" << false;
    QTest::newRow("appended to") << "append" << false;
}

void TestTextFile::mappedFileChangedMeanwhile()
{
    QFETCH(QString, change);
    QFETCH(bool, unchanged);
    // Five pages and a bit, its last line without a line feed.
    QByteArray bytes;
    for (int i = 0; bytes.size() < 5 * 4096 + 100; ++i)
        bytes += "line " + QByteArray::number(i) + "\n";
    bytes += "last";
    const QString path = writeFile(m_dir, QStringLiteral("mapped.txt"), bytes);
    FileContent content = MapFileContent(path);
    QCOMPARE(content.kind, FileContent::Kind::Ansi);
    QCOMPARE(QByteArray(content.bytes.data(), content.bytes.size()), bytes);
    QVERIFY(content.bytes.Unchanged());
    QTest::qSleep(20); // a later modification time, whatever the clock's grain
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (change == QLatin1String("shrink"))
        QVERIFY(file.resize(4096));
    else if (change == QLatin1String("empty"))
        QVERIFY(file.resize(0));
    else if (change == QLatin1String("write"))
        QCOMPARE(file.write("LINE"), qint64(4));
    else if (change == QLatin1String("append"))
        QVERIFY(file.seek(file.size()) && file.write("\nmore") == 5);
    file.close();
    // Every byte read, as splitting the lines would: the pages the file lost
    // read as zeros instead of ending the program.
    qint64 zeros = 0;
    for (qint64 i = 0; i < content.bytes.size(); ++i)
        zeros += content.bytes.data()[i] == 0;
    QCOMPARE(content.bytes.Unchanged(), unchanged);
    if (change == QLatin1String("shrink"))
        QCOMPARE(zeros, bytes.size() - 4096);
    // Another file maps and reads as before.
    const QString other = writeFile(m_dir, QStringLiteral("other.txt"), "other");
    const FileContent again = MapFileContent(other);
    QCOMPARE(QByteArray(again.bytes.data(), again.bytes.size()), QByteArray("other"));
    QVERIFY(again.bytes.Unchanged());
}

namespace {

// The byte at offset i of a test buffer: no run of it repeats at a page's or
// a piece's distance, so bytes copied to the wrong place show.
char patternAt(qint64 i)
{
    return char((i * 7 + i / 4099) & 0xFF);
}

} // namespace

void TestTextFile::growKeepsTheBytes_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<bool>("mappedFile"); // the buffer maps a file's bytes
    const qint64 mib = qint64(1) << 20;
    QTest::newRow("in malloc's memory, a byte at a time")
        << qint64(0) << qint64(1) << qint64(5000) << false;
    QTest::newRow("out of malloc's memory into pages") << mib << 5 * mib << 6 * mib << false;
    QTest::newRow("pages remapped, a piece at a time")
        << 5 * mib << 2 * mib + 3 << 41 * mib << false;
    QTest::newRow("a mapped file's bytes, copied") << 5 * mib << mib << 7 * mib << true;
}

// A line longer than a piece grows its buffer step by step (PieceReader);
// every byte read so far must stay where it was, whether the buffer was
// reallocated, remapped or copied.
void TestTextFile::growKeepsTheBytes()
{
    QFETCH(qint64, start);
    QFETCH(qint64, step);
    QFETCH(qint64, end);
    QFETCH(bool, mappedFile);
    QByteArray initial(start, Qt::Uninitialized);
    for (qint64 i = 0; i < start; ++i)
        initial[i] = patternAt(i);
    ByteBuffer buffer;
    const QString path = writeFile(m_dir, QStringLiteral("grown.bin"), initial);
    if (mappedFile) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        buffer = ByteBuffer::MapFile(fd, start);
        ::close(fd);
        QCOMPARE(buffer.size(), start);
    } else {
        buffer = ByteBuffer(start);
        if (start > 0)
            std::memcpy(buffer.data(), initial.constData(), size_t(start));
    }
    for (qint64 size = start; size < end;) {
        const qint64 next = std::min(size + step, end);
        buffer.Grow(next);
        QCOMPARE(buffer.size(), next);
        for (qint64 i = size; i < next; ++i)
            buffer.data()[i] = patternAt(i);
        size = next;
    }
    qint64 wrong = -1;
    for (qint64 i = 0; i < end && wrong < 0; ++i)
        if (buffer.data()[i] != patternAt(i))
            wrong = i;
    QCOMPARE(wrong, qint64(-1));
    // Growing never writes to the file behind the bytes.
    QVERIFY(readFile(path) == initial);
    buffer.Grow(end - 1); // shorter: nothing changes
    QCOMPARE(buffer.size(), end);
}

void TestTextFile::piecesSplitAsTheWholeFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("nul");
    QTest::newRow("NUL ends, the last piece ending at the last NUL")
        << QByteArray("b\0c\nd\0", 7) << true;
    QTest::newRow("NUL ends, an empty last line") << QByteArray("b\0\0", 3) << true;
    QTest::newRow("NUL ends, no NUL at the end") << QByteArray("b\0c\0d", 5) << true;
    QTest::newRow("line feeds, one at the end") << QByteArray("ab\ncd\n") << false;
}

// However a file is cut into pieces, their lines are the file's lines.
void TestTextFile::piecesSplitAsTheWholeFile()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, nul);
    ReadOptions read;
    read.lineEnds = nul ? ReadOptions::LineEnds::Nul : ReadOptions::LineEnds::LineFeeds;
    const QString path = writeFile(m_dir, QStringLiteral("pieces.txt"), text);
    auto linesOf = [](const LineTable& table) {
        QList<QByteArray> lines;
        for (qsizetype i = 0; i < table.size(); ++i)
            lines.append(table.bytes(i).toByteArray());
        return lines;
    };
    const QList<QByteArray> whole =
        linesOf(LineTable::FromContent(ReadFileContent(path, read), nullptr, read.lineEnds));
    for (qint64 pieceBytes = 1; pieceBytes <= text.size() + 1; ++pieceBytes) {
        PieceReader reader(path, pieceBytes, read);
        QList<QByteArray> lines;
        for (PieceReader::Piece piece; reader.Next(piece);)
            lines += linesOf(piece.wholeFile ? LineTable::FromContent(std::move(piece.content),
                                                                      nullptr, read.lineEnds)
                                             : LineTable::FromPiece(std::move(piece.content.bytes),
                                                                    piece.first, read.lineEnds));
        QCOMPARE(lines, whole);
    }
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
