#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <cstring>
#include <functional>

// What ends each line of a list: CR LF as the window saves it, a line feed
// alone, or NUL (for names that may hold any other byte).
enum class LineEnd
{
    CrLf,
    Lf,
    Nul
};

// Writes a list the way a list file holds it: each line in its encoded form
// (AnsiCodec) followed by CR LF, or by the line end asked for. The lines are gathered into pieces
// of at most a megabyte, each passed on whole when the next line would not fit, so that a list of
// millions of lines needs neither a second copy of itself nor a write for every line. A line longer
// than a piece is passed on by itself, then its line end. The lines added since the last piece go
// out only at Flush: a writer left part-way, by an exception or a cancelled save, passes on nothing
// more.
class ListTextWriter
{
public:
    using Sink = std::function<void(QByteArrayView)>;

    static constexpr qint64 kPieceBytes = qint64(1) << 20;

    // Passes each piece to sink. textBytes bounds the whole text where the
    // caller knows it, so that a short list takes no more room than it needs.
    explicit ListTextWriter(Sink sink, qint64 textBytes = kPieceBytes, LineEnd end = LineEnd::CrLf);
    ListTextWriter(const ListTextWriter&) = delete;
    ListTextWriter& operator=(const ListTextWriter&) = delete;

    // Adds a line given in its encoded form.
    void AddEncoded(QByteArrayView bytes)
    {
        if (bytes.size() + m_lineEnd.size() > m_end - m_at) {
            addPastPiece(bytes);
            return;
        }
        std::memcpy(m_at, bytes.data(), size_t(bytes.size()));
        m_at += bytes.size();
        for (char c : m_lineEnd)
            *m_at++ = c;
    }

    // Adds a line given as text, encoded as a list file holds it.
    void Add(QStringView text);

    // Passes on the lines added since the last piece, if any.
    void Flush();

private:
    void addPastPiece(QByteArrayView bytes);

    Sink m_sink;
    QByteArrayView m_lineEnd; // a literal's bytes
    QByteArray m_piece;
    char* m_begin;
    char* m_at;
    char* m_end;
    QByteArray m_encoded; // a line given as text, encoded
};
