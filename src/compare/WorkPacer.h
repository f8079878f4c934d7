#pragma once

#include "compare/CompareProgress.h"

#include <QtGlobal>
#include <atomic>
#include <cstddef>

namespace Engine {

// Work is counted in units that each take at most about a tenth of a
// microsecond: a line, a slot of a table looked at, kBytesPerWorkUnit bytes
// hashed, lowered or compared. Cancel is looked at every kWorkPerLook units,
// a few milliseconds at most whatever the lines are like: counting lines
// alone, a few long lines or lines that collide would run on for seconds.
constexpr quint64 kBytesPerWorkUnit = 64;
constexpr qint64 kWorkPerLook = qint64(1) << 14;

// The units of work of a line of length bytes.
inline qint64 lineWork(quint64 length)
{
    return 1 + qint64(length / kBytesPerWorkUnit);
}

// Stops the work once it is cancelled, and tells how many lines are done;
// from any thread, each through a Meter of its own.
class WorkPacer
{
public:
    WorkPacer(CompareProgress* progress, qint64 total) : m_progress(progress), m_total(total) {}

    // The work is being done over: the lines done count from zero again.
    void Restart() { m_done.store(0, std::memory_order_relaxed); }

    // One loop's lines and work on one thread.
    class Meter
    {
    public:
        explicit Meter(WorkPacer& pacer) : m_pacer(pacer) {}
        ~Meter() { m_pacer.m_done.fetch_add(m_lines, std::memory_order_relaxed); }
        Meter(const Meter&) = delete;
        Meter& operator=(const Meter&) = delete;

        // A line done, which took work units.
        void Line(qint64 work = 1)
        {
            ++m_lines;
            Work(work);
        }
        // Lines done that took next to no work.
        void Lines(qint64 lines) { m_lines += lines; }
        void Work(qint64 units)
        {
            m_work += units;
            if (m_work >= kWorkPerLook)
                look();
        }

    private:
        void look()
        {
            m_work = 0;
            m_pacer.look(m_lines);
            m_lines = 0;
        }
        WorkPacer& m_pacer;
        qint64 m_lines = 0, m_work = 0;
    };

private:
    void look(qint64 lines)
    {
        const qint64 done = m_done.fetch_add(lines, std::memory_order_relaxed) + lines;
        if (!m_progress)
            return;
        m_progress->ThrowIfCancelled();
        m_progress->ReportDone(done, m_total);
    }
    CompareProgress* m_progress;
    const qint64 m_total;
    std::atomic<qint64> m_done{0};
};

} // namespace Engine
