#include "platform/ListTextWriter.h"

#include "platform/AnsiCodec.h"

#include <algorithm>
#include <utility>

namespace {

QByteArrayView lineEndBytes(LineEnd end)
{
    switch (end) {
    case LineEnd::Lf:
        return QByteArrayView("\n", 1);
    case LineEnd::Nul:
        return QByteArrayView("\0", 1);
    case LineEnd::CrLf:
        break;
    }
    return QByteArrayView("\r\n", 2);
}

} // namespace

ListTextWriter::ListTextWriter(Sink sink, qint64 textBytes, LineEnd end)
    : m_sink(std::move(sink)), m_lineEnd(lineEndBytes(end)),
      // Room for an empty line at least, so that no piece is ever empty.
      m_piece(qsizetype(std::clamp<qint64>(textBytes, 2, kPieceBytes)), Qt::Uninitialized),
      m_begin(m_piece.data()), m_at(m_begin), m_end(m_begin + m_piece.size())
{
}

void ListTextWriter::Add(QStringView text)
{
    m_encoded.resize(0);
    AnsiCodec::AppendEncoded(text, m_encoded);
    AddEncoded(m_encoded);
}

void ListTextWriter::Flush()
{
    if (m_at != m_begin)
        m_sink(QByteArrayView(m_begin, m_at - m_begin));
    m_at = m_begin;
}

void ListTextWriter::addPastPiece(QByteArrayView bytes)
{
    Flush();
    if (bytes.size() + m_lineEnd.size() <= m_end - m_at) {
        AddEncoded(bytes);
        return;
    }
    m_sink(bytes);
    m_sink(m_lineEnd);
}
