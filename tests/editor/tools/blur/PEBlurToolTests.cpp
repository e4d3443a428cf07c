#include "editor/tools/blur/PEBlurTool.h"

#include "editor/PEImageEditorTheme.h"
#include "editor/PEImageToolInfo.h"
#include "editor/PEToolbarMenuItem.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/blur/PEBlurBand.h"
#include "editor/tools/blur/PEBlurCircle.h"
#include "harness/TouchInjector.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSError.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;

// A checkerboard of 2-pixel squares: any blur turns it grey, the sharp picture never is.
std::shared_ptr<UIImage> checkerboard(size_t width, size_t height) {
    return UIImage::imageWithCGImage(makeImage(
        width, height, CGImagePixelFormat::ARGB32Premultiplied,
        [](size_t x, size_t y) { return (x / 2 + y / 2) % 2 ? 0xffffffffu : 0xff000000u; }));
}

uint32_t at(const std::shared_ptr<UIImage>& image, double x, double y) {
    return image->cgImage()->pixelAt(size_t(x), size_t(y));
}

// The real masks and icons, from the app's bundle.
class BlurBundleTest : public ::testing::Test {
protected:
    BlurBundleTest() { NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR); }
};

class PEBlurToolCombinationTest : public BlurBundleTest {
protected:
    // A 100 x 100 picture shown in a 100-point image view: a circle view of 1.5 times the
    // side centred, a band view the diagonal wide centred, as the tool sets them up.
    PEBlurTool::Parameters parameters(uint64_t type) const {
        PEBlurTool::Parameters p;
        p.blurType = type;
        p.circleFrame = CGRectMake(-25, -25, 150, 150);
        const double diagonal = std::sqrt(2.0) * 100;
        p.bandImageRect = CGRectMake(50 - diagonal / 2, 0, diagonal, 100);
        p.handlerWidth = p.imageViewWidth = p.originalWidth = 100;
        p.circleMask = PEImageEditorTheme::imageNamedImage("PEBlurTool", "circle.png");
        p.bandMask = PEImageEditorTheme::imageNamedImage("PEBlurTool", "band.png");
        return p;
    }
    // Which of the two pictures the result shows at each point.
    void expectSharpAndBlurred(const std::shared_ptr<UIImage>& result, const char* what,
                               std::initializer_list<CGPoint> sharpAt,
                               std::initializer_list<CGPoint> blurredAt) const {
        ASSERT_TRUE(result) << what;
        ASSERT_EQ(result->size(), sharp->size()) << what;
        for (CGPoint p : sharpAt) {
            EXPECT_EQ(at(result, p.x, p.y), at(sharp, p.x, p.y)) << what << " sharp at " << p.x << "," << p.y;
        }
        for (CGPoint p : blurredAt) {
            EXPECT_EQ(at(result, p.x, p.y), at(blurred, p.x, p.y)) << what << " blurred at " << p.x << "," << p.y;
        }
    }

    std::shared_ptr<UIImage> sharp = checkerboard(100, 100);
    std::shared_ptr<UIImage> blurred = Utility::gaussBlur(sharp, 1);
};

TEST_F(PEBlurToolCombinationTest, CircleKeepsItsInsideSharpAndBlursTheOutside) {
    auto p = parameters(PEBlurTool::Circle);
    ASSERT_TRUE(p.circleMask);
    // The ring is 0.3 of the 150-point square across: 22.5 points about the centre.
    expectSharpAndBlurred(PEBlurTool::buildResultImageWithBlurImage(sharp, blurred, p), "centred",
                          {CGPointMake(50, 50), CGPointMake(35, 50), CGPointMake(50, 66)},
                          {CGPointMake(2, 2), CGPointMake(97, 50), CGPointMake(50, 95), CGPointMake(85, 85)});
    // Moved to the top left corner, in a picture shown at half its size.
    p.circleFrame = CGRectMake(-75 / 2.0, -75 / 2.0, 75, 75);
    p.imageViewWidth = 50;
    expectSharpAndBlurred(PEBlurTool::buildResultImageWithBlurImage(sharp, blurred, p), "corner",
                          {CGPointMake(2, 2), CGPointMake(12, 4)},
                          {CGPointMake(50, 50), CGPointMake(97, 97)});
}

TEST_F(PEBlurToolCombinationTest, BandKeepsItsStripSharpWhereverItIsMovedTurnedOrThickened) {
    struct Case {
        const char* what;
        double rotation, scale, offset;
        std::initializer_list<CGPoint> sharpAt, blurredAt;
    };
    // The band is the middle 40 % of the view's height: rows 30 to 70 when level.
    const Case cases[] = {
        {"level", 0, 1, 0, {CGPointMake(5, 35), CGPointMake(95, 65)}, {CGPointMake(50, 5), CGPointMake(50, 95)}},
        {"moved down 30", 0, 1, 30, {CGPointMake(50, 65), CGPointMake(50, 95)}, {CGPointMake(50, 5), CGPointMake(50, 35)}},
        {"upright", kPi / 2, 1, 0, {CGPointMake(35, 5), CGPointMake(65, 95)}, {CGPointMake(5, 50), CGPointMake(95, 50)}},
        {"thinned to 0.2", 0, 0.2, 0, {CGPointMake(50, 50)}, {CGPointMake(50, 35), CGPointMake(50, 65)}},
        {"thickened to 2", 0, 2, 0, {CGPointMake(50, 15), CGPointMake(50, 85)}, {}},
    };
    for (const auto& c : cases) {
        auto p = parameters(PEBlurTool::Band);
        p.bandRotation = c.rotation;
        p.bandScale = c.scale;
        p.bandOffset = c.offset;
        expectSharpAndBlurred(PEBlurTool::buildResultImageWithBlurImage(sharp, blurred, p), c.what,
                              c.sharpAt, c.blurredAt);
    }
    // Normal mode is the blurred picture itself; a missing picture gives none.
    EXPECT_EQ(PEBlurTool::buildResultImageWithBlurImage(sharp, blurred, parameters(PEBlurTool::Normal)),
              blurred);
    EXPECT_FALSE(PEBlurTool::buildResultImageWithBlurImage(sharp, nullptr, parameters(PEBlurTool::Band)));
}

// The tool opened by a stand-in for the editor screen shown in a window, so that fingers
// reach it; its background work held until the test runs it.
class PEBlurToolTest : public BlurBundleTest {
protected:
    void SetUp() override {
        window->addSubview(host->view());
        window->makeKeyAndVisible();
        auto entry = PEImageToolInfo::toolInfoForToolClass("PEBlurTool");
        ASSERT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PEBlurTool>(host->openTool(entry));
        ASSERT_TRUE(tool);
    }
    static size_t held() { return GlobalThreadPool::shared().pendingTaskCount(); }
    std::shared_ptr<PEToolbarMenuItem> item(size_t index) const {
        return std::dynamic_pointer_cast<PEToolbarMenuItem>(tool->menuScroll()->subviews().at(index));
    }
    void chooseMode(size_t index) {
        environment.runUntilIdle(); // the strip slides in
        TouchInjector::tapAt(TouchInjector::tapPointOfView(*item(index)));
    }
    // A point of the picture (the handler view) in the window: the picture's scroll view
    // starts 64 points down.
    static CGPoint inWindow(double x, double y) { return CGPointMake(x, 64 + y); }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    std::shared_ptr<UIImage> picture = checkerboard(64, 48);
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(picture);
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<PEBlurTool> tool;
};

TEST_F(PEBlurToolTest, OpensInNormalModeWithItsControlsInPlaceAndShowsTheWholeCopyBlurred) {
    auto slider = tool->blurSlider();
    EXPECT_EQ(slider->value(), 0.2f);
    EXPECT_FALSE(slider->isContinuous());
    EXPECT_EQ(slider->frame(), CGRectMake(10, 0, 260, 30));
    EXPECT_EQ(slider->superview()->bounds(), CGRectMake(0, 0, 280, 30));
    EXPECT_EQ(slider->superview()->center(), CGPointMake(160, 458));
    EXPECT_EQ(host->fixZoomCalls, 1);

    // The gesture view lies over the picture; R = 1.5 x 320 = 480; the band is the
    // diagonal (530.2) wide and centred, and in picture points 64 / 320 of that.
    EXPECT_EQ(tool->handlerView()->frame(), host->imageView()->frame());
    EXPECT_EQ(tool->circleView()->frame(), CGRectMake(-80, -28, 480, 480));
    const double diagonal = std::hypot(320.0, 424.0);
    const CGRect band = tool->bandView()->frame();
    EXPECT_NEAR(band.size.width, diagonal, 1e-9);
    EXPECT_NEAR(band.origin.x, 160 - diagonal / 2, 1e-9);
    EXPECT_EQ(band.size.height, 424);
    EXPECT_NEAR(tool->bandImageRect().size.width, diagonal * 0.2, 1e-9);
    EXPECT_NEAR(tool->bandImageRect().origin.y, 0, 1e-9);
    EXPECT_FALSE(tool->circleView()->superview());
    EXPECT_FALSE(tool->bandView()->superview());

    // Three items 70 wide, the first highlighted; the strip a point wider than the screen.
    ASSERT_EQ(tool->menuScroll()->subviews().size(), 3u);
    // The bundle's English table spells the circle's title right.
    const char* titles[] = {"Normal", "Circle", "Band"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(item(i)->frame(), CGRectMake(70.0 * i, 0, 70, 80));
        EXPECT_EQ(item(i)->tag(), long(i));
        EXPECT_TRUE(item(i)->iconImage()) << i;
        EXPECT_EQ(item(i)->title(), titles[i]);
    }
    EXPECT_EQ(tool->selectedMenu(), item(0));
    EXPECT_EQ(tool->menuScroll()->contentSize().width, 321);

    // The first blur, then its preview: the whole copy blurred at 0.2.
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();
    auto expected = Utility::gaussBlur(tool->thumbnailImage(), 0.2);
    EXPECT_EQ(pixelsOf(*host->imageView()->image()->cgImage()), pixelsOf(*expected->cgImage()));
}

TEST_F(PEBlurToolTest, FingersMoveAndSizeTheCircleWithinItsLimits) {
    environment.runUntilIdle();
    // Normal mode takes no gestures and builds no preview.
    TouchInjector::drag(inWindow(100, 100), inWindow(200, 300), 0.3);
    EXPECT_EQ(tool->circleView()->center(), CGPointMake(160, 212));
    EXPECT_EQ(held(), 0u);

    chooseMode(1);
    EXPECT_EQ(tool->blurType(), PEBlurTool::Circle);
    EXPECT_EQ(tool->circleView()->superview(), tool->handlerView());
    EXPECT_EQ(tool->selectedMenu(), item(1));
    TouchInjector::drag(inWindow(160, 212), inWindow(100, 150), 0.3);
    EXPECT_EQ(tool->circleView()->center(), CGPointMake(100, 150));
    TouchInjector::tapAt(inWindow(120, 170));
    EXPECT_EQ(tool->circleView()->center(), CGPointMake(120, 170));

    // Spread far apart: no larger than 3 x 424; closed tight: no smaller than 0.3 x 320;
    // either way still centred where it was, wherever the fingers are.
    TouchInjector::pinch(inWindow(160, 212), 30, 300, 0.3);
    EXPECT_NEAR(tool->circleView()->frame().size.width, 1272, 1e-6);
    TouchInjector::pinch(inWindow(160, 212), 300, 10, 0.3);
    EXPECT_NEAR(tool->circleView()->frame().size.width, 96, 1e-6);
    EXPECT_NEAR(tool->circleView()->center().x, 120, 1e-6);
    EXPECT_NEAR(tool->circleView()->center().y, 170, 1e-6);
    EXPECT_EQ(tool->circleView()->frame().size.height, tool->circleView()->frame().size.width);
}

TEST_F(PEBlurToolTest, FingersMoveTurnAndThickenTheBandWithinItsLimits) {
    chooseMode(2);
    EXPECT_EQ(tool->bandView()->superview(), tool->handlerView());
    // A tap 50 below the centre of the level band moves it down 50.
    TouchInjector::tapAt(inWindow(160, 262));
    EXPECT_NEAR(tool->bandView()->offset(), 50, 1e-9);
    TouchInjector::tapAt(inWindow(30, 212));
    EXPECT_NEAR(tool->bandView()->offset(), 0, 1e-9);

    TouchInjector::rotate(inWindow(160, 212), 80, kPi, 0.5);
    EXPECT_NEAR(tool->bandView()->rotation(), kPi / 2, 1e-9);
    // Upright, the band moves sideways: a tap 40 to the right gives offset -40.
    TouchInjector::tapAt(inWindow(200, 212));
    EXPECT_NEAR(tool->bandView()->offset(), -40, 1e-6);

    TouchInjector::pinch(inWindow(160, 212), 30, 300, 0.3);
    EXPECT_NEAR(tool->bandView()->scale(), 2.0, 1e-9);
    TouchInjector::pinch(inWindow(160, 212), 300, 10, 0.3);
    EXPECT_NEAR(tool->bandView()->scale(), 0.2, 1e-9);
    // The view's transform: scaled vertically, turned, then shifted along its normal.
    const CGAffineTransform t = tool->bandView()->transform();
    EXPECT_NEAR(t.tx, 40, 1e-6);
    EXPECT_NEAR(t.ty, 0, 1e-6);
}

TEST_F(PEBlurToolTest, AMovedOutlineShowsAtOnceAndFadesASecondLater) {
    const struct {
        size_t mode;
        std::shared_ptr<UIView> outline;
    } cases[] = {{1, tool->circleView()}, {2, tool->bandView()}};
    for (const auto& c : cases) {
        chooseMode(c.mode);
        environment.fastForwardBy(2);
        EXPECT_EQ(c.outline->alpha(), 0) << c.mode;
        TouchInjector::tapAt(inWindow(150, 200));
        EXPECT_EQ(c.outline->alpha(), 1) << c.mode;
        environment.fastForwardBy(1.3);
        EXPECT_EQ(c.outline->alpha(), 0) << c.mode;
    }
}

TEST_F(PEBlurToolTest, AGestureWhileAPreviewIsBuiltIsDroppedAndTheSameModeAgainBuildsNone) {
    environment.runUntilIdle();
    chooseMode(1);
    EXPECT_EQ(held(), 1u) << "the mode change asks for a preview";
    TouchInjector::tapAt(inWindow(100, 100));
    TouchInjector::tapAt(inWindow(200, 200));
    EXPECT_EQ(held(), 1u) << "dropped while the preview is built";
    environment.runUntilIdle();
    const auto shown = host->imageView()->image();
    // The preview of the circle where it stood first: centred, its middle sharp.
    EXPECT_EQ(at(shown, 160, 212), at(tool->thumbnailImage(), 160, 212));
    EXPECT_EQ(at(shown, 10, 8), at(tool->blurImage(), 10, 8));
    EXPECT_NE(pixelsOf(*tool->blurImage()->cgImage()), pixelsOf(*tool->thumbnailImage()->cgImage()));

    TouchInjector::tapAt(TouchInjector::tapPointOfView(*item(1)));
    EXPECT_EQ(held(), 0u);
    TouchInjector::tapAt(inWindow(100, 100));
    EXPECT_EQ(held(), 1u);
    // After Back the preview never reaches the view.
    host->back(*tool);
    environment.runUntilIdle();
    EXPECT_EQ(host->imageView()->image(), picture);
}

TEST_F(PEBlurToolTest, OkBlursTheFullPictureWithTheStrengthAndSpotOfThatMoment) {
    environment.runUntilIdle();
    chooseMode(1);
    environment.runUntilIdle();
    std::vector<std::shared_ptr<UIImage>> answers;
    auto ok = [&] {
        tool->executeWithCompletionBlock([&](std::shared_ptr<UIImage> image, std::shared_ptr<NSError> error,
                                             std::shared_ptr<NSObject>) {
            EXPECT_FALSE(error);
            EXPECT_TRUE(NSThread::isMainThread());
            answers.push_back(image);
        });
        environment.runUntilIdle();
    };
    // Strength 0 blurs nothing: the picture comes back as it was.
    tool->blurSlider()->setValue(0);
    ok();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(pixelsOf(*answers[0]->cgImage()), pixelsOf(*picture->cgImage()));

    // Full strength, the spot moved to the top left: sharp there, blurred across the rest.
    tool->blurSlider()->setValue(1);
    TouchInjector::tapAt(inWindow(0, 0));
    environment.runUntilIdle();
    ok();
    ASSERT_EQ(answers.size(), 2u);
    auto result = answers[1];
    ASSERT_EQ(result->size(), picture->size());
    EXPECT_EQ(at(result, 1, 1), at(picture, 1, 1));
    auto blurred = Utility::gaussBlur(picture, 1);
    EXPECT_EQ(at(result, 60, 44), at(blurred, 60, 44));
}

} // namespace
