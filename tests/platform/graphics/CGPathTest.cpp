#include "platform/graphics/CGPath.h"

#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectRectNear(const CGRect& got, const CGRect& expected) {
    EXPECT_NEAR(got.origin.x, expected.origin.x, 1e-9);
    EXPECT_NEAR(got.origin.y, expected.origin.y, 1e-9);
    EXPECT_NEAR(got.size.width, expected.size.width, 1e-9);
    EXPECT_NEAR(got.size.height, expected.size.height, 1e-9);
}

void expectPointNear(const CGPoint& got, const CGPoint& expected) {
    EXPECT_NEAR(got.x, expected.x, 1e-9);
    EXPECT_NEAR(got.y, expected.y, 1e-9);
}

TEST(CGPath, ArcsRunInTheAskedDirectionAndNormaliseTheirSweep) {
    // A circle of radius 10 around the origin; the arcs of these cases start and end on
    // the axes, so their Bézier control points stay within the arc's own box.
    struct Case {
        const char* name;
        double start, end;
        bool clockwise;
        CGRect box;
        CGPoint end_point;
    } cases[] = {
        {"quarter toward +y", 0, M_PI / 2, false, CGRectMake(0, 0, 10, 10), {0, 10}},
        {"three quarters the other way", 0, M_PI / 2, true, CGRectMake(-10, -10, 20, 20), {0, 10}},
        {"clockwise quarter toward -y", 0, -M_PI / 2, true, CGRectMake(0, -10, 10, 10), {0, -10}},
        {"full turn along the direction",
         0,
         2 * M_PI,
         false,
         CGRectMake(-10, -10, 20, 20),
         {10, 0}},
        {"full turn against the direction is empty",
         0,
         2 * M_PI,
         true,
         CGRectMake(10, 0, 0, 0),
         {10, 0}},
        {"whole turn from -pi/2",
         -M_PI / 2,
         3 * M_PI / 2,
         false,
         CGRectMake(-10, -10, 20, 20),
         {0, -10}},
        {"beyond a turn keeps the remainder",
         0,
         2 * M_PI + M_PI / 2,
         false,
         CGRectMake(0, 0, 10, 10),
         {0, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto path = CGPathCreateMutable();
        CGPathAddArc(path, nullptr, 0, 0, 10, c.start, c.end, c.clockwise);
        expectRectNear(CGPathGetBoundingBox(path), c.box);
        expectPointNear(CGPathGetCurrentPoint(path), c.end_point);
    }
}

TEST(CGPath, ArcJoinsTheCurrentPointWithALine) {
    auto path = CGPathCreateMutable();
    CGPathMoveToPoint(path, nullptr, -20, 0);
    CGPathAddArc(path, nullptr, 0, 0, 10, M_PI, 0, true); // over the top: through (0, 10)
    ASSERT_GE(path->elements().size(), 3u);
    EXPECT_EQ(path->elements()[1].type, CGPathElementType::AddLineToPoint);
    expectPointNear(path->elements()[1].points[0], {-10, 0});
    expectRectNear(CGPathGetBoundingBox(path), CGRectMake(-20, 0, 30, 10));
}

TEST(CGPath, ArcToPointIsTangentToBothLegs) {
    auto path = CGPathCreateMutable();
    CGPathMoveToPoint(path, nullptr, 0, 0);
    CGPathAddArcToPoint(path, nullptr, 10, 0, 10, 10, 4);
    const auto& elements = path->elements();
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[1].type, CGPathElementType::AddLineToPoint);
    expectPointNear(elements[1].points[0], {6, 0});
    EXPECT_EQ(elements[2].type, CGPathElementType::AddCurveToPoint);
    expectPointNear(CGPathGetCurrentPoint(path), {10, 4});
    // The quarter circle bulges toward the corner but not past it.
    EXPECT_FALSE(CGPathContainsPoint(path, nullptr, {9, 1}, false));

    auto straight = CGPathCreateMutable();
    CGPathMoveToPoint(straight, nullptr, 0, 0);
    CGPathAddArcToPoint(straight, nullptr, 5, 0, 10, 0, 4); // in line: just a line to p1
    ASSERT_EQ(straight->elements().size(), 2u);
    expectPointNear(CGPathGetCurrentPoint(straight), {5, 0});
}

TEST(CGPath, SegmentsWithoutACurrentPointAreRefused) {
    CapturedLog log;
    auto path = CGPathCreateMutable();
    CGPathAddLineToPoint(path, nullptr, 1, 1);
    CGPathAddCurveToPoint(path, nullptr, 1, 1, 2, 2, 3, 3);
    CGPathAddArcToPoint(path, nullptr, 1, 0, 1, 1, 1);
    EXPECT_TRUE(CGPathIsEmpty(path));
    ASSERT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(log.lines()[0], "CGPathAddLineToPoint: no current point.");
}

TEST(CGPath, ALineAfterACloseStartsAtTheClosedSubpathsStart) {
    auto path = CGPathCreateMutable();
    CGPathMoveToPoint(path, nullptr, 1, 2);
    CGPathAddLineToPoint(path, nullptr, 5, 2);
    CGPathCloseSubpath(path);
    expectPointNear(CGPathGetCurrentPoint(path), {1, 2});
    CGPathAddLineToPoint(path, nullptr, 1, 8);
    const auto& elements = path->elements();
    ASSERT_EQ(elements.size(), 5u);
    EXPECT_EQ(elements[3].type, CGPathElementType::MoveToPoint);
    expectPointNear(elements[3].points[0], {1, 2});
}

TEST(CGPath, ShapesTransformsAndCopies) {
    const CGAffineTransform shift = CGAffineTransformMakeTranslation(10, 20);
    auto rect = CGPathCreateWithRect(CGRectMake(0, 0, 4, 2), &shift);
    expectRectNear(CGPathGetBoundingBox(rect), CGRectMake(10, 20, 4, 2));
    expectPointNear(CGPathGetCurrentPoint(rect), {10, 20}); // closed: back at the start

    auto ellipse = CGPathCreateWithEllipseInRect(CGRectMake(0, 0, 8, 4), nullptr);
    expectRectNear(CGPathGetBoundingBox(ellipse), CGRectMake(0, 0, 8, 4));
    EXPECT_TRUE(CGPathContainsPoint(ellipse, nullptr, {4, 2}, false));
    EXPECT_FALSE(CGPathContainsPoint(ellipse, nullptr, {0.5, 0.5}, false)); // outside the curve

    // The transform of ContainsPoint applies to the point.
    EXPECT_TRUE(CGPathContainsPoint(rect, &shift, {1, 1}, false));
    EXPECT_FALSE(CGPathContainsPoint(rect, nullptr, {1, 1}, false));

    auto original = CGPathCreateMutable();
    CGPathAddRect(original, nullptr, CGRectMake(0, 0, 1, 1));
    CGPathRef copy = CGPathCreateCopy(original);
    CGPathAddRect(original, nullptr, CGRectMake(5, 5, 1, 1));
    expectRectNear(CGPathGetBoundingBox(copy), CGRectMake(0, 0, 1, 1));

    auto combined = CGPathCreateMutable();
    CGPathAddPath(combined, &shift, copy);
    expectRectNear(CGPathGetBoundingBox(combined), CGRectMake(10, 20, 1, 1));

    EXPECT_TRUE(CGRectIsNull(CGPathGetBoundingBox(CGPathCreateMutable())));
    EXPECT_EQ(CGPathGetCurrentPoint(nullptr), CGPointZero);
}

TEST(CGPath, ContainsPointByWindingOrEvenOdd) {
    // A five-pointed star drawn in one stroke: its centre is wound twice.
    auto star = CGPathCreateMutable();
    for (int i = 0; i < 5; ++i) {
        double angle = -M_PI / 2 + i * 4 * M_PI / 5;
        double x = 10 + 9 * std::cos(angle), y = 10 + 9 * std::sin(angle);
        i == 0 ? CGPathMoveToPoint(star, nullptr, x, y) : CGPathAddLineToPoint(star, nullptr, x, y);
    }
    CGPathCloseSubpath(star);
    EXPECT_TRUE(CGPathContainsPoint(star, nullptr, {10, 10}, false));
    EXPECT_FALSE(CGPathContainsPoint(star, nullptr, {10, 10}, true));
    EXPECT_TRUE(CGPathContainsPoint(star, nullptr, {10, 3}, false)); // in the top point
    EXPECT_TRUE(CGPathContainsPoint(star, nullptr, {10, 3}, true));
    EXPECT_FALSE(CGPathContainsPoint(star, nullptr, {1, 18}, false));

    // An open subpath counts as closed.
    auto open = CGPathCreateMutable();
    CGPathMoveToPoint(open, nullptr, 0, 0);
    CGPathAddLineToPoint(open, nullptr, 10, 0);
    CGPathAddLineToPoint(open, nullptr, 10, 10);
    EXPECT_TRUE(CGPathContainsPoint(open, nullptr, {8, 2}, false));
    EXPECT_FALSE(CGPathContainsPoint(open, nullptr, {2, 8}, false));
}

TEST(CGPath, RoundedRectanglesClampTheirCorners) {
    auto path = CGPathCreateMutable();
    CGPathAddRoundedRect(path, nullptr, CGRectMake(0, 0, 40, 20), 30, 30); // clamped to 20 x 10
    expectRectNear(CGPathGetBoundingBox(path), CGRectMake(0, 0, 40, 20));
    EXPECT_TRUE(CGPathContainsPoint(path, nullptr, {20, 1}, false));
    EXPECT_FALSE(CGPathContainsPoint(path, nullptr, {2, 2}, false));
    EXPECT_TRUE(CGPathContainsPoint(path, nullptr, {20, 10}, false));

    auto oneCorner = CGPathCreateMutable();
    CGPathAddRectWithCornerRadii(oneCorner, nullptr, CGRectMake(0, 0, 20, 20),
                                 {CGSizeZero, CGSizeMake(8, 8), CGSizeZero, CGSizeZero});
    EXPECT_TRUE(CGPathContainsPoint(oneCorner, nullptr, {0.5, 0.5}, false));
    EXPECT_FALSE(CGPathContainsPoint(oneCorner, nullptr, {19.5, 0.5}, false));
    EXPECT_TRUE(CGPathContainsPoint(oneCorner, nullptr, {19.5, 19.5}, false));
}

} // namespace
