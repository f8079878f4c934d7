#pragma once

#include "compare/ByteBuffer.h"
#include "compare/CaseFolding.h"
#include "compare/LineHash.h"
#include "compare/LineKeys.h"
#include "compare/LineTable.h"
#include "compare/WorkPacer.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace Engine {

// One open-addressing table over the lines of both files. A slot holds the
// key's bytes and, in meta, its length (38 bits), 22 bits of its hash, whether
// it is compared lowered, and a flag per file that holds it.
class SharedTable
{
public:
    // The flags of a key that file A, file B holds.
    static constexpr quint64 kInA = quint64(1) << 62, kInB = quint64(1) << 63;
    // The slot of a key that has none.
    static constexpr quint32 kNoSlot = ~quint32(0);

    // Room for lowering two lines while comparing them; one per thread.
    struct Scratch
    {
        std::string a, b;
    };

    // Thrown when a table holds more keys than it was made for.
    struct Full
    {
    };

    // Thrown by a guarded table whose keys collide far beyond chance, as
    // keys made to collide would: a key kMaxDistance slots or more past its
    // home slot, or more slots looked at than kFreeProbes and kProbesPerKey
    // a key marked allow. Neither comes near at random, the table being at
    // most three quarters full: the farthest key of a billion sits a few
    // hundred slots past its home, and a key costs two or three looks on
    // average.
    struct Flooded
    {
    };
    static constexpr size_t kMaxDistance = 1024;
    static constexpr quint64 kFreeProbes = quint64(1) << 16, kProbesPerKey = 32;

    // A table for about keys distinct keys, never more than limit, with
    // room slots a key; guarded, it throws Flooded. Inline like mark: built
    // out of line, the marking loop after it took more instructions.
    SharedTable(size_t keys, size_t limit, double room, bool fold, bool trim, bool guarded)
        : m_capacity(size_t(double(keys) * room) + 1024), m_fold(fold), m_trim(trim),
          m_guarded(guarded)
    {
        m_limit = std::min(limit, m_capacity - m_capacity / 4);
        m_memory = ByteBuffer(qint64(m_capacity * sizeof(Slot)), true);
        m_slots = reinterpret_cast<Slot*>(m_memory.data());
    }

    // Marks with flag the keys of table's lines that belong to part, and
    // tells for each where its slot is, whether seenFlag was on it, and
    // whether it repeats.
    void mark(const LineTable& table, const Keys& keys, quint64 flag, unsigned part,
              WorkPacer& pacer, QHash<QString, quint64>& texts, std::vector<quint32>* where,
              std::vector<bool>* seen, quint64 seenFlag, std::vector<bool>* repeat);

    // The slot of a key already in the table, or kNoSlot, marking it with
    // flag; probes receives the slots looked at. Once the table is filled,
    // several threads may look at once.
    quint32 find(const Key& key, quint64 flag, Scratch& scratch, size_t& probes)
    {
        return m_fold ? find<true>(key, flag, scratch, probes)
                      : find<false>(key, flag, scratch, probes);
    }

    // The slots looked at while marking.
    quint64 probes() const { return m_probes; }

    // Fetches the line that the key's home slot, or one just past it, holds.
    void prefetchHeldAtHome(quint32 hash) const;

    // Fetches the key's home slot.
    void prefetchHome(quint32 hash) const { __builtin_prefetch(&m_slots[home(hash)]); }

    // Which of two tables a key belongs to; keys held as text (hash 0) are all in part 0.
    static unsigned PartOf(quint32 hash) { return hash & 1; }

    // The flags of the keys' slots.
    quint64 flagsAt(quint32 slot) const { return m_slots[slot].meta & (kInA | kInB); }

    // Whether each slot's key is in B, a bit a slot, in slot order.
    std::vector<quint64> slotsInB() const;

private:
    // How many lines ahead a slot, and the line it holds, are fetched.
    static constexpr size_t kSlotAhead = 32, kHeldAhead = 8;

    struct Slot
    {
        const char* ptr;
        quint64 meta;
    };
    static constexpr quint64 kLengthMask = (quint64(1) << 38) - 1;

    size_t home(quint32 hash) const { return size_t((quint64(hash) * m_capacity) >> 32); }

    static quint64 metaOf(const Key& key)
    {
        return (key.len & kLengthMask) | (((key.hash >> 1) & kTagMask) << 38) |
               (key.lowered ? kLowered : 0);
    }

    // The slot of key, placed in the first free slot from its home on when
    // new; distance receives how far past its home the slot is.
    template <bool Fold> size_t place(const Key& key, quint64 flag, bool& again, size_t& distance)
    {
        const quint64 meta = metaOf(key);
        size_t index = home(quint32(key.hash));
        for (distance = 0;; ++distance, index = index + 1 == m_capacity ? 0 : index + 1) {
            Slot& slot = m_slots[index];
            if (!slot.ptr) {
                if (++m_used > m_limit)
                    throw Full();
                slot = {key.ptr, meta | flag};
                again = false;
                m_maxDistance = std::max(m_maxDistance, distance);
                return index;
            }
            if (matches<Fold>(slot.ptr, slot.meta, key, meta, m_scratch)) {
                again = slot.meta & flag;
                slot.meta |= flag;
                return index;
            }
            if (distance >= kMaxDistance && m_guarded) {
                m_probes += distance + 1;
                throw Flooded();
            }
        }
    }

    template <bool Fold>
    quint32 find(const Key& key, quint64 flag, Scratch& scratch, size_t& probes)
    {
        const quint64 meta = metaOf(key);
        size_t index = home(quint32(key.hash));
        // No key sits farther from its home than m_maxDistance: a key not
        // there is known to be missing by then, however long the run of
        // full slots.
        for (probes = 1;; ++probes, index = index + 1 == m_capacity ? 0 : index + 1) {
            Slot& slot = m_slots[index];
            if (!slot.ptr)
                return kNoSlot;
            std::atomic_ref<quint64> flags(slot.meta);
            const quint64 held = flags.load(std::memory_order_relaxed);
            if (matches<Fold>(slot.ptr, held, key, meta, scratch)) {
                if (!(held & flag))
                    flags.fetch_or(flag, std::memory_order_relaxed);
                return quint32(index);
            }
            if (probes > m_maxDistance)
                return kNoSlot;
        }
    }

    template <bool Fold>
    static bool matches(const char* held, quint64 heldMeta, const Key& key, quint64 meta,
                        Scratch& scratch)
    {
        constexpr quint64 keyBits = kLengthMask | (kTagMask << 38) | kLowered;
        if ((heldMeta & keyBits) == meta && !key.lowered)
            return LineHash::equal<Fold>(held, key.ptr, key.len);
        // A lowered line may equal a line of another length: the tag decides
        // whether to compare at all.
        if (((heldMeta ^ meta) & (kTagMask << 38)) || !((heldMeta | meta) & kLowered))
            return false;
        return equalLowered(held, heldMeta & kLengthMask, heldMeta & kLowered, key.ptr, key.len,
                            key.lowered, scratch);
    }

    // Equality of two lines by their forms lower-cased beyond ASCII (the
    // comparison folds ASCII letters); only a line marked lowered changes.
    static bool equalLowered(const char* a, size_t lengthA, bool lowerA, const char* b,
                             size_t lengthB, bool lowerB, Scratch& scratch)
    {
        // The same bytes but for the case of ASCII letters (a repeated line,
        // most often) lower to the same form.
        if (lengthA == lengthB && LineHash::equal<true>(a, b, lengthA))
            return true;
        if (lowerA && lowerBeyondAscii(a, lengthA, scratch.a, lengthA))
            a = scratch.a.data();
        if (lowerB && lowerBeyondAscii(b, lengthB, scratch.b, lengthB))
            b = scratch.b.data();
        return lengthA == lengthB && LineHash::equal<true>(a, b, lengthA);
    }

    static constexpr quint64 kTagMask = (quint64(1) << 22) - 1;
    static constexpr quint64 kLowered = quint64(1) << 60;
    Scratch m_scratch;
    size_t m_capacity, m_limit, m_used = 0, m_maxDistance = 0;
    // Slots looked at while marking, and how many the keys marked allow.
    quint64 m_probes = 0, m_allowed = kFreeProbes;
    ByteBuffer m_memory;
    Slot* m_slots = nullptr;
    bool m_fold, m_trim, m_guarded;
};

// For each line of table that belongs to part (the other part's lines are
// some other table's), in order: where receives its slot; seen whether its
// key already had the flag seenFlag (the other file, marked before); repeat
// whether an earlier line of the same file had the same key.
inline void SharedTable::mark(const LineTable& table, const Keys& keys, quint64 flag, unsigned part,
                              WorkPacer& pacer, QHash<QString, quint64>& texts,
                              std::vector<quint32>* where, std::vector<bool>* seen,
                              quint64 seenFlag, std::vector<bool>* repeat)
{
    const size_t n = keys.hash.size();
    auto made = keys.made.begin();
    WorkPacer::Meter meter(pacer);
    size_t marked = 0;
    for (size_t i = 0; i < n; ++i) {
        // Fetch the slot some keys ahead, and a few keys ahead the line it
        // holds: the table and the files are far larger than the cache.
        if (i + kSlotAhead < n && PartOf(keys.hash[i + kSlotAhead]) == part)
            __builtin_prefetch(&m_slots[home(keys.hash[i + kSlotAhead])]);
        if (i + kHeldAhead < n && PartOf(keys.hash[i + kHeldAhead]) == part)
            prefetchHeldAtHome(keys.hash[i + kHeldAhead]);
        const bool isMade = made != keys.made.end() && made->first == i;
        Key key;
        if (isMade)
            key = (made++)->second;
        if (PartOf(keys.hash[i]) != part)
            continue;
        ++marked;
        if (!isMade)
            key = ownKey(table, keys, i, m_trim);
        quint64 flags;
        size_t slot = kNoSlot;
        bool again;
        if (key.len == kTextKey) {
            meter.Line();
            quint64& held = texts[keys.texts[key.hash]];
            again = held & flag;
            flags = (held |= flag);
        } else {
            size_t distance;
            slot = m_fold ? place<true>(key, flag, again, distance)
                          : place<false>(key, flag, again, distance);
            // A slot whose tag matches has its line compared: counted as if
            // every one had.
            meter.Line(qint64(distance) + lineWork(key.len));
            m_probes += distance + 1;
            m_allowed += kProbesPerKey;
            if (m_probes > m_allowed && m_guarded)
                throw Flooded();
            flags = flagsAt(quint32(slot));
        }
        if (where)
            where->push_back(quint32(slot));
        if (seen)
            seen->push_back(flags & seenFlag);
        if (repeat)
            repeat->push_back(again);
    }
    meter.Lines(qint64(n - marked)); // the other part's lines, counted as done
}

// The line worth having before comparing: the one held by the first slot
// with the key's tag from its home slot on (a key sits past its home when an
// earlier key took it), within the home slot's cache line, which is at hand.
// Both its cache lines when it spans two.
inline void SharedTable::prefetchHeldAtHome(quint32 hash) const
{
    const size_t at = home(hash);
    const quint64 tag = (hash >> 1) & kTagMask;
    const Slot* slot = &m_slots[at];
    const Slot* const lineEnd =
        reinterpret_cast<const Slot*>((reinterpret_cast<quintptr>(slot) | 63) + 1);
    const Slot* const tableEnd = m_slots + m_capacity;
    quint64 meta = 0;
    for (;; ++slot) {
        if (slot == lineEnd || slot == tableEnd || !slot->ptr)
            return;
        // Another thread may be marking the slot meanwhile.
        meta = std::atomic_ref<quint64>(const_cast<quint64&>(slot->meta))
                   .load(std::memory_order_relaxed);
        if (((meta >> 38) & kTagMask) == tag)
            break;
    }
    const char* first = slot->ptr;
    const char* last = first + std::max<quint64>(meta & kLengthMask, 1) - 1;
    __builtin_prefetch(first);
    if ((reinterpret_cast<quintptr>(first) ^ reinterpret_cast<quintptr>(last)) >= 64)
        __builtin_prefetch(last);
}

} // namespace Engine
