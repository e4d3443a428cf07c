#include "platform/uikit/CIImage+UIKitAdditions.h"

#include "platform/coreimage/CIImage.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/uikit/UIImage.h"

namespace UIKitAdditions {
std::shared_ptr<CIImage> initWithImage(const std::shared_ptr<UIImage>& image) {
    if (!image) {
        return nullptr;
    }
    // An upright picture's own bitmap is read in place; a turned one is turned once here.
    return CIImage::imageWithCGImage(
        CGImageCreateOriented(image->cgImage(), image->imageOrientation()));
}
} // namespace UIKitAdditions
