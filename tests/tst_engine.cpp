#include "compare/CompareEngine.h"
#include "compare/CompareProgress.h"
#include "compare/DiskComparison.h"
#include "compare/LineHash.h"
#include "compare/LineKeys.h"
#include "compare/LineMatch.h"
#include "compare/NearMisses.h"
#include "compare/Records.h"
#include "compare/SharedTable.h"
#include "compare/TextFile.h"
#include "platform/AnsiCodec.h"
#include "platform/RuntimeError.h"
#include "results/ResultList.h"
#include "tests/ListFiles.h"
#include "tests/ListTexts.h"
#include "tests/ReferenceCompare.h"
#include "tests/TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A file's lines as a plain splitter of its decoded text makes them.
QStringList referenceLines(const QString& path)
{
    QString text = ReadWholeFile(path);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (!text.contains(QLatin1Char('\n')))
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.remove(QLatin1Char('\r'));
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

// The lines of file A that file B holds (inBoth) or lacks, as comparing
// every line of one with every line of the other gives them.
QStringList referenceList(const QString& pathA, const QString& pathB, const CompareOptions& options,
                          bool inBoth)
{
    return ReferenceCompare::listOf(referenceLines(pathA), referenceLines(pathB), options, inBoth);
}

QStringList items(const ResultList& list)
{
    QStringList out;
    for (int i = 1; i <= list.Count(); ++i)
        out.append(list.ItemText(i));
    return out;
}

// A target that takes every line as text, as a plain implementation would.
struct TextSink : LineSink
{
    QStringList lines;
    void Clear() override { lines.clear(); }
    void AddAt(qsizetype, const QString& text) override { lines.append(text); }
    void AddSharedAt(qsizetype, const std::shared_ptr<const void>&, QByteArrayView bytes) override
    {
        lines.append(AnsiCodec::Decode(bytes));
    }
};

using Lists = QList<QStringList>;

constexpr ResultKind kKinds[] = {ResultKind::InBoth, ResultKind::OnlyIn1, ResultKind::OnlyIn2};
constexpr ResultKind kAllKinds[] = {ResultKind::InBoth, ResultKind::OnlyIn1, ResultKind::OnlyIn2,
                                    ResultKind::Changed};

// The three list texts when file 2 is read in pieces of about pieceBytes:
// pieces of a byte cut at every line feed, pieces of a few bytes cut lines
// across reads, and the default takes a small file whole.
QList<QByteArray> streamedTexts(const QString& a, const QString& b, const CompareOptions& options,
                                qint64 pieceBytes, bool keep = false)
{
    QByteArray onlyIn2;
    const auto comparison = CompareStreamingFile2(
        a, b, options,
        [&onlyIn2] { return [&onlyIn2](QByteArrayView piece) { onlyIn2 += piece; }; }, pieceBytes,
        nullptr, LineEnd::CrLf, keep);
    const QList<QByteArray> texts = {writtenText(*comparison, ResultKind::InBoth),
                                     writtenText(*comparison, ResultKind::OnlyIn1), onlyIn2};
    // The third list is counted, and its lines kept when asked (with a
    // key, file 2 is kept whole for the partners of changed lines).
    if (ListSize(*comparison, ResultKind::OnlyIn2) != onlyIn2.count("\r\n") ||
        writtenText(*comparison, ResultKind::OnlyIn2) !=
            (keep || options.HasKey() ? onlyIn2 : QByteArray()))
        return {};
    return texts;
}

// Each line of a list, with its place in its file: "12 text".
QStringList placedLines(const Comparison& comparison, ResultKind kind)
{
    QStringList placed;
    ForEachListLine(comparison, kind, [&](qsizetype line, QByteArrayView bytes) {
        placed << QString::number(line) + QLatin1Char(' ') + AnsiCodec::Decode(bytes);
    });
    return placed;
}

// The near misses of a comparison: "line1 line2 why" each.
QStringList nearMissRows(const Comparison& comparison)
{
    QStringList rows;
    NearMisses::ForEach(comparison, [&rows](const NearMisses::Pair& pair) {
        rows << QStringLiteral("%1 %2 %3").arg(pair.line1).arg(pair.line2).arg(pair.why);
    });
    return rows;
}

constexpr qint64 kPieceSizes[] = {1, 5, 4096, qint64(2) << 20};

// What the companion reads of a comparison, as text to compare: each list's
// text and rows with partners, the counts, the changes and the near misses.
QStringList everythingWritten(const Comparison& comparison)
{
    QStringList out;
    for (const ResultKind kind : kAllKinds) {
        out << QString::fromLatin1(writtenText(comparison, kind).toBase64())
            << QString::number(ListSize(comparison, kind));
        ForEachListRow(comparison, kind,
                       [&](qsizetype line, QByteArrayView bytes, qsizetype partner) {
                           out << QStringLiteral("%1 %2 %3")
                                      .arg(line)
                                      .arg(AnsiCodec::Decode(bytes))
                                      .arg(partner);
                       });
    }
    const DistinctCounts distinct = CountDistinct(comparison);
    out << QStringLiteral("lines %1 %2 distinct %3 %4 %5 %6 header %7 %8")
               .arg(ComparedLines(comparison, 1))
               .arg(ComparedLines(comparison, 2))
               .arg(distinct.file1)
               .arg(distinct.file2)
               .arg(distinct.both)
               .arg(distinct.changed)
               .arg(HeaderLine(comparison, 1), HeaderLine(comparison, 2));
    // Keys held more than once are counted with a key.
    if (OptionsOf(comparison).HasKey())
        out << QStringLiteral("duplicate %1 %2")
                   .arg(DuplicateKeys(comparison, 1))
                   .arg(DuplicateKeys(comparison, 2));
    ForEachChange(comparison, [&](qsizetype line1, QByteArrayView one, qsizetype line2,
                                  QByteArrayView two, const Records::Change& change) {
        QStringList fields;
        for (const int f : change.fields)
            fields << QString::number(f);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                   .arg(line1)
                   .arg(line2)
                   .arg(AnsiCodec::Decode(one), AnsiCodec::Decode(two), fields.join(u';'))
                   .arg(change.first1)
                   .arg(change.length1)
                   .arg(change.first2)
                   .arg(change.length2);
    });
    return out + nearMissRows(comparison);
}

// What the window reads of a comparison: its lists as rows, and each line's
// partner, change and text.
QStringList everythingShown(const Comparison& comparison, qsizetype lines1)
{
    QStringList out;
    for (const ResultKind kind : kAllKinds) {
        TextSink list;
        FillList(comparison, kind, list);
        out << list.lines.join(u'|');
    }
    // The window asks about the rows it shows, and past either end.
    QList<qsizetype> asked{-1, lines1};
    ForEachListLine(comparison, ResultKind::Changed,
                    [&asked](qsizetype line, QByteArrayView) { asked << line; });
    for (const qsizetype line : asked) {
        const Records::Change change = ChangeOf(comparison, line);
        const qsizetype partner = PartnerOf(comparison, line);
        out << QStringLiteral("%1 %2 %3 %4")
                   .arg(partner)
                   .arg(change.fields.size())
                   .arg(change.first1)
                   .arg(change.length2)
            << LineText(comparison, 2, partner);
    }
    return out;
}

// A comparison from disk in a few parts says what the one in memory says,
// and leaves nothing in its folder.
void checkOnDisk(const QString& a, const QString& b, const CompareOptions& options,
                 const Comparison& inMemory, qsizetype lines1)
{
    QTemporaryDir folder;
    MemoryBudget budget;
    budget.parts = 3;
    budget.tempDir = folder.path();
    {
        const auto onDisk = CompareOnDisk(a, b, options, budget);
        QVERIFY(ComparedOnDisk(*onDisk));
        QCOMPARE(everythingWritten(*onDisk), everythingWritten(inMemory));
        const auto held = ListsInMemory(*onDisk);
        QCOMPARE(everythingWritten(*held), everythingWritten(inMemory));
        QCOMPARE(everythingShown(*held, lines1), everythingShown(inMemory, lines1));
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// The seed that crafted lines are made against.
constexpr LineHash::Seed kCraftedFor{0x5EED5EED5EED5EEDull, 0xF00DF00DF00DF00Dull};

// Lines like e-mail addresses whose hashes under kCraftedFor all fall in the
// lowest 1/1024 of the hashes kept, and all in table 0: they want the same
// few slots of one table. They have no capital, so they hash alike with case
// ignored or not. As a brute force against a known seed finds them.
QList<QByteArray> craftedLines(int count)
{
    QList<QByteArray> out;
    for (quint64 n = 0; out.size() < count; ++n) {
        const QByteArray line = 'u' + QByteArray::number(n) + "@example.com";
        std::uint64_t high;
        const quint32 kept = Engine::shortHash(
            LineHash::hash<false>(line.constData(), size_t(line.size()), high, kCraftedFor.k0));
        if ((kept >> 22) == 0 && Engine::SharedTable::PartOf(kept) == 0)
            out << line;
    }
    return out;
}

// Lines that differ only by '@' and '`': the same under any seed to a hash
// that set the 0x20 bit of every byte to ignore case.
QList<QByteArray> atAndGraveLines(int from, int to)
{
    QList<QByteArray> out;
    for (int i = from; i < to; ++i) {
        QByteArray line("key-");
        for (int bit = 0; bit < 15; ++bit)
            line += (i >> bit) & 1 ? '`' : '@';
        out << line;
    }
    return out;
}

// How the seeds are drawn in a test.
enum class Seeds
{
    Drawn,            // from the system
    CraftedForFirst,  // kCraftedFor first, then from the system
    CraftedForAlways, // kCraftedFor every time
};

} // namespace

Q_DECLARE_METATYPE(Seeds)
Q_DECLARE_METATYPE(CompareProgress::Step)

class TestEngine : public QObject
{
    Q_OBJECT
private slots:
    void knownCases_data();
    void knownCases();
    void options_data();
    void options();
    void distinctCounts_data();
    void distinctCounts();
    void nearMisses_data();
    void nearMisses();
    void nearMissReasons_data();
    void nearMissReasons();
    void badInput_data();
    void badInput();
    void matchesNestedLoopsOnGeneratedFiles_data();
    void matchesNestedLoopsOnGeneratedFiles();
    void everyLineLandsInExactlyOneList();
    void failedLoadLeavesTargetAlone();
    void cancelStopsAComparisonUnderWay();
    void cancelStopsReadingAFile();
    void cancelStopsEachPhaseFromDisk_data();
    void cancelStopsEachPhaseFromDisk();
    void streamInputsOnlyWhenAsked_data();
    void streamInputsOnlyWhenAsked();
    void linesThatCollideStillCompare();
    void hostileListsStayLinear_data();
    void hostileListsStayLinear();
    void cancelIsLookedAtByWork_data();
    void cancelIsLookedAtByWork();

private:
    QTemporaryDir m_dir;
};

void TestEngine::knownCases_data()
{
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<bool>("matchCase");
    // In both (A, B); A not in B; B not in A.
    QTest::addColumn<Lists>("expected");
    const QByteArray missing("<missing>");

    QTest::newRow("CR LF, final empty line") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n")
                                             << true << Lists{{"a", "b", ""}, {}, {}};
    QTest::newRow("duplicates in A each listed")
        << QByteArray("x\nx\ny") << QByteArray("x") << true << Lists{{"x", "x"}, {"y"}, {}};
    QTest::newRow("case ignored keeps A's spelling")
        << QByteArray("Hello") << QByteArray("HELLO") << false << Lists{{"Hello"}, {}, {}};
    QTest::newRow("case matched") << QByteArray("Hello") << QByteArray("HELLO") << true
                                  << Lists{{}, {"Hello"}, {"HELLO"}};
    QTest::newRow("trailing blank and tab differ") << QByteArray("a \nb\t") << QByteArray("a\nb")
                                                   << false << Lists{{}, {"a ", "b\t"}, {"a", "b"}};
    QTest::newRow("final line feed only in B")
        << QByteArray("a") << QByteArray("a\n") << true << Lists{{"a"}, {}, {""}};
    QTest::newRow("lone CRs join the pieces")
        << QByteArray("a\rb\rc\n") << QByteArray("abc") << true << Lists{{"abc"}, {""}, {}};
    QTest::newRow("CRs without any LF break lines")
        << QByteArray("a\rb\r\rc") << QByteArray("c\nb\na") << true
        << Lists{{"a", "b", "c"}, {""}, {}};
    // Line feeds are counted sixteen columns at a time; 64 rounds of them
    // would wrap a column's count to zero and take the CR for the break.
    QTest::newRow("4096 line feeds, then a CR")
        << (QByteArray(4096, '\n') + "a\rb") << QByteArray("ab") << true
        << Lists{{"ab"}, QStringList(4096, QString()), {}};
    QTest::newRow("one LF makes CRs plain again")
        << QByteArray("a\rb\nc") << QByteArray("ab\rc") << true << Lists{{"ab", "c"}, {}, {}};
    QTest::newRow("utf-8 byte-order mark is no part of the line")
        << QByteArray("\xEF\xBB\xBFid\r\nx") << QByteArray("id\r\n\xEF\xBB\xBFx") << true
        << Lists{{"id"}, {"x"}, {QStringLiteral(u"\uFEFFx")}};
    QTest::newRow("utf-16 byte-order mark is no part of the line")
        << QByteArray("\xFF\xFE"
                      "i\0d\0",
                      6)
        << QByteArray("id") << true << Lists{{"id"}, {}, {}};
    // Either lead byte makes a file UTF-16, whether it is read whole or in
    // pieces (file 2 streamed); the byte below them is 8-bit text.
    QTest::newRow("first byte 0xFE: utf-16, low byte first")
        << QByteArray("\xC3\xBE"
                      "a\nb")
        << QByteArray("\xFE\0a\0\n\0b\0", 8) << true << Lists{{"\u00FEa", "b"}, {}, {}};
    QTest::newRow("FE FF: utf-16, high byte first")
        << QByteArray("\xFE\xFF\0a\0\r\0\n\0\xE9\xD8\0", 12) << QByteArray("\xFE\xFF\0a\0\n\0b", 8)
        << true << Lists{{"a"}, {QStringLiteral(u"\u00E9\xD800")}, {"b"}};
    QTest::newRow("first byte 0xFD: 8-bit") << QByteArray("\xFD"
                                                          "a\nb")
                                            << QByteArray("b\n\xFD"
                                                          "a")
                                            << true
                                            << Lists{{QStringLiteral(u"\xDCFD"
                                                                     u"a"),
                                                      "b"},
                                                     {},
                                                     {}};
    QTest::newRow("a byte-order mark alone: no lines")
        << QByteArray("\xEF\xBB\xBF") << QByteArray("x") << true << Lists{{}, {}, {"x"}};
    QTest::newRow("zero-length A")
        << QByteArray() << QByteArray("x\nEMPTY FILE") << false << Lists{{"empty file"}, {}, {"x"}};
    QTest::newRow("both zero-length")
        << QByteArray() << QByteArray() << true << Lists{{"empty file"}, {}, {}};
    QTest::newRow("B missing") << QByteArray("a\nb") << missing << true
                               << Lists{{}, {"a", "b"}, {}};
    QTest::newRow("only carriage returns: empty lines")
        << QByteArray("\r\r") << QByteArray("x") << true << Lists{{}, {"", "", ""}, {"x"}};
    QTest::newRow("non-ASCII letters fold")
        << QByteArray("\xC3\x89t\xC3\xA9") << QByteArray("\xC3\xA9T\xC3\x89") << false
        << Lists{{"\u00C9t\u00E9"}, {}, {}};
    QTest::newRow("capitals beyond ASCII anywhere in a line fold")
        << QByteArray("1234567\xC3\x89\n\xCE\xA9MEGA\nSTRA\xE1\xBA\x9E"
                      "E\nabcdefghijklmno\xC4\x9E\n0123456789abcdefgh\xC3\x89")
        << QByteArray("1234567\xC3\xA9\n\xCF\x89mega\nstra\xC3\x9F"
                      "e\nABCDEFGHIJKLMNO\xC4\x9F\n0123456789ABCDEFGH\xC3\xA9")
        << false
        << Lists{{"1234567\u00C9", "\u03A9MEGA", "STRA\u1E9EE", "abcdefghijklmno\u011E",
                  "0123456789abcdefgh\u00C9"},
                 {},
                 {}};
    // A line's last bytes are read as one word from within the line. Lines
    // of every short length meet other neighbours and line ends in the
    // other file, so a word that reached past either end would miss a match.
    QByteArray shortA, shortB;
    QStringList shortLines;
    for (int length = 1; length <= 17; ++length) {
        const QByteArray line = QByteArray("abcdefghijklmnopq").left(length);
        shortA += line + '\n';
        shortB.prepend(line.toUpper() + "\r\n");
        shortLines << QString::fromLatin1(line);
    }
    QTest::newRow("lines of every short length match wherever they stand")
        << shortA.chopped(1) << shortB.chopped(2) << false << Lists{shortLines, {}, {}};
    // Ignoring case, these pairs hash alike (their bytes differ only in the
    // 0x20 bit) but only the letters are equal.
    QTest::newRow("only letters fold, not other bytes one bit apart")
        << QByteArray("a@[\\]^\n\xC3\xA9\n\xC3\x80\nQ\n@@@@@@@@@")
        << QByteArray("A`{|}~\n\xC3\x89\n\xC3\xA0\nq\n`````````") << false
        << Lists{{"\u00E9", "\u00C0", "Q"}, {"a@[\\]^", "@@@@@@@@@"}, {"A`{|}~", "`````````"}};
    QTest::newRow("kelvin sign folds to k")
        << QByteArray("\xE2\x84\xAA") << QByteArray("K") << false << Lists{{"\u212A"}, {}, {}};
    // Each 16-bit character is lowered on its own, by its simple mapping.
    QTest::newRow("dotted capital I folds to neither i nor I")
        << QByteArray("\xC4\xB0\ni") << QByteArray("i\nI") << false << Lists{{"i"}, {"\u0130"}, {}};
    QTest::newRow("capitals beyond 16 bits do not fold")
        << QByteArray("\xF0\x90\x90\x80\n\xF0\x90\x90\xA8") << QByteArray("\xF0\x90\x90\xA8")
        << false << Lists{{QStringLiteral(u"\U00010428")}, {QStringLiteral(u"\U00010400")}, {}};
    QTest::newRow("invalid bytes compare as bytes")
        << QByteArray("caf\xE9\ncaf\xC3\xA9") << QByteArray("caf\xE9") << true
        << Lists{{QStringLiteral(u"caf\xDCE9")}, {QStringLiteral(u"caf\u00E9")}, {}};
    // Over 16 MiB, so split in two halves, read or mapped: rewritten lines and lines held as
    // text on both sides of the cut must keep their places.
    QByteArray big;
    QStringList bigLines;
    for (int i = 0; big.size() < (17 << 20); ++i) {
        const QByteArray n = QByteArray::number(i);
        big += "line " + n + "\r\n" + n + "b\rc\n\xC3\r\xA9\ncaf\xC3\xA9\r\r\n\n";
        bigLines << QStringLiteral("line ") + QString::fromLatin1(n)
                 << QString::fromLatin1(n + "bc") << QStringLiteral(u"\xDCC3\xDCA9")
                 << QStringLiteral(u"caf\u00E9") << QString();
    }
    big += "end";
    bigLines << QStringLiteral("end");
    QTest::newRow("a file split in halves")
        << big << (big + "\nother") << true << Lists{bigLines, {}, {"other"}};
    const QByteArray huge(17 << 20, 'x'); // longer than a line's length field holds
    QTest::newRow("a line over 16 MiB")
        << (huge + "\r\nb") << ("b\n" + huge + "y\n" + huge) << true
        << Lists{{QString::fromLatin1(huge), "b"}, {}, {QString::fromLatin1(huge + "y")}};
    // In pieces, a line longer than a piece grows its piece a step at a
    // time: a line feed at a step's last byte or past it, CR LF across two
    // steps, a byte-order mark before a long first line, and the file's end
    // within a step must give the lists that reading it whole gives.
    const QByteArray stepA(8188, 'a'), stepB(12287, 'b'), stepC(50000, 'c'), stepD(9000, 'd');
    QTest::newRow("lines longer than a piece")
        << ("short\n" + stepC + "\n" + stepA)
        << ("\xEF\xBB\xBF" + stepA + "\n" + stepB + "\r\n" + stepC + "\nshort\r\n" + stepD) << true
        << Lists{{"short", QString::fromLatin1(stepC), QString::fromLatin1(stepA)},
                 {},
                 {QString::fromLatin1(stepB), QString::fromLatin1(stepD)}};
    QTest::newRow("a file of one line longer than a piece")
        << QByteArray("x") << (stepD + stepC) << true
        << Lists{{}, {"x"}, {QString::fromLatin1(stepD + stepC)}};
    QTest::newRow("utf-16 against utf-8")
        << QByteArray("\xFF\xFE"
                      "a\0\r\0\n\0\xE9\0",
                      10)
        << QByteArray("\xEF\xBB\xBF\na\n\xC3\xA9") << true << Lists{{"a", "\u00E9"}, {}, {""}};
}

void TestEngine::knownCases()
{
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(bool, matchCase);
    QFETCH(Lists, expected);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    auto place = [&](const QByteArray& bytes, const QString& name) {
        return bytes == "<missing>" ? m_dir.filePath(name) : writeFile(m_dir, name, bytes);
    };
    const QString a = place(fileA, tag + QStringLiteral(".a"));
    const QString b = place(fileB, tag + QStringLiteral(".b"));
    const qint16 flag = matchCase ? -1 : 0;
    ResultList both, onlyA, onlyB;
    ListLinesInBoth(a, b, flag, both);
    ListLinesNotIn(a, b, flag, onlyA);
    ListLinesNotIn(b, a, flag, onlyB);
    QCOMPARE(items(both), expected[0]);
    QCOMPARE(items(onlyA), expected[1]);
    QCOMPARE(items(onlyB), expected[2]);
    CompareOptions options;
    options.matchCase = matchCase;
    const auto comparison = CompareFiles(a, b, options);
    const QList<QByteArray> texts = {listText(expected[0]), listText(expected[1]),
                                     listText(expected[2])};
    for (int k = 0; k < 3; ++k)
        QCOMPARE(writtenText(*comparison, kKinds[k]), texts[k]);
    for (const qint64 pieceBytes : kPieceSizes) {
        // Tiny pieces of a big file would take minutes, a thread switch each.
        if (fileB.size() / pieceBytes < 100'000)
            QCOMPARE(streamedTexts(a, b, options, pieceBytes), texts);
    }
}

void TestEngine::options_data()
{
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<CompareOptions>("options");
    QTest::addColumn<Lists>("expected");
    auto with = [](bool matchCase, bool ignoreBlanks, bool eachOnce) {
        CompareOptions options;
        options.matchCase = matchCase;
        options.ignoreBlanks = ignoreBlanks;
        options.eachOnce = eachOnce;
        return options;
    };
    const QByteArray padded(" a\t\r\n\tB \r\nc\r\n  \r\n");
    const QByteArray plain("A\r\nb\r\n\r\n");
    QTest::newRow("blanks count by default")
        << padded << plain << with(false, false, false)
        << Lists{{""}, {" a\t", "\tB ", "c", "  "}, {"A", "b"}};
    QTest::newRow("blanks ignored, lines shown as they stand")
        << padded << plain << with(false, true, false)
        << Lists{{" a\t", "\tB ", "  ", ""}, {"c"}, {}};
    QTest::newRow("blanks ignored, case matched")
        << padded << plain << with(true, true, false)
        << Lists{{"  ", ""}, {" a\t", "\tB ", "c"}, {"A", "b"}};
    QTest::newRow("inner blanks still count")
        << QByteArray("a b\na  b") << QByteArray(" a b ") << with(true, true, false)
        << Lists{{"a b"}, {"a  b"}, {}};
    QTest::newRow("blanks ignored beyond ASCII")
        << QByteArray("\t\xC3\x89T\xC3\xA9 ") << QByteArray("\xC3\xA9t\xC3\x89")
        << with(false, true, false) << Lists{{"\t\u00C9T\u00E9 "}, {}, {}};
    QTest::newRow("blanks are spaces and tabs only")
        << (QByteArray("\xC2\xA0") + "a\n\vb\n a\t \t") << QByteArray("a\nb")
        << with(true, true, false) << Lists{{" a\t \t"}, {"\u00A0a", "\vb"}, {"b"}};
    QTest::newRow("each once: first place only")
        << QByteArray("x\ny\nx\nz\ny\nz") << QByteArray("y\nq\ny\nq") << with(true, false, true)
        << Lists{{"y"}, {"x", "z"}, {"q"}};
    QTest::newRow("each once, case ignored: the first spelling stays")
        << QByteArray("Mail\nMAIL\nmail\nother") << QByteArray("mail") << with(false, false, true)
        << Lists{{"Mail"}, {"other"}, {}};
    QTest::newRow("each once, case matched: spellings are different lines")
        << QByteArray("Mail\nMAIL\nMail") << QByteArray("x") << with(true, false, true)
        << Lists{{}, {"Mail", "MAIL"}, {"x"}};
    QTest::newRow("each once and blanks ignored")
        << QByteArray("id \n id\nid\nother") << QByteArray("\tid\nnew\nnew ")
        << with(true, true, true) << Lists{{"id "}, {"other"}, {"new"}};
    QTest::newRow("each once keeps one empty line")
        << QByteArray("\n\n\n") << QByteArray("x") << with(true, false, true)
        << Lists{{}, {""}, {"x"}};
    auto skipping = [&with](bool matchCase, bool ignoreBlanks, bool eachOnce) {
        CompareOptions options = with(matchCase, ignoreBlanks, eachOnce);
        options.skipEmpty = true;
        return options;
    };
    QTest::newRow("skip empty: the final line feed's line is in no list")
        << QByteArray("a\n\nb\n") << QByteArray("b\r\n\r\nc\r\n") << skipping(true, false, false)
        << Lists{{"b"}, {"a"}, {"c"}};
    QTest::newRow("skip empty: empty lines only file 2 holds")
        << QByteArray("x") << QByteArray("\ny\n\n") << skipping(false, false, false)
        << Lists{{}, {"x"}, {"y"}};
    QTest::newRow("skip empty: blank lines count unless blanks are ignored")
        << QByteArray(" \n\t\nx") << QByteArray("x\n ") << skipping(true, false, false)
        << Lists{{" ", "x"}, {"\t"}, {}};
    QTest::newRow("skip empty, blanks ignored: blank lines are empty")
        << QByteArray(" \n\t\nx \n") << QByteArray(" x\n  ") << skipping(false, true, false)
        << Lists{{"x "}, {}, {}};
    QTest::newRow("skip empty, each once")
        << QByteArray("\nA\n\na\nb\n") << QByteArray("a\n\n") << skipping(false, false, true)
        << Lists{{"A"}, {"b"}, {}};
    auto alike = [&with](bool matchCase, bool ignoreBlanks, bool eachOnce) {
        CompareOptions options = with(matchCase, ignoreBlanks, eachOnce);
        options.lookAlike = true;
        return options;
    };
    QTest::newRow("look alike: a Windows-1252 byte against UTF-8")
        << QByteArray("M\xFCller\nM\xFCller") << QByteArray("M\xC3\xBCller")
        << alike(true, false, false)
        << Lists{{QStringLiteral(u"M\xDCFCller"), QStringLiteral(u"M\xDCFCller")}, {}, {}};
    QTest::newRow("look alike: 0x80 is the euro sign, 0xFF y with diaeresis")
        << QByteArray("\x80 5\nx\xFF\n\xC3\x28")
        << QByteArray("\xE2\x82\xAC 5\nx\xC3\xBF\n\xC3\x83(") << alike(true, false, false)
        << Lists{{QStringLiteral(u"\xDC80 5"), QStringLiteral(u"x\xDCFF"),
                  QStringLiteral(u"\xDCC3(")},
                 {},
                 {}};
    QTest::newRow("look alike: composed against decomposed")
        << QByteArray("Caf\xC3\xA9") << QByteArray("Cafe\xCC\x81") << alike(true, false, false)
        << Lists{{"Caf\u00E9"}, {}, {}};
    QTest::newRow("look alike: no-break and other spaces")
        << QByteArray("a\xC2\xA0"
                      "b\na\xE2\x80\x83"
                      "b")
        << QByteArray("a b") << alike(true, false, false)
        << Lists{{"a\u00A0b", "a\u2003b"}, {}, {}};
    QTest::newRow("look alike: zero-width characters")
        << QByteArray("zw\xE2\x80\x8B\nz\xEF\xBB\xBFw\xE2\x81\xA0")
        << QByteArray("zw\nz\xE2\x80\x8Dw") << alike(true, false, false)
        << Lists{{"zw\u200B", "z\uFEFFw\u2060"}, {}, {}};
    QTest::newRow("look alike off: none of these match")
        << QByteArray("M\xFCller\nCaf\xC3\xA9\na\xC2\xA0"
                      "b\nzw\xE2\x80\x8B")
        << QByteArray("M\xC3\xBCller\nCafe\xCC\x81\na b\nzw") << with(true, false, false)
        << Lists{{},
                 {QStringLiteral(u"M\xDCFCller"), "Caf\u00E9", "a\u00A0b", "zw\u200B"},
                 {"M\u00FCller", "Cafe\u0301", "a b", "zw"}};
    QTest::newRow("look alike, blanks ignored: Unicode spaces at the ends go")
        << QByteArray("\xC2\xA0x\xE2\x80\x83") << QByteArray("x") << alike(true, true, false)
        << Lists{{"\u00A0x\u2003"}, {}, {}};
    QTest::newRow("look alike, blanks counted: Unicode spaces at the ends stay")
        << QByteArray("\xC2\xA0x") << QByteArray("x") << alike(true, false, false)
        << Lists{{}, {"\u00A0x"}, {"x"}};
    QTest::newRow("look alike, case ignored, each once")
        << QByteArray("CAF\xC3\x89\ncafe\xCC\x81\nx") << QByteArray("caf\xC3\xA9")
        << alike(false, false, true) << Lists{{"CAF\u00C9"}, {"x"}, {}};
    QTest::newRow("look alike, skip empty: a line of zero-width characters")
        << QByteArray("\xE2\x80\x8B\nx") << QByteArray("x\n") <<
        [&] {
            CompareOptions options = alike(true, false, false);
            options.skipEmpty = true;
            return options;
        }()
        << Lists{{"x"}, {}, {}};
    auto keyed = [&with](int field, const QString& delimiter, bool matchCase = true,
                         bool ignoreBlanks = false, bool eachOnce = false) {
        CompareOptions options = with(matchCase, ignoreBlanks, eachOnce);
        options.field = field;
        options.delimiter = delimiter;
        return options;
    };
    const QString comma = QStringLiteral(","), semicolon = QStringLiteral(";"),
                  tab = QStringLiteral("\t");
    // A delimiter beyond the Basic Multilingual Plane: one character, two units.
    QTest::newRow("field: the delimiter an emoji")
        << QByteArray("a\xF0\x9F\x98\x80k1\nb\xF0\x9F\x98\x80k2\nc")
        << QByteArray("z\xF0\x9F\x98\x80k2\nk1") << keyed(2, QString::fromUcs4(U"\U0001F600"))
        << Lists{{}, {"a\U0001F600k1"}, {}, {"b\U0001F600k2", "c"}};
    QTest::newRow("field: a quoted field holds the delimiter")
        << QByteArray("\"Smith, J\",42\nJones,7\nBrown,3") << QByteArray("\"Smith, J\",1\nJones")
        << keyed(1, comma) << Lists{{}, {"Brown,3"}, {}, {"\"Smith, J\",42", "Jones,7"}};
    QTest::newRow("field: two quotes stand for one")
        << QByteArray("\"say \"\"hi\"\"\",1\n\"\"\"\",2") << QByteArray("say \"hi\",2\n\"\"\"\"")
        << keyed(1, comma) << Lists{{}, {}, {}, {"\"say \"\"hi\"\"\",1", "\"\"\"\",2"}};
    QTest::newRow("field: what follows the closing quote is kept")
        << QByteArray("\"ab\"cd,1\n\"ab\" \",2") << QByteArray("abcd\nab \"") << keyed(1, comma)
        << Lists{{}, {}, {}, {"\"ab\"cd,1", "\"ab\" \",2"}};
    QTest::newRow("field: a quote never closed runs to the line's end")
        << QByteArray("\"abc,def\n\"x\"\"") << QByteArray("\"abc,def\"\nx\"") << keyed(1, comma)
        << Lists{{"\"abc,def", "\"x\"\""}, {}, {}};
    QTest::newRow("field: quotes count only at a field's start")
        << QByteArray("a\"b,c\"\n1,\"2,3\"") << QByteArray("a\"b\n2,3") << keyed(1, comma)
        << Lists{{}, {"1,\"2,3\""}, {"2,3"}, {"a\"b,c\""}};
    QTest::newRow("field 2 after a quoted field")
        << QByteArray("\"a,b\",key\n\"a\nx,\"k;ey\"") << QByteArray("1,key\n2,\"k;ey\"")
        << keyed(2, comma) << Lists{{}, {"\"a"}, {}, {"\"a,b\",key", "x,\"k;ey\""}};
    QTest::newRow("field at semicolons, quoted")
        << QByteArray("\"a;b\";1\na;b") << QByteArray("\"a;b\"\na") << keyed(1, semicolon)
        << Lists{{}, {}, {}, {"\"a;b\";1", "a;b"}};
    QTest::newRow("field at tabs: quotes are plain")
        << QByteArray("a\tb c\td\n\"x\ty\"\tz") << QByteArray("q\tb c\nr\ty\"") << keyed(2, tab)
        << Lists{{}, {}, {}, {"a\tb c\td", "\"x\ty\"\tz"}};
    QTest::newRow("field at runs of blanks and tabs")
        << QByteArray("  x   y\tz \n\t1 \t y") << QByteArray("a y\nb z")
        << keyed(2, CompareOptions::BlankRuns())
        << Lists{{}, {}, {"b z"}, {"  x   y\tz ", "\t1 \t y"}};
    QTest::newRow("field at a delimiter beyond ASCII")
        << QByteArray("k\xC2\xA7"
                      "1\nj\xC2\xA7"
                      "2\n\xC3\xA7")
        << QByteArray("k\xC2\xA7"
                      "9\n\xC3")
        << keyed(1, QStringLiteral(u"\u00A7"))
        << Lists{{}, {"j\u00A72", "\u00E7"}, {QStringLiteral(u"\xDCC3")}, {"k\u00A71"}};
    QTest::newRow("field: fewer fields give the empty key")
        << QByteArray("a,b\nc\n") << QByteArray("x\ny,b") << keyed(2, comma)
        << Lists{{}, {}, {}, {"a,b", "c", ""}};
    QTest::newRow("field, skip empty: lines without the field are in no list")
        << QByteArray("a,b\nc\n,\nk,") << QByteArray("x\ny,b") <<
        [&] {
            CompareOptions options = keyed(2, comma);
            options.skipEmpty = true;
            return options;
        }()
        << Lists{{}, {}, {}, {"a,b"}};
    QTest::newRow("field, case ignored, blanks ignored")
        << QByteArray(" K ,1\nl,2") << QByteArray("k\t,2\nL ") << keyed(1, comma, false, true)
        << Lists{{}, {}, {}, {" K ,1", "l,2"}};
    QTest::newRow("field, each once: a key's first line only")
        << QByteArray("k,1\nk,2\nm,3\nm,4") << QByteArray("k,9\nk,8")
        << keyed(1, comma, true, false, true) << Lists{{}, {"m,3"}, {}, {"k,1"}};
    QTest::newRow("field, look alike") << QByteArray("M\xFCller;1")
                                       << QByteArray("\"M\xC3\xBCller\";2") <<
        [&] {
            CompareOptions options = keyed(1, semicolon);
            options.lookAlike = true;
            return options;
        }() << Lists{{}, {}, {}, {QStringLiteral(u"M\xDCFCller;1")}};
    QTest::newRow("field: quoted bytes that join into a character")
        << QByteArray("\"\xC3\"\xA9,1") << QByteArray("\xC3\xA9\n\xC3\xA9\xC3\xA9")
        << keyed(1, comma)
        << Lists{{}, {QStringLiteral(u"\"\xDCC3\"\xDCA9,1")}, {"\u00E9", "\u00E9\u00E9"}};
    auto patterned = [&with](const QString& pattern, bool matchCase = true) {
        CompareOptions options = with(matchCase, false, false);
        options.keyPattern = pattern;
        return options;
    };
    QTest::newRow("pattern: the first group")
        << QByteArray("x id=12 y\nid=13\nID=12") << QByteArray("id=12")
        << patterned(QStringLiteral("id=(\\d+)"))
        << Lists{{}, {"id=13", "ID=12"}, {}, {"x id=12 y"}};
    QTest::newRow("pattern, case ignored: the group lowered")
        << QByteArray("ID=AB") << QByteArray("id=ab")
        << patterned(QStringLiteral("(?i)id=(\\w+)"), false) << Lists{{"ID=AB"}, {}, {}};
    QTest::newRow("pattern, case ignored: it matches either case")
        << QByteArray("Case Line") << QByteArray("case line")
        << patterned(QStringLiteral("[a-z]+"), false) << Lists{{"Case Line"}, {}, {}};
    QTest::newRow("pattern, Match Case: it matches as written")
        << QByteArray("Case Line") << QByteArray("case line") << patterned(QStringLiteral("[a-z]+"))
        << Lists{{}, {"Case Line"}, {"case line"}};
    QTest::newRow("pattern without a group: the whole match")
        << QByteArray("abc 12 def\nplain") << QByteArray("12\nplain")
        << patterned(QStringLiteral("\\d+")) << Lists{{"plain"}, {}, {}, {"abc 12 def"}};
    QTest::newRow("pattern: a group that took no part is empty")
        << QByteArray("b\nca") << QByteArray("a\nc\n") << patterned(QStringLiteral("(a)|b"))
        << Lists{{}, {}, {"c"}, {"b", "ca"}};
    QTest::newRow("pattern that matches the empty string")
        << QByteArray("abc\ndef") << QByteArray("ghi") << patterned(QStringLiteral("x*"))
        << Lists{{}, {}, {}, {"abc", "def"}};
    QTest::newRow("pattern beyond ASCII and on bytes of no UTF-8")
        << QByteArray("\xC3\xA9t\xC3\xA9 1\n\xFF 2") << QByteArray("\xC3\xA9t\xC3\xA9\n\xFF")
        << patterned(QStringLiteral("^(\\S+)"))
        << Lists{{}, {}, {}, {"\u00E9t\u00E9 1", QStringLiteral(u"\xDCFF 2")}};
    QTest::newRow("pattern after characters of three and four bytes")
        << QByteArray("\xF0\x9F\x98\x80\xE2\x82\xACx1 a\n\xE2\x82\xAC\xF0\x9F\x98\x80x2\nzz")
        << QByteArray("x1 b\nx2") << patterned(QStringLiteral("(x\\d)"))
        << Lists{{},
                 {"zz"},
                 {},
                 {QStringLiteral(u"\U0001F600\u20ACx1 a"), QStringLiteral(u"\u20AC\U0001F600x2")}};
    QTest::newRow("pattern past a long ASCII run and an accent")
        << QByteArray(
               "0123456789abcdefghij\xC3\xA9 key7\n0123456789abcdefghij\xC3\xA9\xC3\xA9 key8")
        << QByteArray("key7") << patterned(QStringLiteral("(key\\d)"))
        << Lists{{},
                 {QStringLiteral(u"0123456789abcdefghij\u00E9\u00E9 key8")},
                 {},
                 {QStringLiteral(u"0123456789abcdefghij\u00E9 key7")}};
    QTest::newRow("pattern whose key runs from ASCII into an accent")
        << QByteArray("0123456789abcdefghij\xC3\xA9 x\n0123456789abcdefghij y")
        << QByteArray("0123456789abcdefghij\xC3\xA9") << patterned(QStringLiteral("^(\\S+)"))
        << Lists{{},
                 {"0123456789abcdefghij y"},
                 {},
                 {QStringLiteral(u"0123456789abcdefghij\u00E9 x")}};
    QTest::newRow("pattern whose key holds a character of four bytes")
        << QByteArray("a \xF0\x9F\x98\x80"
                      "b\nc \xF0\x9F\x98\x80")
        << QByteArray("d \xF0\x9F\x98\x80"
                      "b")
        << patterned(QStringLiteral("(\\S+)$"))
        << Lists{{}, {QStringLiteral(u"c \U0001F600")}, {}, {QStringLiteral(u"a \U0001F600b")}};
    QTest::newRow("each once with lines held as text")
        << QByteArray("\xFF\xFE"
                      "\x00\xD8\n\0\x00\xD8",
                      8)
        << QByteArray("x") << with(true, false, true)
        << Lists{{}, {QStringLiteral(u"\xD800")}, {"x"}};
    // Records: with a key, a line of file 1 whose key file 2 holds is in both
    // when a line there with that key is the same record, else changed.
    auto records = [&](QList<int> key, QList<int> ignored = {}, bool header = false) {
        CompareOptions options = keyed(key.takeFirst(), comma);
        options.moreFields = key;
        options.ignoreFields = ignored;
        options.header = header;
        return options;
    };
    // a,9 pairs with a,3, the first a that no line of file 1 is; b,1 and
    // b,2 both with b,5; c,2 with c,1, as every c of file 2 is in file 1.
    QTest::newRow("records: duplicates on either side and their partners")
        << QByteArray("a,1\na,9\nb,1\nb,2\nc,1\nc,2\nd,1")
        << QByteArray("a,1\na,3\na,4\nb,5\nb,6\nc,1\ne,1") << records({1})
        << Lists{{"a,1", "c,1"}, {"d,1"}, {"e,1"}, {"a,9", "b,1", "b,2", "c,2"}};
    QTest::newRow("records: first lines that differ are headers, not records")
        << QByteArray("id,name\n1,x\n2,y") << QByteArray("ID,Name\n1,x\n2,z\nid,name")
        << records({1}, {}, true) << Lists{{"1,x"}, {}, {"id,name"}, {"2,y"}};
    // Field 3 is left out, even where a line lacks it.
    QTest::newRow("records: ignored fields")
        << QByteArray("k,1,2024,x\nm,2,2024\nn,3,2024\np,4\nq,5")
        << QByteArray("k,1,2025,x\nm,3,2025\nn,3\np,4,,\nq,5,,x") << records({1}, {3})
        << Lists{{"k,1,2024,x", "n,3,2024"}, {}, {}, {"m,2,2024", "p,4", "q,5"}};
    QTest::newRow("records: fields named in the header, one ignored")
        << QByteArray("stamp,id,v\nt1,a,x\nt2,b,y") << QByteArray("stamp,id,v\nt9,a,x\nt9,b,Y") <<
        [&] {
            CompareOptions options = records({1}, {}, true);
            options.field = 0;
            options.keyNames = QStringList{"id"};
            options.ignoreNames = QStringList{"stamp"};
            return options;
        }()
        << Lists{{"t1,a,x"}, {}, {}, {"t2,b,y"}};
    QTest::newRow("records: a key of two fields")
        << QByteArray("a,1,x\na,2,y\nb,1,x") << QByteArray("a,9,x\nb,1,y\na,2,z") << records({1, 3})
        << Lists{{}, {"a,2,y", "b,1,x"}, {"b,1,y", "a,2,z"}, {"a,1,x"}};
    // Each field of the key as a key field alone takes it: look alike, then
    // trimmed; a key is empty when each of its fields is.
    QTest::newRow("records: a key of two fields, look alike, blanks ignored")
        << QByteArray("k,\xC2\xA0x,1\nK,x ,2") << QByteArray("k,x,1") <<
        [&] {
            CompareOptions options = records({1, 2});
            options.lookAlike = options.ignoreBlanks = true;
            return options;
        }()
        << Lists{{"k,\u00A0x,1"}, {"K,x ,2"}, {}};
    QTest::newRow("records: a key of two fields, skip empty") << QByteArray("\n,,1\nk,,2")
                                                              << QByteArray("k,,3\n") <<
        [&] {
            CompareOptions options = records({1, 2});
            options.skipEmpty = true;
            return options;
        }() << Lists{{}, {}, {}, {"k,,2"}};
    QTest::newRow("records: a key of fields at blank runs, look alike") << QByteArray("a\xC2\xA0"
                                                                                      "b c")
                                                                        << QByteArray("a b\xC2\xA0"
                                                                                      "c")
                                                                        <<
        [&] {
            CompareOptions options = records({1, 2});
            options.delimiter = CompareOptions::BlankRuns();
            options.lookAlike = true;
            return options;
        }() << Lists{{}, {"a\u00A0b c"}, {"a b\u00A0c"}};
    // No pattern splits a line that holds a byte of no UTF-8 (a lone surrogate).
    QTest::newRow("records: fields at blank runs after a byte of no UTF-8")
        << QByteArray("a \xF7 x\nb y") << QByteArray("a \xF7 z\nb y") <<
        [&] {
            CompareOptions options = records({1});
            options.delimiter = CompareOptions::BlankRuns();
            options.ignoreBlanks = true;
            return options;
        }()
        << Lists{{"b y"}, {}, {}, {QStringLiteral(u"a \xDCF7 x")}};
    QTest::newRow("records: CR LF and quoted fields")
        << QByteArray("\"Smith, J\",42\r\n\"say \"\"hi\"\"\",1\r\nx,\"a\"\r\n")
        << QByteArray("Smith J,42\r\n\"Smith, J\",43\r\nsay \"hi\",1\r\nx,a\n") << records({1})
        << Lists{{"\"say \"\"hi\"\"\",1", "x,\"a\"", ""}, {}, {"Smith J,42"}, {"\"Smith, J\",42"}};
    QTest::newRow("records: key pattern, what changed")
        << QByteArray("id=1 name=Ann\nID=2 name=Bob\nid=3 x")
        << QByteArray("id=1 NAME=ann\nid=2 name=Rob\nid=4 x")
        << patterned(QStringLiteral("(?i)id=(\\d+)"), false)
        << Lists{{"id=1 name=Ann"}, {"id=3 x"}, {"id=4 x"}, {"ID=2 name=Bob"}};
    // A key's first line only, changed or not; a changed repeat keeps its partner.
    QTest::newRow("records: each once, skip empty") << QByteArray("k,1\nk,2\nm,1\nm,1\n,5\n")
                                                    << QByteArray("k,2\nm,9\n,5") <<
        [&] {
            CompareOptions options = records({1});
            options.eachOnce = options.skipEmpty = true;
            return options;
        }() << Lists{{}, {}, {}, {"k,1", "m,1"}};
    QTest::newRow("records: a key field ignored is refused")
        << QByteArray("a,1") << QByteArray("a,2") << records({1, 2}, {2}) << Lists{};
    QTest::newRow("records: a name no header holds is refused") << QByteArray("id,v\na,1")
                                                                << QByteArray("id,v\na,2") <<
        [&] {
            CompareOptions options = records({1}, {}, true);
            options.field = 0;
            options.keyNames = QStringList{"ID"};
            return options;
        }() << Lists{};
}

void TestEngine::options()
{
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(CompareOptions, options);
    QFETCH(Lists, expected);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString a = writeFile(m_dir, tag + QStringLiteral(".a"), fileA);
    const QString b = writeFile(m_dir, tag + QStringLiteral(".b"), fileB);
    const QStringList linesA = referenceLines(a), linesB = referenceLines(b);
    // The reference the generated files are held to gives these lists too.
    const ReferenceCompare::Outcome reference = ReferenceCompare::compare(linesA, linesB, options);
    if (expected.isEmpty()) {
        // Options no comparison can be made with.
        QVERIFY(reference.refused);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, CompareFiles(a, b, options));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, streamedTexts(a, b, options, 5));
        if (options.keyNames.isEmpty() && options.ignoreNames.isEmpty())
            QVERIFY(!CompareOptionsProblem(options).isEmpty());
        return;
    }
    expected.resize(4); // the changed lines, none unless a row says
    const ReferenceCompare::Lists& lists = reference.lists;
    QCOMPARE(Lists({lists.inBoth, lists.onlyIn1, lists.onlyIn2, lists.changed}), expected);
    const auto comparison = CompareFiles(a, b, options);
    for (int k = 0; k < 4; ++k) {
        TextSink list;
        FillList(*comparison, kAllKinds[k], list);
        QCOMPARE(list.lines, expected[k]);
        QCOMPARE(ListSize(*comparison, kAllKinds[k]), expected[k].size());
        QCOMPARE(writtenText(*comparison, kAllKinds[k]), listText(expected[k]));
    }
    // Each changed line's partner, and what differs between them.
    const CompareOptions& resolved = reference.options;
    for (qsizetype line = -1; line <= linesA.size(); ++line) {
        const qsizetype partner = PartnerOf(*comparison, line);
        QCOMPARE(partner, reference.partners.value(line, -1));
        const Records::Change change = ChangeOf(*comparison, line);
        if (partner < 0) {
            QVERIFY(change.fields.isEmpty() && change.length1 == 0 && change.length2 == 0);
        } else if (resolved.field > 0) {
            QCOMPARE(change.fields,
                     ReferenceCompare::differences(linesA[line], linesB[partner], resolved));
        } else {
            QCOMPARE(
                (QList<qsizetype>{change.first1, change.length1, change.first2, change.length2}),
                ReferenceCompare::stretches(linesA[line], linesB[partner], resolved));
        }
    }
    for (const int file : {1, 2}) {
        const QStringList& lines = file == 1 ? linesA : linesB;
        QCOMPARE(HeaderLine(*comparison, file), options.header ? lines.value(0) : QString());
        if (resolved.HasKey())
            QCOMPARE(DuplicateKeys(*comparison, file),
                     file == 1 ? reference.duplicates1 : reference.duplicates2);
    }
    QCOMPARE(ComparedLines(*comparison, 1), reference.compared1);
    QCOMPARE(ComparedLines(*comparison, 2), reference.compared2);
    const QList<qsizetype> distinct = reference.distinct;
    auto counted = [](const DistinctCounts& counts) {
        return QList<qsizetype>{counts.file1, counts.file2, counts.both, counts.changed};
    };
    // Counting repeats changes no list; without it they are found when asked.
    QCOMPARE(counted(CountDistinct(*comparison)), distinct);
    CompareOptions counting = options;
    counting.countDistinct = true;
    const auto countedComparison = CompareFiles(a, b, counting);
    QCOMPARE(counted(CountDistinct(*countedComparison)), distinct);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(writtenText(*countedComparison, kAllKinds[k]), listText(expected[k]));
    for (const qint64 pieceBytes : kPieceSizes) {
        if (fileB.size() / pieceBytes >= 100'000)
            continue; // tiny pieces of a big file would take minutes
        const QList<QByteArray> texts = {listText(expected[0]), listText(expected[1]),
                                         listText(expected[2])};
        QCOMPARE(streamedTexts(a, b, options, pieceBytes), texts);
        QCOMPARE(streamedTexts(a, b, counting, pieceBytes), texts);
        QCOMPARE(streamedTexts(a, b, options, pieceBytes, true), texts);
        QCOMPARE(streamedTexts(a, b, counting, pieceBytes, true), texts);
    }
    for (const bool keep : {false, true}) {
        const auto streamed = CompareStreamingFile2(
            a, b, counting, [] { return ListWriter(); }, 5, nullptr, LineEnd::CrLf, keep);
        QCOMPARE(counted(CountDistinct(*streamed)), distinct);
        QCOMPARE(writtenText(*streamed, ResultKind::Changed), listText(expected[3]));
        for (qsizetype line = 0; line < linesA.size(); ++line)
            QCOMPARE(PartnerOf(*streamed, line), reference.partners[line]);
        QCOMPARE(ComparedLines(*streamed, 1), ComparedLines(*comparison, 1));
        QCOMPARE(ComparedLines(*streamed, 2), ComparedLines(*comparison, 2));
    }
    // The lines kept of file 2 stand in for the whole file: their places,
    // their texts, and the near misses found among them.
    const auto kept = CompareStreamingFile2(
        a, b, options, [] { return ListWriter(); }, 3, nullptr, LineEnd::CrLf, true);
    QCOMPARE(placedLines(*kept, ResultKind::OnlyIn2),
             placedLines(*comparison, ResultKind::OnlyIn2));
    for (qsizetype line = -1; line <= referenceLines(b).size(); ++line) {
        bool only = false;
        ForEachListLine(*comparison, ResultKind::OnlyIn2,
                        [&](qsizetype at, QByteArrayView) { only = only || at == line; });
        // Each once, with a key or a header, file 2 is held whole.
        const bool whole = options.eachOnce || options.HasKey() || options.header;
        QCOMPARE(LineText(*kept, 2, line),
                 only || whole ? LineText(*comparison, 2, line) : QString());
    }
    QCOMPARE(nearMissRows(*kept), nearMissRows(*comparison));
    checkOnDisk(a, b, options, *comparison, linesA.size());
}

void TestEngine::distinctCounts_data()
{
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<bool>("skipEmpty");
    // Distinct keys in file 1, in file 2, in both; the lines compared in each.
    QTest::addColumn<QList<qsizetype>>("expected");
    QTest::addColumn<double>("jaccard");
    QTest::newRow("same keys") << QByteArray("a\nA\nb") << QByteArray("b\na") << false
                               << QList<qsizetype>{2, 2, 2, 3, 2} << 1.0;
    QTest::newRow("none in common")
        << QByteArray("a\na") << QByteArray("b") << false << QList<qsizetype>{1, 1, 0, 2, 1} << 0.0;
    QTest::newRow("empty lines are a key") << QByteArray("a\n\nb\n") << QByteArray("\nc") << false
                                           << QList<qsizetype>{3, 2, 1, 4, 2} << 0.25;
    QTest::newRow("skipped empty lines are none")
        << QByteArray("a\n\nb\n") << QByteArray("\nc\nb") << true << QList<qsizetype>{2, 2, 1, 2, 2}
        << 1.0 / 3;
    QTest::newRow("nothing but empty lines, skipped")
        << QByteArray("\n\n") << QByteArray("\n") << true << QList<qsizetype>{0, 0, 0, 0, 0} << 0.0;
}

void TestEngine::distinctCounts()
{
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(bool, skipEmpty);
    QFETCH(QList<qsizetype>, expected);
    QFETCH(double, jaccard);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString a = writeFile(m_dir, tag + QStringLiteral(".a"), fileA);
    const QString b = writeFile(m_dir, tag + QStringLiteral(".b"), fileB);
    CompareOptions options;
    options.skipEmpty = skipEmpty;
    options.countDistinct = true;
    const auto comparison = CompareFiles(a, b, options);
    const DistinctCounts counts = CountDistinct(*comparison);
    QCOMPARE((QList<qsizetype>{counts.file1, counts.file2, counts.both,
                               ComparedLines(*comparison, 1), ComparedLines(*comparison, 2)}),
             expected);
    QCOMPARE(counts.Jaccard(), jaccard);
}

void TestEngine::nearMisses_data()
{
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<CompareOptions>("options");
    // "line of file 1, line of file 2: why", lines from 0.
    QTest::addColumn<QStringList>("expected");
    CompareOptions exact;
    exact.matchCase = true;
    QTest::newRow("letter case") << QByteArray("Hello\nx") << QByteArray("HELLO\ny") << exact
                                 << QStringList{"0 0: letter case"};
    // Long enough to be lowered sixteen bytes at a time, capitals in every block.
    QTest::newRow("letter case in a long line, a Windows-1252 byte at its end")
        << QByteArray("Order ABCDEFGHIJKLMNOPQRSTUVWXYZ @[`{ M\xC3\xBCller")
        << QByteArray("order abcdefghijklmnopqrstuvwxyz @[`{ m\xFCller") << exact
        << QStringList{"0 0: letter case, Windows-1252 bytes against UTF-8"};
    QTest::newRow("blanks at the ends")
        << QByteArray("a \n\tb") << QByteArray("b\na") << exact
        << QStringList{"0 1: blanks or tabs at line ends", "1 0: blanks or tabs at line ends"};
    QTest::newRow("composed against decomposed")
        << QByteArray("Caf\xC3\xA9") << QByteArray("Cafe\xCC\x81") << exact
        << QStringList{"0 0: Unicode spelling (NFC/NFD)"};
    QTest::newRow("no-break space")
        << QByteArray("a\xC2\xA0"
                      "b")
        << QByteArray("a b") << exact << QStringList{"0 0: no-break or other Unicode spaces"};
    QTest::newRow("zero-width") << QByteArray("zw\xE2\x80\x8B") << QByteArray("zw") << exact
                                << QStringList{"0 0: zero-width characters"};
    QTest::newRow("a Windows-1252 byte")
        << QByteArray("M\xFCller") << QByteArray("M\xC3\xBCller") << exact
        << QStringList{"0 0: Windows-1252 bytes against UTF-8"};
    QTest::newRow("several differences")
        << QByteArray("HELLO \xC2\xA0") << QByteArray("hello") << exact
        << QStringList{"0 0: letter case, blanks or tabs at line ends, no-break or other Unicode "
                       "spaces"};
    QTest::newRow("several look-alikes of one line, in file 2's order")
        << QByteArray("x\nAbc\ny") << QByteArray("ABC\nabc \nq\nabc") << exact
        << QStringList{"1 0: letter case", "1 1: letter case, blanks or tabs at line ends",
                       "1 3: letter case"};
    QTest::newRow("a line of ASCII and one beyond it")
        << QByteArray("abc\nx") << QByteArray("y\nABC\xC2\xA0") << exact
        << QStringList{"0 1: letter case, blanks or tabs at line ends, no-break or other Unicode "
                       "spaces"};
    QTest::newRow("Latin letters beyond ASCII")
        << QByteArray("M\xC3\xBCller\nDvo\xC5\x99\xC3\xA1k \n\xC3\xA9")
        << QByteArray("M\xC3\x9CLLER\nDVO\xC5\x98\xC3\x81K\ne\xCC\x81") << exact
        << QStringList{"0 0: letter case", "1 1: letter case, blanks or tabs at line ends",
                       "2 2: Unicode spelling (NFC/NFD)"};
    QTest::newRow("a control character")
        << QByteArray("bell\x07\nx") << QByteArray("bell\ny") << exact
        << QStringList{"0 0: control or format characters"};
    QTest::newRow("a tab against a blank inside the line")
        << QByteArray("a\tb") << QByteArray("a b") << exact
        << QStringList{"0 0: blanks or tabs inside the line"};
    QTest::newRow("a run of blanks, a tab and a no-break space inside the line")
        << QByteArray("a \t\xC2\xA0"
                      "b")
        << QByteArray("a b") << exact
        << QStringList{"0 0: no-break or other Unicode spaces, blanks or tabs inside the line"};
    // One line keyed in one pass, sixteen bytes at a time, the other by each
    // step on its own: both come to one key.
    QTest::newRow("a long line of ASCII against one beyond it")
        << QByteArray("Order\tABCDEFGHIJKLMNOPQRSTUVWXYZ \x1B[0m  end \xC2\xAD")
        << QByteArray("order abcdefghijklmnopqrstuvwxyz [0m end\xE2\x80\x8B") << exact
        << QStringList{"0 0: letter case, blanks or tabs at line ends, zero-width characters, "
                       "control or format characters, blanks or tabs inside the line"};
    CompareOptions caseIgnored;
    QTest::newRow("what the comparison ignored is no reason")
        << QByteArray("Hello \nsame") << QByteArray("hello\nSAME") << caseIgnored
        << QStringList{"0 0: blanks or tabs at line ends"};
    CompareOptions byField = exact;
    byField.field = 1;
    QTest::newRow("by key field: lines in both have no look-alikes")
        << QByteArray("K,1\nk,2") << QByteArray("k,3\nq,4") << byField << QStringList{};
    QTest::newRow("by key field") << QByteArray("K,1\nm,2") << QByteArray("k,3\nM ,4") << byField
                                  << QStringList{"0 0: letter case",
                                                 "1 1: letter case, blanks or tabs at line ends"};
    CompareOptions once = exact;
    once.eachOnce = true;
    QTest::newRow("each once: repeats are not listed")
        << QByteArray("A\nA\nb") << QByteArray("a\na") << once << QStringList{"0 0: letter case"};
    CompareOptions everything;
    everything.ignoreBlanks = true;
    everything.lookAlike = true;
    QTest::newRow("nothing left to differ")
        << QByteArray("A \xC2\xA0") << QByteArray("a\nb") << everything << QStringList{};
}

void TestEngine::nearMisses()
{
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(CompareOptions, options);
    QFETCH(QStringList, expected);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString a = writeFile(m_dir, tag + QStringLiteral(".a"), fileA);
    const QString b = writeFile(m_dir, tag + QStringLiteral(".b"), fileB);
    QStringList pairs;
    const auto comparison = CompareFiles(a, b, options);
    NearMisses::ForEach(*comparison, [&pairs](const NearMisses::Pair& pair) {
        pairs << QStringLiteral("%1 %2: %3")
                     .arg(pair.line1)
                     .arg(pair.line2)
                     .arg(NearMisses::Describe(pair.why));
    });
    QCOMPARE(pairs, expected);
    // The index the window keeps gives the same pairs, asked from either file.
    const NearMisses::Index index(comparison);
    QStringList fromFile1, fromFile2;
    for (qsizetype line = -1; line <= fileA.count('\n') + 1; ++line) {
        for (const auto& alike : index.Of(1, line, 1000).alike)
            fromFile1 << QStringLiteral("%1 %2: %3")
                             .arg(line)
                             .arg(alike.line)
                             .arg(NearMisses::Describe(alike.why));
    }
    QCOMPARE(fromFile1, expected);
    for (qsizetype line = 0; line <= fileB.count('\n'); ++line) {
        for (const auto& alike : index.Of(2, line, 1000).alike)
            fromFile2 << QStringLiteral("%1 %2: %3")
                             .arg(alike.line)
                             .arg(line)
                             .arg(NearMisses::Describe(alike.why));
    }
    fromFile2.sort();
    QStringList sorted = expected;
    sorted.sort();
    QCOMPARE(fromFile2, sorted);
    // Lines held as text (UTF-16) are keyed a step at a time, lines of
    // plain UTF-8 from their bytes: both come to the same pairs.
    const auto utf16 = [](const QByteArray& utf8) {
        const QString text = QString::fromUtf8(utf8);
        return QByteArray("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    if (QString::fromUtf8(fileA + fileB).toUtf8() == fileA + fileB) {
        QStringList asText;
        NearMisses::ForEach(
            *CompareFiles(writeFile(m_dir, tag + QStringLiteral(".a16"), utf16(fileA)),
                          writeFile(m_dir, tag + QStringLiteral(".b16"), utf16(fileB)), options),
            [&asText](const NearMisses::Pair& pair) {
                asText << QStringLiteral("%1 %2: %3")
                              .arg(pair.line1)
                              .arg(pair.line2)
                              .arg(NearMisses::Describe(pair.why));
            });
        QCOMPARE(asText, expected);
    }
    // Past the most asked for, the rest are counted.
    for (qsizetype line = 0; line <= fileA.count('\n'); ++line) {
        const qsizetype all = qsizetype(index.Of(1, line, 1000).alike.size());
        const NearMisses::Index::Found first = index.Of(1, line, 1);
        QCOMPARE(qsizetype(first.alike.size()) + first.more, all);
    }
}

void TestEngine::nearMissReasons_data()
{
    QTest::addColumn<CompareOptions>("options");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<QString>("reason");
    CompareOptions exact;
    exact.matchCase = true;
    const QString lookAlike = QStringLiteral("how the characters are written (composed accents, "
                                             "no-break spaces, look-alike forms)");
    QTest::newRow("case") << exact << "Abc"
                          << "abc"
                          << "Differs only in case: turn off Match Case.";
    QTest::newRow("blanks at the ends, case ignored")
        << CompareOptions() << "Abc \t"
        << "abc"
        << "Differs only in blanks at the ends: turn on Ignore Blanks At Line Ends.";
    QTest::newRow("a no-break space")
        << exact << QStringLiteral(u"no\u00A0break") << "no break"
        << "Differs only in " + lookAlike + ": turn on Look-Alike Lines Match.";
    QTest::newRow("composed against decomposed")
        << exact << QStringLiteral(u"M\u00FCller") << QStringLiteral(u"Mu\u0308ller")
        << "Differs only in " + lookAlike + ": turn on Look-Alike Lines Match.";
    QTest::newRow("a Windows-1252 byte")
        << exact << AnsiCodec::Decode("M\xFCller") << QStringLiteral(u"M\u00FCller")
        << "Differs only in " + lookAlike + ": turn on Look-Alike Lines Match.";
    QTest::newRow("two options together")
        << exact << QStringLiteral(u"NO\u00A0BREAK ") << "no break"
        << "Differs in case, in blanks at the ends and in " + lookAlike +
               ": turn off Match Case, turn on Ignore Blanks At Line Ends and turn on Look-Alike "
               "Lines Match.";
    QTest::newRow("a tab against a blank inside")
        << exact << "a\tb"
        << "a b"
        << "Differs in a tab against a blank inside the line; no option makes them match.";
    QTest::newRow("more blanks inside") << exact << "a  b"
                                        << "a b"
                                        << "Differs in the blanks inside the line; no option "
                                           "makes them match.";
    QTest::newRow("a control character")
        << exact << "bell\x07"
        << "bell"
        << "Differs by a control character (U+0007); no option makes them match.";
    QTest::newRow("a format character and case")
        << exact << QStringLiteral(u"Co\u00ADop") << "coop"
        << "Differs in case and by a format character (U+00AD); no option makes them match.";
    // With a key pattern, the keys it takes are what differ.
    CompareOptions pattern = exact;
    pattern.keyPattern = QStringLiteral("id=(\\w+)");
    QTest::newRow("key pattern: the keys differ in case")
        << pattern << "x id=AB"
        << "y id=ab"
        << "Differs only in case: turn off Match Case.";
    QTest::newRow("key pattern: it takes the key only once case does not count")
        << pattern << "x id=AB"
        << "y ID=AB"
        << "Differs in the key the comparison takes: turn off Match Case.";
}

void TestEngine::nearMissReasons()
{
    QFETCH(CompareOptions, options);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    QFETCH(QString, reason);
    QCOMPARE(NearMisses::Reason(options, line1, line2), reason);
}

void TestEngine::badInput_data()
{
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<CompareOptions>("options");
    // How many lines each list holds: in both, only in 1, only in 2, changed.
    QTest::addColumn<QList<qsizetype>>("expected");
    CompareOptions byField;
    byField.field = 2;
    // A line of fifty million fields, one quoted field of a hundred million
    // bytes with fifty million doubled quotes and never closed, and the
    // field wanted in a line far past its end: each looked at once. The
    // last line has no second field: its key is empty, as is that of "2,\"";
    // the first line and the last are changed records in file 2.
    QByteArray fields;
    fields.reserve(100 << 20);
    while (fields.size() < (100 << 20))
        fields += "a,";
    QByteArray quoted("x,\"");
    quoted.reserve(100 << 20);
    while (quoted.size() < (100 << 20))
        quoted += "\"\"";
    QTest::newRow("100 MB lines, key field")
        << (fields + "\n" + quoted + "\nshort") << QByteArray("1,a\n2,\"") << byField
        << QList<qsizetype>{0, 1, 0, 2};
    CompareOptions alike;
    alike.lookAlike = true;
    QTest::newRow("bytes of no UTF-8, look alike")
        << QByteArray("\xC3\n\xE2\x82\n\xF0\x9F\x98\n\xED\xA0\x80\n\xC0\xAF")
        << QByteArray("\xC3\x83\n\xC3\xA2\xE2\x80\x9A\n\xC3\xB0\xC5\xB8\xCB\x9C\n"
                      "\xC3\xAD\xC2\xA0\xE2\x82\xAC\n\xC3\x80\xC2\xAF")
        << alike << QList<qsizetype>{5, 0, 0, 0};
}

void TestEngine::badInput()
{
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(CompareOptions, options);
    QFETCH(QList<qsizetype>, expected);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString a = writeFile(m_dir, tag + QStringLiteral(".a"), fileA);
    const QString b = writeFile(m_dir, tag + QStringLiteral(".b"), fileB);
    fileA.clear();
    const auto comparison = CompareFiles(a, b, options);
    QCOMPARE((QList<qsizetype>{ListSize(*comparison, ResultKind::InBoth),
                               ListSize(*comparison, ResultKind::OnlyIn1),
                               ListSize(*comparison, ResultKind::OnlyIn2),
                               ListSize(*comparison, ResultKind::Changed)}),
             expected);
    const auto streamed = CompareStreamingFile2(b, a, options, [] { return ListWriter(); });
    QCOMPARE((QList<qsizetype>{ListSize(*streamed, ResultKind::OnlyIn1),
                               ListSize(*streamed, ResultKind::OnlyIn2)}),
             (QList<qsizetype>{expected[2], expected[1]}));
}

void TestEngine::matchesNestedLoopsOnGeneratedFiles_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("utf16");
    QTest::addColumn<bool>("ignoreBlanks");
    QTest::addColumn<bool>("eachOnce");
    QTest::newRow("exact, 8-bit") << true << false << false << false;
    QTest::newRow("ignore case, 8-bit") << false << false << false << false;
    QTest::newRow("exact, with utf-16 files") << true << true << false << false;
    QTest::newRow("ignore case, with utf-16 files") << false << true << false << false;
    QTest::newRow("exact, blanks ignored, each once") << true << true << true << true;
    QTest::newRow("ignore case, blanks ignored") << false << true << true << false;
    QTest::newRow("ignore case, each once") << false << false << false << true;
}

void TestEngine::matchesNestedLoopsOnGeneratedFiles()
{
    QFETCH(bool, matchCase);
    QFETCH(bool, utf16);
    QFETCH(bool, ignoreBlanks);
    QFETCH(bool, eachOnce);
    // Small pieces, so that equal lines and near misses are common.
    const QList<QByteArray> pieces = {"a",
                                      "A",
                                      "b",
                                      "B",
                                      "k",
                                      "K",
                                      " ",
                                      "\t",
                                      QByteArray("\0", 1),
                                      "\r",
                                      "\xC3\xA9",
                                      "\xC3\x89",
                                      "\xC3\x97",
                                      "\xC3\x9F",
                                      "\xC2\x85",
                                      "\xE2\x84\xAA",
                                      "\xC4\xB0",
                                      "i",
                                      "\xE9",
                                      "\xC3",
                                      "\xA9",
                                      "\xF0\x9F\x98\x80"};
    const QList<QString> widePieces = {QStringLiteral("a"),
                                       QStringLiteral("A"),
                                       QStringLiteral(u"\u00E9"),
                                       QStringLiteral(u"\u00C9"),
                                       QStringLiteral("\r"),
                                       QStringLiteral(u"\xDCE9"),
                                       QStringLiteral(u"\xDCC3\xDCA9"),
                                       QStringLiteral(u"\xD800"),
                                       QStringLiteral(u"\xDC41"),
                                       QStringLiteral(u"\u212A"),
                                       QStringLiteral("k")};
    const QList<QByteArray> endings = {"\n", "\r\n", "\r", "\n\n"};
    QRandomGenerator random(matchCase * 2 + utf16 + 11);

    auto makeFile = [&](int n, bool wide) -> QByteArray {
        if (random.bounded(40) == 0)
            return QByteArray(); // zero-length
        if (wide) {
            QString text = QString(QChar(0xFEFF));
            const int lines = int(random.bounded(8));
            for (int l = 0; l < lines; ++l) {
                const int parts = int(random.bounded(4));
                for (int p = 0; p < parts; ++p)
                    text += widePieces[random.bounded(int(widePieces.size()))];
                text += QString::fromLatin1(endings[random.bounded(int(endings.size()))]);
            }
            QByteArray bytes;
            for (QChar c : text) {
                bytes.append(char(c.unicode() & 0xFF));
                bytes.append(char(c.unicode() >> 8));
            }
            return bytes;
        }
        QByteArray bytes;
        const int lines = int(random.bounded(n));
        for (int l = 0; l < lines; ++l) {
            const int parts = int(random.bounded(4));
            for (int p = 0; p < parts; ++p)
                bytes += pieces[random.bounded(int(pieces.size()))];
            if (l + 1 < lines || random.bounded(2))
                bytes += endings[random.bounded(int(endings.size()))];
        }
        return bytes;
    };

    const qint16 flag = matchCase ? -1 : 0;
    CompareOptions options;
    options.matchCase = matchCase;
    options.ignoreBlanks = ignoreBlanks;
    options.eachOnce = eachOnce;
    const bool plain = !ignoreBlanks && !eachOnce;
    for (int round = 0; round < (plain ? 1500 : 500); ++round) {
        const QString a =
            writeFile(m_dir, QStringLiteral("gen.a"), makeFile(10, utf16 && random.bounded(2)));
        const QString b = random.bounded(30) == 0
                              ? m_dir.filePath(QStringLiteral("gen.missing"))
                              : writeFile(m_dir, QStringLiteral("gen.b"),
                                          makeFile(10, utf16 && random.bounded(2)));
        ResultList both, notIn;
        TextSink bothAsText;
        if (plain) {
            ListLinesInBoth(a, b, flag, both);
            ListLinesInBoth(a, b, flag, bothAsText);
            ListLinesNotIn(a, b, flag, notIn);
        } else {
            const auto comparison = CompareFiles(a, b, options);
            FillList(*comparison, ResultKind::InBoth, both);
            FillList(*comparison, ResultKind::InBoth, bothAsText);
            FillList(*comparison, ResultKind::OnlyIn1, notIn);
            TextSink onlyB;
            FillList(*comparison, ResultKind::OnlyIn2, onlyB);
            QCOMPARE(onlyB.lines, referenceList(b, a, options, false));
            QCOMPARE(writtenText(*comparison, ResultKind::InBoth), listFileText(both));
        }
        const QStringList expectedBoth = referenceList(a, b, options, true);
        const QStringList expectedNotIn = referenceList(a, b, options, false);
        const QList<QByteArray> expectedTexts = {listText(expectedBoth), listText(expectedNotIn),
                                                 listText(referenceList(b, a, options, false))};
        const qint64 pieceBytes = kPieceSizes[round % 4];
        if (streamedTexts(a, b, options, pieceBytes) != expectedTexts) {
            qWarning() << "A:" << readFile(a) << "B:" << readFile(b) << "pieces of" << pieceBytes;
            QCOMPARE(streamedTexts(a, b, options, pieceBytes), expectedTexts);
        }
        if (round % 5 == 0) {
            const auto comparison = CompareFiles(a, b, options);
            checkOnDisk(a, b, options, *comparison, referenceLines(a).size());
            if (QTest::currentTestFailed())
                qWarning() << "A:" << readFile(a) << "B:" << readFile(b);
        }
        if (items(both) != expectedBoth || items(notIn) != expectedNotIn ||
            bothAsText.lines != expectedBoth) {
            qWarning() << "A:" << readFile(a) << "B:" << readFile(b);
            QCOMPARE(items(both), expectedBoth);
            QCOMPARE(bothAsText.lines, expectedBoth);
            QCOMPARE(items(notIn), expectedNotIn);
        }
    }
}

void TestEngine::everyLineLandsInExactlyOneList()
{
    // Interleaving the two lists by A's order must give back all of A's lines.
    QRandomGenerator random(3);
    for (int round = 0; round < 300; ++round) {
        QByteArray fileA, fileB;
        for (int i = 0; i < 50; ++i) {
            fileA += QByteArray::number(random.bounded(30)) + (random.bounded(2) ? "x\r\n" : "X\n");
            fileB += QByteArray::number(random.bounded(30)) + (random.bounded(2) ? "x\n" : "X\r\n");
        }
        const QString a = writeFile(m_dir, QStringLiteral("part.a"), fileA);
        const QString b = writeFile(m_dir, QStringLiteral("part.b"), fileB);
        for (const qint16 flag : {qint16(0), qint16(-1), qint16(1)}) {
            ResultList both, notIn;
            ListLinesInBoth(a, b, flag, both);
            ListLinesNotIn(a, b, flag, notIn);
            const QStringList all = referenceLines(a);
            QCOMPARE(both.Count() + notIn.Count(), int(all.size()));
            int i = 1, j = 1;
            for (const QString& line : all) {
                if (i <= both.Count() && both.ItemText(i) == line)
                    ++i;
                else if (j <= notIn.Count() && notIn.ItemText(j) == line)
                    ++j;
                else
                    QFAIL(qPrintable(QStringLiteral("line %1 is in neither list").arg(line)));
            }
        }
    }
}

void TestEngine::failedLoadLeavesTargetAlone()
{
    const QString good = writeFile(m_dir, QStringLiteral("good.txt"), "a\nb");
    const QString folder = m_dir.filePath(QStringLiteral("a-folder"));
    QDir().mkpath(folder);
    ResultList list;
    ListLinesNotIn(good, m_dir.filePath(QStringLiteral("none")), 0, list);
    QCOMPARE(list.Count(), 2);
    for (const auto& [a, b] : {std::pair{good, folder}, std::pair{folder, good}}) {
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ListLinesInBoth(a, b, 0, list));
        QCOMPARE(items(list), (QStringList{"a", "b"}));
    }
}

void TestEngine::cancelStopsAComparisonUnderWay()
{
    QByteArray lines;
    for (int i = 0; i < 3'000'000; ++i)
        lines += QByteArray::number(i % 1'000'003) + '\n';
    const QString a = writeFile(m_dir, QStringLiteral("big.a"), lines);
    CompareProgress progress;
    std::exception_ptr outcome;
    // Compared again and again, so that a slow poll still finds one under way.
    std::thread engine([&] {
        try {
            for (;;)
                CompareFiles(a, a, CompareOptions(), &progress);
        } catch (...) {
            outcome = std::current_exception();
        }
    });
    // Cancel once lines are being matched and counted.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const CompareProgress::State state = progress.Current();
        if (state.step == CompareProgress::Step::Comparing && state.done > 0) {
            QCOMPARE(state.total, qint64(3 * 2 * 3'000'001));
            break;
        }
        if (waited.elapsed() > 60'000)
            break;
        QThread::usleep(200);
    }
    progress.Cancel();
    engine.join();
    QVERIFY_THROWS_EXCEPTION(CompareCancelled, std::rethrow_exception(outcome));
}

void TestEngine::cancelStopsEachPhaseFromDisk_data()
{
    QTest::addColumn<CompareProgress::Step>("phase");
    QTest::newRow("splitting") << CompareProgress::Step::Splitting;
    QTest::newRow("comparing a part") << CompareProgress::Step::ComparingPart;
    QTest::newRow("writing the lists") << CompareProgress::Step::Writing;
}

void TestEngine::cancelStopsEachPhaseFromDisk()
{
    QFETCH(CompareProgress::Step, phase);
    QByteArray lines;
    for (int i = 0; i < 2'000'000; ++i)
        lines += QByteArray::number(i % 1'000'003) + '\n';
    const QString a = writeFile(m_dir, QStringLiteral("disk.a"), lines);
    const QString b = writeFile(m_dir, QStringLiteral("disk.b"), lines.sliced(7));
    QTemporaryDir folder;
    MemoryBudget budget;
    budget.parts = 4;
    budget.tempDir = folder.path();
    CompareProgress progress;
    std::exception_ptr outcome;
    std::atomic<bool> ended{false};
    std::thread engine([&] {
        try {
            for (;;)
                CompareWithin(a, b, CompareOptions(), budget, &progress);
        } catch (...) {
            outcome = std::current_exception();
        }
        ended = true;
    });
    QElapsedTimer waited;
    waited.start();
    while (progress.Current().step != phase && waited.elapsed() < 60'000)
        QThread::usleep(100);
    progress.Cancel();
    QElapsedTimer stopping;
    stopping.start();
    while (!ended && stopping.elapsed() < 10'000)
        QThread::usleep(100);
    const qint64 took = stopping.elapsed();
    engine.join();
    qInfo("stopped %lld ms after Cancel", took);
    QVERIFY_THROWS_EXCEPTION(CompareCancelled, std::rethrow_exception(outcome));
    // Cancel is looked at every few milliseconds of work in each phase; a
    // loaded test machine may take longer, never seconds.
    QVERIFY2(took < 1000, qPrintable(QStringLiteral("stopped after %1 ms").arg(took)));
    QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestEngine::cancelStopsReadingAFile()
{
    // Cancel comes as soon as the files are being read. File 2 is a FIFO
    // that no program writes: a read that never looked at Cancel would wait
    // for it for ever.
    const QString a = writeFile(m_dir, QStringLiteral("read.a"), "a\n");
    const QString fifo = m_dir.filePath(QStringLiteral("read.fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::shared_ptr<void> unhook(nullptr, [](void*) { CompareProgress::SetTestHook({}); });
    CompareOptions options;
    options.read.streamInputs = true;
    CompareProgress progress;
    CompareProgress::SetTestHook([&progress](const CompareProgress& reported) {
        if (reported.Current().step == CompareProgress::Step::Reading)
            progress.Cancel();
    });
    std::exception_ptr outcome;
    std::atomic<bool> done{false};
    std::thread engine([&] {
        try {
            CompareFiles(a, fifo, options, &progress);
        } catch (...) {
            outcome = std::current_exception();
        }
        done = true;
    });
    const bool stopped = QTest::qWaitFor([&done] { return done.load(); }, 20'000);
    if (!stopped) {
        // A writer that comes and goes ends the read, so the thread can be joined.
        const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    engine.join();
    QVERIFY2(stopped, "the read of file 2 went on after Cancel");
    QVERIFY_THROWS_EXCEPTION(CompareCancelled, std::rethrow_exception(outcome));
}

void TestEngine::streamInputsOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("streamed"); // file 2 read in pieces
    QTest::addColumn<int>("fifoAs");    // which of the two files is a FIFO
    QTest::addColumn<bool>("accepted"); // ReadOptions::streamInputs
    for (const bool streamed : {false, true}) {
        for (const int fifoAs : {1, 2}) {
            for (const bool accepted : {false, true})
                QTest::addRow("%s, FIFO as file %d, %s",
                              streamed ? "file 2 in pieces" : "both read whole", fifoAs,
                              accepted ? "accepted" : "refused")
                    << streamed << fifoAs << accepted;
        }
    }
}

void TestEngine::streamInputsOnlyWhenAsked()
{
    // Every read of a comparison, whole, mapped or in pieces, takes a FIFO
    // only when the options say so, and refuses it at once otherwise.
    QFETCH(bool, streamed);
    QFETCH(int, fifoAs);
    QFETCH(bool, accepted);
    const QString file = writeFile(m_dir, QStringLiteral("regular.txt"), "a\nb\nc");
    const QString fifo = m_dir.filePath(QStringLiteral("input.fifo"));
    QFile::remove(fifo);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    CompareOptions options;
    options.read.streamInputs = accepted;
    // The FIFO's writer comes once a reader is there, and gives up if none comes.
    std::jthread writer;
    if (accepted) {
        writer = std::jthread([native = QFile::encodeName(fifo)] {
            for (QDeadlineTimer deadline(20'000); !deadline.hasExpired(); QThread::msleep(1)) {
                const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK);
                if (fd < 0)
                    continue;
                ::fcntl(fd, F_SETFL, 0);
                const bool written = ::write(fd, "b\nx", 3) == 3;
                ::close(fd);
                if (!written)
                    qWarning("could not write to the FIFO");
                return;
            }
        });
    }
    const QString one = fifoAs == 1 ? fifo : file;
    const QString two = fifoAs == 2 ? fifo : file;
    QList<QByteArray> texts;
    QString refusal;
    try {
        if (streamed) {
            texts = streamedTexts(one, two, options, 4096);
        } else {
            const auto comparison = CompareFiles(one, two, options);
            for (const ResultKind kind : kKinds)
                texts << writtenText(*comparison, kind);
        }
    } catch (const RuntimeError& error) {
        refusal = error.description();
    }
    if (!accepted) {
        QVERIFY2(refusal.contains(QStringLiteral("it is a FIFO")), qPrintable(refusal));
        return;
    }
    QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
    // The FIFO holds b and x, the file a, b and c.
    const QByteArray onlyInFifo = listText({"x"}), onlyInFile = listText({"a", "c"});
    QCOMPARE(texts, (QList<QByteArray>{listText({"b"}), fifoAs == 1 ? onlyInFifo : onlyInFile,
                                       fifoAs == 1 ? onlyInFile : onlyInFifo}));
}

void TestEngine::linesThatCollideStillCompare()
{
    // Thousands of different lines whose hashes all pick the same one of the
    // two tables, which is made for half of them.
    const LineHash::Seed seed{0x1234, 0x5678};
    LineHash::SetSeedTestHook([seed] { return seed; });
    const std::shared_ptr<void> unhook(nullptr, [](void*) { LineHash::SetSeedTestHook({}); });
    QByteArray fileA, fileB;
    int kept = 0;
    for (int n = 0; kept < 6000; ++n) {
        const QByteArray line = "key " + QByteArray::number(n);
        std::uint64_t high;
        if ((LineHash::hash<false>(line.constData(), size_t(line.size()), high, seed.k0) >> 32) & 1)
            continue;
        fileA += line + '\n';
        if (kept % 2 == 0)
            fileB += line + '\n';
        ++kept;
    }
    CompareOptions options;
    options.matchCase = true;
    const auto comparison =
        CompareFiles(writeFile(m_dir, QStringLiteral("collide.a"), fileA),
                     writeFile(m_dir, QStringLiteral("collide.b"), fileB), options);
    QCOMPARE(ListSize(*comparison, ResultKind::InBoth), 3001); // the last, empty line too
    QCOMPARE(ListSize(*comparison, ResultKind::OnlyIn1), 3000);
    QCOMPARE(ListSize(*comparison, ResultKind::OnlyIn2), 0);
}

void TestEngine::hostileListsStayLinear_data()
{
    QTest::addColumn<QByteArray>("fileA");
    QTest::addColumn<QByteArray>("fileB");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<Seeds>("seeds");
    QTest::addColumn<int>("tries");  // seeds drawn
    QTest::addColumn<bool>("keyed"); // the keyed hash was taken
    // File 1 holds 10,000 such lines; file 2 fifty of them in capitals (the
    // same ignoring case) and fifty others like them.
    const QByteArray folds = atAndGraveLines(0, 10'000).join('\n');
    const QByteArray foldsB = atAndGraveLines(9'950, 10'050).join('\n').toUpper();
    const QList<QByteArray> crafted = craftedLines(10'050);
    const QByteArray craftedA = crafted.first(10'000).join('\n');
    const QByteArray craftedB =
        crafted.sliced(9'950, 50).join('\n').toUpper() + '\n' + crafted.sliced(10'000).join('\n');
    for (const bool matchCase : {false, true}) {
        const char* const mode = matchCase ? "case matched" : "case ignored";
        QTest::addRow("'@' and '`' lines, %s", mode)
            << folds << foldsB << matchCase << Seeds::Drawn << 1 << false;
        QTest::addRow("lines crafted against the first seed, %s", mode)
            << craftedA << craftedB << matchCase << Seeds::CraftedForFirst << 2 << false;
        QTest::addRow("lines crafted against every seed, %s: the keyed hash", mode)
            << craftedA << craftedB << matchCase << Seeds::CraftedForAlways << 3 << true;
    }
}

void TestEngine::hostileListsStayLinear()
{
    // Lines made to collide cost a few table slots a line, however they
    // collide, and the lists stay those of the nested loops, whether file 2
    // is read whole or in pieces.
    QFETCH(QByteArray, fileA);
    QFETCH(QByteArray, fileB);
    QFETCH(bool, matchCase);
    QFETCH(Seeds, seeds);
    QFETCH(int, tries);
    QFETCH(bool, keyed);
    const std::shared_ptr<void> unhook(nullptr, [](void*) {
        LineHash::SetSeedTestHook({});
        LineMatch::SetTestHook({});
    });
    auto drawn = std::make_shared<int>(0);
    if (seeds != Seeds::Drawn) {
        LineHash::SetSeedTestHook([drawn, seeds] {
            return ++*drawn == 1 || seeds == Seeds::CraftedForAlways
                       ? kCraftedFor
                       : LineHash::Seed{QRandomGenerator::global()->generate64(),
                                        QRandomGenerator::global()->generate64()};
        });
    }
    QList<MatchWork> works;
    LineMatch::SetTestHook([&works](const MatchWork& work) { works << work; });
    const QString a = writeFile(m_dir, QStringLiteral("hostile.a"), fileA);
    const QString b = writeFile(m_dir, QStringLiteral("hostile.b"), fileB);
    CompareOptions options;
    options.matchCase = matchCase;
    const QList<QByteArray> expected = {listText(referenceList(a, b, options, true)),
                                        listText(referenceList(a, b, options, false)),
                                        listText(referenceList(b, a, options, false))};
    const auto comparison = CompareFiles(a, b, options);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(writtenText(*comparison, kKinds[k]), expected[k]);
    *drawn = 0;
    QCOMPARE(streamedTexts(a, b, options, 4096), expected);
    QCOMPARE(works.size(), 2);
    for (const MatchWork& work : std::as_const(works)) {
        QCOMPARE(work.tries, tries);
        QCOMPARE(work.keyed, keyed);
        // Unchecked, each of these lines looked at thousands of slots.
        QVERIFY2(work.probes <= 32 * quint64(work.lines),
                 qPrintable(QStringLiteral("%1 slots looked at for %2 lines")
                                .arg(work.probes)
                                .arg(work.lines)));
    }
}

void TestEngine::cancelIsLookedAtByWork_data()
{
    QTest::addColumn<int>("stage");
    QTest::newRow("matching both files read whole") << 0;
    QTest::newRow("indexing file 1 for file 2 in pieces") << 1;
    QTest::newRow("looking a piece of file 2 up") << 2;
}

void TestEngine::cancelIsLookedAtByWork()
{
    // A few dozen lines of a megabyte: looking at Cancel every so many lines,
    // they would all be matched before it was seen.
    QFETCH(int, stage);
    QByteArray text;
    for (int i = 0; i < 48; ++i)
        text += QByteArray(1 << 20, char('a' + i % 26)) + QByteArray::number(i) + '\n';
    const QString a = writeFile(m_dir, QStringLiteral("long.a"), text);
    const QString b = writeFile(m_dir, QStringLiteral("long.b"), text + "more");
    const std::shared_ptr<void> unhook(nullptr, [](void*) {
        CompareProgress::SetTestHook({});
        LineMatch::SetTestHook({});
    });
    bool matched = false;
    LineMatch::SetTestHook([&matched](const MatchWork&) { matched = true; });
    CompareProgress progress;
    std::exception_ptr outcome;
    try {
        if (stage == 0) {
            CompareProgress::SetTestHook([&progress](const CompareProgress& reported) {
                if (reported.Current().step == CompareProgress::Step::Comparing)
                    progress.Cancel();
            });
            CompareFiles(a, b, CompareOptions(), &progress);
        } else {
            const LineTable lines = LineTable::FromContent(ReadFileContent(a));
            if (stage == 1)
                progress.Cancel();
            const LineIndex index(lines, CompareOptions(), &progress);
            progress.Cancel();
            index.Find(lines);
            matched = true;
        }
    } catch (...) {
        outcome = std::current_exception();
    }
    QVERIFY2(!matched, "the lines were all matched before Cancel was seen");
    QVERIFY_THROWS_EXCEPTION(CompareCancelled, std::rethrow_exception(outcome));
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
