// Test fixture support: makes the test's thread the main thread, drives the main run loop
// under a MockClock, and optionally holds global-queue tasks for manual stepping, so
// timers, delays and background work run deterministically. Declare it before the
// objects under test, so it outlives them.
#pragma once

#include "platform/base/MockClock.h"

#include <memory>

class TaskEnvironment {
public:
    enum class GlobalQueues { Threaded, Manual };

    explicit TaskEnvironment(GlobalQueues globalQueues = GlobalQueues::Threaded);
    // Drops the tasks and timers left behind, restores the system clock and threaded
    // global queues.
    ~TaskEnvironment();
    TaskEnvironment(const TaskEnvironment&) = delete;
    TaskEnvironment& operator=(const TaskEnvironment&) = delete;

    void runUntilIdle();
    void fastForwardBy(double seconds);
    MockClock& mockClock() { return *clock_; }

private:
    std::shared_ptr<MockClock> clock_;
};
