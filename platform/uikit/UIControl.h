// A view that turns touches into control events (touch down, drag, touch up inside ...)
// and sends them to target-action pairs; it has the enabled, selected and highlighted
// states, and tracking hooks for subclasses such as sliders. Inside means inside the
// bounds (no slop around the control).
#pragma once

#include "platform/uikit/UIView.h"
#include "platform/uikit/WeakAction.h"

#include <functional>
#include <type_traits>

enum UIControlEvents : unsigned {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchDownRepeat = 1u << 1,
    UIControlEventTouchDragInside = 1u << 2,
    UIControlEventTouchDragOutside = 1u << 3,
    UIControlEventTouchDragEnter = 1u << 4,
    UIControlEventTouchDragExit = 1u << 5,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
    UIControlEventTouchCancel = 1u << 8,
    UIControlEventValueChanged = 1u << 12,
    // Text fields: editing began, the text changed, editing ended, the return key ended it.
    UIControlEventEditingDidBegin = 1u << 16,
    UIControlEventEditingChanged = 1u << 17,
    UIControlEventEditingDidEnd = 1u << 18,
    UIControlEventEditingDidEndOnExit = 1u << 19,
    UIControlEventAllEvents = 0xFFFFFFFFu,
};

enum UIControlState : unsigned {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
    UIControlStateDisabled = 1u << 1,
    UIControlStateSelected = 1u << 2,
};

class UIControl : public UIView {
    NS_OBJECT(UIControl)
public:
    using Action = std::function<void(UIControl&)>;

    static std::shared_ptr<UIControl> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UIControl> alloc() { return initWithFrame(CGRectZero); }

    // `action` runs for each of `events` (a mask of UIControlEvents) that happens, only
    // while `target` lives (never for a null target).
    void addTargetActionForControlEvents(std::weak_ptr<NSObject> target, Action action,
                                         unsigned events);
    // The action as a member function of the target (see weakAction): it gets the control
    // as the type it takes, a UIButton or a UISlider, or nothing.
    template <class Target, class Method>
    requires std::is_member_function_pointer_v<Method>
    void addTargetActionForControlEvents(const std::shared_ptr<Target>& target, Method action,
                                         unsigned events) {
        addTargetActionForControlEvents(target, weakAction(target, action), events);
    }
    // Stops `events` reaching the actions of `target`; a null target means every target.
    void removeTargetActionForControlEvents(const std::weak_ptr<NSObject>& target, unsigned events);
    // Runs the actions registered for the events, event by event in bit order.
    void sendActionsForControlEvents(unsigned events);

    // A disabled control is never hit, so it gets no touches; its state reads Disabled.
    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    // True while a touch that came down on the control is inside it.
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    // A mask of UIControlState.
    unsigned state() const;
    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }

    // Tracking hooks for subclasses, around the control's own touch: returning NO from
    // begin or continue stops the tracking calls (the control events go on).
    virtual bool beginTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent* event) {
        return true;
    }
    virtual bool continueTrackingWithTouchWithEvent(const UITouch& touch, const UIEvent* event) {
        return true;
    }
    virtual void endTrackingWithTouchWithEvent(const UITouch* touch, const UIEvent* event) {}
    virtual void cancelTrackingWithEvent(const UIEvent* event) {}

    std::shared_ptr<UIView> hitTestWithEvent(const CGPoint& point, const UIEvent* event) override;
    // A single-tap recogniser of another view (a superview's) does not take the control's
    // taps: the control's own action wins.
    bool gestureRecognizerShouldBegin(UIGestureRecognizer& recognizer) override;

    // The control handles its touches and does not pass them up the chain.
    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;

protected:
    UIControl() = default;

private:
    struct TargetAction {
        std::weak_ptr<NSObject> target;
        Action action;
        unsigned events;
    };
    // The control's own touch among `touches`, or null.
    std::shared_ptr<UITouch> trackedTouchIn(const UITouchSet& touches) const;
    void endTouch(unsigned event);

    std::vector<TargetAction> targetActions_;
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
    // The one touch the control follows, from its landing until it lifts.
    std::weak_ptr<UITouch> trackedTouch_;
};
