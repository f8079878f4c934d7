// "Why is this line not in File #2?" and "... File #1?": the look-alikes of
// a line only in one file, found on a thread of their own once a
// comparison's lists show (Form1_compare.cpp).

#include "compare/CompareProgress.h"
#include "compare/NearMisses.h"
#include "shell/ErrorTrap.h"
#include "shell/Form1.h"
#include "widgets/NearMissDialog.h"
#include "widgets/ResultView.h"

#include <QAction>
#include <QMetaObject>
#include <exception>
#include <new>

void Form1::connectNearMissCommands()
{
    const struct
    {
        ResultView* list;
        void (Form1::*handler)();
        int otherFile;
    } lists[] = {{ListView2, &Form1::ListView2_WhyNotIn, 2},
                 {ListView3, &Form1::ListView3_WhyNotIn, 1}};
    for (size_t i = 0; i < std::size(lists); ++i) {
        const auto& l = lists[i];
        auto* separator = new QAction(l.list);
        separator->setSeparator(true);
        l.list->addAction(separator);
        auto* why = new QAction(
            QStringLiteral("Why is this line not in File #%1?").arg(l.otherFile), l.list);
        why->setObjectName(QStringLiteral("whyNotIn"));
        connect(why, &QAction::triggered, this, l.handler);
        l.list->addAction(why);
        m_whyNotIn[i] = why;
        // Only for a row the near misses know: one of the comparison's lines.
        ResultList* items = &l.list->list();
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
    const ResultView* lists[] = {ListView2, ListView3};
    for (size_t i = 0; i < std::size(lists); ++i) {
        const ResultList& items = lists[i]->list();
        const int current = items.CurrentPosition();
        m_whyNotIn[i]->setEnabled(m_compared && current >= 1 && current <= items.Count() &&
                                  items.LineNumber(current) >= 0);
    }
}

void Form1::ListView2_WhyNotIn()
{
    explainMissingLine(ListView2, 1);
}

void Form1::ListView3_WhyNotIn()
{
    explainMissingLine(ListView3, 2);
}

void Form1::explainMissingLine(ResultView* list, int file)
{
    ErrorTrap trap(file == 1 ? QStringLiteral("ListView2_WhyNotIn")
                             : QStringLiteral("ListView3_WhyNotIn"));
    if (MousePointer() == kHourglass || !m_compared)
        return;
    const ResultList& items = list->list();
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
    // The search keeps the comparison while it runs. What it found comes to
    // the window's thread, which drops it should the search have been given
    // up meanwhile; a window that is gone has given it up and waited for it.
    ++m_workersRunning;
    m_worker = std::thread([this, search, comparison = m_compared,
                            previous = std::move(m_worker)]() mutable {
        std::shared_ptr<const NearMisses::Index> found;
        std::exception_ptr failure;
        bool wanted = true;
        try {
            found = std::make_shared<const NearMisses::Index>(std::move(comparison), search.get());
        } catch (const CompareCancelled&) {
            wanted = false;
        } catch (const std::bad_alloc&) {
            // The lists do without them.
        } catch (...) {
            failure = std::current_exception();
        }
        comparison.reset();
        if (wanted)
            QMetaObject::invokeMethod(
                this,
                [this, search, found, failure]() mutable {
                    nearMissesFound(search, std::move(found), failure);
                },
                Qt::QueuedConnection);
        found.reset();
        // Whatever the last comparison left to free is freed before the next
        // one starts.
        if (previous.joinable())
            previous.join();
        --m_workersRunning;
    });
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
    ErrorTrap trap(waiting && dialog->File() == 2 ? QStringLiteral("ListView3_WhyNotIn")
                                                  : QStringLiteral("ListView2_WhyNotIn"));
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
