// A view showing part of a larger content: the content offset (its bounds origin) says
// which part. Drags move the content, clamped to its size and insets; released, it
// decelerates on the run loop's clock, or settles on a page. Subviews are clipped.
//
// What it keeps of the platform's behaviour, and what it leaves out:
// - Its pan begins only once the finger has travelled, so a tap still reaches the controls
//   inside; when the pan begins, the touches in the content are cancelled. It begins only
//   when the content can scroll on some axis or an always-bounce flag asks for it.
// - Once the pan has begun the content follows the finger's whole travel.
// - No bouncing: with bounces on or off, content stops at its edges (a drag or a
//   deceleration reaching an edge stays there).
// - A finger landing on decelerating content stops it (the delegate hears
//   scrollViewDidEndDecelerating); the touch then goes on to the content as usual.
// - An animated offset change lands at once and is recorded as a view animation; the
//   delegate hears scrollViewDidEndScrollingAnimation after its duration.
// - Zooming scales the delegate's view for zooming (a scale transform, its frame kept at
//   the content's origin) and makes the content size its frame's size. A pinch zooms
//   about the fingers' centre; scales stay within the minimum and maximum (no bouncing
//   past them). The pinch recogniser exists only while the two differ. An animated zoom
//   lands at once, is recorded as a view animation, and the delegate hears
//   scrollViewDidEndZoomingWithViewAtScale after its duration.
// - The scroll indicator flags are kept but nothing is drawn.
// Make it with initWithFrame or a subclass's factory: the pan recogniser is attached there.
#pragma once

#include "platform/uikit/UIEdgeInsets.h"
#include "platform/uikit/UIScrollViewDelegate.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <optional>

class NSTimer;
class UIPanGestureRecognizer;
class UIPinchGestureRecognizer;
class UIScrollViewPanGestureRecognizer;

class UIScrollView : public UIView {
    NS_OBJECT(UIScrollView)
public:
    // The share of its speed decelerating content keeps after each millisecond (the
    // platform's normal rate), and the speed (points per second) below which it stops.
    static constexpr double kDecelerationRateNormal = 0.998;
    static constexpr double kMinimumDecelerationSpeed = 10;
    // How long an animated change of the offset is recorded to take.
    static constexpr double kScrollAnimationDuration = 0.3;

    ~UIScrollView() override;
    static std::shared_ptr<UIScrollView> initWithFrame(const CGRect& frame);
    static std::shared_ptr<UIScrollView> alloc() { return initWithFrame(CGRectZero); }

    CGSize contentSize() const { return contentSize_; }
    void setContentSize(const CGSize& size) { contentSize_ = size; }
    // The bounds origin. Setting it stops a deceleration and is not clamped (as on the
    // platform); only drags and decelerations keep to the content.
    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(const CGPoint& offset);
    void setContentOffsetAnimated(const CGPoint& offset, bool animated);
    // Room around the content: a drag takes the offset from (-left, -top) to the far edges
    // of the content plus right and bottom, less the view's size.
    // Scrolls as little as brings `rect` (content coordinates) into view, on each axis
    // that needs it: its near edge to the near edge of the view, or its far edge to the far
    // edge when it lies beyond; within the content's extent.
    void scrollRectToVisibleAnimated(const CGRect& rect, bool animated);

    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(const UIEdgeInsets& insets) { contentInset_ = insets; }

    // Off, drags do nothing (the pan recogniser is disabled).
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled);
    // On release the content settles on the nearest page (a page is the view's size), or on
    // the next one in the direction of a flick, never more than one page from where the drag
    // began.
    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    // Lets a drag begin on an axis whose content fits (the content still does not move).
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool value) { alwaysBounceVertical_ = value; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool value) { alwaysBounceHorizontal_ = value; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontalScrollIndicator_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontalScrollIndicator_ = shows; }
    bool showsVerticalScrollIndicator() const { return showsVerticalScrollIndicator_; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVerticalScrollIndicator_ = shows; }
    // On, a drag over content that scrolls both ways moves along the axis it started on.
    bool isDirectionalLockEnabled() const { return directionalLockEnabled_; }
    void setDirectionalLockEnabled(bool enabled) { directionalLockEnabled_ = enabled; }

    // A finger is down on the view.
    bool isTracking() const { return tracking_; }
    // The content follows a finger.
    bool isDragging() const { return dragging_; }
    // The content moves on after a release.
    bool isDecelerating() const { return deceleration_.has_value(); }

    std::shared_ptr<UIPanGestureRecognizer> panGestureRecognizer() const;

    // Zooming. Both bounds are 1 at first, which means no zooming; setting them does not
    // change the current scale.
    double minimumZoomScale() const { return minimumZoomScale_; }
    void setMinimumZoomScale(double scale);
    double maximumZoomScale() const { return maximumZoomScale_; }
    void setMaximumZoomScale(double scale);
    double zoomScale() const { return zoomScale_; }
    // Clamped to the minimum and maximum; zooms about the centre of the visible area.
    // Nothing happens without a view for zooming.
    void setZoomScale(double scale);
    void setZoomScaleAnimated(double scale, bool animated);
    // Zooms so that `rect` (in the zoom view's own coordinates) fills the bounds as far as
    // the scale limits allow, centred in them as far as the content allows.
    void zoomToRectAnimated(const CGRect& rect, bool animated);
    // A pinch is zooming the content.
    bool isZooming() const { return zooming_; }
    // The pinch that zooms; none while the minimum and maximum scales are equal.
    std::shared_ptr<UIPinchGestureRecognizer> pinchGestureRecognizer() const { return pinch_; }

    std::shared_ptr<UIScrollViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIScrollViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // A change of the origin is a scroll: the delegate hears scrollViewDidScroll.
    void setBounds(const CGRect& bounds) override;
    // Its own pan begins only when there is something to scroll, its pinch only when the
    // delegate gives a view for zooming.
    bool gestureRecognizerShouldBegin(UIGestureRecognizer& recognizer) override;

protected:
    UIScrollView();

    // A new scroll view (or subclass) of that frame with its pan recogniser attached.
    template <class T> static std::shared_ptr<T> makeWithFrame(const CGRect& frame) {
        auto view = make<T>();
        view->setFrame(frame);
        static_cast<UIScrollView&>(*view).attachPanGestureRecognizer();
        return view;
    }

    // Where scrolling to a rectangle puts it along an axis of the area inside the insets.
    enum class Placement { Unchanged, Start, Centre, End };
    // The offset placing `rect` (content coordinates) so, as near as the content allows.
    CGPoint contentOffsetPlacingRect(const CGRect& rect, Placement horizontal,
                                     Placement vertical) const;

private:
    friend class UIScrollViewPanGestureRecognizer;

    // The content's motion after a release: coasting from a velocity, or settling on a target.
    struct Deceleration {
        double startTime = 0;
        CGPoint startOffset{};
        CGPoint velocity{};
        std::optional<CGPoint> target;
    };

    void attachPanGestureRecognizer();
    void fingersDidLand();
    void fingersDidLift();
    void handlePan(UIPanGestureRecognizer& pan);
    void beginDragging(const CGPoint& translation);
    void followFinger(const CGPoint& translation);
    void endDragging(const CGPoint& fingerVelocity);
    // Where the content goes after a release at `velocity` (content points per second);
    // nothing when it stays.
    std::optional<Deceleration> decelerationFrom(const CGPoint& velocity) const;
    CGPoint pageTarget(const CGPoint& velocity) const;
    void decelerationStep();
    // Stops a deceleration under way, telling the delegate it ended.
    void endDeceleration();
    // Moves the content without stopping anything.
    void moveContentTo(const CGPoint& offset);
    // The offsets a drag may reach.
    CGPoint minimumContentOffset() const;
    CGPoint maximumContentOffset() const;
    CGPoint clampedContentOffset(const CGPoint& offset) const;
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;
    std::shared_ptr<UIView> viewForZooming();
    void updatePinchGestureRecognizer();
    void handlePinch(UIPinchGestureRecognizer& pinch);
    // Scales the zoom view to `scale` (already clamped), lays out the content and moves it
    // to `offset` (clamped to the new content); the delegate hears scrollViewDidZoom.
    void applyZoom(UIView& zoomView, double scale, const CGPoint& offset);
    // Zooms to `scale` with the content at `offset`, animated or not.
    void zoomTo(double scale, const CGPoint& offset, bool animated);
    double clampedZoomScale(double scale) const;

    CGSize contentSize_{};
    UIEdgeInsets contentInset_{};
    bool scrollEnabled_ = true;
    bool pagingEnabled_ = false;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool showsHorizontalScrollIndicator_ = true;
    bool showsVerticalScrollIndicator_ = true;
    bool directionalLockEnabled_ = false;
    bool tracking_ = false;
    bool dragging_ = false;
    // Where the content was when the drag began, and the axes the drag moves it along.
    CGPoint dragStartOffset_{};
    bool dragsHorizontally_ = false;
    bool dragsVertically_ = false;
    std::optional<Deceleration> deceleration_;
    std::shared_ptr<NSTimer> decelerationTimer_;
    // Tells an animated scroll's completion whether a later one has replaced it.
    unsigned long scrollAnimationCount_ = 0;
    std::shared_ptr<UIScrollViewPanGestureRecognizer> pan_;
    double minimumZoomScale_ = 1;
    double maximumZoomScale_ = 1;
    double zoomScale_ = 1;
    bool zooming_ = false;
    // Tells an animated zoom's completion whether a later one has replaced it.
    unsigned long zoomAnimationCount_ = 0;
    // The zoom scale when the pinch began; the pinch's scale multiplies it.
    double pinchStartScale_ = 1;
    std::shared_ptr<UIPinchGestureRecognizer> pinch_;
    std::weak_ptr<UIScrollViewDelegate> delegate_;
};
