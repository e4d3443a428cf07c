#include "platform/dispatch/DispatchQueue.h"

#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/dispatch/dispatch.h"

#include <cstdio>
#include <cstdlib>
#include <future>

namespace {
thread_local DispatchQueue* currentQueue = nullptr;

bool checkBlock(const std::function<void()>& block, const std::string& label) {
    if (!block) {
        std::fprintf(stderr, "DispatchQueue %s: ignoring an empty block\n", label.c_str());
    }
    return static_cast<bool>(block);
}
} // namespace

// The shared queues are never destroyed: a worker still running at process exit may ask
// for them.
std::shared_ptr<DispatchQueue> DispatchQueue::mainQueue() {
    static const auto& queue = *new std::shared_ptr<DispatchQueue>(makeShared(Kind::Main, "main"));
    return queue;
}

std::shared_ptr<DispatchQueue> DispatchQueue::globalQueue(long priority) {
    static const auto* queues = new std::shared_ptr<DispatchQueue>[4] {
        makeShared(Kind::Global, "global.high"), makeShared(Kind::Global, "global.default"),
            makeShared(Kind::Global, "global.low"), makeShared(Kind::Global, "global.background"),
    };
    switch (priority) {
    case DISPATCH_QUEUE_PRIORITY_HIGH:
        return queues[0];
    case DISPATCH_QUEUE_PRIORITY_LOW:
        return queues[2];
    case DISPATCH_QUEUE_PRIORITY_BACKGROUND:
        return queues[3];
    default:
        return queues[1];
    }
}

std::shared_ptr<DispatchQueue> DispatchQueue::serialQueueWithLabel(std::string label) {
    return makeShared(Kind::Serial, std::move(label));
}

std::shared_ptr<DispatchQueue> DispatchQueue::concurrentQueueWithLabel(std::string label) {
    return makeShared(Kind::Global, std::move(label));
}

std::shared_ptr<DispatchQueue> DispatchQueue::makeShared(Kind kind, std::string label) {
    return make<DispatchQueue>(kind, std::move(label));
}

std::shared_ptr<DispatchQueue> DispatchQueue::current() {
    if (currentQueue) {
        return currentQueue->self<DispatchQueue>();
    }
    return NSThread::isMainThread() ? mainQueue() : globalQueue(DISPATCH_QUEUE_PRIORITY_DEFAULT);
}

std::string DispatchQueue::description() const {
    return "<DispatchQueue: " + label_ + ">";
}

void DispatchQueue::runAsCurrent(const std::function<void()>& block) {
    DispatchQueue* previous = currentQueue;
    currentQueue = this;
    block();
    currentQueue = previous;
}

void DispatchQueue::async(std::function<void()> block) {
    if (!checkBlock(block, label_)) {
        return;
    }
    auto task = [queue = self<DispatchQueue>(), block = std::move(block)] {
        queue->runAsCurrent(block);
    };
    if (kind_ == Kind::Main) {
        NSRunLoop::mainRunLoop().postTask(std::move(task));
    } else {
        GlobalThreadPool::shared().submit(kind_ == Kind::Serial ? this : nullptr, std::move(task));
    }
}

void DispatchQueue::sync(std::function<void()> block) {
    if (!checkBlock(block, label_)) {
        return;
    }
    if (kind_ == Kind::Global || (kind_ == Kind::Main && NSThread::isMainThread())) {
        runAsCurrent(block);
        return;
    }
    // Shared with the task: if the task is dropped unrun (the loop or pool discarding its
    // work), the broken promise still releases the wait.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    async([block = std::move(block), done] {
        block();
        done->set_value();
    });
    GlobalThreadPool& pool = GlobalThreadPool::shared();
    if (kind_ == Kind::Serial && pool.isManualStepping()) {
        while (finished.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            if (!pool.runNextTask()) {
                // Only a sync from inside this very queue gets here; on threads it would
                // hang, so stop loudly instead (as the platform traps it).
                std::fprintf(stderr, "DispatchQueue %s: sync from inside the queue deadlocks\n",
                             label_.c_str());
                std::abort();
            }
        }
        return;
    }
    finished.wait();
}

void DispatchQueue::after(double seconds, std::function<void()> block) {
    if (!checkBlock(block, label_)) {
        return;
    }
    auto arm = [queue = self<DispatchQueue>(), seconds, block = std::move(block)] {
        NSRunLoop::mainRunLoop().addTimer(seconds, [queue, block] { queue->async(block); });
    };
    // Timers belong to the main thread; from elsewhere the timer is set up there.
    if (NSThread::isMainThread()) {
        arm();
    } else {
        NSRunLoop::mainRunLoop().postTask(std::move(arm));
    }
}
