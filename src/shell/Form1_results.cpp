// The result commands: save, "Save All Lists As CSV...", copy, the Delete
// key, "Clear All Results", and Undo and Redo of the last two and of the
// lists' check marks.

#include "desktop/AppInfo.h"
#include "desktop/BusyProgress.h"
#include "desktop/CommonDialog.h"
#include "desktop/MsgBox.h"
#include "desktop/SettingsStore.h"
#include "platform/RuntimeError.h"
#include "results/ListSaving.h"
#include "results/ListsCsv.h"
#include "results/UndoHistory.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/ClipboardText.h"
#include "widgets/FindBar.h"
#include "widgets/OverlapBar.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScopeGuard>
#include <algorithm>
#include <exception>

namespace {

QString copiedText()
{
    return Form1::tr("Results have been copied to the clipboard.") + QStringLiteral("\r\r") +
           Form1::tr("Click a text area where you normally type and press Ctrl+V to paste the "
                     "clipboard.");
}

// "Save All Lists As CSV..." in the list's menu, set apart after the entries
// that copy lines.
QAction* addCsvCommand(ResultView* view)
{
    QList<QAction*> entries = view->actions();
    auto after = std::find_if(entries.begin(), entries.end(), [](const QAction* entry) {
        return entry->objectName() == QLatin1String("copySelected");
    });
    while (after != entries.end() && (*after)->objectName().startsWith(QLatin1String("copy")))
        ++after;
    QAction* before = after == entries.end() ? nullptr : *after;
    auto separator = [view] {
        auto* line = new QAction(view);
        line->setSeparator(true);
        return line;
    };
    auto* csv = new QAction(Form1::tr("Save All Lists As CSV..."), view);
    csv->setObjectName(QStringLiteral("saveAllAsCsv"));
    view->insertActions(before, {separator(), csv});
    if (before && !before->isSeparator())
        view->insertAction(before, separator());
    return csv;
}

} // namespace

void Form1::connectResultCommands()
{
    // One history for the window: Clear All is a step of every list at once.
    // A step that falls off lets go of its lines beside the window.
    m_history = new UndoHistory(this);
    m_history->SetReleaser([this](std::vector<std::shared_ptr<void>> steps) {
        m_workers.Run(WorkerChain::Start::AfterPrevious,
                      [steps = std::move(steps)]() mutable { steps.clear(); });
    });
    for (ResultPane* pane : Panes) {
        connect(pane->Save, &QPushButton::clicked, this, [this, pane] { saveResults(*pane); });
        connect(pane->Copy, &QPushButton::clicked, this, [this, pane] { copyResults(*pane); });
        connect(pane->View, &ResultView::keyDown, this,
                [this, pane](int key, Qt::KeyboardModifiers) { deleteCurrentLine(*pane, key); });
        connect(pane->View, &ResultView::copyAsked, this, [this, pane] { copySelection(*pane); });
        connect(addCsvCommand(pane->View), &QAction::triggered, this,
                [this, pane] { saveListsAsCsv(*pane); });
        pane->View->SetHistory(m_history);
        // Never while a command is busy: a save reads the lists meanwhile.
        auto takeStep = [this, pane](bool again) {
            if (MousePointer() == kHourglass)
                return;
            ErrorTrap trap(QLatin1String(pane->Kind().controls.list) + QStringLiteral("_KeyDown"));
            trap.Run(again ? 114 : 112, [&] { again ? m_history->Redo() : m_history->Undo(); });
        };
        connect(pane->View, &ResultView::undoAsked, this, [takeStep] { takeStep(false); });
        connect(pane->View, &ResultView::redoAsked, this, [takeStep] { takeStep(true); });
        // Kept for the next start; a settings file that cannot be written
        // was reported at start-up.
        connect(pane->View, &ResultView::lineNumbersToggled, this, [pane](bool shown) {
            try {
                SaveSetting(QStringLiteral("Harrowmere"), ProductName(), pane->LineNumbersKey(),
                            shown ? QStringLiteral("1") : QStringLiteral("0"));
            } catch (const RuntimeError&) {
            }
        });
    }
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connectFindBars();
}

void Form1::connectFindBars()
{
    for (ResultPane* pane : Panes)
        pane->TabThroughFindBar();
    // Letter case and look-alike spellings count in a find as they do in a
    // comparison.
    auto followOptions = [this] {
        for (ResultPane* pane : Panes) {
            pane->Find->SetCaseSensitive(CheckValue(Check7) == 1);
            pane->Find->SetLookAlike(Check10->isChecked());
        }
    };
    connect(Check7, &QCheckBox::stateChanged, this, followOptions);
    connect(Check10, &QCheckBox::toggled, this, followOptions);
    followOptions();
}

// The designed handlers of the three lists' commands.
void Form1::PushButton2_Click()
{
    saveResults(*Panes[0]);
}

void Form1::PushButton5_Click()
{
    saveResults(*Panes[1]);
}

void Form1::PushButton6_Click()
{
    saveResults(*Panes[2]);
}

void Form1::PushButton8_Click()
{
    copyResults(*Panes[0]);
}

void Form1::PushButton9_Click()
{
    copyResults(*Panes[1]);
}

void Form1::PushButton10_Click()
{
    copyResults(*Panes[2]);
}

void Form1::ListView1_KeyDown(int keyCode, int)
{
    deleteCurrentLine(*Panes[0], keyCode);
}

void Form1::ListView2_KeyDown(int keyCode, int)
{
    deleteCurrentLine(*Panes[1], keyCode);
}

void Form1::ListView3_KeyDown(int keyCode, int)
{
    deleteCurrentLine(*Panes[2], keyCode);
}

void Form1::PushButton7_Click()
{
    ErrorTrap trap(QStringLiteral("PushButton7_Click"));
    // What the window shows of the lists beside them, kept for Undo with the
    // lists' storage.
    struct Shown
    {
        std::vector<std::pair<ResultView*, std::shared_ptr<const Comparison>>> changes;
        bool overlap = false;
        std::shared_ptr<const Comparison> compared;
        std::shared_ptr<const NearMisses::Index> nearMisses;
    };
    auto shown = std::make_shared<Shown>();
    auto step = std::make_unique<ClearedLists>([this, shown](bool restored) {
        for (auto& [view, changes] : shown->changes)
            changes = view->ShowChanges(restored ? std::move(changes) : nullptr);
        if (!restored) {
            Overlap1->Clear();
            shown->compared = m_compared;
            shown->nearMisses = m_nearMisses;
            forgetNearMisses();
            return;
        }
        if (shown->overlap && m_showOverlap)
            m_showOverlap();
        m_compared = shown->compared;
        m_nearMisses = shown->nearMisses;
        // A search given up by Clear All starts again.
        if (m_compared && !m_nearMisses && !m_closeAsked)
            findNearMisses();
        enableNearMissCommands();
    });
    // Each list at its own line of the trap; a busy command keeps the first.
    // The panes stay as the last comparison showed them, the list of changed
    // lines too, empty: the window keeps its size until the next comparison.
    // The lists' items go whole into the step, to come back as whole.
    for (size_t i = 0; i < Panes.size(); ++i)
        trap.Run(i < 3 ? 100 + 2 * int(i) : 105, [&, i] {
            if (i > 0 || MousePointer() != kHourglass)
                step->Take(Panes[i]->List());
            shown->changes.emplace_back(Panes[i]->View, Panes[i]->View->ShowChanges(nullptr));
        });
    // The overlap told of the lists just emptied.
    shown->overlap = Overlap1->Counts().has_value();
    Overlap1->Clear();
    shown->compared = m_compared;
    shown->nearMisses = m_nearMisses;
    trap.Run(106, [this] { forgetNearMisses(); });
    // Lists already empty still take the comparison with them: Undo of the
    // steps before brings back their lines, and this brings back the rest.
    const bool showedSome =
        shown->overlap || shown->compared ||
        std::ranges::any_of(shown->changes, [](const auto& view) { return bool(view.second); });
    if (!step->IsEmpty() || showedSome)
        m_history->Add(std::move(step));
}

void Form1::saveResults(const ResultPane& pane)
{
    ErrorTrap trap(QLatin1String(pane.Kind().controls.save) + QStringLiteral("_Click"));
    QString chosen;
    trap.Run(106, [this] { CommonDialog1->FileName = QString(); });
    trap.Run(108, [this] { CommonDialog1->DialogTitle = tr("Save"); });
    trap.Run(110, [this] {
        CommonDialog1->Filter = tr("Text Files(*.txt)|*.txt|All Files (*.*)|*.*|");
    });
    trap.Run(112, [this] { CommonDialog1->ShowSave(); });
    trap.Run(114, [&] { chosen = CommonDialog1->FileName; });
    if (trap.If(116, [&] { return chosen.isEmpty(); }))
        return;
    // The hourglass stays while the file is written; the window repaints but
    // takes no input meanwhile.
    trap.Run(118, [this] { SetMousePointer(kHourglass); });
    trap.Run(120, [&] {
        const ResultList& list = pane.List();
        saveInBackground(chosen, list.Count(),
                         [&](SaveControl& control) { SaveListInPieces(chosen, list, control); });
    });
    trap.Run(122, [this] { SetMousePointer(kDefaultPointer); });
    closeIfAsked();
}

void Form1::saveListsAsCsv(const ResultPane& pane)
{
    ErrorTrap trap(QLatin1String(pane.Kind().controls.list) + QStringLiteral("_SaveAllAsCsv"));
    QString chosen;
    trap.Run(100, [this] { CommonDialog1->FileName = QString(); });
    trap.Run(102, [this] { CommonDialog1->DialogTitle = tr("Save All Lists As CSV"); });
    trap.Run(104,
             [this] { CommonDialog1->Filter = tr("CSV Files(*.csv)|*.csv|All Files (*.*)|*.*|"); });
    trap.Run(106, [this] { CommonDialog1->ShowSave(); });
    trap.Run(108, [&] { chosen = CommonDialog1->FileName; });
    if (trap.If(110, [&] { return chosen.isEmpty(); }))
        return;
    // The lists shown, in their order, as they are now: lines deleted or
    // cleared are not written. A list of changed lines takes its partners
    // from the comparison its view shows them from.
    std::vector<ListsCsv::ShownList> lists;
    std::shared_ptr<const Comparison> changes;
    qint64 rows = 0;
    for (const ResultPane* shown : shownPanes()) {
        lists.push_back({&shown->Kind(), &shown->List()});
        rows += shown->List().Count();
        if (shown->Kind().kind == ResultKind::Changed)
            changes = shown->View->ChangesShown();
    }
    trap.Run(112, [this] { SetMousePointer(kHourglass); });
    trap.Run(114, [&] {
        saveInBackground(chosen, rows, [&](SaveControl& control) {
            ListsCsv::Save(chosen, lists, changes, control);
        });
    });
    trap.Run(116, [this] { SetMousePointer(kDefaultPointer); });
    closeIfAsked();
}

void Form1::saveInBackground(const QString& path, qint64 count,
                             const std::function<void(SaveControl&)>& write)
{
    // The writer reads the lists while the window waits; the window takes no
    // input meanwhile, so nothing changes them under it. It starts at once,
    // beside whatever is still being freed.
    SaveControl control;
    const auto writer = m_workers.Run(
        WorkerChain::Start::AtOnce, [&write, &control] { write(control); },
        [&control] { control.cancel.store(true); });
    // However this ends, the writer has stopped before the list can change.
    const auto stop = qScopeGuard([&] {
        writer->Cancel();
        writer->Wait();
    });
    auto finished = [&writer] { return writer->Finished(); };
    {
        BusyProgress busy(this, true);
        const BusyScope scope(*this, busy);
        if (!busy.WaitFor(finished, [&] {
                busy.Update(tr("Saving \"%1\"...").arg(path),
                            control.done.load(std::memory_order_relaxed), count);
            }))
            writer->Cancel();
    }
    if (!finished()) {
        // The writer stops at its next piece; a commit under way is let finish.
        BusyProgress stopping(this, true);
        stopping.WaitFor(finished, [] {});
    }
    if (writer->Failure())
        std::rethrow_exception(writer->Failure());
}

void Form1::copyResults(const ResultPane& pane)
{
    // The copy lets the window handle events while it reads the list, so any
    // command, this one included, may run in the middle of it.
    // A long copy shows its progress; Cancel leaves the clipboard as it was and
    // skips the confirmation.
    ErrorTrap trap(QLatin1String(pane.Kind().controls.copy) + QStringLiteral("_Click"));
    bool cancelled = false;
    bool copied = false;
    {
        BusyProgress busy(this, false);
        const BusyScope scope(*this, busy);
        copied = trap.Run(106, [&] { cancelled = !CopyListToClipboard(pane.List(), &busy); });
    }
    if (cancelled) {
        closeIfAsked();
        return;
    }
    // The confirmation only when the clipboard took the text: after a
    // failure the trap's box says what happened, and nothing else does.
    if (copied)
        trap.Run(108, [] { MsgBox(copiedText(), kOkOnly); });
    closeIfAsked();
}

void Form1::copySelection(const ResultPane& pane)
{
    // As Copy Results To Clipboard, for the selected lines; a key needs no
    // box to say it was done, but a failure says so.
    ErrorTrap trap(QLatin1String(pane.Kind().controls.list) + QStringLiteral("_KeyDown"));
    {
        BusyProgress busy(this, false);
        const BusyScope scope(*this, busy);
        trap.Run(110, [&] { CopySelectionToClipboard(pane.List(), &busy); });
    }
    closeIfAsked();
}

void Form1::deleteCurrentLine(const ResultPane& pane, int keyCode)
{
    // Delete with any of Shift, Ctrl and Alt; never while a command is busy.
    if (keyCode != Qt::Key_Delete || MousePointer() == kHourglass)
        return;
    ResultList& items = pane.List();
    if (items.Count() == 0)
        return;
    // Several selected lines go together, the rest closing up in order.
    auto runs = pane.View->SelectedRuns();
    qint64 selected = 0;
    for (const auto& [first, last] : runs)
        selected += last - first + 1;
    if (selected <= 1) {
        const int current = items.CurrentPosition();
        if (current < 1 || current > items.Count())
            return;
        runs = {{current, current}};
    }
    m_history->Do(std::make_unique<RemovedLines>(items, runs));
}
