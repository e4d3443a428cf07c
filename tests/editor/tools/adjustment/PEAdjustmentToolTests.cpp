#include "editor/tools/adjustment/PEAdjustmentTool.h"

#include "editor/PEImageToolInfo.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSError.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UISlider.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>

namespace {

// 16 x 12 opaque pixels: red across, green down, blue fixed, so that every channel takes
// many values.
std::shared_ptr<UIImage> rampPicture() {
    return UIImage::imageWithCGImage(makeImage(16, 12, CGImagePixelFormat::ARGB32Premultiplied,
                                               [](size_t x, size_t y) {
                                                   return 0xff000000u | uint32_t(x * 16) << 16 |
                                                          uint32_t(y * 20) << 8 | 0x60u;
                                               }));
}

int channel(uint32_t pixel, int shift) {
    return int(pixel >> shift & 0xff);
}

int luma(uint32_t pixel) {
    return (77 * channel(pixel, 16) + 150 * channel(pixel, 8) + 29 * channel(pixel, 0)) >> 8;
}

TEST(PEAdjustmentToolChainTest, NeutralSettingsGiveTheInputBackAndEachEndDoesWhatItSays) {
    auto picture = rampPicture();
    const std::vector<uint32_t> input = pixelsOf(*picture->cgImage());

    auto neutral = PEAdjustmentTool::filteredImage(picture, {});
    ASSERT_TRUE(neutral);
    EXPECT_EQ(pixelsOf(*neutral->cgImage()), input);

    // Each setting at an end of its slider, against the input, pixel by pixel.
    const struct {
        const char* what;
        PEAdjustmentTool::Settings settings;
        std::function<bool(uint32_t in, uint32_t out)> holds;
    } cases[] = {
        {"saturation 0 is grey", {0, 0, 1},
         [](uint32_t, uint32_t out) {
             return std::abs(channel(out, 16) - channel(out, 8)) <= 1 &&
                    std::abs(channel(out, 8) - channel(out, 0)) <= 1;
         }},
        {"saturation 2 spreads the channels (unless one clips)", {2, 0, 1},
         [](uint32_t in, uint32_t out) {
             for (int shift : {0, 8, 16}) {
                 if (channel(out, shift) == 0 || channel(out, shift) == 255) {
                     return true;
                 }
             }
             return std::abs(channel(out, 16) - channel(out, 0)) >=
                    std::abs(channel(in, 16) - channel(in, 0));
         }},
        {"brightness -1 (exposure -2) darkens", {1, -1, 1},
         [](uint32_t in, uint32_t out) { return luma(out) <= luma(in) && (luma(in) < 8 || luma(out) < luma(in)); }},
        {"brightness 1 (exposure +2) brightens", {1, 1, 1},
         [](uint32_t in, uint32_t out) { return luma(out) >= luma(in) && (luma(in) > 247 || luma(out) > luma(in)); }},
        {"contrast 1.5 (power 2.25) darkens the middle", {1, 0, 1.5},
         [](uint32_t in, uint32_t out) { return luma(out) <= luma(in); }},
        {"contrast 0.5 (power 0.25) lifts the middle", {1, 0, 0.5},
         [](uint32_t in, uint32_t out) { return luma(out) >= luma(in); }},
    };
    for (const auto& c : cases) {
        auto out = PEAdjustmentTool::filteredImage(picture, c.settings);
        ASSERT_TRUE(out) << c.what;
        const std::vector<uint32_t> output = pixelsOf(*out->cgImage());
        ASSERT_EQ(output.size(), input.size()) << c.what;
        EXPECT_NE(output, input) << c.what;
        for (size_t i = 0; i < input.size(); ++i) {
            ASSERT_TRUE(c.holds(input[i], output[i]))
                << c.what << " at pixel " << i << ": " << std::hex << input[i] << " -> " << output[i];
        }
    }
    EXPECT_FALSE(PEAdjustmentTool::filteredImage(nullptr, {}));
}

// The tool opened by a stand-in for the editor screen on the ramp picture, its background
// work held until the test runs it.
class PEAdjustmentToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The real slider thumbs, from the app's bundle.
        NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
        auto entry = PEImageToolInfo::toolInfoForToolClass("PEAdjustmentTool");
        ASSERT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PEAdjustmentTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
    }
    static size_t held() { return GlobalThreadPool::shared().pendingTaskCount(); }
    void move(const std::shared_ptr<UISlider>& slider, float value) {
        slider->setValue(value);
        slider->sendActionsForControlEvents(UIControlEventValueChanged);
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    std::shared_ptr<UIImage> picture = rampPicture();
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(picture);
    std::shared_ptr<PEAdjustmentTool> tool;
};

TEST_F(PEAdjustmentToolTest, SlidersStandWhereTheScreenPutsThem) {
    // The stand-in's screen: 320 wide, its menu's top at 488.
    const double pi = std::numbers::pi;
    const struct {
        const char* what;
        std::shared_ptr<UISlider> slider;
        float value, minimum, maximum;
        CGPoint centre;
        double rotation;
    } cases[] = {
        {"saturation", tool->saturationSlider(), 1, 0, 2, CGPointMake(160, 458), 0},
        // Centred 150 above the top of the saturation container (458 - 17.5).
        {"brightness", tool->brightnessSlider(), 0, -1, 1, CGPointMake(20, 290.5), -pi / 2},
        {"contrast", tool->contrastSlider(), 1, 0.5, 1.5, CGPointMake(300, 290.5), -pi / 2},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.slider) << c.what;
        EXPECT_EQ(c.slider->value(), c.value) << c.what;
        EXPECT_EQ(c.slider->minimumValue(), c.minimum) << c.what;
        EXPECT_EQ(c.slider->maximumValue(), c.maximum) << c.what;
        EXPECT_TRUE(c.slider->isContinuous()) << c.what;
        EXPECT_EQ(c.slider->frame(), CGRectMake(10, 0, 240, 35)) << c.what;
        auto container = c.slider->superview();
        ASSERT_TRUE(container) << c.what;
        EXPECT_EQ(container->superview(), host->view()) << c.what;
        EXPECT_EQ(container->bounds(), CGRectMake(0, 0, 260, 35)) << c.what;
        EXPECT_EQ(container->layer()->cornerRadius(), 17.5) << c.what;
        EXPECT_NEAR(container->center().x, c.centre.x, 1e-4) << c.what;
        EXPECT_NEAR(container->center().y, c.centre.y, 1e-4) << c.what;
        EXPECT_NEAR(std::atan2(container->transform().b, container->transform().a), c.rotation, 1e-9)
            << c.what;
        auto thumb = c.slider->thumbImageForState(UIControlStateNormal);
        ASSERT_TRUE(thumb) << c.what;
        EXPECT_EQ(thumb->size(), CGSizeMake(28, 28)) << c.what;
        EXPECT_EQ(c.slider->thumbImageForState(UIControlStateHighlighted), thumb) << c.what;
    }
    EXPECT_EQ(host->fixZoomCalls, 1);
    // The previews' copy is the image view's size.
    EXPECT_EQ(tool->thumbnailImage()->size(), CGSizeMake(320, 424));

    host->back(*tool);
    for (const auto& c : cases) {
        EXPECT_FALSE(c.slider->window() || c.slider->superview()) << c.what;
    }
    EXPECT_EQ(host->view()->subviews().size(), 2u) << "only the screen's own views stay";
    EXPECT_EQ(host->resetZoomCalls, 1);
}

TEST_F(PEAdjustmentToolTest, AnAssetNamedByTheHostReplacesTheToolsOwnThumb) {
    host->back(*tool);
    auto entry = PEImageToolInfo::toolInfoForToolClass("PEAdjustmentTool");
    (*entry->optionalInfo())["contrastIconAssetsName"] = "AD.png";
    auto other = std::dynamic_pointer_cast<PEAdjustmentTool>(host->openTool(entry));
    ASSERT_TRUE(other);
    auto appImage = UIImage::imageNamed("AD.png");
    ASSERT_TRUE(appImage);
    EXPECT_EQ(other->contrastSlider()->thumbImageForState(UIControlStateNormal)->size(), appImage->size());
    // The empty names keep the tool's own.
    EXPECT_EQ(other->brightnessSlider()->thumbImageForState(UIControlStateNormal)->size(),
              CGSizeMake(28, 28));
    host->back(*other);
}

TEST_F(PEAdjustmentToolTest, AMoveWhileAPreviewRendersStartsNoSecondOneAndALatePreviewIsDropped) {
    move(tool->brightnessSlider(), -1);
    EXPECT_EQ(held(), 1u);
    move(tool->brightnessSlider(), 1);
    move(tool->saturationSlider(), 0);
    EXPECT_EQ(held(), 1u) << "a preview is running: the moves are dropped";

    environment.runUntilIdle();
    auto shown = host->imageView()->image();
    ASSERT_NE(shown, picture);
    // The preview of the first move (brightness -1), on the image view's copy.
    EXPECT_EQ(shown->size(), CGSizeMake(320, 424));
    EXPECT_LT(luma(shown->cgImage()->pixelAt(300, 400)), luma(tool->thumbnailImage()->cgImage()->pixelAt(300, 400)));

    // Free again: the next move previews; after Back its picture never reaches the view.
    move(tool->contrastSlider(), 1.2f);
    EXPECT_EQ(held(), 1u);
    host->back(*tool);
    environment.runUntilIdle();
    EXPECT_EQ(host->imageView()->image(), picture);
}

TEST_F(PEAdjustmentToolTest, OkRendersTheFullPictureWithTheValuesAtThatMoment) {
    tool->saturationSlider()->setValue(0);
    std::vector<std::shared_ptr<UIImage>> answers;
    tool->executeWithCompletionBlock(
        [&](std::shared_ptr<UIImage> image, std::shared_ptr<NSError> error, std::shared_ptr<NSObject>) {
            EXPECT_FALSE(error);
            EXPECT_TRUE(NSThread::isMainThread());
            answers.push_back(image);
        });
    EXPECT_TRUE(answers.empty());
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_TRUE(answers[0]);
    EXPECT_EQ(pixelsOf(*answers[0]->cgImage()),
              pixelsOf(*PEAdjustmentTool::filteredImage(picture, {0, 0, 1})->cgImage()));
}

} // namespace
