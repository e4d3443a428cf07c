#include "tests/support/TaskEnvironment.h"

#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"

TaskEnvironment::TaskEnvironment(GlobalQueues globalQueues)
    : clock_(std::make_shared<MockClock>()) {
    Clock::setCurrent(clock_);
    NSThread::markCurrentThreadAsMain();
    NSRunLoop::mainRunLoop();
    GlobalThreadPool::shared().setManualStepping(globalQueues == GlobalQueues::Manual);
}

TaskEnvironment::~TaskEnvironment() {
    // Left-over work would otherwise fire in the next test, against objects long gone.
    GlobalThreadPool& pool = GlobalThreadPool::shared();
    if (pool.isManualStepping()) {
        pool.cancelPendingTasks();
        pool.setManualStepping(false);
    }
    NSRunLoop::mainRunLoop().cancelAllTasksAndTimers();
    Clock::setCurrent(nullptr);
}

void TaskEnvironment::runUntilIdle() {
    NSRunLoop::mainRunLoop().runUntilIdle();
}

void TaskEnvironment::fastForwardBy(double seconds) {
    NSRunLoop::mainRunLoop().fastForwardBy(seconds);
}
