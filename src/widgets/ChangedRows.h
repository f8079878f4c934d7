#pragma once

#include "compare/CompareOptions.h"

#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

struct Comparison;

// A line of the list of changed lines, as the list shows it: the line of
// file 1, beside it its partner in file 2, and the parts of each that
// differ: the changed fields, or with a key pattern the stretches between
// what the two lines share at their start and end.
struct ChangedRow
{
    using Span = std::pair<qsizetype, qsizetype>; // first, length, in UTF-16 units
    QString line, partner;
    std::vector<Span> changed1, changed2;
    // What changed in words: "email: a@x.org → a@y.org; field 4: 3 → 5".
    QString words;
};

// Line `line` (counted from 0) of file 1 of comparison with its partner, or
// nothing (an empty partner and no words) when it is not a changed line.
ChangedRow ChangedRowOf(const Comparison& comparison, qsizetype line);

// Where each field of line lies in it, as the comparison splits lines into
// fields (KeyForm::Fields): a quoted field with its quotes.
std::vector<ChangedRow::Span> FieldSpans(QStringView line, const CompareOptions& options);

// What a changed line's words call field f (from 1): its name in the header
// line of file 1 when the first line names the fields, else "field 3".
QString FieldCaption(int f, const QStringList& header);
