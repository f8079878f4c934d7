#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#define QUILLMARK_FOLD_SIXTEEN 1
#endif

// Hashing and equality of encoded lines, exact or with ASCII letters folded
// to lower case. Eight bytes are handled at a time, sixteen where SSE2 folds
// them; nothing is read past the end of a line.
//
// Every hash takes a seed drawn afresh for each comparison, so that nobody can
// make a list whose lines collide ahead of time. The fast hash serves
// ordinary lists; the keyed one, SipHash-1-3, is for a table that the fast
// one let collide twice, since even an attacker who sees its output cannot
// make its keys collide.
namespace LineHash {

// What one comparison's hashes are keyed with.
struct Seed
{
    std::uint64_t k0 = 0, k1 = 0;
};

// A seed from the system's random source, or from the test hook when one is set.
Seed DrawSeed();

// Tests fix the seeds drawn (the hook is called for each); an empty hook
// gives the system's random seeds again.
void SetSeedTestHook(std::function<Seed()> hook);

inline std::uint64_t load(const char* p, std::size_t n)
{
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    return w;
}

// The last n (1 to 7) bytes of a line of length bytes that end at end, as
// load(end - n, n) gives them, without a copy of variable length: a line
// of eight bytes or more has them in its last eight, a shorter one in two
// loads that may overlap.
inline std::uint64_t loadTail(const char* end, std::size_t n, std::size_t length)
{
    if constexpr (std::endian::native != std::endian::little)
        return load(end - n, n);
    if (length >= 8)
        return load(end - 8, 8) >> (8 * (8 - n));
    const char* p = end - n;
    if (n >= 4)
        return load(p, 4) | (load(end - 4, 4) << (8 * (n - 4)));
    // One to three bytes: the first, the middle and the last.
    return std::uint64_t(static_cast<unsigned char>(p[0])) |
           (std::uint64_t(static_cast<unsigned char>(p[n / 2])) << (8 * (n / 2))) |
           (std::uint64_t(static_cast<unsigned char>(p[n - 1])) << (8 * (n - 1)));
}

// ASCII capitals in w to small letters; bytes of 0x80 and above stay.
inline std::uint64_t fold(std::uint64_t w)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t low7 = w & (0x7F * ones);
    const std::uint64_t atLeastA = low7 + (0x80 - 'A') * ones;
    const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * ones;
    const std::uint64_t upper = atLeastA & ~aboveZ & ~w & (0x80 * ones);
    return w | (upper >> 2);
}

// The top bit of each byte of x that is zero.
inline std::uint64_t zeroBytes(std::uint64_t x)
{
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    return ~(((x & low7) + low7) | x) & 0x8080808080808080ull;
}

// Whether words load with their first byte lowest, as foldLatin1 needs.
constexpr bool kFoldsLatin1InWords = std::endian::native == std::endian::little;

// w with its ASCII capitals and its Latin-1 capitals (C3 80 to C3 9E, but
// for C3 97, the multiplication sign) lowered, exactly as lowering each
// character would lower a line that has no byte of C4 and above; before is
// the byte before w in the line, 0 at its start.
inline std::uint64_t foldLatin1(std::uint64_t w, std::uint64_t before)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t afterC3 = zeroBytes(((w << 8) | before) ^ (0xC3 * ones));
    const std::uint64_t capital = zeroBytes((w & (0xE0 * ones)) ^ (0x80 * ones)) &
                                  ~zeroBytes((w | (0x08 * ones)) ^ (0x9F * ones));
    return fold(w) | ((afterC3 & capital) >> 2);
}

// What a word of a line gives its hash: itself, or folded. lowers is
// mayLower(w): where it is zero, no Latin-1 capital is in w either.
template <bool Fold>
inline std::uint64_t hashedWord(std::uint64_t w, std::uint64_t lowers, std::uint64_t before)
{
    if constexpr (!Fold)
        return w;
    else if constexpr (kFoldsLatin1InWords)
        return lowers ? foldLatin1(w, before) : fold(w);
    else
        return fold(w);
}

inline std::uint64_t mix(std::uint64_t a, std::uint64_t b)
{
    const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
    return static_cast<std::uint64_t>(r) ^ static_cast<std::uint64_t>(r >> 64);
}

// The top bit of each byte of w that may be part of a character beyond
// ASCII that lowers: a byte 80 to 9F (which continues a Latin-1 capital) or
// C4 and above (which starts a character beyond Latin-1). A byte 00 never
// is, so the zeros around a short tail add nothing.
inline std::uint64_t mayLower(std::uint64_t w)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    // A byte of (w & E0) ^ 80 is zero where w's byte is 80 to 9F; the borrow
    // of a zero byte may mark the bytes above it, which only adds marks.
    const std::uint64_t t = (w & (0xE0 * ones)) ^ (0x80 * ones);
    const std::uint64_t continuesCapital = (t - ones) & ~t;
    const std::uint64_t beyondLatin1 = ((w & (0x7F * ones)) + (0x3C * ones)) & w;
    return (continuesCapital | beyondLatin1) & (0x80 * ones);
}

#ifdef QUILLMARK_FOLD_SIXTEEN
// Sixteen bytes at p lowered as foldLatin1 lowers them, two words at a time
// for the price of one; lowers receives whether any byte is one that
// mayLower marks. before is the byte before p, 0 at the start of a line.
inline __m128i foldSixteen(const char* p, std::uint64_t before, bool& lowers)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i small = _mm_set1_epi8(0x20);
    // Compared as signed, the bytes of 80 and above are below '@'.
    const __m128i capital = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)),
                                          _mm_cmpgt_epi8(_mm_set1_epi8('Z' + 1), v));
    __m128i folded = _mm_or_si128(v, _mm_and_si128(capital, small));
    const __m128i continues =
        _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(char(0xE0))), _mm_set1_epi8(char(0x80)));
    const __m128i beyondLatin1 = _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(char(0xC4))), v);
    lowers = _mm_movemask_epi8(_mm_or_si128(continues, beyondLatin1)) != 0;
    if (lowers) {
        const __m128i previous = _mm_or_si128(_mm_slli_si128(v, 1), _mm_cvtsi32_si128(int(before)));
        const __m128i afterC3 = _mm_cmpeq_epi8(previous, _mm_set1_epi8(char(0xC3)));
        const __m128i noLetter =
            _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(0x08)), _mm_set1_epi8(char(0x9F)));
        const __m128i latin1 = _mm_andnot_si128(noLetter, _mm_and_si128(continues, afterC3));
        folded = _mm_or_si128(folded, _mm_and_si128(latin1, small));
    }
    return folded;
}
#endif

// Hash of a line, seeded; with Fold, of the line lowered: its ASCII
// capitals folded, and where kFoldsLatin1InWords its Latin-1 capitals too
// (foldLatin1), exactly those. A byte that is no capital hashes as itself,
// so lines that compare different are never made to hash alike whatever the
// seed. Other characters beyond ASCII are the caller's to lower first.
// marks receives, exact, the OR of all bytes' top bits, so the caller learns
// whether the line is ASCII; folded, nonzero only when some character beyond
// ASCII may lower (mayLower), so that a line of ASCII and small Latin-1
// letters needs no other look.
template <bool Fold>
[[gnu::always_inline]] inline std::uint64_t hash(const char* p, std::size_t n, std::uint64_t& marks,
                                                 std::uint64_t seed)
{
    constexpr std::uint64_t k1 = 0xA0761D6478BD642Full, k2 = 0xE7037ED1A0B428DBull;
    const std::size_t length = n;
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ seed ^ (n * k2);
    std::uint64_t all = 0, before = 0;
#ifdef QUILLMARK_FOLD_SIXTEEN
    if constexpr (Fold) {
        while (n >= 16) {
            bool lowers;
            const __m128i folded = foldSixteen(p, before, lowers);
            all |= lowers ? 0x80 : 0;
            h = mix(h ^ std::uint64_t(_mm_cvtsi128_si64(folded)), k1);
            h = mix(h ^ std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(folded, folded))), k1);
            before = static_cast<unsigned char>(p[15]);
            p += 16;
            n -= 16;
        }
    }
#endif
    while (n >= 8) {
        const std::uint64_t w = load(p, 8);
        const std::uint64_t lowers = Fold ? mayLower(w) : w;
        all |= lowers;
        h = mix(h ^ hashedWord<Fold>(w, lowers, before), k1);
        before = w >> 56;
        p += 8;
        n -= 8;
    }
    if (n) {
        const std::uint64_t w = loadTail(p + n, n, length);
        const std::uint64_t lowers = Fold ? mayLower(w) : w;
        all |= lowers;
        h = mix(h ^ hashedWord<Fold>(w, lowers, before), k2);
    }
    marks = all & 0x8080808080808080ull;
    return mix(h, k1 ^ k2);
}

// The bytes of w as a little-endian machine would load them.
inline std::uint64_t littleEndian(std::uint64_t w)
{
    if constexpr (std::endian::native == std::endian::big)
        return __builtin_bswap64(w);
    return w;
}

inline void sipRound(std::uint64_t& v0, std::uint64_t& v1, std::uint64_t& v2, std::uint64_t& v3)
{
    v0 += v1;
    v1 = std::rotl(v1, 13) ^ v0;
    v0 = std::rotl(v0, 32);
    v2 += v3;
    v3 = std::rotl(v3, 16) ^ v2;
    v0 += v3;
    v3 = std::rotl(v3, 21) ^ v0;
    v2 += v1;
    v1 = std::rotl(v1, 17) ^ v2;
    v2 = std::rotl(v2, 32);
}

// SipHash-C-D of a line under the 128-bit key seed (k0 its first eight bytes,
// little-endian), folded as hash() folds; marks as hash() gives them.
// SipHash-1-3 keys the tables, SipHash-2-4 is the published one, whose test
// vectors check the rounds.
template <int C, int D, bool Fold>
inline std::uint64_t sipHash(const char* p, std::size_t n, std::uint64_t& marks, const Seed& seed)
{
    std::uint64_t v0 = seed.k0 ^ 0x736F6D6570736575ull, v1 = seed.k1 ^ 0x646F72616E646F6Dull,
                  v2 = seed.k0 ^ 0x6C7967656E657261ull, v3 = seed.k1 ^ 0x7465646279746573ull;
    const std::size_t length = n;
    std::uint64_t all = 0, before = 0;
    auto absorb = [&](std::uint64_t m) {
        v3 ^= m;
        for (int i = 0; i < C; ++i)
            sipRound(v0, v1, v2, v3);
        v0 ^= m;
    };
    while (n >= 8) {
        const std::uint64_t w = load(p, 8);
        const std::uint64_t lowers = Fold ? mayLower(w) : w;
        all |= lowers;
        absorb(littleEndian(hashedWord<Fold>(w, lowers, before)));
        before = w >> 56;
        p += 8;
        n -= 8;
    }
    // The last 0 to 7 bytes, and the length's low byte at the top.
    std::uint64_t last = 0;
    if constexpr (std::endian::native == std::endian::little) {
        if (n)
            last = loadTail(p + n, n, length);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            last |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    }
    const std::uint64_t lowers = Fold ? mayLower(last) : last;
    all |= lowers;
    absorb(hashedWord<Fold>(last, lowers, before) | (std::uint64_t(length) << 56));
    marks = all & 0x8080808080808080ull;
    v2 ^= 0xFF;
    for (int i = 0; i < D; ++i)
        sipRound(v0, v1, v2, v3);
    return v0 ^ v1 ^ v2 ^ v3;
}

// Which hash a comparison's keys are made with, and its seed.
struct Hasher
{
    Seed seed;
    bool keyed = false; // SipHash-1-3 rather than the fast hash

    template <bool Keyed, bool Fold>
    [[gnu::always_inline]] std::uint64_t of(const char* p, std::size_t n,
                                            std::uint64_t& marks) const
    {
        if constexpr (Keyed)
            return sipHash<1, 3, Fold>(p, n, marks, seed);
        else
            return hash<Fold>(p, n, marks, seed.k0);
    }
};

template <bool Fold> inline bool equal(const char* a, const char* b, std::size_t n)
{
    // Equal lines are mostly the same bytes (a repeated line): the plain
    // comparison answers those at once.
    if (std::memcmp(a, b, n) == 0)
        return true;
    if (!Fold)
        return false;
    while (n >= 8) {
        if (fold(load(a, 8)) != fold(load(b, 8)))
            return false;
        a += 8;
        b += 8;
        n -= 8;
    }
    return n == 0 || fold(load(a, n)) == fold(load(b, n));
}

} // namespace LineHash
