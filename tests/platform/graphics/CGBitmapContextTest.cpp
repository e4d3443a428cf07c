#include "platform/graphics/CGContext.h"

#include "tests/platform/graphics/Pixels.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

TEST(CGBitmapContext, PremultipliedArgbIsCairosNativeLayout) {
    // Both alpha placements draw the native order: B, G, R, A in memory.
    for (uint32_t alpha : {kCGImageAlphaPremultipliedFirst, kCGImageAlphaPremultipliedLast}) {
        SCOPED_TRACE(alpha);
        std::vector<uint8_t> data(2 * 4 * 2, 0xee);
        auto c = CGBitmapContextCreate(data.data(), 2, 2, 8, 8, CGColorSpaceCreateDeviceRGB(),
                                       alpha | kCGBitmapByteOrder32Little);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(CGBitmapContextGetData(c), data.data());
        EXPECT_EQ(CGBitmapContextGetBytesPerRow(c), 8u);
        CGContextClearRect(c, CGRectMake(0, 0, 2, 2));
        CGContextSetRGBFillColor(c, 1, 0, 0, 1);
        CGContextFillRect(c, CGRectMake(0, 0, 1, 1)); // bottom left: the last row's first pixel
        CGContextSetRGBFillColor(c, 1, 1, 1, 0.5);
        CGContextFillRect(c, CGRectMake(1, 1, 1, 1)); // top right
        const std::vector<uint8_t> expected = {0, 0, 0,   0,   128, 128, 128, 128,
                                               0, 0, 255, 255, 0,   0,   0,   0};
        EXPECT_EQ(data, expected);
        CGImageRef image = CGBitmapContextCreateImage(c);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->format(), CGImagePixelFormat::ARGB32Premultiplied);
        EXPECT_EQ(Argb{image->pixelAt(0, 1)}, kRed);
    }
}

TEST(CGBitmapContext, OtherFormatsAndTheirLayouts) {
    struct Case {
        const char* name;
        CGColorSpaceRef space;
        uint32_t info;
        size_t bytesPerRow; // for 3 pixels
        // After filling pixel 0 red, pixel 1 half-alpha blue; the skipped byte of RGB
        // pixels is left undefined, and compared as 0.
        std::vector<uint8_t> firstRow;
        CGImagePixelFormat imageFormat;
        Argb imagePixel0;
    } cases[] = {
        {"RGB, alpha skipped",
         CGColorSpaceCreateDeviceRGB(),
         kCGImageAlphaNoneSkipFirst,
         12,
         {0, 0, 255, 0, 128, 0, 0, 0, 0, 0, 0, 0},
         CGImagePixelFormat::RGB24,
         kRed},
        // The luma of what is drawn over black.
        {"grey",
         CGColorSpaceCreateDeviceGray(),
         kCGImageAlphaNone,
         5,
         {77, 15, 0, 0, 0},
         CGImagePixelFormat::Gray8,
         Argb{0xff4d4d4d}},
        {"alpha only",
         nullptr,
         kCGImageAlphaOnly,
         3,
         {255, 128, 0},
         CGImagePixelFormat::ARGB32Premultiplied,
         kBlack},
        {"ARGB in rows cairo cannot draw directly",
         CGColorSpaceCreateDeviceRGB(),
         kCGImageAlphaPremultipliedFirst,
         14,
         {0, 0, 255, 255, 128, 0, 0, 128, 0, 0, 0, 0, 0, 0},
         CGImagePixelFormat::ARGB32Premultiplied,
         kRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> data(c.bytesPerRow * 2, 0);
        auto context = CGBitmapContextCreate(data.data(), 3, 2, 8, c.bytesPerRow, c.space, c.info);
        ASSERT_NE(context, nullptr);
        CGContextSetRGBFillColor(context, 1, 0, 0, 1);
        CGContextFillRect(context, CGRectMake(0, 1, 1, 1)); // y up: the first row is the top
        CGContextSetRGBFillColor(context, 0, 0, 1, 0.5);
        CGContextFillRect(context, CGRectMake(1, 1, 1, 1));
        std::vector<uint8_t> firstRow(data.begin(), data.begin() + long(c.bytesPerRow));
        if (c.info == kCGImageAlphaNoneSkipFirst) {
            for (size_t i = 3; i < firstRow.size(); i += 4) {
                firstRow[i] = 0;
            }
        }
        EXPECT_EQ(firstRow, c.firstRow);
        CGImageRef image = CGBitmapContextCreateImage(context);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->format(), c.imageFormat);
        EXPECT_EQ(Argb{image->pixelAt(0, 0)}, c.imagePixel0);
        // Untouched: transparent, or black where there is no alpha.
        const Argb untouched{image->pixelAt(2, 1)};
        EXPECT_TRUE(untouched == kClear || untouched == kBlack);
    }
}

TEST(CGBitmapContext, DrawingKeepsWhatTheCallerWroteElsewhere) {
    // A grey bitmap is drawn through a converted copy: the caller's pixels must survive.
    std::vector<uint8_t> data = {10, 20, 30, 99, 40, 50, 60, 99};
    auto c = CGBitmapContextCreate(data.data(), 3, 2, 8, 4, CGColorSpaceCreateDeviceGray(),
                                   kCGImageAlphaNone);
    ASSERT_NE(c, nullptr);
    CGContextSetGrayFillColor(c, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    data[5] = 77; // written by the caller between two drawings
    CGContextFillRect(c, CGRectMake(2, 1, 1, 1));
    EXPECT_EQ(data, (std::vector<uint8_t>{10, 20, 255, 99, 255, 77, 60, 99}));
}

TEST(CGBitmapContext, OwnsAZeroedBufferWithoutData) {
    auto c = CGBitmapContextCreate(nullptr, 5, 3, 8, 0, CGColorSpaceCreateDeviceRGB(),
                                   kCGImageAlphaPremultipliedFirst);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(CGBitmapContextGetWidth(c), 5u);
    EXPECT_EQ(CGBitmapContextGetHeight(c), 3u);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(c), 20u);
    const auto* data = static_cast<const uint8_t*>(CGBitmapContextGetData(c));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(std::all_of(data, data + 60, [](uint8_t b) { return b == 0; }));
}

TEST(CGBitmapContext, RefusesWhatItCannotMake) {
    struct Case {
        const char* name;
        size_t width, height, bitsPerComponent, bytesPerRow;
        CGColorSpaceRef space;
        uint32_t info;
    } cases[] = {
        {"zero width", 0, 4, 8, 0, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaPremultipliedFirst},
        {"zero height", 4, 0, 8, 0, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaPremultipliedFirst},
        {"rows too short", 4, 4, 8, 15, CGColorSpaceCreateDeviceRGB(),
         kCGImageAlphaPremultipliedFirst},
        {"over a hundred megapixels", 20000, 20000, 8, 0, CGColorSpaceCreateDeviceRGB(),
         kCGImageAlphaPremultipliedFirst},
        {"16 bits a component", 4, 4, 16, 0, CGColorSpaceCreateDeviceRGB(),
         kCGImageAlphaPremultipliedFirst},
        {"RGB without alpha byte", 4, 4, 8, 0, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaNone},
        {"unpremultiplied alpha", 4, 4, 8, 0, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaFirst},
        {"grey with alpha", 4, 4, 8, 0, CGColorSpaceCreateDeviceGray(),
         kCGImageAlphaPremultipliedLast},
        {"no colour space", 4, 4, 8, 0, nullptr, kCGImageAlphaPremultipliedFirst},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CapturedLog log;
        EXPECT_EQ(CGBitmapContextCreate(nullptr, c.width, c.height, c.bitsPerComponent,
                                        c.bytesPerRow, c.space, c.info),
                  nullptr);
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0].rfind("CGBitmapContextCreate: ", 0), 0u) << log.lines()[0];
    }
}

TEST(CGContext, OneSizeLimitForEveryContext) {
    const struct {
        size_t width, height;
        bool holds;
    } sizes[] = {
        {1, 1, true},
        {CGContext::kMaxSide, 1, true},
        {1, CGContext::kMaxSide, true},
        {CGContext::kMaxSide + 1, 1, false},
        {0, 1, false},
        {10000, 10000, true}, // exactly kMaxPixels
        {10000, 10001, false},
        {SIZE_MAX, SIZE_MAX, false},
    };
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        EXPECT_EQ(CGContext::canHoldPixels(s.width, s.height), s.holds);
        // Contexts refused by the limit are never allocated; those it holds are only made
        // where they are small.
        if (!s.holds || s.width * s.height <= CGContext::kMaxSide) {
            CapturedLog log;
            EXPECT_EQ(CGContext::createImageContext(s.width, s.height, 1, false) != nullptr,
                      s.holds);
            EXPECT_EQ(CGBitmapContextCreate(nullptr, s.width, s.height, 8, 0,
                                            CGColorSpaceCreateDeviceRGB(),
                                            kCGImageAlphaPremultipliedFirst) != nullptr,
                      s.holds);
        }
    }

    // A part of a pixel is a whole one; 1.1 x 10 is 11.000000000000002, rounding noise and
    // not a twelfth pixel; past the side, nothing, or not a number, there are none.
    const struct {
        double points, scale;
        size_t pixels;
    } coverings[] = {
        {375, 2, 750}, {0.2, 3, 1}, {1.1, 10, 11}, {16383.5, 2, 32767}, {16384, 2, 0},
        {0, 2, 0},     {-5, 2, 0},  {NAN, 2, 0},   {1e300, 1e300, 0},
    };
    for (const auto& c : coverings) {
        SCOPED_TRACE(std::to_string(c.points) + " @ " + std::to_string(c.scale));
        EXPECT_EQ(CGContext::pixelsCovering(c.points, c.scale), c.pixels);
    }
}

} // namespace
