#include "editor/tools/clipping/PEClippingPanel.h"

#include "editor/tools/clipping/PEClippingCircle.h"
#include "editor/tools/clipping/PEGridLayar.h"
#include "editor/tools/clipping/PERatio.h"
#include "harness/TouchInjector.h"
#include "platform/quartzcore/CABasicAnimation.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/support/RectExpectations.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEps = 1e-6;
const CGSize kPanel = CGSizeMake(300, 400);

// A 300 x 400 panel 10 points into a 320 x 420 window's only view.
class PEClippingPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(parent);
        window->makeKeyAndVisible();
        panel = PEClippingPanel::initWithSuperviewFrame(parent, CGRectMake(10, 10, 300, 400));
    }
    static CGPoint centreOf(const UIView& view) { return view.center(); }

    TaskEnvironment environment;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 420));
    std::shared_ptr<UIView> parent = UIView::initWithFrame(CGRectMake(0, 0, 320, 420));
    std::shared_ptr<PEClippingPanel> panel;
};

TEST_F(PEClippingPanelTest, StartsOnTheWholePanelWithItsHandlesOnTheCornersOfTheSuperview) {
    EXPECT_EQ(panel->clippingRect(), CGRectMake(0, 0, 300, 400));
    EXPECT_EQ(panel->gridLayer()->clippingRect(), panel->clippingRect());
    EXPECT_EQ(panel->gridLayer()->frame(), panel->bounds());
    const CGPoint corners[4] = {CGPointMake(10, 10), CGPointMake(10, 410), CGPointMake(310, 10),
                                CGPointMake(310, 410)};
    for (long tag = 0; tag < 4; ++tag) {
        const auto& circle = panel->circles()[static_cast<size_t>(tag)];
        EXPECT_EQ(circle->tag(), tag);
        EXPECT_EQ(circle->superview(), parent);
        EXPECT_EQ(circle->bounds().size, CGSizeMake(75, 75));
        EXPECT_EQ(centreOf(*circle), corners[tag]);
    }
    // Removing the panel takes its handles along.
    panel->removeFromSuperview();
    for (const auto& circle : panel->circles()) {
        EXPECT_FALSE(circle->superview());
    }
}

TEST(PEClippingPanelGeometry, FitsTheLargestCentredRectangleOfTheRatio) {
    const struct {
        double ratio;
        CGRect expected;
    } cases[] = {
        {0, CGRectMake(0, 0, 300, 400)},
        {0.5625, CGRectMake(0, 115.625, 300, 168.75)}, // 16 : 9 landscape
        {16.0 / 9.0, CGRectMake(37.5, 0, 225, 400)},   // 9 : 16 portrait
        {1, CGRectMake(0, 50, 300, 300)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ratio);
        expectRectNear(PEClippingPanel::rectFittingRatio(c.ratio, kPanel), c.expected);
    }
}

TEST(PEClippingPanelGeometry,
     AFreeCornerFollowsTheFingerInsideThePanelAndAMarginFromTheOppositeEdges) {
    const CGRect whole = CGRectMake(0, 0, 300, 400);
    const struct {
        long tag;
        CGPoint finger;
        CGRect from, expected;
    } cases[] = {
        {0, CGPointMake(100, 50), whole, CGRectMake(100, 50, 200, 350)},
        {3, CGPointMake(200, 300), whole, CGRectMake(0, 0, 200, 300)},
        {1, CGPointMake(40, 380), whole, CGRectMake(40, 0, 260, 380)},
        {2, CGPointMake(250, 30), whole, CGRectMake(0, 30, 250, 370)},
        // Outside the panel: held at its sides.
        {0, CGPointMake(-50, -80), CGRectMake(20, 20, 200, 200), CGRectMake(0, 0, 220, 220)},
        {3, CGPointMake(900, 900), whole, whole},
        // Past the opposite corner: a tenth of the panel (30 x 40) before it.
        {0, CGPointMake(299, 399), whole, CGRectMake(270, 360, 30, 40)},
        {3, CGPointMake(-10, -10), whole, CGRectMake(0, 0, 30, 40)},
        {2, CGPointMake(0, 400), CGRectMake(100, 100, 100, 100), CGRectMake(100, 160, 30, 40)},
        // The opposite edge a tenth of the panel from the side: the rectangle keeps that
        // minimum instead of closing to nothing.
        {0, CGPointMake(200, 0), CGRectMake(0, 0, 30, 400), CGRectMake(0, 0, 30, 400)},
        {0, CGPointMake(0, 300), CGRectMake(0, 0, 300, 50), CGRectMake(0, 10, 300, 40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "tag " << c.tag << " to " << c.finger.x << ", " << c.finger.y);
        EXPECT_EQ(
            PEClippingPanel::rectByDraggingCorner(c.tag, c.finger, CGPointZero, c.from, kPanel, 0),
            c.expected);
    }
}

TEST(PEClippingPanelGeometry, ARatioCornerSlidesAlongTheDiagonal) {
    // 4 : 3 landscape, a 180 x 135 rectangle; the top-left handle on (60, 140).
    const CGRect rect = CGRectMake(60, 140, 180, 135);
    // Straight up: the width binds, nothing changes.
    EXPECT_EQ(PEClippingPanel::rectByDraggingCorner(0, CGPointMake(60, 100), CGPointMake(0, -40),
                                                    rect, kPanel, 0.75),
              rect);
    // Up and to the left: larger, the same shape, the bottom-right corner kept.
    expectRectNear(PEClippingPanel::rectByDraggingCorner(0, CGPointMake(30, 100),
                                                         CGPointMake(-30, -40), rect, kPanel, 0.75),
                   CGRectMake(30, 117.5, 210, 157.5));
}

// Whatever the finger does, a corner dragged with a ratio keeps the ratio, the fixed
// corner, the panel and the minimum.
TEST(PEClippingPanelGeometry, ARatioCornerNeverLeavesThePanelNorShrinksBelowTheMinimum) {
    const double ratios[] = {0.75, 4.0 / 3.0, 0.5625, 16.0 / 9.0, 1, 2.0 / 3.0};
    const double fingers[] = {-200, -20, 0, 35, 150, 290, 330, 420, 900};
    const double travels[] = {-300, -1, 0, 1, 300};
    for (double ratio : ratios) {
        const CGRect fitted = PEClippingPanel::rectFittingRatio(ratio, kPanel);
        const CGRect starts[] = {
            fitted, CGRectInset(fitted, fitted.size.width / 4, fitted.size.height / 4),
            CGRectOffset(CGRectInset(fitted, fitted.size.width / 4, fitted.size.height / 4),
                         -fitted.origin.x, -fitted.origin.y)};
        for (const CGRect& start : starts) {
            for (long tag = 0; tag < 4; ++tag) {
                const bool left = tag == 0 || tag == 1, top = tag == 0 || tag == 2;
                const CGPoint fixed =
                    CGPointMake(left ? CGRectGetMaxX(start) : CGRectGetMinX(start),
                                top ? CGRectGetMaxY(start) : CGRectGetMinY(start));
                for (double fx : fingers) {
                    for (double fy : fingers) {
                        for (double tx : travels) {
                            for (double ty : travels) {
                                const CGRect r = PEClippingPanel::rectByDraggingCorner(
                                    tag, CGPointMake(fx, fy * 4 / 3), CGPointMake(tx, ty), start,
                                    kPanel, ratio);
                                SCOPED_TRACE(testing::Message()
                                             << "ratio " << ratio << " tag " << tag << " finger "
                                             << fx << ", " << fy * 4 / 3 << " travel " << tx << ", "
                                             << ty);
                                ASSERT_GE(r.origin.x, -kEps);
                                ASSERT_GE(r.origin.y, -kEps);
                                ASSERT_LE(CGRectGetMaxX(r), 300 + kEps);
                                ASSERT_LE(CGRectGetMaxY(r), 400 + kEps);
                                ASSERT_GE(r.size.width, 30 - kEps);
                                ASSERT_GE(r.size.height, 40 - kEps);
                                ASSERT_NEAR(r.size.height / r.size.width, ratio, 1e-9);
                                ASSERT_NEAR(left ? CGRectGetMaxX(r) : CGRectGetMinX(r), fixed.x,
                                            1e-9);
                                ASSERT_NEAR(top ? CGRectGetMaxY(r) : CGRectGetMinY(r), fixed.y,
                                            1e-9);
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST_F(PEClippingPanelTest, HandlesAndTheRectangleFollowFingers) {
    // The bottom-right handle (window 310, 410) dragged up and left.
    TouchInjector::drag(CGPointMake(310, 410), CGPointMake(210, 310), 0.3);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(0, 0, 200, 300));
    EXPECT_EQ(centreOf(*panel->circles()[3]), CGPointMake(210, 310));
    // Dragged from inside, the rectangle moves whole and stops flush with the panel.
    TouchInjector::drag(CGPointMake(100, 100), CGPointMake(160, 150), 0.3);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(60, 50, 200, 300));
    TouchInjector::drag(CGPointMake(150, 150), CGPointMake(400, 400), 0.3);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(100, 100, 200, 300));
    // A drag that begins outside moves nothing, even across the rectangle.
    TouchInjector::drag(CGPointMake(40, 40), CGPointMake(200, 200), 0.3);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(100, 100, 200, 300));
}

TEST_F(PEClippingPanelTest, ARatioRefitsAnimatedOnlyWhenItIsAnotherObject) {
    auto ratio = PERatio::initWithValue1Value2(16, 9);
    ratio->setIsLandscape(true);
    panel->setClippingRatio(ratio);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(0, 115.625, 300, 168.75));
    auto animation = std::dynamic_pointer_cast<CABasicAnimation>(
        panel->gridLayer()->animationForKey("clippingRect"));
    ASSERT_TRUE(animation);
    EXPECT_EQ(animation->duration(), 0.2);
    EXPECT_EQ(std::get<CGRect>(*animation->fromValue()), CGRectMake(0, 0, 300, 400));
    EXPECT_EQ(std::get<CGRect>(*animation->toValue()), panel->clippingRect());
    environment.fastForwardBy(0.2);
    // Moved by hand, then the same ratio again: the rectangle stays.
    panel->setClippingRect(CGRectMake(0, 0, 160, 90));
    panel->setClippingRatio(ratio);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(0, 0, 160, 90));
    // Turned in place, the grid must be told.
    ratio->setIsLandscape(false);
    panel->clippingRatioDidChange();
    expectRectNear(panel->clippingRect(), CGRectMake(37.5, 0, 225, 400));
    panel->setClippingRatio(nullptr);
    EXPECT_EQ(panel->clippingRect(), CGRectMake(0, 0, 300, 400));
}

// The tint hides the picture outside the rectangle, the grid splits it in nine, and an
// animation of the rectangle shows the same picture (its copy draws alike).
TEST_F(PEClippingPanelTest, TintsOutsideTheRectangleAndDrawsTheGridInside) {
    parent->setBackgroundColor(UIColor::redColor());
    panel->setBgColor(UIColor::blueColor());
    panel->setGridColor(UIColor::greenColor());
    panel->setClippingRectAnimated(CGRectMake(30, 60, 150, 210), true);
    const auto during = ViewRenderer::snapshotWindow(*window, 1);
    environment.fastForwardBy(0.2);
    ASSERT_FALSE(panel->gridLayer()->animationForKey("clippingRect"));
    const auto after = ViewRenderer::snapshotWindow(*window, 1);
    for (const auto& shot : {during, after}) {
        const CGImage& image = *shot->cgImage();
        EXPECT_EQ(image.pixelAt(25, 200), 0xff0000ffu);  // tint
        EXPECT_EQ(image.pixelAt(100, 150), 0xffff0000u); // the red beneath shows through
        // The grid's second vertical line, at x = 30 + 150 / 3 in the panel, over the red.
        const uint32_t line =
            std::max(image.pixelAt(89, 160) >> 8 & 0xff, image.pixelAt(90, 160) >> 8 & 0xff);
        EXPECT_GE(line, 0x70u);
        EXPECT_EQ(image.pixelAt(300, 400), 0xff0000ffu);
    }
}

} // namespace
