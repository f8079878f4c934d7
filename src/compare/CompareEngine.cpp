#include "compare/CompareEngine.h"

#include "compare/ComparisonData.h"

#include "compare/CaseFolding.h"
#include "compare/CompareProgress.h"
#include "compare/KeyTable.h"
#include "compare/LineKeys.h"
#include "compare/LineMatch.h"
#include "compare/LineTable.h"
#include "compare/Records.h"
#include "compare/SideBySide.h"
#include "compare/TextFile.h"
#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>

namespace {

// Appends line i of from to to: a part of to's bytes where it lies in them, else copied.
void copyLine(const LineTable& from, qsizetype i, LineTable& to)
{
    if (from.isText(i))
        to.AddText(from.text(i));
    else
        to.AddBytes(from.bytes(i));
}

// Which lines of keys are empty once blanks at their ends are left out
// (trim): those skipEmpty leaves out.
std::vector<bool> emptyKeys(const LineTable& keys, bool trim)
{
    std::vector<bool> empty(size_t(keys.size()));
    for (qsizetype i = 0; i < keys.size(); ++i)
        empty[size_t(i)] = keys.isText(i)
                               ? Engine::comparedPart(QStringView(keys.text(i)), trim).isEmpty()
                               : Engine::comparedPart(keys.bytes(i), trim).isEmpty();
    return empty;
}

// The options the lines are matched with: repeats are found for distinct
// counts too, and for the keys a file holds more than once.
CompareOptions matchOptions(const CompareOptions& options)
{
    CompareOptions matching = options;
    matching.eachOnce = options.eachOnce || options.countDistinct || options.HasKey();
    return matching;
}

// Line positions are 32-bit, as are the shared table's slots and the line
// numbers of lines kept of a streamed file.
RuntimeError tooManyLines(const QString& path)
{
    return RuntimeError(
        QCoreApplication::translate("CompareEngine", "\"%1\" has more than 2,147,483,647 lines")
            .arg(path));
}

// Options that cannot be compared with are refused, not half followed.
void throwIfUnusable(const CompareOptions& options)
{
    const QString problem = CompareOptionsProblem(options);
    if (!problem.isEmpty())
        throw RuntimeError(problem);
}

} // namespace

void Side::makeKeys(const CompareOptions& options, const CompareProgress* progress, bool inHalves)
{
    keyed = options.KeysDifferFromLines();
    if (keyed)
        keys = KeyTableOf(lines, options, progress, inHalves, &patternGaveUp);
}

void Side::settle(const CompareOptions& options)
{
    if (options.skipEmpty)
        skipped = emptyKeys(keyTable(), options.ignoreBlanks);
    hidden.clear();
    if (options.eachOnce)
        hidden = repeat;
    if (!skipped.empty()) {
        hidden.resize(skipped.size());
        for (size_t i = 0; i < skipped.size(); ++i)
            hidden[i] = hidden[i] || skipped[i];
    }
}

void Side::load(const QString& from, const CompareOptions& options, const CompareProgress* progress)
{
    path = from;
    FileContent content = ReadFileContent(from, options.read, progress);
    if (progress)
        progress->ThrowIfCancelled();
    lines = LineTable::FromContent(std::move(content), progress, options.read.lineEnds);
    if (options.header && lines.size() > 0) {
        header = lines.isText(0) ? lines.text(0) : AnsiCodec::Decode(lines.bytes(0));
        lines.DropFirst();
        offset = 1;
    }
}

namespace {

DistinctCounts countDistinct(const Side& a, const Side& b)
{
    // A key's first line stands for it; an empty key skipped matches only
    // empty keys, skipped too, so the lines of a key in both are the first
    // lines of file 1 found in file 2.
    auto first = [](const Side& side, size_t i) {
        return !side.repeat[i] && (side.skipped.empty() || !side.skipped[i]);
    };
    DistinctCounts counts;
    for (size_t i = 0; i < a.repeat.size(); ++i) {
        if (first(a, i)) {
            ++counts.file1;
            counts.both += a.inOther[i];
            counts.changed += a.inOther[i] && a.isChanged(i);
        }
    }
    for (size_t i = 0; i < b.repeat.size(); ++i)
        counts.file2 += first(b, i);
    return counts;
}

// The lines of table numbered in which, as a table of their own (a part of
// table's bytes where they lie in the lines' bytes).
LineTable linesOf(const LineTable& table, const std::vector<qint32>& which)
{
    LineTable out = LineTable::Over(table);
    out.Reserve(qsizetype(which.size()));
    for (const qint32 i : which)
        copyLine(table, i, out);
    return out;
}

// Line i of keys in one form for every spelling LineMatch takes as the
// same key, into out: without blanks at its ends with Ignore Blanks, lowered
// unless case counts; ASCII as its bytes, anything else as 0xFF and the
// UTF-16 of its text (0xFF is no byte of ASCII).
void keyForm(const LineTable& keys, qsizetype i, const CompareOptions& options, QByteArray& out)
{
    out.resize(0);
    if (!keys.isText(i)) {
        const QByteArrayView bytes = Engine::comparedPart(keys.bytes(i), options.ignoreBlanks);
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) {
            if (options.matchCase) {
                // The key's own bytes, not copied: the map lives no longer than the keys.
                out = QByteArray::fromRawData(bytes.data(), bytes.size());
                return;
            }
            out.append(bytes);
            for (char& c : out)
                c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
            return;
        }
    }
    QString text = keys.isText(i) ? keys.text(i) : AnsiCodec::Decode(keys.bytes(i));
    text = Engine::comparedPart(QStringView(text), options.ignoreBlanks).toString();
    if (!options.matchCase)
        text = Engine::lowerEachCharacter(std::move(text));
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        out = text.toLatin1();
        return;
    }
    out.append('\xFF');
    out.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Tells which lines of file 1 whose key file 2 holds are changed there,
// and pairs each with its partner: the first line of file 2 with its key
// that is the same record as no line of file 1, or else the first with its key.
void findChanges(Comparison& comparison, CompareProgress* progress)
{
    Side &a = comparison.a, &b = comparison.b;
    const CompareOptions& options = comparison.options;
    auto shared = [](const Side& side) {
        std::vector<qint32> lines;
        for (size_t i = 0; i < side.inOther.size(); ++i)
            if (side.inOther[i] && (side.skipped.empty() || !side.skipped[i]))
                lines.push_back(qint32(i));
        return lines;
    };
    const std::vector<qint32> sharedA = shared(a), sharedB = shared(b);
    if (sharedA.empty())
        return;
    // The same record: the same key and the same compared text, which holds the key.
    LineMatch records;
    {
        LineTable textsA, textsB;
        RunSideBySide(
            [&] {
                textsA = Records::ComparedTable(a.lines, a.keyTable(), sharedA, options, progress);
            },
            [&] {
                textsB = Records::ComparedTable(b.lines, b.keyTable(), sharedB, options, progress);
            });
        CompareOptions exact;
        exact.matchCase = options.matchCase;
        records = LineMatch::Of(textsA, textsB, exact, progress);
    }
    std::vector<qint32> changedA;
    for (size_t k = 0; k < sharedA.size(); ++k)
        if (!records.aInB[k])
            changedA.push_back(sharedA[k]);
    if (changedA.empty())
        return;
    a.changed.assign(size_t(a.lines.size()), false);
    for (const qint32 i : changedA)
        a.changed[size_t(i)] = true;

    // The candidates for each changed line's key: the first line of file 2
    // with it, and the first that is the same record as no line of file 1.
    struct Candidates
    {
        qint32 first = -1, firstOther = -1;
    };
    QHash<QByteArray, Candidates> byKey;
    byKey.reserve(qsizetype(changedA.size()));
    QByteArray form;
    for (const qint32 i : changedA) {
        keyForm(a.keyTable(), i, options, form);
        byKey.insert(form, Candidates());
    }
    for (size_t k = 0; k < sharedB.size(); ++k) {
        if (progress && (k & 0xFFFF) == 0)
            progress->ThrowIfCancelled();
        keyForm(b.keyTable(), sharedB[k], options, form);
        const auto found = byKey.find(form);
        if (found == byKey.end())
            continue;
        if (found->first < 0)
            found->first = sharedB[k];
        if (found->firstOther < 0 && !records.bInA[k])
            found->firstOther = sharedB[k];
    }
    comparison.partners.reserve(changedA.size());
    for (const qint32 i : changedA) {
        keyForm(a.keyTable(), i, options, form);
        const auto found = byKey.constFind(form);
        qint32 partner = -1;
        if (found != byKey.constEnd())
            partner = found->firstOther >= 0 ? found->firstOther : found->first;
        comparison.partners.emplace_back(i, partner);
    }
}

} // namespace

void Engine::MatchSides(Comparison& comparison, CompareProgress* progress, bool keysInHalves,
                        bool reportSteps)
{
    const CompareOptions& keyed = comparison.options;
    RunSideBySide([&] { comparison.a.makeKeys(keyed, progress, keysInHalves); },
                  [&] { comparison.b.makeKeys(keyed, progress, keysInHalves); });
    comparison.patternGaveUp = comparison.a.patternGaveUp + comparison.b.patternGaveUp;

    // Line positions are 32-bit, and so are the shared table's slots.
    for (const Side* side : {&comparison.a, &comparison.b}) {
        if (side->lines.size() > std::numeric_limits<qint32>::max())
            throw tooManyLines(side->path);
    }
    if (comparison.a.lines.size() + comparison.b.lines.size() > qsizetype(3'000'000'000))
        throw RuntimeError(QCoreApplication::translate(
                               "CompareEngine", "\"%1\" and \"%2\" have too many lines to compare "
                                                "at once (3,000,000,000 together at most)")
                               .arg(comparison.a.path, comparison.b.path));

    if (progress) {
        // Each line is keyed once and looked at twice (LineMatch).
        progress->ThrowIfCancelled();
        const qint64 work = 3 * (comparison.a.lines.size() + comparison.b.lines.size());
        if (reportSteps)
            progress->Report(CompareProgress::Step::Comparing, QString(), 0, work);
        else
            progress->ReportDone(0, work);
    }
    LineMatch match = LineMatch::Of(comparison.a.keyTable(), comparison.b.keyTable(),
                                    matchOptions(keyed), progress);
    comparison.a.inOther = std::move(match.aInB);
    comparison.b.inOther = std::move(match.bInA);
    comparison.a.repeat = std::move(match.aRepeat);
    comparison.b.repeat = std::move(match.bRepeat);
    comparison.a.settle(keyed);
    comparison.b.settle(keyed);
    if (keyed.HasKey())
        findChanges(comparison, progress);
}

void Engine::KeyForm(const LineTable& keys, qsizetype i, const CompareOptions& options,
                     QByteArray& out)
{
    keyForm(keys, i, options, out);
}

DistinctCounts Engine::CountDistinctOf(const Side& a, const Side& b)
{
    return countDistinct(a, b);
}

namespace {

std::shared_ptr<Comparison> compare(const QString& pathA, const QString& pathB,
                                    const CompareOptions& options,
                                    CompareProgress* progress = nullptr)
{
    throwIfUnusable(options);
    auto result = std::make_shared<Comparison>();
    result->options = options;
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Reading, pathA);
    }
    // A is read here, B on the other core meanwhile; A's failure is the one reported.
    RunSideBySide([&] { result->a.load(pathA, options, progress); },
                  [&] { result->b.load(pathB, options, progress); });
    if (!options.keyNames.isEmpty() || !options.ignoreNames.isEmpty()) {
        const QString problem =
            ResolveFieldNames(result->options, KeyForm::Fields(result->a.header, result->options));
        if (!problem.isEmpty())
            throw UnknownFieldName(problem);
        throwIfUnusable(result->options);
    }
    Engine::MatchSides(*result, progress);
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::Listing);
    }
    return result;
}

const Side& sideOf(const Comparison& comparison, ResultKind kind)
{
    return kind == ResultKind::OnlyIn2 ? comparison.b : comparison.a;
}

// Whether line i of its side is in the list kind; filling, counting and
// writing a list all ask here.
auto listFilter(const Comparison& comparison, ResultKind kind)
{
    const Side& side = sideOf(comparison, kind);
    const bool wantFound = kind == ResultKind::InBoth || kind == ResultKind::Changed;
    const bool wantChanged = kind == ResultKind::Changed;
    return [&side, wantFound, wantChanged](qsizetype i) {
        return side.inOther[size_t(i)] == wantFound && side.listed(size_t(i)) &&
               (!wantFound || side.isChanged(size_t(i)) == wantChanged);
    };
}

} // namespace

bool Engine::InList(const Comparison& comparison, ResultKind kind, qsizetype i)
{
    return listFilter(comparison, kind)(i);
}

const Side& Engine::SideOf(const Comparison& comparison, ResultKind kind)
{
    return sideOf(comparison, kind);
}

namespace {

void listLines(const QString& pathA, const QString& pathB, bool matchCase, bool wantFound,
               LineSink& target)
{
    CompareOptions options;
    options.matchCase = matchCase;
    FillList(*compare(pathA, pathB, options), wantFound ? ResultKind::InBoth : ResultKind::OnlyIn1,
             target);
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
    // Only now, with both files read and split, is the old content dropped.
    target.Clear();
    if (comparison.spill) {
        Disk::ForEachRow(comparison, kind,
                         [&target](qsizetype line, QByteArrayView bytes, qsizetype) {
                             target.AddAt(line, AnsiCodec::Decode(bytes));
                         });
        return;
    }
    const Side& side = sideOf(comparison, kind);
    const LineTable& lines = side.lines;
    const auto keep = listFilter(comparison, kind);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!keep(i))
            continue;
        if (lines.isText(i))
            target.AddAt(side.numberOf(i), lines.text(i));
        else
            target.AddSharedAt(side.numberOf(i), lines.owner(i), lines.bytes(i));
    }
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

void WriteListText(const Comparison& comparison, ResultKind kind,
                   const std::function<void(QByteArrayView)>& write, LineEnd end)
{
    if (comparison.spill)
        return Disk::WriteList(comparison, kind, write, end);
    writeLines(sideOf(comparison, kind).lines, listFilter(comparison, kind), write, end);
}

void ForEachListLine(const Comparison& comparison, ResultKind kind,
                     const std::function<void(qsizetype line, QByteArrayView bytes)>& row)
{
    if (comparison.spill) {
        Disk::ForEachRow(comparison, kind, [&row](qsizetype line, QByteArrayView bytes, qsizetype) {
            row(line, bytes);
        });
        return;
    }
    const Side& side = sideOf(comparison, kind);
    const LineTable& lines = side.lines;
    const auto keep = listFilter(comparison, kind);
    QByteArray encoded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!keep(i))
            continue;
        if (lines.isText(i)) {
            encoded = AnsiCodec::Encode(lines.text(i));
            row(side.numberOf(i), encoded);
        } else {
            row(side.numberOf(i), lines.bytes(i));
        }
    }
}

void ForEachListRow(
    const Comparison& comparison, ResultKind kind,
    const std::function<void(qsizetype line, QByteArrayView bytes, qsizetype partner)>& row)
{
    if (comparison.spill)
        return Disk::ForEachRow(comparison, kind, row);
    const bool changed = kind == ResultKind::Changed;
    ForEachListLine(comparison, kind, [&](qsizetype line, QByteArrayView bytes) {
        row(line, bytes, changed ? PartnerOf(comparison, line) : -1);
    });
}

namespace {

// How many distinct keys two tables of keys hold together, each keyed on a
// core of its own; a key of the second counts when the first has none like it.
qsizetype distinctIn(const LineTable (&halves)[2], const CompareOptions& options,
                     CompareProgress* progress)
{
    CompareOptions once = options;
    once.eachOnce = true;
    const LineMatch match = LineMatch::Of(halves[0], halves[1], once, progress);
    qsizetype distinct = std::count(match.aRepeat.begin(), match.aRepeat.end(), false);
    for (size_t i = 0; i < match.bRepeat.size(); ++i)
        distinct += !match.bRepeat[i] && !match.bInA[i];
    return distinct;
}

} // namespace

std::shared_ptr<const Comparison>
CompareStreamingFile2(const QString& path1, const QString& path2, const CompareOptions& options,
                      const std::function<ListWriter()>& opened, qint64 pieceBytes,
                      CompareProgress* progress, LineEnd end, bool keepOnlyIn2)
{
    if (options.eachOnce || options.HasKey() || options.header) {
        // Which line only file 2 holds is a repeat is known only once all of
        // them are, and which record is changed once all records with its
        // key are: file 2 is read whole (as is a file with a header, whose
        // first line is no line of a list).
        auto whole = compare(path1, path2, options, progress);
        const ListWriter writeOnlyIn2 = opened();
        if (writeOnlyIn2)
            WriteListText(*whole, ResultKind::OnlyIn2, writeOnlyIn2, end);
        if (options.countDistinct)
            whole->distinct = countDistinct(whole->a, whole->b);
        if (keepOnlyIn2 || options.HasKey())
            return whole;
        whole->streamedOnlyIn2 = ListSize(*whole, ResultKind::OnlyIn2);
        whole->streamedLines2 = ComparedLines(*whole, 2);
        whole->b = Side();
        return whole;
    }
    throwIfUnusable(options);
    auto result = std::make_shared<Comparison>();
    result->options = options;
    // File 1 is mapped rather than read, and split in halves on both cores.
    result->a.path = path1;
    result->a.lines = LineTable::FromMappedFile(path1, options.read, progress);
    result->a.makeKeys(options, progress, true);
    if (result->a.lines.size() > std::numeric_limits<qint32>::max())
        throw tooManyLines(path1);
    PieceReader reader(path2, pieceBytes, options.read);
    std::atomic<qsizetype> gaveUp2{0};
    const ListWriter writeOnlyIn2 = opened();
    const LineIndex index(result->a.keyTable(), matchOptions(options), progress);

    // Two threads take pieces of file 2 in turn, look their lines up side by
    // side, and pass on the lines file 1 lacks in file order.
    const bool keyed = options.KeysDifferFromLines();
    std::mutex reading, writing;
    std::condition_variable turn;
    qint64 nextPiece = 0, nextWrite = 0;
    bool failed = false;
    qsizetype onlyIn2 = 0, compared2 = 0, lines2 = 0;
    // With keepOnlyIn2, the lines that file 1 lacks, copied into file 2's
    // side in file order as each piece takes its turn, with their line
    // numbers. With countDistinct, their keys, copied by each thread into a
    // table of its own, in no order: the distinct keys of file 2 not in file
    // 1 are counted among them.
    Side& kept = result->b;
    LineTable keptKeys[2];
    auto work = [&](int thread) {
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
                qsizetype gaveUp = 0;
                const LineTable keys =
                    keyed ? KeyTableOf(lines, options, progress, false, &gaveUp) : LineTable();
                gaveUp2 += gaveUp;
                const LineTable& keyTable = keyed ? keys : lines;
                const std::vector<bool> found = index.Find(keyTable);
                const std::vector<bool> skipped = options.skipEmpty
                                                      ? emptyKeys(keyTable, options.ignoreBlanks)
                                                      : std::vector<bool>();
                const auto notInFile1 = [&found, &skipped](qsizetype i) {
                    return !found[size_t(i)] && (skipped.empty() || !skipped[size_t(i)]);
                };
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
                if (options.countDistinct)
                    keptKeys[thread].PrepareBytes(keyTable.ByteSize());
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    if (!notInFile1(i))
                        continue;
                    ++count;
                    if (options.countDistinct)
                        copyLine(keyTable, i, keptKeys[thread]);
                }
                const qsizetype compared =
                    lines.size() - std::count(skipped.begin(), skipped.end(), true);
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
                if (keepOnlyIn2) {
                    // Kept lines are numbered in 32 bits, as a file read whole is.
                    if (lines2 + lines.size() > std::numeric_limits<qint32>::max())
                        throw tooManyLines(path2);
                    // A megabyte or so, copied while the other thread works on.
                    kept.lines.PrepareBytes(lines.ByteSize());
                    for (qsizetype i = 0; i < lines.size(); ++i) {
                        if (notInFile1(i)) {
                            copyLine(lines, i, kept.lines);
                            kept.numbers.push_back(qint32(lines2 + i));
                        }
                    }
                }
                lines2 += lines.size();
                compared2 += compared;
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
    // Growing a copy a little at a time would copy it over and over, into
    // fresh memory each time; room is made once (only what is written costs
    // memory).
    if (const QFileInfo info(path2); info.isFile()) {
        if (options.countDistinct)
            for (LineTable& keys : keptKeys)
                keys.ReserveBytes(info.size());
        if (keepOnlyIn2)
            kept.lines.ReserveBytes(info.size());
    }
    RunSideBySide([&] { work(0); }, [&] { work(1); });
    index.Answers(result->a.inOther, result->a.repeat);
    result->a.settle(options);
    result->streamedOnlyIn2 = onlyIn2;
    result->streamedLines2 = compared2;
    result->patternGaveUp = result->a.patternGaveUp + gaveUp2.load();
    if (options.countDistinct) {
        // Every key of file 2 that file 1 holds is one of file 1's keys in
        // both; the others are the distinct keys among those kept.
        DistinctCounts distinct = countDistinct(result->a, Side());
        distinct.file2 = distinct.both + distinctIn(keptKeys, options, progress);
        keptKeys[0] = keptKeys[1] = LineTable();
        result->distinct = distinct;
    }
    if (keepOnlyIn2) {
        kept.path = path2;
        kept.inOther.assign(kept.numbers.size(), false);
    }
    return result;
}

bool File1Unchanged(const Comparison& comparison)
{
    return comparison.a.lines.Unchanged();
}

qsizetype ListSize(const Comparison& comparison, ResultKind kind)
{
    if (comparison.spill)
        return Disk::ListSize(comparison, kind);
    if (kind == ResultKind::OnlyIn2 && comparison.streamedOnlyIn2 >= 0)
        return comparison.streamedOnlyIn2;
    const auto keep = listFilter(comparison, kind);
    qsizetype count = 0;
    for (qsizetype i = 0; i < qsizetype(sideOf(comparison, kind).inOther.size()); ++i)
        count += keep(i);
    return count;
}

QString LineText(const Comparison& comparison, int file, qsizetype line)
{
    const Side& side = file == 2 ? comparison.b : comparison.a;
    const qsizetype i = side.indexOf(line);
    if (i < 0)
        return QString();
    return side.lines.isText(i) ? side.lines.text(i) : AnsiCodec::Decode(side.lines.bytes(i));
}

const CompareOptions& OptionsOf(const Comparison& comparison)
{
    return comparison.options;
}

qsizetype PatternGaveUp(const Comparison& comparison)
{
    return comparison.patternGaveUp;
}

qsizetype ComparedLines(const Comparison& comparison, int file)
{
    const Side& side = file == 2 ? comparison.b : comparison.a;
    if (comparison.comparedLines)
        return (*comparison.comparedLines)[file == 2 ? 1 : 0];
    if (file == 2 && comparison.streamedLines2 >= 0)
        return comparison.streamedLines2;
    return side.lines.size() - std::count(side.skipped.begin(), side.skipped.end(), true);
}

double DistinctCounts::Jaccard() const
{
    const qsizetype either = file1 + file2 - both;
    return either > 0 ? double(both) / double(either) : 0.0;
}

DistinctCounts CountDistinct(const Comparison& comparison)
{
    if (comparison.distinct)
        return *comparison.distinct;
    const Side &a = comparison.a, &b = comparison.b;
    if (a.repeat.size() == size_t(a.lines.size()) && b.repeat.size() == size_t(b.lines.size()))
        return countDistinct(a, b);
    // Made without finding repeats: the keys are matched again, finding them.
    Side againA, againB;
    CompareOptions options = comparison.options;
    options.countDistinct = true;
    LineMatch match = LineMatch::Of(a.keyTable(), b.keyTable(), matchOptions(options));
    againA.inOther = std::move(match.aInB);
    againA.repeat = std::move(match.aRepeat);
    againA.skipped = a.skipped;
    againB.repeat = std::move(match.bRepeat);
    againB.skipped = b.skipped;
    return countDistinct(againA, againB);
}

qsizetype PartnerOf(const Comparison& comparison, qsizetype line)
{
    const qsizetype i = comparison.a.indexOf(line);
    const auto& partners = comparison.partners;
    const auto at =
        std::lower_bound(partners.begin(), partners.end(), std::make_pair(qint32(i), qint32(-1)));
    if (i < 0 || at == partners.end() || at->first != i || at->second < 0)
        return -1;
    return comparison.b.numberOf(at->second);
}

Records::Change ChangeOf(const Comparison& comparison, qsizetype line)
{
    const qsizetype partner = PartnerOf(comparison, line);
    if (partner < 0)
        return {};
    return Records::Between(LineText(comparison, 1, line), LineText(comparison, 2, partner),
                            comparison.options);
}

void ForEachChange(
    const Comparison& comparison,
    const std::function<void(qsizetype line1, QByteArrayView bytes1, qsizetype line2,
                             QByteArrayView bytes2, const Records::Change& change)>& row)
{
    if (comparison.spill)
        return Disk::ForEachChange(comparison, row);
    const Side &a = comparison.a, &b = comparison.b;
    QByteArray encoded1, encoded2;
    Records::Change change;
    auto bytesOf = [](const LineTable& lines, qsizetype i, QByteArray& encoded) {
        if (!lines.isText(i))
            return lines.bytes(i);
        encoded = AnsiCodec::Encode(lines.text(i));
        return QByteArrayView(encoded);
    };
    for (const auto& [i, partner] : comparison.partners) {
        if (!a.listed(size_t(i)) || partner < 0)
            continue;
        const QByteArrayView one = bytesOf(a.lines, i, encoded1);
        const QByteArrayView two = bytesOf(b.lines, partner, encoded2);
        if (a.lines.isText(i) || b.lines.isText(partner) ||
            !Records::BetweenBytes(one, two, comparison.options, change))
            change =
                Records::Between(LineText(comparison, 1, a.numberOf(i)),
                                 LineText(comparison, 2, b.numberOf(partner)), comparison.options);
        row(a.numberOf(i), one, b.numberOf(partner), two, change);
    }
}

qsizetype DuplicateKeys(const Comparison& comparison, int file)
{
    if (comparison.duplicateKeys)
        return (*comparison.duplicateKeys)[file == 2 ? 1 : 0];
    const Side& side = file == 2 ? comparison.b : comparison.a;
    if (side.repeat.size() != size_t(side.lines.size()))
        return 0;
    // The distinct keys among the repeats: each is a key held more than once.
    std::vector<qint32> repeats;
    for (size_t i = 0; i < side.repeat.size(); ++i)
        if (side.repeat[i] && (side.skipped.empty() || !side.skipped[i]))
            repeats.push_back(qint32(i));
    if (repeats.empty())
        return 0;
    CompareOptions once = comparison.options;
    once.eachOnce = true;
    const LineTable keys = linesOf(side.keyTable(), repeats);
    const LineMatch match = LineMatch::Of(keys, LineTable::Over(keys), once);
    return std::count(match.aRepeat.begin(), match.aRepeat.end(), false);
}

QString HeaderLine(const Comparison& comparison, int file)
{
    return (file == 2 ? comparison.b : comparison.a).header;
}
