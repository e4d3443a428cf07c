// Ad sizes and ad types: making sizes from sides, resolving them on a phone and a tablet of
// a known screen, validation with its errors, descriptions, boxing, and ad types' equality.
#include "ads/core/ZADAdSize.h"
#include "ads/core/ZADAdType.h"
#include "platform/foundation/NSError.h"
#include "platform/graphics/NSValue.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {

class AdSizeTest : public ::testing::Test {
protected:
    void SetUp() override { UIScreen::configureMainScreen(CGSizeMake(375, 667), 2); }
    void TearDown() override {
        UIScreen::resetForTesting();
        UIDevice::resetForTesting();
    }

    TaskEnvironment environment;
};

TEST_F(AdSizeTest, MakeFromSizeFindsTheStandardSizeOrMakesACustomOne) {
    const struct {
        CGSize size;
        ZADAdSize expected;
    } cases[] = {
        {{320, 50}, kZADAdSizeBanner},
        {{320, 100}, kZADAdSizeLargeBanner},
        {{300, 250}, kZADAdSizeMediumRectangle},
        {{468, 60}, kZADAdSizeFullBanner},
        {{728, 90}, kZADAdSizeLeaderboard},
        {{120, 600}, kZADAdSizeSkyscraper},
        {{-1, -1}, kZADAdSizeInvalid},
        {{320, 51}, {{320, 51}, kZADAdSizeFlagCustom}},
        {{0, 0}, {{0, 0}, kZADAdSizeFlagCustom}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NSStringFromCGSize(c.size));
        const ZADAdSize made = ZADAdSizeMakeFromSize(c.size);
        EXPECT_TRUE(ZADAdSizeIsEqual(made, c.expected)) << ZADAdSizeDescription(made);
    }
}

TEST_F(AdSizeTest, SizesResolveByTheirFlagsTheIdiomAndTheScreen) {
    using enum UIUserInterfaceIdiom;
    const struct {
        const char* name;
        UIUserInterfaceIdiom idiom;
        ZADAdSize size;
        CGSize expected;
    } cases[] = {
        {"standard", Phone, kZADAdSizeMediumRectangle, {300, 250}},
        {"unnamed without flags", Phone, {{321, 50}, 0}, {0, 0}},
        {"invalid", Phone, kZADAdSizeInvalid, {0, 0}},
        {"custom", Phone, ZADAdSizeMakeFromSize({200, 77}), {200, 77}},
        {"smart portrait, phone", Phone, kZADAdSizeSmartBannerPortrait, {375, 50}},
        {"smart landscape, phone", Phone, kZADAdSizeSmartBannerLandscape, {667, 32}},
        {"smart skinny portrait, phone", Phone, kZADAdSizeSmartBannerSkinnyPortrait, {375, 50}},
        {"smart portrait, tablet", Pad, kZADAdSizeSmartBannerPortrait, {375, 90}},
        {"smart skinny portrait, tablet", Pad, kZADAdSizeSmartBannerSkinnyPortrait, {375, 66}},
        {"smart skinny landscape, tablet", Pad, kZADAdSizeSmartBannerSkinnyLandscape, {667, 66}},
        {"smart, unknown idiom", Unspecified, kZADAdSizeSmartBannerPortrait, {0, 0}},
        {"full width of 80", Phone, ZADAdSizeMakeFullWidth(80), {375, 80}},
        {"full width, unknown idiom", Unspecified, ZADAdSizeMakeFullWidth(80), {0, 0}},
        {"full width alone", Phone, {{0, 80}, kZADAdSizeFlagFullWidth}, {0, 0}},
        {"fluid with a size", Phone, ZADAdSizeMakeFluid(250, 40), {250, 40}},
        {"flags without a meaning", Phone, {{10, 10}, 64}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UIDevice::currentDevice()->setUserInterfaceIdiom(c.idiom);
        EXPECT_EQ(ZADAdSizeGetCGSize(c.size), c.expected);
    }
}

TEST_F(AdSizeTest, AFluidSizeWithoutSidesTakesTheMainWindowsWidth) {
    EXPECT_EQ(ZADAdSizeGetCGSize(kZADAdSizeFluid), CGSizeZero); // no window yet
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 414, 736));
    window->makeKeyAndVisible();
    EXPECT_EQ(ZADAdSizeGetCGSize(kZADAdSizeFluid), CGSizeMake(414, 1));
    window->setHidden(true);
}

TEST_F(AdSizeTest, ValidationRefusesTheInvalidSizeAndSizesLargerThanTheScreen) {
    const struct {
        const char* name;
        ZADAdSize size;
        const char* error; // nullptr: valid
    } cases[] = {
        {"banner", kZADAdSizeBanner, nullptr},
        {"fluid", kZADAdSizeFluid, nullptr},
        {"smart landscape", kZADAdSizeSmartBannerLandscape, nullptr},
        {"fits only turned", ZADAdSizeMakeFromSize({600, 300}), nullptr},
        {"exactly the screen", ZADAdSizeMakeFromSize({375, 667}), nullptr},
        {"invalid", kZADAdSizeInvalid, "Invalid ad size."},
        {"too wide", ZADAdSizeMakeFromSize({2000, 50}),
         "Not enough space to show ad with custom size, {2000, 50}. Please use a size that fits "
         "the current screen bounds of {375, 667}."},
        {"too large either way", ZADAdSizeMakeFromSize({400, 700}),
         "Not enough space to show ad with custom size, {400, 700}. Please use a size that fits "
         "the current screen bounds of {375, 667}."},
        {"negative sides count by their length", ZADAdSizeMakeFromSize({-700, 50}),
         "Not enough space to show ad with custom size, {-700, 50}. Please use a size that fits "
         "the current screen bounds of {375, 667}."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<NSError> error;
        EXPECT_EQ(ZADAdSizeValidate(c.size, &error), c.error == nullptr);
        EXPECT_EQ(ZADAdSizeValidate(c.size), c.error == nullptr); // no out-parameter
        if (c.error) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->domain(), "com.zivido.ads.private");
            EXPECT_EQ(error->code(), 3);
            EXPECT_EQ(error->localizedDescription(), c.error);
        } else {
            EXPECT_FALSE(error);
        }
    }
}

TEST_F(AdSizeTest, DescriptionsNameTheConstantsAndTellTheKindOfOthers) {
    const struct {
        ZADAdSize size;
        const char* expected;
    } cases[] = {
        {kZADAdSizeBanner, "kZADAdSizeBanner"},
        {kZADAdSizeLargeBanner, "kZADAdSizeLargeBanner"},
        {kZADAdSizeMediumRectangle, "kZADAdSizeMediumRectangle"},
        {kZADAdSizeFullBanner, "kZADAdSizeFullBanner"},
        {kZADAdSizeLeaderboard, "kZADAdSizeLeaderboard"},
        {kZADAdSizeSkyscraper, "kZADAdSizeSkyscraper"},
        {kZADAdSizeSmartBannerPortrait, "kZADAdSizeSmartBannerPortrait"},
        {kZADAdSizeSmartBannerLandscape, "kZADAdSizeSmartBannerLandscape"},
        {kZADAdSizeSmartBannerSkinnyPortrait, "kZADAdSizeSmartBannerSkinnyPortrait"},
        {kZADAdSizeSmartBannerSkinnyLandscape, "kZADAdSizeSmartBannerSkinnyLandscape"},
        {kZADAdSizeFluid, "kZADAdSizeFluid"},
        {kZADAdSizeInvalid, "kZADAdSizeInvalid"},
        {ZADAdSizeMakeFullWidth(80), "Full width ZADAdSize with height: 80.000000"},
        {ZADAdSizeMakeFromSize({320, 51}), "Custom ZADAdSize: {320, 51}"},
        {ZADAdSizeMakeFluid(250, 40), "Fluid ZADAdSize: {250, 40}"},
        {{{320, 50}, 0x40}, "ZADAdSize: {320, 50}, 40"},
        {{{0, 0}, 0}, "ZADAdSize: {0, 0}, 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZADAdSizeDescription(c.size), c.expected);
    }
}

TEST_F(AdSizeTest, BoxedSizesComeBackOnlyFromTheirOwnEncoding) {
    const ZADAdSize custom = ZADAdSizeMakeFromSize({250, 40});
    EXPECT_EQ(ZADAdSizeToValue(custom)->objCType(), "{ZADAdSize={CGSize=dd}Q}");
    EXPECT_TRUE(ZADAdSizeIsEqual(ZADAdSizeFromValue(ZADAdSizeToValue(custom)), custom));
    EXPECT_TRUE(ZADAdSizeIsEqual(
        ZADAdSizeFromValue(NSValue::valueWithBytesObjCType(CGSizeMake(320, 50), "{CGSize=dd}")),
        kZADAdSizeInvalid));
    EXPECT_TRUE(ZADAdSizeIsEqual(ZADAdSizeFromValue(nullptr), kZADAdSizeInvalid));
}

TEST_F(AdSizeTest, SizesReadFromTextOrGiveZero) {
    const struct {
        const char* text;
        CGSize expected;
    } cases[] = {
        {"320x50", {320, 50}}, {"320.5x50", {320.5, 50}}, {"", {0, 0}},
        {"big", {0, 0}},       {"nanxinf", {0, 0}},     {"320", {0, 0}},
        {"320x", {0, 0}},      {"x50", {0, 0}},         {"320x50x2", {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZADAdSizeFromString(c.text), c.expected) << c.text;
    }
}

TEST_F(AdSizeTest, AdTypesCompareInterstitialsAlikeAndBannersBySize) {
    auto banner = ZADAdType::bannerAdTypeForSize(kZADAdSizeBanner);
    auto sameBanner = ZADAdType::initWithAdSize(kZADAdSizeBanner);
    auto otherBanner = ZADAdType::bannerAdTypeForSize(kZADAdSizeMediumRectangle);
    auto interstitial = ZADAdType::interstitialAdType();
    auto resized = ZADAdType::initForInterstitial();
    resized->setAdSize(kZADAdSizeLeaderboard);
    auto reward = ZADAdType::initForRewardBasedVideoAd();

    EXPECT_TRUE(banner->isEqual(*sameBanner));
    EXPECT_EQ(banner->hash(), sameBanner->hash());
    EXPECT_FALSE(banner->isEqual(*otherBanner));
    EXPECT_TRUE(interstitial->isEqual(*resized));
    EXPECT_EQ(interstitial->hash(), resized->hash());
    EXPECT_FALSE(banner->isEqual(*interstitial));
    EXPECT_FALSE(interstitial->isEqual(*banner));
    // A type that is not an interstitial compares by size, whatever its other flags.
    EXPECT_TRUE(reward->isEqual(*ZADAdType::bannerAdTypeForSize(kZADAdSizeInvalid)));
    EXPECT_FALSE(banner->isEqual(*UIScreen::mainScreen()));

    EXPECT_TRUE(reward->isRewardBasedVideoAd());
    EXPECT_FALSE(reward->isInterstitial());
    EXPECT_TRUE(ZADAdSizeIsEqual(interstitial->adSize(), kZADAdSizeInvalid));
}

TEST_F(AdSizeTest, AdTypesAreValidAndDescribedByTheirKind) {
    EXPECT_TRUE(ZADAdType::interstitialAdType()->isValid());
    EXPECT_TRUE(ZADAdType::bannerAdTypeForSize(kZADAdSizeBanner)->isValid());
    EXPECT_FALSE(ZADAdType::bannerAdTypeForSize(ZADAdSizeMakeFromSize({2000, 50}))->isValid());
    EXPECT_EQ(ZADAdType::interstitialAdType()->description(), "ZADAdType interstitial type");
    EXPECT_EQ(ZADAdType::bannerAdTypeForSize(kZADAdSizeBanner)->description(),
              "ZADAdType banner with size: kZADAdSizeBanner");
}

} // namespace
