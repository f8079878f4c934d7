#include "compare/LineTable.h"

#include "compare/CompareProgress.h"
#include "compare/SideBySide.h"
#include "compare/TextFile.h"
#include "platform/AnsiCodec.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <sys/mman.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

LineTable LineTable::FromContent(FileContent content, const CompareProgress* progress,
                                 ReadOptions::LineEnds ends)
{
    switch (content.kind) {
    case FileContent::Kind::Missing:
        return LineTable();
    case FileContent::Kind::Empty:
        return FromText(EmptyFileText(), ends);
    case FileContent::Kind::Utf16:
    case FileContent::Kind::Utf16BE: {
        // The byte-order mark says how the file is encoded; it is no part of the first line.
        QString text = DecodeUtf16(content.bytes.data(), content.bytes.size(),
                                   content.kind == FileContent::Kind::Utf16BE);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return FromText(text, ends);
    }
    case FileContent::Kind::Ansi:
        break;
    }
    LineTable table;
    table.m_raw = std::make_shared<ByteBuffer>(std::move(content.bytes));
    const char* const data = table.m_raw->data();
    const qint64 size = table.m_raw->size();
    if (ends == ReadOptions::LineEnds::Nul) {
        table.splitAtNul(progress, data, data, data + size, true, true);
        return table;
    }
    // A big file is split in two halves side by side, cut at the first line
    // feed past its middle; one without a line feed there is split whole.
    const void* cut = size >= (qint64(4) << 20)
                          ? std::memchr(data + size / 2, '\n', size_t(size - size / 2))
                          : nullptr;
    if (!cut) {
        table.splitEncoded(progress, data, data, data + size, true, true);
        return table;
    }
    const char* const middle = static_cast<const char*>(cut);
    LineTable second;
    second.m_raw = table.m_raw;
    // Counted first, so the first half's lines have room for the second's.
    qsizetype firstFeeds = 0, secondFeeds = 0;
    RunSideBySide([&] { firstFeeds = countLineFeeds(data, middle); },
                  [&] { secondFeeds = countLineFeeds(middle + 1, data + size); });
    table.m_lines.reserve(size_t(firstFeeds + secondFeeds + 2));
    second.m_lines.reserve(size_t(secondFeeds + 1));
    RunSideBySide(
        [&] { table.splitEncoded(progress, data, data, middle, false, true); },
        [&] { second.splitEncoded(progress, data, middle + 1, data + size, false, false); });
    table.append(std::move(second));
    return table;
}

namespace {

// Which of the 64 bytes at p are line feeds (bit i for byte i), and which
// are line feeds or carriage returns.
struct BreakBits
{
    quint64 lineFeeds, breaks;
};

inline BreakBits breakBits(const char* p)
{
    quint64 lineFeeds = 0, returns = 0;
#ifdef __SSE2__
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        lineFeeds |= quint64(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)))) << (16 * k);
        returns |= quint64(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)))) << (16 * k);
    }
#else
    for (int k = 0; k < 64; ++k) {
        lineFeeds |= quint64(p[k] == '\n') << k;
        returns |= quint64(p[k] == '\r') << k;
    }
#endif
    return {lineFeeds, lineFeeds | returns};
}

// Calls line(begin, lineFeed, firstCr) for each line of [from, end) in
// order: the lines end at line feeds, the last at end; firstCr is the first
// carriage return in the line, or null. 64 bytes are looked at a time.
template <typename Line> void forEachLine(const char* from, const char* end, Line&& line)
{
    const char* start = from;
    const char* firstCr = nullptr;
    auto at = [&](const char* p) {
        if (*p == '\r') {
            if (!firstCr)
                firstCr = p;
            return;
        }
        line(start, p, firstCr);
        start = p + 1;
        firstCr = nullptr;
    };
    const char* p = from;
    for (; end - p >= 64; p += 64) {
        for (quint64 bits = breakBits(p).breaks; bits; bits &= bits - 1)
            at(p + __builtin_ctzll(bits));
    }
    for (; p < end; ++p) {
        if (*p == '\n' || *p == '\r')
            at(p);
    }
    line(start, end, firstCr);
}

} // namespace

qsizetype LineTable::countLineFeeds(const char* from, const char* end)
{
    qsizetype count = 0;
    const char* p = from;
#ifdef __SSE2__
    // Each byte of the counters counts the line feeds in its column (a match
    // compares as -1 and is taken away). A round of 64 bytes adds up to four
    // to a column, so the counters are summed every 63 rounds, before one can
    // wrap: no bit count per 64 bytes, a call into libgcc on the baseline target.
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 64) {
        __m128i counters = _mm_setzero_si128();
        for (int round = 0; round < 63 && end - p >= 64; ++round, p += 64) {
            for (int k = 0; k < 4; ++k) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
                counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(v, lf));
            }
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count +=
            qsizetype(_mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    }
#else
    for (; end - p >= 64; p += 64)
        count += __builtin_popcountll(breakBits(p).lineFeeds);
#endif
    for (; p < end; ++p)
        count += *p == '\n';
    return count;
}

void LineTable::append(LineTable&& other)
{
    // Both tables' bytes are the same buffer; lines rewritten or held as
    // text move to the places they take here.
    if (other.m_overflow.empty() && other.m_side->isEmpty()) {
        m_lines.insert(m_lines.end(), other.m_lines.begin(), other.m_lines.end());
        return;
    }
    const qint64 sideBase = m_side->size(), textBase = qint64(m_texts.size());
    m_lines.reserve(m_lines.size() + other.m_lines.size());
    for (qsizetype i = 0; i < other.size(); ++i) {
        const Wide line = other.wide(i);
        push(line.off + (line.text   ? textBase
                         : line.side ? sideBase
                                     : 0),
             line.len, line.side, line.text);
    }
    m_side->append(*other.m_side);
    std::move(other.m_texts.begin(), other.m_texts.end(), std::back_inserter(m_texts));
}

LineTable LineTable::FromMappedFile(const QString& path, const ReadOptions& read,
                                    const CompareProgress* progress)
{
    return FromContent(MapFileContent(path, read), progress, read.lineEnds);
}

LineTable LineTable::FromPiece(ByteBuffer bytes, bool first, ReadOptions::LineEnds ends)
{
    LineTable table;
    table.m_raw = std::make_shared<ByteBuffer>(std::move(bytes));
    const char* const data = table.m_raw->data();
    if (ends == ReadOptions::LineEnds::Nul)
        table.splitAtNul(nullptr, data, data, data + table.m_raw->size(), false, first);
    else
        table.splitEncoded(nullptr, data, data, data + table.m_raw->size(), false, first);
    return table;
}

LineTable LineTable::FromText(const QString& text, ReadOptions::LineEnds ends)
{
    LineTable table;
    if (ends == ReadOptions::LineEnds::Nul) {
        if (text.isEmpty())
            return table;
        // A NUL ends its line: none follows a NUL at the very end.
        QStringView lines(text);
        if (lines.endsWith(QChar(0)))
            lines.chop(1);
        for (const QStringView line : lines.split(QChar(0)))
            table.addText(line);
        return table;
    }
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

LineTable LineTable::Over(const LineTable& lines)
{
    LineTable table;
    table.m_raw = lines.m_raw;
    return table;
}

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

void LineTable::PrepareBytes(qint64 bytes)
{
    const qint64 from = m_side->size();
    const qint64 to = std::min<qint64>(from + bytes, m_side->capacity());
    if (to <= from)
        return;
    // Whole pages only: the page the bytes end in now is in already. A
    // kernel without the advice faults the pages in as they are written.
    constexpr quintptr kPage = 4096;
    char* const data = m_side->data();
    const quintptr first = (quintptr(data + from) + kPage - 1) & ~(kPage - 1);
    const quintptr last = quintptr(data + to) & ~(kPage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), size_t(last - first), MADV_POPULATE_WRITE);
}

void LineTable::AddBytes(QByteArrayView bytes)
{
    const auto at = reinterpret_cast<quintptr>(bytes.data());
    const auto raw = reinterpret_cast<quintptr>(m_raw->data());
    if (!bytes.isEmpty() && at >= raw && at - raw <= quintptr(m_raw->size()) &&
        quintptr(bytes.size()) <= quintptr(m_raw->size()) - (at - raw)) {
        push(qint64(at - raw), bytes.size(), false);
        return;
    }
    const qsizetype off = m_side->size();
    m_side->append(bytes);
    push(off, bytes.size(), true);
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

void LineTable::splitEncoded(const CompareProgress* progress, const char* data, const char* from,
                             const char* end, bool wholeFile, bool first)
{
    auto checkNow = [this, progress] {
        if (progress && m_lines.size() % (1 << 16) == 0)
            progress->ThrowIfCancelled();
    };
    auto find = [end](const char* at, char c) {
        const void* hit = std::memchr(at, c, size_t(end - at));
        return hit ? static_cast<const char*>(hit) : end;
    };
    // A UTF-8 byte-order mark says how the file is encoded; it is no part of the first line.
    const char* start = from;
    if (first && end - from >= 3 && std::memcmp(from, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    // A whole file of nothing but a mark has no lines; a piece is a line at least.
    if (start == end && wholeFile)
        return;
    const qsizetype lineFeeds =
        m_lines.capacity() > m_lines.size() ? -1 : countLineFeeds(start, end);
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
    if (lineFeeds >= 0) // twice as much at least, when lines are added to many
        m_lines.reserve(std::max(m_lines.size() + size_t(lineFeeds + 1), 2 * m_lines.size()));
    forEachLine(start, end, [&](const char* begin, const char* lf, const char* firstCr) {
        checkNow();
        if (!firstCr) {
            push(begin - data, lf - begin, false);
            return;
        }
        // Carriage returns at the end of a line (the usual CR LF) are simply cut off.
        const char* cut = lf;
        while (cut > begin && cut[-1] == '\r')
            --cut;
        if (firstCr >= cut)
            push(begin - data, cut - begin, false);
        else
            addPieceWithCarriageReturns(begin, lf);
    });
}

void LineTable::splitAtNul(const CompareProgress* progress, const char* data, const char* from,
                           const char* end, bool wholeFile, bool first)
{
    const char* start = from;
    if (first && end - from >= 3 && std::memcmp(from, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    if (start == end && wholeFile)
        return;
    for (;;) {
        if (progress && m_lines.size() % (1 << 16) == 0)
            progress->ThrowIfCancelled();
        const void* hit = std::memchr(start, '\0', size_t(end - start));
        const char* nul = hit ? static_cast<const char*>(hit) : end;
        // A NUL ends its line, as for comm -z and xargs -0: one at the very
        // end of the file leaves no empty line after it. (A piece ends where
        // a NUL was, and what follows is a line of the next.)
        if (wholeFile && nul == end && start == end && start != from)
            return;
        push(start - data, nul - start, false);
        if (nul == end)
            return;
        start = nul + 1;
    }
}
