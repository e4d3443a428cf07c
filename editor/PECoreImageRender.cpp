#include "editor/PECoreImageRender.h"

#include "platform/coreimage/CIContext.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIImage.h"
#include "platform/uikit/UIImage.h"

namespace PECoreImageRender {

std::shared_ptr<UIImage> renderedImage(const CIFilter& filter) {
    auto output = filter.outputImage();
    if (!output) {
        return nullptr;
    }
    auto context = CIContext::contextWithOptions({.useSoftwareRenderer = false});
    return UIImage::imageWithCGImage(context->createCGImageFromRect(output, output->extent()));
}

} // namespace PECoreImageRender
