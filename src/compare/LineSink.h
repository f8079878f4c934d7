#pragma once

#include "AnsiCodec.h"

#include <QByteArrayView>
#include <QString>

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
};
