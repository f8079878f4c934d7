#pragma once

#include <QColor>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

class QFont;
class QPainter;
class QRect;
class QStyleOptionViewItem;

// What a list row marks so that lines that look alike on the screen do not
// look alike in the list: blanks and tabs at the end, spaces other than the
// plain blank, characters of no width, control characters, bytes that are
// not UTF-8, and letters spelled with combining accents that NFC would join.
// Drawing only: the list's text, its copy and its save stay as they were.
enum class MarkKind
{
    TrailingBlank, // a blank at the end of the line: a faint dot
    TrailingTab,   // a tab at the end of the line: an arrow
    UnicodeSpace,  // a no-break or other Unicode space: a faint box
    ZeroWidth,     // a character of no width (format characters): a thin bar
    Control,       // a control character: "^X" in a small marked box
    Byte,          // a byte of no valid UTF-8 sequence: its Windows-1252 character, tinted
    Decomposed,    // a letter and its combining marks that NFC would change: underlined
};

// A run of UTF-16 positions of a line's text (as ResultList::ItemText gives
// it) drawn with a mark.
struct LineMark
{
    qsizetype from = 0;
    qsizetype length = 1;
    MarkKind kind = MarkKind::Control;
};

// The marks of text, left to right, none overlapping. A line with nothing to
// mark costs one look at each character.
std::vector<LineMark> MarksOf(QStringView text);

// The marks in words, as a screen reader says them after the line's text:
// "ends with a tab", "has a byte that is not UTF-8, has a no-break space".
// Empty when there are none.
QString MarksInWords(QStringView text, const std::vector<LineMark>& marks);

// The colours the marks are drawn in.
struct MarkColours
{
    QColor text;     // the row's own text
    QColor mark;     // dots, arrows, boxes, bars and ^X
    QColor byteTint; // behind a byte that is not UTF-8
};

// The colours of the marks of a row drawn with option's palette and state
// (selected, active, enabled).
MarkColours MarkColoursOf(const QStyleOptionViewItem& option);

// Draws text with its marks from the left of area, one line, vertically
// centred, clipped to area. shown is the text as the list shows it
// (ResultList::ShownText), position for position the same as text. Each run
// of outlined (first, length) gets a faint box in the marks' colour: the
// changed fields of a changed line. Returns where the text ends.
qreal PaintMarkedLine(QPainter& painter, const QRect& area, const QFont& font,
                      const MarkColours& colours, QStringView text, QStringView shown,
                      const std::vector<LineMark>& marks,
                      const std::vector<std::pair<qsizetype, qsizetype>>& outlined = {});

// Draws a line as a list row shows it (PaintMarkedLine with the text shown
// as the list shows it and the marks MarksOf finds). Returns where it ends.
qreal PaintLineWithMarks(QPainter& painter, const QRect& area, const QFont& font,
                         const MarkColours& colours, QStringView text);
