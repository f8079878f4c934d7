// The "Start Comparing" command.

#include "compare/CompareEngine.h"
#include "compare/CompareMessages.h"
#include "compare/CompareProgress.h"
#include "compare/WorkPacer.h"
#include "desktop/AppInfo.h"
#include "desktop/BusyProgress.h"
#include "desktop/MsgBox.h"
#include "platform/FileSystem.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/NearMissDialog.h"
#include "widgets/OverlapBar.h"
#include "widgets/ResultView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <array>
#include <atomic>
#include <exception>
#include <utility>
#include <vector>

// One comparison on a thread of its own: reading and matching the two files
// and filling three fresh lists. The window takes the lists only when all
// three are ready, so a failure or Cancel leaves its own lists as they were.
struct ComparisonRun
{
    QString path1, path2;
    CompareOptions options;
    CompareProgress progress;
    std::array<std::unique_ptr<ResultList>, 3> lists;
    DistinctCounts distinct; // for the overlap bar
    // The comparison the lists come from, for their near misses, which are
    // found once the lists show (Form1_nearmisses.cpp).
    std::shared_ptr<const Comparison> comparison;
    // What the window held before the lists came in, freed beside it.
    std::shared_ptr<const void> former[2];
    std::exception_ptr failure;
    std::atomic<bool> finished{false};

    void run(QThread* home);
};

namespace {

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
    void Add(const QString& text) override
    {
        m_target.Add(text);
        step(2 * text.size());
    }
    void AddEncoded(QByteArrayView bytes) override
    {
        m_target.AddEncoded(bytes);
        step(bytes.size());
    }
    void AddShared(const std::shared_ptr<const void>& owner, QByteArrayView bytes) override
    {
        m_target.AddShared(owner, bytes);
        step(bytes.size());
    }
    void AddAt(qsizetype line, const QString& text) override
    {
        m_target.AddAt(line, text);
        step(2 * text.size());
    }
    void AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                     QByteArrayView bytes) override
    {
        m_target.AddSharedAt(line, owner, bytes);
        step(bytes.size());
    }

private:
    void step(qint64 bytes)
    {
        ++m_done;
        m_work += Engine::lineWork(quint64(bytes));
        if (m_work >= Engine::kWorkPerLook) {
            m_work = 0;
            m_progress.ThrowIfCancelled();
            m_progress.ReportDone(m_done, m_total);
        }
    }

    LineSink& m_target;
    CompareProgress& m_progress;
    qint64& m_done;
    const qint64 m_total;
    qint64 m_work = 0;
};

constexpr std::array<ResultKind, 3> kKinds = {ResultKind::InBoth, ResultKind::OnlyIn1,
                                              ResultKind::OnlyIn2};

// What the progress dialog says about a comparison.
QString describe(const CompareProgress::State& state)
{
    switch (state.step) {
    case CompareProgress::Step::Reading:
        return state.path.isEmpty() ? QStringLiteral("Reading the files...")
                                    : QStringLiteral("Reading \"%1\"...").arg(state.path);
    case CompareProgress::Step::Comparing:
        return QStringLiteral("Comparing the lines...");
    case CompareProgress::Step::Listing:
        return QStringLiteral("Making the lists...");
    case CompareProgress::Step::LookAlikes:
        return QStringLiteral("Finding look-alike lines...");
    }
    return QString();
}

} // namespace

void ComparisonRun::run(QThread* home)
{
    try {
        std::array<std::unique_ptr<ResultList>, 3> fresh;
        // Finding the repeats as the lines are matched costs next to
        // nothing; counting them after the lists show would match them again.
        auto compared = CompareFiles(path1, path2, options, &progress);
        distinct = CountDistinct(*compared);
        qint64 total = 0, done = 0;
        for (const ResultKind kind : kKinds)
            total += ListSize(*compared, kind);
        progress.ReportDone(0, total);
        for (size_t i = 0; i < kKinds.size(); ++i) {
            fresh[i] = std::make_unique<ResultList>();
            const ResultList::BulkUpdate bulk(*fresh[i]);
            CountingSink sink(*fresh[i], progress, done, total);
            FillList(*compared, kKinds[i], sink);
        }
        progress.ThrowIfCancelled();
        // The window's thread takes the lists over and destroys them.
        for (auto& list : fresh)
            list->moveToThread(home);
        lists = std::move(fresh);
        comparison = std::move(compared);
    } catch (const CompareCancelled&) {
    } catch (...) {
        failure = std::current_exception();
    }
    finished.store(true, std::memory_order_release);
}

std::shared_ptr<ComparisonRun> Form1::runComparison()
{
    auto job = std::make_shared<ComparisonRun>();
    job->path1 = Text1->text();
    job->path2 = Text2->text();
    job->options = CurrentCompareOptions();
    job->options.countDistinct = true; // the overlap bar's numbers
    // A comparison left behind by Cancel may still be winding down: the new
    // one waits for it, so that two never hold their files at once.
    ++m_workersRunning;
    m_worker = std::thread([this, job, home = thread(), previous = std::move(m_worker)]() mutable {
        if (previous.joinable())
            previous.join();
        job->run(home);
        --m_workersRunning;
    });

    BusyProgress busy(this, true);
    bool done = false;
    {
        const BusyScope scope(*this, busy);
        done = busy.WaitFor([&job] { return job->finished.load(std::memory_order_acquire); },
                            [&] {
                                const CompareProgress::State state = job->progress.Current();
                                busy.Update(describe(state), state.done, state.total);
                            });
    }
    if (!done) {
        // The window answers at once; the engine stops at its next look.
        job->progress.Cancel();
        return nullptr;
    }
    if (job->failure)
        std::rethrow_exception(job->failure);
    return job;
}

void Form1::letGoOfOldLists(ComparisonRun& job)
{
    // The lists' former items are freed beside the window, which would
    // otherwise stand still for a while after a big comparison. The next
    // comparison waits for that before it reads its files.
    std::vector<std::shared_ptr<void>> old;
    for (auto& list : job.lists)
        if (list)
            old.push_back(list->TakeItems());
    // So do the former comparison and its near misses.
    for (auto& former : job.former)
        old.push_back(std::const_pointer_cast<void>(std::move(former)));
    ++m_workersRunning;
    m_worker = std::thread([this, old = std::move(old), previous = std::move(m_worker)]() mutable {
        if (previous.joinable())
            previous.join();
        old.clear();
        --m_workersRunning;
    });
}

void Form1::PushButton1_Click()
{
    ErrorTrap trap(QStringLiteral("PushButton1_Click"));
    trap.Run(100, [] { DoEvents(); });
    if (trap.If(102, [this] { return Text1->text().isEmpty(); })) {
        trap.Run(104, [] { MsgBox(CompareMessages::ForgotFile1()); });
        return;
    }
    if (trap.If(106, [this] { return Text2->text().isEmpty(); })) {
        trap.Run(108, [] { MsgBox(CompareMessages::ForgotFile2()); });
        return;
    }
    if (trap.If(110, [this] { return !FileSystem::RegularFileLookup(Text1->text()); })) {
        trap.Run(112, [] { MsgBox(CompareMessages::File1NotFound()); });
        return;
    }
    if (trap.If(114, [this] { return !FileSystem::RegularFileLookup(Text2->text()); })) {
        trap.Run(116, [] { MsgBox(CompareMessages::File2NotFound()); });
        return;
    }
    // Options that cannot be compared with (a key field and a key pattern
    // together, a pattern that does not compile) are named before anything is read.
    QString problem;
    if (trap.If(117, [&] {
            return !(problem = CompareOptionsProblem(CurrentCompareOptions())).isEmpty();
        })) {
        trap.Run(117, [&] { MsgBox(problem, kExclamation); });
        return;
    }
    trap.Run(118, [this] { SetMousePointer(kHourglass); });
    // The near misses still being found for the lists leave the cores to the
    // comparison; they are looked for again should it not take the lists' place.
    stopNearMissSearch();
    {
        // The three lists come from one reading of the two files, made off the
        // window's thread while the window repaints. They replace the window's
        // lists together, with no event handled in between. When that reading
        // fails, each list's statement reports the failure, as each would have
        // met it; after Cancel the lists stay as they were.
        std::shared_ptr<ComparisonRun> job;
        std::exception_ptr failure;
        bool ran = false;
        auto take = [&](ResultView* view, size_t index) {
            if (!ran) {
                ran = true;
                try {
                    job = runComparison();
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            if (failure)
                std::rethrow_exception(failure);
            if (job)
                view->list().SwapItems(*job->lists[index]);
        };
        trap.Run(120, [&] { take(ListView1, 0); });
        trap.Run(122, [&] { take(ListView2, 1); });
        trap.Run(124, [&] { take(ListView3, 2); });
        if (job) {
            Overlap1->SetCounts(job->distinct);
            // The old near misses leave with the old lists; the new ones are
            // found now, beside the window, which shows the lists meanwhile.
            if (m_nearMissDialog)
                m_nearMissDialog->close();
            job->former[0] = std::exchange(m_compared, std::move(job->comparison));
            job->former[1] = std::exchange(m_nearMisses, nullptr);
            letGoOfOldLists(*job);
        }
        if (m_compared && !m_nearMisses && !m_closeAsked)
            findNearMisses();
        enableNearMissCommands();
    }
    trap.Run(126, [this] { SetMousePointer(kDefaultPointer); });
    closeIfAsked();
}
