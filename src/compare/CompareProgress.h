#pragma once

#include "platform/TestHook.h"

#include <QMutex>
#include <QString>
#include <atomic>
#include <exception>

// Thrown by the engine when the comparison it runs was cancelled.
class CompareCancelled : public std::exception
{
public:
    const char* what() const noexcept override { return "the comparison was cancelled"; }
};

// How far a comparison running on another thread is, and the way to stop it.
// The engine reports; the window reads and may cancel. Safe from any thread.
class CompareProgress
{
public:
    enum class Step
    {
        Reading,    // reading and splitting a file (path names it)
        Comparing,  // matching the two files' lines
        Listing,    // making the lists
        LookAlikes, // pairing the lines only in one file with their look-alikes in the other
        // From disk, with files too big for memory:
        Splitting,     // splitting a file into parts (path names it; done and total in bytes)
        ComparingPart, // comparing a pair of parts (part of parts)
        Writing        // writing the lists back in file order
    };
    struct State
    {
        Step step = Step::Reading;
        QString path;
        qint64 done = 0, total = 0; // units of the step; total 0 while unknown
        int part = 0, parts = 0;    // ComparingPart: which pair of how many; Splitting: which file
    };

    // Engine side.
    void Report(Step step, const QString& path = QString(), qint64 done = 0, qint64 total = 0,
                int part = 0)
    {
        {
            const QMutexLocker lock(&m_mutex);
            m_state = {step, path, done, total, part, 0};
        }
        if (const auto& hook = TestHook<CompareProgress, void(const CompareProgress&)>())
            hook(*this);
    }
    void ReportPart(int part, int parts)
    {
        {
            const QMutexLocker lock(&m_mutex);
            m_state = {Step::ComparingPart, QString(), 0, 0, part, parts};
        }
        if (const auto& hook = TestHook<CompareProgress, void(const CompareProgress&)>())
            hook(*this);
    }
    void ReportDone(qint64 done, qint64 total)
    {
        const QMutexLocker lock(&m_mutex);
        m_state.done = done;
        m_state.total = total;
    }
    // Throws CompareCancelled once Cancel was called.
    void ThrowIfCancelled() const
    {
        if (m_cancelled.load(std::memory_order_relaxed))
            throw CompareCancelled();
    }

    // Window side.
    void Cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool IsCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    State Current() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_state;
    }

    // Tests hold a comparison at each new step (on the engine's thread) to make
    // it as slow as they need: the hook returns when it lets the engine go on.
    static void SetTestHook(std::function<void(const CompareProgress&)> hook)
    {
        TestHook<CompareProgress, void(const CompareProgress&)>() = std::move(hook);
    }

private:
    mutable QMutex m_mutex;
    State m_state;
    std::atomic<bool> m_cancelled{false};
};
