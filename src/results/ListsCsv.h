#pragma once

#include "compare/CompareEngine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

struct ListKind;
class ResultList;
struct SaveControl;

// The lists as one CSV file (RFC 4180), as the companion's --csv writes them
// from a comparison and the window's "Save All Lists As CSV..." from the lists
// it shows: a header row, then one row a line, list by list in the order of
// kListKinds, list,line,text, each row ended by CR LF whatever ends the lists'
// lines. The text is the line's bytes as its file holds them; a field holding
// a comma, a quote, a CR or an LF is quoted, its quotes doubled. With a key,
// whose changed lines make a list of their own, a fourth column, partner,
// holds a changed line's partner's line number in file 2 (empty on the other
// rows). Line numbers count from 1.
namespace ListsCsv {

// Appends text to row as a CSV field.
void AppendField(QByteArray& row, QByteArrayView text);

// Writes the lists comparison has, a piece at a time.
void Write(const Comparison& comparison, const ListWriter& write);

// A list as the window holds it now: its kind and items (each with its line
// number, ResultList::LineNumber; an item without one has an empty line).
struct ShownList
{
    const ListKind* kind;
    const ResultList* items;
};

// Writes lists to path as SaveListInPieces writes one (SaveControl: done
// counts rows, Cancel leaves an existing file as it was). The partners of a
// list of changed lines come from changes, the comparison they were found
// in. Throws RuntimeError when the file cannot be written.
bool Save(const QString& path, const std::vector<ShownList>& lists,
          std::shared_ptr<const Comparison> changes, SaveControl& control);

} // namespace ListsCsv
