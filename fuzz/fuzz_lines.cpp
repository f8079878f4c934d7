// The line splitter on arbitrary file content, against a plain splitter of
// the decoded text.

#include "compare/LineTable.h"
#include "compare/TextFile.h"
#include "fuzz/FuzzCheck.h"
#include "platform/AnsiCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using FuzzCheck::holds;
using FuzzCheck::same;

namespace {

// THE RULES OF SPLITTING, the one place that states them. Today: a leading
// byte-order mark is no part of the first line; a text that holds carriage
// returns but no line feed at all breaks its lines at them, any other text
// loses every carriage return and is split at every line feed; the empty text
// has no lines. When the rules change, change this function alone.
QStringList referenceLines(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (!text.contains(QLatin1Char('\n')) && text.contains(QLatin1Char('\r')))
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    else
        text.remove(QLatin1Char('\r'));
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

// The content the loader makes of a file holding these bytes (TextFile.h).
FileContent contentOf(const char* data, qint64 size)
{
    FileContent content;
    if (size == 0) {
        content.kind = FileContent::Kind::Empty;
        return content;
    }
    const auto first = static_cast<unsigned char>(data[0]);
    if (first == 0xFE && size >= 2 && static_cast<unsigned char>(data[1]) == 0xFF)
        content.kind = FileContent::Kind::Utf16BE;
    else
        content.kind =
            (first == 0xFF || first == 0xFE) ? FileContent::Kind::Utf16 : FileContent::Kind::Ansi;
    content.bytes = ByteBuffer(size);
    std::memcpy(content.bytes.data(), data, size_t(size));
    return content;
}

// The text that content stands for, as ReadWholeFile gives it.
QString textOf(const FileContent& content)
{
    switch (content.kind) {
    case FileContent::Kind::Empty:
        return EmptyFileText();
    case FileContent::Kind::Utf16:
        return DecodeUtf16(content.bytes.data(), content.bytes.size());
    case FileContent::Kind::Utf16BE:
        return DecodeUtf16(content.bytes.data(), content.bytes.size(), true);
    case FileContent::Kind::Ansi:
        return AnsiCodec::Decode(QByteArrayView(content.bytes.data(), content.bytes.size()));
    case FileContent::Kind::Missing:
        break;
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FileContent content = contentOf(reinterpret_cast<const char*>(data), qint64(size));
    const QStringList want = referenceLines(textOf(content));
    const LineTable table = LineTable::FromContent(std::move(content));

    QStringList got;
    for (qsizetype i = 0; i < table.size(); ++i) {
        if (table.isText(i)) {
            // Only a line that has no byte form of its own is held as text.
            holds("a line held as text has no exact encoding",
                  !AnsiCodec::HasExactEncoding(table.text(i)));
            got.append(table.text(i));
        } else {
            holds("a line held as bytes has an owner", table.owner(i) != nullptr);
            got.append(AnsiCodec::Decode(table.bytes(i)));
        }
    }
    same("the lines of the table", got, want);
    return 0;
}
