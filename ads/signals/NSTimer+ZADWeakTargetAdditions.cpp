#include "ads/signals/NSTimer+ZADWeakTargetAdditions.h"

#include "platform/foundation/NSTimer.h"

namespace ZADWeakTargetAdditions {

std::shared_ptr<NSTimer> zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock(
    double interval, bool repeats, double tolerance, ZADBlockTimerTarget::Block block) {
    auto target = ZADBlockTimerTarget::init();
    target->setBlock(std::move(block));
    // The timer's block owns the target, the target the caller's block: that is all a
    // scheduled timer keeps alive.
    auto timer = NSTimer::timerWithTimeIntervalRepeatsBlock(
        interval, repeats,
        [target](const std::shared_ptr<NSTimer>& fired) { target->timerFired(fired); });
    if (tolerance > 0) {
        timer->setTolerance(tolerance);
    }
    timer->scheduleOnMainRunLoop();
    return timer;
}

} // namespace ZADWeakTargetAdditions
