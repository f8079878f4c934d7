#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Hashing and equality of encoded lines, exact or with ASCII letters folded
// to lower case. Eight bytes are handled at a time; nothing is read past the
// end of a line.
namespace LineHash {

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

// What a word of a line adds to its hash when ASCII letters are folded:
// the 0x20 bit of every byte set, which folds the capitals and, with them,
// a few pairs of other bytes ('@' and '`', say). Lines equal but for case
// hash alike; a few more lines share a hash, and the comparison that
// follows tells them apart.
inline std::uint64_t foldForHash(std::uint64_t w)
{
    return w | 0x2020202020202020ull;
}

// Hash of a line; with Fold, alike for lines equal but for the case of ASCII letters. marks
// receives, exact, the OR of all bytes' top bits, so the caller learns whether the line is ASCII;
// folded, nonzero only when some character beyond ASCII may lower (mayLower), so that a line of
// ASCII and small Latin-1 letters needs no other look.
template <bool Fold> inline std::uint64_t hash(const char* p, std::size_t n, std::uint64_t& marks)
{
    constexpr std::uint64_t k1 = 0xA0761D6478BD642Full, k2 = 0xE7037ED1A0B428DBull;
    const std::size_t length = n;
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (n * k2);
    std::uint64_t all = 0;
    while (n >= 8) {
        std::uint64_t w = load(p, 8);
        all |= Fold ? mayLower(w) : w;
        h = mix(h ^ (Fold ? foldForHash(w) : w), k1);
        p += 8;
        n -= 8;
    }
    if (n) {
        std::uint64_t w = loadTail(p + n, n, length);
        all |= Fold ? mayLower(w) : w;
        h = mix(h ^ (Fold ? foldForHash(w) : w), k2);
    }
    marks = all & 0x8080808080808080ull;
    return mix(h, k1 ^ k2);
}

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
