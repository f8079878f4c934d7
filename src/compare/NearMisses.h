#pragma once

#include "compare/CompareEngine.h"

#include <QString>
#include <functional>

// Lines that are only in one file, yet look like a line only in the other:
// their keys are equal under stronger rules (letter case ignored, blanks and
// tabs at the ends left out, look-alike spelling made one) than the
// comparison used.
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
};

// A line of file 1 and a line of file 2 that look alike; lines counted from 0.
struct Pair
{
    qsizetype line1 = 0;
    qsizetype line2 = 0;
    unsigned why = 0; // Difference bits
};

// What why says, in a few words ("letter case", or several joined by ", ").
QString Describe(unsigned why);

// Passes each pair to row, in the order of file 1's lines, a line's several
// look-alikes in the order of file 2. Only the lines the two "only in"
// lists hold are looked at. Needs a comparison whose file 2 was not streamed.
void ForEach(const Comparison& comparison, const std::function<void(const Pair&)>& row);

} // namespace NearMisses
