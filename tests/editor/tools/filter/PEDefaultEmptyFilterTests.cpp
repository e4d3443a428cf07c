#include "editor/tools/filter/PEDefaultEmptyFilter.h"

#include "editor/PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using ::testing::ElementsAreArray;

constexpr uint32_t kColour = 0xff336699u, kInverted = 0xffcc9966u;
constexpr uint32_t kMark = 0xffff0000u, kInvertedMark = 0xff00ffffu;

const std::vector<std::string> kAllFilters = {
    "PEDefaultEmptyFilter",   "PEDefaultLinearFilter",  "PEDefaultVignetteFilter",
    "PEDefaultInstantFilter", "PEDefaultProcessFilter", "PEDefaultTransferFilter",
    "PEDefaultSepiaFilter",   "PEDefaultChromeFilter",  "PEDefaultFadeFilter",
    "PEDefaultCurveFilter",   "PEDefaultTonalFilter",   "PEDefaultNoirFilter",
    "PEDefaultMonoFilter",    "PEDefaultInvertFilter",
};

std::shared_ptr<UIImage> solidPicture(size_t width, size_t height, double scale = 1) {
    return UIImage::imageWithCGImageScaleOrientation(
        makeImage(width, height, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t, size_t) { return kColour; }),
        scale, UIImageOrientation::Up);
}

const PEDefaultEmptyFilter::ClassMethods& filterMethods(const Class& cls) {
    return *ClassRegistry::shared().classConformingTo<PEDefaultEmptyFilter::ClassMethods>(cls);
}

std::shared_ptr<UIImage> applyFilter(const std::string& className,
                                     const std::shared_ptr<UIImage>& image) {
    const Class* cls = NSClassFromString(className);
    return cls ? filterMethods(*cls).applyFilter(*cls, image) : nullptr;
}

TEST(PEDefaultEmptyFilter, TheStripListsTheFiltersTheSystemVersionHas) {
    const struct {
        const char* version;
        std::vector<std::string> filters;
    } cases[] = {
        {"5.0", {"PEDefaultEmptyFilter", "PEDefaultSepiaFilter"}},
        {"6.1", {"PEDefaultEmptyFilter", "PEDefaultSepiaFilter", "PEDefaultInvertFilter"}},
        {"7.0", kAllFilters},
        {"10.3.3", kAllFilters},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        UIDevice::currentDevice()->setSystemVersion(c.version);
        auto tool = PEImageToolInfo::toolInfoForToolClass("PEFilterTool");
        ASSERT_TRUE(tool);
        std::vector<std::string> names;
        for (const auto& entry : tool->sortedSubtools()) {
            names.push_back(entry->toolName());
            EXPECT_FALSE(entry->iconImagePath()) << entry->toolName();
        }
        EXPECT_THAT(names, ElementsAreArray(c.filters));
    }
    // Before version 5 the tool itself is not offered.
    UIDevice::currentDevice()->setSystemVersion("4.3");
    EXPECT_EQ(PEImageToolInfo::toolInfoForToolClass("PEFilterTool"), nullptr);
}

TEST(PEDefaultEmptyFilter, OnSevenEveryFilterComesInDockedOrderWithItsTitle) {
    UIDevice::currentDevice()->setSystemVersion("7.0");
    const char* titles[] = {"None",     "Linear", "Vignette", "Instant", "Process",
                            "Transfer", "Sepia",  "Chrome",   "Fade",    "Curve",
                            "Tonal",    "Noir",   "Mono",     "Invert"};
    auto tool = PEImageToolInfo::toolInfoForToolClass("PEFilterTool");
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->title(), "Filter");
    EXPECT_EQ(tool->dockedNumber(), 0);
    // Its menu icon is the bundle's; the filters have none and get thumbnails instead.
    EXPECT_TRUE(tool->iconImage());
    const auto filters = tool->sortedSubtools();
    ASSERT_EQ(filters.size(), 14u);
    for (size_t i = 0; i < filters.size(); ++i) {
        EXPECT_EQ(filters[i]->dockedNumber(), static_cast<double>(i));
        EXPECT_EQ(filters[i]->title(), titles[i]);
    }
    // The base and a class without a row of the table never show.
    EXPECT_EQ(PEImageToolInfo::toolInfoForToolClass("PEFilterBase"), nullptr);
    EXPECT_FALSE(
        filterMethods(Class{"PEDefaultUnknownFilter", "PEDefaultEmptyFilter", {}, {}, {}})
            .isAvailable(Class{"PEDefaultUnknownFilter", "PEDefaultEmptyFilter", {}, {}, {}}));
}

TEST(PEDefaultEmptyFilter, TheTableNamesEachEngineFilterAndIsBuiltAnewEachTime) {
    const PlistValue::Dictionary table = PEDefaultEmptyFilter::defaultFilterInfo();
    EXPECT_EQ(table.size(), 14u);
    const PlistValue& sepia = table.at("PEDefaultSepiaFilter");
    EXPECT_EQ(sepia["name"].stringValue(), "CISepiaTone");
    EXPECT_EQ(sepia["title"].stringValue(), "Sepia");
    EXPECT_EQ(sepia["version"].doubleValue(), 5);
    EXPECT_EQ(sepia["dockedNum"].doubleValue(), 6);
    const Class* invert = NSClassFromString("PEDefaultInvertFilter");
    ASSERT_TRUE(invert);
    EXPECT_EQ(filterMethods(*invert).filterName(*invert), "CIColorInvert");

    // The application's own translation, once there, is what the next table says.
    TempFolder folder;
    folder.write("Localizable.strings",
                 "<plist version=\"1.0\"><dict><key>PEDefaultSepiaFilter_DefaultTitle</key>"
                 "<string>Sepiaton</string></dict></plist>");
    NSBundle::setMainBundlePath(folder.path());
    EXPECT_EQ(
        PEDefaultEmptyFilter::defaultFilterInfo().at("PEDefaultSepiaFilter")["title"].stringValue(),
        "Sepiaton");
}

TEST(PEDefaultEmptyFilter, TheVignetteIsCentredOnThePictureInPixels) {
    // 1000 x 800 points at scale 2.
    const auto picture = UIImage::imageWithCGImageScaleOrientation(
        CGImage::create(2000, 1600, CGImagePixelFormat::ARGB32Premultiplied, 2000 * 4,
                        std::vector<uint8_t>(size_t{2000} * 1600 * 4)),
        2, UIImageOrientation::Up);
    const auto vignette = PEDefaultEmptyFilter::filterWithNameForImage("CIVignetteEffect", picture);
    ASSERT_TRUE(vignette);
    ASSERT_TRUE(vignette->vectorForKey("inputCenter"));
    EXPECT_EQ(vignette->vectorForKey("inputCenter")->X(), 1000);
    EXPECT_EQ(vignette->vectorForKey("inputCenter")->Y(), 800);
    EXPECT_EQ(vignette->numberForKey("inputRadius"), 800);
    EXPECT_FLOAT_EQ(static_cast<float>(vignette->numberForKey("inputIntensity")), 0.9f);
    EXPECT_EQ(vignette->numberForKey("inputFalloff"), 0.5);
    // Every other filter keeps its defaults.
    const auto sepia = PEDefaultEmptyFilter::filterWithNameForImage("CISepiaTone", picture);
    ASSERT_TRUE(sepia);
    EXPECT_EQ(sepia->numberForKey("inputIntensity"), 1);
}

TEST(PEDefaultEmptyFilter, EveryFilterGivesAnUprightPictureOfScaleOneWithItsPixels) {
    // 4 x 3 points at scale 2.
    const auto picture = solidPicture(8, 6, 2);
    // "None" gives the picture itself, not a copy.
    EXPECT_EQ(applyFilter("PEDefaultEmptyFilter", picture), picture);
    for (size_t i = 1; i < kAllFilters.size(); ++i) {
        SCOPED_TRACE(kAllFilters[i]);
        const auto filtered = applyFilter(kAllFilters[i], picture);
        ASSERT_TRUE(filtered);
        EXPECT_EQ(filtered->scale(), 1);
        EXPECT_EQ(filtered->imageOrientation(), UIImageOrientation::Up);
        EXPECT_EQ(filtered->cgImage()->width(), 8u);
        EXPECT_EQ(filtered->cgImage()->height(), 6u);
        // Each one changes this colour (the vignette at least in the corner).
        EXPECT_NE(filtered->cgImage()->pixelAt(0, 0), kColour);
    }
    EXPECT_EQ(applyFilter("PEDefaultInvertFilter", picture)->cgImage()->pixelAt(3, 2), kInverted);
    EXPECT_EQ(applyFilter("PEDefaultInvertFilter", nullptr), nullptr);
    EXPECT_EQ(PEDefaultEmptyFilter::filteredImageWithFilterName(picture, "CINoSuchFilter"),
              nullptr);
}

TEST(PEDefaultEmptyFilter, ATurnedPictureKeepsItsUprightLook) {
    // Stored 6 x 4 with the top-left pixel marked, shown turned a quarter clockwise (4 x 6
    // points at scale 2): the mark is seen at the top right.
    const auto stored =
        makeImage(6, 4, CGImagePixelFormat::ARGB32Premultiplied,
                  [](size_t x, size_t y) { return x == 0 && y == 0 ? kMark : kColour; });
    const auto picture =
        UIImage::imageWithCGImageScaleOrientation(stored, 2, UIImageOrientation::Right);
    const auto filtered = applyFilter("PEDefaultInvertFilter", picture);
    ASSERT_TRUE(filtered);
    EXPECT_EQ(filtered->imageOrientation(), UIImageOrientation::Up);
    ASSERT_EQ(filtered->cgImage()->width(), 4u);
    ASSERT_EQ(filtered->cgImage()->height(), 6u);
    EXPECT_EQ(filtered->cgImage()->pixelAt(3, 0), kInvertedMark);
    EXPECT_EQ(filtered->cgImage()->pixelAt(0, 0), kInverted);
    EXPECT_EQ(filtered->cgImage()->pixelAt(3, 5), kInverted);
}

} // namespace
