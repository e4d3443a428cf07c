#include "platform/uikit/UIControl.h"

#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/UITouch.h"

namespace {
// Whether two weak pointers were made from the same object (both empty counts too).
bool sameOwner(const std::weak_ptr<NSObject>& a, const std::weak_ptr<NSObject>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}
} // namespace

std::shared_ptr<UIControl> UIControl::initWithFrame(const CGRect& frame) {
    auto control = make<UIControl>();
    control->setFrame(frame);
    return control;
}

// Target-action

void UIControl::addTargetActionForControlEvents(std::weak_ptr<NSObject> target, Action action,
                                                unsigned events) {
    if (action && events != 0) {
        targetActions_.push_back({std::move(target), std::move(action), events});
    }
}

void UIControl::removeTargetActionForControlEvents(const std::weak_ptr<NSObject>& target,
                                                   unsigned events) {
    const bool everyTarget = sameOwner(target, std::weak_ptr<NSObject>());
    for (auto& entry : targetActions_) {
        if (everyTarget || sameOwner(entry.target, target)) {
            entry.events &= ~events;
        }
    }
    std::erase_if(targetActions_, [](const auto& entry) { return entry.events == 0; });
}

void UIControl::sendActionsForControlEvents(unsigned events) {
    const auto keepAlive = self<UIControl>();
    for (unsigned bit = 0; bit < 32; ++bit) {
        const unsigned event = 1u << bit;
        if (!(events & event)) {
            continue;
        }
        // A copy: an action may add or remove actions.
        for (const auto& entry : std::vector(targetActions_)) {
            if (entry.events & event) {
                if (const auto target = entry.target.lock()) {
                    entry.action(*this);
                }
            }
        }
    }
}

// State

void UIControl::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        setNeedsDisplay();
    }
}

void UIControl::setSelected(bool selected) {
    if (selected_ != selected) {
        selected_ = selected;
        setNeedsDisplay();
    }
}

void UIControl::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        setNeedsDisplay();
    }
}

unsigned UIControl::state() const {
    unsigned state = UIControlStateNormal;
    if (highlighted_) {
        state |= UIControlStateHighlighted;
    }
    if (!enabled_) {
        state |= UIControlStateDisabled;
    }
    if (selected_) {
        state |= UIControlStateSelected;
    }
    return state;
}

// Touches

std::shared_ptr<UIView> UIControl::hitTestWithEvent(const CGPoint& point, const UIEvent* event) {
    return enabled_ ? UIView::hitTestWithEvent(point, event) : nullptr;
}

bool UIControl::gestureRecognizerShouldBegin(UIGestureRecognizer& recognizer) {
    const auto* tap = dynamic_cast<const UITapGestureRecognizer*>(&recognizer);
    const bool singleTap =
        tap && tap->numberOfTapsRequired() == 1 && tap->numberOfTouchesRequired() == 1;
    return !singleTap || recognizer.view().get() == this;
}

std::shared_ptr<UITouch> UIControl::trackedTouchIn(const UITouchSet& touches) const {
    const auto tracked = trackedTouch_.lock();
    return tracked && touches.contains(tracked) ? tracked : nullptr;
}

void UIControl::touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) {
    if (touches.empty() || trackedTouch_.lock()) {
        return;
    }
    const auto keepAlive = self<UIControl>();
    const auto& touch = *touches.begin();
    trackedTouch_ = touch;
    touchInside_ = true;
    setHighlighted(true);
    tracking_ = beginTrackingWithTouchWithEvent(*touch, event);
    unsigned events = UIControlEventTouchDown;
    if (touch->tapCount() > 1) {
        events |= UIControlEventTouchDownRepeat;
    }
    sendActionsForControlEvents(events);
}

void UIControl::touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) {
    const auto touch = trackedTouchIn(touches);
    if (!touch) {
        return;
    }
    const auto keepAlive = self<UIControl>();
    const bool wasInside = touchInside_;
    touchInside_ = pointInsideWithEvent(touch->locationInView(this), event);
    setHighlighted(touchInside_);
    if (tracking_) {
        tracking_ = continueTrackingWithTouchWithEvent(*touch, event);
    }
    if (touchInside_) {
        sendActionsForControlEvents(wasInside ? UIControlEventTouchDragInside
                                              : UIControlEventTouchDragEnter);
    } else {
        sendActionsForControlEvents(wasInside ? UIControlEventTouchDragExit
                                              : UIControlEventTouchDragOutside);
    }
}

void UIControl::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) {
    const auto touch = trackedTouchIn(touches);
    if (!touch) {
        return;
    }
    const auto keepAlive = self<UIControl>();
    touchInside_ = pointInsideWithEvent(touch->locationInView(this), event);
    if (tracking_) {
        endTrackingWithTouchWithEvent(touch.get(), event);
    }
    endTouch(touchInside_ ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) {
    if (!trackedTouchIn(touches)) {
        return;
    }
    const auto keepAlive = self<UIControl>();
    if (tracking_) {
        cancelTrackingWithEvent(event);
    }
    endTouch(UIControlEventTouchCancel);
}

void UIControl::endTouch(unsigned event) {
    tracking_ = false;
    trackedTouch_.reset();
    setHighlighted(false);
    sendActionsForControlEvents(event);
}
