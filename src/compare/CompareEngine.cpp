#include "CompareEngine.h"

#include "AnsiCodec.h"
#include "CompareProgress.h"
#include "LineMatch.h"
#include "LineTable.h"
#include "RuntimeError.h"
#include "SideBySide.h"
#include "TextFile.h"

#include <cstring>
#include <limits>
#include <memory>

namespace {

// One file of a compared pair.
struct Side
{
    QString path;
    LineTable lines;
    std::vector<bool> inOther;
    std::vector<bool> repeat; // with eachOnce: an earlier line compares equal

    void load(const QString& from, const CompareProgress* progress)
    {
        path = from;
        FileContent content = ReadFileContent(from);
        if (progress)
            progress->ThrowIfCancelled();
        lines = LineTable::FromContent(std::move(content), progress);
    }
};

} // namespace

struct Comparison
{
    CompareOptions options;
    Side a, b;
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
    RunSideBySide([&] { result->a.load(pathA, progress); },
                  [&] { result->b.load(pathB, progress); });

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

void WriteListText(const Comparison& comparison, ResultKind kind,
                   const std::function<void(QByteArrayView)>& write)
{
    const Side& side = kind == ResultKind::OnlyIn2 ? comparison.b : comparison.a;
    const bool wantFound = kind == ResultKind::InBoth;
    const bool once = !side.repeat.empty();
    const LineTable& lines = side.lines;
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QByteArray piece(kPiece, Qt::Uninitialized);
    char* const begin = piece.data();
    char* at = begin;
    auto flush = [&] {
        if (at != begin)
            write(QByteArrayView(begin, at - begin));
        at = begin;
    };
    QByteArray encoded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (side.inOther[size_t(i)] != wantFound || (once && side.repeat[size_t(i)]))
            continue;
        QByteArrayView bytes;
        if (lines.isText(i)) {
            encoded.resize(0);
            AnsiCodec::AppendEncoded(lines.text(i), encoded);
            bytes = encoded;
        } else {
            bytes = lines.bytes(i);
        }
        if (bytes.size() + 2 > kPiece - (at - begin)) {
            flush();
            if (bytes.size() + 2 > kPiece) {
                // A line longer than a piece goes out on its own.
                write(bytes);
                write(QByteArrayView("\r\n", 2));
                continue;
            }
        }
        std::memcpy(at, bytes.data(), size_t(bytes.size()));
        at += bytes.size();
        *at++ = '\r';
        *at++ = '\n';
    }
    flush();
}

qsizetype ListSize(const Comparison& comparison, ResultKind kind)
{
    const Side& side = kind == ResultKind::OnlyIn2 ? comparison.b : comparison.a;
    const bool wantFound = kind == ResultKind::InBoth;
    const bool once = !side.repeat.empty();
    qsizetype count = 0;
    for (size_t i = 0; i < side.inOther.size(); ++i)
        count += side.inOther[i] == wantFound && !(once && side.repeat[i]);
    return count;
}
