#include "compare/SharedTable.h"

namespace Engine {

// Read in slot order: a few megabytes that the cache holds, where the table
// itself is far larger at millions of lines and each look at it would miss.
std::vector<quint64> SharedTable::slotsInB() const
{
    std::vector<quint64> bits((m_capacity + 63) / 64);
    for (size_t i = 0; i < m_capacity; ++i)
        bits[i >> 6] |= quint64((m_slots[i].meta & kInB) != 0) << (i & 63);
    return bits;
}

} // namespace Engine
