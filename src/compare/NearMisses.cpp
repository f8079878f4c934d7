#include "compare/NearMisses.h"

#include "compare/KeyTable.h"
#include "platform/AnsiCodec.h"

#include <QHash>
#include <QStringList>
#include <vector>

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
    const CompareOptions& options = OptionsOf(comparison);
    const KeyForm::UserKeys userKeys(options);
    // File 2's lines of its own, by their strong keys, in file order.
    struct Line
    {
        qsizetype line;
        QString key;
    };
    std::vector<Line> only2;
    QHash<QString, std::vector<size_t>> byStrongKey;
    ForEachListedLine(comparison, ResultKind::OnlyIn2, [&](qsizetype line, const QString& text) {
        QString key = userKeys.Of(text);
        byStrongKey[strongForm(key)].push_back(only2.size());
        only2.push_back({line, std::move(key)});
    });
    if (only2.empty())
        return;
    const unsigned applied = appliedBy(options);
    ForEachListedLine(comparison, ResultKind::OnlyIn1, [&](qsizetype line, const QString& text) {
        const QString key = userKeys.Of(text);
        const auto alike = byStrongKey.constFind(strongForm(key));
        if (alike == byStrongKey.constEnd())
            return;
        for (const size_t other : *alike)
            row({line, only2[other].line, why(key, only2[other].key, applied)});
    });
}

} // namespace NearMisses
