// Turns the touches on a view into a gesture: a state machine fed with touches before the
// view gets them, telling its targets when the gesture begins, changes and ends. The base
// of tap, long-press, pan, pinch and rotation recognisers.
//
// What it keeps of the platform's rules, and what it leaves out:
// - Only one recogniser wins the touches it shares with others: when one begins (or, for a
//   discrete one, recognises), the others still undecided on those touches fail, unless a
//   delegate of either allows the two together.
// - A recogniser that requires another to fail holds its recognition while the other still
//   decides on a touch sequence, recognises once the other fails, and fails when it
//   recognises.
// - Before leaving Possible it asks its delegate, its view and the views its touches
//   landed on (gestureRecognizerShouldBegin); that is how a control keeps its own taps from
//   a tap recogniser on its superview.
// - Recognised with cancelsTouchesInView, its touches are cancelled in their views; with
//   delaysTouchesBegan, their views get nothing while it is still Possible (see UIWindow).
//   Touches ending are never delayed (no delaysTouchesEnded).
// - Once ended, cancelled or failed it ignores touches until all of its touches have
//   lifted; then it is reset to Possible.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/uikit/UIGestureRecognizerDelegate.h"
#include "platform/uikit/UIResponder.h"

#include <functional>
#include <memory>
#include <vector>

class UIView;

enum class UIGestureRecognizerState {
    Possible,
    Began,
    Changed,
    Ended,
    Cancelled,
    Failed,
    Recognized = Ended,
};

class UIGestureRecognizer : public NSObject {
    NS_OBJECT(UIGestureRecognizer)
public:
    using Action = std::function<void(UIGestureRecognizer&)>;

    // The target-action pair: `action` runs on every change of state but failure, and only
    // while `target` lives (never for a null target).
    static std::shared_ptr<UIGestureRecognizer> initWithTargetAction(std::weak_ptr<NSObject> target,
                                                                     Action action);
    // What the class registry makes: one without a target.
    static std::shared_ptr<UIGestureRecognizer> alloc() {
        return initWithTargetAction({}, nullptr);
    }
    void addTargetAction(std::weak_ptr<NSObject> target, Action action);

    // The view it is attached to (UIView::addGestureRecognizer).
    std::shared_ptr<UIView> view() const { return view_.lock(); }
    UIGestureRecognizerState state() const { return state_; }
    // Disabling it while it recognises cancels the gesture; a disabled recogniser gets no
    // touches.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The centre of its touches in `view`'s coordinates (null: the window's); after they
    // lifted, where they were last.
    CGPoint locationInView(const UIView* view) const;
    size_t numberOfTouches() const { return touches_.size(); }

    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool cancels) { cancelsTouchesInView_ = cancels; }
    bool delaysTouchesBegan() const { return delaysTouchesBegan_; }
    void setDelaysTouchesBegan(bool delays) { delaysTouchesBegan_ = delays; }

    std::shared_ptr<UIGestureRecognizerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIGestureRecognizerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // This recogniser recognises only once `other` has failed.
    void requireGestureRecognizerToFail(const std::shared_ptr<UIGestureRecognizer>& other);

protected:
    UIGestureRecognizer() = default;

    template <class T>
    static std::shared_ptr<T> makeWithTargetAction(std::weak_ptr<NSObject> target, Action action) {
        auto recognizer = make<T>();
        recognizer->addTargetAction(std::move(target), std::move(action));
        return recognizer;
    }

    // Hooks for subclasses: the recogniser's touches in one phase of an event.
    virtual void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) {}
    virtual void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) {}
    virtual void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) {}
    virtual void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) {}
    // Back to Possible after a gesture: subclasses forget what they tracked.
    virtual void reset() {}

    // Moves the state machine: Possible goes to Began (continuous gestures), Recognized
    // (discrete ones) or Failed; Began and Changed go to Changed, Ended or Cancelled.
    // Other moves are ignored.
    void setState(UIGestureRecognizerState state);

    // Its touches, those lifting in the current event included.
    const std::vector<std::shared_ptr<UITouch>>& trackedTouches() const { return touches_; }
    // Its touches still down.
    std::vector<std::shared_ptr<UITouch>> touchesDown() const;
    // The centre of `touches` in window coordinates.
    static CGPoint centroid(const std::vector<std::shared_ptr<UITouch>>& touches);
    // A displacement in window coordinates as seen in `view`'s, and back (null: the window).
    CGPoint windowVectorInView(const CGPoint& vector, const UIView* view) const;
    CGPoint viewVectorInWindow(const CGPoint& vector, const UIView* view) const;

private:
    friend class UIView;
    friend class UIWindow;
    struct TargetAction {
        std::weak_ptr<NSObject> target;
        Action action;
    };

    void setView(const std::shared_ptr<UIView>& view);
    // Whether it takes a touch landing in its view (the delegate's say).
    bool acceptsTouch(UITouch& touch);
    // Its touches of one event; called by the window before the views get them.
    void deliverTouchesWithEvent(const std::vector<std::shared_ptr<UITouch>>& touches,
                                 const UIEvent* event);
    bool shouldBegin();
    bool isWaitingForRequiredToFail() const;
    bool canRecognizeSimultaneouslyWith(UIGestureRecognizer& other);
    void enterState(UIGestureRecognizerState state);
    void didRecognize();
    void requiredRecognizerFailed();
    void sendActions();
    // Fails or cancels what is under way and forgets the touches.
    void stop();
    void resetIfFinished();

    std::weak_ptr<UIView> view_;
    UIGestureRecognizerState state_ = UIGestureRecognizerState::Possible;
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
    bool delaysTouchesBegan_ = false;
    std::weak_ptr<UIGestureRecognizerDelegate> delegate_;
    std::vector<TargetAction> targetActions_;
    std::vector<std::shared_ptr<UITouch>> touches_;
    CGPoint lastLocation_{};
    // Whether it has had touches since it was last reset.
    bool engaged_ = false;
    // A recognition held back until the recognisers it requires to fail have failed.
    bool pendingBegan_ = false;
    bool pendingEnded_ = false;
    std::vector<std::weak_ptr<UIGestureRecognizer>> required_;
    std::vector<std::weak_ptr<UIGestureRecognizer>> dependents_;
};
