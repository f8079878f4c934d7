#include "ResultView.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>

ResultView::ResultView(QWidget* parent)
    : QTreeView(parent), m_list(new ResultList(this)),
      m_checkAll(new QAction(QStringLiteral("Check All"), this)),
      m_uncheckAll(new QAction(QStringLiteral("Uncheck All"), this))
{
    setModel(m_list);
    // The list itself knows its current item: the view shares its selection model.
    QItemSelectionModel* own = selectionModel();
    setSelectionModel(m_list->selectionModel());
    delete own;
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // a million rows scroll without measuring each
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(m_list, &ResultList::columnWidthChanged, this, &ResultView::applyColumnWidth);

    m_checkAll->setObjectName(QStringLiteral("checkAll"));
    m_uncheckAll->setObjectName(QStringLiteral("uncheckAll"));
    connect(m_checkAll, &QAction::triggered, m_list, [this] { m_list->SetAllChecked(true); });
    connect(m_uncheckAll, &QAction::triggered, m_list, [this] { m_list->SetAllChecked(false); });
    addAction(m_checkAll);
    addAction(m_uncheckAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_list, &ResultList::checkedCountChanged, this, &ResultView::showCounts);
    connect(m_list, &QAbstractItemModel::rowsInserted, this, &ResultView::showCounts);
    connect(m_list, &QAbstractItemModel::rowsRemoved, this, &ResultView::showCounts);
    connect(m_list, &QAbstractItemModel::modelReset, this, &ResultView::showCounts);
    showCounts();
}

void ResultView::applyColumnWidth(int column, int twips)
{
    header()->resizeSection(column - 1, qRound(twips * logicalDpiX() / 1440.0));
}

void ResultView::showCounts()
{
    const int count = m_list->Count();
    const int checked = m_list->CheckedCount();
    const QLocale locale;
    setToolTip((count == 1 ? QStringLiteral("1 line")
                           : locale.toString(count) + QStringLiteral(" lines")) +
               QStringLiteral(", ") + locale.toString(checked) + QStringLiteral(" checked"));
    m_checkAll->setEnabled(checked < count);
    m_uncheckAll->setEnabled(checked > 0);
}

void ResultView::ToggleSelectedChecks()
{
    const QModelIndex current = currentIndex();
    QItemSelection rows = selectionModel()->selection();
    if (rows.isEmpty()) {
        if (!current.isValid())
            return;
        rows.select(current, current);
    }
    const QModelIndex lead = rows.contains(current) ? current : QModelIndex(rows.first().topLeft());
    const bool check = !m_list->IsChecked(lead.row() + 1);
    // One change per selected range: a signal per row would make a selection
    // of many thousands of rows crawl.
    for (const QItemSelectionRange& range : rows)
        m_list->SetRangeChecked(range.top() + 1, range.bottom() + 1, check);
}

void ResultView::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->modifiers());
    if (event->key() == Qt::Key_Space && !(event->modifiers() & ~Qt::KeypadModifier)) {
        ToggleSelectedChecks();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}
