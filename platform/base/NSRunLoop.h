// The main run loop: our task queue and timers as one source on GLib's default main
// context, so that everything else dispatching there (web views) shares the same loop.
// Timers are measured on Clock::current(); under a MockClock they fire only when a test
// moves time (fastForwardBy), never by waiting.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

typedef struct _GMainContext GMainContext;
typedef struct _GSource GSource;

class NSRunLoop {
public:
    // Created on first use; the calling thread becomes the main thread. Lives until the
    // process ends, so threads still running at exit may post to it safely.
    static NSRunLoop& mainRunLoop();

    // Queues a task to run on the main thread, after those queued before it. Any thread.
    void postTask(std::function<void()> task);

    // A one-shot timer firing `delaySeconds` from now (negative counts as zero); timers
    // due at the same moment fire in the order they were added. Main thread only.
    uint64_t addTimer(double delaySeconds, std::function<void()> callback);
    // Unknown or already fired ids are ignored. Main thread only.
    void cancelTimer(uint64_t id);

    // Iterates the main context, blocking while idle, until stop(). A stop() that arrives
    // before run() makes that run() return at once.
    void run();
    // Any thread.
    void stop();

    // Runs ready tasks, due timers and pending GLib events until nothing is ready;
    // never waits.
    void runUntilIdle();
    // Under a MockClock: moves time forward timer by timer, firing each at its own time,
    // then to the target; does nothing (with a log line) under a real clock.
    void fastForwardBy(double seconds);
    // fastForwardBy under a MockClock; with a real clock, runs the loop for that long.
    void runForSeconds(double seconds);

    bool hasPendingWork() const;
    size_t timerCount() const;
    // Drops every queued task and timer without running them (between tests).
    void cancelAllTasksAndTimers();

private:
    friend struct RunLoopSource;
    using TimerKey = std::pair<double, uint64_t>; // fire time, id (creation order)

    NSRunLoop();
    // One pass: the tasks queued when it starts, then the timers due by then.
    bool runOneRound();
    // Whether a task or a timer is ready now; otherwise the milliseconds GLib may sleep
    // (-1: until woken).
    bool isReady(int* timeoutMilliseconds) const;

    GMainContext* context_;
    GSource* source_;
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    std::map<TimerKey, std::function<void()>> timers_;
    std::unordered_map<uint64_t, double> timerFireTimes_;
    uint64_t nextTimerId_ = 1;
    bool stopRequested_ = false;
};
