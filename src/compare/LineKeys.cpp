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

using LineHash::kFoldsLatin1InWords;

// The key of a line held as text, compared as it stands (already lowered
// when case is ignored): its encoded bytes, made in out's arena, or the text
// itself in out.texts when it has no exact encoding.
template <bool Keyed>
Key keyFromText(const QString& compared, bool fold, const LineHash::Hasher& hasher, Keys& out)
{
    if (!AnsiCodec::HasExactEncoding(compared)) {
        out.texts.push_back(compared);
        return {nullptr, kTextKey, quint64(out.texts.size() - 1)};
    }
    const QByteArray bytes = AnsiCodec::Encode(compared);
    char* p = out.arena.alloc(size_t(bytes.size()) + 1); // never null, even when empty
    std::memcpy(p, bytes.constData(), size_t(bytes.size()));
    std::uint64_t high;
    const size_t n = size_t(bytes.size());
    return {
        p, quint64(n),
        shortHash(fold ? hasher.of<Keyed, true>(p, n, high) : hasher.of<Keyed, false>(p, n, high))};
}

// Keys lines [from, to) of table: their hashes and lowered marks go into out,
// sized for the whole table already, the keys made and the sketch into extras.
template <bool Keyed>
void keyRange(const LineTable& table, size_t from, size_t to, bool matchCase, bool trim,
              const LineHash::Hasher& hasher, WorkPacer& pacer, Keys& out, Keys& extras)
{
    WorkPacer::Meter meter(pacer);
    std::string lowered;
    auto make = [&out, &extras](size_t i, const Key& key) {
        extras.made.emplace_back(quint32(i), key);
        out.hash[i] = key.len == kTextKey ? 0 : quint32(key.hash);
    };
    for (size_t i = from; i < to; ++i) {
        if (table.isText(qsizetype(i))) {
            const QString text =
                comparedPart(QStringView(table.text(qsizetype(i))), trim).toString();
            meter.Line(lineWork(quint64(2 * text.size())));
            const Key key = keyFromText<Keyed>(matchCase ? text : lowerEachCharacter(text),
                                               !matchCase, hasher, extras);
            make(i, key);
            if (key.len != kTextKey)
                sketchAdd(extras.sketch, quint32(key.hash));
            continue;
        }
        const QByteArrayView bytes = comparedPart(table.bytes(qsizetype(i)), trim);
        const size_t length = size_t(bytes.size());
        meter.Line(lineWork(length));
        std::uint64_t high = 0;
        quint32 hash;
        if (matchCase) {
            hash = shortHash(hasher.of<Keyed, false>(bytes.data(), length, high));
        } else {
            hash = shortHash(hasher.of<Keyed, true>(bytes.data(), length, high));
            // Beyond ASCII, lower-casing needs the characters, when the hash
            // saw any that may lower, and the lowered form is hashed instead.
            // The hash lowers Latin-1 on its way. Comparisons lower the line
            // again rather than keep a copy.
            size_t loweredLength = 0;
            if (high && kFoldsLatin1InWords && withinLatin1(bytes.data(), length)) {
                out.lowered[i] = mayChangeWhenLowered(bytes.data(), length);
            } else if (high && lowerBeyondAscii(bytes.data(), length, lowered, loweredLength)) {
                meter.Work(lineWork(length));
                hash = shortHash(hasher.of<Keyed, true>(lowered.data(), loweredLength, high));
                out.lowered[i] = true;
            }
        }
        out.hash[i] = hash;
        sketchAdd(extras.sketch, hash);
    }
}

void keyRange(const LineTable& table, size_t from, size_t to, bool matchCase, bool trim,
              const LineHash::Hasher& hasher, WorkPacer& pacer, Keys& out, Keys& extras)
{
    if (hasher.keyed)
        keyRange<true>(table, from, to, matchCase, trim, hasher, pacer, out, extras);
    else
        keyRange<false>(table, from, to, matchCase, trim, hasher, pacer, out, extras);
}

} // namespace

void computeKeys(const LineTable& table, bool matchCase, bool trim, const LineHash::Hasher& hasher,
                 WorkPacer& pacer, Keys& out, bool inHalves)
{
    const size_t n = size_t(table.size());
    out.hash.resize(n);
    if (!matchCase)
        out.lowered.resize(n);
    out.sketch.assign(size_t(1) << kSketchBits, 0);
    if (!inHalves || n < (size_t(1) << 16)) {
        keyRange(table, 0, n, matchCase, trim, hasher, pacer, out, out);
        return;
    }
    // The halves meet at a multiple of 64 lines, so no word of lowered is
    // written by both.
    const size_t middle = n / 2 / 64 * 64;
    Keys second;
    second.sketch.assign(out.sketch.size(), 0);
    RunSideBySide([&] { keyRange(table, 0, middle, matchCase, trim, hasher, pacer, out, out); },
                  [&] { keyRange(table, middle, n, matchCase, trim, hasher, pacer, out, second); });
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
