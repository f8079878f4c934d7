#pragma once

#include <QGroupBox>

class FindBar;
class ListCounts;
class QPushButton;
class ResultList;
class ResultView;
struct ListKind;

// One result list as the window shows it: a frame captioned with the list's
// name, its counts on the caption line, the list, its Save and Copy buttons
// and the find bar that lies over them while it is open. Each part carries
// its design name from the list's row in the table of list kinds. The window
// places the parts (its layout table) and wires their commands; the pane
// keeps what is the list's own: the find bar's keys in the list's menu and
// the buttons it hides.
class ResultPane : public QGroupBox
{
    Q_OBJECT
public:
    ResultPane(const ListKind& kind, QWidget* parent);

    const ListKind& Kind() const { return m_kind; }
    ResultList& List() const;

    ResultView* const View;
    QPushButton* const Save;
    QPushButton* const Copy;
    ListCounts* const Counts;
    FindBar* const Find;

    // The settings key that keeps whether the list shows its line numbers:
    // "LineNumbers1" for ListView1.
    QString LineNumbersKey() const;

    // Lays the find bar over the two buttons, wherever they are now.
    void PlaceFindBar();
    // While the find bar is open, Tab goes from the list through it and on;
    // called once the window's own tab order is set.
    void TabThroughFindBar();

private:
    const ListKind& m_kind;
};
