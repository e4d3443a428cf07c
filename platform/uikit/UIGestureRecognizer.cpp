#include "platform/uikit/UIGestureRecognizer.h"

#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

namespace {
using State = UIGestureRecognizerState;

bool isActive(State state) {
    return state == State::Began || state == State::Changed;
}
bool isFinished(State state) {
    return state == State::Ended || state == State::Cancelled || state == State::Failed;
}
bool isLifting(const UITouch& touch) {
    return touch.phase() == UITouchPhase::Ended || touch.phase() == UITouchPhase::Cancelled;
}
} // namespace

std::shared_ptr<UIGestureRecognizer>
UIGestureRecognizer::initWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
    return makeWithTargetAction<UIGestureRecognizer>(std::move(target), std::move(action));
}

void UIGestureRecognizer::addTargetAction(std::weak_ptr<NSObject> target, Action action) {
    if (action) {
        targetActions_.push_back({std::move(target), std::move(action)});
    }
}

void UIGestureRecognizer::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (!enabled) {
        stop();
    }
}

void UIGestureRecognizer::setView(const std::shared_ptr<UIView>& view) {
    stop();
    view_ = view;
}

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const {
    const CGPoint location = touches_.empty() ? lastLocation_ : centroid(touches_);
    if (!view) {
        return location;
    }
    const auto window = view->window();
    return view->convertPointFromView(location, window.get());
}

void UIGestureRecognizer::requireGestureRecognizerToFail(
    const std::shared_ptr<UIGestureRecognizer>& other) {
    if (!other || other.get() == this) {
        return;
    }
    required_.push_back(other);
    other->dependents_.push_back(self<UIGestureRecognizer>());
}

// Helpers for subclasses

std::vector<std::shared_ptr<UITouch>> UIGestureRecognizer::touchesDown() const {
    std::vector<std::shared_ptr<UITouch>> down;
    for (const auto& touch : touches_) {
        if (!isLifting(*touch)) {
            down.push_back(touch);
        }
    }
    return down;
}

CGPoint UIGestureRecognizer::centroid(const std::vector<std::shared_ptr<UITouch>>& touches) {
    CGPoint sum{};
    for (const auto& touch : touches) {
        const CGPoint location = touch->locationInView(nullptr);
        sum.x += location.x;
        sum.y += location.y;
    }
    const auto count = CGFloat(std::max<size_t>(touches.size(), 1));
    return CGPointMake(sum.x / count, sum.y / count);
}

CGPoint UIGestureRecognizer::windowVectorInView(const CGPoint& vector, const UIView* view) const {
    if (!view) {
        return vector;
    }
    const auto window = view->window();
    const CGPoint origin = view->convertPointFromView(CGPointZero, window.get());
    const CGPoint end = view->convertPointFromView(vector, window.get());
    return CGPointMake(end.x - origin.x, end.y - origin.y);
}

CGPoint UIGestureRecognizer::viewVectorInWindow(const CGPoint& vector, const UIView* view) const {
    if (!view) {
        return vector;
    }
    const auto window = view->window();
    const CGPoint origin = view->convertPointToView(CGPointZero, window.get());
    const CGPoint end = view->convertPointToView(vector, window.get());
    return CGPointMake(end.x - origin.x, end.y - origin.y);
}

// Touch delivery

bool UIGestureRecognizer::acceptsTouch(UITouch& touch) {
    const auto delegate = delegate_.lock();
    return !delegate || delegate->gestureRecognizerShouldReceiveTouch(*this, touch);
}

void UIGestureRecognizer::deliverTouchesWithEvent(
    const std::vector<std::shared_ptr<UITouch>>& touches, const UIEvent* event) {
    const auto keepAlive = self<UIGestureRecognizer>();
    if (!view_.lock() || !enabled_) {
        return;
    }
    UITouchSet began, moved, ended, cancelled;
    for (const auto& touch : touches) {
        if (touch->phase() == UITouchPhase::Began) {
            touches_.push_back(touch);
            engaged_ = true;
        }
        // Touches it no longer tracks (it was stopped meanwhile) are not its business.
        if (std::find(touches_.begin(), touches_.end(), touch) == touches_.end()) {
            continue;
        }
        switch (touch->phase()) {
        case UITouchPhase::Began:
            began.insert(touch);
            break;
        case UITouchPhase::Moved:
            moved.insert(touch);
            break;
        case UITouchPhase::Ended:
            ended.insert(touch);
            break;
        case UITouchPhase::Cancelled:
            cancelled.insert(touch);
            break;
        case UITouchPhase::Stationary:
            break;
        }
    }
    const auto deliver = [&](const UITouchSet& set, auto hook) {
        if (!set.empty() && !isFinished(state_)) {
            (this->*hook)(set, event);
        }
    };
    deliver(began, &UIGestureRecognizer::touchesBeganWithEvent);
    deliver(moved, &UIGestureRecognizer::touchesMovedWithEvent);
    deliver(ended, &UIGestureRecognizer::touchesEndedWithEvent);
    deliver(cancelled, &UIGestureRecognizer::touchesCancelledWithEvent);
    if (!touches_.empty()) {
        lastLocation_ = centroid(touches_);
    }
    std::erase_if(touches_, [](const auto& touch) { return isLifting(*touch); });
    resetIfFinished();
}

// The state machine

void UIGestureRecognizer::setState(State state) {
    const auto keepAlive = self<UIGestureRecognizer>();
    if (state_ == State::Possible) {
        if (state == State::Cancelled) {
            state = State::Failed;
        }
        if (state != State::Began && state != State::Ended && state != State::Failed) {
            return;
        }
        if (state == State::Failed) {
            pendingBegan_ = pendingEnded_ = false;
        } else if (pendingBegan_ || pendingEnded_) {
            // Already held back: remember how far the gesture got.
            pendingEnded_ = pendingEnded_ || state == State::Ended;
            return;
        } else if (!shouldBegin()) {
            state = State::Failed;
        } else if (isWaitingForRequiredToFail()) {
            (state == State::Began ? pendingBegan_ : pendingEnded_) = true;
            return;
        }
    } else if (isActive(state_)) {
        if (state == State::Failed) {
            state = State::Cancelled;
        }
        if (state != State::Changed && state != State::Ended && state != State::Cancelled) {
            return;
        }
    } else {
        return;
    }
    enterState(state);
}

bool UIGestureRecognizer::shouldBegin() {
    if (const auto delegate = delegate_.lock();
        delegate && !delegate->gestureRecognizerShouldBegin(*this)) {
        return false;
    }
    // Its own view, then the views its touches landed on, each asked once.
    std::vector<std::shared_ptr<UIView>> views{view_.lock()};
    for (const auto& touch : touches_) {
        if (const auto touched = touch->view();
            touched && std::find(views.begin(), views.end(), touched) == views.end()) {
            views.push_back(touched);
        }
    }
    return std::all_of(views.begin(), views.end(), [this](const auto& view) {
        return !view || view->gestureRecognizerShouldBegin(*this);
    });
}

bool UIGestureRecognizer::isWaitingForRequiredToFail() const {
    return std::any_of(required_.begin(), required_.end(), [](const auto& weak) {
        const auto other = weak.lock();
        return other && other->state_ == State::Possible &&
               (other->engaged_ || other->pendingBegan_ || other->pendingEnded_);
    });
}

bool UIGestureRecognizer::canRecognizeSimultaneouslyWith(UIGestureRecognizer& other) {
    const auto mine = delegate_.lock();
    const auto theirs = other.delegate_.lock();
    return (mine && mine->gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
                        *this, other)) ||
           (theirs && theirs->gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
                          other, *this));
}

void UIGestureRecognizer::enterState(State state) {
    const State old = state_;
    state_ = state;
    if (old == State::Possible && state != State::Failed) {
        didRecognize();
    }
    if (state == State::Failed) {
        for (const auto& weak : std::vector(dependents_)) {
            if (const auto dependent = weak.lock()) {
                dependent->requiredRecognizerFailed();
            }
        }
    } else {
        sendActions();
    }
    resetIfFinished();
}

void UIGestureRecognizer::didRecognize() {
    // The others still deciding on the same touches lose them, and so do those waiting
    // for this one to fail.
    std::vector<std::shared_ptr<UIGestureRecognizer>> losers;
    for (const auto& touch : touches_) {
        for (const auto& other : touch->gestureRecognizers()) {
            if (other.get() != this && !canRecognizeSimultaneouslyWith(*other)) {
                losers.push_back(other);
            }
        }
    }
    for (const auto& weak : dependents_) {
        if (auto dependent = weak.lock()) {
            losers.push_back(std::move(dependent));
        }
    }
    for (const auto& loser : losers) {
        if (loser->state_ == State::Possible) {
            loser->setState(State::Failed);
        }
    }
    if (cancelsTouchesInView_ && !touches_.empty()) {
        if (const auto window = touches_.front()->window()) {
            window->cancelTouchesInView(touches_);
        }
    }
}

void UIGestureRecognizer::requiredRecognizerFailed() {
    if (state_ != State::Possible || (!pendingBegan_ && !pendingEnded_) ||
        isWaitingForRequiredToFail()) {
        return;
    }
    const bool began = pendingBegan_;
    const bool ended = pendingEnded_;
    pendingBegan_ = pendingEnded_ = false;
    if (began) {
        setState(State::Began);
    }
    if (ended) {
        setState(State::Ended);
    }
}

void UIGestureRecognizer::sendActions() {
    for (const auto& [target, action] : std::vector(targetActions_)) {
        if (const auto alive = target.lock()) {
            action(*this);
        }
    }
}

void UIGestureRecognizer::stop() {
    if (isActive(state_)) {
        setState(State::Cancelled);
    } else if (state_ == State::Possible && engaged_) {
        setState(State::Failed);
    }
    touches_.clear();
    resetIfFinished();
}

void UIGestureRecognizer::resetIfFinished() {
    if (!touches_.empty() || !isFinished(state_)) {
        return;
    }
    state_ = State::Possible;
    engaged_ = false;
    pendingBegan_ = pendingEnded_ = false;
    reset();
}
