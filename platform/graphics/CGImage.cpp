#include "platform/graphics/CGImage.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {
bool fits(size_t width, size_t height, size_t bytesPerRow, size_t pixelSize, size_t available) {
    if (width == 0 || height == 0 || width > CGImage::maxSide || height > CGImage::maxSide) {
        return false;
    }
    return bytesPerRow >= width * pixelSize && available >= bytesPerRow * height;
}

// The bytes kept alive by the image, seen as their first byte.
std::shared_ptr<const uint8_t[]> holding(std::vector<uint8_t> bytes) {
    auto owner = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    return {owner, owner->data()};
}
} // namespace

CGImageRef CGImage::create(size_t width, size_t height, CGImagePixelFormat format,
                           size_t bytesPerRow, std::vector<uint8_t> pixels) {
    const size_t size = pixels.size();
    return make(width, height, format, bytesPerRow, size, holding(std::move(pixels)));
}

CGImageRef CGImage::create(size_t width, size_t height, CGImagePixelFormat format,
                           size_t bytesPerRow, std::unique_ptr<uint8_t[]> pixels, size_t size) {
    const size_t held = pixels ? size : 0;
    return make(width, height, format, bytesPerRow, held, std::move(pixels));
}

CGImageRef CGImage::createFilled(size_t width, size_t height, CGImagePixelFormat format,
                                 size_t bytesPerRow,
                                 const std::function<bool(uint8_t* pixels)>& fill) {
    const size_t pixelSize = format == CGImagePixelFormat::Gray8 ? 1 : 4;
    if (bytesPerRow > CGImage::maxSide * 4 ||
        !fits(width, height, bytesPerRow, pixelSize, bytesPerRow * height)) {
        return nullptr;
    }
    // Left uninitialised: the pages are first touched by whoever fills them.
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[bytesPerRow * height]);
    if (!fill(pixels.get())) {
        return nullptr;
    }
    return create(width, height, format, bytesPerRow, std::move(pixels), bytesPerRow * height);
}

CGImageRef CGImage::make(size_t width, size_t height, CGImagePixelFormat format, size_t bytesPerRow,
                         size_t size, std::shared_ptr<const uint8_t[]> pixels) {
    size_t pixelSize = format == CGImagePixelFormat::Gray8 ? 1 : 4;
    if (!fits(width, height, bytesPerRow, pixelSize, size)) {
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
    image->pixels_ = holding(std::move(samples));
    return image;
}

uint32_t CGImage::pixelAt(size_t x, size_t y) const {
    if (x >= width_ || y >= height_) {
        return 0;
    }
    const uint8_t* row = pixels_.get() + y * bytesPerRow_;
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
    const size_t size = width * height * 4;
    auto pixels = std::make_unique_for_overwrite<uint8_t[]>(size);
    std::vector<size_t> maskColumn(width);
    for (size_t x = 0; x < width; ++x) {
        maskColumn[x] = (2 * x + 1) * mask->width() / (2 * width);
    }
    // Four-byte pixels are read in place (B, G, R and A in memory, A taken as opaque where
    // the format skips it); grey ones through pixelAt.
    const bool grey = image->format() == CGImagePixelFormat::Gray8;
    const uint8_t fourthFloor = image->format() == CGImagePixelFormat::RGB24 ? 255 : 0;
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* maskRow =
            mask->data() + (2 * y + 1) * mask->height() / (2 * height) * mask->bytesPerRow();
        const uint8_t* in = image->data() + y * image->bytesPerRow();
        uint8_t* out = pixels.get() + y * width * 4;
        for (size_t x = 0; x < width; ++x, out += 4) {
            const uint32_t sample = maskRow[maskColumn[x]];
            const uint32_t share = mask->isMask() ? 255 - sample : sample;
            uint8_t bytes[4];
            if (grey) {
                const uint32_t argb = image->pixelAt(x, y);
                std::memcpy(bytes, &argb, 4);
            } else {
                std::memcpy(bytes, in + x * 4, 4);
                bytes[3] = std::max(bytes[3], fourthFloor);
            }
            for (int channel = 0; channel < 4; ++channel) {
                // value x share / 255, rounded.
                const uint32_t scaled = bytes[channel] * share + 128;
                out[channel] = static_cast<uint8_t>((scaled + (scaled >> 8)) >> 8);
            }
        }
    }
    return CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
                           std::move(pixels), size);
}
