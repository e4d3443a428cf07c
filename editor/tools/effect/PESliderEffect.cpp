#include "editor/tools/effect/PESliderEffect.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/PECoreImageRender.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/foundation/NSNumber.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UISlider.h"

#include <numbers>

namespace {
constexpr double kSliderWidth = 260, kSliderHeight = 30, kStripWidth = 280;
constexpr double kSliderInset = 10;
constexpr double kStripAlpha = 0.3;
constexpr double kBottomGap = 30;
constexpr double kRightGap = 20;
constexpr double kUprightRise = 150;

UIView& stripOf(const UISlider& slider) {
    return *slider.superview();
}
} // namespace

void PESliderEffect::initWithSuperViewImageViewFrameToolInfo(
    const std::shared_ptr<UIView>& superView, const CGRect& imageViewFrame,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    PEEffectBase::initWithSuperViewImageViewFrameToolInfo(superView, imageViewFrame, toolInfo);
    containerView_ = UIView::initWithFrame(superView ? superView->bounds() : CGRectZero);
    if (superView) {
        superView->addSubview(containerView_);
    }
    setUserInterface();
}

void PESliderEffect::cleanup() {
    if (containerView_) {
        containerView_->removeFromSuperview();
    }
}

std::shared_ptr<UISlider>
PESliderEffect::sliderWithValueMinimumValueMaximumValue(float value, float minimum, float maximum) {
    auto slider = UISlider::initWithFrame(CGRectMake(kSliderInset, 0, kSliderWidth, kSliderHeight));
    auto strip = UIView::initWithFrame(CGRectMake(0, 0, kStripWidth, kSliderHeight));
    strip->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, kStripAlpha));
    strip->layer()->setCornerRadius(kSliderHeight / 2);
    slider->setContinuous(continuousSliders());
    slider->addTargetActionForControlEvents(
        self<PESliderEffect>(), &PESliderEffect::sliderDidChange, UIControlEventValueChanged);
    slider->setMaximumValue(maximum);
    slider->setMinimumValue(minimum);
    slider->setValue(value);
    strip->addSubview(slider);
    containerView_->addSubview(strip);
    return slider;
}

void PESliderEffect::sliderDidChange(UISlider&) {
    parameterDidChange();
}

PEEffectBase::Render PESliderEffect::filterRender(const char* filterName, const char* key,
                                                  double value) {
    return [=](const std::shared_ptr<UIImage>& image) {
        auto filter = PECoreImageRender::filterForImage(filterName, image);
        if (!filter) {
            return std::shared_ptr<UIImage>();
        }
        filter->setValueForKey(NSNumber::numberWithDouble(value), key);
        return PECoreImageRender::renderedImage(*filter);
    };
}

void PESliderEffect::placeAtBottom(UISlider& slider) const {
    stripOf(slider).setCenter(CGPointMake(UIViewx::width(*containerView_) * 0.5,
                                          UIViewx::height(*containerView_) - kBottomGap));
}

void PESliderEffect::placeUprightAbove(UISlider& slider, const UISlider& below) const {
    UIView& strip = stripOf(slider);
    strip.setCenter(CGPointMake(UIViewx::width(*containerView_) - kRightGap,
                                UIViewx::top(stripOf(below)) - kUprightRise));
    strip.setTransform(CGAffineTransformMakeRotation(-std::numbers::pi / 2));
}
