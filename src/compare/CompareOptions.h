#pragma once

#include "compare/ReadOptions.h"

// How two files are compared. Every option is off by default, which is the
// comparison of "Start Comparing" with "Match Case" unchecked.
struct CompareOptions
{
    // Letter case counts; otherwise lines compare lower-cased character by character.
    bool matchCase = false;
    // Blanks and tabs at the start and end of a line do not count; the lists
    // still show each line as it stands in its file.
    bool ignoreBlanks = false;
    // Each list holds a line only at its first place; later repeats are left out.
    bool eachOnce = false;
    // How the two files are read.
    ReadOptions read;
};
