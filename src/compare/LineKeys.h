#pragma once

#include "compare/Arena.h"
#include "compare/LineHash.h"
#include "compare/LineTable.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

// What each line is compared by: its key, made once per line and looked at
// by both tables.
namespace Engine {

class WorkPacer;

// What a line is compared by: bytes, or (len == kTextKey) the text with
// index hash in Keys::texts when it has no exact encoding.
struct Key
{
    const char* ptr;
    quint64 len;
    quint64 hash;
    // 1 when compared by its form lower-cased beyond ASCII. A whole word: a
    // one-byte flag was stored and then read back with its neighbours in one
    // wider load, a stall on every line looked up.
    quint64 lowered = 0;
};
// The len of a key held as text.
constexpr quint64 kTextKey = ~quint64(0);

// The keys of one file's lines: each line's hash, and the few keys that are
// not the line's own bytes (lower-cased beyond ASCII, or held as text), by line.
struct Keys
{
    std::vector<quint32> hash;  // 0 for a key held as text
    std::vector<quint8> sketch; // how many distinct keys there are, roughly (HyperLogLog)
    std::vector<bool> lowered;  // lines whose characters beyond ASCII change when lower-cased
    std::vector<std::pair<quint32, Key>> made;
    std::vector<QString> texts;
    Arena arena;
};

// Whether c is a blank or a tab.
inline bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Whether c is a blank or a tab.
inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The part of a line that is compared: all of it, or without the blanks and
// tabs at its ends.
template <typename View> View comparedPart(View line, bool trim)
{
    if (!trim)
        return line;
    qsizetype begin = 0, end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin);
}

// The 32 bits of a line's hash that are kept: the lowest picks the table,
// the top ones the slot, the next lowest ones are the slot's tag.
inline quint32 shortHash(std::uint64_t hash)
{
    return quint32(hash >> 32);
}

// Keys every line of table with hasher; with inHalves, a big table's second
// half on the other core. Ignoring case, a line is hashed as the comparison
// sees it: lowered, its ASCII letters by the hash, the rest beforehand.
void computeKeys(const LineTable& table, bool matchCase, bool trim, const LineHash::Hasher& hasher,
                 WorkPacer& pacer, Keys& out, bool inHalves = false);

// The key of line i, whose key is its own bytes (not one in keys.made).
Q_ALWAYS_INLINE Key ownKey(const LineTable& table, const Keys& keys, size_t i, bool trim)
{
    const QByteArrayView bytes = comparedPart(table.bytes(qsizetype(i)), trim);
    return {bytes.data(), quint64(bytes.size()), keys.hash[i],
            quint64(!keys.lowered.empty() && keys.lowered[i])};
}

} // namespace Engine
