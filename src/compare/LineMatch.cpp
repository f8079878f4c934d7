#include "compare/LineMatch.h"

#include "compare/ByteBuffer.h"
#include "compare/CompareProgress.h"
#include "compare/LineHash.h"
#include "compare/SideBySide.h"
#include "platform/AnsiCodec.h"

#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

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
constexpr quint64 kTextKey = ~quint64(0);

// Bump allocation for the keys that have to be made (lower-cased non-ASCII
// lines); pointers into it stay valid.
class Arena
{
public:
    char* alloc(size_t n)
    {
        if (m_used + n > m_capacity) {
            m_capacity = std::max<size_t>(n, 1 << 20);
            m_chunks.push_back(std::make_unique<char[]>(m_capacity));
            m_used = 0;
        }
        char* p = m_chunks.back().get() + m_used;
        m_used += n;
        return p;
    }

    // Takes over other's memory; the keys in it stay valid.
    void adopt(Arena&& other)
    {
        // The chunk being filled stays the last one.
        for (auto& chunk : other.m_chunks)
            m_chunks.insert(m_chunks.begin(), std::move(chunk));
        other.m_chunks.clear();
    }

private:
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_used = 0, m_capacity = 0;
};

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

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isBlank(char c)
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

// Every so many lines, from any thread: stops the work once it is cancelled
// and tells how many lines are done.
class WorkPacer
{
public:
    WorkPacer(CompareProgress* progress, qint64 total) : m_progress(progress), m_total(total) {}
    // Called for line i of a loop.
    void Line(size_t i)
    {
        if (m_progress && i % kStride == kStride - 1)
            stride();
    }

private:
    static constexpr qint64 kStride = 1 << 16;
    void stride()
    {
        m_progress->ThrowIfCancelled();
        m_progress->ReportDone(m_done.fetch_add(kStride, std::memory_order_relaxed) + kStride,
                               m_total);
    }
    CompareProgress* m_progress;
    const qint64 m_total;
    std::atomic<qint64> m_done{0};
};

QString lowerEachCharacter(QString text)
{
    for (QChar& c : text)
        c = c.toLower();
    return text;
}

// QChar::toLower for every 16-bit character, looked up once.
const char16_t* lowerTable()
{
    static const std::unique_ptr<char16_t[]> table = [] {
        auto t = std::make_unique<char16_t[]>(0x10000);
        for (char32_t u = 0; u < 0x10000; ++u)
            t[u] = QChar(char16_t(u)).toLower().unicode();
        return t;
    }();
    return table.get();
}

// Whether lowering the line may change it: false when its only characters
// beyond ASCII are small letters and signs of Latin-1 (two bytes, C3 9F to
// C3 BF, or C3 97), the most common case by far; true, to be found out,
// for any other. A byte C3 always starts a character where it stands, as it
// never continues one.
bool mayChangeWhenLowered(const char* line, size_t n)
{
    const auto* p = reinterpret_cast<const unsigned char*>(line);
    const auto* end = p + n;
#ifdef __SSE2__
    {
        // Sixteen bytes at a time first: with no byte 80 to 9F (which a
        // Latin-1 capital continues with) and none of C4 and above (which
        // start the characters beyond Latin-1), nothing can change; C0 to
        // C2 start no letter that lowers.
        const __m128i top3 = _mm_set1_epi8(char(0xE0)), continuesLow = _mm_set1_epi8(char(0x80)),
                      beyondLatin1 = _mm_set1_epi8(char(0xC4));
        auto marked = [&](__m128i v) {
            const __m128i low = _mm_cmpeq_epi8(_mm_and_si128(v, top3), continuesLow);
            const __m128i beyond = _mm_cmpeq_epi8(_mm_max_epu8(v, beyondLatin1), v);
            return _mm_movemask_epi8(_mm_or_si128(low, beyond)) != 0;
        };
        // A line shorter than that is looked at byte by byte below.
        if (n >= 16) {
            bool any = false;
            for (size_t i = 0; i + 16 < n && !any; i += 16)
                any = marked(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
            // The last sixteen bytes, some of them maybe looked at already.
            if (!any)
                any = marked(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16)));
            if (!any)
                return false;
        }
    }
#endif
    while (p < end) {
        if (end - p >= 8) {
            // The bytes of C0 and above start characters; eight at a time.
            const std::uint64_t w = qFromLittleEndian<quint64>(p);
            const std::uint64_t starts = w & (w << 1) & 0x8080808080808080ull;
            if (!starts) {
                p += 8;
                continue;
            }
            p += __builtin_ctzll(starts) / 8;
        } else if (*p < 0xC0) {
            ++p;
            continue;
        }
        if (*p != 0xC3)
            return true;
        if (end - p >= 2 && p[1] >= 0x80 && p[1] <= 0x9E && p[1] != 0x97)
            return true; // a capital of Latin-1
        ++p;
    }
    return false;
}

// Whether no byte of the line is C4 or above, so that its characters beyond
// ASCII are at most Latin-1 (or bytes that are no character). Lowering such
// a line only turns a capital's second byte, 80 to 9E, into A0 to BE: the
// 0x20 bit, which the folding hash sets in every byte anyway.
bool withinLatin1(const char* line, size_t n)
{
    const auto* p = reinterpret_cast<const unsigned char*>(line);
    size_t i = 0;
#ifdef __SSE2__
    const __m128i beyondLatin1 = _mm_set1_epi8(char(0xC4));
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, beyondLatin1), v)))
            return false;
    }
#endif
    for (; i < n; ++i)
        if (p[i] >= 0xC4)
            return false;
    return true;
}

// Lower-cases the characters beyond ASCII of an exactly encoded line, byte by
// byte, as lowerEachCharacter would do to its text; ASCII letters are left to
// the folding hash and comparison. Escapes and four-byte characters (each
// half of a surrogate pair lowers to itself) stay. Returns false when nothing
// changes; else buffer holds the new bytes, length of them (buffer only grows,
// so it is reused line after line).
bool lowerBeyondAscii(const char* line, size_t n, std::string& buffer, size_t& length)
{
    if (!mayChangeWhenLowered(line, n))
        return false;
    const char16_t* table = lowerTable();
    const auto* p = reinterpret_cast<const unsigned char*>(line);
    const auto* end = p + n;
    char* dst = nullptr; // set once a character changes
    for (const unsigned char* at = p; at < end;) {
        if (*at < 0x80) {
            // Runs of ASCII, eight bytes at a time; the first byte beyond
            // ASCII in a word is found at once.
            const unsigned char* run = at;
            for (;;) {
                if (end - at < 8) {
                    while (at < end && *at < 0x80)
                        ++at;
                    break;
                }
                // Byte order fixed, so the lowest set bit is the first byte.
                const std::uint64_t high = qFromLittleEndian<quint64>(at) & 0x8080808080808080ull;
                if (high) {
                    at += __builtin_ctzll(high) / 8;
                    break;
                }
                at += 8;
            }
            if (dst) {
                std::memcpy(dst, run, size_t(at - run));
                dst += at - run;
            }
            continue;
        }
        int sequence;
        char16_t c;
        if (at[0] >= 0xC2 && at[0] <= 0xDF && end - at >= 2 && (at[1] & 0xC0) == 0x80) {
            sequence = 2;
            c = char16_t(((at[0] & 0x1F) << 6) | (at[1] & 0x3F));
        } else if ((sequence = AnsiCodec::SequenceLength(at, end)) == 3) {
            c = char16_t(((at[0] & 0x0F) << 12) | ((at[1] & 0x3F) << 6) | (at[2] & 0x3F));
        } else {
            const int copied = sequence == 4 ? 4 : 1;
            if (dst) {
                std::memcpy(dst, at, size_t(copied));
                dst += copied;
            }
            at += copied;
            continue;
        }
        const char16_t lower = table[c];
        if (lower != c && !dst) {
            // A character of two bytes may lower to one of three.
            if (buffer.size() < n * 3 / 2 + 4)
                buffer.resize(n * 3 / 2 + 4);
            dst = buffer.data();
            std::memcpy(dst, line, size_t(at - p));
            dst += at - p;
        }
        if (dst) {
            if (lower < 0x80) {
                *dst++ = char(lower);
            } else if (lower < 0x800) {
                *dst++ = char(0xC0 | (lower >> 6));
                *dst++ = char(0x80 | (lower & 0x3F));
            } else {
                *dst++ = char(0xE0 | (lower >> 12));
                *dst++ = char(0x80 | ((lower >> 6) & 0x3F));
                *dst++ = char(0x80 | (lower & 0x3F));
            }
        }
        at += sequence;
    }
    if (!dst)
        return false;
    length = size_t(dst - buffer.data());
    return true;
}

// The 32 bits of a line's hash that are kept: the lowest picks the table,
// the top ones the slot, the next lowest ones are the slot's tag.
quint32 shortHash(std::uint64_t hash)
{
    return quint32(hash >> 32);
}

constexpr int kSketchBits = 12;

// How many lines ahead a slot, and the line it holds, are fetched.
constexpr size_t kSlotAhead = 32, kHeldAhead = 8;

// Adds a key's hash to a HyperLogLog sketch of 2^kSketchBits registers.
void sketchAdd(std::vector<quint8>& sketch, quint32 hash)
{
    const quint32 rest = (hash << kSketchBits) | (1u << (kSketchBits - 1));
    const quint8 rank = quint8(__builtin_clz(rest) + 1);
    quint8& slot = sketch[hash >> (32 - kSketchBits)];
    slot = std::max(slot, rank);
}

// The number of distinct keys in two sketches together, estimated.
double sketchCount(const std::vector<quint8>& one, const std::vector<quint8>& other)
{
    const double m = double(1 << kSketchBits);
    double sum = 0;
    int zeros = 0;
    for (size_t j = 0; j < one.size(); ++j) {
        const quint8 rank = std::max(one[j], other[j]);
        sum += std::ldexp(1.0, -rank);
        zeros += rank == 0;
    }
    const double estimate = 0.7213 / (1 + 1.079 / m) * m * m / sum;
    if (estimate < 2.5 * m && zeros > 0)
        return m * std::log(m / zeros);
    return estimate;
}

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

// Keys every line of table; with inHalves, a big table's second half on the other core.
void computeKeys(const LineTable& table, bool matchCase, bool trim, WorkPacer& pacer, Keys& out,
                 bool inHalves = false)
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

// The key of line i, whose key is its own bytes (not one in keys.made).
Q_ALWAYS_INLINE Key ownKey(const LineTable& table, const Keys& keys, size_t i, bool trim)
{
    const QByteArrayView bytes = comparedPart(table.bytes(qsizetype(i)), trim);
    return {bytes.data(), quint64(bytes.size()), keys.hash[i],
            quint64(!keys.lowered.empty() && keys.lowered[i])};
}

// Room for lowering two lines while comparing them; one per thread.
struct Scratch
{
    std::string a, b;
};

// Thrown when a table holds more keys than it was made for.
struct TableFull
{
};

// One open-addressing table over the lines of both files. A slot holds the
// key's bytes and, in meta, its length (38 bits), 22 bits of its hash, whether
// it is compared lowered, and a flag per file that holds it.
class SharedTable
{
public:
    static constexpr quint64 kInA = quint64(1) << 62, kInB = quint64(1) << 63;

    // A table for about keys distinct keys, never more than limit, with
    // room slots a key.
    SharedTable(size_t keys, size_t limit, double room, bool fold, bool trim)
        : m_capacity(size_t(double(keys) * room) + 1024), m_fold(fold), m_trim(trim)
    {
        m_limit = std::min(limit, m_capacity - m_capacity / 8);
        m_memory = ByteBuffer(qint64(m_capacity * sizeof(Slot)), true);
        m_slots = reinterpret_cast<Slot*>(m_memory.data());
    }

    // Marks with flag the key of each line of table that belongs to part
    // (the other part's lines are some other table's). For each such line, in
    // order: where receives its slot; seen whether its key already had the
    // flag seenFlag (the other file, marked before); repeat whether an earlier
    // line of the same file had the same key.
    void mark(const LineTable& table, const Keys& keys, quint64 flag, unsigned part,
              WorkPacer& pacer, QHash<QString, quint64>& texts, std::vector<quint32>* where,
              std::vector<bool>* seen, quint64 seenFlag, std::vector<bool>* repeat)
    {
        const size_t n = keys.hash.size();
        auto made = keys.made.begin();
        for (size_t i = 0; i < n; ++i) {
            pacer.Line(i);
            // Fetch the slot some keys ahead, and a few keys ahead the line it
            // holds: the table and the files are far larger than the cache.
            if (i + kSlotAhead < n && PartOf(keys.hash[i + kSlotAhead]) == part)
                __builtin_prefetch(&m_slots[home(keys.hash[i + kSlotAhead])]);
            if (i + kHeldAhead < n && PartOf(keys.hash[i + kHeldAhead]) == part)
                prefetchHeldAtHome(keys.hash[i + kHeldAhead]);
            const bool isMade = made != keys.made.end() && made->first == i;
            Key key;
            if (isMade)
                key = (made++)->second;
            if (PartOf(keys.hash[i]) != part)
                continue;
            if (!isMade)
                key = ownKey(table, keys, i, m_trim);
            quint64 flags;
            size_t slot = kNoSlot;
            bool again;
            if (key.len == kTextKey) {
                quint64& held = texts[keys.texts[key.hash]];
                again = held & flag;
                flags = (held |= flag);
            } else {
                slot = m_fold ? place<true>(key, flag, again) : place<false>(key, flag, again);
                flags = flagsAt(quint32(slot));
            }
            if (where)
                where->push_back(quint32(slot));
            if (seen)
                seen->push_back(flags & seenFlag);
            if (repeat)
                repeat->push_back(again);
        }
    }

    // The slot of a key already in the table, or kNoSlot, marking it with
    // flag. Once the table is filled, several threads may look at once.
    quint32 find(const Key& key, quint64 flag, Scratch& scratch)
    {
        return m_fold ? find<true>(key, flag, scratch) : find<false>(key, flag, scratch);
    }

    // Fetches the line held by the first slot with the key's tag from its
    // home slot on (a key sits past its home when an earlier key took it),
    // within the home slot's cache line, which is at hand: the line worth
    // having before comparing. Both its cache lines when it spans two.
    void prefetchHeldAtHome(quint32 hash) const
    {
        const size_t at = home(hash);
        const quint64 tag = (hash >> 1) & kTagMask;
        const Slot* slot = &m_slots[at];
        const Slot* const lineEnd =
            reinterpret_cast<const Slot*>((reinterpret_cast<quintptr>(slot) | 63) + 1);
        const Slot* const tableEnd = m_slots + m_capacity;
        quint64 meta = 0;
        for (;; ++slot) {
            if (slot == lineEnd || slot == tableEnd || !slot->ptr)
                return;
            // Another thread may be marking the slot meanwhile.
            meta = std::atomic_ref<quint64>(const_cast<quint64&>(slot->meta))
                       .load(std::memory_order_relaxed);
            if (((meta >> 38) & kTagMask) == tag)
                break;
        }
        const char* first = slot->ptr;
        const char* last = first + std::max<quint64>(meta & kLengthMask, 1) - 1;
        __builtin_prefetch(first);
        if ((reinterpret_cast<quintptr>(first) ^ reinterpret_cast<quintptr>(last)) >= 64)
            __builtin_prefetch(last);
    }
    void prefetchHome(quint32 hash) const { __builtin_prefetch(&m_slots[home(hash)]); }

    // Which of two tables a key belongs to; keys held as text (hash 0) are all in part 0.
    static unsigned PartOf(quint32 hash) { return hash & 1; }

    // The flags of the keys' slots.
    quint64 flagsAt(quint32 slot) const { return m_slots[slot].meta & (kInA | kInB); }

    // Whether each slot's key is in B, a bit a slot, read in slot order: a
    // few megabytes that the cache holds, where the table itself is far
    // larger at millions of lines and each look at it would miss.
    std::vector<quint64> slotsInB() const
    {
        std::vector<quint64> bits((m_capacity + 63) / 64);
        for (size_t i = 0; i < m_capacity; ++i)
            bits[i >> 6] |= quint64((m_slots[i].meta & kInB) != 0) << (i & 63);
        return bits;
    }

    static constexpr quint32 kNoSlot = ~quint32(0);

private:
    struct Slot
    {
        const char* ptr;
        quint64 meta;
    };
    static constexpr quint64 kLengthMask = (quint64(1) << 38) - 1;

    size_t home(quint32 hash) const { return size_t((quint64(hash) * m_capacity) >> 32); }

    static quint64 metaOf(const Key& key)
    {
        return (key.len & kLengthMask) | (((key.hash >> 1) & kTagMask) << 38) |
               (key.lowered ? kLowered : 0);
    }

    template <bool Fold> size_t place(const Key& key, quint64 flag, bool& again)
    {
        const quint64 meta = metaOf(key);
        for (size_t index = home(quint32(key.hash));;
             index = index + 1 == m_capacity ? 0 : index + 1) {
            Slot& slot = m_slots[index];
            if (!slot.ptr) {
                if (++m_used > m_limit)
                    throw TableFull();
                slot = {key.ptr, meta | flag};
                again = false;
                return index;
            }
            if (matches<Fold>(slot.ptr, slot.meta, key, meta, m_scratch)) {
                again = slot.meta & flag;
                slot.meta |= flag;
                return index;
            }
        }
    }

    template <bool Fold> quint32 find(const Key& key, quint64 flag, Scratch& scratch)
    {
        const quint64 meta = metaOf(key);
        for (size_t index = home(quint32(key.hash));;
             index = index + 1 == m_capacity ? 0 : index + 1) {
            Slot& slot = m_slots[index];
            if (!slot.ptr)
                return kNoSlot;
            std::atomic_ref<quint64> flags(slot.meta);
            const quint64 held = flags.load(std::memory_order_relaxed);
            if (matches<Fold>(slot.ptr, held, key, meta, scratch)) {
                if (!(held & flag))
                    flags.fetch_or(flag, std::memory_order_relaxed);
                return quint32(index);
            }
        }
    }

    template <bool Fold>
    static bool matches(const char* held, quint64 heldMeta, const Key& key, quint64 meta,
                        Scratch& scratch)
    {
        constexpr quint64 keyBits = kLengthMask | (kTagMask << 38) | kLowered;
        if ((heldMeta & keyBits) == meta && !key.lowered)
            return LineHash::equal<Fold>(held, key.ptr, key.len);
        // A lowered line may equal a line of another length: the tag decides
        // whether to compare at all.
        if (((heldMeta ^ meta) & (kTagMask << 38)) || !((heldMeta | meta) & kLowered))
            return false;
        return equalLowered(held, heldMeta & kLengthMask, heldMeta & kLowered, key.ptr, key.len,
                            key.lowered, scratch);
    }

    // Equality of two lines by their forms lower-cased beyond ASCII (the
    // comparison folds ASCII letters); only a line marked lowered changes.
    static bool equalLowered(const char* a, size_t lengthA, bool lowerA, const char* b,
                             size_t lengthB, bool lowerB, Scratch& scratch)
    {
        // The same bytes but for the case of ASCII letters (a repeated line,
        // most often) lower to the same form.
        if (lengthA == lengthB && LineHash::equal<true>(a, b, lengthA))
            return true;
        if (lowerA && lowerBeyondAscii(a, lengthA, scratch.a, lengthA))
            a = scratch.a.data();
        if (lowerB && lowerBeyondAscii(b, lengthB, scratch.b, lengthB))
            b = scratch.b.data();
        return lengthA == lengthB && LineHash::equal<true>(a, b, lengthA);
    }

    static constexpr quint64 kTagMask = (quint64(1) << 22) - 1;
    static constexpr quint64 kLowered = quint64(1) << 60;
    Scratch m_scratch;
    size_t m_capacity, m_limit, m_used = 0;
    ByteBuffer m_memory;
    Slot* m_slots = nullptr;
    bool m_fold, m_trim;
};

// What one part's table answers, in the order of its lines.
struct PartAnswers
{
    std::vector<quint32> whereA; // the slot of each line of A, kNoSlot for a text key
    std::vector<bool> repeatA, bInA, repeatB;
};

// The keys of A (and B, when given) in two tables, each for the keys of one
// part, filled side by side on the two cores; each sees every line of A,
// then every line of B, in order.
struct Tables
{
    std::unique_ptr<SharedTable> table[2];
    QHash<QString, quint64> texts; // only part 0 holds keys held as text
    PartAnswers parts[2];
    // Slots a key: the fewer keys a slot, the shorter a search, above all
    // for a key that is not there; the more, the less memory.
    double room = 1.5;

    void build(const LineTable& a, const Keys& keysA, const LineTable* b, const Keys* keysB,
               const CompareOptions& options, WorkPacer& pacer)
    {
        const size_t lines = keysA.hash.size() + (keysB ? keysB->hash.size() : 0);
        // The tables are made for the number of distinct keys, estimated, as
        // most lists repeat many lines. Should a table still fill up (lines
        // made to collide), the work is done again with room for every line.
        const double distinct = sketchCount(keysA.sketch, keysB ? keysB->sketch : keysA.sketch);
        try {
            fill(std::min(lines, size_t(distinct / 2) + 1), lines, a, keysA, b, keysB, options,
                 pacer);
        } catch (const TableFull&) {
            fill(lines, lines, a, keysA, b, keysB, options, pacer);
        }
    }

    // Whether each line of A has its key in B too; a line held as text finds
    // its flags by its key's text.
    std::vector<bool> aInB(const Keys& keysA, const CompareProgress* progress) const
    {
        const size_t n = keysA.hash.size();
        std::vector<bool> found(n);
        std::vector<quint64> inB[2];
        RunSideBySide([&] { inB[0] = table[0]->slotsInB(); },
                      [&] { inB[1] = table[1]->slotsInB(); });
        // Two halves side by side, meeting at a multiple of 64 lines so that
        // no word of found is written by both. The second starts in each
        // part's answers after the first half's lines of that part.
        const size_t middle = n < (size_t(1) << 16) ? n : n / 2 / 64 * 64;
        RunSideBySide(
            [&] {
                answerRange(keysA, inB, 0, middle, {0, 0}, found, progress);
            },
            [&] {
                size_t inPart0 = 0;
                for (size_t i = 0; i < middle; ++i)
                    inPart0 += SharedTable::PartOf(keysA.hash[i]) == 0;
                answerRange(keysA, inB, middle, n, {inPart0, middle - inPart0}, found, progress);
            });
        return found;
    }

    // found for the lines [from, to) of A, whose answers start at next in the parts.
    void answerRange(const Keys& keysA, const std::vector<quint64> (&inB)[2], size_t from,
                     size_t to, std::array<size_t, 2> next, std::vector<bool>& found,
                     const CompareProgress* progress) const
    {
        auto made = std::lower_bound(
            keysA.made.begin(), keysA.made.end(), from,
            [](const std::pair<quint32, Key>& line, size_t i) { return line.first < i; });
        for (size_t i = from; i < to; ++i) {
            if (progress && i % (1 << 20) == 0)
                progress->ThrowIfCancelled();
            const unsigned p = SharedTable::PartOf(keysA.hash[i]);
            const quint32 slot = parts[p].whereA[next[p]++];
            if (slot != SharedTable::kNoSlot) {
                found[i] = (inB[p][slot >> 6] >> (slot & 63)) & 1;
                continue;
            }
            while (made->first < i)
                ++made;
            found[i] = texts.value(keysA.texts[made->second.hash]) & SharedTable::kInB;
        }
    }

    // One part's answers of a kind back in file order.
    void merge(const Keys& keys, std::vector<bool> PartAnswers::*from, std::vector<bool>& out,
               const CompareProgress* progress) const
    {
        if ((parts[0].*from).empty() && (parts[1].*from).empty())
            return;
        out.resize(keys.hash.size());
        size_t next[2] = {0, 0};
        for (size_t i = 0; i < keys.hash.size(); ++i) {
            if (progress && i % (1 << 20) == 0)
                progress->ThrowIfCancelled();
            const unsigned p = SharedTable::PartOf(keys.hash[i]);
            out[i] = (parts[p].*from)[next[p]++];
        }
    }

private:
    void fill(size_t keysPerPart, size_t limit, const LineTable& a, const Keys& keysA,
              const LineTable* b, const Keys* keysB, const CompareOptions& options,
              WorkPacer& pacer)
    {
        for (unsigned p : {0u, 1u}) {
            table[p].reset(); // the old tables go before the new ones come
            parts[p] = PartAnswers();
        }
        texts.clear();
        const bool once = options.eachOnce;
        auto fillPart = [&](unsigned p) {
            // Each table's memory is faulted in on the core that fills it:
            // hundreds of megabytes at ten million lines, slow to come by
            // after idle on a virtual machine.
            table[p] = std::make_unique<SharedTable>(keysPerPart, limit, room, !options.matchCase,
                                                     options.ignoreBlanks);
            SharedTable& t = *table[p];
            PartAnswers& part = parts[p];
            part.whereA.reserve(keysA.hash.size() / 2 + keysA.hash.size() / 16 + 16);
            // Once A is marked, each line of B learns at once whether A holds
            // it; A's lines look at their slots again after B is marked.
            t.mark(a, keysA, SharedTable::kInA, p, pacer, texts, &part.whereA, nullptr, 0,
                   once ? &part.repeatA : nullptr);
            if (b)
                t.mark(*b, *keysB, SharedTable::kInB, p, pacer, texts, nullptr, &part.bInA,
                       SharedTable::kInA, once ? &part.repeatB : nullptr);
        };
        RunSideBySide([&] { fillPart(0); }, [&] { fillPart(1); });
    }
};

} // namespace

LineMatch LineMatch::Of(const LineTable& a, const LineTable& b, const CompareOptions& options,
                        CompareProgress* progress)
{
    // Each line is keyed once, then looked at by each of the two tables.
    const qint64 lineCount = a.size() + b.size();
    WorkPacer pacer(progress, 3 * lineCount);
    const bool matchCase = options.matchCase, trim = options.ignoreBlanks;
    Keys keysA, keysB;
    // The two files' keys are independent: make B's on the other core.
    RunSideBySide([&] { computeKeys(a, matchCase, trim, pacer, keysA); },
                  [&] { computeKeys(b, matchCase, trim, pacer, keysB); });
    Tables tables;
    tables.build(a, keysA, &b, &keysB, options, pacer);

    LineMatch match;
    tables.merge(keysB, &PartAnswers::bInA, match.bInA, progress);
    tables.merge(keysA, &PartAnswers::repeatA, match.aRepeat, progress);
    tables.merge(keysB, &PartAnswers::repeatB, match.bRepeat, progress);
    match.aInB = tables.aInB(keysA, progress);
    return match;
}

struct LineIndex::Data
{
    Data(const CompareOptions& withOptions) : options(withOptions) {}
    CompareOptions options;
    Keys keysA;
    Tables tables;
    std::mutex textsInUse; // keys held as text are looked up under it
};

LineIndex::LineIndex(const LineTable& a, const CompareOptions& options)
    : d(std::make_unique<Data>(options))
{
    WorkPacer pacer(nullptr, 0);
    computeKeys(a, options.matchCase, options.ignoreBlanks, pacer, d->keysA, true);
    // Most lines of file 2 may be missing from file 1, and file 2 takes no
    // room in the table: a roomier table pays.
    d->tables.room = 2.0;
    d->tables.build(a, d->keysA, nullptr, nullptr, options, pacer);
}

LineIndex::~LineIndex() = default;

std::vector<bool> LineIndex::Find(const LineTable& lines) const
{
    WorkPacer pacer(nullptr, 0);
    Keys keys;
    computeKeys(lines, d->options.matchCase, d->options.ignoreBlanks, pacer, keys);
    Scratch scratch;
    const size_t n = keys.hash.size();
    std::vector<bool> found(n);
    auto made = keys.made.begin();
    SharedTable* const table[2] = {d->tables.table[0].get(), d->tables.table[1].get()};
    auto slotsOf = [&](size_t from, size_t to) {
        for (size_t j = from; j < to; ++j)
            table[SharedTable::PartOf(keys.hash[j])]->prefetchHome(keys.hash[j]);
    };
    constexpr size_t kBatch = 16;
    slotsOf(0, std::min(n, kBatch));
    for (size_t i = 0; i < n; ++i) {
        // A batch of lines at a time: the next batch's slots are fetched,
        // and this batch's lines the slots hold, all at once.
        if (i % kBatch == 0) {
            slotsOf(std::min(n, i + kBatch), std::min(n, i + 2 * kBatch));
            for (size_t j = i; j < std::min(n, i + kBatch); ++j)
                table[SharedTable::PartOf(keys.hash[j])]->prefetchHeldAtHome(keys.hash[j]);
        }
        Key key;
        if (made != keys.made.end() && made->first == i) {
            key = (made++)->second;
        } else {
            key = ownKey(lines, keys, i, d->options.ignoreBlanks);
        }
        if (key.len == kTextKey) {
            const std::lock_guard<std::mutex> lock(d->textsInUse);
            const auto held = d->tables.texts.find(keys.texts[key.hash]);
            if (held != d->tables.texts.end()) {
                *held |= SharedTable::kInB;
                found[i] = true;
            }
            continue;
        }
        found[i] = table[SharedTable::PartOf(quint32(key.hash))]->find(
                       key, SharedTable::kInB, scratch) != SharedTable::kNoSlot;
    }
    return found;
}

void LineIndex::Answers(std::vector<bool>& aInB, std::vector<bool>& aRepeat) const
{
    aInB = d->tables.aInB(d->keysA, nullptr);
    d->tables.merge(d->keysA, &PartAnswers::repeatA, aRepeat, nullptr);
}
