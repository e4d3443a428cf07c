#include "platform/uikit/UIGraphics.h"

#include "platform/uikit/UIScreen.h"
#include "tests/platform/graphics/Pixels.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(UIGraphics, ContextsStackPerThread) {
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
    CGContextRef outer = UIGraphicsGetCurrentContext();
    ASSERT_NE(outer, nullptr);

    auto bitmap = makeArgbContext(2, 2);
    UIGraphicsPushContext(bitmap);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), bitmap);
    EXPECT_EQ(UIGraphicsGetCGImageFromCurrentImageContext(), nullptr); // not an image context
    EXPECT_EQ(UIGraphicsGetCurrentImageContextScale(), 0);

    UIGraphicsBeginImageContextWithOptions({1, 1}, false, 3);
    EXPECT_EQ(UIGraphicsGetCurrentImageContextScale(), 3);
    CGContextRef inner = UIGraphicsGetCurrentContext();
    EXPECT_NE(inner, outer);

    CGContextRef seenByAnotherThread = inner;
    std::thread([&] { seenByAnotherThread = UIGraphicsGetCurrentContext(); }).join();
    EXPECT_EQ(seenByAnotherThread, nullptr);

    UIGraphicsEndImageContext();
    {
        CapturedLog log;
        UIGraphicsEndImageContext(); // the pushed bitmap is on top: not ended
        EXPECT_EQ(log.lines().size(), 1u);
    }
    EXPECT_EQ(UIGraphicsGetCurrentContext(), bitmap);
    UIGraphicsPopContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

TEST(UIGraphics, ImageContextSizesScalesAndStartingPixels) {
    struct Case {
        const char* name;
        CGSize size;
        bool opaque;
        double scale;
        size_t width, height;
        double expectedScale;
        CGImagePixelFormat format;
        Argb start;
    } cases[] = {
        {"transparent at 2x",
         {10.5, 3},
         false,
         2,
         21,
         6,
         2,
         CGImagePixelFormat::ARGB32Premultiplied,
         kClear},
        {"opaque starts black", {2, 2}, true, 1, 2, 2, 1, CGImagePixelFormat::RGB24, kBlack},
        {"fractions round up",
         {0.3, 0.3},
         false,
         3,
         1,
         1,
         3,
         CGImagePixelFormat::ARGB32Premultiplied,
         kClear},
        {"scale 0 is the screen's",
         {2, 1},
         false,
         0,
         6,
         3,
         3,
         CGImagePixelFormat::ARGB32Premultiplied,
         kClear},
    };
    UIScreen::configureMainScreen({375, 667}, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UIGraphicsBeginImageContextWithOptions(c.size, c.opaque, c.scale);
        EXPECT_EQ(UIGraphicsGetCurrentImageContextScale(), c.expectedScale);
        CGImageRef image = UIGraphicsGetCGImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width(), c.width);
        EXPECT_EQ(image->height(), c.height);
        EXPECT_EQ(image->format(), c.format);
        EXPECT_EQ(Argb{image->pixelAt(0, 0)}, c.start);
    }
    UIScreen::configureMainScreen({375, 667}, 2);
}

TEST(UIGraphics, ImageContextsAreTopLeftAndScaled) {
    UIGraphicsBeginImageContextWithOptions({3, 3}, false, 2);
    CGContextFillRect(UIGraphicsGetCurrentContext(), CGRectMake(0, 0, 1, 1));
    CGImageRef first = UIGraphicsGetCGImageFromCurrentImageContext();
    CGContextFillRect(UIGraphicsGetCurrentContext(), CGRectMake(2, 2, 1, 1));
    UIGraphicsEndImageContext();
    // The image is a copy: later drawing does not show in it.
    EXPECT_EQ(Argb{first->pixelAt(1, 1)}, kBlack);
    EXPECT_EQ(Argb{first->pixelAt(2, 0)}, kClear);
    EXPECT_EQ(Argb{first->pixelAt(5, 5)}, kClear);
}

TEST(UIGraphics, EmptySizesLogAndStillBalance) {
    UIGraphicsBeginImageContext({2, 2});
    CGContextRef outer = UIGraphicsGetCurrentContext();
    {
        CapturedLog log;
        UIGraphicsBeginImageContextWithOptions({0, 10}, false, 1);
        EXPECT_EQ(log.lines().size(), 1u);
    }
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    EXPECT_EQ(UIGraphicsGetCGImageFromCurrentImageContext(), nullptr);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsEndImageContext();
}

} // namespace
