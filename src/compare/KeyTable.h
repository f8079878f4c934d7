#pragma once

#include "compare/CompareOptions.h"
#include "compare/LineTable.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

class CompareProgress;

// What a line is compared by when its key is not the whole line: a field or
// a pattern's part of it, brought to one spelling of look-alike characters.
// Ignore Blanks and Match Case apply to the key afterwards, in LineMatch.
namespace KeyForm {

// The part of a line the key field or the key pattern takes (the part of
// the line where the pattern matched Matchable(line)), or the whole line;
// the pattern is compiled once. One per thread.
class UserKeys
{
public:
    explicit UserKeys(const CompareOptions& options);
    QString Of(const QString& line) const;
    // Whether Of gives every line whole (no key field, no key pattern).
    bool WholeLines() const;
    // With a key pattern: where in matchable (Matchable of a line) the key
    // lies, as [first, first + length).
    struct Span
    {
        qsizetype first = 0;
        qsizetype length = 0;
    };
    Span PatternSpan(QStringView matchable) const;
    // The lines on which the pattern gave up (the regular expression
    // engine's match limit, as nested repeats reach on a long line): those
    // are compared whole, as a line the pattern does not match.
    qsizetype GaveUp() const { return m_gaveUp; }

private:
    CompareOptions m_options;
    QRegularExpression m_pattern;
    mutable qsizetype m_gaveUp = 0;
    bool m_blankRuns = false, m_quotes = false;
};

// The fields of line, each as a key field takes it (a quoted field without
// its quotes); with BlankRuns() the runs of other characters. A delimiter
// that is not one character leaves the line one field.
QStringList Fields(const QString& line, const CompareOptions& options);

// Fields joined in one text that two lists of fields share only when they
// are the same fields, also once lower-cased: at the delimiter when it is an
// ASCII character other than a letter or BlankRuns() (quoted as CSV files
// quote when it is "," or ";"), else at commas, quoted. A line of fields split at "," and
// holding no double quote is its own join.
QString JoinedFields(const QStringList& fields, const CompareOptions& options);

// The text a key pattern is matched against, of the line's length: each
// byte of no valid UTF-8 as its Windows-1252 character, as the line is shown,
// and any other lone surrogate U+FFFD. A pattern cannot match text of no
// valid UTF-16 at all.
QString Matchable(const QString& line);

// The steps that make look-alike text one: bytes of no valid UTF-8 as their
// Windows-1252 characters (AnsiCodec::ShownText), zero-width characters left
// out, every Unicode space a plain space, then Unicode NFC.
QString WithoutZeroWidth(const QString& text);
// Whether WithoutZeroWidth leaves c out.
bool IsZeroWidth(QChar c);
QString PlainSpaces(const QString& text);
// Composed and LookAlike take time linear in the text, however its
// combining marks run; a long text looks at progress's Cancel as it goes.
QString Composed(const QString& text, const CompareProgress* progress = nullptr);
QString LookAlike(const QString& text, const CompareProgress* progress = nullptr);
// Puts each run of combining marks of text in canonical order (by combining
// class, equal classes as they stand); returns the marks of the runs that
// had to move, none for a text already in order.
qsizetype OrderMarks(QString& text);

} // namespace KeyForm

// A table whose line i is the key of line i of lines: a part of the same
// bytes where the key is a plain part of the line (no copy), else bytes or
// text of its own. With inHalves, a big table's second half is made on the
// other core. Throws CompareCancelled soon after progress is cancelled.
// With gaveUp, adds to it the lines on which the key pattern gave up.
LineTable KeyTableOf(const LineTable& lines, const CompareOptions& options,
                     const CompareProgress* progress = nullptr, bool inHalves = false,
                     qsizetype* gaveUp = nullptr);
