#include "platform/graphics/CGColor.h"

#include <algorithm>

CGColor CGColorMake(double r, double g, double b, double a) {
    return CGColor{std::clamp(r, 0.0, 1.0),
                   std::clamp(g, 0.0, 1.0),
                   std::clamp(b, 0.0, 1.0),
                   std::clamp(a, 0.0, 1.0),
                   nullptr,
                   1};
}

CGColor CGColorCreatePattern(CGImageRef image, double scale) {
    CGColor color;
    color.pattern = std::move(image);
    color.patternScale = scale > 0 ? scale : 1;
    return color;
}

CGColor CGColorCreateCopyWithAlpha(const CGColor& color, double alpha) {
    CGColor copy = color;
    copy.a = std::clamp(alpha, 0.0, 1.0);
    return copy;
}

bool CGColorEqualToColor(const CGColor& color1, const CGColor& color2) {
    return color1.r == color2.r && color1.g == color2.g && color1.b == color2.b &&
           color1.a == color2.a && color1.pattern == color2.pattern &&
           color1.patternScale == color2.patternScale;
}
