#pragma once

#include "compare/CompareEngine.h"
#include "compare/CompareOptions.h"
#include "compare/DiskComparison.h"
#include "platform/ListTextWriter.h"

#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

class CompanionOutput;

// An output asked for, and where it goes.
struct OutputTarget
{
    const CompanionOutput* output = nullptr;
    // Where it goes: "-" for standard output however it was named.
    QString path;
    // Its path as given, for messages.
    QString spelled;

    bool ToStandardOutput() const;
    // Whether the comparison writes it as file 2 is read: the list of the
    // lines only in file 2, to a file. To standard output it is written once
    // the files are.
    bool Streamed() const;
    // Whether writing it reads the lines only in file 2 once file 2 is
    // compared.
    bool NeedsOnlyIn2Afterwards() const;
};

// What a run of the companion is asked to do.
struct CompanionOptions
{
    // FILE1 and FILE2 as given; "-" is standard input.
    std::array<QString, 2> files;
    // The outputs asked for, in the order of CompanionOutputs().
    std::vector<OutputTarget> outputs;
    CompareOptions compare;
    // What ends each line of a list.
    LineEnd lineEnd = LineEnd::CrLf;
    // The counts as one JSON object, instead of the captioned lines.
    bool summary = false;
    // The exit status says whether the files differ, as diff's does.
    bool exitStatus = false;
    // Past it, the files are compared from disk (--memory, --temp-dir).
    MemoryBudget budget;

    // The path file (0 or 1) is read from: standard input for "-", any other
    // name as it stands.
    QString InputPath(size_t file) const;
    bool AnyToStandardOutput() const;
    // Whether anything is to be written (a list, the CSV file, the near
    // misses); without, the counts are printed.
    bool AnyOutput() const;
    // Whether an output needs the lines only in file 2 once file 2 is
    // compared (their list to standard output after the others, the CSV
    // file, the near misses): file 2 is read a piece at a time all the same,
    // and those lines kept. The summary counts file 2's distinct keys as it
    // is read.
    bool KeepsOnlyIn2() const;
};

// The command line read: the options to run with, or the exit status of a
// run that ends here (--help, --version, or a usage error, reported).
struct ParsedCommandLine
{
    CompanionOptions options;
    std::optional<int> exitStatus;
};

// Reads the command line of the running QCoreApplication, whose argc and argv
// these are.
ParsedCommandLine ParseCommandLine(int argc, char* argv[]);
