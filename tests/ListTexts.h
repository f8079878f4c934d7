#pragma once

// The bytes a list file holds, for the engine's test and its fuzz target.

#include "compare/CompareEngine.h"
#include "platform/AnsiCodec.h"

#include <QByteArray>
#include <QStringList>

// The text a list file holds for lines.
inline QByteArray listText(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        AnsiCodec::AppendEncoded(line, out);
        out += "\r\n";
    }
    return out;
}

// The text the engine writes for a list of comparison.
inline QByteArray writtenText(const Comparison& comparison, ResultKind kind)
{
    QByteArray out;
    WriteListText(comparison, kind, [&out](QByteArrayView piece) { out += piece; });
    return out;
}
