#include "editor/PECoreImageRender.h"

#include "platform/coreimage/CIContext.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIImage.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/CIImage+UIKitAdditions.h"
#include "platform/uikit/UIImage.h"

namespace PECoreImageRender {

std::shared_ptr<CIFilter> filterForImage(const std::string& name,
                                         const std::shared_ptr<UIImage>& image) {
    return filterForImage(name, UIKitAdditions::initWithImage(image));
}

std::shared_ptr<CIFilter> filterForImage(const std::string& name,
                                         const std::shared_ptr<CIImage>& input) {
    auto filter = input ? CIFilter::filterWithName(name) : nullptr;
    if (filter) {
        filter->setDefaults();
        filter->setValueForKey(input, kCIInputImageKey);
    }
    return filter;
}

std::shared_ptr<UIImage> renderedImage(const CIFilter& filter) {
    auto output = filter.outputImage();
    if (!output) {
        return nullptr;
    }
    auto context = CIContext::contextWithOptions({.useSoftwareRenderer = false});
    return UIImage::imageWithCGImage(context->createCGImageFromRect(output, output->extent()));
}

std::shared_ptr<UIImage> renderedImage(const std::shared_ptr<CIImage>& image, const CGRect& region,
                                       const std::string& who) {
    auto context = CIContext::contextWithOptions({.useSoftwareRenderer = false});
    auto bitmap = image ? context->createCGImageFromRect(image, region) : nullptr;
    if (!bitmap) {
        NSLog("%@: the picture could not be rendered", who);
        return nullptr;
    }
    return UIImage::imageWithCGImage(bitmap);
}

std::shared_ptr<NSError> failure(const std::string& domain, const std::string& what) {
    return NSError::errorWithDomainCodeUserInfo(domain, 1, {{NSLocalizedDescriptionKey, what}});
}

std::shared_ptr<DispatchQueue> backgroundQueue() {
    return dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0);
}

void renderThenAnswer(Render render, Answer answer, const std::string& domain,
                      const std::string& what) {
    dispatch_async(backgroundQueue(),
                   [render = std::move(render), answer = std::move(answer), domain, what] {
                       auto result = render();
                       dispatch_async(dispatch_get_main_queue(), [result, answer, domain, what] {
                           if (!result) {
                               answer(nullptr, failure(domain, what), nullptr);
                               return;
                           }
                           answer(result, nullptr, nullptr);
                       });
                   });
}

} // namespace PECoreImageRender
