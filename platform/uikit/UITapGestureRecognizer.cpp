#include "platform/uikit/UITapGestureRecognizer.h"

#include "platform/foundation/NSTimer.h"
#include "platform/uikit/UITouch.h"

#include <algorithm>
#include <cmath>

namespace {
CGFloat distanceBetween(const CGPoint& a, const CGPoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}
} // namespace

UITapGestureRecognizer::~UITapGestureRecognizer() {
    stopTimer();
}

std::shared_ptr<UITapGestureRecognizer>
UITapGestureRecognizer::initWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
    return makeWithTargetAction<UITapGestureRecognizer>(std::move(target), std::move(action));
}

void UITapGestureRecognizer::touchesBeganWithEvent(const UITouchSet& touches, const UIEvent*) {
    stopTimer();
    for (const auto& touch : touches) {
        const CGPoint location = touch->locationInView(nullptr);
        // Each tap must land where the first one did.
        if (firstTap_ && distanceBetween(location, *firstTap_) > UITouch::kTapMovementAllowance) {
            setState(UIGestureRecognizerState::Failed);
            return;
        }
        starts_[touch.get()] = location;
    }
    fingers_ = std::max(fingers_, touchesDown().size());
    if (fingers_ > numberOfTouchesRequired_) {
        setState(UIGestureRecognizerState::Failed);
    }
}

void UITapGestureRecognizer::touchesMovedWithEvent(const UITouchSet& touches, const UIEvent*) {
    for (const auto& touch : touches) {
        const auto start = starts_.find(touch.get());
        if (start != starts_.end() &&
            distanceBetween(touch->locationInView(nullptr), start->second) >
                UITouch::kTapMovementAllowance) {
            setState(UIGestureRecognizerState::Failed);
            return;
        }
    }
}

void UITapGestureRecognizer::touchesEndedWithEvent(const UITouchSet& touches,
                                                   const UIEvent* event) {
    touchesMovedWithEvent(touches, event);
    if (state() != UIGestureRecognizerState::Possible || !touchesDown().empty()) {
        return;
    }
    // The last finger of this tap lifted.
    if (fingers_ != numberOfTouchesRequired_) {
        setState(UIGestureRecognizerState::Failed);
        return;
    }
    if (!firstTap_) {
        firstTap_ = centroid(trackedTouches());
    }
    ++taps_;
    fingers_ = 0;
    starts_.clear();
    if (taps_ >= numberOfTapsRequired_) {
        setState(UIGestureRecognizerState::Recognized);
        return;
    }
    std::weak_ptr<UITapGestureRecognizer> weak = self<UITapGestureRecognizer>();
    nextTapTimer_ = NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(
        UITouch::kMultipleTapInterval, false, [weak](const auto&) {
            if (const auto recognizer = weak.lock()) {
                recognizer->setState(UIGestureRecognizerState::Failed);
            }
        });
}

void UITapGestureRecognizer::touchesCancelledWithEvent(const UITouchSet&, const UIEvent*) {
    setState(UIGestureRecognizerState::Failed);
}

void UITapGestureRecognizer::reset() {
    stopTimer();
    taps_ = 0;
    fingers_ = 0;
    starts_.clear();
    firstTap_.reset();
}

void UITapGestureRecognizer::stopTimer() {
    if (nextTapTimer_) {
        nextTapTimer_->invalidate();
        nextTapTimer_.reset();
    }
}
