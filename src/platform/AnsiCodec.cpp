#include "platform/AnsiCodec.h"

#include <QtAlgorithms>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace AnsiCodec {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves unassigned keep
// their own code points, as Windows itself shows them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// An escape is a low surrogate from U+DC80 to U+DCFF that does not end a
// surrogate pair.
bool isEscapeAt(const char16_t* p, const char16_t* begin)
{
    return *p >= 0xDC80 && *p <= 0xDCFF && (p == begin || p[-1] < 0xD800 || p[-1] > 0xDBFF);
}

} // namespace

int SequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char b0 = p[0];
    if (b0 < 0x80)
        return 1;
    const auto avail = end - p;
    auto cont = [&](int i) { return i < avail && (p[i] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return cont(1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (avail < 2)
            return 0;
        const unsigned char b1 = p[1];
        if (b0 == 0xE0 && b1 < 0xA0)
            return 0; // overlong
        if (b0 == 0xED && b1 > 0x9F)
            return 0; // surrogates are not text
        return cont(1) && cont(2) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (avail < 2)
            return 0;
        const unsigned char b1 = p[1];
        if (b0 == 0xF0 && b1 < 0x90)
            return 0; // overlong
        if (b0 == 0xF4 && b1 > 0x8F)
            return 0; // beyond U+10FFFF
        return cont(1) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

qsizetype AsciiPrefix(QByteArrayView bytes)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= bytes.size(); i += 16) {
        const int high =
            _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i)));
        if (high)
            return i + qCountTrailingZeroBits(uint(high));
    }
#endif
    while (i < bytes.size() && uchar(bytes[i]) < 0x80)
        ++i;
    return i;
}

qsizetype DecodeInto(QByteArrayView bytes, char16_t* out, bool validOnly)
{
    char16_t* dst = out;
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Runs of ASCII are by far the most common case: sixteen bytes at a
        // time where the processor can.
        qsizetype run = AsciiPrefix(QByteArrayView(p, end - p));
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        for (; run >= 16; run -= 16, p += 16, dst += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(v, zero));
        }
#endif
        for (; run > 0; --run)
            *dst++ = *p++;
        if (p == end)
            break;
        switch (SequenceLength(p, end)) {
        case 2:
            *dst++ = char16_t(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
            p += 2;
            break;
        case 3:
            *dst++ = char16_t(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
            p += 3;
            break;
        case 4: {
            const char32_t cp = ((p[0] & 0x07) << 18) | ((p[1] & 0x3F) << 12) |
                                ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            *dst++ = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            *dst++ = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
            p += 4;
            break;
        }
        default:
            if (validOnly)
                return -1;
            *dst++ = char16_t(kEscapeBase + *p);
            ++p;
            break;
        }
    }
    return dst - out;
}

QString Decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    out.truncate(DecodeInto(bytes, reinterpret_cast<char16_t*>(out.data())));
    return out;
}

void AppendEncoded(QStringView text, QByteArray& out)
{
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    const qsizetype base = out.size();
    out.resize(base + text.size() * 3);
    char* dst = out.data() + base;
    while (p < end) {
        const char16_t c = *p++;
        if (c < 0x80) {
            *dst++ = char(c);
        } else if (c < 0x800) {
            *dst++ = char(0xC0 | (c >> 6));
            *dst++ = char(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (*p++ - 0xDC00);
            *dst++ = char(0xF0 | (cp >> 18));
            *dst++ = char(0x80 | ((cp >> 12) & 0x3F));
            *dst++ = char(0x80 | ((cp >> 6) & 0x3F));
            *dst++ = char(0x80 | (cp & 0x3F));
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            *dst++ = char(c - kEscapeBase);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // A lone surrogate that stands for no byte: it has no encoding.
            *dst++ = char(0xEF);
            *dst++ = char(0xBF);
            *dst++ = char(0xBD);
        } else {
            *dst++ = char(0xE0 | (c >> 12));
            *dst++ = char(0x80 | ((c >> 6) & 0x3F));
            *dst++ = char(0x80 | (c & 0x3F));
        }
    }
    out.truncate(dst - out.data());
}

QByteArray Encode(QStringView text)
{
    QByteArray out;
    AppendEncoded(text, out);
    return out;
}

QString ShownText(const QString& text)
{
    const char16_t* const begin = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = begin + text.size();
    const char16_t* p = begin;
    while (p < end && !isEscapeAt(p, begin))
        ++p;
    if (p == end)
        return text; // shares the text: nothing to show differently
    QString shown = text;
    char16_t* out = reinterpret_cast<char16_t*>(shown.data());
    for (; p < end; ++p) {
        if (!isEscapeAt(p, begin))
            continue;
        const unsigned byte = unsigned(*p - kEscapeBase);
        out[p - begin] = byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t(byte);
    }
    return shown;
}

bool HasExactEncoding(QStringView text)
{
    // Text without surrogates always round-trips; otherwise let the round trip tell.
    for (const QChar c : text) {
        if (c.isSurrogate())
            return Decode(Encode(text)) == text;
    }
    return true;
}

} // namespace AnsiCodec
