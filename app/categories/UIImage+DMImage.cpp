#include "app/categories/UIImage+DMImage.h"

#include "platform/accelerate/vImageConvolution.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewRenderer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace DMImage {

namespace {
// The radius in pixels, truncated, made odd: a box always has a centre pixel.
uint32_t boxSide(double pixels) {
    uint32_t side = 0;
    if (pixels >= std::numeric_limits<uint32_t>::max()) {
        side = std::numeric_limits<uint32_t>::max();
    } else if (pixels >= 1) {
        side = static_cast<uint32_t>(pixels);
    }
    return side % 2 == 0 ? side + 1 : side;
}

// The image's pixels as 32-bit rows the convolution takes: a copy of ARGB and RGB images,
// grey ones widened to opaque ARGB.
std::vector<uint8_t> widePixels(const CGImage& image, size_t& rowBytes) {
    if (image.bytesPerPixel() == 4) {
        rowBytes = image.bytesPerRow();
        return {image.data(), image.data() + rowBytes * image.height()};
    }
    rowBytes = image.width() * 4;
    std::vector<uint8_t> pixels(rowBytes * image.height());
    for (size_t y = 0; y < image.height(); ++y) {
        for (size_t x = 0; x < image.width(); ++x) {
            uint32_t argb = image.pixelAt(x, y);
            std::memcpy(pixels.data() + y * rowBytes + x * 4, &argb, 4);
        }
    }
    return pixels;
}
} // namespace

std::shared_ptr<UIImage> imageFromViewWithSize(const std::shared_ptr<UIView>& view, CGSize size) {
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
    if (auto context = UIGraphicsGetCurrentContext(); context && view) {
        CGContextSaveGState(context);
        CGContextTranslateCTM(context, size.width * 0.5, size.height * 0.5);
        CGContextConcatCTM(context, view->transform());
        // Views turn about their centre: their layers' anchor is always the middle.
        CGRect bounds = view->bounds();
        CGContextTranslateCTM(context, -bounds.size.width * 0.5, -bounds.size.height * 0.5);
        ViewRenderer::renderInContext(*view, context);
        CGContextRestoreGState(context);
    }
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<UIImage>
blurredImageWithRadiusIterationsTintColor(const std::shared_ptr<UIImage>& image, double radius,
                                          unsigned iterations,
                                          const std::shared_ptr<UIColor>& tintColor) {
    if (!image) {
        NSLog("blurredImage: no image to blur");
        return nullptr;
    }
    CGSize size = image->size();
    if (std::floor(size.width) * std::floor(size.height) <= 0) {
        return image;
    }
    const CGImage& source = *image->cgImage();
    const uint32_t side = boxSide(radius * image->scale());
    size_t rowBytes = 0;
    std::vector<uint8_t> first = widePixels(source, rowBytes);
    std::vector<uint8_t> second(first.size());
    vImage_Buffer from{first.data(), source.height(), source.width(), rowBytes};
    vImage_Buffer to{second.data(), source.height(), source.width(), rowBytes};

    vImage_Error tempSize =
        vImageBoxConvolve_ARGB8888(&from, &to, nullptr, 0, 0, side, side, nullptr,
                                   kvImageEdgeExtend | kvImageGetTempBufferSize);
    if (tempSize < 0) {
        NSLog("blurredImage: cannot blur with a %u-pixel box (error %ld)", side,
              static_cast<long>(tempSize));
        return nullptr;
    }
    std::vector<uint8_t> temp(static_cast<size_t>(tempSize));
    for (unsigned i = 0; i < iterations; ++i) {
        vImage_Error error = vImageBoxConvolve_ARGB8888(&from, &to, temp.data(), 0, 0, side, side,
                                                        nullptr, kvImageEdgeExtend);
        if (error != kvImageNoError) {
            NSLog("blurredImage: box convolution failed (error %ld)", static_cast<long>(error));
            return nullptr;
        }
        std::swap(from, to);
    }

    const bool opaque = source.format() == CGImagePixelFormat::RGB24;
    auto context = CGBitmapContextCreate(
        from.data, source.width(), source.height(), 8, rowBytes, CGColorSpaceCreateDeviceRGB(),
        (opaque ? kCGImageAlphaNoneSkipFirst : kCGImageAlphaPremultipliedFirst) |
            kCGBitmapByteOrder32Little);
    if (tintColor && tintColor->alpha() > 0) {
        CGContextSetFillColorWithColor(context,
                                       tintColor->colorWithAlphaComponent(0.25)->cgColor());
        CGContextSetBlendMode(context, kCGBlendModePlusLighter);
        CGContextFillRect(context, CGRectMake(0, 0, static_cast<double>(source.width()),
                                              static_cast<double>(source.height())));
    }
    return UIImage::imageWithCGImageScaleOrientation(CGBitmapContextCreateImage(context),
                                                     image->scale(), image->imageOrientation());
}
} // namespace DMImage
