// Recognises taps: a number of fingers coming down and lifting without travelling, a
// number of times in quick succession. Recognised when the last tap lifts.
#pragma once

#include "platform/uikit/UIGestureRecognizer.h"

#include <map>
#include <optional>

class NSTimer;

class UITapGestureRecognizer : public UIGestureRecognizer {
    NS_OBJECT(UITapGestureRecognizer)
public:
    ~UITapGestureRecognizer() override;
    static std::shared_ptr<UITapGestureRecognizer>
    initWithTargetAction(std::weak_ptr<NSObject> target, Action action);
    static std::shared_ptr<UITapGestureRecognizer> alloc() {
        return initWithTargetAction({}, nullptr);
    }

    unsigned numberOfTapsRequired() const { return numberOfTapsRequired_; }
    void setNumberOfTapsRequired(unsigned taps) { numberOfTapsRequired_ = taps; }
    unsigned numberOfTouchesRequired() const { return numberOfTouchesRequired_; }
    void setNumberOfTouchesRequired(unsigned touches) { numberOfTouchesRequired_ = touches; }

protected:
    UITapGestureRecognizer() = default;

    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesMovedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesEndedWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void touchesCancelledWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void reset() override;

private:
    void stopTimer();

    unsigned numberOfTapsRequired_ = 1;
    unsigned numberOfTouchesRequired_ = 1;
    unsigned taps_ = 0;
    // The most fingers down at once in the current tap.
    size_t fingers_ = 0;
    // Where each finger of the current tap came down, and where the first tap was.
    std::map<const UITouch*, CGPoint> starts_;
    std::optional<CGPoint> firstTap_;
    // Fails the gesture when the next tap does not come in time.
    std::shared_ptr<NSTimer> nextTapTimer_;
};
