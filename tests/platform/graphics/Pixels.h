// Pixel-test helpers: small contexts and their pixels as 0xAARRGGBB values that print in
// hex when an expectation fails.
#pragma once

#include "platform/graphics/CGContext.h"

#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <utility>
#include <vector>

struct Argb {
    uint32_t value;
    friend bool operator==(const Argb&, const Argb&) = default;
    uint32_t alpha() const { return value >> 24; }
    uint32_t red() const { return value >> 16 & 0xff; }
    uint32_t green() const { return value >> 8 & 0xff; }
    uint32_t blue() const { return value & 0xff; }
};

inline void PrintTo(const Argb& pixel, std::ostream* os) {
    *os << "0x" << std::hex << std::setw(8) << std::setfill('0') << pixel.value << std::dec;
}

// The pixel at column x, row y counted from the top of the bitmap.
inline Argb pixelAt(const CGContextRef& context, size_t x, size_t y) {
    CGImageRef image = CGBitmapContextCreateImage(context);
    return Argb{image ? image->pixelAt(x, y) : 0};
}

// A transparent premultiplied-ARGB bitmap context (origin bottom left).
inline CGContextRef makeArgbContext(size_t width, size_t height) {
    return CGBitmapContextCreate(nullptr, width, height, 8, 0, CGColorSpaceCreateDeviceRGB(),
                                 kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
}

inline constexpr Argb kClear{0x00000000};
inline constexpr Argb kRed{0xffff0000};
inline constexpr Argb kGreen{0xff00ff00};
inline constexpr Argb kBlue{0xff0000ff};
inline constexpr Argb kBlack{0xff000000};
inline constexpr Argb kWhite{0xffffffff};

// The pixels (x, y from the top) whose alpha is above `threshold`, row by row.
inline std::vector<std::pair<int, int>> paintedPixels(const CGContextRef& context,
                                                      uint32_t threshold = 0) {
    std::vector<std::pair<int, int>> painted;
    CGImageRef image = CGBitmapContextCreateImage(context);
    for (size_t y = 0; image && y < image->height(); ++y) {
        for (size_t x = 0; x < image->width(); ++x) {
            if ((image->pixelAt(x, y) >> 24) > threshold) {
                painted.emplace_back(int(x), int(y));
            }
        }
    }
    return painted;
}

// Channels equal within `tolerance` (rounding in compositing).
inline bool nearlyEqual(Argb a, Argb b, int tolerance = 1) {
    for (int shift = 0; shift < 32; shift += 8) {
        int ca = int(a.value >> shift & 0xff), cb = int(b.value >> shift & 0xff);
        if (std::abs(ca - cb) > tolerance) {
            return false;
        }
    }
    return true;
}
