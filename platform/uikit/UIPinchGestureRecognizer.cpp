#include "platform/uikit/UIPinchGestureRecognizer.h"

#include <cmath>

namespace {
CGFloat distanceBetween(const CGPoint& a, const CGPoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}
} // namespace

std::shared_ptr<UIPinchGestureRecognizer>
UIPinchGestureRecognizer::initWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
    return makeWithTargetAction<UIPinchGestureRecognizer>(std::move(target), std::move(action));
}

void UIPinchGestureRecognizer::fingersDownAt(const CGPoint& a, const CGPoint& b, double time) {
    startDistance_ = lastDistance_ = distanceBetween(a, b);
    scale_ = 1;
    velocity_ = 0;
    lastTime_ = time;
}

bool UIPinchGestureRecognizer::fingersMovedTo(const CGPoint& a, const CGPoint& b, double time) {
    const CGFloat distance = distanceBetween(a, b);
    // Fingers on the same spot give no ratio; the scale waits for them to part.
    if (lastDistance_ > 0) {
        const double scale = scale_ * distance / lastDistance_;
        if (time > lastTime_) {
            velocity_ = (scale - scale_) / (time - lastTime_);
            lastTime_ = time;
        }
        scale_ = scale;
    }
    lastDistance_ = distance;
    return std::abs(distance - startDistance_) > kMinimumSpread;
}
