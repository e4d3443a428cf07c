// One repeating timer on the main run loop that runs every registered callback on the
// callback's own queue at each tick. The engine's repeating work shares it: each user
// makes one with its own interval (the pinger's retry pass, active-view sampling ...).
// Main thread only: tasks are added, removed and run from there; a tick runs the tasks
// present at that moment. The timer holds the scheduler weakly.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class NSTimer;

class ZADScheduler : public NSObject {
    NS_OBJECT(ZADScheduler)
public:
    using Block = std::function<void()>;
    // What taskIDScheduledOnQueueBlock answers for a missing queue or callback.
    static constexpr long kNoTask = -1;

    // Stopped, with no tasks.
    static std::shared_ptr<ZADScheduler> initWithInterval(double interval);
    ~ZADScheduler() override;

    // The new task's identifier (the first is 1), or kNoTask.
    long taskIDScheduledOnQueueBlock(dispatch_queue_t queue, Block block);
    // An identifier not in use is ignored.
    void unscheduleTaskWithID(long taskID);
    // Queues every task's callback on its queue, in identifier order.
    void executeBlocks();
    // A second start keeps the running timer. Tolerance: a tenth of the interval.
    void start();
    void stop();
    bool isStarted() const { return timer_ != nullptr; }

    double interval() const { return interval_; }
    // "ZADScheduler 0x...: N blocks, I interval"
    std::string description() const override;

private:
    explicit ZADScheduler(double interval) : interval_(interval) {}

    struct Task {
        Block block;
        dispatch_queue_t queue;
    };
    long taskID_ = 0;
    std::map<long, Task> blocks_;
    double interval_;
    std::shared_ptr<NSTimer> timer_;
};
