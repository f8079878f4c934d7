#include "compare/LineKeys.h"

#include "compare/CaseFolding.h"
#include "compare/DistinctEstimate.h"
#include "compare/LineHash.h"
#include "compare/SideBySide.h"
#include "compare/WorkPacer.h"
#include "platform/AnsiCodec.h"

#include <QByteArray>
#include <QStringView>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace Engine {

namespace {

// The key of a line held as text, compared as it stands (already lowered
// when case is ignored): its encoded bytes, made in out's arena, or the text
// itself in out.texts when it has no exact encoding.
Key keyFromText(const QString& compared, bool fold, Keys& out)
{
    if (!AnsiCodec::HasExactEncoding(compared)) {
        out.texts.push_back(compared);
        return {nullptr, kTextKey, quint64(out.texts.size() - 1)};
    }
    const QByteArray bytes = AnsiCodec::Encode(compared);
    char* p = out.arena.alloc(size_t(bytes.size()) + 1); // never null, even when empty
    std::memcpy(p, bytes.constData(), size_t(bytes.size()));
    std::uint64_t high;
    return {p, quint64(bytes.size()),
            shortHash(fold ? LineHash::hash<true>(p, size_t(bytes.size()), high)
                           : LineHash::hash<false>(p, size_t(bytes.size()), high))};
}

// Keys lines [from, to) of table: their hashes and lowered marks go into out,
// sized for the whole table already, the keys made and the sketch into extras.
void keyRange(const LineTable& table, size_t from, size_t to, bool matchCase, bool trim,
              WorkPacer& pacer, Keys& out, Keys& extras)
{
    std::string lowered;
    auto make = [&out, &extras](size_t i, const Key& key) {
        extras.made.emplace_back(quint32(i), key);
        out.hash[i] = key.len == kTextKey ? 0 : quint32(key.hash);
    };
    for (size_t i = from; i < to; ++i) {
        pacer.Line(i);
        if (table.isText(qsizetype(i))) {
            const QString text =
                comparedPart(QStringView(table.text(qsizetype(i))), trim).toString();
            const Key key =
                keyFromText(matchCase ? text : lowerEachCharacter(text), !matchCase, extras);
            make(i, key);
            if (key.len != kTextKey)
                sketchAdd(extras.sketch, quint32(key.hash));
            continue;
        }
        const QByteArrayView bytes = comparedPart(table.bytes(qsizetype(i)), trim);
        const size_t length = size_t(bytes.size());
        std::uint64_t high = 0;
        quint32 hash;
        if (matchCase) {
            hash = shortHash(LineHash::hash<false>(bytes.data(), length, high));
        } else {
            hash = shortHash(LineHash::hash<true>(bytes.data(), length, high));
            // Beyond ASCII, lower-casing needs the characters, when the hash saw
            // any that may lower. The lowered form is only hashed here;
            // comparisons lower it again rather than keep a copy.
            // A line within Latin-1 lowers to bytes that hash as its own do.
            size_t loweredLength = 0;
            if (high && withinLatin1(bytes.data(), length)) {
                out.lowered[i] = mayChangeWhenLowered(bytes.data(), length);
            } else if (high && lowerBeyondAscii(bytes.data(), length, lowered, loweredLength)) {
                hash = shortHash(LineHash::hash<true>(lowered.data(), loweredLength, high));
                out.lowered[i] = true;
            }
        }
        out.hash[i] = hash;
        sketchAdd(extras.sketch, hash);
    }
}

} // namespace

void computeKeys(const LineTable& table, bool matchCase, bool trim, WorkPacer& pacer, Keys& out,
                 bool inHalves)
{
    const size_t n = size_t(table.size());
    out.hash.resize(n);
    if (!matchCase)
        out.lowered.resize(n);
    out.sketch.assign(size_t(1) << kSketchBits, 0);
    if (!inHalves || n < (size_t(1) << 16)) {
        keyRange(table, 0, n, matchCase, trim, pacer, out, out);
        return;
    }
    // The halves meet at a multiple of 64 lines, so no word of lowered is
    // written by both.
    const size_t middle = n / 2 / 64 * 64;
    Keys second;
    second.sketch.assign(out.sketch.size(), 0);
    RunSideBySide([&] { keyRange(table, 0, middle, matchCase, trim, pacer, out, out); },
                  [&] { keyRange(table, middle, n, matchCase, trim, pacer, out, second); });
    for (size_t j = 0; j < out.sketch.size(); ++j)
        out.sketch[j] = std::max(out.sketch[j], second.sketch[j]);
    const quint64 textBase = quint64(out.texts.size());
    for (auto& [line, key] : second.made) {
        if (key.len == kTextKey)
            key.hash += textBase;
        out.made.emplace_back(line, key);
    }
    std::move(second.texts.begin(), second.texts.end(), std::back_inserter(out.texts));
    out.arena.adopt(std::move(second.arena));
}

} // namespace Engine
