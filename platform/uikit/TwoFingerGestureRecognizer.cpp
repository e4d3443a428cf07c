#include "platform/uikit/TwoFingerGestureRecognizer.h"

#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UITouch.h"

namespace {
using State = UIGestureRecognizerState;

double timeOf(const UIEvent* event) {
    return event ? event->timestamp() : 0;
}
} // namespace

void TwoFingerGestureRecognizer::touchesBeganWithEvent(const UITouchSet&, const UIEvent* event) {
    const auto down = touchesDown();
    if (first_ || down.size() < 2) {
        return;
    }
    first_ = down[0];
    second_ = down[1];
    fingersDownAt(first_->locationInView(nullptr), second_->locationInView(nullptr), timeOf(event));
}

void TwoFingerGestureRecognizer::touchesMovedWithEvent(const UITouchSet&, const UIEvent* event) {
    if (!first_) {
        return;
    }
    const bool farEnough = fingersMovedTo(first_->locationInView(nullptr),
                                          second_->locationInView(nullptr), timeOf(event));
    if (state() != State::Possible) {
        setState(State::Changed);
    } else if (farEnough) {
        setState(State::Began);
    }
}

void TwoFingerGestureRecognizer::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent*) {
    const bool pairBroken = first_ && (touches.contains(first_) || touches.contains(second_));
    // A lone finger lifting before a second came down ends the attempt too.
    const bool allLifted = !first_ && touchesDown().empty();
    if (pairBroken || allLifted) {
        setState(state() == State::Possible ? State::Failed : State::Ended);
    }
}

void TwoFingerGestureRecognizer::touchesCancelledWithEvent(const UITouchSet&, const UIEvent*) {
    setState(State::Cancelled);
}

void TwoFingerGestureRecognizer::reset() {
    first_.reset();
    second_.reset();
}
