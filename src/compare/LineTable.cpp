#include "LineTable.h"

#include "AnsiCodec.h"
#include "CompareProgress.h"
#include "TextFile.h"

#include <cstring>

LineTable LineTable::FromContent(FileContent content, const CompareProgress* progress)
{
    switch (content.kind) {
    case FileContent::Kind::Missing:
        return LineTable();
    case FileContent::Kind::Empty:
        return FromText(EmptyFileText());
    case FileContent::Kind::Utf16: {
        // The byte-order mark says how the file is encoded; it is no part of the first line.
        QString text = DecodeUtf16(content.bytes.data(), content.bytes.size());
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return FromText(text);
    }
    case FileContent::Kind::Ansi:
        break;
    }
    LineTable table;
    table.m_raw = std::make_shared<ByteBuffer>(std::move(content.bytes));
    table.splitEncoded(progress, true, true);
    return table;
}

LineTable LineTable::FromPiece(ByteBuffer bytes, bool first)
{
    LineTable table;
    table.m_raw = std::make_shared<ByteBuffer>(std::move(bytes));
    table.splitEncoded(nullptr, false, first);
    return table;
}

LineTable LineTable::FromText(const QString& text)
{
    LineTable table;
    QString stripped = text;
    // A text with carriage returns but no line feed at all breaks its lines at them.
    const bool crOnly = !text.contains(QLatin1Char('\n')) && text.contains(QLatin1Char('\r'));
    if (crOnly)
        stripped.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    else
        stripped.remove(QLatin1Char('\r'));
    // The empty text has no lines at all, not one empty line.
    if (stripped.isEmpty())
        return table;
    qsizetype start = 0;
    for (;;) {
        const qsizetype lf = stripped.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = lf < 0 ? stripped.size() : lf;
        table.addText(QStringView(stripped).mid(start, end - start));
        if (lf < 0)
            break;
        start = lf + 1;
    }
    return table;
}

void LineTable::push(qint64 off, qint64 len, bool side, bool text)
{
    if (text || len >= qint64(kOverflow) || off >= (qint64(1) << 39)) {
        m_lines.push_back((quint64(m_overflow.size()) << 25) | kOverflow);
        m_overflow.push_back({off, len, side, text});
        return;
    }
    m_lines.push_back((quint64(off) << 25) | (side ? quint64(1) << 24 : 0) | quint64(len));
}

QByteArrayView LineTable::bytes(qsizetype i) const
{
    const Wide r = wide(i);
    if (r.side)
        return QByteArrayView(m_side->constData() + r.off, r.len);
    return QByteArrayView(m_raw->data() + r.off, r.len);
}

std::shared_ptr<const void> LineTable::owner(qsizetype i) const
{
    if (wide(i).side)
        return m_side;
    return m_raw;
}

void LineTable::addText(QStringView line)
{
    if (AnsiCodec::HasExactEncoding(line)) {
        const qsizetype off = m_side->size();
        AnsiCodec::AppendEncoded(line, *m_side);
        push(off, m_side->size() - off, true);
    } else {
        push(qint64(m_texts.size()), 0, false, true);
        m_texts.emplace_back(line.toString());
    }
}

void LineTable::addPieceWithCarriageReturns(const char* begin, const char* end)
{
    // Carriage returns inside a line: each piece between them decodes on its
    // own, as the text would, and the pieces are joined.
    QString joined;
    const char* piece = begin;
    for (const char* p = begin; p <= end; ++p) {
        if (p == end || *p == '\r') {
            joined += AnsiCodec::Decode(QByteArrayView(piece, p - piece));
            piece = p + 1;
        }
    }
    addText(joined);
}

void LineTable::splitEncoded(const CompareProgress* progress, bool wholeFile, bool first)
{
    auto checkNow = [this, progress] {
        if (progress && m_lines.size() % (1 << 16) == 0)
            progress->ThrowIfCancelled();
    };
    const char* const data = m_raw->data();
    const char* const end = data + m_raw->size();
    auto find = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, size_t(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    // A UTF-8 byte-order mark says how the file is encoded; it is no part of the first line.
    const char* start = data;
    if (first && end - data >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    // A whole file of nothing but a mark has no lines; a piece is a line at least.
    if (start == end && wholeFile)
        return;
    qsizetype lineFeeds = 0;
    for (const char* p = start;
         (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++lineFeeds;
    if (wholeFile && lineFeeds == 0 && find(start, '\r') != end) {
        // Carriage returns but no line feed at all: they are the line breaks.
        for (;;) {
            checkNow();
            const char* cr = find(start, '\r');
            push(start - data, cr - start, false);
            if (cr == end)
                break;
            start = cr + 1;
        }
        return;
    }
    m_lines.reserve(size_t(lineFeeds + 1));
    const char* nextCr = find(start, '\r');
    for (;;) {
        checkNow();
        const char* lf = find(start, '\n');
        if (nextCr >= lf) {
            push(start - data, lf - start, false);
        } else {
            // Carriage returns at the end of a line (the usual CR LF) are simply cut off.
            const char* cut = lf;
            while (cut > start && cut[-1] == '\r')
                --cut;
            if (nextCr >= cut)
                push(start - data, cut - start, false);
            else
                addPieceWithCarriageReturns(start, lf);
            nextCr = lf == end ? end : find(lf + 1, '\r');
        }
        if (lf == end)
            break;
        start = lf + 1;
    }
}
