// Test fixture support: owns what a test's time and background work run on. It makes the
// test's thread the main thread, installs a MockClock, and drives both the main run loop
// and the global thread pool (on its threads, or held for manual stepping), so that
// timers, delays and background work run deterministically. Declare it before the objects
// under test, so it outlives them.
#pragma once

#include "platform/base/MockClock.h"

#include <memory>

class TaskEnvironment {
public:
    enum class GlobalQueues { Threaded, Manual };

    explicit TaskEnvironment(GlobalQueues globalQueues = GlobalQueues::Threaded);
    // Drops the tasks and timers left behind (waiting for pool tasks still running),
    // restores the system clock and threaded global queues.
    ~TaskEnvironment();
    TaskEnvironment(const TaskEnvironment&) = delete;
    TaskEnvironment& operator=(const TaskEnvironment&) = delete;

    // Until the main run loop and the global thread pool are both quiet: waits for the
    // pool's tasks and the work marked busy on it (URL loads) to end, or under manual
    // stepping runs the held tasks on this thread; then runs the main loop's ready tasks,
    // due timers and GLib events; again until neither had anything to do. Time stays put.
    void runUntilIdle();
    // Moves the mock clock to each timer due within `seconds` in turn, running until idle
    // at each, then to the target. Timers behind one that re-arms itself with no delay
    // do not fire.
    void fastForwardBy(double seconds);

    // The same for the main run loop alone: tasks held for manual stepping stay held, so a
    // test can watch what happens while background work is under way, then step it
    // (GlobalThreadPool::runNextTask). Touch gestures wait this way under manual
    // stepping, and with fastForwardBy on threads.
    void runMainLoopUntilIdle();
    void fastForwardMainLoopBy(double seconds);

    MockClock& mockClock() { return *clock_; }

    // The environment of the test running, if it made one; what plays touches in tests
    // lets time pass through it.
    static TaskEnvironment* current();
    // Lets `seconds` pass as a waiting gesture does: fastForwardBy, or under manual
    // stepping fastForwardMainLoopBy (held background work stays held).
    void letTimePass(double seconds);

private:
    // Moves time as fastForwardBy says, draining with `runUntilIdle` at each step.
    void advance(double seconds, void (TaskEnvironment::*runUntilIdle)());

    std::shared_ptr<MockClock> clock_;
    GlobalQueues globalQueues_;
};
