#include "platform/uikit/UIColor.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Components {
    double red, green, blue, alpha;
};

Components componentsOf(const UIColor& color) {
    Components c{-1, -1, -1, -1};
    EXPECT_TRUE(color.getRedGreenBlueAlpha(&c.red, &c.green, &c.blue, &c.alpha));
    return c;
}

TEST(UIColor, NamedColoursHaveTheirComponents) {
    struct Case {
        const char* name;
        std::function<std::shared_ptr<UIColor>()> make;
        Components expected;
    } cases[] = {
        {"clear", UIColor::clearColor, {0, 0, 0, 0}},
        {"black", UIColor::blackColor, {0, 0, 0, 1}},
        {"white", UIColor::whiteColor, {1, 1, 1, 1}},
        {"gray", UIColor::grayColor, {0.5, 0.5, 0.5, 1}},
        {"lightGray", UIColor::lightGrayColor, {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}},
        {"darkGray", UIColor::darkGrayColor, {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}},
        {"red", UIColor::redColor, {1, 0, 0, 1}},
        {"green", UIColor::greenColor, {0, 1, 0, 1}},
        {"blue", UIColor::blueColor, {0, 0, 1, 1}},
        {"yellow", UIColor::yellowColor, {1, 1, 0, 1}},
        {"orange", UIColor::orangeColor, {1, 0.5, 0, 1}},
        {"cyan", UIColor::cyanColor, {0, 1, 1, 1}},
        {"magenta", UIColor::magentaColor, {1, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto color = c.make();
        const Components got = componentsOf(*color);
        EXPECT_DOUBLE_EQ(got.red, c.expected.red);
        EXPECT_DOUBLE_EQ(got.green, c.expected.green);
        EXPECT_DOUBLE_EQ(got.blue, c.expected.blue);
        EXPECT_DOUBLE_EQ(got.alpha, c.expected.alpha);
        EXPECT_EQ(color->red(), got.red);
        EXPECT_EQ(color->alpha(), got.alpha);
    }
}

TEST(UIColor, ComponentsAreClampedAndNullOutputsSkipped) {
    const auto color = UIColor::colorWithRedGreenBlueAlpha(1.5, -0.2, 0.25, 2);
    EXPECT_EQ(color->red(), 1);
    EXPECT_EQ(color->green(), 0);
    EXPECT_EQ(color->blue(), 0.25);
    EXPECT_EQ(color->alpha(), 1);
    double blue = -1;
    EXPECT_TRUE(color->getRedGreenBlueAlpha(nullptr, nullptr, &blue, nullptr));
    EXPECT_EQ(blue, 0.25);
    EXPECT_EQ(UIColor::colorWithWhiteAlpha(-3, 0.5)->red(), 0);
}

TEST(UIColor, AlphaVariantKeepsTheColourAndEqualityIsExact) {
    const auto base = UIColor::orangeColor();
    const auto faded = base->colorWithAlphaComponent(0.25);
    EXPECT_TRUE(faded->isEqual(*UIColor::colorWithRedGreenBlueAlpha(1, 0.5, 0, 0.25)));
    EXPECT_FALSE(faded->isEqual(*base));
    EXPECT_EQ(base->alpha(), 1);
    EXPECT_TRUE(UIColor::blackColor()->isEqual(*UIColor::colorWithWhiteAlpha(0, 1)));
    EXPECT_FALSE(UIColor::grayColor()->isEqual(*UIColor::colorWithWhiteAlpha(0.5000001, 1)));
    EXPECT_FALSE(UIColor::blackColor()->isEqual(NSObject()));
}

TEST(UIColor, DrawingColoursCarryComponentsOrThePattern) {
    const CGColor plain = UIColor::orangeColor()->colorWithAlphaComponent(0.5)->cgColor();
    EXPECT_EQ(plain.r, 1);
    EXPECT_EQ(plain.g, 0.5);
    EXPECT_EQ(plain.b, 0);
    EXPECT_EQ(plain.a, 0.5);
    EXPECT_FALSE(plain.isPattern());

    CGImageRef tile =
        CGImage::create(1, 1, CGImagePixelFormat::ARGB32Premultiplied, 4, {0, 0, 0, 255});
    const auto pattern = UIColor::colorWithPatternImage(tile, 2);
    const CGColor drawn = pattern->cgColor();
    EXPECT_EQ(drawn.pattern, tile);
    EXPECT_EQ(drawn.patternScale, 2);
    EXPECT_EQ(pattern->colorWithAlphaComponent(0.5)->cgColor().pattern, tile);
    EXPECT_TRUE(pattern->isEqual(*UIColor::colorWithPatternImage(tile, 2)));
    EXPECT_FALSE(pattern->isEqual(*UIColor::blackColor()));
    EXPECT_FALSE(pattern->isEqual(*UIColor::colorWithPatternImage(tile, 1)));
}

TEST(UIColor, DescriptionListsComponents) {
    EXPECT_EQ(UIColor::orangeColor()->description(), "UIExtendedSRGBColorSpace 1 0.5 0 1");
    EXPECT_EQ(UIColor::clearColor()->description(), "UIExtendedSRGBColorSpace 0 0 0 0");
    EXPECT_EQ(NSDescription(UIColor::grayColor()->colorWithAlphaComponent(0.3)),
              "UIExtendedSRGBColorSpace 0.5 0.5 0.5 0.3");
}

TEST(UIColor, HueSaturationBrightnessBothWays) {
    struct Case {
        double h, s, b;
        double red, green, blue;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 0, 0},
        {1.0 / 6, 1, 1, 1, 1, 0},
        {1.0 / 3, 1, 1, 0, 1, 0},
        {0.5, 1, 1, 0, 1, 1},
        {2.0 / 3, 1, 1, 0, 0, 1},
        {5.0 / 6, 1, 1, 1, 0, 1},
        {0.25, 0.5, 0.8, 0.6, 0.8, 0.4},
        {0, 0, 0.5, 0.5, 0.5, 0.5},
        {0.7, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const auto color = UIColor::colorWithHueSaturationBrightnessAlpha(c.h, c.s, c.b, 0.4);
        EXPECT_NEAR(color->red(), c.red, 1e-9) << c.h << " " << c.s << " " << c.b;
        EXPECT_NEAR(color->green(), c.green, 1e-9) << c.h << " " << c.s << " " << c.b;
        EXPECT_NEAR(color->blue(), c.blue, 1e-9) << c.h << " " << c.s << " " << c.b;
        EXPECT_EQ(color->alpha(), 0.4);

        double h = -1, s = -1, b = -1, a = -1;
        ASSERT_TRUE(color->getHueSaturationBrightnessAlpha(&h, &s, &b, &a));
        // Greys and black have no hue of their own, and black no saturation either.
        EXPECT_NEAR(h, c.s > 0 && c.b > 0 ? c.h : 0, 1e-9);
        EXPECT_NEAR(s, c.b > 0 ? c.s : 0, 1e-9);
        EXPECT_NEAR(b, c.b, 1e-9);
        EXPECT_EQ(a, 0.4);
    }
    // A whole turn is red again; out-of-range saturation and brightness are clamped.
    const auto turned = UIColor::colorWithHueSaturationBrightnessAlpha(1, 2, 3, 1);
    EXPECT_EQ(turned->red(), 1);
    EXPECT_EQ(turned->green(), 0);
    EXPECT_EQ(turned->blue(), 0);
}

TEST(UIColor, WhiteReadsTheGreyLevelAndPatternsHaveNoColourToRead) {
    double white = -1, alpha = -1;
    ASSERT_TRUE(UIColor::colorWithWhiteAlpha(0.3, 0.5)->getWhiteAlpha(&white, &alpha));
    EXPECT_EQ(white, 0.3);
    EXPECT_EQ(alpha, 0.5);
    ASSERT_TRUE(UIColor::greenColor()->getWhiteAlpha(&white, nullptr));
    EXPECT_NEAR(white, 0.587, 1e-9);

    CGImageRef tile =
        CGImage::create(1, 1, CGImagePixelFormat::ARGB32Premultiplied, 4, {0, 0, 0, 255});
    const auto pattern = UIColor::colorWithPatternImage(tile, 1);
    double h = -1;
    white = -1;
    EXPECT_FALSE(pattern->getHueSaturationBrightnessAlpha(&h, nullptr, nullptr, nullptr));
    EXPECT_FALSE(pattern->getWhiteAlpha(&white, nullptr));
    EXPECT_EQ(h, -1);
    EXPECT_EQ(white, -1);
}

} // namespace
