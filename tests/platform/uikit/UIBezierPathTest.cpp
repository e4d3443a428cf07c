#include "platform/uikit/UIBezierPath.h"

#include "platform/uikit/UIGraphics.h"
#include "tests/platform/graphics/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(UIBezierPath, RoundedRectanglesLeaveTheirCornersOut) {
    auto path = UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(0, 0, 100, 40), 10);
    struct Case {
        CGPoint point;
        bool inside;
    } cases[] = {
        {{1, 1}, false},  {{99, 1}, false},   {{1, 39}, false},  {{99, 39}, false},
        {{4, 4}, true},   {{96, 36}, true},   {{50, 0.5}, true}, {{0.5, 20}, true},
        {{50, 20}, true}, {{101, 20}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(path->containsPoint(c.point), c.inside) << c.point.x << ", " << c.point.y;
    }

    // A radius beyond half the shorter side makes a capsule.
    auto capsule =
        UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(0, 0, 100, 20), 50);
    EXPECT_TRUE(capsule->containsPoint({50, 0.5}));
    EXPECT_TRUE(capsule->containsPoint({10, 10}));
    EXPECT_FALSE(capsule->containsPoint({2, 2}));

    auto topLeftOnly = UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        CGRectMake(0, 0, 40, 40), UIRectCornerTopLeft | UIRectCornerBottomRight, {10, 10});
    EXPECT_FALSE(topLeftOnly->containsPoint({1, 1}));
    EXPECT_TRUE(topLeftOnly->containsPoint({39, 1}));
    EXPECT_TRUE(topLeftOnly->containsPoint({1, 39}));
    EXPECT_FALSE(topLeftOnly->containsPoint({39, 39}));
}

TEST(UIBezierPath, ClockwiseArcsTurnClockwiseOnScreen) {
    auto shortWay = UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
        {0, 0}, 10, 0, M_PI / 2, true);
    EXPECT_NEAR(shortWay->currentPoint().y, 10, 1e-9);
    EXPECT_NEAR(shortWay->bounds().size.width, 10, 1e-9); // a quarter from +x down to +y
    auto longWay = UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
        {0, 0}, 10, 0, M_PI / 2, false);
    EXPECT_NEAR(longWay->bounds().size.width, 20, 1e-9);

    // Drawn into an image context, the clockwise pie is below and right of its centre.
    UIGraphicsBeginImageContextWithOptions({20, 20}, false, 1);
    auto pie = UIBezierPath::bezierPath();
    pie->moveToPoint({10, 10});
    pie->addArcWithCenterRadiusStartAngleEndAngleClockwise({10, 10}, 8, 0, M_PI / 2, true);
    pie->closePath();
    pie->fill();
    CGImageRef image = UIGraphicsGetCGImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(Argb{image->pixelAt(14, 14)}, kBlack);
    EXPECT_EQ(Argb{image->pixelAt(14, 5)}, kClear);
}

TEST(UIBezierPath, BuildsTransformsAndSnapshots) {
    auto path = UIBezierPath::bezierPath();
    EXPECT_TRUE(path->isEmpty());
    path->moveToPoint({0, 0});
    path->addLineToPoint({10, 0});
    path->addQuadCurveToPointControlPoint({10, 10}, {20, 5});
    path->addCurveToPointControlPoint1ControlPoint2({0, 10}, {8, 14}, {2, 14});
    path->closePath();
    EXPECT_EQ(path->bounds(), CGRectMake(0, 0, 20, 14));
    CGPathRef snapshot = path->cgPath();

    path->applyTransform(CGAffineTransformMakeTranslation(5, 5));
    EXPECT_EQ(path->bounds(), CGRectMake(5, 5, 20, 14));
    EXPECT_EQ(CGPathGetBoundingBox(snapshot), CGRectMake(0, 0, 20, 14));

    path->appendPath(UIBezierPath::bezierPathWithCGPath(snapshot));
    EXPECT_EQ(path->bounds(), CGRectMake(0, 0, 25, 19));
    path->removeAllPoints();
    EXPECT_TRUE(path->isEmpty());

    // Two nested ovals wound the same way: the inner one is inside by the non-zero rule
    // only.
    auto rings = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(0, 0, 20, 20));
    rings->appendPath(UIBezierPath::bezierPathWithOvalInRect(CGRectMake(5, 5, 10, 10)));
    EXPECT_TRUE(rings->containsPoint({10, 10}));
    rings->setUsesEvenOddFillRule(true);
    EXPECT_FALSE(rings->containsPoint({10, 10}));
    EXPECT_TRUE(rings->containsPoint({2.5, 10}));
}

TEST(UIBezierPath, DrawsIntoTheCurrentContextAndLeavesItsStateAlone) {
    auto rect = UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 2, 1));
    rect->fill(); // no current context: nothing happens

    UIGraphicsBeginImageContextWithOptions({6, 6}, false, 1);
    CGContextRef c = UIGraphicsGetCurrentContext();
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextSetRGBStrokeColor(c, 0, 0, 1, 1);
    rect->fillWithBlendModeAlpha(kCGBlendModeNormal, 0.5);
    UIBezierPath::bezierPathWithRect(CGRectMake(4, 0, 2, 1))->fill(); // alpha back to 1

    auto line = UIBezierPath::bezierPath();
    line->moveToPoint({0, 3});
    line->addLineToPoint({6, 3});
    line->setLineWidth(2);
    line->stroke();

    CGContextSaveGState(c);
    UIBezierPath::bezierPathWithRect(CGRectMake(0, 5, 3, 1))->addClip();
    CGContextFillRect(c, CGRectMake(0, 5, 6, 1));
    CGContextRestoreGState(c);

    CGImageRef image = UIGraphicsGetCGImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_PRED3(nearlyEqual, Argb{image->pixelAt(0, 0)}, Argb{0x80800000}, 1);
    EXPECT_EQ(Argb{image->pixelAt(4, 0)}, kRed);
    EXPECT_EQ(Argb{image->pixelAt(3, 2)}, kBlue);
    EXPECT_EQ(Argb{image->pixelAt(3, 3)}, kBlue);
    EXPECT_EQ(Argb{image->pixelAt(3, 4)}, kClear);
    EXPECT_EQ(Argb{image->pixelAt(2, 5)}, kRed);
    EXPECT_EQ(Argb{image->pixelAt(3, 5)}, kClear);
}

} // namespace
