// The pan recogniser a scroll view moves its content with. Beyond the drag itself it tells
// the scroll view when fingers land and when the last one has lifted, which a pan does
// not report (it says nothing until it begins, and nothing at all for a tap).
#pragma once

#include "platform/uikit/UIPanGestureRecognizer.h"

class UIScrollViewPanGestureRecognizer : public UIPanGestureRecognizer {
    NS_OBJECT(UIScrollViewPanGestureRecognizer)
public:
    // One not yet attached to a scroll view (UIScrollView makes its own).
    static std::shared_ptr<UIScrollViewPanGestureRecognizer> alloc() {
        return make<UIScrollViewPanGestureRecognizer>();
    }

protected:
    UIScrollViewPanGestureRecognizer() = default;

    void touchesBeganWithEvent(const UITouchSet& touches, const UIEvent* event) override;
    void reset() override;
};
