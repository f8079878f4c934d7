#pragma once

#include <QtGlobal>
#include <algorithm>
#include <vector>

// How many distinct keys a list of lines has, estimated from a HyperLogLog
// sketch of their hashes: a few kilobytes, whatever the number of lines.
namespace Engine {

// A sketch has 2^kSketchBits registers.
constexpr int kSketchBits = 12;

// Adds a key's hash to a HyperLogLog sketch of 2^kSketchBits registers.
inline void sketchAdd(std::vector<quint8>& sketch, quint32 hash)
{
    const quint32 rest = (hash << kSketchBits) | (1u << (kSketchBits - 1));
    const quint8 rank = quint8(__builtin_clz(rest) + 1);
    quint8& slot = sketch[hash >> (32 - kSketchBits)];
    slot = std::max(slot, rank);
}

// The number of distinct keys in two sketches together, estimated.
double sketchCount(const std::vector<quint8>& one, const std::vector<quint8>& other);

} // namespace Engine
