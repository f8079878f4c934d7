#pragma once

#include "compare/NearMisses.h"

#include <QDialog>

class QPlainTextEdit;

// What "Why is this line not in File #n?" shows: a line of one file's "only
// in" list, and the lines of the other file that look like it with what
// differs, or that none comes close. The whole answer is one read-only text
// box, to select and copy, which a screen reader reads with its summary as
// the description. It stays open beside the window; Esc or Close closes it.
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

    // The text the box shows.
    QString Text() const;

    // The most look-alikes listed; the rest are counted.
    static constexpr qsizetype kMostListed = 100;
    // The most characters shown of a line.
    static constexpr qsizetype kMostShown = 400;

private:
    // Shows the line, what is said of its look-alikes in brief, and then
    // those listed.
    void showLine(const Comparison& comparison, int file, qsizetype line, const QString& summary,
                  const QStringList& alike);
    void showText(const QString& summary, const QStringList& alike);

    QPlainTextEdit* m_text;
    int m_file = 0;
    qsizetype m_line = -1;
    QStringList m_head; // the line, quoted
    bool m_waiting = false;
};
