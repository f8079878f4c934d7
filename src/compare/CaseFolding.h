#pragma once

#include <QString>
#include <cstddef>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Lower-casing as the comparison ignores case: each character on its own, as
// QChar::toLower has it, whether a line is held as text or as encoded bytes.
namespace Engine {

// text with each of its characters lower-cased on its own.
inline QString lowerEachCharacter(QString text)
{
    for (QChar& c : text)
        c = c.toLower();
    return text;
}

// False when lowering the encoded line surely changes nothing beyond ASCII.
bool mayChangeWhenLowered(const char* line, size_t n);

// Whether no byte of the line is C4 or above (its characters beyond ASCII
// are at most Latin-1).
inline bool withinLatin1(const char* line, size_t n)
{
    // Lowering such a line only turns a capital's second byte, 80 to 9E,
    // into A0 to BE, which mayChangeWhenLowered looks for quickly.
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

// Lower-cases the characters beyond ASCII of an encoded line into buffer,
// length bytes of it; false, buffer untouched, when none changes.
bool lowerBeyondAscii(const char* line, size_t n, std::string& buffer, size_t& length);

} // namespace Engine
