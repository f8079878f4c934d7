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

// Hash of a line; with Fold, of its ASCII-folded form. highBits receives the
// OR of all bytes' top bits, so the caller learns whether the line is ASCII.
template <bool Fold>
inline std::uint64_t hash(const char* p, std::size_t n, std::uint64_t& highBits)
{
    constexpr std::uint64_t k1 = 0xA0761D6478BD642Full, k2 = 0xE7037ED1A0B428DBull;
    const std::size_t length = n;
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (n * k2);
    std::uint64_t all = 0;
    while (n >= 8) {
        std::uint64_t w = load(p, 8);
        all |= w;
        h = mix(h ^ (Fold ? fold(w) : w), k1);
        p += 8;
        n -= 8;
    }
    if (n) {
        std::uint64_t w = loadTail(p + n, n, length);
        all |= w;
        h = mix(h ^ (Fold ? fold(w) : w), k2);
    }
    highBits = all & 0x8080808080808080ull;
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
