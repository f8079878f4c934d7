// "Why is this line not in File #2?" and "... File #1?": the look-alikes of
// a line only in one file, found on a thread of their own once a
// comparison's lists show (Form1_compare.cpp).

#include "compare/CompareProgress.h"
#include "compare/NearMisses.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/NearMissDialog.h"
#include "widgets/ResultPane.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QMetaObject>
#include <exception>
#include <new>

namespace {

// The error trap's name for the command whose dialog explains a line of file
// (1 or 2): the designed handler of the list that holds that file's lines.
QString whyNotInProcedure(int file)
{
    for (const ListKind& list : kListKinds)
        if (list.onlyInOneFile && list.file == file)
            return QLatin1String(list.controls.list) + QStringLiteral("_WhyNotIn");
    return QString();
}

} // namespace

void Form1::connectNearMissCommands()
{
    // In the menu of each list of lines that only one file holds.
    for (size_t i = 0; i < Panes.size(); ++i) {
        const ResultPane* pane = Panes[i];
        if (!pane->Kind().onlyInOneFile)
            continue;
        auto* separator = new QAction(pane->View);
        separator->setSeparator(true);
        pane->View->addAction(separator);
        auto* why = new QAction(tr("Why is this line not in File #%1?").arg(3 - pane->Kind().file),
                                pane->View);
        why->setObjectName(QStringLiteral("whyNotIn"));
        connect(why, &QAction::triggered, this, [this, pane] { explainMissingLine(*pane); });
        pane->View->addAction(why);
        m_whyNotIn[i] = why;
        // Only for a row the near misses know: one of the comparison's lines.
        ResultList* items = &pane->List();
        connect(items->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &Form1::enableNearMissCommands);
        for (auto change : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted})
            connect(items, change, this, &Form1::enableNearMissCommands);
        connect(items, &QAbstractItemModel::modelReset, this, &Form1::enableNearMissCommands);
    }
    enableNearMissCommands();
}

void Form1::enableNearMissCommands()
{
    for (size_t i = 0; i < Panes.size(); ++i) {
        if (!m_whyNotIn[i])
            continue;
        const ResultList& items = Panes[i]->List();
        const int current = items.CurrentPosition();
        m_whyNotIn[i]->setEnabled(m_compared && current >= 1 && current <= items.Count() &&
                                  items.LineNumber(current) >= 0);
    }
}

// The designed handlers of lists 2 and 3.
void Form1::ListView2_WhyNotIn()
{
    explainMissingLine(*Panes[1]);
}

void Form1::ListView3_WhyNotIn()
{
    explainMissingLine(*Panes[2]);
}

void Form1::explainMissingLine(const ResultPane& pane)
{
    ErrorTrap trap(QLatin1String(pane.Kind().controls.list) + QStringLiteral("_WhyNotIn"));
    const int file = pane.Kind().file;
    if (MousePointer() == kHourglass || !m_compared)
        return;
    const ResultList& items = pane.List();
    const int current = items.CurrentPosition();
    if (current < 1 || current > items.Count() || items.LineNumber(current) < 0)
        return;
    trap.Run(100, [&] {
        if (!m_nearMissDialog)
            m_nearMissDialog = new NearMissDialog(this);
        // While they are still being found, the dialog says so and fills in
        // when they come.
        if (m_nearMisses)
            m_nearMissDialog->Explain(*m_nearMisses, file, items.LineNumber(current));
        else
            m_nearMissDialog->ExplainLater(*m_compared, file, items.LineNumber(current));
        m_nearMissDialog->show();
        m_nearMissDialog->raise();
        m_nearMissDialog->activateWindow();
    });
}

void Form1::forgetNearMisses()
{
    if (m_nearMissDialog)
        m_nearMissDialog->close();
    stopNearMissSearch();
    m_nearMisses.reset();
    m_compared.reset();
    enableNearMissCommands();
}

void Form1::findNearMisses()
{
    auto search = std::make_shared<CompareProgress>();
    m_nearMissSearch = search;
    // The search keeps the comparison while it runs, beside whatever the last
    // comparison left to free. What it found comes to the window's thread,
    // which drops it should the search have been given up meanwhile; a window
    // that is gone has given it up and waited for it.
    m_workers.Run(
        WorkerChain::Start::AtOnce,
        [this, search, comparison = m_compared]() mutable {
            std::shared_ptr<const NearMisses::Index> found;
            std::exception_ptr failure;
            try {
                found =
                    std::make_shared<const NearMisses::Index>(std::move(comparison), search.get());
            } catch (const CompareCancelled&) {
                return;
            } catch (const std::bad_alloc&) {
                // The lists do without them.
            } catch (...) {
                failure = std::current_exception();
            }
            comparison.reset();
            QMetaObject::invokeMethod(
                this,
                [this, search, found, failure]() mutable {
                    nearMissesFound(search, std::move(found), failure);
                },
                Qt::QueuedConnection);
        },
        [search] { search->Cancel(); });
}

void Form1::nearMissesFound(const std::shared_ptr<CompareProgress>& search,
                            std::shared_ptr<const NearMisses::Index> index,
                            const std::exception_ptr& failure)
{
    if (search != m_nearMissSearch)
        return;
    m_nearMissSearch.reset();
    m_nearMisses = std::move(index);
    if (!m_nearMisses)
        m_compared.reset();
    enableNearMissCommands();
    NearMissDialog* dialog = m_nearMissDialog;
    const bool waiting = dialog && dialog->isVisible() && dialog->IsWaiting();
    ErrorTrap trap(whyNotInProcedure(waiting ? dialog->File() : 1));
    // A failure other than memory running short is reported as any other.
    if (failure)
        trap.Run(102, [&] { std::rethrow_exception(failure); });
    if (!waiting)
        return;
    trap.Run(104, [&] {
        if (m_nearMisses)
            dialog->Explain(*m_nearMisses, dialog->File(), dialog->Line());
        else
            dialog->CannotExplain();
    });
}

void Form1::stopNearMissSearch()
{
    if (m_nearMissSearch)
        m_nearMissSearch->Cancel();
    m_nearMissSearch.reset();
}
