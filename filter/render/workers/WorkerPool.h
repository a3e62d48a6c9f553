// The job's helper threads: started once when the renderer is made and joined when it is freed, so
// that a page does not pay for starting threads and a failed page cannot leave one behind. The
// page's compression hands them short tasks (a band-plane each) in the order they come; a task
// never waits for another, so every queued task runs.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class WorkerPool {
public:
    typedef void (*PFNTASK)(void* pvTask);

    // Starts up to `threads` workers; Threads() tells how many could be started (0: every task is
    // to be run by whoever has it).
    explicit WorkerPool(unsigned threads);
    // Runs what is still queued, then joins every worker.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    unsigned Threads() const { return static_cast<unsigned>(m_workers.size()); }

    // Queues pfnTask(pvTask) for the next free worker. false, and nothing is queued, without a
    // worker or when the queue cannot grow: the caller then runs the task itself. Whoever queues a
    // task keeps what it points to until the task has run.
    bool Submit(PFNTASK pfnTask, void* pvTask);

private:
    struct Task {
        PFNTASK pfn;
        void* pv;
    };
    void Run();

    std::mutex m_lock;
    std::condition_variable m_queued;
    std::deque<Task> m_tasks;
    bool m_bStop = false;
    std::vector<std::thread> m_workers;
};

// The workers a job starts: one a processor the process may use (UsableCpus), up to
// kMaxJobWorkers; none on a single processor, where the job runs on its own thread alone. Beyond
// four the pages came out slower, not faster, with eight processors: Ghostscript and the thread
// that reads its pipe need two of them, and the workers only took turns with them.
// The count itself, not more: the threads a page used to start for its compression were more than
// the processors (on two, four of them printed 12-30 % faster than two) because they sat waiting
// for rows to become final; a worker is handed a band-plane only once its rows are final, so it
// never waits inside a task. Measured pinned to two processors with jobs taking turns, two workers
// printed as fast as those four threads (0.95-1.00 of their time a job), and three or four
// workers no faster (colour pages 3 % slower); on one processor the job's thread alone was 3-7 %
// faster than them.
inline constexpr unsigned kMaxJobWorkers = 4;
unsigned JobWorkerCount(unsigned usableCpus);
