// Block timers on the main run loop that hold neither their owner nor anything the owner
// does not hand them: an owner keeps the timer, captures itself weakly in the block, and
// invalidates the timer when it goes away.
#pragma once

#include "ads/signals/ZADBlockTimerTarget.h"

#include <memory>

class NSTimer;

namespace ZADWeakTargetAdditions {

// A timer already scheduled on the main run loop, first firing `interval` seconds from
// now, calling `block` with itself; the tolerance is set only when positive.
std::shared_ptr<NSTimer> zad_scheduledTimerWithTimeIntervalRepeatsToleranceBlock(
    double interval, bool repeats, double tolerance, ZADBlockTimerTarget::Block block);

} // namespace ZADWeakTargetAdditions
