#pragma once

#include "compare/CompareOptions.h"
#include "compare/LineSink.h"
#include "compare/Records.h"
#include "platform/ListTextWriter.h"
#include "platform/RuntimeError.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

class CompareProgress;

// Lists into target every line of file A that also occurs in file B, in A's
// order, duplicates kept. matchCase non-zero compares exactly; zero compares
// the lines lower-cased character by character, and lists A's lines as they
// stand. Both files are read and split before target is emptied, so a file
// that cannot be read leaves target as it was.
void ListLinesInBoth(QString pathA, QString pathB, qint16 matchCase, LineSink& target);

// Lists into target every line of file A that does not occur in file B.
void ListLinesNotIn(QString pathA, QString pathB, qint16 matchCase, LineSink& target);

// Two files read, split and matched once; the three lists of one comparison
// all come from it, so they always agree with each other.
struct Comparison;

// The lists of a comparison.
enum class ResultKind
{
    InBoth = 1,  // lines of file 1 that file 2 also holds (with a key: unchanged)
    OnlyIn1 = 2, // lines of file 1 not in file 2
    OnlyIn2 = 3, // lines of file 2 not in file 1
    Changed = 4  // with a key: lines of file 1 whose key file 2 holds, changed there
};

// A field named by options that file 1's first line does not name.
class UnknownFieldName : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// Reads both files (each once) and matches their lines. Throws RuntimeError
// when a file cannot be read, and CompareCancelled when progress is cancelled.
// A missing file has no lines, as with the calls above.
std::shared_ptr<const Comparison> CompareFiles(const QString& path1, const QString& path2,
                                               const CompareOptions& options,
                                               CompareProgress* progress = nullptr);

// Empties target and appends the lines of one list, in file order.
void FillList(const Comparison& comparison, ResultKind kind, LineSink& target);

// Passes the text a saved list holds (each line of one list encoded as a list
// file writes it, followed by CR LF or the line end asked for) to write, about
// a megabyte at a time, straight from the files' lines.
void WriteListText(const Comparison& comparison, ResultKind kind,
                   const std::function<void(QByteArrayView)>& write, LineEnd end = LineEnd::CrLf);

// Passes each line of one list to row, in file order, with its place in its
// file (counted from 0) and its encoded form (AnsiCodec).
void ForEachListLine(const Comparison& comparison, ResultKind kind,
                     const std::function<void(qsizetype line, QByteArrayView bytes)>& row);

// As ForEachListLine, with for each line of the changed list its partner's
// place in file 2 (-1 on the other lists, and for a line without one).
void ForEachListRow(
    const Comparison& comparison, ResultKind kind,
    const std::function<void(qsizetype line, QByteArrayView bytes, qsizetype partner)>& row);

// Where a list's text goes, a piece at a time.
using ListWriter = std::function<void(QByteArrayView)>;

// Compares as CompareFiles does, but reads file 2 a piece of about pieceBytes
// at a time and never holds it whole. Once both files are open (file 1 read,
// file 2 not yet), opened is called; it returns where the lines of file 2
// that file 1 lacks go, or an empty writer. They are passed on as
// WriteListText would pass them, in file order, as soon as their piece is
// done. The comparison returned makes the first two lists and counts the
// third. Unless keepOnlyIn2, it holds no lines of file 2, so FillList and
// WriteListText give the third list empty; with keepOnlyIn2 it holds a copy
// of the third list's lines (and nothing else of file 2), for the calls
// below and near misses. With countDistinct, file 2's distinct keys are
// counted among those lines. Should file 2 fail part-way, the writer may
// already have been given part of the list. File 1 is mapped
// (LineTable::FromMappedFile): check File1Unchanged before trusting a list.
// Throws CompareCancelled soon after progress, when given, is cancelled. The
// lines written end with end.
std::shared_ptr<const Comparison>
CompareStreamingFile2(const QString& path1, const QString& path2, const CompareOptions& options,
                      const std::function<ListWriter()>& opened,
                      qint64 pieceBytes = qint64(2) << 20, CompareProgress* progress = nullptr,
                      LineEnd end = LineEnd::CrLf, bool keepOnlyIn2 = false);

// False once file 1, mapped by CompareStreamingFile2, changed under the
// comparison, which may then hold lines of either state of it.
bool File1Unchanged(const Comparison& comparison);

// The number of lines a list of the comparison holds.
qsizetype ListSize(const Comparison& comparison, ResultKind kind);

// Line `line` (from 0) of file 1 or 2 as text; empty past the file's end
// and for a line of a streamed file 2 that is not kept.
QString LineText(const Comparison& comparison, int file, qsizetype line);

// The options a comparison was made with.
const CompareOptions& OptionsOf(const Comparison& comparison);

// The lines of both files on which the key pattern gave up (its regular
// expression hit the engine's match limit): they were compared whole.
qsizetype PatternGaveUp(const Comparison& comparison);

// The lines of file (1 or 2) that were compared: all of them, but for those
// skipped as empty (CompareOptions::skipEmpty).
qsizetype ComparedLines(const Comparison& comparison, int file);

// How many distinct keys each file holds, and how many of them both hold.
struct DistinctCounts
{
    qsizetype file1 = 0;
    qsizetype file2 = 0;
    qsizetype both = 0;
    // Of those in both, with a key: how many are changed (their first line in file 1 is).
    qsizetype changed = 0;
    // both / (file1 + file2 - both): 1 for files with the same keys, 0 for
    // files with none in common, and 0 when both are empty.
    double Jaccard() const;
};

// Needs a comparison made with countDistinct, or with eachOnce and file 2
// not streamed. Lines skipped as empty are not counted.
DistinctCounts CountDistinct(const Comparison& comparison);

// With a key: the line of file 2 (counted from 0) that changed line `line`
// of file 1 is paired with, or -1 for a line that is not changed.
qsizetype PartnerOf(const Comparison& comparison, qsizetype line);

// How changed line `line` of file 1 differs from its partner; nothing for
// a line that is not changed.
Records::Change ChangeOf(const Comparison& comparison, qsizetype line);

// Passes each changed line of file 1 to row, in file order: its place in
// file 1 and its partner's in file 2 (from 0), their encoded forms
// (AnsiCodec), and how they differ.
void ForEachChange(
    const Comparison& comparison,
    const std::function<void(qsizetype line1, QByteArrayView bytes1, qsizetype line2,
                             QByteArrayView bytes2, const Records::Change& change)>& row);

// With a key: how many keys file (1 or 2) holds on more than one line.
qsizetype DuplicateKeys(const Comparison& comparison, int file);

// With a header: the first line of file (1 or 2), which no list holds.
QString HeaderLine(const Comparison& comparison, int file);
