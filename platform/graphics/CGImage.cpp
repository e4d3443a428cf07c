#include "platform/graphics/CGImage.h"

#include <cstring>

namespace {
bool fits(size_t width, size_t height, size_t bytesPerRow, size_t pixelSize, size_t available) {
    if (width == 0 || height == 0 || width > CGImage::maxSide || height > CGImage::maxSide) {
        return false;
    }
    return bytesPerRow >= width * pixelSize && available >= bytesPerRow * height;
}
} // namespace

CGImageRef CGImage::create(size_t width, size_t height, CGImagePixelFormat format,
                           size_t bytesPerRow, std::vector<uint8_t> pixels) {
    size_t pixelSize = format == CGImagePixelFormat::Gray8 ? 1 : 4;
    if (!fits(width, height, bytesPerRow, pixelSize, pixels.size())) {
        return nullptr;
    }
    auto image = std::shared_ptr<CGImage>(new CGImage());
    image->width_ = width;
    image->height_ = height;
    image->bytesPerRow_ = bytesPerRow;
    image->format_ = format;
    image->pixels_ = std::move(pixels);
    return image;
}

CGImageRef CGImage::createMask(size_t width, size_t height, size_t bytesPerRow,
                               std::vector<uint8_t> samples) {
    if (!fits(width, height, bytesPerRow, 1, samples.size())) {
        return nullptr;
    }
    auto image = std::shared_ptr<CGImage>(new CGImage());
    image->width_ = width;
    image->height_ = height;
    image->bytesPerRow_ = bytesPerRow;
    image->format_ = CGImagePixelFormat::Gray8;
    image->isMask_ = true;
    image->pixels_ = std::move(samples);
    return image;
}

uint32_t CGImage::pixelAt(size_t x, size_t y) const {
    if (x >= width_ || y >= height_) {
        return 0;
    }
    const uint8_t* row = pixels_.data() + y * bytesPerRow_;
    if (format_ == CGImagePixelFormat::Gray8) {
        uint32_t v = row[x];
        return 0xff000000u | (v << 16) | (v << 8) | v;
    }
    uint32_t value;
    std::memcpy(&value, row + x * 4, 4);
    return format_ == CGImagePixelFormat::RGB24 ? (value | 0xff000000u) : value;
}
