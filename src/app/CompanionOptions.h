#pragma once

#include "compare/CompareEngine.h"
#include "compare/CompareOptions.h"
#include "platform/ListTextWriter.h"

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

// The lists the companion writes, in the order of their options.
inline constexpr std::array<ResultKind, 3> kCompanionLists{ResultKind::InBoth, ResultKind::OnlyIn1,
                                                           ResultKind::OnlyIn2};

// What the companion can write, each to a PATH of its own: the three lists
// (indices into kCompanionLists), then the three lists in one CSV file, then
// the pairs of near misses.
enum CompanionOutput : size_t
{
    kCsvOutput = 3,
    kNearMissesOutput = 4,
    kOutputCount = 5
};

// The option of output (a CompanionOutput, or an index into kCompanionLists),
// without its dashes: "both", "only-in-1", "only-in-2", "csv" or "near-misses".
QString ListOptionName(size_t output);

// What a run of the companion is asked to do.
struct CompanionOptions
{
    // FILE1 and FILE2 as given; "-" is standard input.
    std::array<QString, 2> files;
    // Where each output goes, the lists first in the order of kCompanionLists:
    // empty when it is not asked for, "-" for standard output however it was
    // named.
    std::array<QString, kOutputCount> targets;
    // Each output's path as given, for messages.
    std::array<QString, kOutputCount> spelled;
    CompareOptions compare;
    // What ends each line of a list.
    LineEnd lineEnd = LineEnd::CrLf;
    // The counts as one JSON object, instead of the captioned lines.
    bool summary = false;
    // The exit status says whether the files differ, as diff's does.
    bool exitStatus = false;

    // The path file (0 or 1) is read from: standard input for "-", any other
    // name as it stands.
    QString InputPath(size_t file) const;
    bool ToStandardOutput(size_t output) const;
    bool AnyToStandardOutput() const;
    // Whether any list is asked for.
    bool AnyList() const;
    // Whether anything is to be written (a list, the CSV file, the near
    // misses); without, the counts are printed.
    bool AnyOutput() const;
    // Whether the lines only in file 2 are needed once file 2 is compared
    // (its list to standard output after the others, the CSV file, the near
    // misses): file 2 is read a piece at a time all the same, and those
    // lines kept. The summary counts file 2's distinct keys as it is read.
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
