// Recognises two fingers spreading apart or closing together: the scale is their distance
// now over their distance when they came down.
#pragma once

#include "platform/uikit/TwoFingerGestureRecognizer.h"

class UIPinchGestureRecognizer : public TwoFingerGestureRecognizer {
    NS_OBJECT(UIPinchGestureRecognizer)
public:
    // Points the distance between the fingers must change by before the pinch begins.
    static constexpr CGFloat kMinimumSpread = 10;

    static std::shared_ptr<UIPinchGestureRecognizer>
    initWithTargetAction(std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UIPinchGestureRecognizer> alloc() {
        return initWithTargetAction({}, nullptr);
    }

    double scale() const { return scale_; }
    // Later changes multiply the value set (set 1 to get the change since the last event).
    void setScale(double scale) { scale_ = scale; }
    // Scale per second, from the last movement.
    double velocity() const { return velocity_; }

protected:
    UIPinchGestureRecognizer() = default;

    void fingersDownAt(const CGPoint& a, const CGPoint& b, double time) override;
    bool fingersMovedTo(const CGPoint& a, const CGPoint& b, double time) override;

private:
    double scale_ = 1;
    double velocity_ = 0;
    CGFloat startDistance_ = 0;
    CGFloat lastDistance_ = 0;
    double lastTime_ = 0;
};
