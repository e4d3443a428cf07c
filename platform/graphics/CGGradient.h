// A colour ramp for linear and radial gradient fills: colours at locations in 0..1.
#pragma once

#include "platform/graphics/CGColor.h"

#include <memory>
#include <vector>

class CGGradient;
using CGGradientRef = std::shared_ptr<const CGGradient>;

class CGGradient {
public:
    struct Stop {
        double location;
        CGColor color; // components only; a pattern has no place in a gradient
    };

    // Stops sorted by location; null without stops.
    static CGGradientRef create(std::vector<Stop> stops);

    const std::vector<Stop>& stops() const { return stops_; }

private:
    CGGradient() = default;
    std::vector<Stop> stops_;
};

// `components` holds count RGBA quadruples. Without locations the colours are spread
// evenly from 0 to 1. Null when count is 0.
CGGradientRef CGGradientCreateWithColorComponents(const double* components, const double* locations,
                                                  size_t count);
CGGradientRef CGGradientCreateWithColors(const std::vector<CGColor>& colors,
                                         const double* locations);
