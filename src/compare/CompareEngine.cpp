#include "CompareEngine.h"

#include "LineSet.h"
#include "LineTable.h"

namespace {

void listLines(const QString& pathA, const QString& pathB, bool matchCase, bool wantFound,
               LineSink& target)
{
    const LineTable linesA = LineTable::Load(pathA);
    const LineTable linesB = LineTable::Load(pathB);
    // B's lines are hashed once; each line of A then costs one look-up.
    const LineSet setB(linesB, matchCase);
    target.Clear();
    for (qsizetype i = 0; i < linesA.size(); ++i) {
        if (setB.contains(linesA, i) != wantFound)
            continue;
        if (linesA.isText(i))
            target.Add(linesA.text(i));
        else
            target.AddEncoded(linesA.bytes(i));
    }
}

} // namespace

void ListLinesInBoth(QString pathA, QString pathB, qint16 matchCase, LineSink& target)
{
    listLines(pathA, pathB, matchCase != 0, true, target);
}

void ListLinesNotIn(QString pathA, QString pathB, qint16 matchCase, LineSink& target)
{
    listLines(pathA, pathB, matchCase != 0, false, target);
}
