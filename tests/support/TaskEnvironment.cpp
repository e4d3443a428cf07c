#include "tests/support/TaskEnvironment.h"

#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"

namespace {
// Delays are added as floating-point seconds, so a timer may be due a hair after the
// clock reached it; within this slack it counts as due (as the run loop counts it).
constexpr double kTimerSlack = 1e-6;
} // namespace

namespace {
TaskEnvironment* currentEnvironment = nullptr;
} // namespace

TaskEnvironment::TaskEnvironment(GlobalQueues globalQueues)
    : clock_(std::make_shared<MockClock>()), globalQueues_(globalQueues) {
    Clock::setCurrent(clock_);
    NSThread::markCurrentThreadAsMain();
    NSRunLoop::mainRunLoop();
    GlobalThreadPool::shared().setManualStepping(globalQueues == GlobalQueues::Manual);
    currentEnvironment = this;
}

TaskEnvironment* TaskEnvironment::current() {
    return currentEnvironment;
}

void TaskEnvironment::letTimePass(double seconds) {
    if (globalQueues_ == GlobalQueues::Manual) {
        fastForwardMainLoopBy(seconds);
    } else {
        fastForwardBy(seconds);
    }
}

TaskEnvironment::~TaskEnvironment() {
    // Left-over work would otherwise fire in the next test, against objects long gone.
    GlobalThreadPool::resetForTesting();
    NSRunLoop::resetForTesting();
    Clock::setCurrent(nullptr);
    if (currentEnvironment == this) {
        currentEnvironment = nullptr;
    }
}

void TaskEnvironment::runUntilIdle() {
    GlobalThreadPool& pool = GlobalThreadPool::shared();
    NSRunLoop& loop = NSRunLoop::mainRunLoop();
    // The pool's results arrive as main-loop tasks and main-loop tasks may submit to the
    // pool, so the two are drained in turn until a main-loop pass finds nothing (or gives
    // up on a task that keeps re-posting itself).
    do {
        pool.waitUntilIdle();
    } while (loop.runUntilIdle());
}

void TaskEnvironment::runMainLoopUntilIdle() {
    NSRunLoop::mainRunLoop().runUntilIdle();
}

void TaskEnvironment::fastForwardBy(double seconds) {
    advance(seconds, &TaskEnvironment::runUntilIdle);
}

void TaskEnvironment::fastForwardMainLoopBy(double seconds) {
    advance(seconds, &TaskEnvironment::runMainLoopUntilIdle);
}

void TaskEnvironment::advance(double seconds, void (TaskEnvironment::*runUntilIdle)()) {
    NSRunLoop& loop = NSRunLoop::mainRunLoop();
    const double target = clock_->monotonicNow() + (seconds > 0 ? seconds : 0);
    (this->*runUntilIdle)();
    while (std::optional<double> fireTime = loop.nextTimerFireTime()) {
        if (*fireTime > target + kTimerSlack) {
            break;
        }
        const double now = clock_->monotonicNow();
        if (*fireTime <= now + kTimerSlack) {
            // runUntilIdle left a due timer behind: it gave up on one that re-arms itself
            // with no delay, and no other timer can fire before it.
            break;
        }
        clock_->advance(*fireTime - now);
        (this->*runUntilIdle)();
    }
    const double now = clock_->monotonicNow();
    if (target > now) {
        clock_->advance(target - now);
    }
    (this->*runUntilIdle)();
}
