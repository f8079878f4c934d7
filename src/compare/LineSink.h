#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>

// What the comparison engine fills: it only ever empties the target and
// appends lines to it, each with its place in its file (counted from 0).
class LineSink
{
public:
    virtual ~LineSink() = default;

    // Removes every line.
    virtual void Clear() = 0;

    // Appends line `line` of its file as text (a line with no byte form).
    virtual void AddAt(qsizetype line, const QString& text) = 0;

    // Appends line `line` given in its encoded form (AnsiCodec), as bytes
    // that owner keeps alive and unchanged: a target may keep owner instead
    // of copying them.
    virtual void AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                             QByteArrayView bytes) = 0;
};
