#include "filter/render/workers/WorkerPool.h"

#include <algorithm>
#include <exception>

WorkerPool::WorkerPool(unsigned threads)
{
    try {
        m_workers.reserve(threads);
    } catch (const std::exception&) {
        return;  // no workers: every task runs where it is made
    }
    for (unsigned i = 0; i < threads; ++i) {
        try {
            m_workers.emplace_back(&WorkerPool::Run, this);
        } catch (const std::exception&) {
            break;  // fewer workers (no thread or no memory)
        }
    }
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bStop = true;
    }
    m_queued.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

bool WorkerPool::Submit(PFNTASK pfnTask, void* pvTask)
{
    if (m_workers.empty() || pfnTask == nullptr) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        try {
            m_tasks.push_back(Task{pfnTask, pvTask});
        } catch (const std::exception&) {
            return false;
        }
    }
    m_queued.notify_one();
    return true;
}

void WorkerPool::Run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_queued.wait(lock, [this] { return m_bStop || !m_tasks.empty(); });
        if (m_tasks.empty()) {
            return;  // stopped, and nothing left to run
        }
        const Task task = m_tasks.front();
        m_tasks.pop_front();
        lock.unlock();
        task.pfn(task.pv);
        lock.lock();
    }
}

unsigned JobWorkerCount(unsigned usableCpus)
{
    return usableCpus <= 1 ? 0 : std::min(usableCpus, kMaxJobWorkers);
}
