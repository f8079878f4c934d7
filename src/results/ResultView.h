#pragma once

#include "ResultList.h"

#include <QTreeView>

class QAction;

// The view of one result list: rows under the one column heading, each with
// its check box, at most one current row. It owns its list. Space sets the
// check marks of all selected rows at once, Ctrl+A selects every row, and the
// context menu checks or unchecks the whole list; the tooltip gives the
// number of lines and of checked lines.
class ResultView : public QTreeView
{
    Q_OBJECT
public:
    explicit ResultView(QWidget* parent = nullptr);

    ResultList& list() { return *m_list; }
    const ResultList& list() const { return *m_list; }

    // Gives every selected row (the current row when none is selected) the
    // opposite of the current row's check mark.
    void ToggleSelectedChecks();

signals:
    // A key went down in the view; the view's own handling follows.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyColumnWidth(int column, int twips);
    void showCounts();

    ResultList* m_list;
    QAction* m_checkAll;
    QAction* m_uncheckAll;
};
