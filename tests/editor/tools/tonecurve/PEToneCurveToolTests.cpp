#include "editor/tools/tonecurve/PEToneCurveTool.h"

#include "editor/PEImageToolInfo.h"
#include "editor/tools/tonecurve/PEControlPoint.h"
#include "editor/tools/tonecurve/PEToneCurveView.h"
#include "harness/TouchInjector.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSError.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/editor/FakeImageToolHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

uint32_t grey(uint32_t level) {
    return 0xff000000u | level << 16 | level << 8 | level;
}

// Every grey level once, 16 x 16.
std::shared_ptr<UIImage> greyRamp() {
    return UIImage::imageWithCGImage(makeImage(16, 16, CGImagePixelFormat::ARGB32Premultiplied,
                                               [](size_t x, size_t y) {
                                                   return grey(static_cast<uint32_t>(y * 16 + x));
                                               }));
}

uint32_t level(const std::shared_ptr<UIImage>& image, size_t x, size_t y) {
    return image->cgImage()->pixelAt(x, y) & 0xff;
}

PEToneCurveTool::Curve curveOf(std::initializer_list<std::pair<double, double>> points) {
    PEToneCurveTool::Curve curve;
    size_t i = 0;
    for (auto [x, y] : points) {
        curve[i++] = CIVector::vectorWithXY(x, y);
    }
    return curve;
}

// The tone curve tool opened by a stand-in for the editor screen (320 x 568, shown in a
// key window so that fingers reach it), its background work held until the test runs it.
class PEToneCurveToolTest : public ::testing::Test {
protected:
    PEToneCurveToolTest() {
        UIScreen::configureMainScreen(CGSizeMake(320, 568), 2);
        window->addSubview(host->view());
        window->makeKeyAndVisible();
        auto entry = PEImageToolInfo::toolInfoForToolClass("PEToneCurveTool");
        EXPECT_TRUE(entry);
        tool = std::dynamic_pointer_cast<PEToneCurveTool>(host->openTool(entry));
        EXPECT_TRUE(tool);
        environment.fastForwardBy(0.3);
    }

    std::shared_ptr<PEToneCurveView> grid() const { return tool->tonecurveView(); }
    CIVectorPtr point(size_t i) const { return grid()->pointAt(i); }
    void expectPoint(size_t i, double x, double y) const {
        SCOPED_TRACE(i);
        EXPECT_NEAR(point(i)->X(), x, 1e-9);
        EXPECT_NEAR(point(i)->Y(), y, 1e-9);
    }
    // Where point i sits on screen.
    CGPoint onScreen(size_t i) const {
        const auto& view = grid()->controlPoints()[i];
        return view->convertPointToView(CGPointMake(15, 15), nullptr);
    }
    void dragPoint(size_t i, double dx, double dy) {
        const CGPoint from = onScreen(i);
        TouchInjector::drag(from, CGPointMake(from.x + dx, from.y + dy), 0.3);
    }
    static size_t held() { return GlobalThreadPool::shared().pendingTaskCount(); }
    void ok() {
        tool->executeWithCompletionBlock(
            [this](std::shared_ptr<UIImage> image, std::shared_ptr<NSError> error, std::shared_ptr<NSObject>) {
                EXPECT_TRUE(NSThread::isMainThread());
                answers.push_back(image);
                errors.push_back(error);
            });
    }

    TaskEnvironment environment{TaskEnvironment::GlobalQueues::Manual};
    std::shared_ptr<UIImage> picture = greyRamp();
    std::shared_ptr<FakeImageToolHost> host = FakeImageToolHost::withImage(picture);
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    std::shared_ptr<PEToneCurveTool> tool;
    std::vector<std::shared_ptr<UIImage>> answers;
    std::vector<std::shared_ptr<NSError>> errors;
};

TEST_F(PEToneCurveToolTest, SetUpShowsTheReducedCopyAndThePanelWithItsPointsOnTheDiagonal) {
    // The copy has the image view's size (320 x 424 points, one pixel each).
    const auto shown = host->imageView()->image();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->cgImage()->width(), 320u);
    EXPECT_EQ(shown->cgImage()->height(), 424u);
    // No preview: the diagonal changes nothing.
    EXPECT_EQ(held(), 0u);

    auto panel = tool->menuContainer();
    EXPECT_EQ(panel->superview(), host->view());
    EXPECT_EQ(panel->frame(), CGRectMake(0, 288, 320, 280));
    EXPECT_EQ(grid()->superview(), panel);
    EXPECT_EQ(grid()->frame(), CGRectMake(10, 20, 240, 240));
    EXPECT_EQ(tool->hideButton()->frame(), CGRectMake(270, 15, 30, 30));
    EXPECT_EQ(tool->resetButton()->frame(), CGRectMake(270, 230, 30, 30));
    EXPECT_FALSE(grid()->continuous());
    for (size_t i = 0; i < PEToneCurveView::kPointCount; ++i) {
        const auto& view = grid()->controlPoints()[i];
        EXPECT_EQ(view->superview(), panel);
        const double t = i / 4.0;
        expectPoint(i, t, t);
        EXPECT_EQ(view->frame().size, CGSizeMake(30, 30));
        EXPECT_NEAR(view->center().x, 10 + t * 240, 1e-9);
        EXPECT_NEAR(view->center().y, 20 + (1 - t) * 240, 1e-9);
    }
}

TEST_F(PEToneCurveToolTest, PointsKeepTheirOrderAndStayInsideTheSquare) {
    // Unit coordinates with y down, as a finger reads the grid.
    const struct {
        const char* name;
        long index;
        CGPoint to;
        double x, y;
    } cases[] = {
        {"a middle point past its right neighbour", 2, {0.9, 0.5}, 0.70, 0.5},
        {"a middle point past its left neighbour", 2, {0.1, 0.5}, 0.30, 0.5},
        {"the first point to the left", 0, {-0.3, 1.0}, 0, 0},
        {"the first point to the right", 0, {0.6, 1.0}, 0.20, 0},
        {"the last point to the right", 4, {1.4, 0}, 1, 1},
        {"above the grid", 1, {0.25, -0.5}, 0.25, 1},
        {"below the grid", 3, {0.75, 1.5}, 0.75, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid()->resetPoints();
        grid()->setControlPointAtIndex(c.to, c.index);
        expectPoint(static_cast<size_t>(c.index), c.x, c.y);
    }
    // Indices outside the five change nothing.
    grid()->resetPoints();
    grid()->setControlPointAtIndex(CGPointMake(0.5, 0.5), -1);
    grid()->setControlPointAtIndex(CGPointMake(0.5, 0.5), 5);
    for (size_t i = 0; i < 5; ++i) {
        expectPoint(i, i / 4.0, i / 4.0);
    }
}

TEST_F(PEToneCurveToolTest, ADraggedPointFollowsTheFingerAndThePreviewComesWhenItLifts) {
    const auto thumbnail = host->imageView()->image();
    // Up by a fifth of the grid's 240 points.
    const CGPoint from = onScreen(2);
    TouchInjector::performAsync(TouchGesture::drag(from, CGPointMake(from.x, from.y - 48), 0.3),
                                [] {});
    environment.fastForwardMainLoopBy(0.2);
    const bool duringDrag = held() > 0;
    environment.fastForwardMainLoopBy(0.3);
    EXPECT_FALSE(duringDrag);
    expectPoint(2, 0.5, 0.7);
    EXPECT_EQ(onScreen(2), CGPointMake(from.x, from.y - 48));
    // One preview, once the finger lifted.
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();
    const auto preview = host->imageView()->image();
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->cgImage()->width(), 320u);
    // The middle greys brighten by a good part of the raise; black stays.
    EXPECT_GT(level(preview, 160, 212), level(thumbnail, 160, 212) + 30);
    EXPECT_EQ(level(preview, 0, 0), level(thumbnail, 0, 0));
}

TEST_F(PEToneCurveToolTest, TwoFingersOnAPointDoNotDragIt) {
    const CGPoint from = onScreen(2);
    ASSERT_TRUE(TouchInjector::perform(TouchGesture::motion(
        [from](double f) {
            return std::vector<CGPoint>{CGPointMake(from.x - 3, from.y - 48 * f),
                                        CGPointMake(from.x + 3, from.y - 48 * f)};
        },
        0.3)));
    expectPoint(2, 0.5, 0.5);
    EXPECT_EQ(onScreen(2), from);
    EXPECT_EQ(held(), 0u);
}

TEST_F(PEToneCurveToolTest, TheFilterGivesTheInputBackOnTheDiagonalAndARaisedMiddleBrightens) {
    const auto identity = PEToneCurveTool::filteredImage(
        picture, curveOf({{0, 0}, {0.25, 0.25}, {0.5, 0.5}, {0.75, 0.75}, {1, 1}}));
    ASSERT_TRUE(identity);
    EXPECT_EQ(pixelsOf(*identity->cgImage()), pixelsOf(*picture->cgImage()));

    const auto raised = PEToneCurveTool::filteredImage(
        picture, curveOf({{0, 0}, {0.25, 0.25}, {0.5, 0.7}, {0.75, 0.75}, {1, 1}}));
    ASSERT_TRUE(raised);
    // Grey 128 (at 0, 8) goes to about 0.7 of white; the ends stay.
    EXPECT_NEAR(static_cast<double>(level(raised, 0, 8)), 0.7 * 255, 2);
    EXPECT_EQ(level(raised, 0, 0), 0u);
    EXPECT_EQ(level(raised, 15, 15), 255u);
    for (size_t x = 1; x < 16; ++x) {
        // Every grey of the row from 128 on is at least as light as before.
        EXPECT_GE(level(raised, x, 8), level(picture, x, 8));
    }
}

TEST_F(PEToneCurveToolTest, ChangesWhileAPreviewIsMadeAreDropped) {
    grid()->setContinuous(true);
    tool->toneCurveDidChange(*grid());
    tool->toneCurveDidChange(*grid());
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();
    tool->toneCurveDidChange(*grid());
    EXPECT_EQ(held(), 1u);
    environment.runUntilIdle();
    // With a continuous grid every step of a drag asks; those that find a preview under
    // way are dropped.
    const CGPoint from = onScreen(1);
    TouchInjector::drag(from, CGPointMake(from.x, from.y - 60), 0.3);
    EXPECT_EQ(held(), 1u);
}

TEST_F(PEToneCurveToolTest, ResetPutsThePointsBackAndSpinsTheButton) {
    dragPoint(2, 20, -60);
    environment.runUntilIdle();
    EXPECT_GT(point(2)->Y(), 0.7);
    tool->pushedResetBtn(*tool->resetButton());
    for (size_t i = 0; i < 5; ++i) {
        expectPoint(i, i / 4.0, i / 4.0);
    }
    EXPECT_EQ(held(), 1u);
    auto spin = std::dynamic_pointer_cast<CABasicAnimation>(
        tool->resetButton()->layer()->animationForKey("rotationAnimation"));
    ASSERT_TRUE(spin);
    EXPECT_EQ(spin->keyPath(), "transform.rotation.z");
    EXPECT_EQ(std::get<double>(*spin->toValue()), static_cast<float>(-2 * std::numbers::pi));
    EXPECT_EQ(spin->duration(), 0.3);
    EXPECT_TRUE(spin->isCumulative());
    EXPECT_EQ(spin->repeatCount(), 1);
    EXPECT_EQ(spin->timingFunction(), kCAMediaTimingFunctionEaseOut);
}

TEST_F(PEToneCurveToolTest, FoldingLowersThePanelTurnsTheArrowAndFreezesThePoints) {
    auto panel = tool->menuContainer();
    tool->pushedHideBtn(*tool->hideButton());
    // Only a strip as tall as the editor's menu stays in sight.
    EXPECT_EQ(panel->transform(), CGAffineTransformMakeTranslation(0, 200));
    EXPECT_NEAR(tool->hideButton()->transform().a, -1, 1e-12);
    for (const auto& view : grid()->controlPoints()) {
        EXPECT_FALSE(view->isUserInteractionEnabled());
    }
    tool->pushedHideBtn(*tool->hideButton());
    EXPECT_TRUE(CGAffineTransformIsIdentity(panel->transform()));
    EXPECT_TRUE(CGAffineTransformIsIdentity(tool->hideButton()->transform()));
    EXPECT_TRUE(grid()->controlPoints()[2]->isUserInteractionEnabled());

    // Cleanup from the folded state still takes the panel out of sight, then away.
    tool->pushedHideBtn(*tool->hideButton());
    host->back(*tool);
    EXPECT_EQ(panel->frame().origin.y, 568);
    environment.fastForwardBy(0.3);
    EXPECT_FALSE(panel->superview());
}

TEST_F(PEToneCurveToolTest, OKFiltersTheWholePictureWithTheCurveAsItStandsAtOK) {
    grid()->setControlPointAtIndex(CGPointMake(0.5, 0.3), 2);
    ok();
    const auto spinner =
        std::dynamic_pointer_cast<UIActivityIndicatorView>(host->view()->subviews().back());
    ASSERT_TRUE(spinner);
    grid()->resetPoints();
    environment.runUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_TRUE(answers[0]);
    EXPECT_FALSE(errors[0]);
    EXPECT_EQ(answers[0]->cgImage()->width(), 16u);
    EXPECT_NEAR(static_cast<double>(level(answers[0], 0, 8)), 0.7 * 255, 2);
    // The spinner stays until the tool ends.
    EXPECT_EQ(spinner->superview(), host->view());

    // An OK whose tool ends first is answered with an error, and so is one after the end.
    ok();
    host->back(*tool);
    for (const auto& view : host->view()->subviews()) {
        EXPECT_FALSE(std::dynamic_pointer_cast<UIActivityIndicatorView>(view));
    }
    environment.runUntilIdle();
    ok();
    ASSERT_EQ(answers.size(), 3u);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_FALSE(answers[i]);
        EXPECT_TRUE(errors[i]);
    }
}

} // namespace
