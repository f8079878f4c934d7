#pragma once

// A result list written whole, the plain way, for the tests to hold the
// window's save (SaveListInPieces) and the engine's lists against.

#include "platform/AnsiCodec.h"
#include "platform/ListTextWriter.h"
#include "results/ResultFile.h"
#include "results/ResultList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Passes every item of list to out, each followed by CR LF, in list order.
inline void writeListItems(const ResultList& list, ListTextWriter& out)
{
    for (int position = 1; position <= list.Count(); ++position)
        list.WriteItemLine(position, out);
    out.Flush();
}

// The bytes a saved list holds.
inline QByteArray listFileText(const ResultList& list)
{
    QByteArray text;
    ListTextWriter out([&text](QByteArrayView piece) { text.append(piece); });
    writeListItems(list, out);
    return text;
}

// Saves list to path in one go. Throws RuntimeError when the file cannot be
// written; an existing file is then left as it was.
inline void saveListToFile(const QString& path, const ResultList& list)
{
    PendingFile file(path);
    ListTextWriter out([&file](QByteArrayView piece) { file.Write(piece); });
    writeListItems(list, out);
    file.Commit();
}

// Writes text to path in the 8-bit encoding (AnsiCodec), as a save does.
inline void writeTextFile(const QString& path, const QString& text)
{
    PendingFile file(path);
    file.Write(AnsiCodec::Encode(text));
    file.Commit();
}
