#include "platform/graphics/GradientPainter.h"

#include "platform/graphics/CGContext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

// The ends and colour stops of a gradient run: t from `from` to `to` is drawn between the
// geometry's two ends, t beyond the run's ends is not.
struct GradientRun {
    double from = 0;
    double to = 1;
    cairo_extend_t extend = CAIRO_EXTEND_NONE;
};

// How a gradient's ramp runs for the extend options: cairo pads both ends or none, so
// one padded end is had by stretching the geometry `ext` units of t past it.
GradientRun gradientRun(uint32_t options, double extBefore, double extAfter) {
    const bool before = options & kCGGradientDrawsBeforeStartLocation;
    const bool after = options & kCGGradientDrawsAfterEndLocation;
    if (before && after) {
        return {0, 1, CAIRO_EXTEND_PAD};
    }
    return {before ? -extBefore : 0, after ? 1 + extAfter : 1, CAIRO_EXTEND_NONE};
}

// Gradient colours as cairo stops over the run (or opaque black for coverage).
void addStops(cairo_pattern_t* pattern, const CGGradient& gradient, const GradientRun& run,
              bool coverage) {
    auto add = [&](double t, const CGColor& c) {
        double offset = (t - run.from) / (run.to - run.from);
        if (coverage) {
            cairo_pattern_add_color_stop_rgba(pattern, offset, 0, 0, 0, 1);
        } else {
            cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, c.a);
        }
    };
    const auto& stops = gradient.stops();
    add(run.from, stops.front().color);
    for (const auto& stop : stops) {
        add(stop.location, stop.color);
    }
    add(run.to, stops.back().color);
}

// How far beyond t = 1 a radial gradient must run for its circles to cover a disc of
// radius `u` around `visible`, going from circle (cs, rs) to circle (ce, re); limited
// where the radius shrinks to zero.
double radialExtension(CGPoint cs, double rs, CGPoint ce, double re, CGPoint visible, double u) {
    double dr = re - rs;
    double dc = std::hypot(ce.x - cs.x, ce.y - cs.y);
    double toEnd = std::hypot(ce.x - visible.x, ce.y - visible.y);
    double k = dr > dc ? std::max(0.0, (u + toEnd - re) / (dr - dc)) + 1
                       : (u + toEnd + re) / std::max({std::fabs(dr), dc, 1e-9});
    if (dr < 0) {
        k = std::min(k, re / -dr);
    }
    return std::min(k, 1e6);
}

// Paints the pattern `make` builds over the whole clip.
template <typename Make> Compositor::Painter painterOf(Make make) {
    return [make](cairo_t* c, bool coverage) {
        CairoPatternPtr pattern = make(coverage);
        cairo_set_source(c, pattern.get());
        cairo_paint(c);
    };
}

} // namespace

GradientPainter::GradientPainter(CGGradientRef gradient, uint32_t options, cairo_t* device,
                                 size_t width, size_t height)
    : gradient_(std::move(gradient)), options_(options) {
    double xs[4] = {0, double(width), 0, double(width)};
    double ys[4] = {0, 0, double(height), double(height)};
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        cairo_device_to_user(device, &xs[i], &ys[i]);
        minX = std::min(minX, xs[i]), maxX = std::max(maxX, xs[i]);
        minY = std::min(minY, ys[i]), maxY = std::max(maxY, ys[i]);
    }
    visibleCentre_ = CGPointMake((minX + maxX) / 2, (minY + maxY) / 2);
    visibleRadius_ = std::hypot(maxX - minX, maxY - minY) / 2;
}

Compositor::Painter GradientPainter::linear(CGPoint start, CGPoint end) const {
    const double dx = end.x - start.x, dy = end.y - start.y;
    const double length = std::hypot(dx, dy);
    if (length == 0) {
        return nullptr;
    }
    // Stretching the axis this many lengths past an end reaches beyond every pixel.
    const double ext =
        (std::hypot(visibleCentre_.x - start.x, visibleCentre_.y - start.y) + visibleRadius_) /
            length +
        1;
    const GradientRun run = gradientRun(options_, ext, ext);
    return painterOf([gradient = gradient_, start, dx, dy, run](bool coverage) {
        CairoPatternPtr pattern(
            cairo_pattern_create_linear(start.x + run.from * dx, start.y + run.from * dy,
                                        start.x + run.to * dx, start.y + run.to * dy));
        addStops(pattern.get(), *gradient, run, coverage);
        cairo_pattern_set_extend(pattern.get(), run.extend);
        return pattern;
    });
}

Compositor::Painter GradientPainter::radial(CGPoint startCenter, double startRadius,
                                            CGPoint endCenter, double endRadius) const {
    const GradientRun run =
        gradientRun(options_,
                    radialExtension(endCenter, endRadius, startCenter, startRadius, visibleCentre_,
                                    visibleRadius_),
                    radialExtension(startCenter, startRadius, endCenter, endRadius, visibleCentre_,
                                    visibleRadius_));
    auto circle = [&](double t) {
        return std::array<double, 3>{startCenter.x + t * (endCenter.x - startCenter.x),
                                     startCenter.y + t * (endCenter.y - startCenter.y),
                                     std::max(0.0, startRadius + t * (endRadius - startRadius))};
    };
    const auto from = circle(run.from), to = circle(run.to);
    return painterOf([gradient = gradient_, from, to, run](bool coverage) {
        CairoPatternPtr pattern(
            cairo_pattern_create_radial(from[0], from[1], from[2], to[0], to[1], to[2]));
        addStops(pattern.get(), *gradient, run, coverage);
        cairo_pattern_set_extend(pattern.get(), run.extend);
        return pattern;
    });
}
