#include "platform/coreimage/CIContext.h"

#include "platform/coreimage/CIImage.h"
#include "platform/coreimage/CIImagePipeline.h"
#include "platform/foundation/NSLog.h"

#include <cmath>
#include <vector>

using vips::VImage;

namespace {
// The largest side of a bitmap.
constexpr CGFloat kMaxSide = 65536;

// The rendered R, G, B(, A) bytes (`bands` a pixel, rows packed) as our B, G, R, A.
void copyRows(const uint8_t* in, int bands, std::vector<uint8_t>& out) {
    uint8_t* pixel = out.data();
    const uint8_t* end = out.data() + out.size();
    if (bands == 3) {
        for (; pixel != end; in += 3, pixel += 4) {
            pixel[0] = in[2];
            pixel[1] = in[1];
            pixel[2] = in[0];
            pixel[3] = 255;
        }
    } else {
        for (; pixel != end; in += 4, pixel += 4) {
            pixel[0] = in[2];
            pixel[1] = in[1];
            pixel[2] = in[0];
            pixel[3] = in[3];
        }
    }
}

// 0...1 samples as rounded bytes; the cast clips what lies outside.
VImage toBytes(const VImage& samples) {
    return samples.linear(255.0, 0.5).cast(VIPS_FORMAT_UCHAR);
}

// The pixels of `region` (whole pixels, engine coordinates) of `image` as bytes, colour
// premultiplied (or three opaque bands).
VImage regionBytes(const CIImage& image, const CGRect& region) {
    const CIImagePipeline& pipeline = image.pipeline();
    const CGRect& extent = image.extent();
    const int left = static_cast<int>(CGRectGetMinX(region) - CGRectGetMinX(extent));
    const int top = static_cast<int>(CGRectGetMaxY(extent) - CGRectGetMaxY(region));
    const int width = static_cast<int>(CGRectGetWidth(region));
    const int height = static_cast<int>(CGRectGetHeight(region));
    const bool inside = CGRectContainsRect(extent, region);

    VImage bytes;
    // Opaque pixels need alpha added only where transparent margins come in.
    if (pipeline.alpha() == CIAlpha::Premultiplied ||
        (pipeline.alpha() == CIAlpha::Opaque && inside)) {
        bytes = toBytes(pipeline.pixels());
    } else {
        // Colour is clipped to 0...1 before it is multiplied by alpha, so that no channel
        // ever exceeds its alpha.
        bytes = toBytes(pipeline.straight())
                    .premultiply(VImage::option()->set("max_alpha", 255.0))
                    .linear(1.0, 0.5)
                    .cast(VIPS_FORMAT_UCHAR);
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
        std::abs(CGRectGetMinX(region)) > 1e9 || std::abs(CGRectGetMinY(region)) > 1e9) {
        NSLog("CIContext: nothing to render in %s", NSStringFromCGRect(rect));
        return nullptr;
    }
    const auto width = static_cast<size_t>(CGRectGetWidth(region));
    const auto height = static_cast<size_t>(CGRectGetHeight(region));
    std::vector<uint8_t> pixels(width * height * 4);
    // A region beside the image holds only transparent pixels.
    if (CGRectIsEmpty(CGRectIntersection(region, image->extent()))) {
        return CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
                               std::move(pixels));
    }
    try {
        const VImage bytes = regionBytes(*image, region);
        // libvips fills a buffer of its own on its worker threads, and only this thread
        // touches ours: no memory of ours is shared with threads whose locks (GLib's)
        // thread checkers cannot see.
        size_t size = 0;
        void* rendered = bytes.write_to_memory(&size);
        copyRows(static_cast<const uint8_t*>(rendered), bytes.bands(), pixels);
        g_free(rendered);
    } catch (const vips::VError& error) {
        NSLog("CIContext: render failed: %s", error.what());
        vips_error_clear();
        return nullptr;
    }
    return CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
                           std::move(pixels));
}
