// A timer on the main run loop, one-shot or repeating, driven by a block. While valid
// and scheduled, the run loop keeps it alive. Main thread only.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSDate.h"

#include <cstdint>
#include <functional>
#include <memory>

class NSTimer : public NSObject {
    NS_OBJECT(NSTimer)
public:
    using Block = std::function<void(const std::shared_ptr<NSTimer>&)>;

    // A timer already scheduled on the main run loop, first firing `interval` from now.
    static std::shared_ptr<NSTimer>
    scheduledTimerWithTimeIntervalRepeatsBlock(double interval, bool repeats, Block block);
    // A timer whose first firing is `interval` from now, once scheduled.
    static std::shared_ptr<NSTimer> timerWithTimeIntervalRepeatsBlock(double interval, bool repeats,
                                                                      Block block);

    // Adds the timer to the main run loop; a fire date already past fires at once.
    void scheduleOnMainRunLoop();
    // No more firings; releases the block.
    void invalidate();
    bool isValid() const { return valid_; }
    // Runs the block now; a one-shot timer is then invalidated, a repeating one keeps
    // its schedule.
    void fire();
    // The repeat interval; 0 for a one-shot timer, as the platform reports it.
    double timeInterval() const { return repeats_ ? interval_ : 0; }
    NSDate fireDate() const;
    // How late the timer may fire, in seconds, when that lets the system bunch wake-ups.
    // Kept for those who set it; our run loop fires every timer on time. Negative values
    // are taken as 0.
    double tolerance() const { return tolerance_; }
    void setTolerance(double tolerance) { tolerance_ = tolerance > 0 ? tolerance : 0; }

private:
    NSTimer(double interval, bool repeats, Block block);
    void arm();
    void runLoopFired();

    double interval_;
    bool repeats_;
    Block block_;
    bool valid_ = true;
    double fireTime_; // on the monotonic clock
    double tolerance_ = 0;
    uint64_t runLoopTimer_ = 0; // 0 while not scheduled
};
