#include "app/FreeEditMixView.h"

#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UITouch.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<FreeEditMixView> FreeEditMixView::initWithFrame(const CGRect& frame) {
    auto card = make<FreeEditMixView>();
    card->setFrame(frame);
    card->initShowImageView();
    return card;
}

void FreeEditMixView::initShowImageView() {
    const CGSize size = frame().size;
    showImageView_ = UIImageView::initWithFrame(CGRectMake(0, 0, size.width, size.height));
    showImageView_->setUserInteractionEnabled(true);
    auto layer = showImageView_->layer();
    layer->setShadowColor(CGColorMake(0, 0, 0, 1));
    layer->setShadowOffset(CGSizeMake(-1, -1));
    layer->setShadowOpacity(1.0f);
    layer->setBorderColor(CGColorMake(1, 1, 1, 1));
    layer->setBorderWidth(1.0);
    addSubview(showImageView_);
}

void FreeEditMixView::showOverlayWithFrame(const CGRect& frame) {
    setBounds(frame);
    showImageView_->layer()->setShadowOffset(CGSizeMake(0, -1));
}

CGFloat FreeEditMixView::angleBetweenPoint1AndPoint2(const CGPoint& point1, const CGPoint& point2) {
    return std::atan2(point1.y - point2.y, point1.x - point2.x);
}

float FreeEditMixView::distanceBetweenPoint1AndPoint2(const CGPoint& point1,
                                                      const CGPoint& point2) {
    return static_cast<float>(std::hypot(point1.x - point2.x, point1.y - point2.y));
}

float FreeEditMixView::photoScale() const {
    // Scale and turn only ever multiply the photo's transform: its first column is the
    // scale times (cos, sin) of the turn.
    const CGAffineTransform transform = showImageView_->transform();
    return static_cast<float>(std::hypot(transform.a, transform.b));
}

std::shared_ptr<UIView> FreeEditMixView::hitTestWithEvent(const CGPoint& point,
                                                          const UIEvent* event) {
    auto hit = UIView::hitTestWithEvent(point, event);
    return hit == showImageView_ ? hit : nullptr;
}

bool FreeEditMixView::isOnPhoto(const UITouch& touch) const {
    return showImageView_->pointInsideWithEvent(touch.locationInView(showImageView_.get()),
                                                nullptr);
}

void FreeEditMixView::touchesBeganWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (touches.empty()) {
        return;
    }
    const auto& touch = **touches.begin();
    const auto parent = superview();
    if (touch.tapCount() == 1 && isOnPhoto(touch) && parent) {
        parent->bringSubviewToFront(self<FreeEditMixView>());
    }
}

void FreeEditMixView::touchesMovedWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (touches.size() == 2) {
        followFingers(**touches.begin(), **std::next(touches.begin()));
        return;
    }
    if (touches.size() != 1) {
        return;
    }
    const auto& touch = **touches.begin();
    if (!isOnPhoto(touch)) {
        return;
    }
    const CGPoint now = touch.locationInView(this), before = touch.previousLocationInView(this);
    const CGPoint centre = center();
    setCenter(CGPointMake(centre.x + now.x - before.x, centre.y + now.y - before.y));
}

void FreeEditMixView::followFingers(const UITouch& first, const UITouch& second) {
    const CGPoint p0 = first.previousLocationInView(this), p1 = second.previousLocationInView(this);
    const CGPoint c0 = first.locationInView(this), c1 = second.locationInView(this);
    const float before = distanceBetweenPoint1AndPoint2(p0, p1);
    const float now = distanceBetweenPoint1AndPoint2(c0, c1);
    if (before >= kMinimumFingerDistance && now >= kMinimumFingerDistance) {
        scalePhotoBy(now / before);
    }
    const float turn = static_cast<float>(angleBetweenPoint1AndPoint2(c0, c1)) -
                       static_cast<float>(angleBetweenPoint1AndPoint2(p0, p1));
    showImageView_->setTransform(CGAffineTransformRotate(showImageView_->transform(), turn));
    showOverlayWithFrame(showImageView_->frame());
}

void FreeEditMixView::scalePhotoBy(float factor) {
    const float scale = photoScale();
    if (scale > 0) {
        factor = std::clamp(factor, kMinimumScale / scale, kMaximumScale / scale);
    }
    showImageView_->setTransform(
        CGAffineTransformScale(showImageView_->transform(), factor, factor));
}

void FreeEditMixView::touchesEndedWithEvent(const UITouchSet& touches, const UIEvent*) {
    if (touches.empty()) {
        return;
    }
    const auto& touch = **touches.begin();
    if (touch.tapCount() == 2 && isOnPhoto(touch)) {
        scalePhotoBy(kDoubleTapScale);
        showOverlayWithFrame(showImageView_->frame());
    }
}
