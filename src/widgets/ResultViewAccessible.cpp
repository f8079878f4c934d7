#include "widgets/ResultViewAccessible.h"

#include "widgets/ResultView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>

namespace {

class RowAccessible;

class ViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ViewAccessible(ResultView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~ViewAccessible() override { forgetRows(); }

    ResultView* view() const { return static_cast<ResultView*>(object()); }
    int rows() const { return view()->list().Count(); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The lines are the table's children.
    int childCount() const override { return rows(); }
    QAccessibleInterface* child(int index) const override { return cellAt(index, 0); }
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
    QString columnDescription(int) const override
    {
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
    int selectedRowCount() const override
    {
        return int(view()->selectionModel()->selectedRows().size());
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rowsSelected;
        for (const QModelIndex& index : view()->selectionModel()->selectedRows())
            rowsSelected.append(index.row());
        return rowsSelected;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return view()->selectionModel()->isRowSelected(row, QModelIndex());
    }
    bool selectRow(int row) override
    {
        view()->selectionModel()->select(view()->model()->index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override
    {
        view()->selectionModel()->select(view()->model()->index(row, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        return true;
    }
    bool unselectColumn(int) override { return false; }
    // Rows move whenever lines come or go: the cells made so far are let go.
    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetRows(); }

private:
    void forgetRows() const
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<int, QAccessible::Id> m_cells;
};

// One line of a list.
class RowAccessible : public QAccessibleInterface
{
public:
    RowAccessible(ResultView* view, int row) : m_view(view), m_row(row) {}

    bool isValid() const override { return m_view && m_row < m_view->list().Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return QString();
        return m_view->list().ShownText(m_row + 1);
    }
    void setText(QAccessible::Text, const QString&) override {}
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
        s.selected = m_view->selectionModel()->isRowSelected(m_row, QModelIndex());
        s.focusable = true;
        s.focused = m_view->hasFocus() && m_view->currentIndex().row() == m_row;
        const QRect shown = m_view->visualRect(m_view->model()->index(m_row, 0));
        s.invisible = !m_view->viewport()->rect().intersects(shown);
        return s;
    }

private:
    QPointer<ResultView> m_view;
    int m_row;
};

int ViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    }
    return -1;
}

QAccessibleInterface* ViewAccessible::cellAt(int row, int column) const
{
    if (column != 0 || row < 0 || row >= rows())
        return nullptr;
    if (const auto found = m_cells.constFind(row); found != m_cells.cend())
        return QAccessible::accessibleInterface(found.value());
    auto* cell = new RowAccessible(view(), row);
    m_cells.insert(row, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

} // namespace

QAccessibleInterface* ResultViewAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ResultView") && object && object->isWidgetType())
        return new ViewAccessible(static_cast<ResultView*>(object));
    return nullptr;
}
