#include "platform/coreimage/CIVector.h"
#include "platform/graphics/NSValue.h"
#include "tests/platform/coreimage/FilterTesting.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

namespace {

// Every pixel different: a 6 x 4 picture of distinct colours.
CGImageRef distinct(size_t width = 6, size_t height = 4) {
    return opaquePicture(width, height, [](size_t x, size_t y) {
        return static_cast<uint32_t>(x * 40 + 10) << 16 | static_cast<uint32_t>(y * 60 + 5) << 8 |
               static_cast<uint32_t>((x + y) * 20);
    });
}

NSObjectPtr transform(const CGAffineTransform& t) {
    return NSValue::valueWithCGAffineTransform(t);
}

TEST(CISpatialFiltersTest, QuarterTurnKeepsEveryPixel) {
    const CGImageRef picture = distinct();
    // A quarter turn anticlockwise in the engine's y-up coordinates.
    const CIImagePtr turned = filtered(
        "CIAffineTransform", picture,
        {{"inputTransform", transform(CGAffineTransformMakeRotation(std::numbers::pi / 2))}});
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->extent(), CGRectMake(-4, 0, 4, 6));
    const CGImageRef out = renderWhole(turned);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->width(), 4u);
    ASSERT_EQ(out->height(), 6u);
    // Anticlockwise on screen: the picture's top row becomes the left column, read upwards.
    for (size_t y = 0; y < 4; ++y) {
        for (size_t x = 0; x < 6; ++x) {
            EXPECT_EQ(out->pixelAt(y, 5 - x), picture->pixelAt(x, y)) << x << "," << y;
        }
    }
}

TEST(CISpatialFiltersTest, AffineExtentIsTheBoundingBox) {
    const CGImageRef picture = distinct();
    struct Case {
        const char* name;
        CGAffineTransform t;
        CGRect extent;
    };
    const Case cases[] = {
        {"identity", CGAffineTransformIdentity, CGRectMake(0, 0, 6, 4)},
        {"translation", CGAffineTransformMakeTranslation(2, -3), CGRectMake(2, -3, 6, 4)},
        {"half-pixel translation", CGAffineTransformMakeTranslation(0.5, 0),
         CGRectMake(0, 0, 7, 4)},
        {"scale", CGAffineTransformMakeScale(2, 0.5), CGRectMake(0, 0, 12, 2)},
        {"mirror", CGAffineTransformMakeScale(-1, 1), CGRectMake(-6, 0, 6, 4)},
        {"eighth turn", CGAffineTransformMakeRotation(std::numbers::pi / 4),
         CGRectMake(-3, 0, 8, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CIImagePtr out =
            filtered("CIAffineTransform", picture, {{"inputTransform", transform(c.t)}});
        ASSERT_TRUE(out);
        EXPECT_EQ(out->extent(), c.extent);
    }
    // Identity and whole-pixel moves keep every pixel; a mirror reverses rows.
    EXPECT_EQ(pixelsOf(*renderWhole(filtered("CIAffineTransform", picture))), pixelsOf(*picture));
    const CGImageRef mirrored =
        renderWhole(filtered("CIAffineTransform", picture,
                             {{"inputTransform", transform(CGAffineTransformMakeScale(-1, 1))}}));
    ASSERT_TRUE(mirrored);
    EXPECT_EQ(mirrored->pixelAt(0, 0), picture->pixelAt(5, 0));
    // The corners of a turned picture are transparent.
    const CGImageRef eighth = renderWhole(filtered(
        "CIAffineTransform", picture,
        {{"inputTransform", transform(CGAffineTransformMakeRotation(std::numbers::pi / 4))}}));
    ASSERT_TRUE(eighth);
    EXPECT_EQ(eighth->pixelAt(0, 0), 0u);
    EXPECT_EQ(eighth->pixelAt(4, 4) >> 24, 255u);
}

TEST(CISpatialFiltersTest, QuarterTurnsAndMirrorsMoveWholePixelsExactly) {
    // Transforms made of turns by multiples of pi/2 carry rounding error (cos(pi/2) is not
    // 0); each must still move every pixel whole, onto an extent of the exact size. `from`
    // gives, for an output pixel (x, y from the top), the input pixel it shows (6 x 4 in).
    const double pi = std::numbers::pi;
    const CGAffineTransform mirrorX = CGAffineTransformMakeScale(-1, 1);
    struct Case {
        const char* name;
        CGAffineTransform t;
        size_t width, height;
        std::function<std::pair<size_t, size_t>(size_t, size_t)> from;
    };
    const Case cases[] = {
        {"quarter turn clockwise on screen", CGAffineTransformMakeRotation(-pi / 2), 4, 6,
         [](size_t x, size_t y) {
             return std::pair{y, 3 - x};
         }},
        {"quarter turn anticlockwise", CGAffineTransformMakeRotation(pi / 2), 4, 6,
         [](size_t x, size_t y) {
             return std::pair{5 - y, x};
         }},
        {"half turn", CGAffineTransformMakeRotation(pi), 6, 4,
         [](size_t x, size_t y) {
             return std::pair{5 - x, 3 - y};
         }},
        {"mirrored top to bottom by a turn", CGAffineTransformRotate(mirrorX, pi), 6, 4,
         [](size_t x, size_t y) {
             return std::pair{x, 3 - y};
         }},
        {"mirrored, then a quarter turn",
         CGAffineTransformConcat(mirrorX, CGAffineTransformMakeRotation(-pi / 2)), 4, 6,
         [](size_t x, size_t y) {
             return std::pair{5 - y, 3 - x};
         }},
        {"mirrored, then the other quarter turn",
         CGAffineTransformConcat(mirrorX, CGAffineTransformMakeRotation(pi / 2)), 4, 6,
         [](size_t x, size_t y) {
             return std::pair{y, x};
         }},
    };
    const CGImageRef picture = distinct();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CIImagePtr out =
            filtered("CIAffineTransform", picture, {{"inputTransform", transform(c.t)}});
        ASSERT_TRUE(out);
        EXPECT_EQ(out->extent().size, CGSizeMake(c.width, c.height));
        const CGImageRef bitmap = renderWhole(out);
        ASSERT_TRUE(bitmap);
        ASSERT_EQ(bitmap->width(), c.width);
        ASSERT_EQ(bitmap->height(), c.height);
        for (size_t y = 0; y < c.height; ++y) {
            for (size_t x = 0; x < c.width; ++x) {
                const auto [fx, fy] = c.from(x, y);
                ASSERT_EQ(bitmap->pixelAt(x, y), picture->pixelAt(fx, fy)) << x << "," << y;
            }
        }
    }
}

TEST(CISpatialFiltersTest, SingularTransformGivesNothing) {
    CapturedLog log;
    EXPECT_FALSE(filtered("CIAffineTransform", distinct(),
                          {{"inputTransform", transform(CGAffineTransformMakeScale(0, 1))}}));
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST(CISpatialFiltersTest, PixellateGivesFlatBlocksAlignedToItsCentre) {
    // 10 x 7 pixels; blocks of 4 with a corner at (5, 3) (engine coordinates, y up).
    const CGImageRef picture = distinct(10, 7);
    const CIImagePtr blocks =
        filtered("CIPixellate", picture,
                 {{"inputScale", number(4)}, {"inputCenter", CIVector::vectorWithXY(5, 3)}});
    ASSERT_TRUE(blocks);
    // Columns -3...13 and rows -1...7 (y up) hold whole blocks covering the picture.
    EXPECT_EQ(blocks->extent(), CGRectMake(-3, -1, 16, 8));
    const CGImageRef out = renderWhole(blocks);
    ASSERT_TRUE(out);
    for (size_t y = 0; y < out->height(); ++y) {
        for (size_t x = 0; x < out->width(); ++x) {
            // Same block as the block's top-left pixel: x - x % 4, y - y % 4 in the bitmap.
            EXPECT_EQ(out->pixelAt(x, y), out->pixelAt(x - x % 4, y - y % 4)) << x << "," << y;
            EXPECT_EQ(out->pixelAt(x, y) >> 24, 255u);
        }
    }
    // The block over picture columns 5...8 and engine rows 3...6 (bitmap rows 0...3 of the
    // picture, of the output 1...4) takes their mean.
    uint32_t red = 0;
    for (size_t y = 0; y < 4; ++y) {
        for (size_t x = 5; x < 9; ++x) {
            red += picture->pixelAt(x, y) >> 16 & 0xff;
        }
    }
    EXPECT_EQ(out->pixelAt(8, 1) >> 16 & 0xff, (red + 8) / 16);
    // A scale below one pixel leaves the picture as it is.
    EXPECT_EQ(pixelsOf(*applyFilter("CIPixellate", picture, {{"inputScale", number(0)}})),
              pixelsOf(*picture));
}

TEST(CISpatialFiltersTest, VignetteDarkensAwayFromItsCentre) {
    const CGImageRef white = opaquePicture(41, 21, [](size_t, size_t) { return 0xffffffu; });
    const CIImagePtr shaded = filtered("CIVignetteEffect", white,
                                       {{"inputCenter", CIVector::vectorWithXY(20.5, 10.5)},
                                        {"inputRadius", number(10)},
                                        {"inputIntensity", number(0.9)}});
    ASSERT_TRUE(shaded);
    EXPECT_EQ(shaded->extent(), CGRectMake(0, 0, 41, 21));
    const CGImageRef out = renderWhole(shaded);
    ASSERT_TRUE(out);
    const auto level = [&](size_t x, size_t y) { return channels(out->pixelAt(x, y)).r; };
    EXPECT_EQ(level(20, 10), 255);      // the centre
    EXPECT_EQ(level(24, 10), 255);      // within radius * (1 - falloff)
    EXPECT_NEAR(level(30, 10), 140, 2); // at the radius: half of the 0.9 darkening
    EXPECT_NEAR(level(40, 10), 26, 1);  // beyond radius * (1 + falloff): 1 - 0.9
    EXPECT_NEAR(level(0, 0), 26, 1);
    for (size_t x = 21; x < 41; ++x) {
        EXPECT_LE(level(x, 10), level(x - 1, 10));
        EXPECT_EQ(level(x, 10), level(40 - x, 10)); // symmetric about the centre
    }
}

TEST(CISpatialFiltersTest, OutputsBeyondAnyPictureGiveNothing) {
    // Each would cover gigabytes, or blur for minutes, were it built.
    struct Case {
        const char* filter;
        CGImageRef picture;
        Parameters parameters;
    };
    const CGImageRef small = distinct();
    const CGImageRef large = distinct(1000, 1000);
    const Case cases[] = {
        {"CIBloom", small, {{"inputRadius", number(1e12)}}},
        {"CIGloom", small, {{"inputRadius", number(1e12)}}},
        {"CIBloom", large, {{"inputRadius", number(30000)}}},
        {"CIGloom", large, {{"inputRadius", number(30000)}}},
        {"CIBloom", small, {{"inputRadius", number(2001)}}},
        {"CIPixellate", large, {{"inputScale", number(1e6)}}},
        {"CIPixellate", small, {{"inputScale", number(1e12)}}},
        {"CIAffineTransform",
         large,
         {{"inputTransform", transform(CGAffineTransformMakeScale(20, 20))}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        CapturedLog log;
        EXPECT_FALSE(filtered(c.filter, c.picture, c.parameters));
        EXPECT_EQ(log.lines().size(), 1u);
    }
}

TEST(CISpatialFiltersTest, BloomAndGloomGrowByTheirRadius) {
    // A white square on a grey ground.
    const CGImageRef picture = opaquePicture(20, 20, [](size_t x, size_t y) {
        const bool square = x >= 7 && x < 13 && y >= 7 && y < 13;
        return square ? 0xffffffu : 0x404040u;
    });
    for (const char* name : {"CIBloom", "CIGloom"}) {
        SCOPED_TRACE(name);
        const CIImagePtr out =
            filtered(name, picture, {{"inputRadius", number(4.5)}, {"inputIntensity", number(1)}});
        ASSERT_TRUE(out);
        EXPECT_EQ(out->extent(), CGRectMake(-5, -5, 30, 30));
        const CGImageRef bitmap = renderWhole(out);
        ASSERT_TRUE(bitmap);
        const bool bloom = std::string(name) == "CIBloom";
        for (size_t y = 0; y < 20; ++y) {
            for (size_t x = 0; x < 20; ++x) {
                const int before = channels(picture->pixelAt(x, y)).r;
                const int after = channels(bitmap->pixelAt(x + 5, y + 5)).r;
                // Bloom only brightens, gloom only darkens.
                if (bloom) {
                    EXPECT_GE(after, before);
                } else {
                    EXPECT_LE(after, before);
                }
            }
        }
        // The ground next to the square glows; the square's edge dims.
        if (bloom) {
            EXPECT_GT(channels(bitmap->pixelAt(5 + 6, 5 + 10)).r, 0x48);
        } else {
            EXPECT_LT(channels(bitmap->pixelAt(5 + 7, 5 + 10)).r, 0xf0);
        }
        // Far from the picture the margin holds nothing.
        EXPECT_EQ(bitmap->pixelAt(0, 0) >> 24, 0u);
    }
}

// Gloom only dulls: on an even picture there is nothing darker around any pixel, so the
// picture keeps its colour and stays opaque out to its edges, where the blur also gathers
// the transparent margin. Held as bytes (blurred in whole levels) or as float samples (a
// grey bitmap), alike.
TEST(CISpatialFiltersTest, GloomLeavesAnEvenOpaquePictureAsItIsToItsEdges) {
    const struct {
        const char* name;
        CGImageRef picture;
    } cases[] = {
        {"bytes", opaquePicture(12, 9, [](size_t, size_t) { return 0xc08040u; })},
        {"float samples",
         makeImage(12, 9, CGImagePixelFormat::Gray8, [](size_t, size_t) { return 0xa0u; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CIImagePtr out = filtered(
            "CIGloom", c.picture, {{"inputRadius", number(6)}, {"inputIntensity", number(1)}});
        ASSERT_TRUE(out);
        const CGImageRef bitmap =
            CIContext::contextWithOptions()->createCGImageFromRect(out, CGRectMake(0, 0, 12, 9));
        ASSERT_TRUE(bitmap);
        const uint32_t expected = c.picture->format() == CGImagePixelFormat::Gray8
                                      ? 0xffa0a0a0u
                                      : c.picture->pixelAt(0, 0);
        // Opaque, and the colour within a level of rounding of the picture's.
        const Rgba want = channels(expected);
        for (size_t y = 0; y < 9; ++y) {
            for (size_t x = 0; x < 12; ++x) {
                const Rgba got = channels(bitmap->pixelAt(x, y));
                ASSERT_EQ(got.a, 255) << x << "," << y;
                ASSERT_NEAR(got.r, want.r, 1) << x << "," << y;
                ASSERT_NEAR(got.g, want.g, 1) << x << "," << y;
                ASSERT_NEAR(got.b, want.b, 1) << x << "," << y;
            }
        }
    }
}

} // namespace
