// The result commands: save, copy, the Delete key and "Clear All Results".

#include "desktop/BusyProgress.h"
#include "desktop/CommonDialog.h"
#include "desktop/MsgBox.h"
#include "results/ListSaving.h"
#include "results/ResultFile.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/ClipboardText.h"
#include "widgets/FindBar.h"
#include "widgets/OverlapBar.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScopeGuard>
#include <atomic>
#include <exception>
#include <thread>

namespace {

// The Shift, Ctrl and Alt state as the key handlers receive it: 1, 2 and 4.
int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

QString copiedText()
{
    return QStringLiteral("Results have been copied to the clipboard.") + QStringLiteral("\r\r") +
           QStringLiteral("Click a text area where you normally type and press Ctrl+V to paste the "
                          "clipboard.");
}

} // namespace

void Form1::connectResultCommands()
{
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton8, &QPushButton::clicked, this, &Form1::PushButton8_Click);
    connect(PushButton9, &QPushButton::clicked, this, &Form1::PushButton9_Click);
    connect(PushButton10, &QPushButton::clicked, this, &Form1::PushButton10_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connectFindBars();
    const std::pair<ResultView*, void (Form1::*)(int, int)> keyHandlers[] = {
        {ListView1, &Form1::ListView1_KeyDown},
        {ListView2, &Form1::ListView2_KeyDown},
        {ListView3, &Form1::ListView3_KeyDown}};
    for (const auto& [view, handler] : keyHandlers)
        connect(view, &ResultView::keyDown, this,
                [this, handler](int key, Qt::KeyboardModifiers modifiers) {
                    (this->*handler)(key, shiftState(modifiers));
                });
    const std::pair<ResultView*, const char*> copyKeys[] = {{ListView1, "ListView1_KeyDown"},
                                                            {ListView2, "ListView2_KeyDown"},
                                                            {ListView3, "ListView3_KeyDown"}};
    for (const auto& [view, procedure] : copyKeys)
        connect(view, &ResultView::copyAsked, this, [this, view = view, procedure = procedure] {
            copySelection(view, QLatin1String(procedure));
        });
}

void Form1::connectFindBars()
{
    // Each list has a find bar that lies over its two buttons while it is open.
    const struct
    {
        ResultView* list;
        QGroupBox* frame;
        QPushButton *save, *copy;
        const char* name;
    } lists[] = {{ListView1, Frame1, PushButton2, PushButton8, "FindBar1"},
                 {ListView2, Frame2, PushButton5, PushButton9, "FindBar2"},
                 {ListView3, Frame3, PushButton6, PushButton10, "FindBar3"}};
    for (size_t i = 0; i < std::size(lists); ++i) {
        const auto& l = lists[i];
        auto* bar = new FindBar(l.list, l.frame);
        bar->setObjectName(QLatin1String(l.name));
        m_findBars[i] = bar;
        connect(bar, &FindBar::opened, this, [l] {
            l.save->hide();
            l.copy->hide();
        });
        connect(bar, &FindBar::closed, this, [l] {
            l.save->show();
            l.copy->show();
        });
        // In the list's context menu, and its keys while the list has the focus.
        auto action = [&](const char* name, const QString& text, const QKeySequence& keys,
                          void (FindBar::*go)()) {
            auto* entry = new QAction(text, l.list);
            entry->setObjectName(QLatin1String(name));
            entry->setShortcut(keys);
            entry->setShortcutContext(Qt::WidgetShortcut);
            connect(entry, &QAction::triggered, bar, go);
            l.list->addAction(entry);
        };
        // While open, Tab goes from the list through the bar and on.
        const QList<QWidget*> parts = bar->findChildren<QWidget*>();
        QWidget* previous = l.list;
        for (QWidget* part : parts)
            if (part->focusPolicy() != Qt::NoFocus) {
                setTabOrder(previous, part);
                previous = part;
            }
        action("find", QStringLiteral("Find..."), QKeySequence::Find, &FindBar::Open);
        action("findNext", QStringLiteral("Find Next"), QKeySequence(Qt::Key_F3),
               &FindBar::FindNext);
        action("findPrevious", QStringLiteral("Find Previous"),
               QKeySequence(Qt::SHIFT | Qt::Key_F3), &FindBar::FindPrevious);
    }
    // Letter case counts in a find as it does in a comparison.
    auto followCase = [this] {
        for (FindBar* bar : m_findBars)
            bar->SetCaseSensitive(CheckValue(Check7) == 1);
    };
    connect(Check7, &QCheckBox::stateChanged, this, followCase);
    followCase();
}

void Form1::PushButton2_Click()
{
    saveResults(ListView1, QStringLiteral("PushButton2_Click"));
}

void Form1::PushButton5_Click()
{
    saveResults(ListView2, QStringLiteral("PushButton5_Click"));
}

void Form1::PushButton6_Click()
{
    saveResults(ListView3, QStringLiteral("PushButton6_Click"));
}

void Form1::PushButton8_Click()
{
    copyResults(ListView1, QStringLiteral("PushButton8_Click"));
}

void Form1::PushButton9_Click()
{
    copyResults(ListView2, QStringLiteral("PushButton9_Click"));
}

void Form1::PushButton10_Click()
{
    copyResults(ListView3, QStringLiteral("PushButton10_Click"));
}

void Form1::PushButton7_Click()
{
    ErrorTrap trap(QStringLiteral("PushButton7_Click"));
    trap.Run(100, [this] {
        if (MousePointer() != kHourglass)
            ListView1->list().Clear();
    });
    trap.Run(102, [this] { ListView2->list().Clear(); });
    trap.Run(104, [this] { ListView3->list().Clear(); });
    // The overlap told of the lists just emptied.
    Overlap1->Clear();
    trap.Run(106, [this] { forgetNearMisses(); });
}

void Form1::ListView1_KeyDown(int keyCode, int)
{
    deleteCurrentLine(ListView1, keyCode);
}

void Form1::ListView2_KeyDown(int keyCode, int)
{
    deleteCurrentLine(ListView2, keyCode);
}

void Form1::ListView3_KeyDown(int keyCode, int)
{
    deleteCurrentLine(ListView3, keyCode);
}

void Form1::saveResults(ResultView* list, const QString& procedure)
{
    ErrorTrap trap(procedure);
    QString chosen;
    trap.Run(106, [this] { CommonDialog1->FileName = QString(); });
    trap.Run(108, [this] { CommonDialog1->DialogTitle = QStringLiteral("Save"); });
    trap.Run(110, [this] {
        CommonDialog1->Filter = QStringLiteral("Text Files(*.txt)|*.txt|All Files (*.*)|*.*|");
    });
    trap.Run(112, [this] { CommonDialog1->ShowSave(); });
    trap.Run(114, [&] { chosen = CommonDialog1->FileName; });
    if (trap.If(116, [&] { return chosen.isEmpty(); }))
        return;
    // The hourglass stays while the file is written; the window repaints but
    // takes no input meanwhile.
    trap.Run(118, [this] { SetMousePointer(kHourglass); });
    trap.Run(120, [&] { saveInBackground(chosen, list->list()); });
    trap.Run(122, [this] { SetMousePointer(kDefaultPointer); });
    closeIfAsked();
}

void Form1::saveInBackground(const QString& path, const ResultList& list)
{
    // The writer reads the list while the window waits; the window takes no
    // input meanwhile, so nothing changes the list under it.
    struct Job
    {
        SaveControl control;
        std::atomic<bool> finished{false};
        std::exception_ptr failure;
    } job;
    std::thread writer([&job, &path, &list] {
        try {
            SaveListInPieces(path, list, job.control);
        } catch (...) {
            job.failure = std::current_exception();
        }
        job.finished.store(true, std::memory_order_release);
    });
    // However this ends, the writer has stopped before the list can change.
    const auto stop = qScopeGuard([&] {
        job.control.cancel.store(true);
        if (writer.joinable())
            writer.join();
    });
    auto finished = [&job] { return job.finished.load(std::memory_order_acquire); };
    {
        BusyProgress busy(this, true);
        const BusyScope scope(*this, busy);
        const int count = list.Count();
        if (!busy.WaitFor(finished, [&] {
                busy.Update(QStringLiteral("Saving \"%1\"...").arg(path),
                            job.control.done.load(std::memory_order_relaxed), count);
            }))
            job.control.cancel.store(true);
    }
    if (!finished()) {
        // The writer stops at its next piece; a commit under way is let finish.
        BusyProgress stopping(this, true);
        stopping.WaitFor(finished, [] {});
    }
    writer.join();
    if (job.failure)
        std::rethrow_exception(job.failure);
}

void Form1::copyResults(ResultView* list, const QString& procedure)
{
    // The copy lets the window handle events while it reads the list, so any
    // command, this one included, may run in the middle of it.
    // A long copy shows its progress; Cancel leaves the clipboard as it was and
    // skips the confirmation.
    ErrorTrap trap(procedure);
    bool cancelled = false;
    bool copied = false;
    {
        BusyProgress busy(this, false);
        const BusyScope scope(*this, busy);
        copied = trap.Run(106, [&] { cancelled = !CopyListToClipboard(list->list(), &busy); });
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

void Form1::copySelection(ResultView* list, const QString& procedure)
{
    // As Copy Results To Clipboard, for the selected lines; a key needs no
    // box to say it was done, but a failure says so.
    ErrorTrap trap(procedure);
    {
        BusyProgress busy(this, false);
        const BusyScope scope(*this, busy);
        trap.Run(110, [&] { CopySelectionToClipboard(list->list(), &busy); });
    }
    closeIfAsked();
}

void Form1::deleteCurrentLine(ResultView* list, int keyCode)
{
    // Delete with any of Shift, Ctrl and Alt; never while a command is busy.
    if (keyCode != Qt::Key_Delete || MousePointer() == kHourglass)
        return;
    ResultList& items = list->list();
    if (items.Count() == 0)
        return;
    // Several selected lines go together, from the bottom up so that the
    // positions above stay put.
    const auto runs = list->SelectedRuns();
    qint64 selected = 0;
    for (const auto& [first, last] : runs)
        selected += last - first + 1;
    if (selected > 1) {
        for (auto run = runs.crbegin(); run != runs.crend(); ++run)
            items.RemoveRange(run->first, run->second);
        return;
    }
    const int current = items.CurrentPosition();
    if (current < 1 || current > items.Count())
        return;
    items.Remove(current);
}
