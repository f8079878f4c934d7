#pragma once

#include <QElapsedTimer>
#include <QStringMatcher>
#include <QTimer>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QToolButton;
class ResultView;

// A small bar that finds the lines of one result list that contain a text,
// as the list shows them: a byte that is not UTF-8 is found as its
// Windows-1252 character.
// Typing moves to the first such line from the current one on, Enter and F3
// go on to the next, Shift+Enter and Shift+F3 go back, and the bar shows how
// many lines match. Escape closes it and gives the focus back to the list.
//
// The list is searched a slice at a time between the window's events, once
// round from the current line, so a list of millions of lines never holds the
// window up; moves asked for meanwhile are made when the search is through.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    FindBar(ResultView* view, QWidget* parent);

    // Shows the bar with the focus in its text field, the text selected.
    void Open();
    // Hides the bar and gives the focus back to the list.
    void Close();
    bool IsOpen() const { return m_open; }
    void FindNext();
    void FindPrevious();
    // Whether letter case counts, as "Match Case" says.
    void SetCaseSensitive(bool sensitive);
    // Whether look-alike spellings find each other, as "Look-Alike Lines
    // Match" says: a composed accent finds the decomposed one, a plain space
    // a no-break one.
    void SetLookAlike(bool lookAlike);

    QLineEdit* TextField() const { return m_text; }
    // What the bar says of the matches: "3 of 12", "12 found", "Not found",
    // "Searching…", or nothing while the text is empty.
    QString Status() const;
    // True while the search is still going through the list.
    bool IsSearching() const { return m_scanning; }

signals:
    void opened();
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Starts the search again from the current line; with moveToFirst the
    // first match found becomes the current line.
    void restart(bool moveToFirst);
    void scanSlice();
    void finishScan();
    void step(int direction);
    // Makes position the current line; a screen reader hears of it when it
    // is not the line last announced, or with announceSame in any case.
    void moveTo(int position, bool announceSame);
    void showStatus();
    // The text a line is searched in: as shown, or in its look-alike form.
    QString searchedText(int position) const;

    ResultView* m_view;
    QLineEdit* m_text;
    QLabel* m_count;
    QToolButton *m_previous, *m_next, *m_close;
    QTimer m_slice;
    QStringMatcher m_matcher;
    Qt::CaseSensitivity m_case = Qt::CaseInsensitive;
    bool m_lookAlike = false;
    bool m_open = false;
    bool m_quiet = false; // inside the first slice of a search: the count waits
    int m_announced = 0;  // the line found last told to a screen reader, 0 for none

    // One search goes round the list once: from m_start to the end, then from
    // the first line up to m_start - 1.
    bool m_scanning = false;
    bool m_moveToFirst = false;
    int m_start = 1;
    int m_at = 1;      // the next position to look at
    int m_left = 0;    // positions still to look at
    int m_pending = 0; // moves asked for during the search: +n on, -n back
    std::vector<int> m_fromStart, m_beforeStart;
    std::vector<int> m_matches; // every matching position in order, once the search is through
};
