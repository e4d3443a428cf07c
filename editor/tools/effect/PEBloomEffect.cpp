#include "editor/tools/effect/PEBloomEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIImage.h"
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
        auto filter = PECoreImageRender::filterForImage(name, image);
        if (!filter) {
            return std::shared_ptr<UIImage>();
        }
        const CGSize size = image->size();
        filter->setValueForKey(NSNumber::numberWithDouble(static_cast<float>(
                                   radius * std::min(size.width, size.height) * 0.05)),
                               "inputRadius");
        filter->setValueForKey(NSNumber::numberWithDouble(intensity), "inputIntensity");
        // The glow grows the output beyond the picture on every side alike; the picture's
        // own pixels (not its points, so that a picture of scale 2 keeps all of itself) are
        // rendered out of its middle, with no copy of the rest.
        const auto output = filter->outputImage();
        if (!output) {
            return std::shared_ptr<UIImage>();
        }
        const double w = size.width * image->scale(), h = size.height * image->scale();
        const CGRect all = output->extent();
        return PECoreImageRender::renderedImage(
            output,
            CGRectMake(CGRectGetMinX(all) + (CGRectGetWidth(all) - w) / 2,
                       CGRectGetMinY(all) + (CGRectGetHeight(all) - h) / 2, w, h),
            effect);
    };
}
