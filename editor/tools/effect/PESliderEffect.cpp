#include "editor/tools/effect/PESliderEffect.h"

#include "app/categories/UIView+UIViewx.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEToolSlider.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UISlider.h"

namespace {
constexpr double kSliderWidth = 260, kSliderHeight = 30, kStripWidth = 280;
constexpr double kBottomGap = 30;
constexpr double kRightGap = 20;

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
    auto slider =
        PEToolSlider::sliderInContainer(*containerView_, CGSizeMake(kSliderWidth, kSliderHeight),
                                        kStripWidth, continuousSliders(), value, minimum, maximum);
    slider->addTargetActionForControlEvents(
        self<PESliderEffect>(), &PESliderEffect::sliderDidChange, UIControlEventValueChanged);
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
    PEToolSlider::placeUprightAbove(slider, UIViewx::width(*containerView_) - kRightGap, below);
}
