// The worker threads behind the global and serial dispatch queues. Tests can switch it to
// manual stepping: tasks are then held in order and run one by one on the test's thread,
// so "busy" and "late result" cases are reproducible.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_set>
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
    // Drops every queued task without running it (between tests).
    void cancelPendingTasks();

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

    mutable std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable workerExited_;
    std::deque<Task> pending_;
    std::unordered_set<const void*> busySerialKeys_;
    std::vector<std::thread> workers_;
    std::vector<bool> workerExitedFlags_;
    bool manual_ = false;
    bool stopping_ = false;
};
