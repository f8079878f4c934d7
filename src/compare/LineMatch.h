#pragma once

#include "compare/CompareOptions.h"
#include "compare/LineTable.h"

#include <functional>
#include <memory>
#include <vector>

class CompareProgress;

// What matching two files' lines cost, for the tests that bound it.
struct MatchWork
{
    qint64 lines = 0;   // of both files (of file 2, those looked up)
    quint64 probes = 0; // table slots looked at, over every try
    int tries = 0;      // seeds drawn: more than one after a table was flooded
    bool keyed = false; // the keys were made with the keyed hash at last
};

// Which lines of file A occur in file B and which lines of B occur in A.
// Without matchCase two lines are equal when their characters, lower-cased
// one by one, are equal. Every line is hashed once, into tables shared by
// both files (half of the keys in each, filled on two cores), so the work
// grows with the sum of the line counts. With
// ignoreBlanks the blanks and tabs at a line's ends are not compared.
//
// The hash is seeded afresh for each comparison. Should the keys still
// collide far beyond chance (SharedTable::Flooded), all is done again with a
// new seed, and after a second time with the keyed hash: no list of lines
// makes the work grow faster than their number.
struct LineMatch
{
    std::vector<bool> aInB, bInA;
    // With eachOnce: whether an earlier line of the same file compares equal.
    std::vector<bool> aRepeat, bRepeat;

    // Throws CompareCancelled soon after progress is cancelled; reports the
    // lines done into it meanwhile.
    static LineMatch Of(const LineTable& a, const LineTable& b, const CompareOptions& options,
                        CompareProgress* progress = nullptr);

    // Tests learn what each matching (Of, or a LineIndex once answered) cost.
    static void SetTestHook(std::function<void(const MatchWork&)> hook);
};

// The lines of file A in tables, for the lines of file B to be looked up a
// piece at a time, without B ever being held whole.
class LineIndex
{
public:
    // a must outlive the index. Once progress is cancelled, the index and
    // Find throw CompareCancelled.
    LineIndex(const LineTable& a, const CompareOptions& options,
              CompareProgress* progress = nullptr);
    ~LineIndex();
    LineIndex(const LineIndex&) = delete;
    LineIndex& operator=(const LineIndex&) = delete;

    // For each line of lines (a piece of file B), whether A holds it; A's
    // lines found are marked as being in B. Threads may ask at once.
    std::vector<bool> Find(const LineTable& lines) const;

    // Once every piece of B has been asked: whether each line of A is in B,
    // and with eachOnce whether an earlier line of A compares equal.
    void Answers(std::vector<bool>& aInB, std::vector<bool>& aRepeat) const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};
