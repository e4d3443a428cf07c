#include "editor/tools/effect/PEBloomEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"

#include <algorithm>
#include <string>

std::string PEBloomEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEBloomEffect_DefaultTitle", "Bloom");
}

bool PEBloomEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 6.0;
}

const char* PEBloomEffect::filterName() const {
    return "CIBloom";
}

void PEBloomEffect::setUserInterface() {
    radiusSlider_ = sliderWithValueMinimumValueMaximumValue(0.5, 0, 1);
    placeAtBottom(*radiusSlider_);
    intensitySlider_ = sliderWithValueMinimumValueMaximumValue(1, 0, 1);
    placeUprightAbove(*intensitySlider_, *radiusSlider_);
}

PEEffectBase::Render PEBloomEffect::render() const {
    return [name = std::string(filterName()), effect = className(), radius = radiusSlider_->value(),
            intensity = intensitySlider_->value()](const std::shared_ptr<UIImage>& image) {
        auto filter = filterWithNameForImage(name, image);
        if (!filter) {
            return std::shared_ptr<UIImage>();
        }
        const CGSize size = image->size();
        filter->setValueForKey(NSNumber::numberWithDouble(static_cast<float>(
                                   radius * std::min(size.width, size.height) * 0.05)),
                               "inputRadius");
        filter->setValueForKey(NSNumber::numberWithDouble(intensity), "inputIntensity");
        auto rendered = renderedImage(*filter, effect.c_str());
        if (!rendered) {
            return rendered;
        }
        // The render is in pixels: the picture's pixels, not its points, are cut back out,
        // so that a picture of scale 2 keeps all of itself.
        const double w = size.width * image->scale(), h = size.height * image->scale();
        const CGSize out = rendered->size();
        return Utility::crop(rendered, CGRectMake((out.width - w) / 2, (out.height - h) / 2, w, h));
    };
}
