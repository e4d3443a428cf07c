#include "platform/dispatch/GlobalThreadPool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
// How long process exit waits for running tasks before leaving their workers behind.
constexpr auto kShutdownGrace = std::chrono::seconds(2);
} // namespace

GlobalThreadPool& GlobalThreadPool::shared() {
    // Never freed: a worker left behind at exit may still touch it.
    static GlobalThreadPool* pool = new GlobalThreadPool();
    struct ShutDownAtExit {
        ~ShutDownAtExit() { pool->shutDown(); }
    };
    static ShutDownAtExit shutDownAtExit;
    return *pool;
}

void GlobalThreadPool::shutDown() {
    std::deque<Task> dropped;
    std::unique_lock lock(mutex_);
    stopping_ = true;
    dropped.swap(pending_);
    workAvailable_.notify_all();
    workerExited_.wait_for(lock, kShutdownGrace, [this] {
        return std::all_of(workerExitedFlags_.begin(), workerExitedFlags_.end(),
                           [](bool exited) { return exited; });
    });
    for (size_t i = 0; i < workers_.size(); ++i) {
        if (workerExitedFlags_[i]) {
            workers_[i].join();
        } else {
            std::fprintf(stderr, "GlobalThreadPool: a task is still running at exit\n");
            workers_[i].detach();
        }
    }
    lock.unlock();
}

void GlobalThreadPool::submit(const void* serialKey, std::function<void()> task) {
    if (!task) {
        std::fprintf(stderr, "GlobalThreadPool: ignoring an empty task\n");
        return;
    }
    std::lock_guard lock(mutex_);
    if (stopping_) {
        return;
    }
    pending_.push_back(Task{serialKey, std::move(task)});
    if (!manual_) {
        startWorkersLocked();
        workAvailable_.notify_one();
    }
}

void GlobalThreadPool::setManualStepping(bool manual) {
    std::lock_guard lock(mutex_);
    manual_ = manual;
    if (!manual_ && !pending_.empty()) {
        startWorkersLocked();
        workAvailable_.notify_all();
    }
}

bool GlobalThreadPool::isManualStepping() const {
    std::lock_guard lock(mutex_);
    return manual_;
}

bool GlobalThreadPool::runNextTask() {
    Task task;
    {
        std::lock_guard lock(mutex_);
        auto next = findRunnableLocked();
        if (next == pending_.end()) {
            return false;
        }
        task = takeLocked(next);
    }
    task.work();
    task.work = nullptr; // its captures are released outside the lock
    std::lock_guard lock(mutex_);
    finishLocked(task.serialKey);
    return true;
}

void GlobalThreadPool::runAllTasks() {
    while (runNextTask()) {
    }
}

size_t GlobalThreadPool::pendingTaskCount() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

void GlobalThreadPool::cancelPendingTasks() {
    std::deque<Task> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(pending_);
}

std::deque<GlobalThreadPool::Task>::iterator GlobalThreadPool::findRunnableLocked() {
    return std::find_if(pending_.begin(), pending_.end(), [this](const Task& task) {
        return !task.serialKey || !busySerialKeys_.contains(task.serialKey);
    });
}

GlobalThreadPool::Task GlobalThreadPool::takeLocked(std::deque<Task>::iterator task) {
    Task taken = std::move(*task);
    pending_.erase(task);
    if (taken.serialKey) {
        busySerialKeys_.insert(taken.serialKey);
    }
    return taken;
}

void GlobalThreadPool::finishLocked(const void* serialKey) {
    if (serialKey) {
        busySerialKeys_.erase(serialKey);
        // The serial queue's next task may be waiting for exactly this.
        if (!manual_) {
            workAvailable_.notify_all();
        }
    }
}

void GlobalThreadPool::startWorkersLocked() {
    if (!workers_.empty()) {
        return;
    }
    size_t count = std::max(2u, std::thread::hardware_concurrency());
    workerExitedFlags_.assign(count, false);
    for (size_t i = 0; i < count; ++i) {
        workers_.emplace_back([this, i] { workerLoop(i); });
    }
}

void GlobalThreadPool::workerLoop(size_t index) {
    std::unique_lock lock(mutex_);
    while (true) {
        workAvailable_.wait(lock, [this] {
            return stopping_ || (!manual_ && findRunnableLocked() != pending_.end());
        });
        if (stopping_) {
            break;
        }
        Task task = takeLocked(findRunnableLocked());
        lock.unlock();
        task.work();
        task.work = nullptr;
        lock.lock();
        finishLocked(task.serialKey);
    }
    workerExitedFlags_[index] = true;
    workerExited_.notify_all();
}
