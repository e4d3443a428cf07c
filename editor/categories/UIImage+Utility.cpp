#include "editor/categories/UIImage+Utility.h"

#include "platform/accelerate/vImageConvolution.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGImage.h"
#include "platform/graphics/ImageOrientation.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

namespace Utility {

namespace {

// A side of a bitmap from a size in points, truncated toward zero; nothing (and a log
// line naming the operation) when that is no pixel, not a number or more than a drawing
// context holds, so no out-of-range value is ever converted to an integer.
std::optional<size_t> bitmapSide(double points, const char* operation) {
    if (!(points >= 1) || points >= double(CGContext::kMaxSide) + 1) {
        NSLog("UIImage(Utility) %s: a side of %g pixels cannot be drawn", operation, points);
        return std::nullopt;
    }
    return static_cast<size_t>(points);
}

bool mirrors(UIImageOrientation orientation) {
    switch (orientation) {
    case UIImageOrientation::UpMirrored:
    case UIImageOrientation::DownMirrored:
    case UIImageOrientation::LeftMirrored:
    case UIImageOrientation::RightMirrored:
        return true;
    default:
        return false;
    }
}

// A premultiplied ARGB bitmap context (y up) of `size` pixels, each side truncated; null
// and a log line for a size no context can have.
CGContextRef argbContext(CGSize size, const char* operation) {
    const auto width = bitmapSide(size.width, operation);
    const auto height = bitmapSide(size.height, operation);
    if (!width || !height) {
        return nullptr;
    }
    return CGBitmapContextCreate(nullptr, *width, *height, 8, 4 * *width,
                                 CGColorSpaceCreateDeviceRGB(),
                                 kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
}

// Draws the picture as shown into `shown`, a rectangle of a bitmap context (y up). What is drawn is
// the stored (unturned) bitmap, into the rectangle of a frame that the orientation's turn carries
// onto the context: the turns are exact quarter turns, so a pixel-aligned picture lands on whole
// pixels. A mirrored orientation is its plain twin applied to the stored bitmap flipped left to
// right within its rectangle.
void drawShown(const CGContextRef& context, const UIImage& image, CGRect shown) {
    const auto w = double(CGBitmapContextGetWidth(context));
    const auto h = double(CGBitmapContextGetHeight(context));
    const double x = shown.origin.x, y = shown.origin.y;
    const double sw = shown.size.width, sh = shown.size.height;
    CGRect stored = shown;
    switch (image.imageOrientation()) {
    case UIImageOrientation::Left:
    case UIImageOrientation::LeftMirrored: // a quarter turn anticlockwise of an h x w frame
        CGContextConcatCTM(context, CGAffineTransformMake(0, 1, -1, 0, w, 0));
        stored = CGRectMake(y, w - x - sw, sh, sw);
        break;
    case UIImageOrientation::Right:
    case UIImageOrientation::RightMirrored: // a quarter turn clockwise of an h x w frame
        CGContextConcatCTM(context, CGAffineTransformMake(0, -1, 1, 0, 0, h));
        stored = CGRectMake(h - y - sh, x, sh, sw);
        break;
    case UIImageOrientation::Down:
    case UIImageOrientation::DownMirrored: // a half turn
        CGContextConcatCTM(context, CGAffineTransformMake(-1, 0, 0, -1, w, h));
        stored = CGRectMake(w - x - sw, h - y - sh, sw, sh);
        break;
    case UIImageOrientation::Up:
    case UIImageOrientation::UpMirrored:
        break;
    }
    if (mirrors(image.imageOrientation())) {
        CGContextConcatCTM(context, CGAffineTransformMake(
                                        -1, 0, 0, 1, 2 * stored.origin.x + stored.size.width, 0));
    }
    CGContextDrawImage(context, stored, image.cgImage());
}

std::shared_ptr<UIImage> imageOfContext(const CGContextRef& context) {
    return UIImage::imageWithCGImage(CGBitmapContextCreateImage(context));
}

// The premultiplied grey of a premultiplied 0xAARRGGBB pixel, with the weights of grey
// bitmap contexts; never above the pixel's alpha, since the weights add up to 256.
uint32_t greyOf(uint32_t argb) {
    const uint32_t r = argb >> 16 & 0xff, g = argb >> 8 & 0xff, b = argb & 0xff;
    return (77 * r + 150 * g + 29 * b + 128) >> 8;
}

// The mask's samples as an image mask reads them: grey pixels as they are, colour ones by
// their grey over black.
CGImageRef imageMaskOf(const CGImage& mask) {
    const size_t width = mask.width(), height = mask.height();
    std::vector<uint8_t> samples(width * height);
    for (size_t y = 0; y < height; ++y) {
        uint8_t* out = samples.data() + y * width;
        if (mask.bytesPerPixel() == 1) {
            std::memcpy(out, mask.data() + y * mask.bytesPerRow(), width);
            continue;
        }
        // Read in place: the grey does not depend on the fourth byte.
        const uint8_t* in = mask.data() + y * mask.bytesPerRow();
        for (size_t x = 0; x < width; ++x, in += 4) {
            uint32_t argb;
            std::memcpy(&argb, in, 4);
            out[x] = static_cast<uint8_t>(greyOf(argb));
        }
    }
    return CGImage::createMask(width, height, width, std::move(samples));
}

// The blur's weights: 255 e^(-d^2 / 2 deviation^2) truncated, d from the middle.
std::vector<int16_t> gaussianWeights(uint32_t side) {
    std::vector<int16_t> weights(side, 255);
    const double half = side / 2;
    const double deviation = half / 3;
    if (side > 1) {
        for (uint32_t i = 0; i < side; ++i) {
            const double d = i - half;
            weights[i] = static_cast<int16_t>(255 * std::exp(-d * d / (2 * deviation * deviation)));
        }
    }
    return weights;
}

} // namespace

std::shared_ptr<UIImage> decode(const std::shared_ptr<UIImage>& image) {
    if (!image) {
        return nullptr;
    }
    // Our pixels are decoded already and never change: an upright picture in a format a
    // redraw would keep is shared, not copied (a camera photo's copy costs more than its
    // decoding).
    const CGImageRef& pixels = image->cgImage();
    if (image->imageOrientation() == UIImageOrientation::Up && !pixels->isMask() &&
        pixels->bytesPerPixel() == 4) {
        return UIImage::imageWithCGImageScaleOrientation(pixels, image->scale(),
                                                         UIImageOrientation::Up);
    }
    UIGraphicsBeginImageContextWithOptions(image->size(), false, image->scale());
    image->drawAtPoint(CGPointMake(0, 0));
    std::shared_ptr<UIImage> decoded = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return decoded;
}

std::shared_ptr<UIImage> fastImageWithData(const std::vector<uint8_t>& data) {
    return decode(UIImage::imageWithData(data));
}

std::shared_ptr<UIImage> fastImageWithContentsOfFile(const std::string& path) {
    return decode(UIImage::imageWithContentsOfFile(path));
}

std::shared_ptr<UIImage> deepCopy(const std::shared_ptr<UIImage>& image) {
    return decode(image);
}

std::shared_ptr<UIImage> grayScaleImage(const std::shared_ptr<UIImage>& image) {
    const CGContextRef context = image ? argbContext(image->size(), "grayScaleImage") : nullptr;
    if (!context) {
        return nullptr;
    }
    const size_t width = CGBitmapContextGetWidth(context);
    const size_t height = CGBitmapContextGetHeight(context);
    drawShown(context, *image, CGRectMake(0, 0, double(width), double(height)));
    auto* pixels = static_cast<uint8_t*>(CGBitmapContextGetData(context));
    for (size_t y = 0; y < height; ++y) {
        uint8_t* pixel = pixels + y * CGBitmapContextGetBytesPerRow(context);
        for (size_t x = 0; x < width; ++x, pixel += 4) {
            uint32_t argb;
            std::memcpy(&argb, pixel, 4);
            argb = (argb & 0xff000000u) | greyOf(argb) * 0x010101u;
            std::memcpy(pixel, &argb, 4);
        }
    }
    return imageOfContext(context);
}

std::shared_ptr<UIImage> resize(const std::shared_ptr<UIImage>& image, CGSize size) {
    const CGContextRef context = image ? argbContext(size, "resize") : nullptr;
    if (!context) {
        return nullptr;
    }
    drawShown(context, *image,
              CGRectMake(0, 0, double(CGBitmapContextGetWidth(context)),
                         double(CGBitmapContextGetHeight(context))));
    return imageOfContext(context);
}

std::shared_ptr<UIImage> aspectFit(const std::shared_ptr<UIImage>& image, CGSize size) {
    if (!image) {
        return nullptr;
    }
    const CGSize own = image->size();
    const double r = std::min(size.width / own.width, size.height / own.height);
    return resize(image, CGSizeMake(own.width * r, own.height * r));
}

std::shared_ptr<UIImage> aspectFill(const std::shared_ptr<UIImage>& image, CGSize size) {
    return aspectFillOffset(image, size, 0);
}

std::shared_ptr<UIImage> aspectFillOffset(const std::shared_ptr<UIImage>& image, CGSize size,
                                          double offset) {
    if (!image) {
        return nullptr;
    }
    if (!std::isfinite(offset) || std::abs(offset) > double(CGContext::kMaxSide)) {
        NSLog("UIImage(Utility) aspectFill: an offset of %g cannot be drawn", offset);
        return nullptr;
    }
    const CGContextRef context = argbContext(size, "aspectFill");
    if (!context) {
        return nullptr;
    }
    const auto boxWidth = static_cast<int64_t>(CGBitmapContextGetWidth(context));
    const auto boxHeight = static_cast<int64_t>(CGBitmapContextGetHeight(context));
    const CGSize own = image->size();
    const double iw = std::max(1.0, std::trunc(own.width));
    const double ih = std::max(1.0, std::trunc(own.height));
    const double r = std::max(double(boxWidth) / iw, double(boxHeight) / ih);
    const auto nw = static_cast<int64_t>(iw * r), nh = static_cast<int64_t>(ih * r);
    int64_t dx = std::abs(nw - boxWidth) / 2;
    int64_t dy = std::abs(nh - boxHeight) / 2;
    // The offset moves the crop along the axis that overflows; all of it in the picture as
    // shown, so that it moves the same way whatever the orientation.
    if (dx == 0) {
        dy = static_cast<int64_t>(double(dy) + offset);
    }
    if (dy == 0) {
        dx = static_cast<int64_t>(double(dx) + offset);
    }
    drawShown(context, *image, CGRectMake(double(-dx), double(-dy), double(nw), double(nh)));
    return imageOfContext(context);
}

std::shared_ptr<UIImage> crop(const std::shared_ptr<UIImage>& image, CGRect rect) {
    if (!image) {
        return nullptr;
    }
    if (!std::isfinite(rect.origin.x) || !std::isfinite(rect.origin.y)) {
        NSLog("UIImage(Utility) crop: the rectangle's origin (%g, %g) is not a point",
              rect.origin.x, rect.origin.y);
        return nullptr;
    }
    // An empty or huge size logs and opens no context: the result is then null.
    UIGraphicsBeginImageContextWithOptions(rect.size, false, image->scale());
    image->drawAtPoint(CGPointMake(-rect.origin.x, -rect.origin.y));
    std::shared_ptr<UIImage> cropped = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return cropped;
}

std::shared_ptr<UIImage> renderedOver(const UIView& view, const std::shared_ptr<UIImage>& image) {
    const double width = view.frame().size.width;
    if (!image || !(width > 0) || view.subviews().empty()) {
        return nullptr;
    }
    const CGSize size = image->size();
    UIGraphicsBeginImageContextWithOptions(size, false, image->scale());
    std::shared_ptr<UIImage> rendered;
    if (const CGContextRef context = UIGraphicsGetCurrentContext()) {
        const double k = size.width / width;
        CGContextScaleCTM(context, k, k);
        ViewRenderer::renderInContext(view, context);
        rendered = UIGraphicsGetImageFromCurrentImageContext();
    }
    UIGraphicsEndImageContext();
    return rendered;
}

std::shared_ptr<UIImage> overlaid(const std::shared_ptr<UIImage>& image,
                                  const std::shared_ptr<UIImage>& over, CGSize size) {
    if (!image) {
        return nullptr;
    }
    UIGraphicsBeginImageContextWithOptions(size, false, image->scale());
    image->drawAtPoint(CGPointZero);
    if (over) {
        over->drawInRect(CGRectMake(0, 0, size.width, size.height));
    }
    std::shared_ptr<UIImage> result = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return result;
}

std::shared_ptr<UIImage> maskedImage(const std::shared_ptr<UIImage>& image,
                                     const std::shared_ptr<UIImage>& mask) {
    if (!image || !mask) {
        return nullptr;
    }
    return UIImage::imageWithCGImage(CGImageCreateWithMask(
        CGImageCreateOriented(image->cgImage(), image->imageOrientation()),
        imageMaskOf(*CGImageCreateOriented(mask->cgImage(), mask->imageOrientation()))));
}

uint32_t gaussBlurKernelSide(CGSize pointSize, double level) {
    level = std::clamp(std::isnan(level) ? 0.0 : level, 0.0, 1.0);
    const double shorter = std::min(pointSize.width, pointSize.height);
    // No kernel is wider than the widest the convolution takes (which no drawable picture
    // reaches), so that no side, however absurd, overflows the count.
    const double widest = double(kvImageMaxBoxKernelSize - 1);
    const double n = shorter > 0 ? std::min(std::trunc(level * 0.1 * shorter), widest) : 0;
    return (static_cast<uint32_t>(n) & ~1u) + 1;
}

std::shared_ptr<UIImage> gaussBlur(const std::shared_ptr<UIImage>& image, double level) {
    std::shared_ptr<UIImage> decoded = decode(image);
    if (!decoded) {
        return nullptr;
    }
    // The decoded pixels are blurred as they are: premultiplied colour and alpha alike, so
    // transparent parts stay transparent and nothing passes through a lossy codec.
    const CGImage& source = *decoded->cgImage();
    const uint32_t side = gaussBlurKernelSide(image->size(), level);
    const std::vector<int16_t> weights = gaussianWeights(side);
    int32_t divisor = 0;
    for (int16_t weight : weights) {
        divisor += weight;
    }
    const size_t rowBytes = source.bytesPerRow();
    std::vector<uint8_t> a(source.data(), source.data() + rowBytes * source.height());
    std::vector<uint8_t> b(a.size());
    const vImage_Buffer bufferA{a.data(), source.height(), source.width(), rowBytes};
    const vImage_Buffer bufferB{b.data(), source.height(), source.width(), rowBytes};
    vImage_Error error = vImageConvolve_ARGB8888(&bufferA, &bufferB, nullptr, 0, 0, weights.data(),
                                                 side, 1, divisor, nullptr, kvImageEdgeExtend);
    if (error == kvImageNoError) {
        error = vImageConvolve_ARGB8888(&bufferB, &bufferA, nullptr, 0, 0, weights.data(), 1, side,
                                        divisor, nullptr, kvImageEdgeExtend);
    }
    if (error != kvImageNoError) {
        NSLog("error from convolution %ld", static_cast<long>(error));
    }
    return UIImage::imageWithCGImage(CGImage::create(source.width(), source.height(),
                                                     CGImagePixelFormat::ARGB32Premultiplied,
                                                     rowBytes, std::move(a)));
}

} // namespace Utility
