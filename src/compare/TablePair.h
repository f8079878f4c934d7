#pragma once

#include "compare/CompareOptions.h"
#include "compare/CompareProgress.h"
#include "compare/LineKeys.h"
#include "compare/LineTable.h"
#include "compare/SharedTable.h"
#include "compare/WorkPacer.h"

#include <QHash>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace Engine {

// What one part's table answers, in the order of its lines.
struct PartAnswers
{
    std::vector<quint32> whereA; // the slot of each line of A, kNoSlot for a text key
    std::vector<bool> repeatA, bInA, repeatB;
};

// The keys of A (and B, when given) in two tables, each for the keys of one
// part, filled side by side on the two cores; each sees every line of A,
// then every line of B, in order.
struct TablePair
{
    std::unique_ptr<SharedTable> table[2];
    QHash<QString, quint64> texts; // only part 0 holds keys held as text
    PartAnswers parts[2];
    // Slots a key: the fewer keys a slot, the shorter a search, above all
    // for a key that is not there; the more, the less memory.
    double room = 1.5;
    // Whether a table whose keys collide far beyond chance throws
    // SharedTable::Flooded (a table of keys that cannot be made to collide
    // need not).
    bool guarded = true;

    // The slots looked at while marking, in every table made so far.
    quint64 probes() const
    {
        return m_probesBefore + (table[0] ? table[0]->probes() : 0) +
               (table[1] ? table[1]->probes() : 0);
    }

    // Fills the tables with the keys of A, then those of B when given.
    void build(const LineTable& a, const Keys& keysA, const LineTable* b, const Keys* keysB,
               const CompareOptions& options, WorkPacer& pacer);

    // Whether each line of A has its key in B too.
    std::vector<bool> aInB(const Keys& keysA, const CompareProgress* progress) const;

    // One part's answers of a kind back in file order.
    void merge(const Keys& keys, std::vector<bool> PartAnswers::*from, std::vector<bool>& out,
               const CompareProgress* progress) const
    {
        if ((parts[0].*from).empty() && (parts[1].*from).empty())
            return;
        out.resize(keys.hash.size());
        size_t next[2] = {0, 0};
        for (size_t i = 0; i < keys.hash.size(); ++i) {
            if (progress && i % (1 << 20) == 0)
                progress->ThrowIfCancelled();
            const unsigned p = SharedTable::PartOf(keys.hash[i]);
            out[i] = (parts[p].*from)[next[p]++];
        }
    }

private:
    quint64 m_probesBefore = 0;
    // found for the lines [from, to) of A, whose answers start at next in the parts.
    void answerRange(const Keys& keysA, const std::vector<quint64> (&inB)[2], size_t from,
                     size_t to, std::array<size_t, 2> next, std::vector<bool>& found,
                     const CompareProgress* progress) const;
    // Makes new tables, for about keysPerPart keys each and never more than
    // limit, and marks the keys of A and B in them.
    void fill(size_t keysPerPart, size_t limit, const LineTable& a, const Keys& keysA,
              const LineTable* b, const Keys* keysB, const CompareOptions& options,
              WorkPacer& pacer);
};

} // namespace Engine
