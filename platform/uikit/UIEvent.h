// What the application dispatches: the touches of one moment, each in its phase, with
// the fingers that did not change as Stationary.
#pragma once

#include "platform/uikit/UIResponder.h"

class UIView;

class UIEvent : public NSObject {
    NS_OBJECT(UIEvent)
public:
    UIEvent() = default;
    // For event sources (the touch injector).
    static std::shared_ptr<UIEvent> initWithTouchesTimestamp(UITouchSet touches, double timestamp);

    const UITouchSet& allTouches() const { return touches_; }
    // The touches whose view (the one they landed on) is `view`.
    UITouchSet touchesForView(const UIView* view) const;
    // In the clock's monotonic seconds.
    double timestamp() const { return timestamp_; }

private:
    UITouchSet touches_;
    double timestamp_ = 0;
};
