#pragma once

#include <QString>

class BusyProgress;
class ResultList;

// Puts the checked items of list on the clipboard as text: one line per item,
// its cells padded to their column's width and separated by tabs, trailing
// blanks removed, each line ended by CR LF. An empty list leaves the clipboard
// alone. The window keeps handling events while the list is read, so other
// commands may change the list meanwhile; a position that has gone throws
// RuntimeError before the clipboard is touched, and a clipboard that stays
// busy through every attempt throws RuntimeError too. With progress, a long
// copy shows how far it is; false when it was cancelled, the clipboard untouched.
bool CopyListToClipboard(ResultList& list, BusyProgress* progress = nullptr);

// The same for the selected items of list (its selection model's rows): what
// Ctrl+C in a list copies. Each line goes as the list shows it, its trailing
// blanks kept. Nothing selected leaves the clipboard alone.
bool CopySelectionToClipboard(ResultList& list, BusyProgress* progress = nullptr);
