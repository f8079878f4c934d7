#pragma once

#include <QAccessible>

class QAccessibleInterface;
class QObject;
class QString;

// What a screen reader gets of Qt's own controls in the window, over what Qt
// gives: Qt's interface for each is made as ever and wrapped, and the wrapper
// answers the calls Qt 6.4 gets wrong.
//
// - A text field (QLineEdit, the combo box's too) finds its characters,
//   words, sentences and lines itself, bounded by the text's length, at any
//   offset: Qt's own search spins for good on a word at offset 0.
// - An item view (the combo box's list ...) answers a cell outside its rows
//   with a cell that is not valid: Qt's AT-SPI bridge calls into the cell
//   Table.IsSelected and the extents ask for without looking.
// - A combo box is named by its accessible name (Qt names it by its text).
// - A tool button with the property kExpandsProperty is expandable, and
//   expanded while the property is true.
//
// Installed once, before the window's controls are made.
void InstallControlAccessible();

// The dynamic property that makes a tool button expandable (its value: expanded).
inline constexpr const char* kExpandsProperty = "quillmarkExpanded";

// One piece of a single line of text around offset, as a screen reader asks
// for it: characters, words (runs of letters and digits, and the runs between
// them), sentences (up to . ! ? and the blanks after them), or the whole line.
// Offsets run from 0 to the text's length, -1 being its end; start and end are
// -1 when there is no such piece.
enum class TextPieceAt
{
    Before,
    At,
    After
};
QString TextPiece(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                  TextPieceAt which, int* start, int* end);
