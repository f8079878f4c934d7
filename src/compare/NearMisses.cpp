#include "compare/NearMisses.h"

#include "compare/ComparisonData.h"

#include "compare/CompareProgress.h"
#include "compare/KeyTable.h"
#include "compare/SideBySide.h"
#include "compare/WorkPacer.h"
#include "platform/AnsiCodec.h"

#include <QCoreApplication>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace NearMisses {

namespace {

// The steps of the strong rules, in the order they run: look-alike, then
// controls and blanks inside, then blanks at the ends and case, as the
// comparison takes its options.
constexpr Difference kSteps[] = {Windows1252, ZeroWidth,       Controls,     UnicodeSpaces,
                                 InnerBlanks, UnicodeSpelling, BlanksAtEnds, LetterCase};

QString withoutBlanksAtEnds(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    auto blank = [&text](qsizetype i) {
        return text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t');
    };
    while (begin < end && blank(begin))
        ++begin;
    while (end > begin && blank(end - 1))
        --end;
    return text.sliced(begin, end - begin);
}

// Whether the Controls step leaves the character out: a control character
// but the tab, or a format character that Look-Alike keeps.
bool isControl(char32_t c)
{
    if (c < 0x20)
        return c != '\t';
    if (c >= 0x7F && c < 0xA0)
        return true;
    return QChar::category(c) == QChar::Other_Format &&
           (c > 0xFFFF || !KeyForm::IsZeroWidth(QChar(char16_t(c))));
}

// text without the characters isControl names, a character (not a unit) at
// a time; each left out is passed to dropped.
template <typename Dropped> QString withoutControls(const QString& text, Dropped dropped)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const int units =
            c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const char32_t code = units == 2 ? QChar::surrogateToUcs4(c, text[i + 1]) : c.unicode();
        if (isControl(code))
            dropped(code);
        else
            out.append(text.constData() + i, units);
        i += units;
    }
    return out;
}

// Each run of blanks and tabs one blank.
QString oneBlankARun(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        const bool isBlank = c == QLatin1Char(' ') || c == QLatin1Char('\t');
        if (!isBlank)
            out.append(c);
        else if (!blank)
            out.append(QLatin1Char(' '));
        blank = isBlank;
    }
    return out;
}

QString lowered(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        c = c.toLower(); // each character on its own, as the comparison lowers
    return out;
}

// One step of the strong rules, alone.
QString step(Difference which, const QString& text)
{
    switch (which) {
    case Windows1252:
        return AnsiCodec::ShownText(text);
    case ZeroWidth:
        return KeyForm::WithoutZeroWidth(text);
    case Controls:
        return withoutControls(text, [](char32_t) {});
    case InnerBlanks:
        return oneBlankARun(text);
    case UnicodeSpaces:
        return KeyForm::PlainSpaces(text);
    case UnicodeSpelling:
        return KeyForm::Composed(text);
    case BlanksAtEnds:
        return withoutBlanksAtEnds(text);
    case LetterCase:
        return lowered(text);
    }
    return text;
}

// A key under the strong rules, but for the steps leaveOut names.
QString strongForm(const QString& key, unsigned leaveOut = 0)
{
    QString form = key;
    for (const Difference which : kSteps) {
        if (!(leaveOut & which))
            form = step(which, form);
    }
    return form;
}

// The differences the comparison's own options already leave aside.
unsigned appliedBy(const CompareOptions& options)
{
    unsigned applied = 0;
    if (!options.matchCase)
        applied |= LetterCase;
    if (options.ignoreBlanks)
        applied |= BlanksAtEnds;
    if (options.lookAlike)
        applied |= UnicodeSpelling | UnicodeSpaces | ZeroWidth | Windows1252;
    return applied;
}

unsigned why(const QString& key1, const QString& key2, unsigned applied)
{
    unsigned found = 0;
    for (const Difference which : kSteps) {
        if (!(applied & which) && strongForm(key1, which) != strongForm(key2, which))
            found |= which;
    }
    if (found)
        return found;
    // Two differences that each make the other's look alone the same: every
    // step that changes either line.
    for (const Difference which : kSteps) {
        if (!(applied & which) && (step(which, key1) != key1 || step(which, key2) != key2))
            found |= which;
    }
    return found;
}

// The steps that can change a plain line (valid UTF-8, every character
// below U+0180), in the order they run; the others leave it as it is: it is
// NFC already, and has no byte of Windows-1252 and no zero-width character.
constexpr Difference kPlainSteps[] = {Controls, UnicodeSpaces, InnerBlanks, BlanksAtEnds,
                                      LetterCase};
constexpr char16_t kPlainEnd = 0x180;

// What the steps do to each character below kPlainEnd, looked up once.
struct PlainTable
{
    bool control[kPlainEnd];
    char16_t lower[kPlainEnd];
    PlainTable()
    {
        for (char16_t c = 0; c < kPlainEnd; ++c) {
            control[c] = isControl(c);
            lower[c] = QChar(c).toLower().unicode();
        }
    }
};

// strongForm of a plain line, but for the steps leaveOut names, made from its
// bytes into form without a string; false for a line that is not plain.
bool plainForm(QByteArrayView line, unsigned leaveOut, std::u16string& form)
{
    static const PlainTable table;
    form.resize(size_t(line.size()));
    size_t n = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const uchar c = uchar(line[i]);
        if (c < 0x80) {
            form[n++] = c;
            continue;
        }
        if (c < 0xC2 || c > 0xC5 || i + 1 >= line.size() || (uchar(line[i + 1]) & 0xC0) != 0x80)
            return false;
        form[n++] = char16_t(((c & 0x1F) << 6) | (uchar(line[++i]) & 0x3F));
    }
    form.resize(n);
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    for (const Difference which : kPlainSteps) {
        if (leaveOut & which)
            continue;
        switch (which) {
        case Controls:
            std::erase_if(form, [](char16_t c) { return table.control[c]; });
            break;
        case UnicodeSpaces:
            std::replace(form.begin(), form.end(), u'\u00A0', u' ');
            break;
        case InnerBlanks: {
            size_t out = 0;
            for (size_t i = 0; i < form.size(); ++i)
                if (!blank(form[i]) || i == 0 || !blank(form[i - 1]))
                    form[out++] = blank(form[i]) ? u' ' : form[i];
            form.resize(out);
            break;
        }
        case BlanksAtEnds: {
            size_t begin = 0, end = form.size();
            while (begin < end && blank(form[begin]))
                ++begin;
            while (end > begin && blank(form[end - 1]))
                --end;
            form = form.substr(begin, end - begin);
            break;
        }
        case LetterCase:
            for (char16_t& c : form)
                c = table.lower[c];
            break;
        default:
            break;
        }
    }
    return true;
}

// Whether two plain lines hold the same characters but for their case,
// read from their bytes as they go.
bool sameButCase(QByteArrayView one, QByteArrayView two)
{
    static const PlainTable table;
    if (one.size() != two.size())
        return false; // a character and its other case take as many bytes here
    for (qsizetype i = 0; i < one.size(); ++i) {
        // Eight bytes of ASCII at a time: equal, or apart only in the case
        // bit of letters.
        while (i + 8 <= one.size()) {
            quint64 a, b;
            std::memcpy(&a, one.data() + i, 8);
            std::memcpy(&b, two.data() + i, 8);
            const quint64 apart = a ^ b;
            if (apart == 0) {
                i += 8;
                continue;
            }
            constexpr quint64 kHigh = 0x8080808080808080ull, kCase = 0x2020202020202020ull;
            if (((a | b) & kHigh) || (apart & ~kCase))
                break; // beyond ASCII, or apart in more than case: a byte at a time
            // The bytes whose case bit differs must be letters: a lowered
            // byte from 'a' to 'z'.
            const quint64 lowered = a | kCase;
            const quint64 fromA = (lowered + 0x1F1F1F1F1F1F1F1Full) & kHigh; // >= 'a'
            const quint64 pastZ = (lowered + 0x0505050505050505ull) & kHigh; // >  'z'
            const quint64 letters = fromA & ~pastZ;
            if ((apart << 2) & kHigh & ~letters)
                return false;
            i += 8;
        }
        if (i >= one.size())
            break;
        const uchar a = uchar(one[i]), b = uchar(two[i]);
        if (a < 0x80 && b < 0x80) {
            if (a != b && table.lower[a] != table.lower[b])
                return false;
            continue;
        }
        if (a < 0xC2 || b < 0xC2 || i + 1 >= one.size())
            return false;
        const char16_t x = char16_t(((a & 0x1F) << 6) | (uchar(one[i + 1]) & 0x3F));
        const char16_t y = char16_t(((b & 0x1F) << 6) | (uchar(two[i + 1]) & 0x3F));
        if (x >= kPlainEnd || y >= kPlainEnd || table.lower[x] != table.lower[y])
            return false;
        ++i;
    }
    return true;
}

// why, for two plain lines whose strong forms are equal.
unsigned plainWhy(QByteArrayView key1, QByteArrayView key2, unsigned applied)
{
    // The usual pair: the same characters but for their case. Every other
    // step leaves letters as they are, so case is all that differs.
    if (!(applied & LetterCase) && sameButCase(key1, key2))
        return LetterCase;
    std::u16string one, two;
    unsigned found = 0;
    for (const Difference which : kPlainSteps) {
        if (applied & which)
            continue;
        plainForm(key1, which, one);
        plainForm(key2, which, two);
        if (one != two)
            found |= which;
    }
    if (found)
        return found;
    // Two differences that each make the other's look alone the same: every
    // step that changes either line.
    std::u16string as1, as2;
    plainForm(key1, ~0u, as1);
    plainForm(key2, ~0u, as2);
    for (const Difference which : kPlainSteps) {
        if (applied & which)
            continue;
        plainForm(key1, ~unsigned(which), one);
        plainForm(key2, ~unsigned(which), two);
        if (one != as1 || two != as2)
            found |= which;
    }
    return found;
}

} // namespace

namespace {

// Each way two lines may differ, in words.
constexpr std::pair<unsigned, const char*> kDifferences[] = {
    {LetterCase, QT_TRANSLATE_NOOP("NearMisses", "letter case")},
    {BlanksAtEnds, QT_TRANSLATE_NOOP("NearMisses", "blanks or tabs at line ends")},
    {UnicodeSpelling, QT_TRANSLATE_NOOP("NearMisses", "Unicode spelling (NFC/NFD)")},
    {UnicodeSpaces, QT_TRANSLATE_NOOP("NearMisses", "no-break or other Unicode spaces")},
    {ZeroWidth, QT_TRANSLATE_NOOP("NearMisses", "zero-width characters")},
    {Windows1252, QT_TRANSLATE_NOOP("NearMisses", "Windows-1252 bytes against UTF-8")},
    {Controls, QT_TRANSLATE_NOOP("NearMisses", "control or format characters")},
    {InnerBlanks, QT_TRANSLATE_NOOP("NearMisses", "blanks or tabs inside the line")},
};

QString describe(unsigned why, bool translated)
{
    QStringList parts;
    for (const auto& [bit, words] : kDifferences) {
        if (why & bit)
            parts << (translated ? QCoreApplication::translate("NearMisses", words)
                                 : QString::fromLatin1(words));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString Describe(unsigned why)
{
    return describe(why, false);
}

QString DescribeInWords(unsigned why)
{
    return describe(why, true);
}

namespace {

// Whether two lines have one key in a comparison with options, as it
// would take them.
bool sameKey(const CompareOptions& options, const QString& line1, const QString& line2)
{
    LineTable lines;
    lines.AddText(line1);
    lines.AddText(line2);
    const LineTable keys = options.KeysDifferFromLines() ? KeyTableOf(lines, options) : LineTable();
    const LineTable& compared = options.KeysDifferFromLines() ? keys : lines;
    QByteArray key1, key2;
    Engine::KeyForm(compared, 0, options, key1);
    Engine::KeyForm(compared, 1, options, key2);
    return key1 == key2;
}

// An option that, turned, lets more lines match, and the window's words for it.
struct Turn
{
    bool CompareOptions::*option;
    bool to;
    const char* words;
};
constexpr Turn kTurns[] = {
    {&CompareOptions::matchCase, false, QT_TRANSLATE_NOOP("NearMisses", "turn off Match Case")},
    {&CompareOptions::ignoreBlanks, true,
     QT_TRANSLATE_NOOP("NearMisses", "turn on Ignore Blanks At Line Ends")},
    {&CompareOptions::lookAlike, true,
     QT_TRANSLATE_NOOP("NearMisses", "turn on Look-Alike Lines Match")},
};

// "a", "a and b", "a, b and c".
QString listed(const QStringList& parts)
{
    if (parts.size() <= 1)
        return parts.value(0);
    return QCoreApplication::translate("NearMisses", "%1 and %2")
        .arg(parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")), parts.last());
}

// The sets of kTurns (bit t for kTurns[t]) that make the lines match with
// fewest turns, none when no set does.
QList<unsigned> fewestTurns(const CompareOptions& options, const QString& line1,
                            const QString& line2)
{
    unsigned open = 0;
    for (size_t t = 0; t < std::size(kTurns); ++t) {
        if (options.*kTurns[t].option != kTurns[t].to)
            open |= 1u << t;
    }
    for (int count = 1; count <= int(std::size(kTurns)); ++count) {
        QList<unsigned> found;
        for (unsigned set = 1; set < (1u << std::size(kTurns)); ++set) {
            if ((set & ~open) || std::popcount(set) != count)
                continue;
            CompareOptions turned = options;
            for (size_t t = 0; t < std::size(kTurns); ++t) {
                if (set & (1u << t))
                    turned.*kTurns[t].option = kTurns[t].to;
            }
            if (sameKey(turned, line1, line2))
                found << set;
        }
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// What differs in the blanks and tabs inside two keys.
QString innerBlanksInWords(const QString& key1, const QString& key2)
{
    const QString form1 = strongForm(key1, InnerBlanks), form2 = strongForm(key2, InnerBlanks);
    if (form1.size() == form2.size()) {
        qsizetype tabs = 0;
        bool onlyTabs = true;
        for (qsizetype i = 0; i < form1.size() && onlyTabs; ++i) {
            if (form1[i] == form2[i])
                continue;
            const bool tabForBlank =
                (form1[i] == QLatin1Char('\t') && form2[i] == QLatin1Char(' ')) ||
                (form1[i] == QLatin1Char(' ') && form2[i] == QLatin1Char('\t'));
            onlyTabs = tabForBlank;
            tabs += tabForBlank;
        }
        if (onlyTabs)
            return tabs == 1
                       ? QCoreApplication::translate("NearMisses",
                                                     "in a tab against a blank inside the line")
                       : QCoreApplication::translate("NearMisses",
                                                     "in tabs against blanks inside the line");
    }
    return form1.contains(QLatin1Char('\t')) || form2.contains(QLatin1Char('\t'))
               ? QCoreApplication::translate("NearMisses", "in the blanks and tabs inside the line")
               : QCoreApplication::translate("NearMisses", "in the blanks inside the line");
}

// The control and format characters that one key holds and the other does
// not (or both, in other numbers), in words: "by a control character (U+0007)".
QString controlsInWords(const QString& key1, const QString& key2)
{
    QList<char32_t> in1, in2;
    withoutControls(step(Windows1252, key1), [&in1](char32_t c) { in1 << c; });
    withoutControls(step(Windows1252, key2), [&in2](char32_t c) { in2 << c; });
    QList<char32_t> named;
    for (const auto& [one, other] : {std::pair(&in1, &in2), std::pair(&in2, &in1)}) {
        for (const char32_t c : *one) {
            if (!other->contains(c) && !named.contains(c))
                named << c;
        }
    }
    if (named.isEmpty()) {
        for (const char32_t c : in1 + in2) {
            if (!named.contains(c))
                named << c;
        }
    }
    const bool format = std::all_of(named.begin(), named.end(), [](char32_t c) {
        return QChar::category(c) == QChar::Other_Format;
    });
    QStringList codes;
    for (const char32_t c : named)
        codes << QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    const char* words =
        named.size() == 1
            ? (format ? QT_TRANSLATE_NOOP("NearMisses", "by a format character (%1)")
                      : QT_TRANSLATE_NOOP("NearMisses", "by a control character (%1)"))
            : (format ? QT_TRANSLATE_NOOP("NearMisses", "by format characters (%1)")
                      : QT_TRANSLATE_NOOP("NearMisses", "by control characters (%1)"));
    return QCoreApplication::translate("NearMisses", words).arg(codes.join(QStringLiteral(", ")));
}

} // namespace

QString Reason(const CompareOptions& options, const QString& line1, const QString& line2)
{
    const KeyForm::UserKeys userKeys(options);
    const QString key1 = userKeys.Of(line1), key2 = userKeys.Of(line2);
    // Lines that are no look-alikes (a pattern that takes another part of
    // each once case counts) differ in their keys as a whole.
    const unsigned differs =
        strongForm(key1) == strongForm(key2) ? why(key1, key2, appliedBy(options)) : 0;
    QStringList parts;
    if (differs & LetterCase)
        parts << QCoreApplication::translate("NearMisses", "in case");
    if (differs & BlanksAtEnds)
        parts << QCoreApplication::translate("NearMisses", "in blanks at the ends");
    if (differs & (UnicodeSpelling | UnicodeSpaces | ZeroWidth | Windows1252))
        parts << QCoreApplication::translate(
            "NearMisses", "in how the characters are written (composed accents, no-break "
                          "spaces, look-alike forms)");
    if (differs & InnerBlanks)
        parts << innerBlanksInWords(key1, key2);
    if (differs & Controls)
        parts << controlsInWords(key1, key2);
    const QString what =
        parts.isEmpty()
            ? QCoreApplication::translate("NearMisses", "in the key the comparison takes")
            : listed(parts);
    const QList<unsigned> turns = fewestTurns(options, line1, line2);
    if (turns.isEmpty())
        return QCoreApplication::translate("NearMisses", "Differs %1; no option makes them match.")
            .arg(what);
    QStringList ways;
    for (const unsigned set : turns) {
        QStringList words;
        for (size_t t = 0; t < std::size(kTurns); ++t) {
            if (set & (1u << t))
                words << QCoreApplication::translate("NearMisses", kTurns[t].words);
        }
        ways << listed(words);
    }
    const QString how = ways.join(QCoreApplication::translate("NearMisses", ", or "));
    return (parts.size() == 1 ? QCoreApplication::translate("NearMisses", "Differs only %1: %2.")
                              : QCoreApplication::translate("NearMisses", "Differs %1: %2."))
        .arg(what, how);
}

void ForEach(const Comparison& comparison, const std::function<void(const Pair&)>& row)
{
    if (comparison.spill)
        return Disk::ForEachNearMiss(comparison, row);
    // The index lives only in this call: it holds the comparison without owning it.
    const Index index(
        std::shared_ptr<const Comparison>(std::shared_ptr<const Comparison>(), &comparison));
    index.ForEachPair(row);
}

namespace {

// A line of an "only in" list and the hash of its strong key.
struct Keyed
{
    quint64 hash;
    quint32 line;
};

// The strong key of a line as UTF-8, whole, into key, in one pass, for a
// line of UTF-8 whose characters all lie below U+0180 (ASCII, Latin-1 and
// Latin Extended-A), as strongForm makes it: control characters and the
// soft hyphen left out, each run of blanks, tabs and no-break spaces one
// blank and none at the ends, lower-cased; its other steps leave such a
// line as it is (valid UTF-8, already NFC). False for any other line.
bool plainStrongForm(QByteArrayView bytes, QByteArray& key)
{
    // Never longer than the line: a blank written stands for one read.
    key.resize(bytes.size());
    char* const first = key.data();
    char* out = first;
    bool blank = false; // a blank is owed before the next character kept
    auto keep = [&] {
        if (blank && out != first)
            *out++ = ' ';
        blank = false;
    };
    const qsizetype end = bytes.size();
    for (qsizetype i = 0; i < end; ++i) {
#if defined(__SSE2__)
        // Sixteen printable ASCII bytes but the blank at a time, their
        // capitals lowered.
        if (end - i >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
            const __m128i printable = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(' ')),
                                                    _mm_cmplt_epi8(v, _mm_set1_epi8(0x7F)));
            if (_mm_movemask_epi8(printable) == 0xFFFF) {
                keep();
                const __m128i capital = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)),
                                                      _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                                 _mm_or_si128(v, _mm_and_si128(capital, _mm_set1_epi8(0x20))));
                out += 16;
                i += 15;
                continue;
            }
        }
#endif
        const uchar c = uchar(bytes[i]);
        if (c < 0x80) {
            if (c == ' ' || c == '\t')
                blank = true;
            else if (c >= 0x20 && c != 0x7F) {
                keep();
                *out++ = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            }
            continue;
        }
        // Two bytes, C2 80 to C5 BF: U+0080 to U+017F, whose lower case lies
        // below U+0800 too.
        if (c < 0xC2 || c > 0xC5 || i + 1 >= end || (uchar(bytes[i + 1]) & 0xC0) != 0x80)
            return false;
        const char16_t u = char16_t(((c & 0x1F) << 6) | (uchar(bytes[++i]) & 0x3F));
        if (u == 0xA0) {
            blank = true;
            continue;
        }
        if (u < 0xA0 || u == 0xAD)
            continue; // a control character, the soft hyphen
        keep();
        const char16_t lower = QChar(u).toLower().unicode();
        if (lower < 0x80) {
            *out++ = char(lower);
        } else {
            *out++ = char(0xC0 | (lower >> 6));
            *out++ = char(0x80 | (lower & 0x3F));
        }
    }
    key.truncate(out - first);
    return true;
}

// The lines of one "only in" list with the hashes of their strong keys, in
// file order.
std::vector<Keyed> strongHashes(const Comparison& comparison, ResultKind kind, size_t seed,
                                Engine::WorkPacer& pacer)
{
    const KeyForm::UserKeys userKeys(OptionsOf(comparison));
    const bool wholeLines = userKeys.WholeLines();
    const int file = kind == ResultKind::OnlyIn2 ? 2 : 1;
    std::vector<Keyed> out;
    out.reserve(size_t(ListSize(comparison, kind)));
    Engine::WorkPacer::Meter meter(pacer);
    // Keys are hashed as UTF-8: most lines are made so without a string.
    QByteArray plain;
    ForEachListLine(comparison, kind, [&](qsizetype line, QByteArrayView bytes) {
        if (wholeLines && plainStrongForm(bytes, plain)) {
            out.push_back({quint64(qHash(QByteArrayView(plain), seed)), quint32(line)});
            meter.Line(Engine::lineWork(quint64(bytes.size())));
            return;
        }
        const QByteArray key = strongForm(userKeys.Of(LineText(comparison, file, line))).toUtf8();
        out.push_back({quint64(qHash(QByteArrayView(key), seed)), quint32(line)});
        // Eight passes over the line, each making a string of its own.
        meter.Line(16 * Engine::lineWork(quint64(bytes.size())));
    });
    return out;
}

} // namespace

void StrongKey(const KeyForm::UserKeys& userKeys, QByteArrayView bytes, const QString* text,
               QByteArray& key)
{
    if (!text && userKeys.WholeLines() && plainStrongForm(bytes, key))
        return;
    key = strongForm(userKeys.Of(text ? *text : AnsiCodec::Decode(bytes))).toUtf8();
}

namespace {

// A set of hashes, for a list's lines to be looked up in the other's.
class HashSet
{
public:
    explicit HashSet(const std::vector<Keyed>& keyed)
    {
        size_t room = 16;
        while (room < 2 * keyed.size())
            room *= 2;
        m_slots.assign(room, 0);
        for (const Keyed& k : keyed) {
            for (size_t at = slotOf(k.hash);; at = (at + 1) & (m_slots.size() - 1)) {
                if (m_slots[at] == held(k.hash))
                    break;
                if (m_slots[at] == 0) {
                    m_slots[at] = held(k.hash);
                    break;
                }
            }
        }
    }
    bool Holds(quint64 hash) const
    {
        for (size_t at = slotOf(hash);; at = (at + 1) & (m_slots.size() - 1)) {
            if (m_slots[at] == held(hash))
                return true;
            if (m_slots[at] == 0)
                return false;
        }
    }

private:
    // 0 marks an empty slot: a hash of 0 is held as 1.
    static quint64 held(quint64 hash) { return hash ? hash : 1; }
    // The hashes are seeded at random, so their top bits pick the slot.
    size_t slotOf(quint64 hash) const
    {
        return size_t((hash * 0x9E3779B97F4A7C15ull) >> 32) & (m_slots.size() - 1);
    }
    std::vector<quint64> m_slots;
};

// The lines of keyed whose hashes other holds, by hash, a hash's lines in
// file order.
std::vector<Keyed> sharedHashes(const std::vector<Keyed>& keyed, const HashSet& other)
{
    std::vector<Keyed> shared;
    for (const Keyed& k : keyed) {
        if (other.Holds(k.hash))
            shared.push_back(k);
    }
    std::sort(shared.begin(), shared.end(), [](const Keyed& x, const Keyed& y) {
        return x.hash < y.hash || (x.hash == y.hash && x.line < y.line);
    });
    return shared;
}

} // namespace

Index::Index(std::shared_ptr<const Comparison> comparison, CompareProgress* progress)
    : m_comparison(std::move(comparison))
{
    const Comparison& compared = *m_comparison;
    const qsizetype total =
        ListSize(compared, ResultKind::OnlyIn1) + ListSize(compared, ResultKind::OnlyIn2);
    if (progress) {
        progress->ThrowIfCancelled();
        progress->Report(CompareProgress::Step::LookAlikes, QString(), 0, total);
    }
    Engine::WorkPacer pacer(progress, total);
    // A seed of its own: lines made to share a hash cannot be planned.
    const size_t seed = size_t(QRandomGenerator::global()->generate64());
    std::vector<Keyed> keyed[2];
    RunSideBySide([&] { keyed[0] = strongHashes(compared, ResultKind::OnlyIn1, seed, pacer); },
                  [&] { keyed[1] = strongHashes(compared, ResultKind::OnlyIn2, seed, pacer); });
    // Most lines have no look-alike: only those whose hash the other list
    // holds too are sorted by hash. The larger list is looked up in a set of
    // the smaller one's hashes, and the smaller in a set of what was found.
    const int small = keyed[0].size() <= keyed[1].size() ? 0 : 1;
    keyed[1 - small] = sharedHashes(keyed[1 - small], HashSet(keyed[small]));
    keyed[small] = sharedHashes(keyed[small], HashSet(keyed[1 - small]));
    // A hash that both lists hold makes a group.
    for (int f = 0; f < 2; ++f)
        m_start[f].push_back(0);
    quint32 group = 0;
    size_t i = 0, j = 0;
    const std::vector<Keyed>&one = keyed[0], &two = keyed[1];
    while (i < one.size() && j < two.size()) {
        if (one[i].hash != two[j].hash) {
            (one[i].hash < two[j].hash ? i : j)++;
            continue;
        }
        const quint64 hash = one[i].hash;
        for (; i < one.size() && one[i].hash == hash; ++i) {
            m_members[0].push_back(one[i].line);
            m_byLine[0].push_back({one[i].line, group});
        }
        for (; j < two.size() && two[j].hash == hash; ++j) {
            m_members[1].push_back(two[j].line);
            m_byLine[1].push_back({two[j].line, group});
        }
        for (int f = 0; f < 2; ++f)
            m_start[f].push_back(quint32(m_members[f].size()));
        ++group;
    }
    for (auto& byLine : m_byLine)
        std::sort(byLine.begin(), byLine.end(),
                  [](const Member& x, const Member& y) { return x.line < y.line; });
}

Index::Found Index::Of(int file, qsizetype line, qsizetype most) const
{
    Found found;
    const int f = file == 2 ? 1 : 0;
    const std::vector<Member>& byLine = m_byLine[f];
    if (line < 0 || line > qsizetype(std::numeric_limits<quint32>::max()))
        return found;
    const auto at =
        std::lower_bound(byLine.begin(), byLine.end(), quint32(line),
                         [](const Member& member, quint32 wanted) { return member.line < wanted; });
    if (at == byLine.end() || at->line != quint32(line))
        return found;
    const std::vector<quint32>& others = m_members[1 - f];
    const quint32 first = m_start[1 - f][at->group], last = m_start[1 - f][at->group + 1];
    const Comparison& compared = *m_comparison;
    const KeyForm::UserKeys userKeys(OptionsOf(compared));
    const unsigned applied = appliedBy(OptionsOf(compared));
    // Whole plain lines, the most of them, are looked at as their bytes.
    const bool wholeLines = userKeys.WholeLines();
    auto plainLine = [&](int ofFile, qsizetype number, QByteArrayView& bytes) {
        if (!wholeLines)
            return false;
        const Side& side = ofFile == 2 ? compared.b : compared.a;
        const qsizetype i = side.indexOf(number);
        if (i < 0 || side.lines.isText(i))
            return false;
        bytes = side.lines.bytes(i);
        return true;
    };
    QByteArrayView bytes, otherBytes;
    std::u16string plainStrong, otherStrong;
    const bool plain = plainLine(file, line, bytes) && plainForm(bytes, 0, plainStrong);
    QString key, strong; // made once, for the first other line not of ASCII
    for (quint32 k = first; k < last; ++k) {
        if (qsizetype(found.alike.size()) >= most) {
            found.more = qsizetype(last - k);
            break;
        }
        // Lines the same but for case have one strong key; other plain lines
        // are looked at whole. Two strong keys with one hash: the other line
        // is not alike.
        bool caseOnly = false;
        if (plain && plainLine(2 - f, others[k], otherBytes) &&
            ((caseOnly = sameButCase(bytes, otherBytes)) ||
             plainForm(otherBytes, 0, otherStrong))) {
            if (!caseOnly && otherStrong != plainStrong)
                continue;
            found.alike.push_back({others[k], f == 0 ? plainWhy(bytes, otherBytes, applied)
                                                     : plainWhy(otherBytes, bytes, applied)});
            continue;
        }
        if (strong.isNull()) {
            key = userKeys.Of(LineText(compared, file, line));
            strong = strongForm(key);
        }
        const QString otherKey = userKeys.Of(LineText(compared, 2 - f, others[k]));
        if (strongForm(otherKey) != strong)
            continue;
        found.alike.push_back(
            {others[k], f == 0 ? why(key, otherKey, applied) : why(otherKey, key, applied)});
    }
    return found;
}

void Index::ForEachPair(const std::function<void(const Pair&)>& row) const
{
    // Only the lines of file 1 whose strong hash file 2 shares, in line order;
    // each one's look-alikes are checked by their keys, a slice of lines at a
    // time, each half of a slice on a core of its own, then passed on in order.
    const std::vector<Member>& lines = m_byLine[0];
    constexpr size_t kSliceLines = 1 << 14;
    std::vector<Pair> found[2];
    auto look = [&](size_t from, size_t to, std::vector<Pair>& out) {
        out.clear();
        for (size_t i = from; i < to; ++i) {
            const qsizetype line = lines[i].line;
            const Found alike = Of(1, line, kMostAlike);
            for (const Alike& each : alike.alike)
                out.push_back({line, each.line, each.why});
            if (alike.more > 0)
                out.push_back({line, -1, 0, alike.more});
        }
    };
    for (size_t from = 0; from < lines.size(); from += kSliceLines) {
        const size_t to = std::min(lines.size(), from + kSliceLines);
        const size_t middle = from + (to - from) / 2;
        if (to - from < 256) {
            look(from, to, found[0]);
            found[1].clear();
        } else {
            RunSideBySide([&] { look(from, middle, found[0]); },
                          [&] { look(middle, to, found[1]); });
        }
        for (const auto& half : found)
            for (const Pair& pair : half)
                row(pair);
    }
}

} // namespace NearMisses
