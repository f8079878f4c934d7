#pragma once

#include "results/ResultList.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// One command on the result lists that can be undone and done again. It knows
// the lists it changes and keeps only what it needs to go back: the rows it
// removed, the check marks it changed, the storage of the lists it emptied.
// It never touches a list when it goes, so it may be let go of on any thread.
class UndoStep
{
public:
    virtual ~UndoStep() = default;
    // What the Undo and Redo entries call it: "Delete", "Clear All".
    virtual QString Name() const = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
};

// The window's Undo and Redo: the last steps done, the last first, and those
// undone, which the next new step drops. At least kSteps are kept; older ones
// fall off. A step that leaves the history goes to the releaser (by default it
// is freed at once), as its storage may take a while to free.
class UndoHistory : public QObject
{
    Q_OBJECT
public:
    static constexpr size_t kSteps = 20;
    using Releaser = std::function<void(std::vector<std::shared_ptr<void>>)>;

    explicit UndoHistory(QObject* parent = nullptr);
    ~UndoHistory() override;

    void SetReleaser(Releaser releaser) { m_releaser = std::move(releaser); }

    // Does the step and keeps it as the last one done.
    void Do(std::unique_ptr<UndoStep> step);
    // Keeps a step its caller has done already.
    void Add(std::unique_ptr<UndoStep> step);

    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_steps.size(); }
    // The step Undo (Redo) would take; empty when there is none.
    QString UndoName() const;
    QString RedoName() const;
    void Undo();
    void Redo();

    // Ends the history: every step leaves it, handed to the caller to let go of
    // where it likes (with the old lists of a new comparison).
    std::vector<std::shared_ptr<void>> End();

signals:
    // A step was done, undone, redone or dropped.
    void changed();

private:
    void release(std::vector<std::shared_ptr<void>> steps);

    std::vector<std::unique_ptr<UndoStep>> m_steps;
    size_t m_done = 0; // the steps before this are done, the others undone
    Releaser m_releaser;
};

// The Delete key: the selected runs of positions (first, last) leave list.
// Undone, they come back where they were, selected, the first one current.
class RemovedLines : public UndoStep
{
public:
    RemovedLines(ResultList& list, QList<std::pair<int, int>> runs);
    QString Name() const override;
    void Undo() override;
    void Redo() override;

private:
    ResultList* m_list;
    QList<std::pair<int, int>> m_runs; // top to bottom, as positions before the removal
    std::vector<std::shared_ptr<ResultList::TakenRange>> m_taken; // bottom to top
};

// Check marks set (or cleared) on runs of positions: Check All, Uncheck All,
// Space on a selection. Keeps the marks the runs had, a bit a line.
class ChangedMarks : public UndoStep
{
public:
    ChangedMarks(ResultList& list, QList<std::pair<int, int>> runs, bool checked, QString name);
    QString Name() const override { return m_name; }
    void Undo() override;
    void Redo() override;

private:
    ResultList* m_list;
    QList<std::pair<int, int>> m_runs;
    bool m_checked;
    QString m_name;
    // The marks a run had before: one value when they were all alike (the
    // usual case after Check All), else a bit a line.
    struct Before
    {
        bool alike = false, checked = false;
        std::vector<bool> marks;
    };
    std::vector<Before> m_before; // one a run
};

// Clear All Results: every list emptied at once, each list's storage kept
// whole (taken out and put back, whatever its size). What else the window
// shows of the lists follows through alongside, called with true once the
// lists are back and with false once they are emptied again.
class ClearedLists : public UndoStep
{
public:
    explicit ClearedLists(std::function<void(bool restored)> alongside = {});
    // Empties list, as part of this step.
    void Take(ResultList& list);
    // Whether the lists taken held no line: nothing to undo.
    bool IsEmpty() const { return m_lines == 0; }
    QString Name() const override;
    void Undo() override;
    void Redo() override;

private:
    std::vector<std::pair<ResultList*, std::shared_ptr<ResultList::Items>>> m_lists;
    std::function<void(bool)> m_alongside;
    qint64 m_lines = 0;
};
