#pragma once

#include "results/ResultList.h"

#include <QAbstractItemView>
#include <memory>
#include <vector>

class QAction;
class QHeaderView;
class QPainter;
struct ChangedRow;
struct Comparison;
struct LineMark;
struct MarkColours;
class UndoHistory;

// The view of one result list: rows under the one column heading, each with
// its check box, at most one current row. It owns its list. Space sets the
// check marks of all selected rows at once, Ctrl+A selects every row, Ctrl+C
// asks for the selected rows on the clipboard (copyAsked), and the context
// menu checks or unchecks the whole list; the tooltip gives the number of
// lines and of checked lines. With a history (SetHistory) the check marks
// set by Space and the menu can be undone: Ctrl+Z and the menu's Undo ask
// for it (undoAsked), Ctrl+Shift+Z, Ctrl+Y and Redo for the step again. The
// menu's Show Line Numbers adds a narrow column left of the text with each
// line's number in its file. A row marks what would not show in its text
// (LineMarks.h): a tab at its end, a byte that is not UTF-8, and the like.
//
// Every row has the same height, so the view finds any row by arithmetic and
// keeps nothing per row: a list of ten million lines costs the list's own
// bytes and nothing more here.
class ResultView : public QAbstractItemView
{
    Q_OBJECT
public:
    explicit ResultView(QWidget* parent = nullptr);

    ResultList& list() { return *m_list; }
    const ResultList& list() const { return *m_list; }

    // The column heading above the rows.
    QHeaderView* header() const { return m_header; }
    int columnWidth(int column) const;
    // The height of every row, in pixels.
    int rowHeight() const;

    // Gives every selected row (the current row when none is selected) the
    // opposite of the current row's check mark.
    void ToggleSelectedChecks();

    // The window's Undo and Redo, which the menu names and the check marks
    // go through; none for a view on its own.
    void SetHistory(UndoHistory* history);

    // The column of line numbers, left of the text: hidden at first.
    void ShowLineNumbers(bool shown);
    bool LineNumbersShown() const;
    // What the column shows for row (from 0): its line's number in its file,
    // counted from 1; empty for a line without one.
    QString LineNumberText(int row) const;

    // The selected rows as runs of positions (first, last), top to bottom.
    QList<std::pair<int, int>> SelectedRuns() const;

    // Tells a screen reader that the current row has the focus, as a move in
    // the list does.
    void AnnounceCurrentRow();
    // The current row as found from elsewhere (the find bar): a change of the
    // list's selection, not of the focus.
    void AnnounceFoundRow();
    // The rows of first..last (from 0) that a screen reader is told of when
    // they change: those in view and the current row, never more than a page
    // and one, however long the range.
    QList<int> RowsToAnnounce(int first, int last) const;

    // The comparison a list of changed lines comes from: each row then shows
    // its partner in file 2 beside it, the changed fields outlined, and says
    // what changed in its tooltip and to a screen reader. Returns the one
    // shown before, for the caller to let go of where it likes.
    std::shared_ptr<const Comparison> ShowChanges(std::shared_ptr<const Comparison> comparison);
    std::shared_ptr<const Comparison> ChangesShown() const { return m_changes; }
    // What changed in row (from 0) in words, empty for a row that shows no change.
    QString RowChange(int row) const;

    // QAbstractItemView
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

signals:
    // A key went down in the view; the view's own handling follows.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // Ctrl+C, or Copy Selected Lines in the context menu: the selected lines
    // are wanted on the clipboard. The view itself never touches the clipboard.
    void copyAsked();
    // Ctrl+Z or the menu's Undo; Ctrl+Shift+Z, Ctrl+Y or its Redo.
    void undoAsked();
    void redoAsked();
    // Show Line Numbers was chosen in the menu.
    void lineNumbersToggled(bool shown);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void focusInEvent(QFocusEvent* event) override;
    // A list whose rows were all replaced shows from its top.
    void reset() override;

    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

private:
    // A row whose text has something to mark (LineMarks.h): drawn by the
    // style but for its text, which is drawn here with the marks.
    void paintMarkedRow(QPainter& painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index, const QString& text,
                        const std::vector<LineMark>& marks) const;
    void paintChangedRow(QPainter& painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index, const ChangedRow& changed) const;
    ChangedRow changedRow(int row) const;
    MarkColours markColours(const QStyleOptionViewItem& option) const;
    void applyColumnWidth(int column, int twips);
    // The line numbers' column fits its widest number and its heading.
    void fitLineColumn();
    void showHistory();
    // Sets the check marks of runs, through the history when there is one.
    void checkRuns(const QList<std::pair<int, int>>& runs, bool checked, const QString& name);
    void paintLineNumber(QPainter& painter, const QStyleOptionViewItem& option, int row) const;
    void showCounts();
    void rowsChanged();
    void setHoverRow(qint64 row);
    void updateRow(qint64 row);
    int count() const { return m_list->Count(); }
    // The first pixel of the rows that shows at the top of the viewport.
    qint64 topPixel() const;
    // The row at viewport height y, which may be past the last row.
    qint64 rowAtY(int y) const;
    // The rows fully in view.
    int pageRows() const;

    ResultList* m_list;
    std::shared_ptr<const Comparison> m_changes;
    QHeaderView* m_header;
    QAction* m_checkAll;
    QAction* m_uncheckAll;
    QAction* m_copySelected;
    QAction* m_undo;
    QAction* m_redo;
    QAction* m_lineNumbers;
    UndoHistory* m_history = nullptr;
    mutable int m_rowHeight = 0;
    qint64 m_hoverRow = -1;         // the row under the pointer, -1 for none
    QPersistentModelIndex m_anchor; // where a Shift selection starts
    // Whether the scroll bar counts rows instead of pixels: only for a list so
    // long that its height in pixels would not fit the scroll bar's range.
    bool m_scrollByRow = false;
    bool m_laying = false; // inside updateGeometries()
};
