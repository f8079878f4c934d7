#pragma once

#include "compare/CompareEngine.h"
#include "compare/CompareOptions.h"
#include "compare/CompareProgress.h"
#include "compare/DiskComparison.h"
#include "results/ListKinds.h"
#include "results/ResultList.h"

#include <QString>
#include <array>
#include <memory>

class QThread;

// One comparison off the window's thread: reading and matching the two files
// and filling a fresh list for each row of kListKinds. The window takes the
// lists only when all of them are ready, so a failure or Cancel leaves its
// own lists as they were.
struct ComparisonRun
{
    QString path1, path2;
    CompareOptions options;
    // Past it, the files are compared from disk.
    MemoryBudget budget;
    CompareProgress progress;
    // In the order of kListKinds; none after Cancel.
    std::array<std::unique_ptr<ResultList>, kListCount> lists;
    DistinctCounts distinct; // for the overlap bar
    // With a key: how many keys occur more than once in file 1 and in file 2.
    std::array<qsizetype, 2> repeatedKeys{};
    // The comparison the lists come from, for their near misses, which are
    // found once the lists show.
    std::shared_ptr<const Comparison> comparison;
    // What the window held before the lists came in, freed beside it.
    // The former comparison, its near misses, and the one the list of
    // changed lines showed its partners from.
    std::shared_ptr<const void> former[3];

    // Compares and fills the lists, which then belong to home's thread.
    // Returns quietly when cancelled; throws what the comparison threw.
    void Run(QThread* home);
};

// Passes lines on to a list, counting them for the progress dialog and
// stopping when the comparison is cancelled: Cancel is looked at by the work
// done, as the engine does, so a list of long lines stops as soon.
class CountingSink : public LineSink
{
public:
    CountingSink(LineSink& target, CompareProgress& progress, qint64& done, qint64 total)
        : m_target(target), m_progress(progress), m_done(done), m_total(total)
    {
    }
    void Clear() override { m_target.Clear(); }
    void AddAt(qsizetype line, const QString& text) override;
    void AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                     QByteArrayView bytes) override;

private:
    void step(qint64 bytes);

    LineSink& m_target;
    CompareProgress& m_progress;
    qint64& m_done;
    const qint64 m_total;
    qint64 m_work = 0;
};
