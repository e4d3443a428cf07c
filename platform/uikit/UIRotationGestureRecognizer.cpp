#include "platform/uikit/UIRotationGestureRecognizer.h"

#include <cmath>
#include <numbers>

namespace {
double angleOf(const CGPoint& a, const CGPoint& b) {
    return std::atan2(b.y - a.y, b.x - a.x);
}
} // namespace

std::shared_ptr<UIRotationGestureRecognizer>
UIRotationGestureRecognizer::initWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
    return makeWithTargetAction<UIRotationGestureRecognizer>(std::move(target), std::move(action));
}

void UIRotationGestureRecognizer::fingersDownAt(const CGPoint& a, const CGPoint& b, double) {
    lastAngle_ = angleOf(a, b);
    rotation_ = 0;
    turned_ = 0;
}

bool UIRotationGestureRecognizer::fingersMovedTo(const CGPoint& a, const CGPoint& b, double) {
    const double angle = angleOf(a, b);
    // The step since the last event, the short way round, so that crossing the ±π seam
    // does not read as a full turn.
    const double step = std::remainder(angle - lastAngle_, 2 * std::numbers::pi);
    lastAngle_ = angle;
    rotation_ += step;
    turned_ += step;
    return std::abs(turned_) > kMinimumTurn;
}
