#include "editor/PEToolSlider.h"

#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UISlider.h"

#include <numbers>

namespace {
constexpr double kUprightRise = 150;
} // namespace

namespace PEToolSlider {

std::shared_ptr<UISlider> sliderInContainer(UIView& parent, CGSize sliderSize,
                                            double containerWidth, bool continuous, float value,
                                            float minimum, float maximum) {
    auto slider = UISlider::initWithFrame(CGRectMake(10, 0, sliderSize.width, sliderSize.height));
    auto container = UIView::initWithFrame(CGRectMake(0, 0, containerWidth, sliderSize.height));
    container->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, 0.3));
    container->layer()->setCornerRadius(sliderSize.height / 2);
    slider->setContinuous(continuous);
    slider->setMaximumValue(maximum);
    slider->setMinimumValue(minimum);
    slider->setValue(value);
    container->addSubview(slider);
    parent.addSubview(container);
    return slider;
}

void placeUprightAbove(UISlider& slider, double x, const UISlider& below) {
    auto container = slider.superview();
    container->setCenter(CGPointMake(x, below.superview()->frame().origin.y - kUprightRise));
    container->setTransform(CGAffineTransformMakeRotation(-std::numbers::pi / 2));
}

} // namespace PEToolSlider
