// A colour as drawing code sets it on a context: red, green, blue and alpha in 0..1, or a
// pattern image tiled in place of a plain colour.
#pragma once

#include "platform/graphics/CGImage.h"

struct CGColor {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;
    // When set, painting tiles this image instead of using the components; the image
    // covers width/patternScale by height/patternScale units of the context's base space.
    CGImageRef pattern;
    double patternScale = 1;

    bool isPattern() const { return pattern != nullptr; }
};

CGColor CGColorMake(double r, double g, double b, double a);
CGColor CGColorCreatePattern(CGImageRef image, double scale);
// The same colour with another alpha (a pattern keeps its image).
CGColor CGColorCreateCopyWithAlpha(const CGColor& color, double alpha);
// Equal components, and the very same pattern image if any.
bool CGColorEqualToColor(const CGColor& color1, const CGColor& color2);
