// Recognises two fingers turning about each other: the rotation is the angle the line
// between them has turned since they came down, in radians, clockwise positive (as the
// y axis points down).
#pragma once

#include "platform/uikit/TwoFingerGestureRecognizer.h"

class UIRotationGestureRecognizer : public TwoFingerGestureRecognizer {
    NS_OBJECT(UIRotationGestureRecognizer)
public:
    // Radians the fingers must turn before the rotation begins.
    static constexpr double kMinimumTurn = 0.1;

    static std::shared_ptr<UIRotationGestureRecognizer>
    initWithTargetAction(std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UIRotationGestureRecognizer> alloc() {
        return initWithTargetAction({}, nullptr);
    }

    double rotation() const { return rotation_; }
    // Later turning adds to the value set.
    void setRotation(double radians) { rotation_ = radians; }

protected:
    UIRotationGestureRecognizer() = default;

    void fingersDownAt(const CGPoint& a, const CGPoint& b, double time) override;
    bool fingersMovedTo(const CGPoint& a, const CGPoint& b, double time) override;

private:
    double rotation_ = 0;
    // Turned since the fingers came down, whatever was set.
    double turned_ = 0;
    double lastAngle_ = 0;
};
