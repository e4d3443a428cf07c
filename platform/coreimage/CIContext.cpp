#include "platform/coreimage/CIContext.h"

#include "platform/coreimage/CIImage.h"
#include "platform/coreimage/CIImagePipeline.h"
#include "platform/coreimage/VipsRuntime.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/CGContext.h"

#include <cmath>
#include <new>
#include <vector>

using vips::VImage;

namespace {
// The largest side of a bitmap, and the most pixels one may hold: no bigger than a
// context can draw, so that a bad region never asks for gigabytes.
constexpr CGFloat kMaxSide = 65536;
constexpr CGFloat kMaxPixels = CGContext::kMaxPixels;

// 0...1 samples as rounded bytes; the cast clips what lies outside.
VImage toBytes(const VImage& samples) {
    return samples.linear(255.0, 0.5).cast(VIPS_FORMAT_UCHAR);
}

// Float samples as the bitmap's premultiplied B, G, R, A bytes.
VImage bitmapBytes(const CIImagePipeline& pipeline, bool inside) {
    // Opaque pixels need alpha added only where transparent margins come in.
    if (pipeline.alpha() == CIAlpha::Opaque && inside) {
        const VImage rgb = toBytes(pipeline.pixels());
        return VImage::bandjoin({rgb[2], rgb[1], rgb[0]}).bandjoin_const({255.0});
    }
    VImage rgba;
    if (pipeline.alpha() == CIAlpha::Premultiplied) {
        rgba = toBytes(pipeline.pixels());
    } else {
        // Colour is clipped to 0...1 before it is multiplied by alpha, so that no channel
        // ever exceeds its alpha.
        rgba = toBytes(pipeline.straight())
                   .premultiply(VImage::option()->set("max_alpha", 255.0))
                   .linear(1.0, 0.5)
                   .cast(VIPS_FORMAT_UCHAR);
    }
    return VImage::bandjoin({rgba[2], rgba[1], rgba[0], rgba[3]});
}

// The pixels of `region` (whole pixels, engine coordinates) of `image` as the bitmap's
// premultiplied B, G, R, A bytes.
VImage regionBytes(const CIImage& image, const CGRect& region) {
    const CIImagePipeline& pipeline = image.pipeline();
    const CGRect& extent = image.extent();
    const int left = static_cast<int>(CGRectGetMinX(region) - CGRectGetMinX(extent));
    const int top = static_cast<int>(CGRectGetMaxY(extent) - CGRectGetMaxY(region));
    const int width = static_cast<int>(CGRectGetWidth(region));
    const int height = static_cast<int>(CGRectGetHeight(region));
    const bool inside = CGRectContainsRect(extent, region);

    const VImage bytes = pipeline.bytes() ? *pipeline.bytes() : bitmapBytes(pipeline, inside);
    if (CGRectEqualToRect(region, extent)) {
        return bytes;
    }
    if (inside) {
        return bytes.extract_area(left, top, width, height);
    }
    // Transparent black around the extent.
    return bytes.embed(
        -left, -top, width, height,
        VImage::option()->set("extend", VIPS_EXTEND_BACKGROUND)->set("background", 0.0));
}
} // namespace

std::shared_ptr<CIContext> CIContext::contextWithOptions(const CIContextOptions& options) {
    return make<CIContext>(options);
}

CGImageRef CIContext::createCGImageFromRect(const std::shared_ptr<CIImage>& image,
                                            const CGRect& rect) const {
    if (!image) {
        NSLog("CIContext: no image to render");
        return nullptr;
    }
    const CGRect region = CGRectIntegral(CGRectStandardize(rect));
    const bool finite = std::isfinite(region.origin.x) && std::isfinite(region.origin.y) &&
                        std::isfinite(region.size.width) && std::isfinite(region.size.height);
    if (CGRectIsNull(rect) || !finite || CGRectIsEmpty(region) ||
        CGRectGetWidth(region) > kMaxSide || CGRectGetHeight(region) > kMaxSide ||
        CGRectGetWidth(region) * CGRectGetHeight(region) > kMaxPixels ||
        std::abs(CGRectGetMinX(region)) > 1e9 || std::abs(CGRectGetMinY(region)) > 1e9) {
        NSLog("CIContext: nothing to render in %s", NSStringFromCGRect(rect));
        return nullptr;
    }
    const auto width = static_cast<size_t>(CGRectGetWidth(region));
    const auto height = static_cast<size_t>(CGRectGetHeight(region));
    try {
        // A region beside the image holds only transparent pixels.
        if (CGRectIsEmpty(CGRectIntersection(region, image->extent()))) {
            return CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied,
                                   width * 4, std::vector<uint8_t>(width * height * 4));
        }
        // Rendered straight into the bitmap's memory, on libvips' worker threads.
        return CGImage::createFilled(
            width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
            [&](uint8_t* pixels) {
                try {
                    const VImage bytes = regionBytes(*image, region);
                    VipsImage* target = vips_image_new_from_memory(
                        pixels, width * height * 4, static_cast<int>(width),
                        static_cast<int>(height), 4, VIPS_FORMAT_UCHAR);
                    VipsRuntime::handOver();
                    const bool written = target && vips_image_write(bytes.get_image(), target) == 0;
                    VipsRuntime::takeOver();
                    if (target) {
                        g_object_unref(target);
                    }
                    if (!written) {
                        throw vips::VError();
                    }
                    return true;
                } catch (const vips::VError& error) {
                    NSLog("CIContext: render failed: %s", error.what());
                    vips_error_clear();
                    return false;
                }
            });
    } catch (const std::bad_alloc&) {
        NSLog("CIContext: no memory for %s", NSStringFromCGRect(region));
        return nullptr;
    }
}
