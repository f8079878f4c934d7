// The 8-bit codec and the UTF-16 decoder on arbitrary bytes: any bytes survive
// a decode and an encode unchanged, valid UTF-8 reads as UTF-8, and any 16-bit
// text encodes without harm, back to itself whenever it has a byte form.

#include "compare/TextFile.h"
#include "fuzz/FuzzCheck.h"
#include "platform/AnsiCodec.h"

#include <cstddef>
#include <cstdint>

using FuzzCheck::holds;
using FuzzCheck::same;

namespace {

bool hasSurrogate(const QString& text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

// A high surrogate followed by a low one, or no surrogate at all, everywhere.
bool surrogatesPaired(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    }
    return true;
}

// True when bytes are exactly one character of valid UTF-8, as Qt reads it.
bool oneUtf8Character(QByteArrayView bytes)
{
    // Qt drops a byte-order mark at the very start; a letter in front keeps it.
    const QByteArray marked = "x" + bytes.toByteArray();
    const QString text = QString::fromUtf8(marked);
    return text.toUtf8() == marked &&
           (text.size() == 2 || (text.size() == 3 && text[1].isHighSurrogate()));
}

// Where a valid sequence starts, its length is the one that reads as one
// character; where none does, no byte count up to four reads as one.
void sequencesAsUtf8Has(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const int n = AnsiCodec::SequenceLength(p, end);
        const auto at = reinterpret_cast<const char*>(p);
        if (n > 0) {
            holds("a sequence lies within the bytes", n <= end - p);
            holds("a sequence is one UTF-8 character", oneUtf8Character(QByteArrayView(at, n)));
            p += n;
        } else {
            for (qsizetype k = 1; k <= qMin<qsizetype>(4, end - p); ++k)
                holds("no UTF-8 character starts at an escaped byte",
                      !oneUtf8Character(QByteArrayView(at, k)));
            ++p;
        }
    }
}

void bytesRoundTrip(QByteArrayView bytes)
{
    const QString text = AnsiCodec::Decode(bytes);
    holds("a byte decodes to at most one character", text.size() <= bytes.size());
    same("decoded bytes encode back to themselves", AnsiCodec::Encode(text), bytes.toByteArray());
    holds("decoded bytes have an exact encoding", AnsiCodec::HasExactEncoding(text));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate())
            ++i; // the pair of a character beyond 16 bits
        else
            holds("ASCII bytes are never escaped",
                  text[i].unicode() < 0xDC00 || text[i].unicode() >= 0xDC80);
    }

    QByteArray appended("kept");
    AnsiCodec::AppendEncoded(text, appended);
    same("encoding appends after what is there", appended, "kept" + bytes.toByteArray());

    const QString utf8 = QString::fromUtf8(bytes);
    if (utf8.toUtf8() == bytes)
        same("valid UTF-8 decodes as UTF-8", text, utf8);
}

void anyTextEncodes(const char* data, qint64 size)
{
    const QString text = DecodeUtf16(data, size);
    holds("two bytes make one character", text.size() == (size + 1) / 2);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i < size / 2; ++i)
        holds("characters are low byte first",
              text[i].unicode() == (bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    if (size % 2 != 0)
        holds("a lone last byte is escaped", text.back().unicode() == 0xDC00 + bytes[size - 1]);
    // High byte first, the same characters with each pair's bytes swapped.
    const QString swapped = DecodeUtf16(data, size, true);
    holds("high byte first, as long", swapped.size() == text.size());
    for (qsizetype i = 0; i < size / 2; ++i)
        holds("characters are high byte first",
              swapped[i].unicode() == ((bytes[2 * i] << 8) | bytes[2 * i + 1]));
    if (size % 2 != 0)
        holds("a lone last byte is escaped either way", swapped.back() == text.back());

    const QByteArray encoded = AnsiCodec::Encode(text);
    holds("one character encodes to at most three bytes", encoded.size() <= 3 * text.size());
    const bool exact = AnsiCodec::HasExactEncoding(text);
    same("an exact encoding is one that decodes back", exact, AnsiCodec::Decode(encoded) == text);
    if (!hasSurrogate(text))
        holds("text without surrogates has an exact encoding", exact);
    if (surrogatesPaired(text))
        same("text without lone surrogates encodes as UTF-8", encoded, text.toUtf8());
    same("the encoding decodes and encodes back to itself",
         AnsiCodec::Encode(AnsiCodec::Decode(encoded)), encoded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    bytesRoundTrip(QByteArrayView(bytes, qsizetype(size)));
    sequencesAsUtf8Has(QByteArrayView(bytes, qsizetype(size)));
    anyTextEncodes(bytes, qint64(size));
    return 0;
}
