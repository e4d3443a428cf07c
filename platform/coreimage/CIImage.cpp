#include "platform/coreimage/CIImage.h"

#include "platform/coreimage/CIImagePipeline.h"
#include "platform/coreimage/VipsRuntime.h"
#include "platform/foundation/NSLog.h"

#include <cstring>
#include <vector>

using vips::VImage;

namespace {
// libvips reads the bitmap's memory in place; the bitmap lives until libvips closes the
// last image reading it.
void releaseBitmap(VipsImage*, void* bitmap) {
    delete static_cast<CGImageRef*>(bitmap);
}

// The bitmap's bytes as an image `bytesPerRow / pixel size` wide, cropped to its width, so
// that padded rows need no copy. Rows padded by a part of a pixel cannot be read that way
// and are copied into whole rows first.
VImage bitmapPixels(const CGImageRef& bitmap) {
    const size_t pixelSize = bitmap->bytesPerPixel();
    const int width = static_cast<int>(bitmap->width());
    const int height = static_cast<int>(bitmap->height());
    if (bitmap->bytesPerRow() % pixelSize != 0) {
        std::vector<uint8_t> rows(bitmap->width() * pixelSize * bitmap->height());
        for (size_t y = 0; y < bitmap->height(); ++y) {
            std::memcpy(rows.data() + y * bitmap->width() * pixelSize,
                        bitmap->data() + y * bitmap->bytesPerRow(), bitmap->width() * pixelSize);
        }
        VipsImage* copy =
            vips_image_new_from_memory_copy(rows.data(), rows.size(), width, height,
                                            static_cast<int>(pixelSize), VIPS_FORMAT_UCHAR);
        if (!copy) {
            throw vips::VError();
        }
        return VImage(copy);
    }
    const size_t stride = bitmap->bytesPerRow() / pixelSize;
    VipsImage* image = vips_image_new_from_memory(bitmap->data(), bitmap->bytesPerRow() * height,
                                                  static_cast<int>(stride), height,
                                                  static_cast<int>(pixelSize), VIPS_FORMAT_UCHAR);
    if (!image) {
        throw vips::VError();
    }
    g_signal_connect(image, "postclose", G_CALLBACK(releaseBitmap), new CGImageRef(bitmap));
    // Every step of a pipeline costs a little on every tile: crop only padded rows.
    return stride == bitmap->width() ? VImage(image)
                                     : VImage(image).extract_area(0, 0, width, height);
}

// Whether every skipped fourth byte of a 4-byte bitmap already reads as opaque, as the
// decoders leave it: a quick read that spares the pipeline a pass over every pixel.
bool fourthBytesOpaque(const CGImageRef& bitmap) {
    constexpr uint64_t kFourthBytes = 0xff000000ff000000u;
    for (size_t y = 0; y < bitmap->height(); ++y) {
        const uint8_t* row = bitmap->data() + y * bitmap->bytesPerRow();
        // Two pixels a word, all of a row's words and-ed together.
        uint64_t all = ~uint64_t{0};
        size_t x = 0;
        for (; x + 2 <= bitmap->width(); x += 2) {
            uint64_t pair;
            std::memcpy(&pair, row + x * 4, 8);
            all &= pair;
        }
        if (x < bitmap->width()) {
            uint32_t last;
            std::memcpy(&last, row + x * 4, 4);
            all &= uint64_t{last} << 32 | last;
        }
        if ((all & kFourthBytes) != kFourthBytes) {
            return false;
        }
    }
    return true;
}

// Our bitmaps hold B, G, R, A in memory; pipelines hold R, G, B(, A) in 0...1.
std::shared_ptr<const CIImagePipeline> pipelineOf(const CGImageRef& bitmap) {
    const VImage bytes = bitmapPixels(bitmap);
    const double unit = 1.0 / 255.0;
    switch (bitmap->format()) {
    case CGImagePixelFormat::Gray8: {
        const VImage grey = bytes.linear(unit, 0.0);
        return std::make_shared<CIImagePipeline>(VImage::bandjoin({grey, grey, grey}),
                                                 CIAlpha::Opaque);
    }
    case CGImagePixelFormat::RGB24:
        // The skipped fourth byte becomes an opaque alpha.
        return CIImagePipeline::withBytes(
            fourthBytesOpaque(bitmap) ? bytes : bytes | std::vector<double>{0, 0, 0, 255}, true);
    case CGImagePixelFormat::ARGB32Premultiplied:
        break;
    }
    return CIImagePipeline::withBytes(bytes, false);
}
} // namespace

std::shared_ptr<CIImage> CIImage::imageWithCGImage(const CGImageRef& image) {
    if (!image || image->isMask()) {
        NSLog("CIImage: %s", image ? "an image mask holds no colour" : "no image given");
        return nullptr;
    }
    if (!VipsRuntime::start()) {
        return nullptr;
    }
    try {
        const CGRect extent = CGRectMake(0, 0, static_cast<CGFloat>(image->width()),
                                         static_cast<CGFloat>(image->height()));
        return make<CIImage>(pipelineOf(image), extent);
    } catch (const vips::VError& error) {
        NSLog("CIImage: %s", error.what());
        vips_error_clear();
        return nullptr;
    }
}

std::shared_ptr<CIImage> CIImage::imageWithPipeline(std::shared_ptr<const CIImagePipeline> pipeline,
                                                    const CGRect& extent) {
    return make<CIImage>(std::move(pipeline), extent);
}

std::shared_ptr<CIImage> CIImage::imageByCroppingToRect(const CGRect& rect) const {
    const CGRect kept = CGRectIntersection(extent_, CGRectIntegral(CGRectStandardize(rect)));
    if (CGRectIsNull(kept) || CGRectIsEmpty(kept)) {
        NSLog("CIImage: nothing of %@ lies in %@", description(), NSStringFromCGRect(rect));
        return nullptr;
    }
    // Rows run from the top of the extent down.
    const int left = static_cast<int>(CGRectGetMinX(kept) - CGRectGetMinX(extent_));
    const int top = static_cast<int>(CGRectGetMaxY(extent_) - CGRectGetMaxY(kept));
    const int width = static_cast<int>(CGRectGetWidth(kept));
    const int height = static_cast<int>(CGRectGetHeight(kept));
    try {
        const auto& bytes = pipeline_->bytes();
        auto pipeline =
            bytes ? CIImagePipeline::withBytes(bytes->extract_area(left, top, width, height),
                                               pipeline_->alpha() == CIAlpha::Opaque)
                  : std::make_shared<const CIImagePipeline>(
                        pipeline_->pixels().extract_area(left, top, width, height),
                        pipeline_->alpha());
        return make<CIImage>(std::move(pipeline), kept);
    } catch (const vips::VError& error) {
        NSLog("CIImage: %s", error.what());
        vips_error_clear();
        return nullptr;
    }
}

std::string CIImage::description() const {
    return "<CIImage extent " + NSStringFromCGRect(extent_) + ">";
}
