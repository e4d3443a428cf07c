// An immutable grid of pixels. Rows run top to bottom, 32-bit pixels are premultiplied
// ARGB in native byte order (cairo's ARGB32: B, G, R, A in memory on little-endian), so
// an image can be drawn by cairo without conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum class CGImagePixelFormat {
    ARGB32Premultiplied, // 4 bytes a pixel, alpha premultiplied
    RGB24,               // 4 bytes a pixel, the alpha byte skipped (opaque)
    Gray8,               // 1 byte a pixel
};

class CGImage;
using CGImageRef = std::shared_ptr<const CGImage>;

class CGImage {
public:
    // The longest side an image may have.
    static constexpr size_t maxSide = size_t(1) << 16;

    // Takes the pixels; rows are `bytesPerRow` apart (at least width times the pixel
    // size). Null when the size or buffer does not add up.
    static CGImageRef create(size_t width, size_t height, CGImagePixelFormat format,
                             size_t bytesPerRow, std::vector<uint8_t> pixels);
    // The same over `size` bytes made by the caller, for pixels written whole into a
    // buffer that was never zeroed.
    static CGImageRef create(size_t width, size_t height, CGImagePixelFormat format,
                             size_t bytesPerRow, std::unique_ptr<uint8_t[]> pixels, size_t size);
    // An image whose `bytesPerRow` x `height` bytes `fill` writes, every one, before the
    // image is handed out. Null when the size does not add up or `fill` returns false.
    static CGImageRef createFilled(size_t width, size_t height, CGImagePixelFormat format,
                                   size_t bytesPerRow,
                                   const std::function<bool(uint8_t* pixels)>& fill);
    // An image mask: 8-bit samples where 0 paints and 255 masks out, as the platform's
    // image masks do (the reverse of an alpha channel).
    static CGImageRef createMask(size_t width, size_t height, size_t bytesPerRow,
                                 std::vector<uint8_t> samples);

    size_t width() const { return width_; }
    size_t height() const { return height_; }
    size_t bytesPerRow() const { return bytesPerRow_; }
    CGImagePixelFormat format() const { return format_; }
    bool isMask() const { return isMask_; }
    const uint8_t* data() const { return pixels_.get(); }
    size_t bytesPerPixel() const { return format_ == CGImagePixelFormat::Gray8 ? 1 : 4; }
    // The premultiplied ARGB value of a 32-bit pixel (0xAARRGGBB); grey pixels are
    // widened to opaque grey.
    uint32_t pixelAt(size_t x, size_t y) const;

private:
    CGImage() = default;
    static CGImageRef make(size_t width, size_t height, CGImagePixelFormat format,
                           size_t bytesPerRow, size_t size,
                           std::shared_ptr<const uint8_t[]> pixels);
    size_t width_ = 0;
    size_t height_ = 0;
    size_t bytesPerRow_ = 0;
    CGImagePixelFormat format_ = CGImagePixelFormat::ARGB32Premultiplied;
    bool isMask_ = false;
    // Whatever holds the bytes (a vector, an array), seen as its first byte.
    std::shared_ptr<const uint8_t[]> pixels_;
};

// The platform's C names.
inline size_t CGImageGetWidth(const CGImageRef& image) {
    return image ? image->width() : 0;
}
inline size_t CGImageGetHeight(const CGImageRef& image) {
    return image ? image->height() : 0;
}

// `image` seen through `mask`, as a premultiplied ARGB image of `image`'s size: each pixel
// keeps the share of its colour and alpha the mask lets through. An image mask
// (CGImage::createMask) lets through where it is dark (0 shows, 255 cuts away); a grey
// image acts as alpha (255 shows, 0 cuts away). A mask of another size is stretched over
// the image, each pixel taking the mask sample under its centre (no interpolation). Null
// for no image or mask, or a mask that is neither a mask nor grey.
CGImageRef CGImageCreateWithMask(const CGImageRef& image, const CGImageRef& mask);
