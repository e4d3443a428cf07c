#include "platform/foundation/NSTimer.h"

#include "platform/base/Clock.h"
#include "platform/base/NSRunLoop.h"

#include <cmath>

namespace {
// The platform's floor for a repeating timer, so a zero interval cannot spin.
constexpr double kMinimumRepeatInterval = 0.0001;
} // namespace

NSTimer::NSTimer(double interval, bool repeats, Block block)
    : interval_(repeats && !(interval > 0) ? kMinimumRepeatInterval : interval), repeats_(repeats),
      block_(std::move(block)),
      fireTime_(Clock::current().monotonicNow() + (interval_ > 0 ? interval_ : 0)) {}

std::shared_ptr<NSTimer> NSTimer::timerWithTimeIntervalRepeatsBlock(double interval, bool repeats,
                                                                    Block block) {
    return make<NSTimer>(interval, repeats, std::move(block));
}

std::shared_ptr<NSTimer>
NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(double interval, bool repeats, Block block) {
    auto timer = timerWithTimeIntervalRepeatsBlock(interval, repeats, std::move(block));
    timer->scheduleOnMainRunLoop();
    return timer;
}

void NSTimer::scheduleOnMainRunLoop() {
    if (valid_ && runLoopTimer_ == 0) {
        arm();
    }
}

void NSTimer::arm() {
    double delay = fireTime_ - Clock::current().monotonicNow();
    // The run loop's callback owns the timer: that is what keeps a scheduled timer alive.
    runLoopTimer_ = NSRunLoop::mainRunLoop().addTimer(
        delay, [timer = self<NSTimer>()] { timer->runLoopFired(); });
}

void NSTimer::runLoopFired() {
    runLoopTimer_ = 0;
    if (!valid_) {
        return;
    }
    if (repeats_) {
        // The next firing counts from when this one was due, so the period does not drift;
        // firings missed while the loop was busy are skipped, not bunched.
        double now = Clock::current().monotonicNow();
        fireTime_ += interval_;
        if (fireTime_ <= now) {
            fireTime_ += std::ceil((now - fireTime_) / interval_) * interval_;
        }
    }
    fire();
    if (valid_ && repeats_ && runLoopTimer_ == 0) {
        arm();
    }
}

void NSTimer::fire() {
    if (!valid_) {
        return;
    }
    // A copy: the block may invalidate the timer, which releases block_.
    Block block = block_;
    if (block) {
        block(self<NSTimer>());
    }
    if (!repeats_) {
        invalidate();
    }
}

void NSTimer::invalidate() {
    valid_ = false;
    block_ = nullptr;
    if (runLoopTimer_ != 0) {
        uint64_t id = runLoopTimer_;
        runLoopTimer_ = 0;
        NSRunLoop::mainRunLoop().cancelTimer(id);
    }
}

NSDate NSTimer::fireDate() const {
    const Clock& clock = Clock::current();
    return NSDate{clock.dateNow() + (fireTime_ - clock.monotonicNow())};
}
