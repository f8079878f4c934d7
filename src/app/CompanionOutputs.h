#pragma once

#include "compare/CompareEngine.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct CompanionOptions;

// Something the companion writes to a PATH of its own (--both PATH, --csv
// PATH ...): a list, the three lists as CSV, the near misses. Each says what
// it needs from the comparison, so that the run reads file 2 keeping just
// what the outputs asked for will read.
class CompanionOutput
{
public:
    virtual ~CompanionOutput() = default;

    // Its option, without the dashes: "both", "csv" ...
    virtual QString Option() const = 0;
    // What --help says of it.
    virtual QString Description() const = 0;
    // Whether it is the list of the lines only in file 2 as the comparison
    // passes them on while file 2 is read: written to a file, it is written
    // then, and Write is not called.
    virtual bool StreamedWithFile2() const { return false; }
    // Whether Write reads the lines only in file 2, which a comparison holds
    // afterwards only when asked to keep them.
    virtual bool ReadsOnlyIn2() const { return false; }
    // Whether it exists only when lines are compared on a key.
    virtual bool NeedsKey() const { return false; }
    // Passes its text to write, a piece at a time.
    virtual void Write(const Comparison& comparison, const ListWriter& write,
                       const CompanionOptions& options) const = 0;
};

// Everything the companion can write, in the order of their options in
// --help and of their writing to standard output: a list for each row of
// kListKinds, then the CSV file, then the near misses. Adding an output is
// adding it here.
const std::vector<std::unique_ptr<const CompanionOutput>>& CompanionOutputs();

// The names of the fields, from file 1's first line when it names them
// (CompareOptions::header), else none.
QStringList FieldNames(const Comparison& comparison);
// Field f (from 1) by its name in names, or by its number where it has none.
QString FieldName(const QStringList& names, int field);
