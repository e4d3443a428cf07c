// One finger on the screen, from the moment it lands until it lifts: where it is (kept in
// its window's coordinates), the phase it is in, the view it landed on and the gesture
// recognisers watching it.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGGeometry.h"

#include <memory>
#include <vector>

class UIGestureRecognizer;
class UIView;
class UIWindow;

enum class UITouchPhase { Began, Moved, Stationary, Ended, Cancelled };

class UITouch : public NSObject {
    NS_OBJECT(UITouch)
public:
    // Taps count as one multiple tap when each lands within this time of the previous
    // one lifting and this close to it; a finger that travels farther is no tap.
    static constexpr double kMultipleTapInterval = 0.35;
    static constexpr CGFloat kTapMovementAllowance = 10;

    UITouch() = default;

    // For event sources (the touch injector): a finger landing on `window` at a point of
    // the window's coordinates.
    static std::shared_ptr<UITouch>
    initWithWindowLocationTimestamp(const std::shared_ptr<UIWindow>& window,
                                    const CGPoint& location, double timestamp);
    // For event sources: the touch's state in the next event. The location it had becomes
    // the previous location; a Stationary touch keeps its location.
    void setPhaseLocationTimestamp(UITouchPhase phase, const CGPoint& location, double timestamp);

    // Where the touch is, in `view`'s coordinates; a null view means the window's.
    CGPoint locationInView(const UIView* view) const;
    CGPoint previousLocationInView(const UIView* view) const;
    // The view hit when the touch landed; it stays the touch's view until it lifts.
    std::shared_ptr<UIView> view() const { return view_.lock(); }
    std::shared_ptr<UIWindow> window() const { return window_.lock(); }
    UITouchPhase phase() const { return phase_; }
    // 1 for a single tap, 2 for the second of a double tap, ...
    unsigned tapCount() const { return tapCount_; }
    // When the touch last changed, in the clock's monotonic seconds.
    double timestamp() const { return timestamp_; }
    // The recognisers that receive this touch, deepest view's first.
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers() const;

private:
    friend class UIWindow;
    // How far the touch's own view has been told about it.
    enum class ViewDelivery {
        New,        // the window has not seen it yet
        Pending,    // the view has had nothing yet (held by a recogniser, or just landed)
        Delivering, // the view has had touchesBegan
        Finished,   // the view has had touchesEnded or touchesCancelled, or never will
    };
    CGPoint convertFromWindow(const CGPoint& point, const UIView* view) const;

    std::weak_ptr<UIWindow> window_;
    std::weak_ptr<UIView> view_;
    std::vector<std::weak_ptr<UIGestureRecognizer>> gestureRecognizers_;
    UITouchPhase phase_ = UITouchPhase::Began;
    CGPoint location_{};
    CGPoint previousLocation_{};
    CGPoint startLocation_{};
    double timestamp_ = 0;
    unsigned tapCount_ = 1;
    ViewDelivery viewDelivery_ = ViewDelivery::New;
};
