#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// The window's background work: each job on a thread of its own, ending only
// after the job queued before it has ended, so that the jobs let go of their
// memory in turn and the window can wait for all of them at once. A job
// either starts once the one before it has ended (a comparison, which should
// not hold its files beside a former one) or starts at once and waits for it
// at its end (a save, a search that runs beside what is being freed).
// Everything here is called from the window's thread.
class WorkerChain
{
public:
    enum class Start
    {
        AfterPrevious,
        AtOnce
    };

    // What the window knows of a job it queued.
    class Job
    {
    public:
        // Whether the job's work has returned (the thread may still wait for
        // the jobs before it).
        bool Finished() const { return m_finished.load(std::memory_order_acquire); }
        // What the work threw, once finished; none when it returned.
        std::exception_ptr Failure() const { return Finished() ? m_failure : nullptr; }
        // Blocks until the work has returned.
        void Wait() const { m_finished.wait(false, std::memory_order_acquire); }
        // Asks the work to stop at its next look.
        void Cancel() const
        {
            if (m_cancel)
                m_cancel();
        }

    private:
        friend class WorkerChain;
        std::function<void()> m_cancel;
        std::exception_ptr m_failure;
        std::atomic<bool> m_finished{false};
    };

    WorkerChain() = default;
    // Cancels every job still working and waits for all of them.
    ~WorkerChain();
    WorkerChain(const WorkerChain&) = delete;
    WorkerChain& operator=(const WorkerChain&) = delete;

    // Queues work; cancel, when given, makes it return soon, from any thread.
    // What the work throws is kept in the job.
    std::shared_ptr<const Job> Run(Start start, std::function<void()> work,
                                   std::function<void()> cancel = {});

    // Waits for every job to end.
    void Wait();

    // How many jobs have not ended yet, waiting for those before them included.
    int Running() const { return m_running.load(); }

    // Cancels every job that is still working.
    void CancelAll();

private:
    std::thread m_last;
    std::atomic<int> m_running{0};
    std::vector<std::weak_ptr<Job>> m_jobs;
};
