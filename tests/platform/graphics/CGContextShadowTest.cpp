#include "platform/graphics/CGContext.h"

#include "tests/platform/graphics/Pixels.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A 20 x 20 context with a 6 x 6 square painted at (7, 7)..(13, 13) in its pixels.
using Draw = std::function<void(const CGContextRef&, const CGRect&)>;

const Draw kFill = [](const CGContextRef& c, const CGRect& rect) { CGContextFillRect(c, rect); };
const Draw kStroke = [](const CGContextRef& c, const CGRect& rect) {
    CGContextSetLineWidth(c, 2);
    CGContextStrokeRect(c, CGRectInset(rect, 1, 1));
};
const Draw kImage = [](const CGContextRef& c, const CGRect& rect) {
    CGContextDrawImage(
        c, rect,
        CGImage::create(1, 1, CGImagePixelFormat::ARGB32Premultiplied, 4, {0, 0, 0xff, 0xff}));
};

TEST(CGContextShadows, AHardShadowSitsAtItsOffsetBelowWhatIsDrawn) {
    struct Case {
        const char* name;
        bool yUp;
        Draw draw;
    } cases[] = {
        {"fill in a top-left context", false, kFill},
        {"stroke", false, kStroke},
        {"image", false, kImage},
        {"fill in a y-up context", true, kFill},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto context =
            c.yUp ? makeArgbContext(20, 20) : CGContext::createImageContext(20, 20, 1, false);
        CGContextSetShadowWithColor(context, CGSizeMake(2, 4), 0, CGColorMake(0, 0, 0, 1));
        CGContextSetRGBFillColor(context, 1, 0, 0, 1);
        CGContextSetRGBStrokeColor(context, 1, 0, 0, 1);
        c.draw(context, CGRectMake(7, 7, 6, 6));
        // In a y-up context a positive height moves the shadow up: check the mirror row.
        auto row = [&](size_t y) { return c.yUp ? 19 - y : y; };
        EXPECT_EQ(pixelAt(context, 8, row(7)), kRed);
        EXPECT_EQ(pixelAt(context, 14, row(15)), kBlack) << "the shadow beyond the shape";
        EXPECT_EQ(pixelAt(context, 8, row(6)), kClear) << "nothing on the other side";
        EXPECT_EQ(pixelAt(context, 15, row(17)), kClear) << "the shadow ends at its offset";
    }
}

TEST(CGContextShadows, BlurSpreadsTheShadowSmoothly) {
    auto c = CGContext::createImageContext(30, 30, 1, false);
    CGContextSetShadow(c, CGSizeMake(0, 6), 4); // black at a third
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(10, 5, 10, 10));
    // Under the middle of the shape, deep inside the shadow: its full third.
    EXPECT_EQ(pixelAt(c, 15, 16), Argb{0x55000000});
    // Across the shadow's lower edge (between rows 20 and 21) the alpha falls off
    // gradually and symmetrically.
    uint32_t inside = pixelAt(c, 15, 18).alpha(), before = pixelAt(c, 15, 20).alpha(),
             after = pixelAt(c, 15, 21).alpha(), outside = pixelAt(c, 15, 23).alpha(),
             far = pixelAt(c, 15, 29).alpha();
    EXPECT_GT(inside, before);
    EXPECT_GT(before, after);
    EXPECT_GT(after, outside);
    EXPECT_GT(outside, 0u);
    EXPECT_EQ(far, 0u);
    EXPECT_NEAR(double(before + after), 0x55, 3);
    // The shape itself covers its shadow.
    EXPECT_EQ(pixelAt(c, 15, 10), kRed);
}

TEST(CGContextShadows, OffsetIsInBaseSpaceUnits) {
    auto c = CGContext::createImageContext(40, 40, 2, false);
    CGContextSetShadowWithColor(c, CGSizeMake(0, 3), 0, CGColorMake(0, 0, 1, 1));
    CGContextScaleCTM(c, 2, 2);                   // the shadow ignores the user transform
    CGContextFillRect(c, CGRectMake(1, 1, 2, 2)); // pixels 4..12
    EXPECT_EQ(pixelAt(c, 6, 11), kBlack);
    EXPECT_EQ(pixelAt(c, 6, 17), kBlue); // 6 pixels further down
    EXPECT_EQ(pixelAt(c, 6, 18), kClear);

    // A clear colour turns the shadow off.
    auto plain = CGContext::createImageContext(10, 10, 1, false);
    CGContextSetShadowWithColor(plain, CGSizeMake(0, 3), 0, CGColorMake(0, 0, 0, 0));
    CGContextFillRect(plain, CGRectMake(0, 0, 2, 2));
    EXPECT_EQ(paintedPixels(plain).size(), 4u);
}

} // namespace
