// Points, sizes and rectangles in points, the rectangle algebra views and drawing rely on,
// and the "{x, y}" / "{{x, y}, {w, h}}" text forms used by layout files and descriptions.
#pragma once

#include <limits>
#include <string>
#include <string_view>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return {width, height};
}
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return {{x, y}, {width, height}};
}

inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};
inline constexpr CGRect CGRectZero{};
// What intersecting disjoint rectangles gives; it contains nothing and unions as nothing.
inline constexpr CGRect CGRectNull{
    {std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};

// The same rectangle with non-negative width and height.
CGRect CGRectStandardize(const CGRect& rect);

// Edges, centre and extent of the standardized rectangle.
CGFloat CGRectGetMinX(const CGRect& rect);
CGFloat CGRectGetMidX(const CGRect& rect);
CGFloat CGRectGetMaxX(const CGRect& rect);
CGFloat CGRectGetMinY(const CGRect& rect);
CGFloat CGRectGetMidY(const CGRect& rect);
CGFloat CGRectGetMaxY(const CGRect& rect);
CGFloat CGRectGetWidth(const CGRect& rect);
CGFloat CGRectGetHeight(const CGRect& rect);

bool CGRectIsNull(const CGRect& rect);
// Null, or zero in width or height.
bool CGRectIsEmpty(const CGRect& rect);
// Min edges inclusive, max edges exclusive.
bool CGRectContainsPoint(const CGRect& rect, const CGPoint& point);
// Whether `inner` lies within `outer`, edges included; the null rectangle lies in anything.
bool CGRectContainsRect(const CGRect& outer, const CGRect& inner);
bool CGRectIntersectsRect(const CGRect& rect1, const CGRect& rect2);
// The common part, CGRectNull when the rectangles are disjoint (touching edges give a
// zero-width or zero-height rectangle, not null).
CGRect CGRectIntersection(const CGRect& rect1, const CGRect& rect2);
// The smallest rectangle containing both; a null operand is ignored.
CGRect CGRectUnion(const CGRect& rect1, const CGRect& rect2);
CGRect CGRectOffset(const CGRect& rect, CGFloat dx, CGFloat dy);
// Shrinks each side by dx / dy (grows when negative); null when the result would have a
// negative size.
CGRect CGRectInset(const CGRect& rect, CGFloat dx, CGFloat dy);
// The smallest rectangle with integral edges containing the rectangle.
CGRect CGRectIntegral(const CGRect& rect);

// Rectangles compare in standardized form; two null rectangles are equal.
bool CGRectEqualToRect(const CGRect& rect1, const CGRect& rect2);
inline bool CGPointEqualToPoint(const CGPoint& a, const CGPoint& b) {
    return a == b;
}
inline bool CGSizeEqualToSize(const CGSize& a, const CGSize& b) {
    return a == b;
}

// "{x, y}", "{w, h}" and "{{x, y}, {w, h}}" with numbers in %g.
std::string NSStringFromCGPoint(const CGPoint& point);
std::string NSStringFromCGSize(const CGSize& size);
std::string NSStringFromCGRect(const CGRect& rect);

// Parse the forms above: numbers are taken in order from the braces, whitespace is
// tolerated, and whatever cannot be read is zero.
CGPoint CGPointFromString(std::string_view text);
CGSize CGSizeFromString(std::string_view text);
CGRect CGRectFromString(std::string_view text);
