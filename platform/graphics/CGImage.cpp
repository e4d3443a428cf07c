#include "platform/graphics/CGImage.h"

#include <cstring>

namespace {
bool fits(size_t width, size_t height, size_t bytesPerRow, size_t pixelSize, size_t available) {
    if (width == 0 || height == 0 || width > CGImage::maxSide || height > CGImage::maxSide) {
        return false;
    }
    return bytesPerRow >= width * pixelSize && available >= bytesPerRow * height;
}

size_t pixelSizeOf(CGImagePixelFormat format) {
    return format == CGImagePixelFormat::Gray8 ? 1 : 4;
}
} // namespace

CGImageRef CGImage::adopt(size_t width, size_t height, CGImagePixelFormat format,
                          size_t bytesPerRow, bool isMask, std::shared_ptr<const void> owner,
                          const uint8_t* data) {
    auto image = std::shared_ptr<CGImage>(new CGImage());
    image->width_ = width;
    image->height_ = height;
    image->bytesPerRow_ = bytesPerRow;
    image->format_ = format;
    image->isMask_ = isMask;
    image->owner_ = std::move(owner);
    image->data_ = data;
    return image;
}

CGImageRef CGImage::create(size_t width, size_t height, CGImagePixelFormat format,
                           size_t bytesPerRow, std::vector<uint8_t> pixels) {
    if (!fits(width, height, bytesPerRow, pixelSizeOf(format), pixels.size())) {
        return nullptr;
    }
    auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(pixels));
    return adopt(width, height, format, bytesPerRow, false, owned, owned->data());
}

CGImageRef CGImage::createFilled(size_t width, size_t height, CGImagePixelFormat format,
                                 size_t bytesPerRow,
                                 const std::function<bool(uint8_t* pixels)>& fill) {
    if (!fits(width, height, bytesPerRow, pixelSizeOf(format), bytesPerRow * height)) {
        return nullptr;
    }
    // Left uninitialised: the pages are first touched by whoever fills them.
    std::shared_ptr<uint8_t[]> pixels(new uint8_t[bytesPerRow * height]);
    if (!fill(pixels.get())) {
        return nullptr;
    }
    return adopt(width, height, format, bytesPerRow, false, pixels, pixels.get());
}

CGImageRef CGImage::createMask(size_t width, size_t height, size_t bytesPerRow,
                               std::vector<uint8_t> samples) {
    if (!fits(width, height, bytesPerRow, 1, samples.size())) {
        return nullptr;
    }
    auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(samples));
    return adopt(width, height, CGImagePixelFormat::Gray8, bytesPerRow, true, owned, owned->data());
}

uint32_t CGImage::pixelAt(size_t x, size_t y) const {
    if (x >= width_ || y >= height_) {
        return 0;
    }
    const uint8_t* row = data_ + y * bytesPerRow_;
    if (format_ == CGImagePixelFormat::Gray8) {
        uint32_t v = row[x];
        return 0xff000000u | (v << 16) | (v << 8) | v;
    }
    uint32_t value;
    std::memcpy(&value, row + x * 4, 4);
    return format_ == CGImagePixelFormat::RGB24 ? (value | 0xff000000u) : value;
}

CGImageRef CGImageCreateWithMask(const CGImageRef& image, const CGImageRef& mask) {
    if (!image || !mask || mask->format() != CGImagePixelFormat::Gray8) {
        return nullptr;
    }
    const size_t width = image->width(), height = image->height();
    std::vector<uint8_t> pixels(width * height * 4);
    std::vector<size_t> maskColumn(width);
    for (size_t x = 0; x < width; ++x) {
        maskColumn[x] = (2 * x + 1) * mask->width() / (2 * width);
    }
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* maskRow =
            mask->data() + (2 * y + 1) * mask->height() / (2 * height) * mask->bytesPerRow();
        uint8_t* out = pixels.data() + y * width * 4;
        for (size_t x = 0; x < width; ++x, out += 4) {
            const uint32_t sample = maskRow[maskColumn[x]];
            const uint32_t share = mask->isMask() ? 255 - sample : sample;
            const uint32_t argb = image->pixelAt(x, y);
            for (int channel = 0; channel < 4; ++channel) {
                const uint32_t value = argb >> (8 * channel) & 0xff;
                // value x share / 255, rounded.
                const uint32_t scaled = value * share + 128;
                out[channel] = static_cast<uint8_t>((scaled + (scaled >> 8)) >> 8);
            }
        }
    }
    return CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
                           std::move(pixels));
}
