#include "platform/coreimage/CIVector.h"
#include "platform/graphics/NSValue.h"
#include "tests/platform/coreimage/FilterTesting.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

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

} // namespace
