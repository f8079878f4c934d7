#include "results/UndoHistory.h"

#include <QItemSelection>
#include <algorithm>

UndoHistory::UndoHistory(QObject* parent) : QObject(parent) {}

UndoHistory::~UndoHistory() = default;

void UndoHistory::Do(std::unique_ptr<UndoStep> step)
{
    step->Redo();
    Add(std::move(step));
}

void UndoHistory::Add(std::unique_ptr<UndoStep> step)
{
    // The steps undone cannot come back after a new one, and the oldest
    // fall off beyond the steps kept.
    std::vector<std::shared_ptr<void>> gone;
    while (m_steps.size() > m_done) {
        gone.push_back(std::shared_ptr<UndoStep>(std::move(m_steps.back())));
        m_steps.pop_back();
    }
    m_steps.push_back(std::move(step));
    if (m_steps.size() > kSteps) {
        gone.push_back(std::shared_ptr<UndoStep>(std::move(m_steps.front())));
        m_steps.erase(m_steps.begin());
    }
    m_done = m_steps.size();
    release(std::move(gone));
    emit changed();
}

QString UndoHistory::UndoName() const
{
    return CanUndo() ? m_steps[m_done - 1]->Name() : QString();
}

QString UndoHistory::RedoName() const
{
    return CanRedo() ? m_steps[m_done]->Name() : QString();
}

void UndoHistory::Undo()
{
    if (!CanUndo())
        return;
    try {
        m_steps[m_done - 1]->Undo();
    } catch (...) {
        // A step half undone leaves the lists as no step knows them.
        release(End());
        throw;
    }
    --m_done;
    emit changed();
}

void UndoHistory::Redo()
{
    if (!CanRedo())
        return;
    try {
        m_steps[m_done]->Redo();
    } catch (...) {
        release(End());
        throw;
    }
    ++m_done;
    emit changed();
}

std::vector<std::shared_ptr<void>> UndoHistory::End()
{
    std::vector<std::shared_ptr<void>> steps;
    for (auto& step : m_steps)
        steps.push_back(std::shared_ptr<UndoStep>(std::move(step)));
    const bool had = !m_steps.empty();
    m_steps.clear();
    m_done = 0;
    if (had)
        emit changed();
    return steps;
}

void UndoHistory::release(std::vector<std::shared_ptr<void>> steps)
{
    if (!steps.empty() && m_releaser)
        m_releaser(std::move(steps));
}

RemovedLines::RemovedLines(ResultList& list, QList<std::pair<int, int>> runs)
    : m_list(&list), m_runs(std::move(runs))
{
    std::sort(m_runs.begin(), m_runs.end());
}

QString RemovedLines::Name() const
{
    return UndoHistory::tr("Delete");
}

void RemovedLines::Redo()
{
    // From the bottom up, so that the positions above stay put.
    m_taken.clear();
    for (auto run = m_runs.crbegin(); run != m_runs.crend(); ++run)
        m_taken.push_back(m_list->TakeRange(run->first, run->second));
}

void RemovedLines::Undo()
{
    // From the top down, each run back at the place it had.
    for (auto taken = m_taken.rbegin(); taken != m_taken.rend(); ++taken)
        m_list->PutRange(**taken);
    m_taken.clear();
    QItemSelection lines;
    for (const auto& [first, last] : std::as_const(m_runs))
        lines.select(m_list->index(first - 1), m_list->index(last - 1));
    QItemSelectionModel* selection = m_list->selectionModel();
    selection->select(lines, QItemSelectionModel::ClearAndSelect);
    if (!m_runs.isEmpty())
        selection->setCurrentIndex(m_list->index(m_runs.first().first - 1),
                                   QItemSelectionModel::NoUpdate);
}

ChangedMarks::ChangedMarks(ResultList& list, QList<std::pair<int, int>> runs, bool checked,
                           QString name)
    : m_list(&list), m_runs(std::move(runs)), m_checked(checked), m_name(std::move(name))
{
}

void ChangedMarks::Redo()
{
    m_before.clear();
    for (const auto& [first, last] : std::as_const(m_runs)) {
        Before before;
        before.marks = m_list->CheckMarks(first, last);
        before.checked = !before.marks.empty() && before.marks.front();
        before.alike =
            std::ranges::all_of(before.marks, [&](bool mark) { return mark == before.checked; });
        if (before.alike)
            std::vector<bool>().swap(before.marks);
        m_before.push_back(std::move(before));
    }
    for (const auto& [first, last] : std::as_const(m_runs))
        m_list->SetRangeChecked(first, last, m_checked);
}

void ChangedMarks::Undo()
{
    for (qsizetype i = 0; i < m_runs.size() && size_t(i) < m_before.size(); ++i) {
        const Before& before = m_before[size_t(i)];
        if (before.alike)
            m_list->SetRangeChecked(m_runs[i].first, m_runs[i].second, before.checked);
        else
            m_list->SetCheckMarks(m_runs[i].first, before.marks);
    }
    m_before.clear();
}

ClearedLists::ClearedLists(std::function<void(bool)> alongside) : m_alongside(std::move(alongside))
{
}

void ClearedLists::Take(ResultList& list)
{
    m_lines += list.Count();
    m_lists.emplace_back(&list, list.TakeItems());
}

QString ClearedLists::Name() const
{
    return UndoHistory::tr("Clear All");
}

void ClearedLists::Undo()
{
    for (auto& [list, items] : m_lists)
        list->PutItems(*items);
    if (m_alongside)
        m_alongside(true);
}

void ClearedLists::Redo()
{
    for (auto& [list, items] : m_lists)
        items = list->TakeItems();
    if (m_alongside)
        m_alongside(false);
}
