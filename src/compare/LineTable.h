#pragma once

#include "ByteBuffer.h"
#include "TextFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <vector>

// One file's lines, made from its text by removing every carriage return and
// splitting at every line feed, and held in encoded form (AnsiCodec) wherever
// a line has one. A line without one (a UTF-16 lone surrogate, or escapes that
// a removed carriage return brought together) is held as text.
class LineTable
{
public:
    // Splits the content of a file (Missing, Empty, Ansi or Utf16).
    static LineTable FromContent(FileContent content);

    // Splits an already decoded text.
    static LineTable FromText(const QString& text);

    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isText(qsizetype i) const { return m_lines[size_t(i)].len < 0; }
    QByteArrayView bytes(qsizetype i) const;
    const QString& text(qsizetype i) const { return m_texts[size_t(m_lines[size_t(i)].off)]; }
    // What keeps the bytes of line i alive, for a list that keeps them without a copy.
    std::shared_ptr<const void> owner(qsizetype i) const;

private:
    struct Ref
    {
        qint64 off; // into m_raw, or into m_side when len has kSideBit, or into m_texts
        qint64 len; // negative for a line held as text
    };
    static constexpr qint64 kSideBit = qint64(1) << 61;

    void splitEncoded();
    void addPieceWithCarriageReturns(const char* begin, const char* end);
    void addText(QStringView line);

    // The file's bytes, when it was read in the 8-bit encoding.
    std::shared_ptr<ByteBuffer> m_raw = std::make_shared<ByteBuffer>();
    // Lines that had to be rewritten.
    std::shared_ptr<QByteArray> m_side = std::make_shared<QByteArray>();
    std::vector<Ref> m_lines;
    std::vector<QString> m_texts;
};
