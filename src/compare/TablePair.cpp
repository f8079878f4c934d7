#include "compare/TablePair.h"

#include "compare/DistinctEstimate.h"
#include "compare/SideBySide.h"

#include <algorithm>
#include <utility>

namespace Engine {

void TablePair::build(const LineTable& a, const Keys& keysA, const LineTable* b, const Keys* keysB,
                      const CompareOptions& options, WorkPacer& pacer)
{
    const size_t lines = keysA.hash.size() + (keysB ? keysB->hash.size() : 0);
    // The tables are made for the number of distinct keys, estimated, as
    // most lists repeat many lines. Should a table still fill up (lines
    // made to collide), the work is done again with room for every line.
    const double distinct = sketchCount(keysA.sketch, keysB ? keysB->sketch : keysA.sketch);
    try {
        fill(std::min(lines, size_t(distinct / 2) + 1), lines, a, keysA, b, keysB, options, pacer);
    } catch (const SharedTable::Full&) {
        fill(lines, lines, a, keysA, b, keysB, options, pacer);
    }
}

// Whether each line of A has its key in B too; a line held as text finds
// its flags by its key's text.
std::vector<bool> TablePair::aInB(const Keys& keysA, const CompareProgress* progress) const
{
    const size_t n = keysA.hash.size();
    std::vector<bool> found(n);
    std::vector<quint64> inB[2];
    RunSideBySide([&] { inB[0] = table[0]->slotsInB(); }, [&] { inB[1] = table[1]->slotsInB(); });
    // Two halves side by side, meeting at a multiple of 64 lines so that
    // no word of found is written by both. The second starts in each
    // part's answers after the first half's lines of that part.
    const size_t middle = n < (size_t(1) << 16) ? n : n / 2 / 64 * 64;
    RunSideBySide(
        [&] {
            answerRange(keysA, inB, 0, middle, {0, 0}, found, progress);
        },
        [&] {
            size_t inPart0 = 0;
            for (size_t i = 0; i < middle; ++i)
                inPart0 += SharedTable::PartOf(keysA.hash[i]) == 0;
            answerRange(keysA, inB, middle, n, {inPart0, middle - inPart0}, found, progress);
        });
    return found;
}

void TablePair::answerRange(const Keys& keysA, const std::vector<quint64> (&inB)[2], size_t from,
                            size_t to, std::array<size_t, 2> next, std::vector<bool>& found,
                            const CompareProgress* progress) const
{
    auto made = std::lower_bound(
        keysA.made.begin(), keysA.made.end(), from,
        [](const std::pair<quint32, Key>& line, size_t i) { return line.first < i; });
    for (size_t i = from; i < to; ++i) {
        if (progress && i % (1 << 20) == 0)
            progress->ThrowIfCancelled();
        const unsigned p = SharedTable::PartOf(keysA.hash[i]);
        const quint32 slot = parts[p].whereA[next[p]++];
        if (slot != SharedTable::kNoSlot) {
            found[i] = (inB[p][slot >> 6] >> (slot & 63)) & 1;
            continue;
        }
        while (made->first < i)
            ++made;
        found[i] = texts.value(keysA.texts[made->second.hash]) & SharedTable::kInB;
    }
}

void TablePair::fill(size_t keysPerPart, size_t limit, const LineTable& a, const Keys& keysA,
                     const LineTable* b, const Keys* keysB, const CompareOptions& options,
                     WorkPacer& pacer)
{
    for (unsigned p : {0u, 1u}) {
        if (table[p])
            m_probesBefore += table[p]->probes();
        table[p].reset(); // the old tables go before the new ones come
        parts[p] = PartAnswers();
    }
    texts.clear();
    const bool once = options.eachOnce;
    auto fillPart = [&](unsigned p) {
        // Each table's memory is faulted in on the core that fills it:
        // hundreds of megabytes at ten million lines, slow to come by
        // after idle on a virtual machine.
        table[p] = std::make_unique<SharedTable>(keysPerPart, limit, room, !options.matchCase,
                                                 options.ignoreBlanks, guarded);
        SharedTable& t = *table[p];
        PartAnswers& part = parts[p];
        part.whereA.reserve(keysA.hash.size() / 2 + keysA.hash.size() / 16 + 16);
        // Once A is marked, each line of B learns at once whether A holds
        // it; A's lines look at their slots again after B is marked.
        t.mark(a, keysA, SharedTable::kInA, p, pacer, texts, &part.whereA, nullptr, 0,
               once ? &part.repeatA : nullptr);
        if (b)
            t.mark(*b, *keysB, SharedTable::kInB, p, pacer, texts, nullptr, &part.bInA,
                   SharedTable::kInA, once ? &part.repeatB : nullptr);
    };
    RunSideBySide([&] { fillPart(0); }, [&] { fillPart(1); });
}

} // namespace Engine
