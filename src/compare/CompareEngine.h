#pragma once

#include "LineSink.h"

#include <QString>

// Lists into target every line of file A that also occurs in file B, in A's
// order, duplicates kept. matchCase non-zero compares exactly; zero compares
// the lines lower-cased character by character, and lists A's lines as they
// stand. Both files are read and split before target is emptied, so a file
// that cannot be read leaves target as it was.
void ListLinesInBoth(QString pathA, QString pathB, qint16 matchCase, LineSink& target);

// Lists into target every line of file A that does not occur in file B.
void ListLinesNotIn(QString pathA, QString pathB, qint16 matchCase, LineSink& target);
