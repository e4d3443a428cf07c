#include "platform/base/NSRunLoop.h"

#include "platform/base/Clock.h"
#include "platform/base/NSThread.h"

#include <glib.h>

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {
// Delays are added as floating-point seconds, so a timer may be due a hair after the
// clock reached it (1059.9 + 0.1 < 1060.0); within this slack it counts as due.
constexpr double kTimerSlack = 1e-6;
// A task that keeps re-posting itself would keep runUntilIdle busy forever.
constexpr int kMaxIdleRounds = 10000;
} // namespace

// The GLib face of the run loop.
struct RunLoopSource {
    GSource base;
    NSRunLoop* loop;

    static gboolean prepare(GSource* source, gint* timeout) {
        return reinterpret_cast<RunLoopSource*>(source)->loop->isReady(timeout);
    }
    static gboolean check(GSource* source) {
        int timeout = -1;
        return reinterpret_cast<RunLoopSource*>(source)->loop->isReady(&timeout);
    }
    static gboolean dispatch(GSource* source, GSourceFunc, gpointer) {
        reinterpret_cast<RunLoopSource*>(source)->loop->runOneRound();
        return G_SOURCE_CONTINUE;
    }
};

namespace {
GSourceFuncs sourceFuncs = {
    .prepare = &RunLoopSource::prepare,
    .check = &RunLoopSource::check,
    .dispatch = &RunLoopSource::dispatch,
    .finalize = nullptr,
    .closure_callback = nullptr,
    .closure_marshal = nullptr,
};
} // namespace

NSRunLoop& NSRunLoop::mainRunLoop() {
    // Never destroyed: worker threads may still post to it while the process exits.
    static NSRunLoop* loop = new NSRunLoop();
    return *loop;
}

NSRunLoop::NSRunLoop() : context_(g_main_context_default()) {
    NSThread::markCurrentThreadAsMain();
    source_ = g_source_new(&sourceFuncs, sizeof(RunLoopSource));
    reinterpret_cast<RunLoopSource*>(source_)->loop = this;
    g_source_set_name(source_, "NSRunLoop");
    // A task may spin the loop itself (runUntilIdle, a nested run); our tasks must still
    // run inside that.
    g_source_set_can_recurse(source_, TRUE);
    g_source_attach(source_, context_);
}

void NSRunLoop::postTask(std::function<void()> task) {
    if (!task) {
        std::fprintf(stderr, "NSRunLoop: ignoring an empty task\n");
        return;
    }
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    g_main_context_wakeup(context_);
}

uint64_t NSRunLoop::addTimer(double delaySeconds, std::function<void()> callback) {
    assert(NSThread::isMainThread());
    if (!(delaySeconds > 0)) {
        delaySeconds = 0;
    }
    double fireTime = Clock::current().monotonicNow() + delaySeconds;
    uint64_t id;
    {
        std::lock_guard lock(mutex_);
        id = nextTimerId_++;
        timers_.emplace(TimerKey{fireTime, id}, std::move(callback));
        timerFireTimes_.emplace(id, fireTime);
    }
    g_main_context_wakeup(context_);
    return id;
}

void NSRunLoop::cancelTimer(uint64_t id) {
    assert(NSThread::isMainThread());
    std::function<void()> dropped; // destroyed outside the lock: it may own timers itself
    std::lock_guard lock(mutex_);
    auto found = timerFireTimes_.find(id);
    if (found == timerFireTimes_.end()) {
        return;
    }
    auto timer = timers_.find(TimerKey{found->second, id});
    dropped = std::move(timer->second);
    timers_.erase(timer);
    timerFireTimes_.erase(found);
}

bool NSRunLoop::isReady(int* timeoutMilliseconds) const {
    *timeoutMilliseconds = -1;
    std::lock_guard lock(mutex_);
    if (!tasks_.empty()) {
        *timeoutMilliseconds = 0;
        return true;
    }
    if (timers_.empty()) {
        return false;
    }
    double wait = timers_.begin()->first.first - Clock::current().monotonicNow();
    if (wait <= kTimerSlack) {
        *timeoutMilliseconds = 0;
        return true;
    }
    *timeoutMilliseconds = static_cast<int>(std::min(std::ceil(wait * 1000), double{INT_MAX}));
    return false;
}

bool NSRunLoop::runOneRound() {
    size_t taskCount;
    uint64_t timerIdLimit;
    {
        std::lock_guard lock(mutex_);
        taskCount = tasks_.size();
        timerIdLimit = nextTimerId_;
    }
    bool didWork = false;
    // One at a time from the shared queue, so a nested round keeps FIFO order.
    for (size_t i = 0; i < taskCount; ++i) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty()) {
                break;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        didWork = true;
    }
    // Timers added during this round wait for the next one, so a zero-delay timer that
    // re-arms itself cannot hold the round forever.
    double now = Clock::current().monotonicNow();
    while (true) {
        std::function<void()> callback;
        {
            std::lock_guard lock(mutex_);
            auto timer = timers_.begin();
            if (timer == timers_.end() || timer->first.first > now + kTimerSlack ||
                timer->first.second >= timerIdLimit) {
                break;
            }
            callback = std::move(timer->second);
            timerFireTimes_.erase(timer->first.second);
            timers_.erase(timer);
        }
        callback();
        didWork = true;
    }
    return didWork;
}

void NSRunLoop::run() {
    while (true) {
        {
            std::lock_guard lock(mutex_);
            if (stopRequested_) {
                stopRequested_ = false;
                return;
            }
        }
        g_main_context_iteration(context_, TRUE);
    }
}

void NSRunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    g_main_context_wakeup(context_);
}

bool NSRunLoop::runUntilIdle() {
    bool ranAny = false;
    for (int round = 0; round < kMaxIdleRounds; ++round) {
        bool didWork = runOneRound();
        // One iteration a round dispatches every GLib source ready by then.
        didWork = g_main_context_iteration(context_, FALSE) || didWork;
        if (!didWork) {
            return ranAny;
        }
        ranAny = true;
    }
    std::fprintf(stderr, "NSRunLoop: still busy after %d rounds; a task keeps re-posting itself?\n",
                 kMaxIdleRounds);
    return false;
}

void NSRunLoop::runForSeconds(double seconds) {
    bool done = false;
    addTimer(seconds, [&done] { done = true; });
    while (!done) {
        g_main_context_iteration(context_, TRUE);
    }
}

std::optional<double> NSRunLoop::nextTimerFireTime() const {
    std::lock_guard lock(mutex_);
    if (timers_.empty()) {
        return std::nullopt;
    }
    return timers_.begin()->first.first;
}

bool NSRunLoop::hasPendingWork() const {
    std::lock_guard lock(mutex_);
    return !tasks_.empty() || !timers_.empty();
}

size_t NSRunLoop::timerCount() const {
    std::lock_guard lock(mutex_);
    return timers_.size();
}

void NSRunLoop::resetForTesting() {
    NSRunLoop& loop = mainRunLoop();
    std::deque<std::function<void()>> tasks;
    std::map<TimerKey, std::function<void()>> timers;
    {
        std::lock_guard lock(loop.mutex_);
        tasks.swap(loop.tasks_);
        timers.swap(loop.timers_);
        loop.timerFireTimes_.clear();
        loop.stopRequested_ = false;
    }
    // Destroyed here, outside the lock: their captures may cancel or post in turn.
}
