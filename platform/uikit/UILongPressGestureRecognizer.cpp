#include "platform/uikit/UILongPressGestureRecognizer.h"

#include "platform/foundation/NSTimer.h"
#include "platform/uikit/UITouch.h"

#include <cmath>

namespace {
using State = UIGestureRecognizerState;
} // namespace

UILongPressGestureRecognizer::~UILongPressGestureRecognizer() {
    stopTimer();
}

std::shared_ptr<UILongPressGestureRecognizer>
UILongPressGestureRecognizer::initWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
    return makeWithTargetAction<UILongPressGestureRecognizer>(std::move(target), std::move(action));
}

void UILongPressGestureRecognizer::touchesBeganWithEvent(const UITouchSet&, const UIEvent*) {
    if (state() != State::Possible) {
        return;
    }
    // One finger presses; a second one while waiting is another gesture.
    if (trackedTouches().size() > 1) {
        setState(State::Failed);
        return;
    }
    start_ = centroid(trackedTouches());
    std::weak_ptr<UILongPressGestureRecognizer> weak = self<UILongPressGestureRecognizer>();
    pressTimer_ = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        minimumPressDuration_, false, [weak](const auto&) {
            if (const auto recognizer = weak.lock()) {
                recognizer->setState(State::Began);
            }
        });
}

void UILongPressGestureRecognizer::touchesMovedWithEvent(const UITouchSet&, const UIEvent*) {
    if (state() != State::Possible) {
        setState(State::Changed);
        return;
    }
    const CGPoint now = centroid(trackedTouches());
    if (std::hypot(now.x - start_.x, now.y - start_.y) > allowableMovement_) {
        setState(State::Failed);
    }
}

void UILongPressGestureRecognizer::touchesEndedWithEvent(const UITouchSet&, const UIEvent*) {
    setState(state() == State::Possible ? State::Failed : State::Ended);
}

void UILongPressGestureRecognizer::touchesCancelledWithEvent(const UITouchSet&, const UIEvent*) {
    setState(State::Cancelled);
}

void UILongPressGestureRecognizer::reset() {
    stopTimer();
}

void UILongPressGestureRecognizer::stopTimer() {
    if (pressTimer_) {
        pressTimer_->invalidate();
        pressTimer_.reset();
    }
}
