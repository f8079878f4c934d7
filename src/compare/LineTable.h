#pragma once

#include "compare/ByteBuffer.h"
#include "compare/TextFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

class CompareProgress;

// One file's lines, made from its text by removing every carriage return and
// splitting at every line feed (a text with carriage returns but no line feed
// at all is split at them instead; a leading byte-order mark is dropped), and
// held in encoded form (AnsiCodec) wherever a line has one. A line without one
// (a UTF-16 lone surrogate, or escapes that a removed carriage return brought
// together) is held as text.
class LineTable
{
public:
    // Splits the content of a file (Missing, Empty, Ansi, Utf16 or Utf16BE).
    // Throws CompareCancelled soon after progress is cancelled. With ends Nul
    // a NUL ends each line and carriage returns are ordinary bytes: a NUL at
    // the very end leaves no empty line after it, unlike a final line feed.
    static LineTable FromContent(FileContent content, const CompareProgress* progress = nullptr,
                                 ReadOptions::LineEnds ends = ReadOptions::LineEnds::LineFeeds);

    // Reads and splits a file as FromContent(ReadFileContent(path)) would,
    // but maps a regular file (MapFileContent): the table's bytes are the
    // file's for as long as the table lives, so check Unchanged() before
    // trusting anything made of them.
    static LineTable FromMappedFile(const QString& path, const ReadOptions& read = {},
                                    const CompareProgress* progress = nullptr);

    // Splits one piece of a file in the 8-bit encoding that a reader hands
    // over a piece at a time: whole lines joined by line feeds, the line feeds
    // between pieces belonging to neither (so an empty piece is one empty
    // line). Only the first piece may start with a byte-order mark; carriage
    // returns are never the line breaks, as the file has a line feed. With
    // ends Nul, the same with NUL for line feed.
    static LineTable FromPiece(ByteBuffer bytes, bool first,
                               ReadOptions::LineEnds ends = ReadOptions::LineEnds::LineFeeds);

    // Splits an already decoded text.
    static LineTable FromText(const QString& text,
                              ReadOptions::LineEnds ends = ReadOptions::LineEnds::LineFeeds);

    // A table of no lines yet over the bytes lines is split from, to be
    // filled with lines made of its lines (a key table). Such tables made
    // over the same lines may be filled on different threads, then joined.
    static LineTable Over(const LineTable& lines);
    void Reserve(qsizetype lines) { m_lines.reserve(size_t(lines)); }
    // Makes room for bytes more bytes of lines copied in (AddBytes): room
    // that is never written costs no memory.
    void ReserveBytes(qint64 bytes) { m_side->reserve(m_side->size() + bytes); }
    // Faults in at once the room, within what was reserved, for the next
    // bytes bytes copied in: one call rather than a fault a page.
    void PrepareBytes(qint64 bytes);
    // Appends a line: a part of the shared bytes when the bytes lie in them,
    // without a copy, else a copy of its own.
    void AddBytes(QByteArrayView bytes);
    // Appends a line given as text: encoded where it has an exact encoding,
    // else held as text.
    void AddText(QStringView text) { addText(text); }
    // Appends the lines of a table made over the same bytes.
    void Append(LineTable&& other) { append(std::move(other)); }

    // Leaves the first line out (a header line), the others moving up one.
    void DropFirst()
    {
        if (!m_lines.empty())
            m_lines.erase(m_lines.begin());
    }

    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isText(qsizetype i) const { return wide(i).text; }
    QByteArrayView bytes(qsizetype i) const
    {
        const Wide r = wide(i);
        return QByteArrayView((r.side ? m_side->constData() : m_raw->data()) + r.off, r.len);
    }
    const QString& text(qsizetype i) const { return m_texts[size_t(wide(i).off)]; }
    // The bytes the lines are held in; a line held as text takes up to 3
    // bytes a character when encoded, not counted here.
    qint64 ByteSize() const { return m_raw->size() + m_side->size(); }
    // False once a mapped file's bytes changed under the table (ByteBuffer::Unchanged).
    bool Unchanged() const { return m_raw->Unchanged(); }
    // What keeps the bytes of line i alive, for a list that keeps them without a copy.
    std::shared_ptr<const void> owner(qsizetype i) const;

private:
    // Where a line is: eight bytes a line, as files have millions of them. The
    // low 24 bits hold the length, the next bit whether the line is in m_side,
    // the rest the offset; a line that does not fit (very long, far out, or
    // held as text) has kOverflow as length and its index in m_overflow as offset.
    using Ref = quint64;
    static constexpr quint64 kOverflow = (quint64(1) << 24) - 1;
    struct Wide
    {
        qint64 off; // into m_raw or m_side, or into m_texts for text
        qint64 len;
        bool side;
        bool text;
    };
    void push(qint64 off, qint64 len, bool side, bool text = false);
    Wide wide(qsizetype i) const
    {
        const Ref r = m_lines[size_t(i)];
        if ((r & kOverflow) == kOverflow)
            return m_overflow[size_t(r >> 25)];
        return {qint64(r >> 25), qint64(r & kOverflow), bool(r & (quint64(1) << 24)), false};
    }

    // Splits the bytes [from, end) of the file's bytes, which start at data: the whole file, or a
    // part of it between line feeds (a part is a line at least, and only the first may start with a
    // byte-order mark). Room for the lines is made unless some was reserved already.
    void splitEncoded(const CompareProgress* progress, const char* data, const char* from,
                      const char* end, bool wholeFile, bool first);
    static qsizetype countLineFeeds(const char* from, const char* end);
    // The same as splitEncoded for lines ended by NUL.
    void splitAtNul(const CompareProgress* progress, const char* data, const char* from,
                    const char* end, bool wholeFile, bool first);
    // Appends the lines of other, split from the same bytes.
    void append(LineTable&& other);
    void addPieceWithCarriageReturns(const char* begin, const char* end);
    void addText(QStringView line);

    // The file's bytes, when it was read in the 8-bit encoding.
    std::shared_ptr<ByteBuffer> m_raw = std::make_shared<ByteBuffer>();
    // Lines that had to be rewritten.
    std::shared_ptr<QByteArray> m_side = std::make_shared<QByteArray>();
    std::vector<Ref> m_lines;
    std::vector<Wide> m_overflow;
    std::vector<QString> m_texts;
};
