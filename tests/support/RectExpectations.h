// A rectangle compared side by side within a tolerance, for geometry computed in floating
// point.
#pragma once

#include "platform/graphics/CGGeometry.h"

#include <gtest/gtest.h>

inline void expectRectNear(const CGRect& actual, const CGRect& expected, double tolerance = 1e-6) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
    EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
    EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}
