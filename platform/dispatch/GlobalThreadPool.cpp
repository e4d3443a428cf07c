#include "platform/dispatch/GlobalThreadPool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

void GlobalThreadPool::setShutdownGrace(std::chrono::milliseconds grace) {
    std::lock_guard lock(mutex_);
    shutdownGrace_ = grace;
}

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
    workerExited_.wait_for(lock, shutdownGrace_, [this] {
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
    if (manual_) {
        progress_.notify_all();
    } else {
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

GlobalThreadPool::BusyMark& GlobalThreadPool::BusyMark::operator=(BusyMark&& other) noexcept {
    if (this != &other) {
        if (pool_) {
            pool_->releaseBusyMark();
        }
        pool_ = std::exchange(other.pool_, nullptr);
    }
    return *this;
}

GlobalThreadPool::BusyMark::~BusyMark() {
    if (pool_) {
        pool_->releaseBusyMark();
    }
}

GlobalThreadPool::BusyMark GlobalThreadPool::markBusy() {
    std::lock_guard lock(mutex_);
    ++busyMarks_;
    return BusyMark(this);
}

void GlobalThreadPool::releaseBusyMark() {
    std::lock_guard lock(mutex_);
    --busyMarks_;
    progress_.notify_all();
}

void GlobalThreadPool::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    while (!isIdleLocked()) {
        if (manual_ && findRunnableLocked() != pending_.end()) {
            lock.unlock();
            runNextTask();
            lock.lock();
            continue;
        }
        // Threads finishing tasks, or outside work ending (which may queue more).
        progress_.wait(lock);
    }
}

void GlobalThreadPool::resetForTesting() {
    GlobalThreadPool& pool = shared();
    std::unique_lock lock(pool.mutex_);
    // Held while the work under way ends, so that what it submits is dropped too: a task
    // still running, or a load still completing, would otherwise reach into the next test.
    pool.manual_ = true;
    pool.progress_.wait(lock, [&pool] { return pool.running_ == 0 && pool.busyMarks_ == 0; });
    std::deque<Task> dropped;
    dropped.swap(pool.pending_);
    pool.manual_ = false;
    lock.unlock();
    // Destroyed outside the lock: their captures may submit in turn.
    dropped.clear();
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
    ++running_;
    return taken;
}

void GlobalThreadPool::finishLocked(const void* serialKey) {
    --running_;
    progress_.notify_all();
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
