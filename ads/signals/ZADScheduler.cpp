#include "ads/signals/ZADScheduler.h"

#include "ads/signals/NSTimer+ZADWeakTargetAdditions.h"
#include "platform/foundation/NSTimer.h"

#include <cstdio>

std::shared_ptr<ZADScheduler> ZADScheduler::initWithInterval(double interval) {
    return make<ZADScheduler>(interval);
}

ZADScheduler::~ZADScheduler() {
    stop();
}

long ZADScheduler::taskIDScheduledOnQueueBlock(dispatch_queue_t queue, Block block) {
    if (!queue || !block) {
        return kNoTask;
    }
    const long taskID = ++taskID_;
    blocks_[taskID] = Task{std::move(block), std::move(queue)};
    return taskID;
}

void ZADScheduler::unscheduleTaskWithID(long taskID) {
    blocks_.erase(taskID);
}

void ZADScheduler::executeBlocks() {
    for (const auto& [taskID, task] : blocks_) {
        dispatch_async(task.queue, task.block);
    }
}

void ZADScheduler::start() {
    if (timer_) {
        return;
    }
    std::weak_ptr<ZADScheduler> weak = self<ZADScheduler>();
    timer_ = ZADWeakTargetAdditions::zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock(
        interval_, true, interval_ / 10, [weak](const std::shared_ptr<NSTimer>&) {
            if (auto scheduler = weak.lock()) {
                scheduler->executeBlocks();
            }
        });
}

void ZADScheduler::stop() {
    if (timer_) {
        timer_->invalidate();
        timer_ = nullptr;
    }
}

std::string ZADScheduler::description() const {
    char text[160];
    std::snprintf(text, sizeof text, "%s %p: %zu blocks, %f interval", className().c_str(),
                  static_cast<const void*>(this), blocks_.size(), interval_);
    return text;
}
