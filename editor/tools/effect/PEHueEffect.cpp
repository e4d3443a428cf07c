#include "editor/tools/effect/PEHueEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PEImageEditorTheme.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIView.h"

#include <numbers>

std::string PEHueEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEHueEffect_DefaultTitle", "Hue");
}

bool PEHueEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

void PEHueEffect::initWithSuperViewImageViewFrameToolInfo(
    const std::shared_ptr<UIView>& superView, const CGRect& imageViewFrame,
    const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    PESliderEffect::initWithSuperViewImageViewFrameToolInfo(superView, imageViewFrame, toolInfo);
    containerView()->setClipsToBounds(true);
}

void PEHueEffect::setUserInterface() {
    hueSlider_ = sliderWithValueMinimumValueMaximumValue(0, -std::numbers::pi, std::numbers::pi);
    placeAtBottom(*hueSlider_);
}

PEEffectBase::Render PEHueEffect::render() const {
    return filterRender("CIHueAdjust", "inputAngle", hueSlider_->value());
}
