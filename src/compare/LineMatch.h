#pragma once

#include "LineTable.h"

#include <vector>

// Which lines of file A occur in file B and which lines of B occur in A.
// Without matchCase two lines are equal when their characters, lower-cased
// one by one, are equal. Every line is hashed once, into one table shared by
// both files, so the work grows with the sum of the line counts.
struct LineMatch
{
    std::vector<bool> aInB, bInA;

    static LineMatch Of(const LineTable& a, const LineTable& b, bool matchCase);
};
