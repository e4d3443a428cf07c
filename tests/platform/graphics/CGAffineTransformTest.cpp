#include "platform/graphics/CGAffineTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

void expectPointNear(const CGPoint& actual, const CGPoint& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << NSStringFromCGPoint(actual);
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << NSStringFromCGPoint(actual);
}

void expectRectNear(const CGRect& actual, const CGRect& expected) {
    expectPointNear(actual.origin, expected.origin);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9) << NSStringFromCGRect(actual);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9) << NSStringFromCGRect(actual);
}

constexpr double kQuarterTurn = std::numbers::pi / 2;

TEST(CGAffineTransform, ElementaryTransformsMovePoints) {
    const CGPoint p{2, 3};
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformIdentity), {2, 3});
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformMakeTranslation(10, -1)),
                    {12, 2});
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformMakeScale(2, -1)), {4, -3});
    // A quarter turn takes the x axis onto the y axis.
    expectPointNear(
        CGPointApplyAffineTransform({1, 0}, CGAffineTransformMakeRotation(kQuarterTurn)), {0, 1});
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformMake(1, 2, 3, 4, 5, 6)),
                    {1 * 2 + 3 * 3 + 5, 2 * 2 + 4 * 3 + 6});
}

TEST(CGAffineTransform, ConcatAppliesFirstOperandFirst) {
    const auto scale = CGAffineTransformMakeScale(2, 2);
    const auto move = CGAffineTransformMakeTranslation(10, 0);
    expectPointNear(CGPointApplyAffineTransform({1, 1}, CGAffineTransformConcat(scale, move)),
                    {12, 2});
    expectPointNear(CGPointApplyAffineTransform({1, 1}, CGAffineTransformConcat(move, scale)),
                    {22, 2});
}

TEST(CGAffineTransform, ModifiersApplyBeforeTheGivenTransform) {
    const auto move = CGAffineTransformMakeTranslation(10, 0);
    // Scaling happens in the translated transform's own space: first scale, then move.
    expectPointNear(CGPointApplyAffineTransform({1, 1}, CGAffineTransformScale(move, 2, 3)),
                    {12, 3});
    expectPointNear(
        CGPointApplyAffineTransform({1, 0}, CGAffineTransformRotate(move, kQuarterTurn)), {10, 1});
    const auto scale = CGAffineTransformMakeScale(2, 2);
    expectPointNear(CGPointApplyAffineTransform({1, 1}, CGAffineTransformTranslate(scale, 5, 0)),
                    {12, 2});
}

TEST(CGAffineTransform, InvertUndoesAndSingularIsReturnedUnchanged) {
    const auto t = CGAffineTransformRotate(
        CGAffineTransformScale(CGAffineTransformMakeTranslation(7, -3), 2, 0.5), 0.3);
    const auto inverse = CGAffineTransformInvert(t);
    expectPointNear(CGPointApplyAffineTransform(CGPointApplyAffineTransform({4, 9}, t), inverse),
                    {4, 9});
    const auto round = CGAffineTransformConcat(t, inverse);
    EXPECT_NEAR(round.a, 1, 1e-12);
    EXPECT_NEAR(round.b, 0, 1e-12);
    EXPECT_NEAR(round.tx, 0, 1e-12);

    const auto singular = CGAffineTransformMake(1, 2, 2, 4, 5, 6);
    EXPECT_TRUE(CGAffineTransformEqualToTransform(CGAffineTransformInvert(singular), singular));
    EXPECT_TRUE(CGAffineTransformIsIdentity(CGAffineTransformInvert(CGAffineTransformIdentity)));
    EXPECT_FALSE(CGAffineTransformIsIdentity(CGAffineTransformMakeScale(1, -1)));
}

TEST(CGAffineTransform, SizesIgnoreTranslationAndRectsGiveBoundingBoxes) {
    const auto t = CGAffineTransformConcat(CGAffineTransformMakeScale(2, 3),
                                           CGAffineTransformMakeTranslation(100, 100));
    const CGSize size = CGSizeApplyAffineTransform({4, 5}, t);
    EXPECT_EQ(size, CGSizeMake(8, 15));
    expectRectNear(CGRectApplyAffineTransform(CGRectMake(1, 1, 4, 5), t),
                   CGRectMake(102, 103, 8, 15));
    // A flip gives a standardized box, not a negative size.
    expectRectNear(
        CGRectApplyAffineTransform(CGRectMake(0, 0, 10, 20), CGAffineTransformMakeScale(-1, 1)),
        CGRectMake(-10, 0, 10, 20));
    expectRectNear(CGRectApplyAffineTransform(CGRectMake(0, 0, 10, 20),
                                              CGAffineTransformMakeRotation(kQuarterTurn)),
                   CGRectMake(-20, 0, 20, 10));
    const double diagonal = 10 * std::sqrt(2.0);
    expectRectNear(CGRectApplyAffineTransform(CGRectMake(-5, -5, 10, 10),
                                              CGAffineTransformMakeRotation(kQuarterTurn / 2)),
                   CGRectMake(-diagonal / 2, -diagonal / 2, diagonal, diagonal));
    EXPECT_TRUE(CGRectIsNull(CGRectApplyAffineTransform(CGRectNull, t)));
}

} // namespace
