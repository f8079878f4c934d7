#include "compare/KeyTable.h"

#include "compare/CompareProgress.h"
#include "compare/LineKeys.h"
#include "compare/SideBySide.h"
#include "platform/AnsiCodec.h"

#include <QByteArrayView>
#include <QChar>
#include <QStringView>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

namespace {

inline char unitOf(QByteArrayView, char c)
{
    return c;
}

inline QChar unitOf(QStringView, char c)
{
    return QLatin1Char(c);
}

// Where a field lies in its line: [begin, end) as it stands, or when quoted
// the text between its opening quote and close (-1: none, the field runs
// to the line's end), each doubled quote in it one, then the rest as it stands.
struct FieldSpan
{
    qsizetype begin = 0, end = 0;
    bool quoted = false;
    bool doubled = false; // a doubled quote inside
    qsizetype close = -1;

    // Whether the field is a plain part of its line.
    bool plain() const { return !quoted || (!doubled && (close < 0 || close + 1 == end)); }
    qsizetype plainBegin() const { return quoted ? begin + 1 : begin; }
    qsizetype plainEnd() const { return quoted && close >= 0 ? close : end; }
};

// Field n (from 1) of line, split at delim, or at runs of blanks and tabs
// (blankRuns; those at the line's ends make no field). With quotes a field
// that starts with a double quote runs to its closing quote. A line of fewer
// fields gives an empty span. Each field is looked at once: linear in the line.
template <typename View>
FieldSpan fieldOf(View line, View delim, int n, bool blankRuns, bool quotes)
{
    const qsizetype size = line.size();
    qsizetype pos = 0;
    if (blankRuns) {
        const auto blank = unitOf(line, ' '), tab = unitOf(line, '\t');
        auto isBlank = [&](qsizetype i) { return line[i] == blank || line[i] == tab; };
        for (int f = 1;; ++f) {
            while (pos < size && isBlank(pos))
                ++pos;
            if (pos == size)
                return {};
            qsizetype end = pos;
            while (end < size && !isBlank(end))
                ++end;
            if (f == n)
                return {pos, end};
            pos = end;
        }
    }
    const auto quote = unitOf(line, '"');
    for (int f = 1;; ++f) {
        FieldSpan span{pos, size};
        qsizetype after = pos; // where the delimiter may be
        if (quotes && pos < size && line[pos] == quote) {
            span.quoted = true;
            after = size; // unless a closing quote is found
            for (qsizetype from = pos + 1;;) {
                const qsizetype at = line.indexOf(quote, from);
                if (at < 0)
                    break;
                if (at + 1 < size && line[at + 1] == quote) {
                    span.doubled = true;
                    from = at + 2;
                    continue;
                }
                span.close = at;
                after = at + 1;
                break;
            }
        }
        const qsizetype next = after < size ? line.indexOf(delim, after) : -1;
        span.end = next < 0 ? size : next;
        if (f == n)
            return span;
        if (next < 0)
            return {};
        pos = next + delim.size();
    }
}

// The text of a quoted field: what its quotes hold, each doubled quote one,
// then what follows the closing quote.
template <typename View, typename Out> void unquote(View line, const FieldSpan& span, Out& out)
{
    const auto quote = unitOf(line, '"');
    const qsizetype contentEnd = span.close < 0 ? span.end : span.close;
    qsizetype from = span.begin + 1;
    while (from < contentEnd) {
        qsizetype at = line.indexOf(quote, from);
        if (at < 0 || at >= contentEnd)
            at = contentEnd;
        else
            ++at; // keeps one quote of the two
        out.append(line.sliced(from, at - from));
        from = at < contentEnd ? at + 1 : contentEnd;
    }
    if (span.close >= 0)
        out.append(line.sliced(span.close + 1, span.end - span.close - 1));
}

bool isZeroWidth(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x200B && u <= 0x200D) || u == 0x2060 || u == 0xFEFF;
}

// Whether bytes hold nothing beyond ASCII, eight at a time.
bool allAscii(QByteArrayView bytes)
{
    const char* p = bytes.data();
    qsizetype n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    return true;
}

// Whether bytes are already their look-alike form: ASCII, and letters from
// U+00A1 to U+017F as valid UTF-8 (so no no-break space, no control, no byte
// of no sequence). NFC leaves such a text as it is: none of these characters
// is a space, zero-width, a combining mark or the start of a decomposition
// that a mark after it could change, and none follows a letter to combine.
bool lookAlikeAsIs(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if (!(word & 0x8080808080808080ull)) {
                p += 8;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        if (end - p < 2 || (p[1] & 0xC0) != 0x80)
            return false;
        if (lead == 0xC2 ? p[1] < 0xA1 : (lead < 0xC3 || lead > 0xC5))
            return false;
        p += 2;
    }
    return true;
}

// Makes keys, with what one thread needs for it.
class KeyMaker
{
public:
    KeyMaker(const CompareOptions& options, const CompareProgress* progress)
        : m_options(options), m_userKeys(options), m_progress(progress)
    {
        if (options.field > 0 && options.OneCharacterDelimiter()) {
            const QChar delimiter = options.delimiter.front();
            m_blankRuns = options.delimiter == CompareOptions::BlankRuns();
            m_quotes = delimiter == QLatin1Char(',') || delimiter == QLatin1Char(';');
            // A character's UTF-8 bytes are found in a line's bytes only where
            // the decoded line holds the character; a lone surrogate has none.
            m_bytesSplit = options.delimiter.size() == 2 || !delimiter.isSurrogate();
            m_delimiterBytes = options.delimiter.toUtf8();
        }
    }

    qsizetype GaveUp() const { return m_userKeys.GaveUp(); }

    void add(const LineTable& lines, qsizetype i, LineTable& out)
    {
        const bool field = m_options.field > 0;
        const bool pattern = !m_options.keyPattern.isEmpty();
        const bool widened = pattern && !lines.isText(i) && widen(lines.bytes(i));
        if (lines.isText(i) || (pattern && !widened) || (field && !m_bytesSplit) ||
            !m_options.moreFields.isEmpty()) {
            addText(lines.isText(i) ? lines.text(i) : AnsiCodec::Decode(lines.bytes(i)), out);
            return;
        }
        const QByteArrayView line = lines.bytes(i);
        QByteArrayView key = line;
        if (widened) {
            // A line of valid UTF-8 is matched as it reads, and its key is
            // the stretch of its own bytes that the match covers.
            const KeyForm::UserKeys::Span span =
                m_userKeys.PatternSpan(QStringView(m_wide.data(), m_units));
            if (span.first + span.length <= m_asciiUnits) {
                key = line.sliced(span.first, span.length); // a byte a character
            } else {
                const qsizetype first = byteAt(line, 0, 0, span.first);
                const qsizetype last = byteAt(line, first, span.first, span.first + span.length);
                key = line.sliced(first, last - first);
            }
        } else if (field) {
            const FieldSpan span = fieldOf(line, QByteArrayView(m_delimiterBytes), m_options.field,
                                           m_blankRuns, m_quotes);
            if (span.plain()) {
                key = line.sliced(span.plainBegin(), span.plainEnd() - span.plainBegin());
            } else {
                m_scratch.resize(0);
                unquote(line, span, m_scratch);
                // Bytes beyond ASCII brought together may spell a character
                // that neither part held: those keys are made from the text.
                if (!allAscii(m_scratch)) {
                    addText(AnsiCodec::Decode(line), out);
                    return;
                }
                key = m_scratch;
            }
        }
        if (m_options.lookAlike && !lookAlikeAsIs(key))
            out.AddText(KeyForm::LookAlike(AnsiCodec::Decode(key), m_progress));
        else
            out.AddBytes(key);
    }

private:
    // Decodes a line into m_wide (m_units of it), as AnsiCodec::Decode
    // would, when every byte of it is part of valid UTF-8 (it then reads as
    // it stands, as KeyForm::Matchable leaves it); false for any other line.
    bool widen(QByteArrayView line)
    {
        if (m_wide.size() < size_t(line.size()))
            m_wide.resize(size_t(line.size()));
        m_units = AnsiCodec::DecodeInto(line, m_wide.data(), true);
        m_asciiUnits = m_units < 0 ? 0 : AnsiCodec::AsciiPrefix(line);
        return m_units >= 0;
    }

    // The byte of line (valid UTF-8) where its UTF-16 unit `unit` starts,
    // counting on from byte `from`, where unit `fromUnit` starts.
    static qsizetype byteAt(QByteArrayView line, qsizetype from, qsizetype fromUnit, qsizetype unit)
    {
        qsizetype at = from;
        for (qsizetype u = fromUnit; u < unit; ++at) {
            const uchar c = uchar(line[at]);
            // A lead byte starts a character: four bytes take two units.
            if ((c & 0xC0) != 0x80)
                u += c >= 0xF0 ? 2 : 1;
        }
        // Past the lead byte, to the character's end.
        while (at < line.size() && (uchar(line[at]) & 0xC0) == 0x80)
            ++at;
        return at;
    }

    void addText(const QString& line, LineTable& out)
    {
        const QString key = m_userKeys.Of(line);
        out.AddText(m_options.lookAlike ? KeyForm::LookAlike(key, m_progress) : key);
    }

private:
    const CompareOptions& m_options;
    KeyForm::UserKeys m_userKeys;
    const CompareProgress* m_progress; // looked at within a long line's look-alike form
    bool m_blankRuns = false, m_quotes = false, m_bytesSplit = false;
    QByteArray m_delimiterBytes;
    QByteArray m_scratch;
    std::vector<char16_t> m_wide; // grows, never shrinks
    qsizetype m_units = 0;
    qsizetype m_asciiUnits = 0; // how many units of m_wide stand for a byte each
};

qsizetype addRange(const LineTable& lines, qsizetype from, qsizetype to,
                   const CompareOptions& options, const CompareProgress* progress, LineTable& out)
{
    KeyMaker maker(options, progress);
    out.Reserve(to - from);
    for (qsizetype i = from; i < to; ++i) {
        // Every line: a key pattern of the user's may take the regular
        // expression engine a long while on one line (nested repeats), and
        // Cancel must not wait for thousands of them. One relaxed load.
        if (progress)
            progress->ThrowIfCancelled();
        maker.add(lines, i, out);
    }
    return maker.GaveUp();
}

} // namespace

namespace KeyForm {

UserKeys::UserKeys(const CompareOptions& options)
    : m_options(options),
      // Ignoring case, the pattern matches either case of each letter; the
      // key it takes is folded afterwards, as any other key.
      m_pattern(options.keyPattern, options.matchCase ? QRegularExpression::NoPatternOption
                                                      : QRegularExpression::CaseInsensitiveOption)
{
    if (!options.keyPattern.isEmpty())
        m_pattern.optimize();
    m_blankRuns = options.delimiter == CompareOptions::BlankRuns();
    m_quotes = options.delimiter == QStringLiteral(",") || options.delimiter == QStringLiteral(";");
}

bool UserKeys::WholeLines() const
{
    return m_options.keyPattern.isEmpty() &&
           (m_options.field <= 0 || !m_options.OneCharacterDelimiter());
}

UserKeys::Span UserKeys::PatternSpan(QStringView matchable) const
{
    // A line the pattern does not match is its own key; a group that took
    // no part in the match gives the empty key.
    const QRegularExpressionMatch match = m_pattern.match(matchable);
    if (!match.hasMatch()) {
        // A pattern that compiled and yet gives no answer hit a limit.
        if (!match.isValid())
            ++m_gaveUp;
        return {0, matchable.size()};
    }
    const int group = m_pattern.captureCount() > 0 ? 1 : 0;
    if (match.capturedStart(group) < 0)
        return {0, 0};
    return {match.capturedStart(group), match.capturedLength(group)};
}

QString UserKeys::Of(const QString& line) const
{
    if (!m_options.keyPattern.isEmpty()) {
        const Span span = PatternSpan(KeyForm::Matchable(line));
        return line.sliced(span.first, span.length);
    }
    if (m_options.field <= 0 || !m_options.OneCharacterDelimiter())
        return line;
    if (!m_options.moreFields.isEmpty()) {
        // Several fields: each as a field alone is taken (its look-alike
        // form, then without the blanks at its ends), then joined so that no
        // two lists of fields give one key. A key whose fields are all empty
        // is the empty key, which Skip Empty leaves out.
        const QStringList fields = Fields(line, m_options);
        QStringList key;
        bool empty = true;
        for (const int f : m_options.KeyFields()) {
            QString field = f <= fields.size() ? fields[f - 1] : QString();
            if (m_options.lookAlike)
                field = LookAlike(field);
            if (m_options.ignoreBlanks)
                field = Engine::comparedPart(QStringView(field), true).toString();
            empty = empty && field.isEmpty();
            key.append(field);
        }
        return empty ? QString() : JoinedFields(key, m_options);
    }
    const QStringView view(line);
    const FieldSpan span =
        fieldOf(view, QStringView(m_options.delimiter), m_options.field, m_blankRuns, m_quotes);
    if (span.plain())
        return line.sliced(span.plainBegin(), span.plainEnd() - span.plainBegin());
    QString key;
    unquote(view, span, key);
    return key;
}

QStringList Fields(const QString& line, const CompareOptions& options)
{
    QStringList fields;
    if (!options.OneCharacterDelimiter())
        return {line};
    const QStringView view(line);
    const bool blankRuns = options.delimiter == CompareOptions::BlankRuns();
    if (blankRuns) {
        // By hand: no pattern matches a text that holds a lone surrogate.
        qsizetype from = -1;
        for (qsizetype i = 0; i <= view.size(); ++i) {
            const bool blank = i == view.size() || Engine::isBlank(view[i]);
            if (blank && from >= 0) {
                fields.append(view.sliced(from, i - from).toString());
                from = -1;
            } else if (!blank && from < 0) {
                from = i;
            }
        }
        return fields;
    }
    const QChar delimiter = options.delimiter.front();
    const bool quotes = delimiter == QLatin1Char(',') || delimiter == QLatin1Char(';');
    const QStringView delim(options.delimiter);
    // Field by field, as fieldOf finds each.
    qsizetype pos = 0;
    for (;;) {
        const QStringView rest = view.sliced(pos);
        const FieldSpan span = fieldOf(rest, delim, 1, false, quotes);
        if (span.plain()) {
            fields.append(
                rest.sliced(span.plainBegin(), span.plainEnd() - span.plainBegin()).toString());
        } else {
            QString text;
            unquote(rest, span, text);
            fields.append(text);
        }
        if (span.end >= rest.size())
            return fields;
        pos += span.end + delim.size();
    }
}

QString JoinedFields(const QStringList& fields, const CompareOptions& options)
{
    // Joined at the delimiter where no field can hold it (or holds it only
    // quoted) and case leaves it as it is; else at commas, quoted.
    // Fields split at runs of blanks hold none, but their look-alike forms
    // may (a no-break space): they are joined at commas too.
    QChar at = QLatin1Char(',');
    bool quote = true;
    if (options.delimiter.size() == 1 && options.delimiter != CompareOptions::BlankRuns() &&
        options.delimiter.front().unicode() < 0x80 && !options.delimiter.front().isLetter()) {
        at = options.delimiter.front();
        quote = at == QLatin1Char(',') || at == QLatin1Char(';');
    }
    QString joined;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            joined.append(at);
        const QString& field = fields[i];
        if (quote && (field.contains(at) || field.contains(QLatin1Char('"')))) {
            joined.append(QLatin1Char('"'));
            joined.append(QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\"")));
            joined.append(QLatin1Char('"'));
        } else {
            joined.append(field);
        }
    }
    return joined;
}

QString Matchable(const QString& line)
{
    // Most lines hold no surrogate at all: they match as they stand.
    if (std::none_of(line.begin(), line.end(), [](QChar c) { return c.isSurrogate(); }))
        return line;
    QString text = AnsiCodec::ShownText(line);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* const end = begin + text.size();
    for (char16_t* p = begin; p < end; ++p) {
        if (QChar::isHighSurrogate(*p) && p + 1 < end && QChar::isLowSurrogate(p[1]))
            ++p;
        else if (QChar::isSurrogate(*p))
            *p = 0xFFFD;
    }
    return text;
}

QString WithoutZeroWidth(const QString& text)
{
    QString out = text;
    out.removeIf(isZeroWidth);
    return out;
}

bool IsZeroWidth(QChar c)
{
    return isZeroWidth(c);
}

QString PlainSpaces(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.category() == QChar::Separator_Space)
            c = QLatin1Char(' ');
    }
    return out;
}

namespace {

// A slice of text normalised at a time: Cancel is looked at between slices.
constexpr qsizetype kSlice = 1 << 16;

char32_t codePointAt(const QString& text, qsizetype i, qsizetype* units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *units = 1;
    return c.unicode();
}

} // namespace

qsizetype OrderMarks(QString& text)
{
    // A run of combining marks goes into the canonical order (a stable sort
    // by combining class) in n log n: Qt's own ordering moves a mark one
    // place at a time, which a line of alternating marks turns quadratic.
    // Sorting marks of different classes gives a canonically equal text, so
    // the normal form is the same; sorted runs cost Qt one look each.
    qsizetype moved = 0;
    struct Mark
    {
        int combiningClass;
        qsizetype at, units;
    };
    std::vector<Mark> run;
    QString sorted;
    auto finish = [&](qsizetype end) {
        if (run.size() > 1 &&
            !std::is_sorted(run.begin(), run.end(), [](const Mark& a, const Mark& b) {
                return a.combiningClass < b.combiningClass;
            })) {
            std::stable_sort(run.begin(), run.end(), [](const Mark& a, const Mark& b) {
                return a.combiningClass < b.combiningClass;
            });
            const qsizetype first =
                end - std::accumulate(run.begin(), run.end(), qsizetype(0),
                                      [](qsizetype n, const Mark& m) { return n + m.units; });
            sorted.resize(0);
            for (const Mark& m : run)
                sorted.append(QStringView(text).sliced(m.at, m.units));
            text.replace(first, sorted.size(), sorted);
            moved += qsizetype(run.size());
        }
        run.clear();
    };
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = 1;
        const char32_t c = codePointAt(text, i, &units);
        const int combiningClass = c < 0x300 ? 0 : QChar::combiningClass(c);
        if (combiningClass == 0)
            finish(i);
        else
            run.push_back({combiningClass, i, units});
        i += units;
    }
    finish(text.size());
    return moved;
}

QString Composed(const QString& text, const CompareProgress* progress)
{
    // Nothing below U+0300 changes in NFC: most lines end here.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x300; }))
        return text;
    QString ordered = text;
    OrderMarks(ordered);
    if (ordered.size() <= kSlice)
        return ordered.normalized(QString::NormalizationForm_C);
    // A long line in slices, each ending before an ASCII character: nothing
    // composes with one that comes before it, so the slices' forms joined
    // are the whole line's.
    QString out;
    out.reserve(ordered.size());
    qsizetype from = 0;
    while (from < ordered.size()) {
        if (progress)
            progress->ThrowIfCancelled();
        qsizetype to = qMin(from + kSlice, ordered.size());
        while (to < ordered.size() && ordered[to].unicode() >= 0x80)
            ++to;
        out.append(QStringView(ordered)
                       .sliced(from, to - from)
                       .toString()
                       .normalized(QString::NormalizationForm_C));
        from = to;
    }
    return out;
}

QString LookAlike(const QString& text, const CompareProgress* progress)
{
    return Composed(PlainSpaces(WithoutZeroWidth(AnsiCodec::ShownText(text))), progress);
}

} // namespace KeyForm

LineTable KeyTableOf(const LineTable& lines, const CompareOptions& options,
                     const CompareProgress* progress, bool inHalves, qsizetype* gaveUp)
{
    LineTable keys = LineTable::Over(lines);
    const qsizetype n = lines.size();
    qsizetype given[2] = {0, 0};
    if (!inHalves || n < (qsizetype(1) << 16)) {
        given[0] = addRange(lines, 0, n, options, progress, keys);
    } else {
        LineTable second = LineTable::Over(lines);
        const qsizetype middle = n / 2;
        RunSideBySide([&] { given[0] = addRange(lines, 0, middle, options, progress, keys); },
                      [&] { given[1] = addRange(lines, middle, n, options, progress, second); });
        keys.Append(std::move(second));
    }
    if (gaveUp)
        *gaveUp += given[0] + given[1];
    return keys;
}
