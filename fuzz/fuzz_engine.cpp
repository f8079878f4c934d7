// The comparison engine against the plain nested loops: the input picks the
// options and holds the two files, which the engine compares through its
// public calls, in both orders; every list must be the one that comparing
// every line of one file with every line of the other gives
// (tests/ReferenceCompare.h). An input whose second byte is kTwins has each
// line followed by its twin.

#include "compare/CompareEngine.h"
#include "compare/DiskComparison.h"
#include "compare/LineHash.h"
#include "compare/LineSink.h"
#include "compare/LineTable.h"
#include "compare/NearMisses.h"
#include "compare/Records.h"
#include "compare/TextFile.h"
#include "fuzz/FuzzCheck.h"
#include "platform/AnsiCodec.h"
#include "platform/RuntimeError.h"
#include "tests/ListTexts.h"
#include "tests/ReferenceCompare.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

using FuzzCheck::holds;
using FuzzCheck::same;

namespace {

// What divides the input, after its options byte, into file 1 and file 2.
// Without it all of that is file 1 and file 2 does not exist.
constexpr QByteArrayView kSeparator("\n=====\n");

// Starts an input whose lines each come with a twin: the line with the 0x20
// bit flipped in every byte from '@' on below 0x80. A letter's twin is the
// same ignoring case; '@' and '`', '[' and '{' are not, though a fold that set
// that bit in every byte would hash them alike whatever the seed.
constexpr char kTwins = '\x7F';

QByteArray withTwins(QByteArrayView text)
{
    QByteArray out;
    for (const QByteArray& line : text.toByteArray().split('\n')) {
        QByteArray twin = line;
        for (char& c : twin) {
            if (c >= '@')
                c ^= 0x20;
        }
        out += line + '\n' + twin + '\n';
    }
    out.chop(1);
    return out;
}

// A result list that keeps what the engine gives it, as text.
class Recorder : public LineSink
{
public:
    // Starts with a line of its own, which the engine must clear away.
    QStringList lines{QStringLiteral("left over from before")};

    void Clear() override { lines.clear(); }
    void AddAt(qsizetype, const QString& text) override { lines.append(text); }
    void AddSharedAt(qsizetype, const std::shared_ptr<const void>& owner,
                     QByteArrayView bytes) override
    {
        holds("shared bytes have an owner", owner != nullptr);
        lines.append(AnsiCodec::Decode(bytes));
    }
};

// A folder of its own for the two files, in memory where there is /dev/shm.
const QString& scratchFolder()
{
    static const QTemporaryDir dir((QDir(QStringLiteral("/dev/shm")).exists()
                                        ? QStringLiteral("/dev/shm")
                                        : QDir::tempPath()) +
                                   QStringLiteral("/quillmark-fuzz-XXXXXX"));
    static const QString path = dir.path();
    if (!dir.isValid())
        FuzzCheck::fail("cannot make a scratch folder", path.toUtf8(), "a folder");
    return path;
}

void writeFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        FuzzCheck::fail("cannot write a scratch file", path.toUtf8(), "written");
}

// The lines of a file as the engine splits them.
QStringList linesOf(const QString& path, ReadOptions::LineEnds ends)
{
    const LineTable table = LineTable::FromContent(ReadFileContent(path), nullptr, ends);
    QStringList out;
    for (qsizetype i = 0; i < table.size(); ++i)
        out.append(table.isText(i) ? table.text(i) : AnsiCodec::Decode(table.bytes(i)));
    return out;
}

// The patterns a key pattern is drawn from: a group, none, a group that may
// take no part, one that matches the empty string, one beyond ASCII.
const QString kPatterns[] = {QStringLiteral("^(\\w+)"),  QStringLiteral("\\d+"),
                             QStringLiteral("(a)|b"),    QStringLiteral("x*"),
                             QStringLiteral("[,;](.*)"), QStringLiteral("(?i)(\u00E9.)")};

// The delimiters a key field is drawn from.
const QString kDelimiters[] = {QStringLiteral(","), QStringLiteral(";"), QStringLiteral("\t"),
                               CompareOptions::BlankRuns()};

// The first byte of the input picks the options, a bit each, so that the
// digits '0' to '7' spell the first three in a seed: 1 Match Case, 2 Ignore
// Blanks, 4 List Each Line Once, 8 Look Alike, 16 Skip Empty, 32 a key
// field, 64 a key pattern (not both: a field then), 128 a byte of more
// options next: 1 a header line, 2 lines ended by NUL, 4 inputs streamed,
// 8 a second key field (the next one round), 16 and 32 a field to ignore
// (so many fields on from the key's, none when it is one of the key's),
// 64 with a header, the fields given by name (their numbers). With a field
// or a pattern the byte after picks which: its low two bits the
// delimiter, the next two the field (1 to 4), the high four the pattern.
// Takes the bytes it reads off input.
CompareOptions optionsOf(QByteArrayView& input)
{
    CompareOptions options;
    auto take = [&input] {
        const unsigned char byte = input.isEmpty() ? 0 : std::uint8_t(input.front());
        input = input.sliced(std::min<qsizetype>(1, input.size()));
        return byte;
    };
    if (input.isEmpty())
        return options;
    const unsigned char byte = take();
    options.matchCase = byte & 1;
    options.ignoreBlanks = byte & 2;
    options.eachOnce = byte & 4;
    options.lookAlike = byte & 8;
    options.skipEmpty = byte & 16;
    const unsigned char more = byte & 128 ? take() : 0;
    options.header = more & 1;
    if (more & 2)
        options.read.lineEnds = ReadOptions::LineEnds::Nul;
    options.read.streamInputs = more & 4;
    if (!(byte & (32 | 64)) || input.isEmpty())
        return options;
    const unsigned char which = take();
    if (!(byte & 32)) {
        options.keyPattern = kPatterns[(which >> 4) % std::size(kPatterns)];
        return options;
    }
    options.delimiter = kDelimiters[which & 3];
    options.field = 1 + ((which >> 2) & 3);
    if (more & 8)
        options.moreFields = {1 + options.field % 4};
    const int ignored = 1 + (options.field - 1 + ((more >> 4) & 3)) % 4;
    if ((more & 48) && !options.KeyFields().contains(ignored))
        options.ignoreFields = {ignored};
    if ((more & 64) && options.header) {
        for (const int f : options.KeyFields())
            options.keyNames.append(QString::number(f));
        for (const int f : options.ignoreFields)
            options.ignoreNames.append(QString::number(f));
        options.field = 0;
        options.moreFields.clear();
        options.ignoreFields.clear();
    }
    return options;
}

// What a check was about, with the options and the order of the files.
QByteArray about(const char* what, const CompareOptions& options, bool forward)
{
    QByteArray out = QByteArray(what) + (options.matchCase ? ", case matched" : ", case ignored") +
                     (options.ignoreBlanks ? ", blanks ignored" : "") +
                     (options.eachOnce ? ", each line once" : "") +
                     (options.lookAlike ? ", look alike" : "") +
                     (options.skipEmpty ? ", skip empty" : "");
    if (options.field > 0)
        out += ", field " + QByteArray::number(options.field) + " at \"" +
               options.delimiter.toUtf8() + '"';
    for (const int f : options.moreFields)
        out += " and " + QByteArray::number(f);
    for (const int f : options.ignoreFields)
        out += ", field " + QByteArray::number(f) + " ignored";
    if (!options.keyNames.isEmpty() || !options.ignoreNames.isEmpty())
        out += ", key named " + options.keyNames.join(',').toUtf8() + " at \"" +
               options.delimiter.toUtf8() + "\", ignored named " +
               options.ignoreNames.join(',').toUtf8();
    if (!options.keyPattern.isEmpty())
        out += ", pattern " + options.keyPattern.toUtf8();
    out += QByteArray(options.header ? ", header" : "") +
           (options.read.lineEnds == ReadOptions::LineEnds::Nul ? ", NUL line ends" : "") +
           (options.read.streamInputs ? ", inputs streamed" : "");
    return out + (forward ? ", 1 to 2" : ", 2 to 1");
}

template <typename N> QStringList numbers(const QList<N>& fields)
{
    QStringList out;
    for (const N f : fields)
        out << QString::number(f);
    return out;
}

constexpr ResultKind kKinds[] = {ResultKind::InBoth, ResultKind::OnlyIn1, ResultKind::OnlyIn2,
                                 ResultKind::Changed};
constexpr const char* kKindNames[] = {"lines in both", "lines only in a", "lines only in b",
                                      "changed lines"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One seed for every run, so that an input does again what it did.
    static const bool seeded = [] {
        LineHash::SetSeedTestHook([] { return LineHash::Seed{0x5EED, 0xF00D}; });
        return true;
    }();
    (void)seeded;
    QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    const CompareOptions options = optionsOf(input);
    const bool twins = input.startsWith(kTwins);
    if (twins)
        input = input.sliced(1);
    const QString one = scratchFolder() + QStringLiteral("/1.txt");
    const QString two = scratchFolder() + QStringLiteral("/2.txt");
    const qsizetype split = input.indexOf(kSeparator);
    auto fileText = [twins](QByteArrayView text) {
        return twins ? withTwins(text) : text.toByteArray();
    };
    if (split < 0) {
        writeFile(one, fileText(input));
        QFile::remove(two);
    } else {
        writeFile(one, fileText(input.first(split)));
        writeFile(two, fileText(input.sliced(split + kSeparator.size())));
    }

    const QStringList linesOne = linesOf(one, options.read.lineEnds),
                      linesTwo = linesOf(two, options.read.lineEnds);
    for (const bool forward : {true, false}) {
        const QString& a = forward ? one : two;
        const QString& b = forward ? two : one;
        const QStringList& linesA = forward ? linesOne : linesTwo;
        const QStringList& linesB = forward ? linesTwo : linesOne;
        const ReferenceCompare::Outcome reference =
            ReferenceCompare::compare(linesA, linesB, options);
        if (reference.refused) {
            // Names in file 1's header that put a field both in the key and ignored.
            bool refused = false;
            try {
                CompareFiles(a, b, options);
            } catch (const RuntimeError&) {
                refused = true;
            }
            holds(about("refused", options, forward).constData(), refused);
            continue;
        }
        const ReferenceCompare::Lists& lists = reference.lists;
        const QStringList want[] = {lists.inBoth, lists.onlyIn1, lists.onlyIn2, lists.changed};

        // One comparison, each of its lists filled, counted and written.
        const auto comparison = CompareFiles(a, b, options);
        for (int k = 0; k < 4; ++k) {
            Recorder list;
            FillList(*comparison, kKinds[k], list);
            same(about(kKindNames[k], options, forward).constData(), list.lines, want[k]);
            holds(about("counted", options, forward).constData(),
                  ListSize(*comparison, kKinds[k]) == want[k].size());
            holds(about("written", options, forward).constData(),
                  writtenText(*comparison, kKinds[k]) == listText(want[k]));
        }

        // Each changed line's partner, and what differs between them.
        const CompareOptions& resolved = reference.options;
        for (qsizetype line = 0; line < linesA.size(); ++line) {
            const qsizetype partner = PartnerOf(*comparison, line);
            holds(about("partner", options, forward).constData(),
                  partner == reference.partners[line]);
            if (partner < 0)
                continue;
            const Records::Change change = ChangeOf(*comparison, line);
            if (resolved.field > 0) {
                same(about("changed fields", options, forward).constData(), numbers(change.fields),
                     numbers(
                         ReferenceCompare::differences(linesA[line], linesB[partner], resolved)));
            } else {
                holds(about("changed stretches", options, forward).constData(),
                      (QList<qsizetype>{change.first1, change.length1, change.first2,
                                        change.length2}) ==
                          ReferenceCompare::stretches(linesA[line], linesB[partner], resolved));
            }
        }
        if (resolved.HasKey()) {
            holds(about("duplicate keys", options, forward).constData(),
                  DuplicateKeys(*comparison, 1) == reference.duplicates1 &&
                      DuplicateKeys(*comparison, 2) == reference.duplicates2);
        }
        for (const int file : {1, 2}) {
            const QStringList& lines = file == 1 ? linesA : linesB;
            same(about("header", options, forward).constData(), HeaderLine(*comparison, file),
                 options.header ? lines.value(0) : QString());
        }

        // Counting changes no list, and counts what the reference counts.
        CompareOptions counting = options;
        counting.countDistinct = true;
        const auto counted = CompareFiles(a, b, counting);
        auto four = [](const DistinctCounts& counts) {
            return QList<qsizetype>{counts.file1, counts.file2, counts.both, counts.changed};
        };
        holds(about("distinct counts", options, forward).constData(),
              four(CountDistinct(*counted)) == reference.distinct);
        holds(about("lines compared", options, forward).constData(),
              ComparedLines(*counted, 1) == reference.compared1 &&
                  ComparedLines(*counted, 2) == reference.compared2);
        for (int k = 0; k < 4; ++k)
            holds(about("written while counting", options, forward).constData(),
                  writtenText(*counted, kKinds[k]) == listText(want[k]));

        // Each near miss pairs a line only in a with one only in b.
        // A line's look-alikes past the most listed come as one count, after
        // the most listed.
        qsizetype listedOfLine = 0, lastLine = -1;
        NearMisses::ForEach(*comparison, [&](const NearMisses::Pair& pair) {
            listedOfLine = pair.line1 == lastLine ? listedOfLine + 1 : 1;
            lastLine = pair.line1;
            if (pair.more > 0) {
                holds(about("a count of look-alikes after the most listed", options, forward)
                          .constData(),
                      pair.line2 == -1 && listedOfLine == NearMisses::kMostAlike + 1);
                return;
            }
            holds(about("at most so many look-alikes a line", options, forward).constData(),
                  listedOfLine <= NearMisses::kMostAlike);
            holds(about("near miss from a line only in a", options, forward).constData(),
                  pair.line1 < linesA.size() && want[1].contains(linesA[pair.line1]));
            holds(about("near miss to a line only in b", options, forward).constData(),
                  pair.line2 < linesB.size() && want[2].contains(linesB[pair.line2]));
            holds(about("near miss with a reason", options, forward).constData(), pair.why != 0);
        });

        // The calls that take only the case.
        if (!options.ignoreBlanks && !options.eachOnce && !options.skipEmpty &&
            !options.KeysDifferFromLines() && !options.header &&
            options.read.lineEnds == ReadOptions::LineEnds::LineFeeds) {
            const qint16 matchCase = options.matchCase ? -1 : 0;
            Recorder both, notIn;
            ListLinesInBoth(a, b, matchCase, both);
            ListLinesNotIn(a, b, matchCase, notIn);
            same(about("ListLinesInBoth", options, forward).constData(), both.lines, want[0]);
            same(about("ListLinesNotIn", options, forward).constData(), notIn.lines, want[1]);
        }

        // File b read a few bytes at a time, its list written as it goes.
        QByteArray onlyB;
        const auto streamed = CompareStreamingFile2(
            a, b, options, [&onlyB] { return [&onlyB](QByteArrayView piece) { onlyB += piece; }; },
            qint64(1 + size % 7));
        holds(about("streamed: lines in both", options, forward).constData(),
              writtenText(*streamed, ResultKind::InBoth) == listText(want[0]));
        holds(about("streamed: lines only in a", options, forward).constData(),
              writtenText(*streamed, ResultKind::OnlyIn1) == listText(want[1]));
        same(about("streamed: lines only in b", options, forward).constData(), onlyB,
             listText(want[2]));
        holds(about("streamed: lines only in b counted", options, forward).constData(),
              ListSize(*streamed, ResultKind::OnlyIn2) == want[2].size());
        holds(about("streamed: changed lines", options, forward).constData(),
              writtenText(*streamed, ResultKind::Changed) == listText(want[3]));

        // The same with the lines only in b kept, and distinct keys counted
        // among them.
        const auto kept = CompareStreamingFile2(
            a, b, counting, [] { return ListWriter(); }, qint64(1 + size % 5), nullptr,
            LineEnd::CrLf, true);
        same(about("kept: distinct counts", options, forward).constData(),
             numbers(four(CountDistinct(*kept))), numbers(reference.distinct));
        holds(about("kept: lines only in b", options, forward).constData(),
              writtenText(*kept, ResultKind::OnlyIn2) == listText(want[2]));
        holds(about("kept: lines compared", options, forward).constData(),
              ComparedLines(*kept, 2) == ComparedLines(*counted, 2));
        qsizetype keptPairs = 0, pairs = 0;
        NearMisses::ForEach(*kept, [&keptPairs](const NearMisses::Pair&) { ++keptPairs; });
        NearMisses::ForEach(*comparison, [&pairs](const NearMisses::Pair&) { ++pairs; });
        holds(about("kept: near misses", options, forward).constData(), keptPairs == pairs);

        // From disk, in one part or a few: the same lists, counts, partners and near misses.
        MemoryBudget budget;
        budget.parts = 1 + int(size % 3);
        const auto onDisk = CompareOnDisk(a, b, options, budget);
        for (int k = 0; k < 4; ++k)
            holds(about("from disk: written", options, forward).constData(),
                  writtenText(*onDisk, kKinds[k]) == listText(want[k]));
        same(about("from disk: distinct counts", options, forward).constData(),
             numbers(four(CountDistinct(*onDisk))), numbers(reference.distinct));
        ForEachListRow(*onDisk, ResultKind::Changed,
                       [&](qsizetype line, QByteArrayView, qsizetype partner) {
                           holds(about("from disk: partner", options, forward).constData(),
                                 partner == reference.partners.value(line, -1));
                       });
        qsizetype diskPairs = 0;
        NearMisses::ForEach(*onDisk, [&diskPairs](const NearMisses::Pair&) { ++diskPairs; });
        holds(about("from disk: near misses", options, forward).constData(), diskPairs == pairs);
    }
    return 0;
}
