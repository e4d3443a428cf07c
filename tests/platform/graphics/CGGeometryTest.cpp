#include "platform/graphics/CGGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CGGeometry, NegativeSizesAreStandardizedByEveryAccessor) {
    const CGRect flipped = CGRectMake(10, 20, -4, -6);
    EXPECT_EQ(CGRectStandardize(flipped), CGRectMake(6, 14, 4, 6));
    EXPECT_EQ(CGRectGetMinX(flipped), 6);
    EXPECT_EQ(CGRectGetMidX(flipped), 8);
    EXPECT_EQ(CGRectGetMaxX(flipped), 10);
    EXPECT_EQ(CGRectGetMinY(flipped), 14);
    EXPECT_EQ(CGRectGetMidY(flipped), 17);
    EXPECT_EQ(CGRectGetMaxY(flipped), 20);
    EXPECT_EQ(CGRectGetWidth(flipped), 4);
    EXPECT_EQ(CGRectGetHeight(flipped), 6);
    EXPECT_TRUE(CGRectEqualToRect(flipped, CGRectMake(6, 14, 4, 6)));
}

TEST(CGGeometry, ContainsPointIncludesMinEdgesAndExcludesMaxEdges) {
    const CGRect rect = CGRectMake(0, 0, 10, 10);
    struct Case {
        CGPoint point;
        bool inside;
    } cases[] = {
        {{0, 0}, true},   {{9.999, 9.999}, true}, {{10, 5}, false},
        {{5, 10}, false}, {{-0.001, 5}, false},   {{5, 5}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CGRectContainsPoint(rect, c.point), c.inside) << NSStringFromCGPoint(c.point);
    }
    EXPECT_TRUE(CGRectContainsPoint(CGRectMake(10, 10, -10, -10), {0, 0}));
    EXPECT_FALSE(CGRectContainsPoint(CGRectNull, {0, 0}));
    EXPECT_FALSE(CGRectContainsPoint(CGRectMake(0, 0, 0, 10), {0, 5}));
}

TEST(CGGeometry, IntersectionUnionAndContainment) {
    const CGRect a = CGRectMake(0, 0, 10, 10);
    struct Case {
        CGRect b;
        CGRect intersection;
        CGRect unionRect;
        bool intersects;
        bool aContainsB;
    } cases[] = {
        {CGRectMake(5, 5, 10, 10), CGRectMake(5, 5, 5, 5), CGRectMake(0, 0, 15, 15), true, false},
        {CGRectMake(2, 2, 3, 3), CGRectMake(2, 2, 3, 3), a, true, true},
        {CGRectMake(0, 0, 10, 10), a, a, true, true},
        // Touching edges meet in a zero-width strip, which is not null.
        {CGRectMake(10, 0, 5, 10), CGRectMake(10, 0, 0, 10), CGRectMake(0, 0, 15, 10), true, false},
        {CGRectMake(20, 20, 5, 5), CGRectNull, CGRectMake(0, 0, 25, 25), false, false},
        {CGRectMake(12, 8, -4, -4), CGRectMake(8, 4, 2, 4), CGRectMake(0, 0, 12, 10), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NSStringFromCGRect(c.b));
        EXPECT_TRUE(CGRectEqualToRect(CGRectIntersection(a, c.b), c.intersection))
            << NSStringFromCGRect(CGRectIntersection(a, c.b));
        EXPECT_TRUE(CGRectEqualToRect(CGRectIntersection(c.b, a), c.intersection));
        EXPECT_EQ(CGRectUnion(a, c.b), c.unionRect);
        EXPECT_EQ(CGRectIntersectsRect(a, c.b), c.intersects);
        EXPECT_EQ(CGRectContainsRect(a, c.b), c.aContainsB);
    }
}

TEST(CGGeometry, NullRectangleIsNeutralForUnionAndAbsorbingForIntersection) {
    const CGRect a = CGRectMake(1, 2, 3, 4);
    EXPECT_TRUE(CGRectIsNull(CGRectNull));
    EXPECT_TRUE(CGRectIsEmpty(CGRectNull));
    EXPECT_FALSE(CGRectIsNull(CGRectZero));
    EXPECT_TRUE(CGRectIsEmpty(CGRectZero));
    EXPECT_EQ(CGRectUnion(CGRectNull, a), a);
    EXPECT_EQ(CGRectUnion(a, CGRectNull), a);
    EXPECT_TRUE(CGRectIsNull(CGRectIntersection(CGRectNull, a)));
    EXPECT_FALSE(CGRectIntersectsRect(CGRectNull, a));
    EXPECT_TRUE(CGRectContainsRect(a, CGRectNull));
    EXPECT_FALSE(CGRectContainsRect(CGRectNull, a));
    EXPECT_TRUE(CGRectEqualToRect(CGRectNull, CGRectMake(INFINITY, INFINITY, 5, 5)));
    EXPECT_FALSE(CGRectEqualToRect(CGRectNull, CGRectZero));
    EXPECT_TRUE(CGRectIsNull(CGRectOffset(CGRectNull, 1, 1)));
    EXPECT_TRUE(CGRectIsNull(CGRectIntegral(CGRectNull)));
}

TEST(CGGeometry, OffsetInsetAndIntegral) {
    EXPECT_EQ(CGRectOffset(CGRectMake(1, 2, 3, 4), 10, -2), CGRectMake(11, 0, 3, 4));
    EXPECT_EQ(CGRectOffset(CGRectMake(4, 6, -3, -4), 1, 1), CGRectMake(2, 3, 3, 4));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 20), 2, 3), CGRectMake(2, 3, 6, 14));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 20), -1, -1), CGRectMake(-1, -1, 12, 22));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 20), 5, 10), CGRectMake(5, 10, 0, 0));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectMake(0, 0, 10, 20), 6, 0)));
    EXPECT_EQ(CGRectIntegral(CGRectMake(0.5, -0.5, 1.2, 1.0)), CGRectMake(0, -1, 2, 2));
    EXPECT_EQ(CGRectIntegral(CGRectMake(1, 2, 3, 4)), CGRectMake(1, 2, 3, 4));
}

TEST(CGGeometry, StringFormsRoundTrip) {
    EXPECT_EQ(NSStringFromCGPoint({1.5, -2}), "{1.5, -2}");
    EXPECT_EQ(NSStringFromCGSize({375, 667}), "{375, 667}");
    EXPECT_EQ(NSStringFromCGRect(CGRectMake(0, 20.25, 320, 0)), "{{0, 20.25}, {320, 0}}");
    const CGRect rect = CGRectMake(-1, 2.5, 300, 4e-3);
    EXPECT_EQ(CGRectFromString(NSStringFromCGRect(rect)), rect);
}

TEST(CGGeometry, ParsingToleratesWhitespaceAndZeroesWhatCannotBeRead) {
    struct PointCase {
        const char* text;
        CGPoint expected;
    } points[] = {
        {"{12, 34}", {12, 34}}, {"  { 12.5 ,\t-3e1 }  ", {12.5, -30}},
        {"{+4,5}", {4, 5}},     {"{12}", {12, 0}},
        {"{12, abc}", {12, 0}}, {"{abc, 12}", {0, 0}},
        {"", {0, 0}},           {"}}}{{{,,,", {0, 0}},
        {"{nan, inf}", {0, 0}}, {"{1e999, 2}", {0, 0}},
    };
    for (const auto& c : points) {
        EXPECT_EQ(CGPointFromString(c.text), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(CGSizeFromString("{640, 960}"), CGSizeMake(640, 960));
    EXPECT_EQ(CGRectFromString("{{1, 2}, {3, 4}}"), CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(CGRectFromString("{{1,2},{3"), CGRectMake(1, 2, 3, 0));
    EXPECT_EQ(CGRectFromString("{{1, 2}, {x, 4}}"), CGRectMake(1, 2, 0, 0));
}

} // namespace
