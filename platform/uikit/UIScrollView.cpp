#include "platform/uikit/UIScrollView.h"

#include "platform/base/Clock.h"
#include "platform/foundation/NSTimer.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UIScrollViewPanGestureRecognizer.h"
#include "platform/uikit/UIViewAnimation.h"

#include <algorithm>
#include <cmath>

namespace {
using State = UIGestureRecognizerState;

// A release faster than this (points per second) flicks to the next page.
constexpr double kPagingFlickSpeed = 300;
// Settling on a page closes the remaining distance at the platform's fast rate: the share
// left after each millisecond; it lands once less than half a point is left.
constexpr double kSettleRate = 0.99;
constexpr double kSettleDistance = 0.5;
constexpr double kFrameInterval = 1.0 / 60;

double clampTo(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}
} // namespace

UIScrollView::UIScrollView() : pan_(make<UIScrollViewPanGestureRecognizer>()) {
    setClipsToBounds(true);
}

UIScrollView::~UIScrollView() {
    if (decelerationTimer_) {
        decelerationTimer_->invalidate();
    }
}

std::shared_ptr<UIScrollView> UIScrollView::initWithFrame(const CGRect& frame) {
    return makeWithFrame<UIScrollView>(frame);
}

void UIScrollView::attachPanGestureRecognizer() {
    std::weak_ptr<UIScrollView> weak = self<UIScrollView>();
    pan_->addTargetAction(weak, [weak](UIGestureRecognizer& recognizer) {
        if (const auto scrollView = weak.lock()) {
            scrollView->handlePan(static_cast<UIPanGestureRecognizer&>(recognizer));
        }
    });
    addGestureRecognizer(pan_);
}

std::shared_ptr<UIPanGestureRecognizer> UIScrollView::panGestureRecognizer() const {
    return pan_;
}

void UIScrollView::setScrollEnabled(bool enabled) {
    scrollEnabled_ = enabled;
    pan_->setEnabled(enabled);
}

// The offset

void UIScrollView::setBounds(const CGRect& bounds) {
    const CGPoint before = this->bounds().origin;
    UIView::setBounds(bounds);
    if (before != bounds.origin) {
        if (const auto delegate = delegate_.lock()) {
            const auto keepAlive = self<UIScrollView>();
            delegate->scrollViewDidScroll(*this);
        }
    }
}

void UIScrollView::moveContentTo(const CGPoint& offset) {
    setBounds(CGRect{offset, bounds().size});
}

void UIScrollView::setContentOffset(const CGPoint& offset) {
    endDeceleration();
    moveContentTo(offset);
}

void UIScrollView::setContentOffsetAnimated(const CGPoint& offset, bool animated) {
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    endDeceleration();
    if (offset == contentOffset()) {
        return;
    }
    const unsigned long count = ++scrollAnimationCount_;
    std::weak_ptr<UIScrollView> weak = self<UIScrollView>();
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kScrollAnimationDuration, 0, 0, [this, offset] { moveContentTo(offset); },
        [weak, count](bool) {
            const auto scrollView = weak.lock();
            if (!scrollView || scrollView->scrollAnimationCount_ != count) {
                return;
            }
            if (const auto delegate = scrollView->delegate_.lock()) {
                delegate->scrollViewDidEndScrollingAnimation(*scrollView);
            }
        });
}

CGPoint UIScrollView::minimumContentOffset() const {
    return CGPointMake(-contentInset_.left, -contentInset_.top);
}

CGPoint UIScrollView::maximumContentOffset() const {
    const CGPoint minimum = minimumContentOffset();
    const CGSize size = bounds().size;
    return CGPointMake(
        std::max(minimum.x, contentSize_.width + contentInset_.right - size.width),
        std::max(minimum.y, contentSize_.height + contentInset_.bottom - size.height));
}

CGPoint UIScrollView::clampedContentOffset(const CGPoint& offset) const {
    const CGPoint minimum = minimumContentOffset();
    const CGPoint maximum = maximumContentOffset();
    return CGPointMake(clampTo(offset.x, minimum.x, maximum.x),
                       clampTo(offset.y, minimum.y, maximum.y));
}

CGPoint UIScrollView::contentOffsetPlacingRect(const CGRect& rect, Placement horizontal,
                                               Placement vertical) const {
    const CGSize area = UIEdgeInsetsInsetRect(bounds(), contentInset_).size;
    const auto place = [](Placement placement, double current, double low, double high,
                          double inset, double length) {
        switch (placement) {
        case Placement::Start:
            return low - inset;
        case Placement::Centre:
            return (low + high - length) / 2 - inset;
        case Placement::End:
            return high - length - inset;
        case Placement::Unchanged:
            break;
        }
        return current;
    };
    const CGPoint offset = contentOffset();
    return clampedContentOffset(
        CGPointMake(place(horizontal, offset.x, CGRectGetMinX(rect), CGRectGetMaxX(rect),
                          contentInset_.left, area.width),
                    place(vertical, offset.y, CGRectGetMinY(rect), CGRectGetMaxY(rect),
                          contentInset_.top, area.height)));
}

void UIScrollView::scrollRectToVisibleAnimated(const CGRect& rect, bool animated) {
    const CGRect visible = UIEdgeInsetsInsetRect(bounds(), contentInset_);
    const auto placement = [](double low, double high, double visibleLow, double visibleHigh) {
        if (low < visibleLow) {
            return Placement::Start;
        }
        return high > visibleHigh ? Placement::End : Placement::Unchanged;
    };
    setContentOffsetAnimated(
        contentOffsetPlacingRect(rect,
                                 placement(CGRectGetMinX(rect), CGRectGetMaxX(rect),
                                           CGRectGetMinX(visible), CGRectGetMaxX(visible)),
                                 placement(CGRectGetMinY(rect), CGRectGetMaxY(rect),
                                           CGRectGetMinY(visible), CGRectGetMaxY(visible))),
        animated);
}

bool UIScrollView::canScrollHorizontally() const {
    return maximumContentOffset().x > minimumContentOffset().x;
}

bool UIScrollView::canScrollVertically() const {
    return maximumContentOffset().y > minimumContentOffset().y;
}

// Dragging

bool UIScrollView::gestureRecognizerShouldBegin(UIGestureRecognizer& recognizer) {
    if (pinch_ && &recognizer == pinch_.get()) {
        return viewForZooming() != nullptr;
    }
    if (&recognizer != pan_.get()) {
        return UIView::gestureRecognizerShouldBegin(recognizer);
    }
    return canScrollHorizontally() || canScrollVertically() || alwaysBounceHorizontal_ ||
           alwaysBounceVertical_;
}

void UIScrollView::fingersDidLand() {
    tracking_ = true;
    endDeceleration();
}

void UIScrollView::fingersDidLift() {
    tracking_ = false;
}

void UIScrollView::handlePan(UIPanGestureRecognizer& pan) {
    switch (pan.state()) {
    case State::Began:
        beginDragging(pan.translationInView(this));
        break;
    case State::Changed:
        followFinger(pan.translationInView(this));
        break;
    case State::Ended:
        endDragging(pan.velocityInView(this));
        break;
    case State::Cancelled:
        endDragging(CGPointZero);
        break;
    case State::Possible:
    case State::Failed:
        break;
    }
}

void UIScrollView::beginDragging(const CGPoint& translation) {
    const auto keepAlive = self<UIScrollView>();
    endDeceleration();
    dragging_ = true;
    dragStartOffset_ = contentOffset();
    dragsHorizontally_ = canScrollHorizontally();
    dragsVertically_ = canScrollVertically();
    if (directionalLockEnabled_ && dragsHorizontally_ && dragsVertically_) {
        const bool horizontal = std::abs(translation.x) > std::abs(translation.y);
        dragsHorizontally_ = horizontal;
        dragsVertically_ = !horizontal;
    }
    if (const auto delegate = delegate_.lock()) {
        delegate->scrollViewWillBeginDragging(*this);
    }
    followFinger(translation);
}

void UIScrollView::followFinger(const CGPoint& translation) {
    if (!dragging_) {
        return;
    }
    const CGPoint wanted = clampedContentOffset(
        CGPointMake(dragStartOffset_.x - translation.x, dragStartOffset_.y - translation.y));
    const CGPoint current = contentOffset();
    moveContentTo(CGPointMake(dragsHorizontally_ ? wanted.x : current.x,
                              dragsVertically_ ? wanted.y : current.y));
}

void UIScrollView::endDragging(const CGPoint& fingerVelocity) {
    if (!dragging_) {
        return;
    }
    const auto keepAlive = self<UIScrollView>();
    dragging_ = false;
    // The content moves against the finger's direction in offset terms.
    const CGPoint velocity = CGPointMake(dragsHorizontally_ ? -fingerVelocity.x : 0,
                                         dragsVertically_ ? -fingerVelocity.y : 0);
    const auto deceleration = decelerationFrom(velocity);
    if (const auto delegate = delegate_.lock()) {
        delegate->scrollViewDidEndDraggingWillDecelerate(*this, deceleration.has_value());
    }
    if (!deceleration) {
        return;
    }
    deceleration_ = deceleration;
    if (const auto delegate = delegate_.lock()) {
        delegate->scrollViewWillBeginDecelerating(*this);
    }
    if (!deceleration_) {
        // The delegate moved the content itself, which stops the deceleration.
        return;
    }
    std::weak_ptr<UIScrollView> weak = self<UIScrollView>();
    decelerationTimer_ =
        NSTimer::scheduledTimerWithTimeIntervalRepeatsBlock(kFrameInterval, true, [weak](auto&) {
            if (const auto scrollView = weak.lock()) {
                scrollView->decelerationStep();
            }
        });
}

// Deceleration

std::optional<UIScrollView::Deceleration>
UIScrollView::decelerationFrom(const CGPoint& velocity) const {
    Deceleration deceleration;
    deceleration.startTime = Clock::current().monotonicNow();
    deceleration.startOffset = contentOffset();
    if (pagingEnabled_) {
        const CGPoint target = pageTarget(velocity);
        if (std::hypot(target.x - deceleration.startOffset.x,
                       target.y - deceleration.startOffset.y) < kSettleDistance) {
            return std::nullopt;
        }
        deceleration.target = target;
        return deceleration;
    }
    if (std::hypot(velocity.x, velocity.y) < kMinimumDecelerationSpeed) {
        return std::nullopt;
    }
    deceleration.velocity = velocity;
    return deceleration;
}

CGPoint UIScrollView::pageTarget(const CGPoint& velocity) const {
    const CGPoint offset = contentOffset();
    const auto onAxis = [](double position, double start, double speed, double page) {
        if (page <= 0) {
            return position;
        }
        const double at = position / page;
        double target = std::round(at);
        if (speed > kPagingFlickSpeed) {
            target = std::floor(at) + 1;
        } else if (speed < -kPagingFlickSpeed) {
            target = std::ceil(at) - 1;
        }
        const double startPage = std::round(start / page);
        return clampTo(target, startPage - 1, startPage + 1) * page;
    };
    const CGSize page = bounds().size;
    const CGPoint target = clampedContentOffset(
        CGPointMake(onAxis(offset.x, dragStartOffset_.x, velocity.x, page.width),
                    onAxis(offset.y, dragStartOffset_.y, velocity.y, page.height)));
    return CGPointMake(dragsHorizontally_ ? target.x : offset.x,
                       dragsVertically_ ? target.y : offset.y);
}

void UIScrollView::decelerationStep() {
    if (!deceleration_) {
        return;
    }
    const Deceleration& d = *deceleration_;
    const double milliseconds = (Clock::current().monotonicNow() - d.startTime) * 1000;
    CGPoint next;
    bool done = false;
    if (d.target) {
        // The distance left shrinks exponentially.
        const double left = std::pow(kSettleRate, milliseconds);
        next = CGPointMake(d.target->x + (d.startOffset.x - d.target->x) * left,
                           d.target->y + (d.startOffset.y - d.target->y) * left);
        if (std::hypot(next.x - d.target->x, next.y - d.target->y) < kSettleDistance) {
            next = *d.target;
            done = true;
        }
    } else {
        // The speed decays by the rate each millisecond; the distance covered is its
        // integral: v (1 - rate^t) / -ln(rate), with v in points per millisecond.
        const double kept = std::pow(kDecelerationRateNormal, milliseconds);
        const double travel = (1 - kept) / (-std::log(kDecelerationRateNormal) * 1000);
        next = clampedContentOffset(CGPointMake(d.startOffset.x + d.velocity.x * travel,
                                                d.startOffset.y + d.velocity.y * travel));
        // An axis is done when it does not move or has reached the edge it moves to.
        const CGPoint minimum = minimumContentOffset();
        const CGPoint maximum = maximumContentOffset();
        const auto stopped = [](double speed, double at, double low, double high) {
            return speed == 0 || (speed > 0 && at >= high) || (speed < 0 && at <= low);
        };
        done = std::hypot(d.velocity.x, d.velocity.y) * kept < kMinimumDecelerationSpeed ||
               (stopped(d.velocity.x, next.x, minimum.x, maximum.x) &&
                stopped(d.velocity.y, next.y, minimum.y, maximum.y));
    }
    const auto keepAlive = self<UIScrollView>();
    moveContentTo(next);
    if (done) {
        endDeceleration();
    }
}

void UIScrollView::endDeceleration() {
    if (!deceleration_) {
        return;
    }
    deceleration_.reset();
    if (decelerationTimer_) {
        decelerationTimer_->invalidate();
        decelerationTimer_.reset();
    }
    if (const auto delegate = delegate_.lock()) {
        const auto keepAlive = self<UIScrollView>();
        delegate->scrollViewDidEndDecelerating(*this);
    }
}

// Zooming

std::shared_ptr<UIView> UIScrollView::viewForZooming() {
    const auto delegate = delegate_.lock();
    return delegate ? delegate->viewForZoomingInScrollView(*this) : nullptr;
}

double UIScrollView::clampedZoomScale(double scale) const {
    return clampTo(scale, minimumZoomScale_, std::max(minimumZoomScale_, maximumZoomScale_));
}

void UIScrollView::setMinimumZoomScale(double scale) {
    minimumZoomScale_ = scale;
    updatePinchGestureRecognizer();
}

void UIScrollView::setMaximumZoomScale(double scale) {
    maximumZoomScale_ = scale;
    updatePinchGestureRecognizer();
}

void UIScrollView::updatePinchGestureRecognizer() {
    const bool zoomable = minimumZoomScale_ != maximumZoomScale_;
    if (zoomable && !pinch_) {
        std::weak_ptr<UIScrollView> weak = self<UIScrollView>();
        pinch_ = UIPinchGestureRecognizer::initWithTargetAction(
            weak, [weak](UIGestureRecognizer& recognizer) {
                if (const auto scrollView = weak.lock()) {
                    scrollView->handlePinch(static_cast<UIPinchGestureRecognizer&>(recognizer));
                }
            });
        addGestureRecognizer(pinch_);
    } else if (!zoomable && pinch_) {
        removeGestureRecognizer(pinch_);
        pinch_.reset();
    }
}

void UIScrollView::setZoomScale(double scale) {
    setZoomScaleAnimated(scale, false);
}

void UIScrollView::setZoomScaleAnimated(double scale, bool animated) {
    const double target = clampedZoomScale(scale);
    // The point at the centre of the visible area stays there.
    const CGSize size = bounds().size;
    const CGPoint offset = contentOffset();
    const double ratio = zoomScale_ > 0 ? target / zoomScale_ : 1;
    zoomTo(target,
           CGPointMake((offset.x + size.width / 2) * ratio - size.width / 2,
                       (offset.y + size.height / 2) * ratio - size.height / 2),
           animated);
}

void UIScrollView::zoomToRectAnimated(const CGRect& rect, bool animated) {
    const CGRect wanted = CGRectStandardize(rect);
    const CGSize size = bounds().size;
    // An empty side leaves the other to decide; an empty rectangle keeps the scale.
    double scale = zoomScale_;
    if (wanted.size.width > 0 && wanted.size.height > 0) {
        scale = std::min(size.width / wanted.size.width, size.height / wanted.size.height);
    } else if (wanted.size.width > 0) {
        scale = size.width / wanted.size.width;
    } else if (wanted.size.height > 0) {
        scale = size.height / wanted.size.height;
    }
    scale = clampedZoomScale(scale);
    zoomTo(scale,
           CGPointMake(CGRectGetMidX(wanted) * scale - size.width / 2,
                       CGRectGetMidY(wanted) * scale - size.height / 2),
           animated);
}

void UIScrollView::zoomTo(double scale, const CGPoint& offset, bool animated) {
    const auto zoomView = viewForZooming();
    if (!zoomView) {
        return;
    }
    endDeceleration();
    if (!animated) {
        applyZoom(*zoomView, scale, offset);
        return;
    }
    const unsigned long count = ++zoomAnimationCount_;
    std::weak_ptr<UIScrollView> weak = self<UIScrollView>();
    UIViewAnimation::animateWithDurationDelayOptionsAnimationsCompletion(
        kScrollAnimationDuration, 0, 0,
        [this, zoomView, scale, offset] { applyZoom(*zoomView, scale, offset); },
        [weak, count, zoomView](bool) {
            const auto scrollView = weak.lock();
            if (!scrollView || scrollView->zoomAnimationCount_ != count) {
                return;
            }
            if (const auto delegate = scrollView->delegate_.lock()) {
                delegate->scrollViewDidEndZoomingWithViewAtScale(*scrollView, zoomView,
                                                                 scrollView->zoomScale_);
            }
        });
}

void UIScrollView::applyZoom(UIView& zoomView, double scale, const CGPoint& offset) {
    const auto keepAlive = self<UIScrollView>();
    zoomScale_ = scale;
    zoomView.setTransform(CGAffineTransformMakeScale(scale, scale));
    // The scaled view starts at the content's origin, whatever its centre was.
    const CGSize size = zoomView.bounds().size;
    zoomView.setCenter(CGPointMake(size.width * scale / 2, size.height * scale / 2));
    setContentSize(zoomView.frame().size);
    moveContentTo(clampedContentOffset(offset));
    if (const auto delegate = delegate_.lock()) {
        delegate->scrollViewDidZoom(*this);
    }
}

void UIScrollView::handlePinch(UIPinchGestureRecognizer& pinch) {
    const auto zoomView = viewForZooming();
    const auto delegate = delegate_.lock();
    switch (pinch.state()) {
    case State::Began:
        endDeceleration();
        zooming_ = true;
        pinchStartScale_ = zoomScale_;
        if (delegate && zoomView) {
            delegate->scrollViewWillBeginZoomingWithView(*this, zoomView);
        }
        [[fallthrough]];
    case State::Changed:
        if (zooming_ && zoomView && zoomScale_ > 0) {
            // The content point under the fingers' centre stays under it.
            const CGPoint inContent = pinch.locationInView(this);
            const CGPoint offset = contentOffset();
            const double target = clampedZoomScale(pinchStartScale_ * pinch.scale());
            const double ratio = target / zoomScale_;
            applyZoom(*zoomView, target,
                      CGPointMake(inContent.x * ratio - (inContent.x - offset.x),
                                  inContent.y * ratio - (inContent.y - offset.y)));
        }
        break;
    case State::Ended:
    case State::Cancelled:
        if (!zooming_) {
            break;
        }
        zooming_ = false;
        if (delegate && zoomView) {
            delegate->scrollViewDidEndZoomingWithViewAtScale(*this, zoomView, zoomScale_);
        }
        break;
    case State::Possible:
    case State::Failed:
        break;
    }
}
