#pragma once

#include "CompareOptions.h"
#include "LineTable.h"

#include <vector>

class CompareProgress;

// Which lines of file A occur in file B and which lines of B occur in A.
// Without matchCase two lines are equal when their characters, lower-cased
// one by one, are equal. Every line is hashed once, into tables shared by
// both files (half of the keys in each, filled on two cores), so the work
// grows with the sum of the line counts. With
// ignoreBlanks the blanks and tabs at a line's ends are not compared.
struct LineMatch
{
    std::vector<bool> aInB, bInA;
    // With eachOnce: whether an earlier line of the same file compares equal.
    std::vector<bool> aRepeat, bRepeat;

    // Throws CompareCancelled soon after progress is cancelled; reports the
    // lines done into it meanwhile.
    static LineMatch Of(const LineTable& a, const LineTable& b, const CompareOptions& options,
                        CompareProgress* progress = nullptr);
};
