#include "platform/coreimage/CIVector.h"
#include "tests/platform/coreimage/FilterTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

namespace {

double toLinear(double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// Each output pixel against the input pixel it came from.
void forEachPixel(const CGImageRef& in, const CGImageRef& out,
                  const std::function<void(Rgba in, Rgba out)>& check) {
    ASSERT_TRUE(out);
    ASSERT_EQ(out->width(), in->width());
    ASSERT_EQ(out->height(), in->height());
    for (size_t y = 0; y < in->height(); ++y) {
        for (size_t x = 0; x < in->width(); ++x) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            check(channels(in->pixelAt(x, y)), channels(out->pixelAt(x, y)));
        }
    }
}

TEST(CIColorFiltersTest, InvertIsExact) {
    const CGImageRef cube = colourCube();
    forEachPixel(cube, applyFilter("CIColorInvert", cube), [](Rgba in, Rgba out) {
        EXPECT_EQ(out.r, 255 - in.r);
        EXPECT_EQ(out.g, 255 - in.g);
        EXPECT_EQ(out.b, 255 - in.b);
        EXPECT_EQ(out.a, 255);
    });
}

TEST(CIColorFiltersTest, GreyLooksGiveGreys) {
    const CGImageRef cube = colourCube();
    for (const char* look : {"CIPhotoEffectNoir", "CIPhotoEffectMono", "CIPhotoEffectTonal"}) {
        SCOPED_TRACE(look);
        forEachPixel(cube, applyFilter(look, cube), [](Rgba, Rgba out) {
            EXPECT_EQ(out.r, out.g);
            EXPECT_EQ(out.g, out.b);
        });
    }
}

TEST(CIColorFiltersTest, ColourLooksKeepTheirCharacter) {
    const CGImageRef grey = opaquePicture(1, 3, [](size_t, size_t y) {
        const uint32_t v = y == 0 ? 0 : y == 1 ? 128 : 255;
        return v << 16 | v << 8 | v;
    });
    struct Case {
        const char* look;
        bool warm;       // red above blue on mid grey
        bool cool;       // blue above red on mid grey
        bool fadedBlack; // black lifted
    };
    const Case cases[] = {
        {"CIPhotoEffectInstant", true, false, true},   {"CIPhotoEffectProcess", false, true, false},
        {"CIPhotoEffectTransfer", true, false, false}, {"CIPhotoEffectChrome", false, false, false},
        {"CIPhotoEffectFade", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.look);
        const CGImageRef out = applyFilter(c.look, grey);
        ASSERT_TRUE(out);
        const Rgba black = channels(out->pixelAt(0, 0)), mid = channels(out->pixelAt(0, 1));
        EXPECT_EQ(mid.r > mid.b, c.warm);
        EXPECT_EQ(mid.b > mid.r, c.cool);
        EXPECT_EQ(std::min({black.r, black.g, black.b}) >= 8, c.fadedBlack);
    }
    // Chrome is more saturated than the original.
    const CGImageRef muted = opaquePicture(1, 1, [](size_t, size_t) { return 0xa08060u; });
    const Rgba chrome = channels(applyFilter("CIPhotoEffectChrome", muted)->pixelAt(0, 0));
    EXPECT_GT(chrome.r - chrome.b, 0xa0 - 0x60);
}

TEST(CIColorFiltersTest, SepiaOfWhiteAndBlack) {
    const CGImageRef picture =
        opaquePicture(2, 1, [](size_t x, size_t) { return x == 0 ? 0xffffffu : 0x000000u; });
    const CGImageRef out = applyFilter("CISepiaTone", picture);
    ASSERT_TRUE(out);
    const Rgba white = channels(out->pixelAt(0, 0)), black = channels(out->pixelAt(1, 0));
    // White turns cream: full red and green, less blue.
    EXPECT_EQ(white.r, 255);
    EXPECT_EQ(white.g, 255);
    EXPECT_EQ(white.b, 239);
    EXPECT_EQ(black.r + black.g + black.b, 0);
    // At intensity 0 nothing changes.
    EXPECT_EQ(pixelsOf(*applyFilter("CISepiaTone", picture, {{"inputIntensity", number(0)}})),
              pixelsOf(*picture));
}

TEST(CIColorFiltersTest, ExposureScalesLinearLight) {
    const CGImageRef ramp = greyRamp();
    for (double ev : {1.0, -1.0}) {
        SCOPED_TRACE(ev);
        forEachPixel(ramp, applyFilter("CIExposureAdjust", ramp, {{"inputEV", number(ev)}}),
                     [ev](Rgba in, Rgba out) {
                         const double expected =
                             std::min(1.0, toLinear(in.r / 255.0) * std::exp2(ev));
                         // One step of 8 bits either way, in linear light.
                         const double step = toLinear(std::min(255, out.r + 1) / 255.0) -
                                             toLinear(std::max(0, out.r - 1) / 255.0);
                         EXPECT_NEAR(toLinear(out.r / 255.0), expected, step);
                     });
    }
}

TEST(CIColorFiltersTest, PosterizeGivesItsLevels) {
    const CGImageRef ramp = greyRamp();
    struct Case {
        double levels;
        std::set<int> values;
    };
    const Case cases[] = {{2, {0, 255}}, {3, {0, 128, 255}}, {1, {0, 255}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levels);
        std::set<int> seen;
        forEachPixel(ramp,
                     applyFilter("CIColorPosterize", ramp, {{"inputLevels", number(c.levels)}}),
                     [&](Rgba in, Rgba out) {
                         seen.insert(out.r);
                         if (c.levels == 2) {
                             EXPECT_EQ(out.r, in.r < 128 ? 0 : 255);
                         }
                     });
        EXPECT_EQ(seen, c.values);
    }
}

TEST(CIColorFiltersTest, ToneCurvesRoundTrip) {
    const CGImageRef ramp = greyRamp();
    const CGImageRef linear = applyFilter("CISRGBToneCurveToLinear", ramp);
    forEachPixel(ramp, linear, [](Rgba in, Rgba out) {
        EXPECT_NEAR(out.r, std::round(toLinear(in.r / 255.0) * 255), 1);
    });
    // Back through the inverse curve: dark greys were merged by the 8-bit linear step.
    forEachPixel(ramp, applyFilter("CILinearToSRGBToneCurve", linear),
                 [](Rgba in, Rgba out) { EXPECT_NEAR(out.r, in.r, in.r < 64 ? 13 : 2); });
}

TEST(CIColorFiltersTest, HueTurnsAboutTheGreyAxis) {
    const CGImageRef primaries = opaquePicture(4, 1, [](size_t x, size_t) {
        const uint32_t colours[] = {0xff0000u, 0x00ff00u, 0x0000ffu, 0x808080u};
        return colours[x];
    });
    const CGImageRef third =
        applyFilter("CIHueAdjust", primaries, {{"inputAngle", number(2 * std::numbers::pi / 3)}});
    ASSERT_TRUE(third);
    EXPECT_EQ(third->pixelAt(0, 0), 0xff00ff00u); // red to green
    EXPECT_EQ(third->pixelAt(1, 0), 0xff0000ffu); // green to blue
    EXPECT_EQ(third->pixelAt(2, 0), 0xffff0000u); // blue to red
    EXPECT_EQ(third->pixelAt(3, 0), 0xff808080u); // grey stays
}

TEST(CIColorFiltersTest, NeutralSettingsChangeNothing) {
    const CGImageRef cube = colourCube();
    const char* filters[] = {"CIHueAdjust",      "CIHighlightShadowAdjust", "CIColorControls",
                             "CIExposureAdjust", "CIGammaAdjust",           "CIToneCurve"};
    for (const char* name : filters) {
        SCOPED_TRACE(name);
        forEachPixel(cube, applyFilter(name, cube), [](Rgba in, Rgba out) {
            EXPECT_NEAR(out.r, in.r, 1);
            EXPECT_NEAR(out.g, in.g, 1);
            EXPECT_NEAR(out.b, in.b, 1);
        });
    }
}

TEST(CIColorFiltersTest, ColourControls) {
    const CGImageRef cube = colourCube();
    // Saturation 0 gives luma grey.
    forEachPixel(cube, applyFilter("CIColorControls", cube, {{"inputSaturation", number(0)}}),
                 [](Rgba in, Rgba out) {
                     EXPECT_EQ(out.r, out.g);
                     EXPECT_EQ(out.g, out.b);
                     EXPECT_NEAR(out.r, 0.2126 * in.r + 0.7152 * in.g + 0.0722 * in.b, 1);
                 });
    // Contrast 2 doubles distances from mid grey; brightness adds.
    forEachPixel(cube,
                 applyFilter("CIColorControls", cube,
                             {{"inputContrast", number(2)}, {"inputBrightness", number(0.1)}}),
                 [](Rgba in, Rgba out) {
                     const double expected = (in.r / 255.0 + 0.1 - 0.5) * 2 + 0.5;
                     EXPECT_NEAR(out.r, std::round(std::clamp(expected, 0.0, 1.0) * 255), 1);
                 });
}

TEST(CIColorFiltersTest, GammaRaisesToThePower) {
    const CGImageRef ramp = greyRamp();
    forEachPixel(
        ramp, applyFilter("CIGammaAdjust", ramp, {{"inputPower", number(2.25)}}),
        [](Rgba in, Rgba out) { EXPECT_NEAR(out.r, std::pow(in.r / 255.0, 2.25) * 255, 1); });
}

TEST(CIColorFiltersTest, ToneCurvePassesThroughItsPoints) {
    const CGImageRef ramp = greyRamp();
    // Points out of order: the curve sorts them by x; it is level beyond its ends.
    const Parameters points{{"inputPoint0", CIVector::vectorWithXY(0.2, 0.1)},
                            {"inputPoint1", CIVector::vectorWithXY(0.6, 0.8)},
                            {"inputPoint2", CIVector::vectorWithXY(0.4, 0.3)},
                            {"inputPoint3", CIVector::vectorWithXY(0.8, 0.85)},
                            {"inputPoint4", CIVector::vectorWithXY(0.9, 0.9)}};
    const CGImageRef out = applyFilter("CIToneCurve", ramp, points);
    ASSERT_TRUE(out);
    const auto at = [&](int grey) { return channels(out->pixelAt(grey % 16, grey / 16)).r; };
    EXPECT_EQ(at(0), 26);    // level at 0.1 before the first point
    EXPECT_EQ(at(51), 26);   // (0.2, 0.1)
    EXPECT_EQ(at(102), 77);  // (0.4, 0.3)
    EXPECT_EQ(at(153), 204); // (0.6, 0.8)
    EXPECT_EQ(at(204), 217); // (0.8, 0.85)
    EXPECT_EQ(at(255), 230); // level at 0.9 after the last
    // Monotone points give a monotone curve that stays between its neighbours.
    for (int grey = 1; grey < 256; ++grey) {
        EXPECT_GE(at(grey), at(grey - 1)) << grey;
    }
}

TEST(CIColorFiltersTest, ShadowAmountLiftsDarkTonesMost) {
    const CGImageRef ramp = greyRamp();
    forEachPixel(ramp,
                 applyFilter("CIHighlightShadowAdjust", ramp, {{"inputShadowAmount", number(1)}}),
                 [](Rgba in, Rgba out) {
                     EXPECT_GE(out.r, in.r);
                     if (in.r == 0 || in.r == 255) {
                         EXPECT_EQ(out.r, in.r);
                     }
                     if (in.r == 64) {
                         EXPECT_GT(out.r - in.r, 40);
                     }
                     if (in.r == 200) {
                         EXPECT_LT(out.r - in.r, 15);
                     }
                 });
}

TEST(CIColorFiltersTest, HighlightShadowGivesTheSameOnBytesAsOnSamples) {
    // A bitmap's pixels are held as bytes; a glow that adds nothing hands on float samples.
    const CGImageRef cube = colourCube();
    const CIImagePtr samples =
        filtered("CIBloom", cube, {{"inputRadius", number(0)}, {"inputIntensity", number(0)}});
    for (double shadow : {-1.0, 0.6}) {
        SCOPED_TRACE(shadow);
        const Parameters parameters{{"inputShadowAmount", number(shadow)},
                                    {"inputHighlightAmount", number(0.4)}};
        CIFilterPtr filter = CIFilter::filterWithName("CIHighlightShadowAdjust");
        filter->setValueForKey(samples, kCIInputImageKey);
        for (const auto& [key, value] : parameters) {
            filter->setValueForKey(value, key);
        }
        forEachPixel(applyFilter("CIHighlightShadowAdjust", cube, parameters),
                     renderWhole(filter->outputImage()), [](Rgba bytes, Rgba floats) {
                         EXPECT_NEAR(bytes.r, floats.r, 1);
                         EXPECT_NEAR(bytes.g, floats.g, 1);
                         EXPECT_NEAR(bytes.b, floats.b, 1);
                     });
    }
}

TEST(CIColorFiltersTest, ColourFiltersKeepAlpha) {
    // Half-transparent red and a clear pixel.
    const CGImageRef picture =
        makeImage(2, 1, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t x, size_t) { return x == 0 ? 0x80800000u : 0u; });
    const CGImageRef inverted = applyFilter("CIColorInvert", picture);
    ASSERT_TRUE(inverted);
    // Straight red (1, 0, 0) inverts to cyan (0, 1, 1), premultiplied by its alpha again.
    EXPECT_EQ(inverted->pixelAt(0, 0), 0x80008080u);
    EXPECT_EQ(inverted->pixelAt(1, 0) >> 24, 0u);
    // Colour pushed past white is clipped to the alpha.
    const CGImageRef bright =
        applyFilter("CIColorControls", picture, {{"inputBrightness", number(1)}});
    ASSERT_TRUE(bright);
    EXPECT_EQ(bright->pixelAt(0, 0), 0x80808080u);
}

} // namespace
