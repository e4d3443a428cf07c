// Helpers of the filter tests: a filter run on a small bitmap and rendered over its
// output's whole extent, and pixels read as straight colour.
#pragma once

#include "platform/coreimage/CIContext.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIImage.h"
#include "platform/foundation/NSNumber.h"
#include "tests/support/ImageFixtures.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

struct Rgba {
    int r, g, b, a;
};

inline Rgba channels(uint32_t argb) {
    return {int(argb >> 16 & 0xff), int(argb >> 8 & 0xff), int(argb & 0xff), int(argb >> 24)};
}

// An opaque picture of `width` x `height` whose pixel (x, y from the top) is rgb(x, y).
inline CGImageRef opaquePicture(size_t width, size_t height,
                                const std::function<uint32_t(size_t, size_t)>& rgb) {
    return makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied,
                     [&](size_t x, size_t y) { return 0xff000000u | rgb(x, y); });
}

// Every 8-bit grey from black to white, 16 x 16.
inline CGImageRef greyRamp() {
    return opaquePicture(16, 16, [](size_t x, size_t y) {
        const uint32_t v = static_cast<uint32_t>(y * 16 + x);
        return v << 16 | v << 8 | v;
    });
}

// A spread of colours: red, green and blue in steps of 51.
inline CGImageRef colourCube() {
    return opaquePicture(36, 6, [](size_t x, size_t y) {
        const uint32_t r = static_cast<uint32_t>(x % 6) * 51, g = static_cast<uint32_t>(x / 6) * 51,
                       b = static_cast<uint32_t>(y) * 51;
        return r << 16 | g << 8 | b;
    });
}

using Parameters = std::map<std::string, NSObjectPtr>;

inline NSObjectPtr number(double value) {
    return NSNumber::numberWithDouble(value);
}

// The filter's output image for `bitmap` with `parameters` over its defaults.
inline CIImagePtr filtered(const std::string& name, const CGImageRef& bitmap,
                           const Parameters& parameters = {}) {
    CIFilterPtr filter = CIFilter::filterWithName(name);
    EXPECT_TRUE(filter) << name;
    if (!filter) {
        return nullptr;
    }
    filter->setValueForKey(CIImage::imageWithCGImage(bitmap), kCIInputImageKey);
    for (const auto& [key, value] : parameters) {
        filter->setValueForKey(value, key);
    }
    return filter->outputImage();
}

inline CGImageRef renderWhole(const CIImagePtr& image) {
    EXPECT_TRUE(image);
    return image ? CIContext::contextWithOptions()->createCGImageFromRect(image, image->extent())
                 : nullptr;
}

// The filter applied to `bitmap` and rendered over its whole output extent.
inline CGImageRef applyFilter(const std::string& name, const CGImageRef& bitmap,
                              const Parameters& parameters = {}) {
    return renderWhole(filtered(name, bitmap, parameters));
}
