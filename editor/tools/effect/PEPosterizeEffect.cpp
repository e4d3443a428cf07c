#include "editor/tools/effect/PEPosterizeEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PEImageEditorTheme.h"
#include "platform/uikit/UISlider.h"

std::string PEPosterizeEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEPosterizeEffect_DefaultTitle",
                                                          "Posterize");
}

bool PEPosterizeEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 6.0;
}

void PEPosterizeEffect::setUserInterface() {
    levelSlider_ = sliderWithValueMinimumValueMaximumValue(-4, -10, -2);
    placeAtBottom(*levelSlider_);
}

PEEffectBase::Render PEPosterizeEffect::render() const {
    // Sliding right coarsens: the levels are the value negated.
    return filterRender("CIColorPosterize", "inputLevels", -levelSlider_->value());
}
