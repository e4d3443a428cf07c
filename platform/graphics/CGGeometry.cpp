#include "platform/graphics/CGGeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

CGRect CGRectStandardize(const CGRect& rect) {
    if (CGRectIsNull(rect)) {
        return rect;
    }
    CGRect result = rect;
    if (result.size.width < 0) {
        result.origin.x += result.size.width;
        result.size.width = -result.size.width;
    }
    if (result.size.height < 0) {
        result.origin.y += result.size.height;
        result.size.height = -result.size.height;
    }
    return result;
}

CGFloat CGRectGetMinX(const CGRect& rect) {
    return CGRectStandardize(rect).origin.x;
}
CGFloat CGRectGetMinY(const CGRect& rect) {
    return CGRectStandardize(rect).origin.y;
}
CGFloat CGRectGetWidth(const CGRect& rect) {
    return CGRectStandardize(rect).size.width;
}
CGFloat CGRectGetHeight(const CGRect& rect) {
    return CGRectStandardize(rect).size.height;
}
CGFloat CGRectGetMidX(const CGRect& rect) {
    return CGRectGetMinX(rect) + CGRectGetWidth(rect) / 2;
}
CGFloat CGRectGetMidY(const CGRect& rect) {
    return CGRectGetMinY(rect) + CGRectGetHeight(rect) / 2;
}
CGFloat CGRectGetMaxX(const CGRect& rect) {
    return CGRectGetMinX(rect) + CGRectGetWidth(rect);
}
CGFloat CGRectGetMaxY(const CGRect& rect) {
    return CGRectGetMinY(rect) + CGRectGetHeight(rect);
}

bool CGRectIsNull(const CGRect& rect) {
    return std::isinf(rect.origin.x) || std::isinf(rect.origin.y);
}

bool CGRectIsEmpty(const CGRect& rect) {
    return CGRectIsNull(rect) || rect.size.width == 0 || rect.size.height == 0;
}

bool CGRectContainsPoint(const CGRect& rect, const CGPoint& point) {
    if (CGRectIsNull(rect)) {
        return false;
    }
    return point.x >= CGRectGetMinX(rect) && point.x < CGRectGetMaxX(rect) &&
           point.y >= CGRectGetMinY(rect) && point.y < CGRectGetMaxY(rect);
}

bool CGRectContainsRect(const CGRect& outer, const CGRect& inner) {
    if (CGRectIsNull(inner)) {
        return true;
    }
    if (CGRectIsNull(outer)) {
        return false;
    }
    return CGRectGetMinX(outer) <= CGRectGetMinX(inner) &&
           CGRectGetMaxX(inner) <= CGRectGetMaxX(outer) &&
           CGRectGetMinY(outer) <= CGRectGetMinY(inner) &&
           CGRectGetMaxY(inner) <= CGRectGetMaxY(outer);
}

CGRect CGRectIntersection(const CGRect& rect1, const CGRect& rect2) {
    if (CGRectIsNull(rect1) || CGRectIsNull(rect2)) {
        return CGRectNull;
    }
    const CGFloat minX = std::max(CGRectGetMinX(rect1), CGRectGetMinX(rect2));
    const CGFloat maxX = std::min(CGRectGetMaxX(rect1), CGRectGetMaxX(rect2));
    const CGFloat minY = std::max(CGRectGetMinY(rect1), CGRectGetMinY(rect2));
    const CGFloat maxY = std::min(CGRectGetMaxY(rect1), CGRectGetMaxY(rect2));
    if (minX > maxX || minY > maxY) {
        return CGRectNull;
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

bool CGRectIntersectsRect(const CGRect& rect1, const CGRect& rect2) {
    return !CGRectIsNull(CGRectIntersection(rect1, rect2));
}

CGRect CGRectUnion(const CGRect& rect1, const CGRect& rect2) {
    if (CGRectIsNull(rect1)) {
        return CGRectStandardize(rect2);
    }
    if (CGRectIsNull(rect2)) {
        return CGRectStandardize(rect1);
    }
    const CGFloat minX = std::min(CGRectGetMinX(rect1), CGRectGetMinX(rect2));
    const CGFloat maxX = std::max(CGRectGetMaxX(rect1), CGRectGetMaxX(rect2));
    const CGFloat minY = std::min(CGRectGetMinY(rect1), CGRectGetMinY(rect2));
    const CGFloat maxY = std::max(CGRectGetMaxY(rect1), CGRectGetMaxY(rect2));
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

CGRect CGRectOffset(const CGRect& rect, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(rect)) {
        return rect;
    }
    CGRect result = CGRectStandardize(rect);
    result.origin.x += dx;
    result.origin.y += dy;
    return result;
}

CGRect CGRectInset(const CGRect& rect, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(rect)) {
        return rect;
    }
    CGRect result = CGRectStandardize(rect);
    result.origin.x += dx;
    result.origin.y += dy;
    result.size.width -= 2 * dx;
    result.size.height -= 2 * dy;
    if (result.size.width < 0 || result.size.height < 0) {
        return CGRectNull;
    }
    return result;
}

CGRect CGRectIntegral(const CGRect& rect) {
    if (CGRectIsNull(rect)) {
        return rect;
    }
    const CGFloat minX = std::floor(CGRectGetMinX(rect));
    const CGFloat minY = std::floor(CGRectGetMinY(rect));
    return CGRectMake(minX, minY, std::ceil(CGRectGetMaxX(rect)) - minX,
                      std::ceil(CGRectGetMaxY(rect)) - minY);
}

bool CGRectEqualToRect(const CGRect& rect1, const CGRect& rect2) {
    if (CGRectIsNull(rect1) || CGRectIsNull(rect2)) {
        return CGRectIsNull(rect1) && CGRectIsNull(rect2);
    }
    return CGRectStandardize(rect1) == CGRectStandardize(rect2);
}

namespace {

std::string formatPair(CGFloat first, CGFloat second) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "{%g, %g}", first, second);
    return buffer;
}

// Reads up to `count` numbers in order, skipping braces, commas and whitespace between
// them; stops at the first thing that is not a number, leaving the rest as they were.
void readNumbers(std::string_view text, CGFloat* numbers, int count) {
    const char* cursor = text.data();
    const char* const end = text.data() + text.size();
    for (int i = 0; i < count; ++i) {
        while (cursor != end &&
               (*cursor == '{' || *cursor == '}' || *cursor == ',' || *cursor == ' ' ||
                *cursor == '\t' || *cursor == '\n' || *cursor == '\r')) {
            ++cursor;
        }
        if (cursor != end && *cursor == '+') {
            ++cursor;
        }
        CGFloat value = 0;
        const auto [next, error] = std::from_chars(cursor, end, value);
        if (error != std::errc() || !std::isfinite(value)) {
            return;
        }
        numbers[i] = value;
        cursor = next;
    }
}

} // namespace

std::string NSStringFromCGPoint(const CGPoint& point) {
    return formatPair(point.x, point.y);
}

std::string NSStringFromCGSize(const CGSize& size) {
    return formatPair(size.width, size.height);
}

std::string NSStringFromCGRect(const CGRect& rect) {
    return "{" + NSStringFromCGPoint(rect.origin) + ", " + NSStringFromCGSize(rect.size) + "}";
}

CGPoint CGPointFromString(std::string_view text) {
    CGFloat numbers[2] = {0, 0};
    readNumbers(text, numbers, 2);
    return {numbers[0], numbers[1]};
}

CGSize CGSizeFromString(std::string_view text) {
    CGFloat numbers[2] = {0, 0};
    readNumbers(text, numbers, 2);
    return {numbers[0], numbers[1]};
}

CGRect CGRectFromString(std::string_view text) {
    CGFloat numbers[4] = {0, 0, 0, 0};
    readNumbers(text, numbers, 4);
    return CGRectMake(numbers[0], numbers[1], numbers[2], numbers[3]);
}
