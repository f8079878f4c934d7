#include "compare/NearMisses.h"

#include "compare/ComparisonData.h"

#include "compare/CompareProgress.h"
#include "compare/KeyTable.h"
#include "compare/SideBySide.h"
#include "compare/WorkPacer.h"
#include "platform/AnsiCodec.h"

#include <QHash>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace NearMisses {

namespace {

constexpr Difference kEvery[] = {LetterCase,    BlanksAtEnds, UnicodeSpelling,
                                 UnicodeSpaces, ZeroWidth,    Windows1252};

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

// A key under the strong rules, but for the steps leaveOut names; the
// steps run in the comparison's order: look-alike, blanks, case.
QString strongForm(const QString& key, unsigned leaveOut = 0)
{
    QString form = key;
    for (const Difference which :
         {Windows1252, ZeroWidth, UnicodeSpaces, UnicodeSpelling, BlanksAtEnds, LetterCase}) {
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
    for (const Difference which : kEvery) {
        if (!(applied & which) && strongForm(key1, which) != strongForm(key2, which))
            found |= which;
    }
    if (found)
        return found;
    // Two differences that each make the other's look alone the same: every
    // step that changes either line.
    for (const Difference which : kEvery) {
        if (!(applied & which) && (step(which, key1) != key1 || step(which, key2) != key2))
            found |= which;
    }
    return found;
}

} // namespace

QString Describe(unsigned why)
{
    QStringList parts;
    if (why & LetterCase)
        parts << QStringLiteral("letter case");
    if (why & BlanksAtEnds)
        parts << QStringLiteral("blanks or tabs at line ends");
    if (why & UnicodeSpelling)
        parts << QStringLiteral("Unicode spelling (NFC/NFD)");
    if (why & UnicodeSpaces)
        parts << QStringLiteral("no-break or other Unicode spaces");
    if (why & ZeroWidth)
        parts << QStringLiteral("zero-width characters");
    if (why & Windows1252)
        parts << QStringLiteral("Windows-1252 bytes against UTF-8");
    return parts.join(QStringLiteral(", "));
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
// Latin Extended-A), but for the no-break space: the line without blanks and
// tabs at its ends, lower-cased, as strongForm makes it, whose other steps
// leave such a line as it is (valid UTF-8, no zero-width characters or
// Unicode spaces, already NFC). False for any other line.
bool plainStrongForm(QByteArrayView bytes, QByteArray& key)
{
    auto blank = [&bytes](qsizetype i) { return bytes[i] == ' ' || bytes[i] == '\t'; };
    qsizetype begin = 0, end = bytes.size();
    while (begin < end && blank(begin))
        ++begin;
    while (end > begin && blank(end - 1))
        --end;
    key.resize(end - begin);
    char* out = key.data();
    for (qsizetype i = begin; i < end; ++i) {
#if defined(__SSE2__)
        // Sixteen ASCII bytes at a time, their capitals lowered.
        if (end - i >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
            if (_mm_movemask_epi8(v) == 0) {
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
            *out++ = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            continue;
        }
        // Two bytes, C2 80 to C5 BF: U+0080 to U+017F, whose lower case lies
        // below U+0800 too.
        if (c < 0xC2 || c > 0xC5 || i + 1 >= end || (uchar(bytes[i + 1]) & 0xC0) != 0x80)
            return false;
        const char16_t u = char16_t(((c & 0x1F) << 6) | (uchar(bytes[++i]) & 0x3F));
        if (u == 0xA0)
            return false;
        const char16_t lower = QChar(u).toLower().unicode();
        if (lower < 0x80) {
            *out++ = char(lower);
        } else {
            *out++ = char(0xC0 | (lower >> 6));
            *out++ = char(0x80 | (lower & 0x3F));
        }
    }
    key.truncate(out - key.constData());
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
        // Six passes over the line, each making a string of its own.
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
    const QString key = userKeys.Of(LineText(compared, file, line));
    const QString strong = strongForm(key);
    for (quint32 k = first; k < last; ++k) {
        if (qsizetype(found.alike.size()) >= most) {
            found.more = qsizetype(last - k);
            break;
        }
        const QString otherKey = userKeys.Of(LineText(compared, 2 - f, others[k]));
        // Two strong keys with one hash: the other line is not alike.
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
    // each one's look-alikes are checked by their keys.
    for (const Member& member : m_byLine[0]) {
        const Found found = Of(1, member.line, std::numeric_limits<qsizetype>::max());
        for (const Alike& alike : found.alike)
            row({member.line, alike.line, alike.why});
    }
}

} // namespace NearMisses
