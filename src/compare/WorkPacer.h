#pragma once

#include "compare/CompareProgress.h"

#include <QtGlobal>
#include <atomic>
#include <cstddef>

namespace Engine {

// Every so many lines, from any thread: stops the work once it is cancelled
// and tells how many lines are done.
class WorkPacer
{
public:
    WorkPacer(CompareProgress* progress, qint64 total) : m_progress(progress), m_total(total) {}
    // The work is being done over: the lines done count from zero again.
    void Restart() { m_done.store(0, std::memory_order_relaxed); }
    // Called for line i of a loop.
    void Line(size_t i)
    {
        if (m_progress && i % kStride == kStride - 1)
            stride();
    }

private:
    static constexpr qint64 kStride = 1 << 16;
    void stride()
    {
        m_progress->ThrowIfCancelled();
        m_progress->ReportDone(m_done.fetch_add(kStride, std::memory_order_relaxed) + kStride,
                               m_total);
    }
    CompareProgress* m_progress;
    const qint64 m_total;
    std::atomic<qint64> m_done{0};
};

} // namespace Engine
