#include "platform/graphics/CGContext.h"

#include "tests/platform/graphics/Pixels.h"

#include <gtest/gtest.h>

namespace {

CGGradientRef redToBlue() {
    const double components[] = {1, 0, 0, 1, 0, 0, 1, 1};
    return CGGradientCreateWithColorComponents(components, nullptr, 2);
}

struct ExtendCase {
    const char* name;
    uint32_t options;
    Argb before, after;
};

const ExtendCase kExtendCases[] = {
    {"no extension", 0, kClear, kClear},
    {"before the start", kCGGradientDrawsBeforeStartLocation, kRed, kClear},
    {"after the end", kCGGradientDrawsAfterEndLocation, kClear, kBlue},
    {"both", kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation, kRed, kBlue},
};

TEST(CGContextGradients, LinearExtendsOnlyWhereAsked) {
    for (const auto& c : kExtendCases) {
        SCOPED_TRACE(c.name);
        auto context = makeArgbContext(10, 1);
        CGContextDrawLinearGradient(context, redToBlue(), {3, 0}, {7, 0}, c.options);
        EXPECT_EQ(pixelAt(context, 1, 0), c.before);
        EXPECT_EQ(pixelAt(context, 8, 0), c.after);
        Argb middle = pixelAt(context, 5, 0); // t = 0.625
        EXPECT_EQ(middle.alpha(), 255u);
        EXPECT_NEAR(double(middle.red()), 0.375 * 255, 2);
        EXPECT_NEAR(double(middle.blue()), 0.625 * 255, 2);
    }
}

TEST(CGContextGradients, RadialExtendsOnlyWhereAsked) {
    // From a circle of radius 2 to one of radius 4 around the centre of a 10 x 10 context:
    // before the start is the inner disc, after the end everything beyond radius 4.
    for (const auto& c : kExtendCases) {
        SCOPED_TRACE(c.name);
        auto context = makeArgbContext(10, 10);
        CGContextDrawRadialGradient(context, redToBlue(), {5, 5}, 2, {5, 5}, 4, c.options);
        EXPECT_EQ(pixelAt(context, 5, 5), c.before);
        EXPECT_EQ(pixelAt(context, 0, 0), c.after);
        Argb ring = pixelAt(context, 6, 2); // 2.9 from the centre: t near 0.5
        EXPECT_EQ(ring.alpha(), 255u);
        EXPECT_GT(ring.red(), 60u);
        EXPECT_GT(ring.blue(), 60u);
    }
}

TEST(CGContextGradients, StopsAtGivenLocationsAndWithinTheClip) {
    std::vector<CGColor> colors = {CGColorMake(1, 0, 0, 1), CGColorMake(0, 1, 0, 1),
                                   CGColorMake(0, 0, 1, 1)};
    const double locations[] = {0, 0.25, 1};
    CGGradientRef gradient = CGGradientCreateWithColors(colors, locations);
    ASSERT_NE(gradient, nullptr);
    auto c = makeArgbContext(9, 1);
    CGContextClipToRect(c, CGRectMake(0, 0, 8, 1));
    CGContextDrawLinearGradient(c, gradient, {0.5, 0}, {8.5, 0}, 3);
    EXPECT_EQ(pixelAt(c, 0, 0), kRed);
    EXPECT_EQ(pixelAt(c, 2, 0), kGreen);
    EXPECT_EQ(pixelAt(c, 8, 0), kClear);

    EXPECT_EQ(CGGradientCreateWithColorComponents(nullptr, nullptr, 2), nullptr);
    EXPECT_EQ(CGGradientCreateWithColors({}, nullptr), nullptr);
}

} // namespace
