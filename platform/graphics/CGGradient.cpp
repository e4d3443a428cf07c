#include "platform/graphics/CGGradient.h"

#include <algorithm>

namespace {
double locationAt(const double* locations, size_t index, size_t count) {
    if (locations) {
        return std::clamp(locations[index], 0.0, 1.0);
    }
    return count == 1 ? 0.0 : double(index) / double(count - 1);
}
} // namespace

CGGradientRef CGGradient::create(std::vector<Stop> stops) {
    if (stops.empty()) {
        return nullptr;
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.location < b.location; });
    auto gradient = std::shared_ptr<CGGradient>(new CGGradient());
    gradient->stops_ = std::move(stops);
    return gradient;
}

CGGradientRef CGGradientCreateWithColorComponents(const double* components, const double* locations,
                                                  size_t count) {
    if (!components) {
        return nullptr;
    }
    std::vector<CGGradient::Stop> stops;
    for (size_t i = 0; i < count; ++i) {
        const double* c = components + 4 * i;
        stops.push_back({locationAt(locations, i, count), CGColorMake(c[0], c[1], c[2], c[3])});
    }
    return CGGradient::create(std::move(stops));
}

CGGradientRef CGGradientCreateWithColors(const std::vector<CGColor>& colors,
                                         const double* locations) {
    std::vector<CGGradient::Stop> stops;
    for (size_t i = 0; i < colors.size(); ++i) {
        CGColor color = colors[i];
        color.pattern = nullptr;
        stops.push_back({locationAt(locations, i, colors.size()), color});
    }
    return CGGradient::create(std::move(stops));
}
