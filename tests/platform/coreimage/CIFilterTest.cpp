#include "platform/coreimage/CIVector.h"
#include "platform/graphics/NSValue.h"
#include "tests/platform/coreimage/FilterTesting.h"
#include "tests/support/CapturedLog.h"

#include "platform/coreimage/CIKernels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CIFilterTest, KnowsEveryFilterTheEditorNames) {
    const std::vector<std::string> expected{"CIAffineTransform",
                                            "CIBloom",
                                            "CIColorControls",
                                            "CIColorInvert",
                                            "CIColorPosterize",
                                            "CIExposureAdjust",
                                            "CIGammaAdjust",
                                            "CIGloom",
                                            "CIHighlightShadowAdjust",
                                            "CIHueAdjust",
                                            "CILinearToSRGBToneCurve",
                                            "CIPhotoEffectChrome",
                                            "CIPhotoEffectFade",
                                            "CIPhotoEffectInstant",
                                            "CIPhotoEffectMono",
                                            "CIPhotoEffectNoir",
                                            "CIPhotoEffectProcess",
                                            "CIPhotoEffectTonal",
                                            "CIPhotoEffectTransfer",
                                            "CIPixellate",
                                            "CISRGBToneCurveToLinear",
                                            "CISepiaTone",
                                            "CIToneCurve",
                                            "CIVignetteEffect"};
    EXPECT_EQ(CIFilter::filterNames(), expected);
    const CGImageRef picture =
        opaquePicture(3, 2, [](size_t x, size_t y) { return 0x102030u * (x + y); });
    for (const std::string& name : expected) {
        SCOPED_TRACE(name);
        const CIFilterPtr filter = CIFilter::filterWithName(name);
        ASSERT_TRUE(filter);
        EXPECT_EQ(filter->name(), name);
        EXPECT_EQ(filter->inputKeys().front(), kCIInputImageKey);
        // No input image, no output.
        EXPECT_FALSE(filter->outputImage());
        // Every filter renders with its defaults.
        EXPECT_TRUE(applyFilter(name, picture));
    }
}

TEST(CIFilterTest, DefaultsAndValues) {
    const CIFilterPtr vignette = CIFilter::filterWithName("CIVignetteEffect");
    ASSERT_TRUE(vignette);
    EXPECT_EQ(vignette->inputKeys(),
              (std::vector<std::string>{kCIInputImageKey, "inputCenter", "inputRadius",
                                        "inputIntensity", "inputFalloff"}));
    EXPECT_TRUE(vignette->valueForKey("inputCenter")->isEqual(*CIVector::vectorWithXY(150, 150)));
    EXPECT_EQ(vignette->numberForKey("inputIntensity"), 1);

    const CIImagePtr image =
        CIImage::imageWithCGImage(opaquePicture(1, 1, [](size_t, size_t) { return 0u; }));
    vignette->setValueForKey(image, kCIInputImageKey);
    vignette->setValueForKey(number(0.9), "inputIntensity");
    vignette->setValueForKey(CIVector::vectorWithXY(4, 5), "inputCenter");
    EXPECT_EQ(vignette->numberForKey("inputIntensity"), 0.9);
    EXPECT_EQ(vignette->vectorForKey("inputCenter")->Y(), 5);
    // setDefaults restores the parameters and keeps the image.
    vignette->setDefaults();
    EXPECT_EQ(vignette->numberForKey("inputIntensity"), 1);
    EXPECT_EQ(vignette->valueForKey(kCIInputImageKey), image);
    // A removed value reads as the default.
    vignette->setValueForKey(number(3), "inputRadius");
    vignette->setValueForKey(nullptr, "inputRadius");
    EXPECT_EQ(vignette->numberForKey("inputRadius"), 150);

    const CIFilterPtr affine = CIFilter::filterWithName("CIAffineTransform");
    EXPECT_EQ(affine->transformForKey("inputTransform"), CGAffineTransformIdentity);
    affine->setValueForKey(NSValue::valueWithCGAffineTransform(CGAffineTransformMakeScale(2, 3)),
                           "inputTransform");
    EXPECT_EQ(affine->transformForKey("inputTransform"), CGAffineTransformMakeScale(2, 3));
}

TEST(CIFilterTest, WrongNamesKeysAndKindsAreLoggedAndIgnored) {
    CapturedLog log;
    EXPECT_FALSE(CIFilter::filterWithName("CINoSuchFilter"));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("CINoSuchFilter"), std::string::npos);

    const CIFilterPtr sepia = CIFilter::filterWithName("CISepiaTone");
    sepia->setValueForKey(CIVector::vectorWithXY(1, 2), "inputIntensity");
    sepia->setValueForKey(number(1), kCIInputImageKey);
    sepia->setValueForKey(number(0.5), "inputRadius");
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(sepia->numberForKey("inputIntensity"), 1);
    EXPECT_FALSE(sepia->valueForKey(kCIInputImageKey));
    EXPECT_FALSE(sepia->valueForKey("inputRadius"));
}

TEST(CIFilterTest, NonFiniteParametersAreLoggedAndIgnored) {
    const double nan = NAN, inf = HUGE_VAL;
    struct Case {
        const char* filter;
        const char* key;
        NSObjectPtr value;
    };
    const Case cases[] = {
        {"CIVignetteEffect", "inputCenter", CIVector::vectorWithXY(nan, nan)},
        {"CIVignetteEffect", "inputRadius", number(inf)},
        {"CIVignetteEffect", "inputIntensity", number(nan)},
        {"CIBloom", "inputRadius", number(nan)},
        {"CIBloom", "inputRadius", number(inf)},
        {"CIGloom", "inputRadius", number(nan)},
        {"CIGloom", "inputIntensity", number(-inf)},
        {"CIPixellate", "inputScale", number(nan)},
        {"CIPixellate", "inputCenter", CIVector::vectorWithXY(1, -inf)},
        {"CIHueAdjust", "inputAngle", number(nan)},
        {"CISepiaTone", "inputIntensity", number(nan)},
        {"CIColorPosterize", "inputLevels", number(nan)},
        {"CIGammaAdjust", "inputPower", number(nan)},
        {"CIExposureAdjust", "inputEV", number(inf)},
        {"CIToneCurve", "inputPoint2", CIVector::vectorWithXY(0.5, nan)},
        {"CIColorControls", "inputSaturation", number(nan)},
    };
    const CGImageRef picture = colourCube();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.filter) + " " + c.key);
        const CGImageRef expected = applyFilter(c.filter, picture);
        ASSERT_TRUE(expected);
        CapturedLog log;
        const CGImageRef out = applyFilter(c.filter, picture, {{c.key, c.value}});
        ASSERT_TRUE(out);
        EXPECT_EQ(pixelsOf(*out), pixelsOf(*expected));
        EXPECT_EQ(log.lines().size(), 1u);
    }
}

TEST(CIFilterTest, KernelsClipNaNToZero) {
    const CIKernels::CurveTable table = CIKernels::curveTable([](double x) { return x + 1; });
    for (double x : {double(NAN), -1.0, 0.0}) {
        EXPECT_EQ(CIKernels::lookUp(table, x), 1.0f) << x;
    }
    EXPECT_EQ(CIKernels::lookUp(table, HUGE_VAL), 2.0f);
    // A change that yields NaN gives black, alpha kept.
    const uint8_t in[4] = {10, 20, 30, 128};
    uint8_t out[4];
    CIKernels::changeStraightPixel(in, out, [](std::array<double, 3>& c) { c.fill(NAN); });
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0, 0, 0, 128}));
}

} // namespace
