#include "ResultView.h"

#include <QHeaderView>
#include <QKeyEvent>

ResultView::ResultView(QWidget* parent) : QTreeView(parent), m_list(new ResultList(this))
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
}

void ResultView::applyColumnWidth(int column, int twips)
{
    header()->resizeSection(column - 1, qRound(twips * logicalDpiX() / 1440.0));
}

void ResultView::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->modifiers());
    QTreeView::keyPressEvent(event);
}
