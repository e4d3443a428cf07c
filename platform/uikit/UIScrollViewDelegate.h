// What a scroll view tells its delegate as its content moves. Every method is optional:
// the default bodies are what an absent method means.
#pragma once

#include <memory>

class UIScrollView;
class UIView;

class UIScrollViewDelegate {
public:
    virtual ~UIScrollViewDelegate() = default;
    // After every change of the content offset, however it came.
    virtual void scrollViewDidScroll(UIScrollView& scrollView) {}
    // A drag is about to move the content.
    virtual void scrollViewWillBeginDragging(UIScrollView& scrollView) {}
    // The finger lifted; `decelerate` says whether the content goes on moving.
    virtual void scrollViewDidEndDraggingWillDecelerate(UIScrollView& scrollView, bool decelerate) {
    }
    virtual void scrollViewWillBeginDecelerating(UIScrollView& scrollView) {}
    // The content came to rest after a drag, or the deceleration was stopped.
    virtual void scrollViewDidEndDecelerating(UIScrollView& scrollView) {}
    // An animated change of the content offset has run its course.
    virtual void scrollViewDidEndScrollingAnimation(UIScrollView& scrollView) {}

    // The subview that zooming scales; none (the default) means the view does not zoom.
    virtual std::shared_ptr<UIView> viewForZoomingInScrollView(UIScrollView& scrollView) {
        return nullptr;
    }
    // After every change of the zoom scale, however it came.
    virtual void scrollViewDidZoom(UIScrollView& scrollView) {}
    // A pinch is about to zoom `view`.
    virtual void scrollViewWillBeginZoomingWithView(UIScrollView& scrollView,
                                                    const std::shared_ptr<UIView>& view) {}
    // A pinch has ended, or an animated zoom has run its course, at `scale`.
    virtual void scrollViewDidEndZoomingWithViewAtScale(UIScrollView& scrollView,
                                                        const std::shared_ptr<UIView>& view,
                                                        double scale) {}
};
