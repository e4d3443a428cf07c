#include "platform/quartzcore/CATransform3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;

CGPoint apply(const CATransform3D& t, CGPoint p) {
    return CGPointApplyAffineTransform(p, CATransform3DGetAffineTransform(t));
}

void expectNear(CGPoint actual, CGPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
}

TEST(CATransform3DTest, TurnsAboutEachAxisSeenInThePlane) {
    // What a half turn about x or y, and a quarter turn about z, do to the point (2, 1).
    const struct {
        const char* name;
        CATransform3D transform;
        CGPoint image;
    } cases[] = {
        {"half turn about x: mirrored top to bottom", CATransform3DMakeRotation(kPi, 1, 0, 0),
         {2, -1}},
        {"half turn about y: mirrored left to right", CATransform3DMakeRotation(kPi, 0, 1, 0),
         {-2, 1}},
        {"quarter turn about z, as the flat turn", CATransform3DMakeRotation(kPi / 2, 0, 0, 1),
         CGPointApplyAffineTransform({2, 1}, CGAffineTransformMakeRotation(kPi / 2))},
        {"a long axis is normalised", CATransform3DMakeRotation(kPi / 2, 0, 0, 7), {-1, 2}},
        {"no axis: no turn", CATransform3DMakeRotation(kPi / 2, 0, 0, 0), {2, 1}},
        {"scale", CATransform3DMakeScale(3, -1, 5), {6, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectNear(apply(c.transform, {2, 1}), c.image);
    }
    // Turns about x and y leave the plane's z at 0 and do not tilt it.
    const CATransform3D flip = CATransform3DMakeRotation(kPi, 0, 1, 0);
    EXPECT_NEAR(flip.m33, -1, 1e-12);
    EXPECT_NEAR(flip.m13, 0, 1e-12);
}

TEST(CATransform3DTest, RotateAndScaleApplyTheNewStepFirst) {
    // Mirror then turn: (1, 0) mirrored left to right is (-1, 0), turned a quarter is (0, -1).
    CATransform3D t = CATransform3DRotate(CATransform3DIdentity, kPi / 2, 0, 0, 1);
    t = CATransform3DRotate(t, kPi, 0, 1, 0);
    expectNear(apply(t, {1, 0}), {0, -1});
    // Scale before the turn: the same as scaling the turned point, for a uniform scale.
    const CATransform3D scaled = CATransform3DScale(t, 2, 2, 1);
    expectNear(apply(scaled, {1, 0}), {0, -2});
    // Concat(a, b) is a first.
    const CATransform3D shift = CATransform3DMakeAffineTransform(CGAffineTransformMakeTranslation(5, 0));
    expectNear(apply(CATransform3DConcat(CATransform3DMakeScale(2, 2, 1), shift), {1, 1}), {7, 2});
    expectNear(apply(CATransform3DConcat(shift, CATransform3DMakeScale(2, 2, 1)), {1, 1}), {12, 2});
}

TEST(CATransform3DTest, TheAffinePartRoundTripsAndDropsZAndPerspective) {
    const CGAffineTransform flat = CGAffineTransformMake(1, 2, 3, 4, 5, 6);
    CATransform3D t = CATransform3DMakeAffineTransform(flat);
    EXPECT_EQ(CATransform3DGetAffineTransform(t), flat);
    t.m34 = -1.0 / 500;
    t.m33 = 7;
    t.m43 = 9;
    EXPECT_EQ(CATransform3DGetAffineTransform(t), flat);
    EXPECT_TRUE(CATransform3DIsIdentity(CATransform3DIdentity));
    EXPECT_FALSE(CATransform3DIsIdentity(t));
    EXPECT_TRUE(CATransform3DEqualToTransform(t, t));
}

} // namespace
