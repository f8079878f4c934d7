#pragma once

#include "compare/CompareEngine.h"
#include "compare/CompareOptions.h"

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

// The lists the companion writes, in the order of their options.
inline constexpr std::array<ResultKind, 3> kCompanionLists{ResultKind::InBoth, ResultKind::OnlyIn1,
                                                           ResultKind::OnlyIn2};

// The option of list (an index into kCompanionLists), without its dashes:
// "both", "only-in-1" or "only-in-2".
QString ListOptionName(size_t list);

// What a run of the companion is asked to do.
struct CompanionOptions
{
    // FILE1 and FILE2 as given; "-" is standard input.
    std::array<QString, 2> files;
    // Where each list goes, in the order of kCompanionLists: empty when it is
    // not asked for, "-" for standard output however it was named.
    std::array<QString, 3> targets;
    // Each list's path as given, for messages.
    std::array<QString, 3> spelled;
    CompareOptions compare;

    // The path file (0 or 1) is read from: standard input for "-", any other
    // name as it stands.
    QString InputPath(size_t file) const;
    bool ToStandardOutput(size_t list) const;
    bool AnyToStandardOutput() const;
    // Whether any list is asked for; without one, the counts are printed.
    bool AnyList() const;
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
