#include "editor/tools/effect/PEHighlightShadowEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PEImageEditorTheme.h"
#include "platform/uikit/UISlider.h"

std::string PEHighlightShadowEffect::ClassMethods::defaultTitle(const Class&) const {
    // The key's spelling is the one translations use.
    return PEImageEditorTheme::localizedStringWithDefault("PEHighlightSadowEffect_DefaultTitle",
                                                          "Highlight");
}

bool PEHighlightShadowEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 5.0;
}

void PEHighlightShadowEffect::setUserInterface() {
    shadowSlider_ = sliderWithValueMinimumValueMaximumValue(0, -1, 1);
    placeAtBottom(*shadowSlider_);
}

PEEffectBase::Render PEHighlightShadowEffect::render() const {
    return filterRender("CIHighlightShadowAdjust", "inputShadowAmount", shadowSlider_->value());
}
