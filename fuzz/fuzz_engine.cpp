// The comparison engine against the plain nested loops: the input is split
// into two files, which the engine compares through its public calls, in both
// case modes and both orders; every list must be the one that comparing every
// line of one file with every line of the other gives. An input that starts
// with kTwins has each line followed by its twin.

#include "compare/CompareEngine.h"
#include "compare/LineHash.h"
#include "compare/LineSink.h"
#include "compare/LineTable.h"
#include "compare/TextFile.h"
#include "fuzz/FuzzCheck.h"
#include "platform/AnsiCodec.h"
#include "tests/ListTexts.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

using FuzzCheck::holds;
using FuzzCheck::same;

namespace {

// What divides the input into file 1 and file 2. Without it the whole input
// is file 1 and file 2 does not exist.
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
    void Add(const QString& text) override { lines.append(text); }
    void AddEncoded(QByteArrayView bytes) override { lines.append(AnsiCodec::Decode(bytes)); }
    void AddShared(const std::shared_ptr<const void>& owner, QByteArrayView bytes) override
    {
        holds("shared bytes have an owner", owner != nullptr);
        AddEncoded(bytes);
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
QStringList linesOf(const QString& path)
{
    const LineTable table = LineTable::FromContent(ReadFileContent(path));
    QStringList out;
    for (qsizetype i = 0; i < table.size(); ++i)
        out.append(table.isText(i) ? table.text(i) : AnsiCodec::Decode(table.bytes(i)));
    return out;
}

// Without case, lines compare lower-cased one 16-bit character at a time.
QString lowered(QString line)
{
    for (QChar& c : line)
        c = c.toLower();
    return line;
}

// Every line of a whose presence in b is wantFound, by comparing it with
// every line of b. Lowering gives the same every time, so it is done once a
// line rather than once a comparison.
QStringList nestedLoops(const QStringList& a, const QStringList& b, bool matchCase, bool wantFound)
{
    QStringList keysB;
    for (const QString& line : b)
        keysB.append(matchCase ? line : lowered(line));
    QStringList out;
    for (const QString& line : a) {
        const QString key = matchCase ? line : lowered(line);
        bool found = false;
        for (const QString& other : keysB) {
            if (key == other) {
                found = true;
                break;
            }
        }
        if (found == wantFound)
            out.append(line);
    }
    return out;
}

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

    const QStringList linesOne = linesOf(one), linesTwo = linesOf(two);
    for (const qint16 matchCase : {qint16(-1), qint16(0)}) {
        for (const bool forward : {true, false}) {
            const QString& a = forward ? one : two;
            const QString& b = forward ? two : one;
            const QStringList& linesA = forward ? linesOne : linesTwo;
            const QStringList& linesB = forward ? linesTwo : linesOne;
            Recorder both, notIn;
            ListLinesInBoth(a, b, matchCase, both);
            ListLinesNotIn(a, b, matchCase, notIn);
            same(matchCase ? "lines in both, case matched" : "lines in both, case ignored",
                 both.lines, nestedLoops(linesA, linesB, matchCase != 0, true));
            same(matchCase ? "lines not in, case matched" : "lines not in, case ignored",
                 notIn.lines, nestedLoops(linesA, linesB, matchCase != 0, false));

            // File b read a few bytes at a time, its list written as it goes.
            CompareOptions options;
            options.matchCase = matchCase != 0;
            QByteArray onlyB;
            const auto streamed = CompareStreamingFile2(
                a, b, options,
                [&onlyB] { return [&onlyB](QByteArrayView piece) { onlyB += piece; }; },
                qint64(1 + size % 7));
            holds("streamed: lines in both",
                  writtenText(*streamed, ResultKind::InBoth) ==
                      listText(nestedLoops(linesA, linesB, matchCase != 0, true)));
            holds("streamed: lines only in a",
                  writtenText(*streamed, ResultKind::OnlyIn1) ==
                      listText(nestedLoops(linesA, linesB, matchCase != 0, false)));
            holds("streamed: lines only in b",
                  onlyB == listText(nestedLoops(linesB, linesA, matchCase != 0, false)));
        }
    }
    return 0;
}
