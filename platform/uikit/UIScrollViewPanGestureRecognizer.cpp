#include "platform/uikit/UIScrollViewPanGestureRecognizer.h"

#include "platform/uikit/UIScrollView.h"

void UIScrollViewPanGestureRecognizer::touchesBeganWithEvent(const UITouchSet& touches,
                                                             const UIEvent* event) {
    UIPanGestureRecognizer::touchesBeganWithEvent(touches, event);
    if (const auto scrollView = std::dynamic_pointer_cast<UIScrollView>(view())) {
        scrollView->fingersDidLand();
    }
}

void UIScrollViewPanGestureRecognizer::reset() {
    UIPanGestureRecognizer::reset();
    if (const auto scrollView = std::dynamic_pointer_cast<UIScrollView>(view())) {
        scrollView->fingersDidLift();
    }
}
