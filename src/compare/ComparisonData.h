#pragma once

// What a comparison holds, shared by the engine's two ways of making one:
// both files in memory (CompareEngine.cpp), and a pair too big for memory
// compared a part at a time from disk (DiskComparison.cpp). Nothing outside
// the engine includes this.

#include "compare/CompareEngine.h"
#include "compare/CompareOptions.h"
#include "compare/LineTable.h"
#include "compare/NearMisses.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CompareProgress;

// One file of a compared pair.
struct Side
{
    QString path;
    LineTable lines;
    // With keys that differ from the lines: line i's key (KeyTableOf).
    LineTable keys;
    bool keyed = false;
    // The lines on which the key pattern gave up (KeyForm::UserKeys::GaveUp).
    qsizetype patternGaveUp = 0;
    std::vector<bool> inOther;
    // With a key, of file 1: the line's key is in file 2, but no line there
    // with that key is the same record. Empty when none is.
    std::vector<bool> changed;
    // With a header: the first line, left out of lines, which then start at
    // line `offset` of the file.
    QString header;
    qsizetype offset = 0;
    // With eachOnce or countDistinct: an earlier line compares equal.
    std::vector<bool> repeat;
    // With skipEmpty: the line's key is empty.
    std::vector<bool> skipped;
    // Lines in no list (skipped, or with eachOnce repeats); empty when none is.
    std::vector<bool> hidden;
    // When only some of the file's lines are held (those only in file 2 of a
    // streamed comparison, a part of a file compared from disk): line i is
    // line numbers[i] of the file.
    std::vector<qint32> numbers;

    // The place in its file of line i of lines.
    qsizetype numberOf(qsizetype i) const
    {
        return numbers.empty() ? i + offset : numbers[size_t(i)];
    }
    // Which of lines holds line `line` of the file, or -1.
    qsizetype indexOf(qsizetype line) const
    {
        if (numbers.empty())
            return line >= offset && line - offset < lines.size() ? line - offset : -1;
        const auto at = std::lower_bound(numbers.begin(), numbers.end(), line);
        return at != numbers.end() && *at == line ? qsizetype(at - numbers.begin()) : -1;
    }

    // The table the lines are compared by.
    const LineTable& keyTable() const { return keyed ? keys : lines; }

    void makeKeys(const CompareOptions& options, const CompareProgress* progress, bool inHalves);

    bool listed(size_t i) const { return hidden.empty() || !hidden[i]; }
    bool isChanged(size_t i) const { return !changed.empty() && changed[i]; }

    // Marks the lines in no list, once the lines are matched.
    void settle(const CompareOptions& options);

    // Reads and splits the file; keys are made afterwards (makeKeys), once
    // the fields named in file 1's header are known.
    void load(const QString& from, const CompareOptions& options, const CompareProgress* progress);
};

struct Spill;

struct Comparison
{
    CompareOptions options;
    Side a, b;
    // When file 2 was streamed: the number of lines it had only in it, and
    // of its lines compared (not skipped as empty).
    // The lines of both files on which the key pattern gave up.
    qsizetype patternGaveUp = 0;
    qsizetype streamedOnlyIn2 = -1;
    qsizetype streamedLines2 = -1;
    // When file 2 was read whole for its repeats, then dropped: its distinct counts.
    std::optional<DistinctCounts> distinct;
    // With a key: each changed line of file 1 with its partner in file 2,
    // by index in their sides, in file order.
    std::vector<std::pair<qint32, qint32>> partners;
    // Compared from disk: the lists are there, not in a and b.
    std::shared_ptr<const Spill> spill;
    // Known without the lines (compared from disk): the lines of each file
    // compared, and with a key the keys each holds more than once.
    std::optional<std::array<qsizetype, 2>> comparedLines, duplicateKeys;
};

namespace Engine {

// Matches the lines of two sides read (and named fields resolved):
// makes their keys, finds which lines the other side holds, repeats,
// skipped lines and, with a key, changed lines and their partners.
// With reportSteps false, only the work done is reported, not the step.
void MatchSides(Comparison& comparison, CompareProgress* progress, bool keysInHalves = false,
                bool reportSteps = true);

// Line i of keys in one form for every spelling the match takes as the same
// key, into out (see CompareEngine.cpp).
void KeyForm(const LineTable& keys, qsizetype i, const CompareOptions& options, QByteArray& out);

// The distinct keys of two matched sides with repeats found.
DistinctCounts CountDistinctOf(const Side& a, const Side& b);

// Whether line i of its side is in list kind.
bool InList(const Comparison& comparison, ResultKind kind, qsizetype i);

// The side a list's lines come from.
const Side& SideOf(const Comparison& comparison, ResultKind kind);

} // namespace Engine

// A comparison made from disk reads its lists from there (DiskComparison.cpp).
namespace Disk {

// Passes each row of a list in file order: its number, its encoded bytes,
// and for a changed line its partner's number (else -1).
void ForEachRow(
    const Comparison& comparison, ResultKind kind,
    const std::function<void(qsizetype line, QByteArrayView bytes, qsizetype partner)>& row);
void WriteList(const Comparison& comparison, ResultKind kind,
               const std::function<void(QByteArrayView)>& write, LineEnd end);
qsizetype ListSize(const Comparison& comparison, ResultKind kind);
void ForEachChange(
    const Comparison& comparison,
    const std::function<void(qsizetype line1, QByteArrayView bytes1, qsizetype line2,
                             QByteArrayView bytes2, const Records::Change& change)>& row);

void ForEachNearMiss(const Comparison& comparison,
                     const std::function<void(const NearMisses::Pair&)>& row);

} // namespace Disk
