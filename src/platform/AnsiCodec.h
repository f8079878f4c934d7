#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The 8-bit encoding of text files: UTF-8, decoded losslessly. Every byte that
// is not part of a valid UTF-8 sequence becomes the single character
// U+DC80 + byte, and encoding turns that character back into the same byte, so
// any file survives a read and a write unchanged and two lines compare exactly
// as their bytes do.
namespace AnsiCodec {

// Decodes bytes to text; never fails.
QString Decode(QByteArrayView bytes);

// Decodes bytes as Decode does into out, which has room for bytes.size()
// units, and returns the units written; with validOnly, returns -1 instead
// at the first byte that is part of no valid UTF-8 sequence.
qsizetype DecodeInto(QByteArrayView bytes, char16_t* out, bool validOnly = false);

// How many bytes at the start of bytes are ASCII.
qsizetype AsciiPrefix(QByteArrayView bytes);

// Appends the encoding of text to out. An escape character becomes its byte;
// a lone surrogate that is no escape becomes U+FFFD.
void AppendEncoded(QStringView text, QByteArray& out);

QByteArray Encode(QStringView text);

// True when Decode(Encode(text)) == text, that is when the text has a byte
// form of its own. Text joined from separately decoded pieces may not (a
// run of escapes can spell a valid sequence).
bool HasExactEncoding(QStringView text);

// The text as a person sees it: each character that stands for a byte of no
// valid UTF-8 sequence becomes that byte's Windows-1252 character (0xFC shows
// as "ü", 0x80 as "€"), the way such a file reads on the desktop it most
// likely came from. For showing and copying only: the result has no exact
// encoding back to the file's bytes.
QString ShownText(const QString& text);

// Length of the valid UTF-8 sequence that starts at p (1 to 4), or 0 when the
// byte at p starts none; end bounds the bytes that may be looked at.
int SequenceLength(const unsigned char* p, const unsigned char* end);

} // namespace AnsiCodec
