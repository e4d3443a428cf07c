#include "editor/PEToolSlider.h"

#include "editor/PEImageToolHost.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UISlider.h"

namespace PEToolSlider {

std::shared_ptr<UISlider> sliderInContainer(PEImageToolHost& editor, CGSize sliderSize,
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
    editor.view()->addSubview(container);
    return slider;
}

} // namespace PEToolSlider
