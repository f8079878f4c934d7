#pragma once

class QAccessibleInterface;
class QObject;
class QString;

// What assistive technology sees of a result list: a table of one column
// whose cells are the lines, each with its check mark and selection. Cells are
// made only when asked for, so a list of millions of lines costs nothing until
// a screen reader walks it.
QAccessibleInterface* ResultViewAccessibleFactory(const QString& className, QObject* object);
