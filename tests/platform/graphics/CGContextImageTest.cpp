#include "platform/graphics/CGContext.h"

#include "tests/platform/graphics/Pixels.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// An ARGB image of the given pixels, row by row from the top.
CGImageRef argbImage(size_t width, size_t height, const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes(pixels.size() * 4);
    std::memcpy(bytes.data(), pixels.data(), bytes.size());
    return CGImage::create(width, height, CGImagePixelFormat::ARGB32Premultiplied, width * 4,
                           std::move(bytes));
}

CGImageRef grayImage(std::vector<uint8_t> samples) {
    size_t width = samples.size();
    return CGImage::create(width, 1, CGImagePixelFormat::Gray8, width, std::move(samples));
}

TEST(CGContextImages, TopRowLandsAtMaxYUprightOnlyInYUpContexts) {
    CGImageRef redOverBlue = argbImage(1, 2, {kRed.value, kBlue.value});
    auto bitmap = makeArgbContext(1, 2);
    CGContextDrawImage(bitmap, CGRectMake(0, 0, 1, 2), redOverBlue);
    EXPECT_EQ(pixelAt(bitmap, 0, 0), kRed);
    EXPECT_EQ(pixelAt(bitmap, 0, 1), kBlue);

    auto flipped = CGContext::createImageContext(1, 2, 1, false);
    CGContextDrawImage(flipped, CGRectMake(0, 0, 1, 2), redOverBlue);
    EXPECT_EQ(pixelAt(flipped, 0, 0), kBlue);
    EXPECT_EQ(pixelAt(flipped, 0, 1), kRed);
}

TEST(CGContextImages, ScalesIntoTheRectangle) {
    auto c = makeArgbContext(4, 4);
    CGContextSetInterpolationQuality(c, kCGInterpolationNone);
    CGContextDrawImage(c, CGRectMake(1, 1, 2, 2), argbImage(2, 1, {kRed.value, kBlue.value}));
    EXPECT_EQ(paintedPixels(c), (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
    EXPECT_EQ(pixelAt(c, 1, 2), kRed);
    EXPECT_EQ(pixelAt(c, 2, 2), kBlue);
}

TEST(CGContextImages, GreyImagesAndImageMasks) {
    auto c = makeArgbContext(3, 1);
    CGContextDrawImage(c, CGRectMake(0, 0, 2, 1), grayImage({0x40, 0xff}));
    EXPECT_EQ(pixelAt(c, 0, 0), Argb{0xff404040});
    EXPECT_EQ(pixelAt(c, 1, 0), kWhite);

    // An image mask paints the fill colour where its samples are 0.
    auto masked = makeArgbContext(3, 1);
    CGContextSetRGBFillColor(masked, 0, 1, 0, 1);
    CGContextDrawImage(masked, CGRectMake(0, 0, 3, 1), CGImage::createMask(3, 1, 3, {0, 255, 0}));
    EXPECT_EQ(pixelAt(masked, 0, 0), kGreen);
    EXPECT_EQ(pixelAt(masked, 1, 0), kClear);
    EXPECT_EQ(pixelAt(masked, 2, 0), kGreen);
}

TEST(CGContextImages, ClipToMaskBySampleAlphaOrImageMask) {
    struct Case {
        const char* name;
        CGImageRef mask; // two pixels, placed over the context's first two
        uint32_t alphas[4];
    } cases[] = {
        {"image mask paints where 0", CGImage::createMask(2, 1, 2, {0, 255}), {255, 0, 0, 0}},
        {"grey paints where white", grayImage({0, 255}), {0, 255, 0, 0}},
        {"grey paints in proportion", grayImage({128, 64}), {128, 64, 0, 0}},
        {"ARGB paints by alpha", argbImage(2, 1, {kBlack.value, 0}), {255, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto context = makeArgbContext(4, 1);
        CGContextSaveGState(context);
        CGContextClipToMask(context, CGRectMake(0, 0, 2, 1), c.mask);
        CGContextSetRGBFillColor(context, 1, 0, 0, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 4, 1));
        for (size_t x = 0; x < 4; ++x) {
            EXPECT_NEAR(double(pixelAt(context, x, 0).alpha()), c.alphas[x], 1) << "pixel " << x;
        }
        CGContextRestoreGState(context);
        CGContextFillRect(context, CGRectMake(3, 0, 1, 1));
        EXPECT_EQ(pixelAt(context, 3, 0), kBlack) << "the mask ends with its state";
    }
}

TEST(CGContextImages, MasksMultiplyAndApplyToImages) {
    auto c = makeArgbContext(2, 1);
    CGContextClipToMask(c, CGRectMake(0, 0, 2, 1), grayImage({128, 255}));
    CGContextClipToMask(c, CGRectMake(0, 0, 2, 1), grayImage({128, 128}));
    CGContextDrawImage(c, CGRectMake(0, 0, 2, 1), argbImage(2, 1, {kRed.value, kRed.value}));
    EXPECT_NEAR(double(pixelAt(c, 0, 0).alpha()), 64, 1);
    EXPECT_NEAR(double(pixelAt(c, 1, 0).alpha()), 128, 1);
}

TEST(CGContextImages, TilesRepeatFromTheRectanglesOrigin) {
    CGImageRef redBlue = argbImage(2, 1, {kRed.value, kBlue.value});
    for (double originX : {0.0, 1.0}) {
        auto c = makeArgbContext(5, 1);
        CGContextDrawTiledImage(c, CGRectMake(originX, 0, 2, 1), redBlue);
        for (size_t x = 0; x < 5; ++x) {
            bool red = (x + size_t(originX)) % 2 == 0;
            EXPECT_EQ(pixelAt(c, x, 0), red ? kRed : kBlue) << originX << " " << x;
        }
    }
}

TEST(CGContextImages, DestinationInMasksOnlyUnderTheImage) {
    auto c = makeArgbContext(4, 1);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 1));
    CGContextSetBlendMode(c, kCGBlendModeDestinationIn);
    CGContextDrawImage(c, CGRectMake(0, 0, 2, 1), argbImage(2, 1, {kBlack.value, 0}));
    EXPECT_EQ(pixelAt(c, 0, 0), kBlue);
    EXPECT_EQ(pixelAt(c, 1, 0), kClear);
    EXPECT_EQ(pixelAt(c, 2, 0), kBlue);
    EXPECT_EQ(pixelAt(c, 3, 0), kBlue);
}

TEST(CGContextImages, PatternColoursTileFromTheBaseSpaceOriginAndPhase) {
    // A 2 x 2 tile, red at its top left and blue elsewhere.
    CGImageRef tile = argbImage(2, 2, {kRed.value, kBlue.value, kBlue.value, kBlue.value});
    struct Case {
        const char* name;
        bool yUp;
        double contextScale;
        double patternScale;
        CGSize phase;
        std::vector<std::pair<int, int>> red; // of a 4 x 3 (device pixel) context
    } cases[] = {
        {"top-left context", false, 1, 1, {0, 0}, {{0, 0}, {2, 0}, {0, 2}, {2, 2}}},
        {"phase moves the tiles", false, 1, 1, {1, 1}, {{1, 1}, {3, 1}}},
        {"bottom-left context anchors at the bottom", true, 1, 1, {0, 0}, {{0, 1}, {2, 1}}},
        {"phase up in a y-up context", true, 1, 1, {0, 1}, {{0, 0}, {2, 0}, {0, 2}, {2, 2}}},
        {"scale 2 with a 1x pattern doubles the tile",
         false,
         2,
         1,
         {0, 0},
         {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        {"scale 2 with a 2x pattern keeps pixels",
         false,
         2,
         2,
         {0, 0},
         {{0, 0}, {2, 0}, {0, 2}, {2, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto context = c.yUp ? makeArgbContext(4, 3)
                             : CGContext::createImageContext(4, 3, c.contextScale, false);
        CGContextSetInterpolationQuality(context, kCGInterpolationNone);
        CGContextSetPatternPhase(context, c.phase);
        CGContextSetFillColorWithColor(context, CGColorCreatePattern(tile, c.patternScale));
        // The tiles stay put whatever the transform.
        CGContextTranslateCTM(context, 0.5, 0.25);
        CGContextScaleCTM(context, 3, 3);
        CGContextFillRect(context, CGRectMake(-1, -1, 10, 10));
        std::vector<std::pair<int, int>> red;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                Argb p = pixelAt(context, size_t(x), size_t(y));
                EXPECT_TRUE(p == kRed || p == kBlue) << x << "," << y;
                if (p == kRed) {
                    red.emplace_back(x, y);
                }
            }
        }
        EXPECT_EQ(red, c.red);
    }
}

TEST(CGContextImages, PatternColoursKeepTheirAlpha) {
    CGImageRef red =
        CGImage::create(1, 1, CGImagePixelFormat::ARGB32Premultiplied, 4, {0, 0, 0xff, 0xff});
    auto c = makeArgbContext(2, 1);
    CGContextSetFillColorWithColor(c,
                                   CGColorCreateCopyWithAlpha(CGColorCreatePattern(red, 1), 0.5));
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    EXPECT_PRED3(nearlyEqual, pixelAt(c, 0, 0), Argb{0x80800000}, 1);
    EXPECT_EQ(pixelAt(c, 1, 0), kClear);
}

} // namespace
