#pragma once

#include <QLabel>
#include <QPointer>

class QGroupBox;
class ResultView;

// A list's number of lines, and of checked lines when any are, on its
// frame's caption line at the right end, lined up with the list's right
// edge: "12,345 lines · 3 checked". It follows the list as it changes; the
// counts are the list's own, so a change costs no pass over its lines. Where
// the caption line is short, a shorter form stands in ("12,345 · 3 checked").
// A skin dresses it as the frame's caption (the ListCounts rule).
class ListCounts : public QLabel
{
    Q_OBJECT
public:
    ListCounts(ResultView* list, QGroupBox* frame);

    // The counts in their longest form.
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    // The longest form that fits width, or the shortest.
    QString fitting(int width) const;

    QPointer<ResultView> m_list;
    QGroupBox* m_frame;
};

// The counts as a list's frame shows them, digits grouped as the locale
// groups them: "1 line", "12,345 lines · 3 checked". Brief leaves out the
// word "lines" when some are checked.
QString ListCountsText(qint64 lines, qint64 checked, bool brief = false);
