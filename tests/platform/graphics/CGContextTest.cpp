#include "platform/graphics/CGContext.h"

#include "tests/platform/graphics/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CGContext, FillsARectangleInAYUpBitmap) {
    auto c = makeArgbContext(4, 4);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 2, 1)); // the bottom row's left half
    EXPECT_EQ(pixelAt(c, 0, 3), kRed);
    EXPECT_EQ(pixelAt(c, 1, 3), kRed);
    EXPECT_EQ(pixelAt(c, 2, 3), kClear);
    EXPECT_EQ(pixelAt(c, 0, 0), kClear);
}

} // namespace
