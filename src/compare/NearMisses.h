#pragma once

#include "compare/CompareEngine.h"
#include "compare/KeyTable.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class CompareProgress;

// Lines that are only in one file, yet look like a line only in the other:
// their keys are equal under stronger rules (letter case ignored, blanks and
// tabs at the ends left out, look-alike spelling made one, control and
// format characters left out, each run of blanks, tabs and Unicode spaces
// inside a line one blank) than the comparison used.
namespace NearMisses {

// What differs between two look-alike lines; several may be set.
enum Difference : unsigned
{
    LetterCase = 1u << 0,
    BlanksAtEnds = 1u << 1,    // blanks or tabs at a line's start or end
    UnicodeSpelling = 1u << 2, // composed against decomposed (NFC/NFD)
    UnicodeSpaces = 1u << 3,   // a no-break or other Unicode space against a plain one
    ZeroWidth = 1u << 4,       // zero-width characters
    Windows1252 = 1u << 5,     // a Windows-1252 byte against its UTF-8 character
    Controls = 1u << 6,        // control or format characters no option leaves out
    InnerBlanks = 1u << 7,     // blanks and tabs inside the line: a tab for a blank, or more
};

// The most look-alikes of one line that are listed, by the companion and in
// the window: a person reads a few, and a file of many equal lines (2,000
// of "Hello" against 2,000 of "hELLO") would otherwise give millions of
// pairs. Those past it are counted.
inline constexpr qsizetype kMostAlike = 10;

// A line of file 1 and a line of file 2 that look alike; lines counted from
// 0. After a line's kMostAlike pairs, one more tells how many look-alikes
// were left out: line2 is -1 and more counts them.
struct Pair
{
    qsizetype line1 = 0;
    qsizetype line2 = 0;
    unsigned why = 0; // Difference bits
    qsizetype more = 0;
};

// What why says, in a few words ("letter case", or several joined by ", "):
// in English, as the companion writes it to its files, and in the user's
// language, as the window shows it.
QString Describe(unsigned why);
QString DescribeInWords(unsigned why);

// How line1 of file 1 and line2 of file 2, look-alikes in a comparison
// with options, differ, and which of the window's options, turned on its
// own with the others as they are, makes them match, in a sentence:
// "Differs only in case: turn off Match Case."; options needed together
// are named together, and a difference that none covers is said so. Each
// option is tried as the comparison would take it (Engine::KeyForm).
QString Reason(const CompareOptions& options, const QString& line1, const QString& line2);

// The strong key of a line (its encoded bytes, or its text when it is held
// as text) as UTF-8, into key: two lines are look-alikes only when these
// are equal. userKeys are the comparison's (KeyForm::UserKeys).
void StrongKey(const KeyForm::UserKeys& userKeys, QByteArrayView bytes, const QString* text,
               QByteArray& key);

// Passes each pair to row, in the order of file 1's lines, a line's several
// look-alikes in the order of file 2, at most kMostAlike of them and then
// the count of the rest. Only the lines the two "only in" lists hold are
// looked at. Needs a comparison whose file 2 was not streamed.
void ForEach(const Comparison& comparison, const std::function<void(const Pair&)>& row);

// The pairs ForEach gives, found once and kept by line, so that a line's
// look-alikes are at hand at once: lines with the same strong key form a
// group, held as 32-bit line numbers (a line of many look-alikes costs no
// more than its own place in its group). Keeps the comparison alive, to read
// its lines again.
class Index
{
public:
    // Keys the lines of both "only in" lists once, the two files side by
    // side. Needs a comparison whose file 2 was not streamed. Throws
    // CompareCancelled soon after progress, when given, is cancelled.
    explicit Index(std::shared_ptr<const Comparison> comparison,
                   CompareProgress* progress = nullptr);

    struct Alike
    {
        qsizetype line = 0; // in the other file, from 0
        unsigned why = 0;   // Difference bits
    };
    struct Found
    {
        std::vector<Alike> alike; // in the other file's order
        qsizetype more = 0;       // those past the most asked for
    };
    // The lines of the other file that look like line `line` (from 0) of
    // file (1 or 2), at most `most` of them; none for a line in neither
    // "only in" list.
    Found Of(int file, qsizetype line, qsizetype most) const;

    // Passes each pair to row, in the order of file 1's lines, a line's
    // look-alikes in the order of file 2 (as ForEach does, kMostAlike a line).
    void ForEachPair(const std::function<void(const Pair&)>& row) const;

    // The comparison the lines are read from.
    const Comparison& Compared() const { return *m_comparison; }

private:
    struct Member
    {
        quint32 line;
        quint32 group;
    };
    std::shared_ptr<const Comparison> m_comparison;
    // Per file: the lines that have look-alikes, by line.
    std::vector<Member> m_byLine[2];
    // Per file: group g's lines are m_members[m_start[g]] up to m_start[g + 1].
    std::vector<quint32> m_start[2], m_members[2];
};

} // namespace NearMisses
