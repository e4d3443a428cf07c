#include "bench/PhotoLikeImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

CGImageRef photoLikeImage(size_t width, size_t height) {
    std::vector<uint8_t> pixels(width * height * 4);
    uint32_t noise = 2463534242u;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const int jitter = static_cast<int>(noise % 9) - 4;
            auto channel = [&](size_t value) {
                return static_cast<uint32_t>(std::clamp(static_cast<int>(value) + jitter, 0, 255));
            };
            const uint32_t pixel = 0xff000000u | channel(x * 255 / width) << 16 |
                                   channel(y * 255 / height) << 8 |
                                   channel((x + y) * 255 / (width + height));
            std::memcpy(pixels.data() + (y * width + x) * 4, &pixel, 4);
        }
    }
    return CGImage::create(width, height, CGImagePixelFormat::RGB24, width * 4, std::move(pixels));
}
