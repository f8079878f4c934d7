// The "Start Comparing" command.

#include "compare/CompareEngine.h"
#include "compare/CompareMessages.h"
#include "compare/CompareProgress.h"
#include "compare/DiskComparison.h"
#include "desktop/AppInfo.h"
#include "desktop/BusyProgress.h"
#include "desktop/MsgBox.h"
#include "platform/FileSystem.h"
#include "results/UndoHistory.h"
#include "shell/ComparisonRun.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/NearMissDialog.h"
#include "widgets/OverlapBar.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace {

// What the progress dialog says about a comparison.
QString describe(const CompareProgress::State& state)
{
    switch (state.step) {
    case CompareProgress::Step::Reading:
        return state.path.isEmpty() ? Form1::tr("Reading the files...")
                                    : Form1::tr("Reading \"%1\"...").arg(state.path);
    case CompareProgress::Step::Comparing:
        return Form1::tr("Comparing the lines...");
    case CompareProgress::Step::Listing:
        return Form1::tr("Making the lists...");
    case CompareProgress::Step::LookAlikes:
        return Form1::tr("Finding look-alike lines...");
    case CompareProgress::Step::Splitting:
        return Form1::tr("Splitting file %1 ... %2 %")
            .arg(state.part)
            .arg(state.total > 0 ? std::min<qint64>(100, 100 * state.done / state.total) : 0);
    case CompareProgress::Step::ComparingPart:
        return Form1::tr("Comparing part %1 of %2").arg(state.part).arg(state.parts);
    case CompareProgress::Step::Writing:
        return Form1::tr("Writing the lists...");
    }
    return QString();
}

} // namespace

std::shared_ptr<ComparisonRun> Form1::runComparison()
{
    auto job = std::make_shared<ComparisonRun>();
    job->path1 = Text1->text();
    job->path2 = Text2->text();
    job->options = CurrentCompareOptions();
    job->options.countDistinct = true; // the overlap bar's numbers
    job->budget = MemoryBudgetSetting();
    // A comparison left behind by Cancel may still be winding down: the new
    // one waits for it, so that two never hold their files at once.
    const auto work = m_workers.Run(
        WorkerChain::Start::AfterPrevious, [job, home = thread()] { job->Run(home); },
        [job] { job->progress.Cancel(); });

    BusyProgress busy(this, true);
    bool done = false;
    {
        const BusyScope scope(*this, busy);
        done = busy.WaitFor([&work] { return work->Finished(); },
                            [&] {
                                const CompareProgress::State state = job->progress.Current();
                                // From disk, the bar counts the parts compared.
                                if (state.step == CompareProgress::Step::ComparingPart)
                                    busy.Update(describe(state), state.part - 1, state.parts);
                                else
                                    busy.Update(describe(state), state.done, state.total);
                            });
    }
    if (!done) {
        // The window answers at once; the engine stops at its next look.
        job->progress.Cancel();
        return nullptr;
    }
    if (work->Failure())
        std::rethrow_exception(work->Failure());
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
    // The steps to undo were steps on the old lists: their history ends.
    for (auto& step : m_history->End())
        old.push_back(std::move(step));
    // So do the former comparison and its near misses.
    for (auto& former : job.former)
        old.push_back(std::const_pointer_cast<void>(std::move(former)));
    m_workers.Run(WorkerChain::Start::AfterPrevious,
                  [old = std::move(old)]() mutable { old.clear(); });
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
    rememberPaths();
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
    qsizetype gaveUp = 0;
    // A new comparison ends the history of the lists: what Clear All kept for
    // Undo is freed before the files are read, so the comparison has that
    // memory. After Cancel the lists stay, but no longer their Undo.
    if (auto steps = m_history->End(); !steps.empty())
        m_workers.Run(WorkerChain::Start::AfterPrevious,
                      [old = std::move(steps)]() mutable { old.clear(); });
    {
        // The three lists come from one reading of the two files, made off the
        // window's thread while the window repaints. They replace the window's
        // lists together, with no event handled in between. When that reading
        // fails, each list's statement reports the failure, as each would have
        // met it; after Cancel the lists stay as they were.
        std::shared_ptr<ComparisonRun> job;
        std::exception_ptr failure;
        QString unknownField;
        bool ran = false;
        auto take = [&](size_t index) {
            if (!ran) {
                ran = true;
                try {
                    job = runComparison();
                } catch (const UnknownFieldName& error) {
                    unknownField = error.description();
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            // A field the first line does not name is a problem of the
            // options, said once as the others are; no list changes.
            if (!unknownField.isEmpty()) {
                if (index == 0)
                    MsgBox(unknownField, kExclamation);
                return;
            }
            // The designed lists tell of a failure; a list only a key has
            // keeps quiet rather than say it a fourth time.
            if (failure && !kListKinds[index].onlyWithKey)
                std::rethrow_exception(failure);
            if (job)
                Panes[index]->List().SwapItems(*job->lists[index]);
        };
        for (size_t i = 0; i < Panes.size(); ++i)
            trap.Run(i < 3 ? 120 + 2 * int(i) : 125, [&] { take(i); });
        if (job) {
            // The panes show the lists this comparison has; a list of changed
            // lines shows each beside its partner in file 2.
            showListsOf(job->options);
            for (size_t i = 0; i < Panes.size(); ++i)
                if (kListKinds[i].kind == ResultKind::Changed)
                    job->former[2] = Panes[i]->View->ShowChanges(
                        job->options.HasKey() ? job->comparison : nullptr);
            Overlap1->SetCounts(job->distinct, job->options, job->repeatedKeys);
            m_showOverlap = [this, distinct = job->distinct, options = job->options,
                             repeated = job->repeatedKeys] {
                Overlap1->SetCounts(distinct, options, repeated);
            };
            // The old near misses leave with the old lists; the new ones are
            // found now, beside the window, which shows the lists meanwhile.
            if (m_nearMissDialog)
                m_nearMissDialog->close();
            gaveUp = job->comparison ? PatternGaveUp(*job->comparison) : 0;
            job->former[0] = std::exchange(m_compared, std::move(job->comparison));
            job->former[1] = std::exchange(m_nearMisses, nullptr);
            letGoOfOldLists(*job);
        }
        if (m_compared && !m_nearMisses && !m_closeAsked)
            findNearMisses();
        enableNearMissCommands();
    }
    trap.Run(126, [this] { SetMousePointer(kDefaultPointer); });
    // Lines the key pattern gave up on were compared whole: said once, with
    // the lists in view.
    if (gaveUp > 0 && !m_closeAsked)
        MsgBox(gaveUp == 1 ? tr("The key pattern gave up on 1 line (its match limit); it was "
                                "compared whole.")
                           : tr("The key pattern gave up on %1 lines (its match limit); they "
                                "were compared whole.")
                                 .arg(QLocale().toString(gaveUp)),
               kExclamation);
    closeIfAsked();
}
