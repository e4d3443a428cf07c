#include "tests/support/NaiveBoxBlur.h"

#include <algorithm>
#include <random>

TestPixels noisyPixels(size_t width, size_t height, uint32_t seed, size_t rowBytes) {
    TestPixels pixels{width, height, rowBytes ? rowBytes : width * 4, {}};
    std::mt19937 random(seed);
    pixels.bytes.resize(pixels.rowBytes * height);
    for (auto& byte : pixels.bytes) {
        byte = static_cast<uint8_t>(random());
    }
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            uint8_t* p = pixels.data() + y * pixels.rowBytes + x * 4;
            for (int c = 1; c < 4; ++c) {
                p[c] = std::min(p[c], p[0]);
            }
        }
    }
    return pixels;
}

TestPixels naiveBoxMean(const TestPixels& source, size_t x0, size_t y0, size_t width, size_t height,
                        uint32_t kernelHeight, uint32_t kernelWidth) {
    TestPixels out{width, height, width * 4, std::vector<uint8_t>(width * height * 4)};
    const long rx = kernelWidth / 2, ry = kernelHeight / 2;
    const long lastX = static_cast<long>(source.width) - 1;
    const long lastY = static_cast<long>(source.height) - 1;
    const uint64_t area = uint64_t{kernelWidth} * kernelHeight;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            for (size_t c = 0; c < 4; ++c) {
                uint64_t sum = 0;
                for (long dy = -ry; dy <= ry; ++dy) {
                    long sy = std::clamp(static_cast<long>(y0 + y) + dy, 0L, lastY);
                    for (long dx = -rx; dx <= rx; ++dx) {
                        long sx = std::clamp(static_cast<long>(x0 + x) + dx, 0L, lastX);
                        sum += source.row(static_cast<size_t>(sy))[sx * 4 + c];
                    }
                }
                out.bytes[y * out.rowBytes + x * 4 + c] =
                    static_cast<uint8_t>((sum + area / 2) / area);
            }
        }
    }
    return out;
}
