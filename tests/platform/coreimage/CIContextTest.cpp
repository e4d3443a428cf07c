#include "platform/coreimage/CIContext.h"
#include "platform/coreimage/CIImage.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ImageFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A 3 x 2 picture with distinct, partly transparent pixels.
CGImageRef sample(CGImagePixelFormat format = CGImagePixelFormat::ARGB32Premultiplied,
                  size_t padding = 0) {
    return makeImage(
        3, 2, format,
        [](size_t x, size_t y) -> uint32_t {
            const uint32_t alpha = x == 1 ? 0x80 : 0xff;
            const uint32_t level = static_cast<uint32_t>(10 + 40 * x + 100 * y) * alpha / 255;
            return alpha << 24 | level << 16 | (alpha - level / 2) << 8 | level / 3;
        },
        padding);
}

CGImageRef render(const CIImagePtr& image, const CGRect& rect) {
    return CIContext::contextWithOptions()->createCGImageFromRect(image, rect);
}

TEST(CIContextTest, RendersTheWholeExtentExactly) {
    struct Case {
        const char* name;
        CGImageRef bitmap;
    };
    const Case cases[] = {
        {"premultiplied", sample()},
        {"padded rows", sample(CGImagePixelFormat::ARGB32Premultiplied, 8)},
        {"rows padded by part of a pixel", sample(CGImagePixelFormat::ARGB32Premultiplied, 3)},
        {"opaque", sample(CGImagePixelFormat::RGB24)},
        {"grey",
         makeImage(3, 2, CGImagePixelFormat::Gray8,
                   [](size_t x, size_t y) { return static_cast<uint32_t>(7 + 50 * x + 90 * y); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CIImagePtr image = CIImage::imageWithCGImage(c.bitmap);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->extent(), CGRectMake(0, 0, 3, 2));
        const CGImageRef out = render(image, image->extent());
        ASSERT_TRUE(out);
        EXPECT_EQ(pixelsOf(*out), pixelsOf(*c.bitmap));
    }
}

TEST(CIContextTest, RegionsCountFromTheBottomAndOutsideIsTransparent) {
    const CGImageRef bitmap = sample();
    const CIImagePtr image = CIImage::imageWithCGImage(bitmap);
    // The lower row of the engine's coordinates is the bitmap's bottom row.
    const CGImageRef bottom = render(image, CGRectMake(0, 0, 3, 1));
    ASSERT_TRUE(bottom);
    EXPECT_EQ(bottom->height(), 1u);
    for (size_t x = 0; x < 3; ++x) {
        EXPECT_EQ(bottom->pixelAt(x, 0), bitmap->pixelAt(x, 1));
    }
    // A region reaching one pixel past every side; fractional edges widen to whole pixels.
    const CGImageRef around = render(image, CGRectMake(-0.5, -1, 4.4, 4));
    ASSERT_TRUE(around);
    ASSERT_EQ(around->width(), 5u);
    ASSERT_EQ(around->height(), 4u);
    for (size_t y = 0; y < 4; ++y) {
        for (size_t x = 0; x < 5; ++x) {
            const bool inside = x >= 1 && x <= 3 && y >= 1 && y <= 2;
            EXPECT_EQ(around->pixelAt(x, y), inside ? bitmap->pixelAt(x - 1, y - 1) : 0u)
                << x << "," << y;
        }
    }
    // Outside an opaque picture too.
    const CGImageRef opaque = render(CIImage::imageWithCGImage(sample(CGImagePixelFormat::RGB24)),
                                     CGRectMake(3, 0, 1, 1));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->pixelAt(0, 0), 0u);
}

TEST(CIContextTest, NothingToRenderGivesNoImage) {
    const CIImagePtr image = CIImage::imageWithCGImage(sample());
    const double inf = std::numeric_limits<double>::infinity();
    const CGRect rects[] = {
        CGRectZero, CGRectNull, CGRectMake(0, 0, 0, 5), CGRectMake(-inf, -inf, inf, inf),
        CGRectMake(0, 0, NAN, 1), CGRectMake(0, 0, 1e7, 1),
        // Beyond the pixels any bitmap may hold, though no side is.
        CGRectMake(0, 0, 65536, 65536), CGRectMake(-20000, -20000, 40000, 40000)};
    for (const CGRect& rect : rects) {
        CapturedLog log;
        EXPECT_FALSE(render(image, rect)) << NSStringFromCGRect(rect);
        EXPECT_EQ(log.lines().size(), 1u);
    }
    CapturedLog log;
    EXPECT_FALSE(render(nullptr, CGRectMake(0, 0, 1, 1)));
    EXPECT_FALSE(CIImage::imageWithCGImage(nullptr));
    EXPECT_FALSE(CIImage::imageWithCGImage(CGImage::createMask(1, 1, 1, {0})));
    EXPECT_EQ(log.lines().size(), 3u);
}

} // namespace
