// Recognises a finger held still for a while: Began when the time has passed with the
// finger down, Changed as it then moves, Ended when it lifts. Lifting early, or moving
// farther than allowed before the time, fails it. The time runs on the run loop's clock.
#pragma once

#include "platform/uikit/UIGestureRecognizer.h"

class NSTimer;

class UILongPressGestureRecognizer : public UIGestureRecognizer {
    NS_OBJECT(UILongPressGestureRecognizer)
public:
    ~UILongPressGestureRecognizer() override;
    static std::shared_ptr<UILongPressGestureRecognizer>
    initWithTargetAction(std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UILongPressGestureRecognizer> alloc() {
        return initWithTargetAction({}, nullptr);
    }

    // Seconds.
    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
    // Points the finger may travel before the time has passed.
    CGFloat allowableMovement() const { return allowableMovement_; }
    void setAllowableMovement(CGFloat points) { allowableMovement_ = points; }

protected:
    UILongPressGestureRecognizer() = default;

    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void reset() override;

private:
    void stopTimer();

    double minimumPressDuration_ = 0.5;
    CGFloat allowableMovement_ = 10;
    CGPoint start_{};
    std::shared_ptr<NSTimer> pressTimer_;
};
