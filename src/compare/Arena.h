#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace Engine {

// Bump allocation for the keys that have to be made (lower-cased non-ASCII
// lines); pointers into it stay valid.
class Arena
{
public:
    // Room for n bytes, n at least 1.
    char* alloc(size_t n)
    {
        if (m_used + n > m_capacity) {
            m_capacity = std::max<size_t>(n, 1 << 20);
            m_chunks.push_back(std::make_unique<char[]>(m_capacity));
            m_used = 0;
        }
        char* p = m_chunks.back().get() + m_used;
        m_used += n;
        return p;
    }

    // Takes over other's memory; the keys in it stay valid.
    void adopt(Arena&& other)
    {
        // The chunk being filled stays the last one.
        for (auto& chunk : other.m_chunks)
            m_chunks.insert(m_chunks.begin(), std::move(chunk));
        other.m_chunks.clear();
    }

private:
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_used = 0, m_capacity = 0;
};

} // namespace Engine
