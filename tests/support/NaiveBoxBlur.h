// The box mean of four-channel 8-bit pixels written the obvious way, summing the whole
// kernel for every pixel, to check the fast convolution against; and noisy test pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TestPixels {
    size_t width = 0;
    size_t height = 0;
    size_t rowBytes = 0;
    std::vector<uint8_t> bytes;

    uint8_t* data() { return bytes.data(); }
    const uint8_t* row(size_t y) const { return bytes.data() + y * rowBytes; }
};

// Pseudo-random bytes from `seed` (the same seed, the same picture); each pixel's colour
// channels at most its first channel, as premultiplied pixels are. Rows are padded to
// `rowBytes` (0: no padding) with bytes no pixel uses.
TestPixels noisyPixels(size_t width, size_t height, uint32_t seed, size_t rowBytes = 0);

// The mean of each `kernelWidth` x `kernelHeight` window centred on the pixels of the
// `width` x `height` region at (x0, y0), rounded to nearest, coordinates beyond the
// edges clamped to them. Tightly packed rows.
TestPixels naiveBoxMean(const TestPixels& source, size_t x0, size_t y0, size_t width, size_t height,
                        uint32_t kernelHeight, uint32_t kernelWidth);
