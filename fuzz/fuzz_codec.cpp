// The 8-bit codec and the UTF-16 decoder on arbitrary bytes: any bytes survive
// a decode and an encode unchanged, valid UTF-8 reads as UTF-8, and any 16-bit
// text encodes without harm, back to itself whenever it has a byte form.

#include "AnsiCodec.h"
#include "FuzzCheck.h"
#include "TextFile.h"

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
    anyTextEncodes(bytes, qint64(size));
    return 0;
}
