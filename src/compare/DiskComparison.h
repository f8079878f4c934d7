#pragma once

#include "compare/CompareEngine.h"
#include "compare/CompareOptions.h"

#include <QString>
#include <memory>

class CompareProgress;

// How much memory a comparison may take, and where it keeps its files when
// the two files would need more: it then runs from disk (CompareOnDisk).
struct MemoryBudget
{
    // 0: DefaultMemoryBudget().
    qint64 bytes = 0;
    // The folder its private folder goes in; empty: $TMPDIR, else /tmp.
    QString tempDir;
    // How many parts the files are split into; 0: as many as the budget needs.
    int parts = 0;

    qint64 Bytes() const;
};

// About half the memory the system says is available (MemAvailable), and
// never less than 256 MB.
qint64 DefaultMemoryBudget();

// A size as "512M", "4G", "1.5G", "800K" or plain bytes, powers of 1024, or
// -1 for anything else (or less than 1 MB).
qint64 ParseMemorySize(const QString& text);

// About what comparing the two files in memory takes: both read whole, or
// file 1 with file 2 read a piece at a time (file2Streamed). A file whose
// size cannot be known (a pipe) counts as empty.
qint64 MemoryNeeded(const QString& path1, const QString& path2, const CompareOptions& options,
                    bool file2Streamed);

// Whether the comparison should run from disk under budget.
bool NeedsDisk(const QString& path1, const QString& path2, const CompareOptions& options,
               const MemoryBudget& budget, bool file2Streamed);

// Compares as CompareFiles does, within the budget: both files are split by
// the hash of each line's key into parts in a private folder (a line with
// its number), each pair of parts is compared in memory, and each list goes
// back to disk in file order. The comparison returned reads its lists from
// there as it passes them on (WriteListText, ForEachListLine,
// ForEachListRow, ForEachChange, NearMisses::ForEach); its counts are
// known; LineText, PartnerOf and ChangeOf know nothing, and FillList copies.
// The folder goes with the comparison, and on any failure or Cancel before.
// Throws RuntimeError (a full disk names the folder) and CompareCancelled.
std::shared_ptr<const Comparison> CompareOnDisk(const QString& path1, const QString& path2,
                                                const CompareOptions& options,
                                                const MemoryBudget& budget,
                                                CompareProgress* progress = nullptr);

// Whether a comparison was made from disk.
bool ComparedOnDisk(const Comparison& comparison);

// A comparison from disk with its lists brought into memory, for the window:
// it holds only the listed lines (and the partners of changed ones), and
// answers every call as a comparison made in memory does.
std::shared_ptr<const Comparison> ListsInMemory(const Comparison& onDisk,
                                                CompareProgress* progress = nullptr);

// Compares in memory, or from disk when the budget asks for it (then with
// the lists brought into memory, ListsInMemory): the window's comparison.
std::shared_ptr<const Comparison> CompareWithin(const QString& path1, const QString& path2,
                                                const CompareOptions& options,
                                                const MemoryBudget& budget,
                                                CompareProgress* progress = nullptr);
