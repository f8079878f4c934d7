#pragma once

#include "compare/NearMisses.h"

#include <QDialog>

class QListWidget;

// What "Why is this line not in File #n?" shows: a line of one file's "only
// in" list, and the lines of the other file that look like it, each with how
// it differs and which option would make the two match, or that none comes
// close. Both lines are drawn with the marks of the result lists
// (LineMarks.h), so that a no-break space, a decomposed accent or a control
// character shows. Each part is an item of one list: a screen reader reads an
// item's line and, as its description, its marks and how it differs; Ctrl+C
// copies the items selected as text. It stays open beside the window; Esc or
// Close closes it.
class NearMissDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NearMissDialog(QWidget* parent = nullptr);

    // Shows what index knows of line `line` (from 0) of file (1 or 2).
    void Explain(const NearMisses::Index& index, int file, qsizetype line);
    // Shows line `line` of file (1 or 2) of comparison while its look-alikes
    // are still being looked for; Explain then fills them in.
    void ExplainLater(const Comparison& comparison, int file, qsizetype line);
    // The look-alikes of the line shown while waiting could not be found.
    void CannotExplain();
    // Whether the line shown still waits for its look-alikes, and which it is.
    bool IsWaiting() const { return m_waiting; }
    int File() const { return m_file; }
    qsizetype Line() const { return m_line; }

    // What the dialog shows as text, its parts apart by an empty line.
    QString Text() const;

    // The most look-alikes listed; the rest are counted.
    static constexpr qsizetype kMostListed = NearMisses::kMostAlike;
    // The most texts told which option would make them match; the rest are
    // told what differs.
    static constexpr qsizetype kMostReasoned = 10;
    // The most characters shown of a line.
    static constexpr qsizetype kMostShown = 400;

private:
    // A part of what is shown: a caption, a line drawn with its marks under
    // it, and a note under that, lined up with the line or with the caption.
    struct Part
    {
        QString caption;
        bool hasLine = false;
        QString line;
        QString note;
        bool noteIndented = false;
    };
    // Shows the line, what is said of its look-alikes in brief, and then
    // those listed.
    void showLine(const Comparison& comparison, int file, qsizetype line, const QString& summary,
                  const QList<Part>& alike);
    void showParts(const QString& summary, const QList<Part>& alike);
    void copySelected() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QListWidget* m_list;
    int m_file = 0;
    qsizetype m_line = -1;
    Part m_head; // the line
    bool m_waiting = false;
};
