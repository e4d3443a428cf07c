// The worker threads behind the global and serial dispatch queues. Tests can switch it to
// manual stepping: tasks are then held in order and run one by one on the test's thread,
// so "busy" and "late result" cases are reproducible.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

class GlobalThreadPool {
public:
    // Started lazily; its workers are stopped at process exit (see shutDown).
    static GlobalThreadPool& shared();

    // Queues a task. Tasks sharing a non-null serial key run one at a time, in the order
    // they were submitted; tasks without one may run concurrently.
    void submit(const void* serialKey, std::function<void()> task);

    void setManualStepping(bool manual);
    bool isManualStepping() const;
    // Runs the oldest runnable held task on the calling thread; false when there is none.
    bool runNextTask();
    // Runs tasks until none is runnable, including those the tasks submit.
    void runAllTasks();
    size_t pendingTaskCount() const;

    // Marks work running outside the pool whose result comes back through a queue (a URL
    // load on its loader's thread): while a mark is held the pool does not count as idle,
    // so waiting for an idle pool waits for that result too. Released on destruction.
    class BusyMark {
    public:
        BusyMark() = default;
        explicit BusyMark(GlobalThreadPool* pool) : pool_(pool) {}
        BusyMark(BusyMark&& other) noexcept : pool_(std::exchange(other.pool_, nullptr)) {}
        BusyMark& operator=(BusyMark&& other) noexcept;
        ~BusyMark();

    private:
        GlobalThreadPool* pool_ = nullptr;
    };
    BusyMark markBusy();

    // Returns once no task is queued or running and no busy mark is held. Under manual
    // stepping the held tasks run on the calling thread meanwhile. Never from a pool task.
    void waitUntilIdle();

    // How long process exit waits for running tasks before leaving their workers behind
    // (2 s unless set; a test of exit sets a short one).
    void setShutdownGrace(std::chrono::milliseconds grace);

    // Waits for the running tasks and the busy marks to end, drops every queued task
    // (those they queued included) and goes back to threads (between tests).
    static void resetForTesting();

private:
    struct Task {
        const void* serialKey;
        std::function<void()> work;
    };

    GlobalThreadPool() = default;
    // Queued tasks are dropped, running ones are given a moment to finish, and a worker
    // stuck in its task is left behind rather than hung on.
    void shutDown();
    // The oldest task whose serial queue is not busy, or pending_.end().
    std::deque<Task>::iterator findRunnableLocked();
    Task takeLocked(std::deque<Task>::iterator task);
    void finishLocked(const void* serialKey);
    void startWorkersLocked();
    void workerLoop(size_t index);
    bool isIdleLocked() const { return pending_.empty() && running_ == 0 && busyMarks_ == 0; }
    void releaseBusyMark();

    mutable std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable workerExited_;
    // Signalled whenever a task ends or a busy mark is released.
    std::condition_variable progress_;
    std::deque<Task> pending_;
    std::unordered_set<const void*> busySerialKeys_;
    std::vector<std::thread> workers_;
    std::vector<bool> workerExitedFlags_;
    size_t running_ = 0;
    size_t busyMarks_ = 0;
    bool manual_ = false;
    std::chrono::milliseconds shutdownGrace_{2000};
    bool stopping_ = false;
};
