#include "FileSystem.h"
#include "RuntimeError.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <QtTest>
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
    void lengthBeyondTwoGiB();
    void regularFileLookup_data();
    void regularFileLookup();

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
    QTest::newRow("first byte 0xFE pairs low byte first")
        << QByteArray("\xFE\xFF\0A", 4) << QStringLiteral(u"\xFFFE\x4100");
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
    QTest::addColumn<bool>("folder");
    QTest::newRow("a folder") << true;
    QTest::newRow("no descriptor left to open it") << false;
}

void TestTextFile::unreadableRaisesAndLeavesNothingOpen()
{
    QFETCH(bool, folder);
    const QString readable = writeFile(m_dir, QStringLiteral("readable.txt"), "fine");
    QString path = m_dir.filePath(QStringLiteral("folder"));
    QDir().mkpath(path);
    if (!folder)
        path = writeFile(m_dir, QStringLiteral("locked.txt"), "secret");
    const int before = openDescriptorCount();
    QString description;
    try {
        if (folder) {
            ReadWholeFile(path);
        } else {
            NoMoreFiles limit;
            ReadWholeFile(path);
        }
    } catch (const RuntimeError& error) {
        description = error.description();
    }
    QVERIFY2(description.contains(path), qPrintable(description));
    QVERIFY2(
        description.contains(folder ? QStringLiteral("is a folder") : QStringLiteral("open files")),
        qPrintable(description));
    QCOMPARE(openDescriptorCount(), before);
    // The next file reads as usual.
    QCOMPARE(ReadWholeFile(readable), QStringLiteral("fine"));
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

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
