#include "compare/CompareEngine.h"

#include "compare/CompareProgress.h"
#include "compare/LineMatch.h"
#include "compare/LineTable.h"
#include "compare/SideBySide.h"
#include "compare/TextFile.h"
#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>

namespace {

// One file of a compared pair.
struct Side
{
    QString path;
    LineTable lines;
    std::vector<bool> inOther;
    std::vector<bool> repeat; // with eachOnce: an earlier line compares equal

    void load(const QString& from, const ReadOptions& read, const CompareProgress* progress)
    {
        path = from;
        FileContent content = ReadFileContent(from, read, progress);
        if (progress)
            progress->ThrowIfCancelled();
        lines = LineTable::FromContent(std::move(content), progress, read.lineEnds);
    }
};

} // namespace

struct Comparison
{
    CompareOptions options;
    Side a, b;
    // When file 2 was streamed: the number of lines it had only in it.
    qsizetype streamedOnlyIn2 = -1;
};

namespace {

std::shared_ptr<Comparison> compare(const QString& pathA, const QString& pathB,
                                    const CompareOptions& options,
                                    CompareProgress* progress = nullptr)
{
    auto result = std::make_shared<Comparison>();
    result->options = options;
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Reading, pathA);
    }
    // A is read here, B on the other core meanwhile; A's failure is the one reported.
    RunSideBySide([&] { result->a.load(pathA, options.read, progress); },
                  [&] { result->b.load(pathB, options.read, progress); });

    // Line positions are 32-bit, and so are the shared table's slots.
    for (const Side* side : {&result->a, &result->b}) {
        if (side->lines.size() > std::numeric_limits<qint32>::max())
            throw RuntimeError(
                QStringLiteral("\"%1\" has more than 2,147,483,647 lines").arg(side->path));
    }
    if (result->a.lines.size() + result->b.lines.size() > qsizetype(3'000'000'000))
        throw RuntimeError(QStringLiteral("\"%1\" and \"%2\" have too many lines to compare "
                                          "at once (3,000,000,000 together at most)")
                               .arg(pathA, pathB));

    if (progress) {
        // Each line is keyed once and looked at twice (LineMatch).
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Comparing, QString(), 0,
                         3 * (result->a.lines.size() + result->b.lines.size()));
    }
    LineMatch match = LineMatch::Of(result->a.lines, result->b.lines, options, progress);
    result->a.inOther = std::move(match.aInB);
    result->b.inOther = std::move(match.bInA);
    result->a.repeat = std::move(match.aRepeat);
    result->b.repeat = std::move(match.bRepeat);
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Listing);
    }
    return result;
}

// Only now, with both files read and split, is the old content dropped.
void fillFrom(const Side& side, bool wantFound, LineSink& target)
{
    target.Clear();
    const LineTable& lines = side.lines;
    const bool once = !side.repeat.empty();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (side.inOther[size_t(i)] != wantFound || (once && side.repeat[size_t(i)]))
            continue;
        if (lines.isText(i))
            target.Add(lines.text(i));
        else
            target.AddShared(lines.owner(i), lines.bytes(i));
    }
}

void listLines(const QString& pathA, const QString& pathB, bool matchCase, bool wantFound,
               LineSink& target)
{
    CompareOptions options;
    options.matchCase = matchCase;
    fillFrom(compare(pathA, pathB, options)->a, wantFound, target);
}

} // namespace

void ListLinesInBoth(QString pathA, QString pathB, qint16 matchCase, LineSink& target)
{
    listLines(pathA, pathB, matchCase != 0, true, target);
}

void ListLinesNotIn(QString pathA, QString pathB, qint16 matchCase, LineSink& target)
{
    listLines(pathA, pathB, matchCase != 0, false, target);
}

std::shared_ptr<const Comparison> CompareFiles(const QString& path1, const QString& path2,
                                               const CompareOptions& options,
                                               CompareProgress* progress)
{
    return compare(path1, path2, options, progress);
}

void FillList(const Comparison& comparison, ResultKind kind, LineSink& target)
{
    fillFrom(kind == ResultKind::OnlyIn2 ? comparison.b : comparison.a, kind == ResultKind::InBoth,
             target);
}

namespace {

// Passes the text of the lines of lines that keep(i) accepts, as a list file
// holds it, to write about a megabyte at a time.
template <typename Keep>
void writeLines(const LineTable& lines, Keep keep, const ListTextWriter::Sink& write, LineEnd end)
{
    // No more room than the lines could take (a small piece of file 2 is
    // written many times over).
    ListTextWriter out(write, lines.ByteSize() + 2 * lines.size() + 2, end);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!keep(i))
            continue;
        if (lines.isText(i))
            out.Add(lines.text(i));
        else
            out.AddEncoded(lines.bytes(i));
    }
    out.Flush();
}

} // namespace

namespace {

const Side& sideOf(const Comparison& comparison, ResultKind kind)
{
    return kind == ResultKind::OnlyIn2 ? comparison.b : comparison.a;
}

// Whether line i of its side is in the list kind.
auto listFilter(const Comparison& comparison, ResultKind kind)
{
    const Side& side = sideOf(comparison, kind);
    const bool wantFound = kind == ResultKind::InBoth;
    const bool once = !side.repeat.empty();
    return [&side, wantFound, once](qsizetype i) {
        return side.inOther[size_t(i)] == wantFound && !(once && side.repeat[size_t(i)]);
    };
}

} // namespace

void WriteListText(const Comparison& comparison, ResultKind kind,
                   const std::function<void(QByteArrayView)>& write, LineEnd end)
{
    writeLines(sideOf(comparison, kind).lines, listFilter(comparison, kind), write, end);
}

void ForEachListLine(const Comparison& comparison, ResultKind kind,
                     const std::function<void(qsizetype line, QByteArrayView bytes)>& row)
{
    const LineTable& lines = sideOf(comparison, kind).lines;
    const auto keep = listFilter(comparison, kind);
    QByteArray encoded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!keep(i))
            continue;
        if (lines.isText(i)) {
            encoded = AnsiCodec::Encode(lines.text(i));
            row(i, encoded);
        } else {
            row(i, lines.bytes(i));
        }
    }
}

std::shared_ptr<const Comparison> CompareStreamingFile2(const QString& path1, const QString& path2,
                                                        const CompareOptions& options,
                                                        const std::function<ListWriter()>& opened,
                                                        qint64 pieceBytes,
                                                        CompareProgress* progress, LineEnd end)
{
    if (options.eachOnce) {
        // A repeat of a line only file 2 holds is known only by keeping
        // those lines: file 2 is read whole.
        auto whole = compare(path1, path2, options, progress);
        const ListWriter writeOnlyIn2 = opened();
        if (writeOnlyIn2)
            WriteListText(*whole, ResultKind::OnlyIn2, writeOnlyIn2, end);
        whole->streamedOnlyIn2 = ListSize(*whole, ResultKind::OnlyIn2);
        whole->b = Side();
        return whole;
    }
    auto result = std::make_shared<Comparison>();
    result->options = options;
    // File 1 is mapped rather than read, and split in halves on both cores.
    result->a.path = path1;
    result->a.lines = LineTable::FromMappedFile(path1, options.read, progress);
    if (result->a.lines.size() > std::numeric_limits<qint32>::max())
        throw RuntimeError(QStringLiteral("\"%1\" has more than 2,147,483,647 lines").arg(path1));
    PieceReader reader(path2, pieceBytes, options.read);
    const ListWriter writeOnlyIn2 = opened();
    const LineIndex index(result->a.lines, options, progress);

    // Two threads take pieces of file 2 in turn, look their lines up side by
    // side, and pass on the lines file 1 lacks in file order.
    std::mutex reading, writing;
    std::condition_variable turn;
    qint64 nextPiece = 0, nextWrite = 0;
    bool failed = false;
    qsizetype onlyIn2 = 0;
    auto work = [&] {
        try {
            QByteArray text;
            for (;;) {
                PieceReader::Piece piece;
                qint64 number;
                if (progress)
                    progress->ThrowIfCancelled();
                {
                    const std::lock_guard<std::mutex> lock(reading);
                    if (!reader.Next(piece))
                        return;
                    number = nextPiece++;
                }
                const LineTable lines =
                    piece.wholeFile ? LineTable::FromContent(std::move(piece.content), nullptr,
                                                             options.read.lineEnds)
                                    : LineTable::FromPiece(std::move(piece.content.bytes),
                                                           piece.first, options.read.lineEnds);
                const std::vector<bool> found = index.Find(lines);
                const auto notInFile1 = [&found](qsizetype i) { return !found[size_t(i)]; };
                // A piece grown for a line longer than a piece is written in
                // its turn straight from its bytes: a copy made meanwhile
                // would double what the line costs.
                const bool straight = lines.ByteSize() > 2 * pieceBytes;
                qsizetype count = 0;
                text.resize(0);
                if (writeOnlyIn2 && !straight)
                    writeLines(
                        lines, notInFile1, [&text](QByteArrayView bytes) { text.append(bytes); },
                        end);
                for (bool inFile1 : found)
                    count += !inFile1;
                std::unique_lock<std::mutex> lock(writing);
                turn.wait(lock, [&] { return nextWrite == number || failed; });
                if (failed)
                    return;
                lock.unlock();
                if (writeOnlyIn2 && straight)
                    writeLines(lines, notInFile1, writeOnlyIn2, end);
                else if (!text.isEmpty())
                    writeOnlyIn2(text);
                lock.lock();
                onlyIn2 += count;
                ++nextWrite;
                turn.notify_all();
            }
        } catch (...) {
            {
                const std::lock_guard<std::mutex> lock(writing);
                failed = true;
            }
            turn.notify_all();
            throw;
        }
    };
    RunSideBySide(work, work);
    index.Answers(result->a.inOther, result->a.repeat);
    result->streamedOnlyIn2 = onlyIn2;
    return result;
}

bool File1Unchanged(const Comparison& comparison)
{
    return comparison.a.lines.Unchanged();
}

qsizetype ListSize(const Comparison& comparison, ResultKind kind)
{
    if (kind == ResultKind::OnlyIn2 && comparison.streamedOnlyIn2 >= 0)
        return comparison.streamedOnlyIn2;
    const Side& side = kind == ResultKind::OnlyIn2 ? comparison.b : comparison.a;
    const bool wantFound = kind == ResultKind::InBoth;
    const bool once = !side.repeat.empty();
    qsizetype count = 0;
    for (size_t i = 0; i < side.inOther.size(); ++i)
        count += side.inOther[i] == wantFound && !(once && side.repeat[i]);
    return count;
}
