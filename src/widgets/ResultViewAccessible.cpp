#include "widgets/ResultViewAccessible.h"

#include "desktop/BusyProgress.h"
#include "widgets/LineMarks.h"
#include "widgets/ResultView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QKeySequence>
#include <QPointer>
#include <QTimer>

namespace {

class RowAccessible;

class ViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ViewAccessible(ResultView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~ViewAccessible() override;

    ResultView* view() const { return static_cast<ResultView*>(object()); }
    int rows() const { return view()->list().Count(); }
    bool hasCell(int row, int column) const { return column == 0 && row >= 0 && row < rows(); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The lines are the table's children.
    int childCount() const override { return rows(); }
    QAccessibleInterface* child(int index) const override
    {
        return hasCell(index, 0) ? cellAt(index, 0) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(at);
        return index.isValid() ? cellAt(index.row(), 0) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return current.isValid() ? cellAt(current.row(), 0) : nullptr;
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int columnCount() const override { return 1; }
    int rowCount() const override { return rows(); }
    QString columnDescription(int column) const override
    {
        if (column != 0)
            return QString();
        return view()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QString rowDescription(int) const override { return QString(); }
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows())
            cells.append(cellAt(row, 0));
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    // From the selected runs, which cost one entry a range rather than one a
    // row: Ctrl+A on a long list selects millions of rows.
    int selectedRowCount() const override
    {
        qint64 count = 0;
        for (const auto& [first, last] : view()->SelectedRuns())
            count += last - first + 1;
        return int(qMin<qint64>(count, rows()));
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> selected;
        for (const auto& [first, last] : view()->SelectedRuns())
            for (int position = first; position <= last && position <= rows(); ++position)
                selected.append(position - 1);
        return selected;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return hasCell(row, 0) && view()->selectionModel()->isRowSelected(row, QModelIndex());
    }
    bool selectRow(int row) override { return changeRow(row, QItemSelectionModel::Select); }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override { return changeRow(row, QItemSelectionModel::Deselect); }
    bool unselectColumn(int) override { return false; }
    // Rows move whenever lines come or go: the list's own signals move the
    // cells (followRows), before the lines go.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // The column's heading, which every cell names as its header.
    QAccessibleInterface* heading() const;

private:
    void followRows() const;
    void moveRows(int first, int last, bool removed) const;
    bool changeRow(int row, QItemSelectionModel::SelectionFlag change)
    {
        if (!hasCell(row, 0))
            return false;
        view()->selectionModel()->select(view()->model()->index(row, 0),
                                         change | QItemSelectionModel::Rows);
        return true;
    }
    void forgetRows() const
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<int, QAccessible::Id> m_cells;
    mutable QAccessible::Id m_noCell = 0;
    mutable QAccessible::Id m_heading = 0;
    mutable bool m_following = false;
};

// A part of a list's view that has no children of its own and whose text
// cannot be set: a cell or the heading.
class LeafAccessible : public QAccessibleInterface
{
public:
    explicit LeafAccessible(ResultView* view) : m_view(view) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QPointer<ResultView> m_view;
};

// One line of a list: a cell of the table's one column. A cell whose row is
// not in the list (the list shrank, or it stands for a place asked for outside
// the table) is not valid and answers nothing.
class RowAccessible : public LeafAccessible,
                      public QAccessibleTableCellInterface,
                      public QAccessibleActionInterface
{
public:
    RowAccessible(ResultView* view, int row) : LeafAccessible(view), m_row(row) {}

    bool isValid() const override { return m_view && m_row >= 0 && m_row < m_view->list().Count(); }
    QAccessibleInterface* parent() const override { return tableOfView(); }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        const ResultList& list = m_view->list();
        // Qt 6.4's AT-SPI bridge does not pass on "checkable": the check
        // mark is said as the row's description too, "not checked" included.
        // The line's number, while the list shows it, follows: the table
        // keeps its one column.
        if (t == QAccessible::Description) {
            const QString mark = list.IsChecked(m_row + 1) ? ResultView::tr("checked")
                                                           : ResultView::tr("not checked");
            const QString line =
                m_view->LineNumbersShown() ? m_view->LineNumberText(m_row) : QString();
            return line.isEmpty() ? mark : ResultView::tr("%1, line %2").arg(mark, line);
        }
        if (t != QAccessible::Name && t != QAccessible::Value)
            return QString();
        const QString shown = list.ShownText(m_row + 1);
        if (t == QAccessible::Value)
            return shown;
        // A name is never empty: an empty line says so.
        if (list.ItemText(m_row + 1).isEmpty() && m_view->RowChange(m_row).isEmpty())
            return ResultView::tr("empty line");
        // What the row marks in its drawing, said after the text: "apple, ends with a tab".
        const QString text = list.ItemText(m_row + 1);
        QString words = MarksInWords(text, MarksOf(text));
        // A changed line says what changed: "changed email: a@x.org → a@y.org".
        const QString change = m_view->RowChange(m_row);
        if (!change.isEmpty())
            words += (words.isEmpty() ? QString() : QStringLiteral(", ")) +
                     ResultView::tr("changed %1").arg(change);
        return words.isEmpty() ? shown : shown + QStringLiteral(", ") + words;
    }
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect inView = m_view->visualRect(m_view->model()->index(m_row, 0));
        return QRect(m_view->viewport()->mapToGlobal(inView.topLeft()), inView.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.checkable = true;
        s.checked = m_view->list().IsChecked(m_row + 1);
        s.selectable = true;
        s.selected = isSelected();
        s.focusable = true;
        s.focused = m_view->hasFocus() && m_view->currentIndex().row() == m_row;
        const QRect shown = m_view->visualRect(m_view->model()->index(m_row, 0));
        s.invisible = !m_view->viewport()->rect().intersects(shown);
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // QAccessibleActionInterface: toggling (or pressing) a line checks or
    // unchecks it, as Space does for the current line. Not while a command
    // works in the window: a save reads the check marks meanwhile.
    QStringList actionNames() const override
    {
        if (!isValid())
            return {};
        return {toggleAction(), pressAction()};
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (name == toggleAction())
            return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        return {};
    }
    void doAction(const QString& name) override
    {
        if (!isValid() || (name != toggleAction() && name != pressAction()) ||
            BusyProgress::BlocksInput(m_view->window()))
            return;
        ResultList& list = m_view->list();
        list.SetChecked(m_row + 1, !list.IsChecked(m_row + 1));
    }

    // QAccessibleTableCellInterface
    int rowIndex() const override { return isValid() ? m_row : -1; }
    int columnIndex() const override { return isValid() ? 0 : -1; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    bool isSelected() const override
    {
        return isValid() && m_view->selectionModel()->isRowSelected(m_row, QModelIndex());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        if (!isValid())
            return {};
        return {static_cast<ViewAccessible*>(tableOfView())->heading()};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QAccessibleInterface* table() const override { return isValid() ? tableOfView() : nullptr; }

private:
    QAccessibleInterface* tableOfView() const
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }

public:
    void moveTo(int row) { m_row = row; }

private:
    int m_row;
};

// The heading above the column, as the cells' column header.
class HeadingAccessible : public LeafAccessible
{
public:
    explicit HeadingAccessible(ResultView* view) : LeafAccessible(view) {}

    bool isValid() const override { return bool(m_view); }
    QAccessibleInterface* parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (!m_view || t != QAccessible::Name)
            return QString();
        return m_view->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QRect rect() const override
    {
        if (!m_view || m_view->header()->isHidden())
            return QRect();
        const QHeaderView* header = m_view->header();
        const QRect section(header->sectionViewportPosition(0), 0, header->sectionSize(0),
                            header->height());
        return QRect(header->viewport()->mapToGlobal(section.topLeft()), section.size());
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_view)
            s.invalid = true;
        else
            s.invisible = m_view->header()->isHidden();
        return s;
    }
};

ViewAccessible::~ViewAccessible()
{
    forgetRows();
    for (QAccessible::Id id : {m_noCell, m_heading})
        if (id)
            QAccessible::deleteAccessibleInterface(id);
}

// The cells of lines that go are let go as the lines are about to go, and
// those after them move with their lines, keeping their objects, which the
// screen reader may hold as the focus (the row after a Delete is announced as
// current while the lines go). A new list lets every cell go. A check mark
// that changes moves nothing.
void ViewAccessible::followRows() const
{
    if (m_following)
        return;
    m_following = true;
    const QAccessible::Id self = QAccessible::uniqueId(const_cast<ViewAccessible*>(this));
    auto me = [self] {
        return static_cast<ViewAccessible*>(QAccessible::accessibleInterface(self));
    };
    const ResultList* model = &view()->list();
    QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, view(),
                     [me](const QModelIndex&, int first, int last) {
                         if (ViewAccessible* table = me())
                             table->moveRows(first, last, true);
                     });
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view(),
                     [me](const QModelIndex&, int first, int last) {
                         if (ViewAccessible* table = me())
                             table->moveRows(first, last, false);
                     });
    auto forget = [me] {
        if (ViewAccessible* table = me())
            table->forgetRows();
    };
    QObject::connect(model, &QAbstractItemModel::modelReset, view(), forget);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, view(), forget);
}

void ViewAccessible::moveRows(int first, int last, bool removed) const
{
    if (first < 0 || last < first) {
        forgetRows();
        return;
    }
    const int moved = last - first + 1;
    QHash<int, QAccessible::Id> kept;
    for (auto cell = m_cells.cbegin(); cell != m_cells.cend(); ++cell) {
        int row = cell.key();
        if (removed && row >= first && row <= last) {
            QAccessible::deleteAccessibleInterface(cell.value());
            continue;
        }
        if (row >= first)
            row += removed ? -moved : moved;
        if (auto* row_ =
                static_cast<RowAccessible*>(QAccessible::accessibleInterface(cell.value())))
            row_->moveTo(row);
        kept.insert(row, cell.value());
    }
    m_cells.swap(kept);
}

int ViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    // Only a cell of this table that is in the list is a child.
    QAccessibleTableCellInterface* cell =
        child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    if (!cell || cell->table() != this)
        return -1;
    return cell->rowIndex();
}

QAccessibleInterface* ViewAccessible::cellAt(int row, int column) const
{
    // A place outside the table gets a cell that is not valid rather than
    // none: Qt's AT-SPI bridge calls into what cellAt returns without looking
    // (Table.IsSelected, GetRowExtentAt, GetColumnExtentAt,
    // GetRowColumnExtentsAtIndex), and a screen reader may ask for any place.
    // The bridge passes an invalid cell on as the null object.
    if (!hasCell(row, column)) {
        if (!m_noCell)
            m_noCell = QAccessible::registerAccessibleInterface(new RowAccessible(view(), -1));
        return QAccessible::accessibleInterface(m_noCell);
    }
    if (const auto found = m_cells.constFind(row); found != m_cells.cend())
        return QAccessible::accessibleInterface(found.value());
    followRows();
    auto* cell = new RowAccessible(view(), row);
    m_cells.insert(row, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* ViewAccessible::heading() const
{
    if (!m_heading)
        m_heading = QAccessible::registerAccessibleInterface(new HeadingAccessible(view()));
    return QAccessible::accessibleInterface(m_heading);
}

} // namespace

QAccessibleInterface* ResultViewAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ResultView") && object && object->isWidgetType())
        return new ViewAccessible(static_cast<ResultView*>(object));
    return nullptr;
}

// What the view itself tells a screen reader as its rows change: the current
// row as it moves, and the rows a change of selection or checks reaches.

void ResultView::AnnounceCurrentRow()
{
    const QModelIndex current = currentIndex();
    if (!QAccessible::isActive() || !current.isValid() || current.row() >= count())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(current.row());
    QAccessible::updateAccessibility(&focus);
}

void ResultView::AnnounceFoundRow()
{
    // The focus stays where it is (the find field): the list's current row
    // and selection changed.
    const QModelIndex current = currentIndex();
    if (!QAccessible::isActive() || !current.isValid() || current.row() >= count())
        return;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(current.row());
    QAccessible::updateAccessibility(&selection);
}

void ResultView::focusInEvent(QFocusEvent* event)
{
    QAbstractItemView::focusInEvent(event);
    // The list itself is announced as focused once this returns; its current
    // row follows, so that the row is what the screen reader reads.
    if (QAccessible::isActive())
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                AnnounceCurrentRow();
        });
}

QList<int> ResultView::RowsToAnnounce(int first, int last) const
{
    QList<int> rows;
    first = qMax(first, 0);
    last = qMin(last, count() - 1);
    if (first > last)
        return rows;
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const qint64 firstSeen = qMax<qint64>(first, rowAtY(0));
    const qint64 lastSeen = qMin<qint64>(last, rowAtY(qMax(0, viewport()->height() - 1)));
    if (current >= first && current <= last && (current < firstSeen || current > lastSeen))
        rows.append(current);
    for (qint64 row = firstSeen; row <= lastSeen; ++row)
        rows.append(int(row));
    return rows;
}

void ResultView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    // A row's own event for the rows a screen reader can be reading (Ctrl+A
    // selects millions), and one for the list.
    for (const auto& [ranges, change] : {std::pair{&selected, QAccessible::SelectionAdd},
                                         std::pair{&deselected, QAccessible::SelectionRemove}})
        for (const QItemSelectionRange& range : *ranges) {
            if (!range.isValid() || range.model() != m_list)
                continue;
            for (int row : RowsToAnnounce(range.top(), range.bottom())) {
                QAccessibleEvent event(this, change);
                event.setChild(row);
                QAccessible::updateAccessibility(&event);
            }
        }
    QAccessibleEvent within(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&within);
}

void ResultView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                             const QList<int>& roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    if (!QAccessible::isActive() || !topLeft.isValid() || !bottomRight.isValid() ||
        !(roles.isEmpty() || roles.contains(Qt::CheckStateRole)))
        return;
    // Check All on a long list changes millions of rows: the rows a screen
    // reader can be reading are told, the list's counts say the rest.
    QAccessible::State checked;
    checked.checked = true;
    for (int row : RowsToAnnounce(topLeft.row(), bottomRight.row())) {
        QAccessibleStateChangeEvent event(this, checked);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }
}
