#pragma once

#include "ResultList.h"

#include <QTreeView>

// The view of one result list: rows under the one column heading, each with
// its check box, at most one current row. It owns its list.
class ResultView : public QTreeView
{
    Q_OBJECT
public:
    explicit ResultView(QWidget* parent = nullptr);

    ResultList& list() { return *m_list; }
    const ResultList& list() const { return *m_list; }

signals:
    // A key went down in the view; the view's own handling follows.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyColumnWidth(int column, int twips);

    ResultList* m_list;
};
