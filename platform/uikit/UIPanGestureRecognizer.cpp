#include "platform/uikit/UIPanGestureRecognizer.h"

#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UITouch.h"

#include <cmath>

namespace {
using State = UIGestureRecognizerState;
} // namespace

std::shared_ptr<UIPanGestureRecognizer>
UIPanGestureRecognizer::initWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
    return makeWithTargetAction<UIPanGestureRecognizer>(std::move(target), std::move(action));
}

CGPoint UIPanGestureRecognizer::translationInView(const UIView* view) const {
    return windowVectorInView(CGPointMake(centre_.x - origin_.x, centre_.y - origin_.y), view);
}

void UIPanGestureRecognizer::setTranslationInView(const CGPoint& translation, const UIView* view) {
    const CGPoint inWindow = viewVectorInWindow(translation, view);
    origin_ = CGPointMake(centre_.x - inWindow.x, centre_.y - inWindow.y);
}

CGPoint UIPanGestureRecognizer::velocityInView(const UIView* view) const {
    return windowVectorInView(velocity_, view);
}

void UIPanGestureRecognizer::fingersChanged() {
    const CGPoint before = centre_;
    centre_ = centroid(touchesDown());
    origin_.x += centre_.x - before.x;
    origin_.y += centre_.y - before.y;
}

void UIPanGestureRecognizer::touchesBeganWithEvent(const UITouchSet& touches,
                                                   const UIEvent* event) {
    if (trackedTouches().size() == touches.size()) {
        // The first fingers.
        origin_ = centre_ = centroid(trackedTouches());
        velocity_ = CGPointZero;
        lastMoveTime_ = event ? event->timestamp() : 0;
        return;
    }
    fingersChanged();
}

void UIPanGestureRecognizer::touchesMovedWithEvent(const UITouchSet&, const UIEvent* event) {
    const size_t fingers = touchesDown().size();
    if (fingers > maximumNumberOfTouches_ || fingers < minimumNumberOfTouches_) {
        // Too many or too few fingers move nothing: the translation waits for the right
        // number.
        fingersChanged();
        return;
    }
    const CGPoint centre = centroid(touchesDown());
    const double now = event ? event->timestamp() : lastMoveTime_;
    if (now > lastMoveTime_) {
        velocity_ = CGPointMake((centre.x - centre_.x) / (now - lastMoveTime_),
                                (centre.y - centre_.y) / (now - lastMoveTime_));
        lastMoveTime_ = now;
    }
    centre_ = centre;
    if (state() == State::Possible) {
        if (std::hypot(centre_.x - origin_.x, centre_.y - origin_.y) > kMinimumTravel) {
            setState(State::Began);
        }
    } else {
        setState(State::Changed);
    }
}

void UIPanGestureRecognizer::touchesEndedWithEvent(const UITouchSet&, const UIEvent*) {
    if (!touchesDown().empty()) {
        fingersChanged();
        return;
    }
    setState(state() == State::Possible ? State::Failed : State::Ended);
}

void UIPanGestureRecognizer::touchesCancelledWithEvent(const UITouchSet&, const UIEvent*) {
    setState(State::Cancelled);
}
