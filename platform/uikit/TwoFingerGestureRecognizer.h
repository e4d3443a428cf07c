// Our common ground of the pinch and rotation recognisers: follows the first two fingers
// down in the view; Began once the subclass finds they have gone far enough, Changed as
// they move, Ended when either lifts (Failed if it had not begun).
#pragma once

#include "platform/uikit/UIGestureRecognizer.h"

class TwoFingerGestureRecognizer : public UIGestureRecognizer {
    NS_OBJECT(TwoFingerGestureRecognizer)
protected:
    // The two fingers came down at `a` and `b` (window coordinates) at `time`.
    virtual void fingersDownAt(const CGPoint& a, const CGPoint& b, double time) = 0;
    // They moved; true when the gesture has gone far enough to begin.
    virtual bool fingersMovedTo(const CGPoint& a, const CGPoint& b, double time) = 0;

    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void reset() override;

private:
    std::shared_ptr<UITouch> first_;
    std::shared_ptr<UITouch> second_;
};
