#pragma once

#include "compare/CompareOptions.h"
#include "compare/LineTable.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <vector>

class CompareProgress;

// Lines compared on a key are records: a line whose key the other file
// holds is unchanged there when a line with that key also has the same
// compared text, and changed otherwise.
namespace Records {

// The compared text of each line numbered in which (lines of lines, whose
// keys are keys), in that order, as a table over lines' bytes: with a key
// field, the line's fields but the ignored ones, each brought to the form
// its key would take (look-alike spelling, without blanks at its ends),
// joined (KeyForm::JoinedFields), so that it holds the key too; with a key
// pattern, the key and the line joined. Lines that are their own join are
// parts of lines' bytes, not copies. Match Case applies when the texts are
// matched (LineMatch).
LineTable ComparedTable(const LineTable& lines, const LineTable& keys,
                        const std::vector<qint32>& which, const CompareOptions& options,
                        const CompareProgress* progress = nullptr);

// How a changed record differs from its partner. With a key field: the
// fields (counted from 1) whose compared forms differ, a field that one of
// the lines lacks among them, the ignored ones never. With a key pattern:
// the stretch of each line between the start and the end the two share.
struct Change
{
    QList<int> fields;
    qsizetype first1 = 0, length1 = 0;
    qsizetype first2 = 0, length2 = 0;
};
Change Between(const QString& line1, const QString& line2, const CompareOptions& options);

// The same from two lines' encoded bytes, without decoding them, when it
// can: a key field split at an ASCII delimiter, no double quote in either
// line, neither look-alike spelling nor Ignore Blanks, and case told apart
// or ASCII where fields differ. False where it cannot; change is then
// unspecified.
bool BetweenBytes(QByteArrayView line1, QByteArrayView line2, const CompareOptions& options,
                  Change& change);

// Field f (from 1) of fields, or an empty text past their end.
inline QString FieldText(const QStringList& fields, int f)
{
    return f >= 1 && f <= fields.size() ? fields[f - 1] : QString();
}

} // namespace Records
