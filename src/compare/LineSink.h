#pragma once

#include "platform/AnsiCodec.h"

#include <QByteArrayView>
#include <QString>
#include <memory>

// What the comparison engine fills: it only ever empties the target and
// appends lines to it.
class LineSink
{
public:
    virtual ~LineSink() = default;

    // Removes every line.
    virtual void Clear() = 0;

    // Appends one line after all existing ones.
    virtual void Add(const QString& text) = 0;

    // Appends one line given in its encoded form (AnsiCodec). A target that
    // stores text encoded overrides this to skip the round trip.
    virtual void AddEncoded(QByteArrayView bytes) { Add(AnsiCodec::Decode(bytes)); }

    // The same for bytes that owner keeps alive and unchanged: a target may
    // keep owner instead of copying them.
    virtual void AddShared(const std::shared_ptr<const void>& owner, QByteArrayView bytes)
    {
        Q_UNUSED(owner);
        AddEncoded(bytes);
    }

    // Add and AddShared for line `line` of its file (counted from 0): a
    // target that keeps where each of its lines came from overrides these.
    virtual void AddAt(qsizetype line, const QString& text)
    {
        Q_UNUSED(line);
        Add(text);
    }
    virtual void AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                             QByteArrayView bytes)
    {
        Q_UNUSED(line);
        AddShared(owner, bytes);
    }
};
