#include "editor/tools/effect/PEPixellateEffect.h"

#include "app/categories/UIDevice+SystemVersion.h"
#include "editor/PECoreImageRender.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIImage.h"
#include "platform/coreimage/CIVector.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"

#include <algorithm>
#include <optional>

namespace {
// Whether a row of `width` 4-byte pixels holds a visible pixel, and the first and last.
struct RowSpan {
    size_t first;
    size_t last;
};
std::optional<RowSpan> visibleSpan(const uint8_t* row, size_t width) {
    // Pixels are B, G, R, A in memory: alpha is each pixel's fourth byte.
    size_t first = 0;
    while (first < width && row[first * 4 + 3] == 0) {
        ++first;
    }
    if (first == width) {
        return std::nullopt;
    }
    size_t last = width - 1;
    while (row[last * 4 + 3] == 0) {
        --last;
    }
    return RowSpan{first, last};
}
} // namespace

std::string PEPixellateEffect::ClassMethods::defaultTitle(const Class&) const {
    return PEImageEditorTheme::localizedStringWithDefault("PEPixellateEffect_DefaultTitle",
                                                          "Pixelate");
}

bool PEPixellateEffect::ClassMethods::isAvailable(const Class&) const {
    return SystemVersion::iosVersion() >= 6.0;
}

void PEPixellateEffect::setUserInterface() {
    radiusSlider_ = sliderWithValueMinimumValueMaximumValue(0.5, 0, 1);
    placeAtBottom(*radiusSlider_);
}

CGRect PEPixellateEffect::clippingRectForTransparentSpace(const CGImageRef& image) {
    if (!image || image->isMask() || image->width() == 0 || image->height() == 0) {
        return CGRectZero;
    }
    const CGRect whole = CGRectMake(0, 0, static_cast<CGFloat>(image->width()),
                                    static_cast<CGFloat>(image->height()));
    if (image->format() != CGImagePixelFormat::ARGB32Premultiplied) {
        return whole;
    }
    // Rows lie bytesPerRow apart, which may be more than the pixels they hold.
    std::optional<size_t> top, bottom;
    size_t left = image->width(), right = 0;
    for (size_t y = 0; y < image->height(); ++y) {
        const auto span = visibleSpan(image->data() + y * image->bytesPerRow(), image->width());
        if (!span) {
            continue;
        }
        top = top.value_or(y);
        bottom = y;
        left = std::min(left, span->first);
        right = std::max(right, span->last);
    }
    if (!top) {
        return CGRectZero;
    }
    return CGRectMake(static_cast<CGFloat>(left), static_cast<CGFloat>(*top),
                      static_cast<CGFloat>(right - left + 1),
                      static_cast<CGFloat>(*bottom - *top + 1));
}

PEEffectBase::Render PEPixellateEffect::render() const {
    return [amount = radiusSlider_->value()](const std::shared_ptr<UIImage>& image) {
        auto filter = PECoreImageRender::filterForImage("CIPixellate", image);
        if (!filter) {
            return std::shared_ptr<UIImage>();
        }
        const CGSize size = image->size();
        // A block is at least a pixel: a side of 0 has no meaning.
        const double scale = std::max(1.0, std::min(size.width, size.height) * 0.1 * amount);
        filter->setValueForKey(NSNumber::numberWithDouble(scale), "inputScale");
        filter->setValueForKey(CIVector::vectorWithXY(size.width * 0.5, size.height * 0.5),
                               "inputCenter");
        // The filter repeats the picture's edge out to whole blocks; kept to the picture,
        // all of that is transparent, so only the picture's own extent is rendered (what
        // lies around it would be cut away below in any case).
        const auto input =
            std::dynamic_pointer_cast<CIImage>(filter->valueForKey(kCIInputImageKey));
        const auto output = filter->outputImage();
        const auto kept = output ? output->imageByCroppingToRect(input->extent()) : nullptr;
        auto rendered =
            kept ? PECoreImageRender::renderedImage(kept, kept->extent(), "PEPixellateEffect")
                 : nullptr;
        if (!rendered) {
            return rendered;
        }
        const CGRect visible = clippingRectForTransparentSpace(rendered->cgImage());
        if (CGRectIsEmpty(visible)) {
            // Nothing to show: the picture stays as it was rather than vanish.
            return image;
        }
        if (CGSizeEqualToSize(visible.size, rendered->size())) {
            return rendered;
        }
        return Utility::crop(rendered, visible);
    };
}
