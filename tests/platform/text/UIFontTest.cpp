#include "platform/text/UIFont.h"

#include "tests/support/TextTest.h"

#include <pango/pango.h>

#include <cmath>
#include <limits>

namespace {

using UIFontTest = TextTest;

// DejaVu Sans's own table values, in units of its 2048-unit em.
constexpr double kEm = 2048;
constexpr double kAscender = 1901;
constexpr double kDescender = 483;
constexpr double kCapHeight = 1493;
constexpr double kXHeight = 1120;
// Pango keeps metrics in 1/1024 point.
constexpr double kPangoUnit = 1.0 / 1024;

TEST_F(UIFontTest, OnlyTheBundledFamiliesExist) {
    // The host's other fonts (whatever they are) never show up: the list is exactly the
    // bundle's.
    const std::vector<std::string> expected{"DejaVu Math TeX Gyre", "DejaVu Sans",
                                            "DejaVu Sans Mono", "DejaVu Serif"};
    EXPECT_EQ(UIFont::familyNames(), expected);
    EXPECT_EQ(UIFont::fontNamesForFamilyName("DejaVu Sans Mono"),
              (std::vector<std::string>{"DejaVuSansMono", "DejaVuSansMono-Bold",
                                        "DejaVuSansMono-BoldOblique", "DejaVuSansMono-Oblique"}));
    EXPECT_TRUE(UIFont::fontNamesForFamilyName("Liberation Sans").empty());
}

TEST_F(UIFontTest, EveryListedFaceLoadsAsItself) {
    // Each face must be reachable by its name, including the condensed and light ones
    // that share a family with the regular face.
    size_t faces = 0;
    for (const auto& family : UIFont::familyNames()) {
        for (const auto& name : UIFont::fontNamesForFamilyName(family)) {
            SCOPED_TRACE(name);
            const auto font = UIFont::fontWithNameSize(name, 10);
            ASSERT_TRUE(font);
            EXPECT_EQ(font->fontName(), name);
            EXPECT_EQ(font->familyName(), family);
            ++faces;
        }
    }
    EXPECT_EQ(faces, 22u);
}

TEST_F(UIFontTest, NamesResolveByPostScriptNameOrFamily) {
    struct Case {
        const char* name;
        const char* fontName; // null: no such font
    } cases[] = {
        {"DejaVuSans", "DejaVuSans"},
        {"DejaVuSans-Bold", "DejaVuSans-Bold"},
        {"DejaVuSerif-Italic", "DejaVuSerif-Italic"},
        {"DejaVuSansMono", "DejaVuSansMono"},
        {"DejaVuSansCondensed-Oblique", "DejaVuSansCondensed-Oblique"},
        {"DejaVu Sans", "DejaVuSans"},
        {"DejaVu Serif", "DejaVuSerif"},
        {"DejaVu Sans Mono", "DejaVuSansMono"},
        {"Helvetica", nullptr},
        {"Helvetica-Bold", nullptr},
        {"dejavusans", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto font = UIFont::fontWithNameSize(c.name, 14);
        if (!c.fontName) {
            EXPECT_FALSE(font);
            continue;
        }
        ASSERT_TRUE(font);
        EXPECT_EQ(font->fontName(), c.fontName);
        EXPECT_EQ(font->pointSize(), 14);
    }
}

TEST_F(UIFontTest, SystemFontsAreDejaVuSans) {
    EXPECT_EQ(UIFont::systemFontOfSize(17)->fontName(), "DejaVuSans");
    EXPECT_EQ(UIFont::boldSystemFontOfSize(17)->fontName(), "DejaVuSans-Bold");
    EXPECT_EQ(UIFont::italicSystemFontOfSize(17)->fontName(), "DejaVuSans-Oblique");
    EXPECT_EQ(UIFont::systemFontOfSize(17)->familyName(), "DejaVu Sans");
}

TEST_F(UIFontTest, WeightsReachPangoAndPickTheNearestFace) {
    struct Case {
        double weight;
        int pangoWeight;
        const char* fontName; // the bundled face that draws it
    } cases[] = {
        {UIFontWeightUltraLight, 100, "DejaVuSans-ExtraLight"},
        {UIFontWeightThin, 200, "DejaVuSans-ExtraLight"},
        {UIFontWeightRegular, 400, "DejaVuSans"},
        {0.1, 443, "DejaVuSans"}, // navigation titles
        {0.2, 487, "DejaVuSans"}, // the counter and the colour row's labels
        {UIFontWeightMedium, 500, "DejaVuSans"},
        {UIFontWeightSemibold, 600, "DejaVuSans-Bold"},
        {UIFontWeightBold, 700, "DejaVuSans-Bold"},
        {UIFontWeightHeavy, 800, "DejaVuSans-Bold"},
        {UIFontWeightBlack, 900, "DejaVuSans-Bold"},
        {-1, 100, "DejaVuSans-ExtraLight"},
        {1, 900, "DejaVuSans-Bold"},
        {std::numeric_limits<double>::quiet_NaN(), 400, "DejaVuSans"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.weight);
        const auto font = UIFont::systemFontOfSizeWeight(15, c.weight);
        EXPECT_EQ(pango_font_description_get_weight(font->pangoFontDescription()), c.pangoWeight);
        EXPECT_EQ(font->fontName(), c.fontName);
        EXPECT_EQ(font->familyName(), "DejaVu Sans");
        EXPECT_EQ(font->pointSize(), 15);
        // A new size keeps the weight.
        EXPECT_EQ(pango_font_description_get_weight(font->fontWithSize(30)->pangoFontDescription()),
                  c.pangoWeight);
    }
}

TEST_F(UIFontTest, SizesThatAreNotPositiveMeanTwelvePoints) {
    for (double size : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(UIFont::systemFontOfSize(size)->pointSize(), 12);
    }
    EXPECT_EQ(UIFont::systemFontOfSize(1e9)->pointSize(), 10000);
}

TEST_F(UIFontTest, FontWithSizeKeepsTheFace) {
    const auto bold = UIFont::fontWithNameSize("DejaVuSerif-Bold", 10);
    const auto larger = bold->fontWithSize(30);
    EXPECT_EQ(larger->fontName(), "DejaVuSerif-Bold");
    EXPECT_EQ(larger->pointSize(), 30);
    EXPECT_EQ(bold->pointSize(), 10);
    EXPECT_NEAR(larger->lineHeight(), 3 * bold->lineHeight(), 3 * kPangoUnit);
    // Equal: the same face at the same size, however made.
    EXPECT_TRUE(larger->fontWithSize(10)->isEqual(*bold));
    EXPECT_FALSE(larger->isEqual(*bold));
    EXPECT_FALSE(bold->isEqual(*UIFont::fontWithNameSize("DejaVuSerif", 10)));
}

TEST_F(UIFontTest, MetricsComeFromTheFaceUnhinted) {
    for (double size : {17.0, 9.5, 40.0}) {
        SCOPED_TRACE(size);
        const auto font = UIFont::systemFontOfSize(size);
        EXPECT_NEAR(font->ascender(), kAscender / kEm * size, kPangoUnit);
        EXPECT_NEAR(font->descender(), -kDescender / kEm * size, kPangoUnit);
        EXPECT_NEAR(font->lineHeight(), font->ascender() - font->descender(), kPangoUnit);
        EXPECT_NEAR(font->capHeight(), kCapHeight / kEm * size, kPangoUnit);
        EXPECT_NEAR(font->xHeight(), kXHeight / kEm * size, kPangoUnit);
    }
}

} // namespace
