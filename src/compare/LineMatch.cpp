#include "compare/LineMatch.h"

#include "compare/CompareProgress.h"
#include "compare/LineHash.h"
#include "compare/LineKeys.h"
#include "compare/SharedTable.h"
#include "compare/SideBySide.h"
#include "compare/TablePair.h"
#include "compare/WorkPacer.h"
#include "platform/TestHook.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

using Engine::computeKeys;
using Engine::Key;
using Engine::Keys;
using Engine::kTextKey;
using Engine::lineWork;
using Engine::ownKey;
using Engine::PartAnswers;
using Engine::SharedTable;
using Engine::TablePair;
using Engine::WorkPacer;

namespace {

auto& workHook()
{
    return TestHook<struct MatchWorkHook, void(const MatchWork&)>();
}

void report(const MatchWork& work)
{
    if (const auto& hook = workHook())
        hook(work);
}

// Tries with the fast hash, each with a seed of its own, before the keyed one.
constexpr int kFastTries = 2;

// Keys the lines and fills the tables, which fill does with the hasher it is
// given; when a table is flooded, all again with a fresh seed, and after
// kFastTries floods with the keyed hash, which no list can flood. Returns the
// hasher the tables hold their keys by.
template <typename Fill>
LineHash::Hasher fillGuarded(TablePair& tables, WorkPacer& pacer, MatchWork& work, Fill fill)
{
    for (;;) {
        const LineHash::Hasher hasher{LineHash::DrawSeed(), work.tries >= kFastTries};
        ++work.tries;
        tables.guarded = !hasher.keyed;
        try {
            fill(hasher);
            work.keyed = hasher.keyed;
            return hasher;
        } catch (const SharedTable::Flooded&) {
            pacer.Restart();
        }
    }
}

} // namespace

LineMatch LineMatch::Of(const LineTable& a, const LineTable& b, const CompareOptions& options,
                        CompareProgress* progress)
{
    // Each line is keyed once, then looked at by each of the two tables.
    const qint64 lineCount = a.size() + b.size();
    WorkPacer pacer(progress, 3 * lineCount);
    const bool matchCase = options.matchCase, trim = options.ignoreBlanks;
    Keys keysA, keysB;
    TablePair tables;
    MatchWork work;
    work.lines = lineCount;
    fillGuarded(tables, pacer, work, [&](const LineHash::Hasher& hasher) {
        keysA = Keys();
        keysB = Keys();
        // The two files' keys are independent: make B's on the other core.
        RunSideBySide([&] { computeKeys(a, matchCase, trim, hasher, pacer, keysA); },
                      [&] { computeKeys(b, matchCase, trim, hasher, pacer, keysB); });
        tables.build(a, keysA, &b, &keysB, options, pacer);
    });
    work.probes = tables.probes();
    report(work);

    LineMatch match;
    tables.merge(keysB, &PartAnswers::bInA, match.bInA, progress);
    tables.merge(keysA, &PartAnswers::repeatA, match.aRepeat, progress);
    tables.merge(keysB, &PartAnswers::repeatB, match.bRepeat, progress);
    match.aInB = tables.aInB(keysA, progress);
    return match;
}

void LineMatch::SetTestHook(std::function<void(const MatchWork&)> hook)
{
    workHook() = std::move(hook);
}

struct LineIndex::Data
{
    Data(const CompareOptions& withOptions, CompareProgress* progress)
        : options(withOptions), pacer(progress, 0)
    {
    }
    CompareOptions options;
    WorkPacer pacer;
    LineHash::Hasher hasher; // the keys of A are made with it, and those of B must be
    Keys keysA;
    TablePair tables;
    std::mutex textsInUse; // keys held as text are looked up under it
    MatchWork work;
    std::atomic<quint64> probesLookingUp{0};
    std::atomic<qint64> linesFound{0};
};

LineIndex::LineIndex(const LineTable& a, const CompareOptions& options, CompareProgress* progress)
    : d(std::make_unique<Data>(options, progress))
{
    // Most lines of file 2 may be missing from file 1, and file 2 takes no
    // room in the table: a roomier table pays.
    d->tables.room = 2.0;
    d->work.lines = a.size();
    d->hasher = fillGuarded(d->tables, d->pacer, d->work, [&](const LineHash::Hasher& hasher) {
        d->keysA = Keys();
        computeKeys(a, options.matchCase, options.ignoreBlanks, hasher, d->pacer, d->keysA, true);
        d->tables.build(a, d->keysA, nullptr, nullptr, options, d->pacer);
    });
}

LineIndex::~LineIndex() = default;

std::vector<bool> LineIndex::Find(const LineTable& lines) const
{
    Keys keys;
    computeKeys(lines, d->options.matchCase, d->options.ignoreBlanks, d->hasher, d->pacer, keys);
    WorkPacer::Meter meter(d->pacer);
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
    quint64 probesHere = 0;
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
            meter.Line();
            const std::lock_guard<std::mutex> lock(d->textsInUse);
            const auto held = d->tables.texts.find(keys.texts[key.hash]);
            if (held != d->tables.texts.end()) {
                *held |= SharedTable::kInB;
                found[i] = true;
            }
            continue;
        }
        size_t probes;
        found[i] = table[SharedTable::PartOf(quint32(key.hash))]->find(
                       key, SharedTable::kInB, scratch, probes) != SharedTable::kNoSlot;
        probesHere += probes;
        meter.Line(qint64(probes) - 1 + lineWork(key.len));
    }
    d->probesLookingUp.fetch_add(probesHere, std::memory_order_relaxed);
    d->linesFound.fetch_add(qint64(n), std::memory_order_relaxed);
    return found;
}

void LineIndex::Answers(std::vector<bool>& aInB, std::vector<bool>& aRepeat) const
{
    MatchWork work = d->work;
    work.lines += d->linesFound.load(std::memory_order_relaxed);
    work.probes = d->tables.probes() + d->probesLookingUp.load(std::memory_order_relaxed);
    report(work);
    aInB = d->tables.aInB(d->keysA, nullptr);
    d->tables.merge(d->keysA, &PartAnswers::repeatA, aRepeat, nullptr);
}
