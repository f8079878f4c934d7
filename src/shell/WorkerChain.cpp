#include "shell/WorkerChain.h"

#include <algorithm>

WorkerChain::~WorkerChain()
{
    CancelAll();
    Wait();
}

void WorkerChain::Wait()
{
    if (m_last.joinable())
        m_last.join();
}

std::shared_ptr<const WorkerChain::Job> WorkerChain::Run(Start start, std::function<void()> work,
                                                         std::function<void()> cancel)
{
    auto job = std::make_shared<Job>();
    job->m_cancel = std::move(cancel);
    std::erase_if(m_jobs, [](const std::weak_ptr<Job>& held) {
        const auto known = held.lock();
        return !known || known->Finished();
    });
    m_jobs.push_back(job);
    ++m_running;
    m_last = std::thread(
        [this, job, start, work = std::move(work), previous = std::move(m_last)]() mutable {
            if (start == Start::AfterPrevious && previous.joinable())
                previous.join();
            try {
                work();
            } catch (...) {
                job->m_failure = std::current_exception();
            }
            // What the work held goes before the next job starts.
            work = nullptr;
            job->m_finished.store(true, std::memory_order_release);
            job->m_finished.notify_all();
            job.reset();
            if (previous.joinable())
                previous.join();
            --m_running;
        });
    return job;
}

void WorkerChain::CancelAll()
{
    for (const std::weak_ptr<Job>& held : m_jobs)
        if (const auto job = held.lock(); job && !job->Finished())
            job->Cancel();
}
