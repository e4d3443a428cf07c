#include "platform/quartzcore/CAAnimation.h"

#include <algorithm>
#include <cmath>

double CAAnimation::activeDuration() const {
    // A huge repeat count (the platform's "forever") is capped so a timer can hold it.
    double repeats = std::clamp<double>(repeatCount_ > 0 ? repeatCount_ : 1.0, 0.0, 1e6);
    return effectiveDuration() * repeats * (autoreverses_ ? 2.0 : 1.0);
}
