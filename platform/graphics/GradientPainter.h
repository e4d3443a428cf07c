// Paints a gradient's colour ramp over all that the clip leaves, between two points
// (linear) or two circles (radial), beyond its ends only where the drawing options ask.
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGGradient.h"
#include "platform/graphics/Compositor.h"

#include <cstddef>
#include <cstdint>

class GradientPainter {
public:
    // `options`: the kCGGradientDraws... flags. `device` maps user space, in which the
    // geometry is given, onto the `width` x `height` device pixels the ramp may reach.
    GradientPainter(CGGradientRef gradient, uint32_t options, cairo_t* device, size_t width,
                    size_t height);

    // An empty painter (nothing to paint) when the two points coincide.
    Compositor::Painter linear(CGPoint start, CGPoint end) const;
    Compositor::Painter radial(CGPoint startCenter, double startRadius, CGPoint endCenter,
                               double endRadius) const;

private:
    CGGradientRef gradient_;
    uint32_t options_;
    // A disc in user space holding every device pixel.
    CGPoint visibleCentre_;
    double visibleRadius_;
};
