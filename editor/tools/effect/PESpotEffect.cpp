#include "editor/tools/effect/PESpotEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "app/categories/UIView+UIViewx.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/tools/effect/PESpotCircle.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIVector.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"
#include "platform/uikit/WeakAction.h"

#include <algorithm>

namespace {
// The spot's size when the current pinch began, plus 0.1. Shared by every spot effect;
// main thread only, as gestures are.
double pinchStartSize = 0;

constexpr double kSizeFloor = 0.1;
constexpr double kRingOverSpot = 1.2;
} // namespace

std::string PESpotEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PESpotEffect_DefaultTitle", "Spot");
}

bool PESpotEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 7.0;
}

void PESpotEffect::initWithSuperViewImageViewFrameToolInfo(
    const std::shared_ptr<UIView>& superView, const CGRect& imageViewFrame,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    PEEffectBase::initWithSuperViewImageViewFrameToolInfo(superView, imageViewFrame, toolInfo);
    containerView_ = UIView::initWithFrame(imageViewFrame);
    if (superView) {
        superView->addSubview(containerView_);
    }
    X_ = Y_ = R_ = 0.5;
    setUserInterface();
}

void PESpotEffect::cleanup() {
    if (containerView_) {
        containerView_->removeFromSuperview();
    }
}

void PESpotEffect::setUserInterface() {
    auto self = this->self<PESpotEffect>();
    auto tap = UITapGestureRecognizer::initWithTargetAction(
        self, weakAction(self, &PESpotEffect::tapContainerView));
    auto pan = UIPanGestureRecognizer::initWithTargetAction(
        self, weakAction(self, &PESpotEffect::panContainerView));
    // Two fingers size the spot; their pinch must not drag it along too.
    pan->setMaximumNumberOfTouches(1);
    auto pinch = UIPinchGestureRecognizer::initWithTargetAction(
        self, weakAction(self, &PESpotEffect::pinchContainerView));
    tap->setDelegate(std::static_pointer_cast<UIGestureRecognizerDelegate>(self));
    pinch->setDelegate(std::static_pointer_cast<UIGestureRecognizerDelegate>(self));
    containerView_->addGestureRecognizer(tap);
    containerView_->addGestureRecognizer(pan);
    containerView_->addGestureRecognizer(pinch);

    circleView_ = PESpotCircle::initWithFrame(CGRectZero);
    circleView_->setBackgroundColor(UIColor::clearColor());
    circleView_->setColor(UIColor::whiteColor());
    containerView_->addSubview(circleView_);
    drawCircleView();
}

void PESpotEffect::drawCircleView() {
    const UIView& container = *containerView_;
    const double diameter = std::min(UIViewx::width(container), UIViewx::height(container)) *
                            (R_ + kSizeFloor) * kRingOverSpot;
    UIViewx::setWidth(*circleView_, static_cast<float>(diameter));
    UIViewx::setHeight(*circleView_, static_cast<float>(diameter));
    circleView_->setCenter(
        CGPointMake(UIViewx::width(container) * X_, UIViewx::height(container) * Y_));
    circleView_->redisplay();
}

void PESpotEffect::moveSpot(UIGestureRecognizer& sender) {
    const CGPoint p = sender.locationInView(containerView_.get());
    const double width = UIViewx::width(*containerView_), height = UIViewx::height(*containerView_);
    // Not a number (an empty picture) counts as the near edge.
    X_ = width > 0 ? std::clamp(p.x / width, 0.0, 1.0) : 0;
    Y_ = height > 0 ? std::clamp(p.y / height, 0.0, 1.0) : 0;
    drawCircleView();
    if (sender.state() == UIGestureRecognizerState::Ended) {
        parameterDidChange();
    }
}

void PESpotEffect::tapContainerView(UIGestureRecognizer& sender) {
    moveSpot(sender);
}

void PESpotEffect::panContainerView(UIGestureRecognizer& sender) {
    moveSpot(sender);
}

void PESpotEffect::pinchContainerView(UIGestureRecognizer& sender) {
    const double scale = static_cast<UIPinchGestureRecognizer&>(sender).scale();
    if (sender.state() == UIGestureRecognizerState::Began) {
        pinchStartSize = R_ + kSizeFloor;
    }
    R_ = std::clamp(pinchStartSize * scale, kSizeFloor, 1 + kSizeFloor) - kSizeFloor;
    drawCircleView();
    if (sender.state() == UIGestureRecognizerState::Ended) {
        parameterDidChange();
    }
}

PEEffectBase::Render PESpotEffect::render() const {
    return [x = X_, y = Y_, r = R_](const std::shared_ptr<UIImage>& image) {
        auto filter = PECoreImageRender::filterForImage("CIVignetteEffect", image);
        if (!filter) {
            return std::shared_ptr<UIImage>();
        }
        const CGSize size = image->size();
        const double s = image->scale();
        // In pixels, with y up as the engine counts it.
        filter->setValueForKey(
            CIVector::vectorWithXY(size.width * s * x, size.height * s * (1 - y)), "inputCenter");
        filter->setValueForKey(NSNumber::numberWithDouble(static_cast<float>(
                                   std::min(size.width, size.height) * s * 0.5 * (r + kSizeFloor))),
                               "inputRadius");
        return PECoreImageRender::renderedImage(*filter);
    };
}
