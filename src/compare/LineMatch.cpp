#include "compare/LineMatch.h"

#include "compare/CompareProgress.h"
#include "compare/LineHash.h"
#include "compare/LineKeys.h"
#include "compare/SharedTable.h"
#include "compare/SideBySide.h"
#include "compare/TablePair.h"
#include "compare/WorkPacer.h"

#include <algorithm>
#include <memory>
#include <mutex>

using Engine::computeKeys;
using Engine::Key;
using Engine::Keys;
using Engine::kTextKey;
using Engine::ownKey;
using Engine::PartAnswers;
using Engine::SharedTable;
using Engine::TablePair;
using Engine::WorkPacer;

LineMatch LineMatch::Of(const LineTable& a, const LineTable& b, const CompareOptions& options,
                        CompareProgress* progress)
{
    // Each line is keyed once, then looked at by each of the two tables.
    const qint64 lineCount = a.size() + b.size();
    WorkPacer pacer(progress, 3 * lineCount);
    const bool matchCase = options.matchCase, trim = options.ignoreBlanks;
    Keys keysA, keysB;
    const LineHash::Hasher hasher{LineHash::DrawSeed()};
    // The two files' keys are independent: make B's on the other core.
    RunSideBySide([&] { computeKeys(a, matchCase, trim, hasher, pacer, keysA); },
                  [&] { computeKeys(b, matchCase, trim, hasher, pacer, keysB); });
    TablePair tables;
    tables.build(a, keysA, &b, &keysB, options, pacer);

    LineMatch match;
    tables.merge(keysB, &PartAnswers::bInA, match.bInA, progress);
    tables.merge(keysA, &PartAnswers::repeatA, match.aRepeat, progress);
    tables.merge(keysB, &PartAnswers::repeatB, match.bRepeat, progress);
    match.aInB = tables.aInB(keysA, progress);
    return match;
}

struct LineIndex::Data
{
    Data(const CompareOptions& withOptions) : options(withOptions) {}
    CompareOptions options;
    LineHash::Hasher hasher{LineHash::DrawSeed()}; // B's keys are made with A's seed
    Keys keysA;
    TablePair tables;
    std::mutex textsInUse; // keys held as text are looked up under it
};

LineIndex::LineIndex(const LineTable& a, const CompareOptions& options)
    : d(std::make_unique<Data>(options))
{
    WorkPacer pacer(nullptr, 0);
    computeKeys(a, options.matchCase, options.ignoreBlanks, d->hasher, pacer, d->keysA, true);
    // Most lines of file 2 may be missing from file 1, and file 2 takes no
    // room in the table: a roomier table pays.
    d->tables.room = 2.0;
    d->tables.build(a, d->keysA, nullptr, nullptr, options, pacer);
}

LineIndex::~LineIndex() = default;

std::vector<bool> LineIndex::Find(const LineTable& lines) const
{
    WorkPacer pacer(nullptr, 0);
    Keys keys;
    computeKeys(lines, d->options.matchCase, d->options.ignoreBlanks, d->hasher, pacer, keys);
    SharedTable::Scratch scratch;
    const size_t n = keys.hash.size();
    std::vector<bool> found(n);
    auto made = keys.made.begin();
    SharedTable* const table[2] = {d->tables.table[0].get(), d->tables.table[1].get()};
    auto slotsOf = [&](size_t from, size_t to) {
        for (size_t j = from; j < to; ++j)
            table[SharedTable::PartOf(keys.hash[j])]->prefetchHome(keys.hash[j]);
    };
    constexpr size_t kBatch = 16;
    slotsOf(0, std::min(n, kBatch));
    for (size_t i = 0; i < n; ++i) {
        // A batch of lines at a time: the next batch's slots are fetched,
        // and this batch's lines the slots hold, all at once.
        if (i % kBatch == 0) {
            slotsOf(std::min(n, i + kBatch), std::min(n, i + 2 * kBatch));
            for (size_t j = i; j < std::min(n, i + kBatch); ++j)
                table[SharedTable::PartOf(keys.hash[j])]->prefetchHeldAtHome(keys.hash[j]);
        }
        Key key;
        if (made != keys.made.end() && made->first == i) {
            key = (made++)->second;
        } else {
            key = ownKey(lines, keys, i, d->options.ignoreBlanks);
        }
        if (key.len == kTextKey) {
            const std::lock_guard<std::mutex> lock(d->textsInUse);
            const auto held = d->tables.texts.find(keys.texts[key.hash]);
            if (held != d->tables.texts.end()) {
                *held |= SharedTable::kInB;
                found[i] = true;
            }
            continue;
        }
        found[i] = table[SharedTable::PartOf(quint32(key.hash))]->find(
                       key, SharedTable::kInB, scratch) != SharedTable::kNoSlot;
    }
    return found;
}

void LineIndex::Answers(std::vector<bool>& aInB, std::vector<bool>& aRepeat) const
{
    aInB = d->tables.aInB(d->keysA, nullptr);
    d->tables.merge(d->keysA, &PartAnswers::repeatA, aRepeat, nullptr);
}
