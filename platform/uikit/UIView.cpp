#include "platform/uikit/UIView.h"

#include "platform/uikit/UIKeyboard.h"

#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIViewAnimation.h"

#include "platform/base/NSThread.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Shares `delta` (the change of the superview's extent along one axis) among the flexible
// parts of a subview's span: leading margin, length and trailing margin, in proportion to
// their current sizes, or equally when those sizes add up to nothing.
void resizeSpan(CGFloat& origin, CGFloat& length, CGFloat oldExtent, CGFloat newExtent,
                bool flexibleLead, bool flexibleLength, bool flexibleTrail) {
    const CGFloat delta = newExtent - oldExtent;
    const int flexibleParts = int(flexibleLead) + int(flexibleLength) + int(flexibleTrail);
    if (delta == 0 || flexibleParts == 0) {
        return;
    }
    const CGFloat lead = origin;
    const CGFloat trail = oldExtent - (origin + length);
    const CGFloat total =
        (flexibleLead ? lead : 0) + (flexibleLength ? length : 0) + (flexibleTrail ? trail : 0);
    const auto share = [&](bool flexible, CGFloat part) -> CGFloat {
        if (!flexible) {
            return 0;
        }
        return total == 0 ? delta / flexibleParts : delta * part / total;
    };
    const CGFloat leadShare = share(flexibleLead, lead);
    const CGFloat lengthShare = share(flexibleLength, length);
    origin += leadShare;
    length += lengthShare;
}

} // namespace

std::shared_ptr<UIView> UIView::initWithFrame(const CGRect& frame) {
    auto view = make<UIView>();
    view->setFrame(frame);
    return view;
}

// Geometry

CGRect UIView::frame() const {
    // Transform the bounds rectangle about its centre, then place it at `center`; done in
    // that order so that an identity transform gives the exact centre-minus-half-size.
    const CGRect centred = CGRectMake(-bounds_.size.width / 2, -bounds_.size.height / 2,
                                      bounds_.size.width, bounds_.size.height);
    return CGRectOffset(CGRectApplyAffineTransform(centred, transform_), center_.x, center_.y);
}

void UIView::requireMainThread(const char* call) {
#ifndef NDEBUG
    if (!NSThread::isMainThread()) {
        std::fprintf(stderr, "UIView: %s called off the main thread\n", call);
        std::abort();
    }
#else
    (void)call;
#endif
}

void UIView::setFrame(const CGRect& frame) {
    requireMainThread("setFrame");
    UIViewAnimation::noteChange(*this, "frame");
    const CGRect standard = CGRectStandardize(frame);
    center_ = CGPointMake(CGRectGetMidX(standard), CGRectGetMidY(standard));
    CGSize size = standard.size;
    const CGAffineTransform& t = transform_;
    if (t.b == 0 && t.c == 0 && t.a != 0 && t.d != 0) {
        size = CGSizeMake(size.width / std::abs(t.a), size.height / std::abs(t.d));
    }
    setBounds(CGRect{bounds_.origin, size});
}

void UIView::setBounds(const CGRect& bounds) {
    requireMainThread("setBounds");
    UIViewAnimation::noteChange(*this, "bounds");
    const CGSize oldSize = bounds_.size;
    bounds_ = bounds;
    if (oldSize == bounds_.size) {
        return;
    }
    if (autoresizesSubviews_) {
        resizeSubviews(oldSize);
    }
    setNeedsLayout();
}

void UIView::resizeSubviews(const CGSize& oldSize) {
    for (const auto& subview : std::vector(subviews_)) {
        const unsigned mask = subview->autoresizingMask_;
        if (mask == UIViewAutoresizingNone) {
            continue;
        }
        CGRect frame = subview->frame();
        resizeSpan(frame.origin.x, frame.size.width, oldSize.width, bounds_.size.width,
                   mask & UIViewAutoresizingFlexibleLeftMargin,
                   mask & UIViewAutoresizingFlexibleWidth,
                   mask & UIViewAutoresizingFlexibleRightMargin);
        resizeSpan(frame.origin.y, frame.size.height, oldSize.height, bounds_.size.height,
                   mask & UIViewAutoresizingFlexibleTopMargin,
                   mask & UIViewAutoresizingFlexibleHeight,
                   mask & UIViewAutoresizingFlexibleBottomMargin);
        subview->setFrame(frame);
    }
}

void UIView::setAlpha(double alpha) {
    requireMainThread("setAlpha");
    UIViewAnimation::noteChange(*this, "alpha");
    alpha_ = std::clamp(alpha, 0.0, 1.0);
}

void UIView::setCenter(const CGPoint& center) {
    requireMainThread("setCenter");
    UIViewAnimation::noteChange(*this, "center");
    center_ = center;
}

void UIView::setTransform(const CGAffineTransform& transform) {
    if (layer_) {
        // The layer tells the view (layerTransformDidChange).
        layer_->setTransform(CATransform3DMakeAffineTransform(transform));
        return;
    }
    layerTransformDidChange(CATransform3DMakeAffineTransform(transform));
}

void UIView::layerTransformDidChange(const CATransform3D& transform) {
    requireMainThread("setTransform");
    UIViewAnimation::noteChange(*this, "transform");
    transform_ = CATransform3DGetAffineTransform(transform);
}

void UIView::setBackgroundColor(std::shared_ptr<UIColor> color) {
    requireMainThread("setBackgroundColor");
    UIViewAnimation::noteChange(*this, "backgroundColor");
    backgroundColor_ = std::move(color);
}

std::shared_ptr<CALayer> UIView::layer() const {
    if (!layer_) {
        layer_ = CALayer::layer();
        layer_->setTransform(CATransform3DMakeAffineTransform(transform_));
        layer_->setTransformObserver(
            [weakView = std::weak_ptr<UIView>(sharedSelf())](const CATransform3D& t) {
                if (auto view = weakView.lock()) {
                    view->layerTransformDidChange(t);
                }
            });
    }
    return layer_;
}

// The tree

std::shared_ptr<UIView> UIView::sharedSelf() const {
    return std::const_pointer_cast<UIView>(
        std::static_pointer_cast<const UIView>(weak_from_this().lock()));
}

std::shared_ptr<UIWindow> UIView::window() const {
    std::shared_ptr<UIView> root;
    for (auto parent = superview(); parent; parent = parent->superview()) {
        root = parent;
    }
    // A view without a superview is in no window; UIWindow answers for itself.
    return root ? root->window() : nullptr;
}

long UIView::indexOfSubview(const UIView* view) const {
    for (size_t i = 0; i < subviews_.size(); ++i) {
        if (subviews_[i].get() == view) {
            return long(i);
        }
    }
    return -1;
}

void UIView::detachFromSuperview() {
    if (const auto parent = superview_.lock()) {
        std::erase_if(parent->subviews_, [this](const auto& view) { return view.get() == this; });
    }
    superview_.reset();
}

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
    insertSubviewAtIndex(view, long(subviews_.size()));
}

void UIView::insertSubviewAtIndex(const std::shared_ptr<UIView>& view, long index) {
    requireMainThread("insertSubviewAtIndex");
    // Copies: `view` may refer into a list that changes below, and hooks may drop the last
    // other owner of either view.
    const std::shared_ptr<UIView> child = view;
    const std::shared_ptr<UIView> keepAlive = sharedSelf();
    if (!child || isDescendantOfView(child.get())) {
        return;
    }
    const auto clampedIndex = [this](long wanted) {
        return subviews_.begin() + std::clamp(wanted, 0L, long(subviews_.size()));
    };
    if (child->superview().get() == this) {
        child->detachFromSuperview();
        subviews_.insert(clampedIndex(index), child);
        child->superview_ = keepAlive;
        return;
    }

    const auto oldWindow = child->window();
    const auto newWindow = window();
    const bool windowChanges = oldWindow != newWindow;
    if (const auto oldParent = child->superview()) {
        oldParent->willRemoveSubview(child.get());
    }
    child->willMoveToSuperview(this);
    if (windowChanges) {
        child->notifyWindowChange(newWindow.get(), true);
    }
    child->detachFromSuperview();
    subviews_.insert(clampedIndex(index), child);
    child->superview_ = keepAlive;
    if (windowChanges) {
        child->notifyWindowChange(newWindow.get(), false);
    }
    child->didMoveToSuperview();
    didAddSubview(child.get());
}

void UIView::insertSubviewNextTo(const std::shared_ptr<UIView>& view,
                                 const std::shared_ptr<UIView>& sibling, long offset) {
    if (!view || view == sibling) {
        return;
    }
    long index = indexOfSubview(sibling.get());
    if (index < 0) {
        addSubview(view);
        return;
    }
    // The index the sibling will have once the view has left its old place.
    const long current = indexOfSubview(view.get());
    if (current >= 0 && current < index) {
        --index;
    }
    insertSubviewAtIndex(view, index + offset);
}

void UIView::insertSubviewAboveSubview(const std::shared_ptr<UIView>& view,
                                       const std::shared_ptr<UIView>& sibling) {
    insertSubviewNextTo(view, sibling, 1);
}

void UIView::insertSubviewBelowSubview(const std::shared_ptr<UIView>& view,
                                       const std::shared_ptr<UIView>& sibling) {
    insertSubviewNextTo(view, sibling, 0);
}

void UIView::removeFromSuperview() {
    requireMainThread("removeFromSuperview");
    const auto parent = superview();
    if (!parent) {
        return;
    }
    const std::shared_ptr<UIView> keepAlive = sharedSelf();
    const auto oldWindow = window();
    parent->willRemoveSubview(this);
    willMoveToSuperview(nullptr);
    if (oldWindow) {
        notifyWindowChange(nullptr, true);
    }
    detachFromSuperview();
    if (oldWindow) {
        notifyWindowChange(nullptr, false);
    }
    didMoveToSuperview();
}

void UIView::notifyWindowChange(UIWindow* newWindow, bool before) {
    if (before) {
        // A view leaving the screen cannot go on taking the keyboard's keys.
        if (!newWindow && isFirstResponder()) {
            resignFirstResponder();
        }
        willMoveToWindow(newWindow);
    } else {
        didMoveToWindow();
        if (auto controller = std::dynamic_pointer_cast<UIViewController>(viewController_.lock())) {
            controller->rootViewDidMoveToWindow(newWindow != nullptr);
        }
    }
    for (const auto& subview : std::vector(subviews_)) {
        subview->notifyWindowChange(newWindow, before);
    }
}

bool UIView::endEditing(bool force) {
    const auto responder = std::dynamic_pointer_cast<UIView>(UIKeyboard::shared().firstResponder());
    if (!responder || !responder->isDescendantOfView(this)) {
        return true;
    }
    return force ? UIKeyboard::shared().forceResign(*responder) : responder->resignFirstResponder();
}

void UIView::bringSubviewToFront(const std::shared_ptr<UIView>& view) {
    requireMainThread("bringSubviewToFront");
    if (view && indexOfSubview(view.get()) >= 0) {
        insertSubviewAtIndex(view, long(subviews_.size()));
    }
}

void UIView::sendSubviewToBack(const std::shared_ptr<UIView>& view) {
    requireMainThread("sendSubviewToBack");
    if (view && indexOfSubview(view.get()) >= 0) {
        insertSubviewAtIndex(view, 0);
    }
}

void UIView::exchangeSubviewAtIndexWithSubviewAtIndex(long index1, long index2) {
    const long count = long(subviews_.size());
    if (index1 < 0 || index2 < 0 || index1 >= count || index2 >= count) {
        return;
    }
    std::swap(subviews_[size_t(index1)], subviews_[size_t(index2)]);
}

bool UIView::isDescendantOfView(const UIView* view) const {
    if (!view) {
        return false;
    }
    std::shared_ptr<UIView> holder;
    for (const UIView* current = this; current; current = holder.get()) {
        if (current == view) {
            return true;
        }
        holder = current->superview();
    }
    return false;
}

std::shared_ptr<UIView> UIView::viewWithTag(long tag) {
    if (tag_ == tag) {
        return sharedSelf();
    }
    for (const auto& subview : subviews_) {
        if (auto found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

// Coordinate conversion

CGAffineTransform UIView::transformToSuperview() const {
    // Into the view's own centred space, through its transform, then out at its centre.
    const CGPoint boundsCentre{bounds_.origin.x + bounds_.size.width / 2,
                               bounds_.origin.y + bounds_.size.height / 2};
    return CGAffineTransformConcat(
        CGAffineTransformConcat(CGAffineTransformMakeTranslation(-boundsCentre.x, -boundsCentre.y),
                                transform_),
        CGAffineTransformMakeTranslation(center_.x, center_.y));
}

CGAffineTransform UIView::transformToAncestor(const UIView* ancestor) const {
    CGAffineTransform result = CGAffineTransformIdentity;
    std::shared_ptr<UIView> holder;
    for (const UIView* current = this; current != ancestor; current = holder.get()) {
        holder = current->superview();
        if (!holder) {
            break;
        }
        result = CGAffineTransformConcat(result, current->transformToSuperview());
    }
    return result;
}

CGAffineTransform UIView::transformToView(const UIView* view) const {
    // Meet at the nearest common ancestor, so that nearby views convert without the error
    // of a trip through the root; views of different trees meet at window coordinates.
    const UIView* common = nullptr;
    std::shared_ptr<UIView> holder;
    for (const UIView* current = this; view && current; current = holder.get()) {
        if (view->isDescendantOfView(current)) {
            common = current;
            break;
        }
        holder = current->superview();
    }
    const CGAffineTransform up = transformToAncestor(common);
    if (!view) {
        return up;
    }
    return CGAffineTransformConcat(up, CGAffineTransformInvert(view->transformToAncestor(common)));
}

CGPoint UIView::convertPointToView(const CGPoint& point, const UIView* view) const {
    return CGPointApplyAffineTransform(point, transformToView(view));
}

CGPoint UIView::convertPointFromView(const CGPoint& point, const UIView* view) const {
    const CGAffineTransform t =
        view ? view->transformToView(this) : CGAffineTransformInvert(transformToView(nullptr));
    return CGPointApplyAffineTransform(point, t);
}

CGRect UIView::convertRectToView(const CGRect& rect, const UIView* view) const {
    return CGRectApplyAffineTransform(rect, transformToView(view));
}

CGRect UIView::convertRectFromView(const CGRect& rect, const UIView* view) const {
    const CGAffineTransform t =
        view ? view->transformToView(this) : CGAffineTransformInvert(transformToView(nullptr));
    return CGRectApplyAffineTransform(rect, t);
}

// Hit testing

bool UIView::pointInsideWithEvent(const CGPoint& point, const UIEvent* event) const {
    return CGRectContainsPoint(bounds_, point);
}

std::shared_ptr<UIView> UIView::hitTestWithEvent(const CGPoint& point, const UIEvent* event) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01 ||
        !pointInsideWithEvent(point, event)) {
        return nullptr;
    }
    const auto subviews = subviews_;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        const CGPoint local = (*it)->convertPointFromView(point, this);
        if (auto hit = (*it)->hitTestWithEvent(local, event)) {
            return hit;
        }
    }
    return sharedSelf();
}

// Gesture recognisers

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
    requireMainThread("addGestureRecognizer");
    if (!recognizer) {
        return;
    }
    const auto keepAlive = recognizer;
    if (const auto previous = recognizer->view()) {
        previous->removeGestureRecognizer(recognizer);
    }
    gestureRecognizers_.push_back(recognizer);
    recognizer->setView(sharedSelf());
}

void UIView::removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
    requireMainThread("removeGestureRecognizer");
    const auto found =
        std::find(gestureRecognizers_.begin(), gestureRecognizers_.end(), recognizer);
    if (found == gestureRecognizers_.end()) {
        return;
    }
    const auto keepAlive = recognizer;
    gestureRecognizers_.erase(found);
    recognizer->setView(nullptr);
}

// Layout

void UIView::setHidden(bool hidden) {
    requireMainThread("setHidden");
    hidden_ = hidden;
}

void UIView::setNeedsDisplay() {
    requireMainThread("setNeedsDisplay");
    needsDisplay_ = true;
}

void UIView::setNeedsLayout() {
    requireMainThread("setNeedsLayout");
    needsLayout_ = true;
}

void UIView::layoutIfNeeded() {
    requireMainThread("layoutIfNeeded");
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    for (const auto& subview : std::vector(subviews_)) {
        subview->layoutIfNeeded();
    }
}

void UIView::sizeToFit() {
    // The frame's top-left corner stays where it is, as callers placing a label expect.
    CGRect frame = this->frame();
    frame.size = sizeThatFits(bounds_.size);
    setFrame(frame);
}

// Responder chain and description

std::shared_ptr<UIResponder> UIView::nextResponder() const {
    if (auto controller = viewController_.lock()) {
        return controller;
    }
    return superview();
}

std::string UIView::description() const {
    const CGRect f = frame();
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "; frame = (%g %g; %g %g)", f.origin.x, f.origin.y,
                  f.size.width, f.size.height);
    std::string text = "<" + className() + buffer;
    if (hidden_) {
        text += "; hidden = YES";
    }
    if (alpha_ != 1) {
        std::snprintf(buffer, sizeof buffer, "; alpha = %g", alpha_);
        text += buffer;
    }
    if (tag_ != 0) {
        std::snprintf(buffer, sizeof buffer, "; tag = %ld", tag_);
        text += buffer;
    }
    return text + ">";
}
