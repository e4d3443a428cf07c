// The main run loop: our task queue and timers as one source on GLib's default main
// context, so that everything else dispatching there (web views) shares the same loop.
// Timers are measured on Clock::current(), whichever clock that is: a test that installs
// a mock clock moves it itself (see nextTimerFireTime).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
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
    // never waits. Whether anything ran before the loop went idle: false too when it gives
    // up on a task that keeps re-posting itself.
    bool runUntilIdle();
    // Runs the loop, blocking while idle, until `seconds` of the clock have passed.
    void runForSeconds(double seconds);
    // When the earliest timer is due on Clock::current(); nothing when there is no timer.
    std::optional<double> nextTimerFireTime() const;

    bool hasPendingWork() const;
    size_t timerCount() const;
    // Drops every task and timer of the main run loop without running them, and any stop()
    // not yet seen (between tests).
    static void resetForTesting();

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
