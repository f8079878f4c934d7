#include "compare/CaseFolding.h"

#include "platform/AnsiCodec.h"

#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <memory>

namespace Engine {

namespace {

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

} // namespace

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

} // namespace Engine
