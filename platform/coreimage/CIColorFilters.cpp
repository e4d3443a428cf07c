#include "platform/coreimage/CIColorFilters.h"

#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIKernels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

using vips::VImage;
using namespace CIKernels;

namespace {

// A filter of the input image and `parameters`.
CIFilterDefinition colourFilter(std::string name, std::vector<CIFilterInputDefinition> parameters,
                                std::function<CIImagePtr(const CIImage&, const CIFilter&)> apply) {
    parameters.insert(parameters.begin(), imageInput());
    return {std::move(name), std::move(parameters), std::move(apply)};
}

// Rotation of colours about the grey axis (1, 1, 1) by `angle` radians (Rodrigues'
// formula): greys stay, and a third of a turn takes red to green, green to blue.
Matrix3 hueRotation(double angle) {
    const double c = std::cos(angle), s = std::sin(angle) / std::sqrt(3.0), t = (1 - c) / 3;
    return {c + t, t - s, t + s, t + s, c + t, t - s, t - s, t + s, c + t};
}

// The classic sepia matrix: white turns cream, black stays black.
constexpr Matrix3 kSepia{0.393, 0.769, 0.189, 0.349, 0.686, 0.168, 0.272, 0.534, 0.131};

// The tone curve's mapping from x to y: a monotone cubic (Fritsch-Carlson) through the
// points in order of x, level before the first point and after the last (as the curve is
// drawn). Monotone data give a monotone curve without overshoot; points sharing an x keep
// the first.
std::function<double(double)> toneCurve(std::vector<std::pair<double, double>> points) {
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 points.end());
    const size_t n = points.size();
    if (n < 2) {
        const double level = n == 1 ? points[0].second : 0;
        return [level](double) { return level; };
    }
    std::vector<double> secant(n - 1), tangent(n);
    for (size_t k = 0; k + 1 < n; ++k) {
        secant[k] =
            (points[k + 1].second - points[k].second) / (points[k + 1].first - points[k].first);
    }
    tangent[0] = secant[0];
    tangent[n - 1] = secant[n - 2];
    for (size_t k = 1; k + 1 < n; ++k) {
        tangent[k] = secant[k - 1] * secant[k] > 0 ? (secant[k - 1] + secant[k]) / 2 : 0;
    }
    for (size_t k = 0; k + 1 < n; ++k) {
        if (secant[k] == 0) {
            tangent[k] = tangent[k + 1] = 0;
            continue;
        }
        const double alpha = tangent[k] / secant[k], beta = tangent[k + 1] / secant[k];
        const double length = std::hypot(alpha, beta);
        if (length > 3) {
            tangent[k] = 3 / length * alpha * secant[k];
            tangent[k + 1] = 3 / length * beta * secant[k];
        }
    }
    return [points = std::move(points), tangent = std::move(tangent)](double x) {
        if (x <= points.front().first) {
            return points.front().second;
        }
        if (x >= points.back().first) {
            return points.back().second;
        }
        size_t k = 0;
        while (x > points[k + 1].first) {
            ++k;
        }
        const double h = points[k + 1].first - points[k].first, u = (x - points[k].first) / h;
        const double u2 = u * u, u3 = u2 * u;
        return (2 * u3 - 3 * u2 + 1) * points[k].second + (u3 - 2 * u2 + u) * h * tangent[k] +
               (-2 * u3 + 3 * u2) * points[k + 1].second + (u3 - u2) * h * tangent[k + 1];
    };
}

} // namespace

std::vector<CIFilterDefinition> colorFilterDefinitions() {
    std::vector<CIFilterDefinition> filters;

    // Stored sRGB values taken through the sRGB curve to linear light, and back.
    filters.push_back(colourFilter("CISRGBToneCurveToLinear", {}, [](const CIImage& in, auto&) {
        return curveColour(in, curveTable(srgbToLinear));
    }));
    filters.push_back(colourFilter("CILinearToSRGBToneCurve", {}, [](const CIImage& in, auto&) {
        return curveColour(in, curveTable(linearToSrgb));
    }));

    // 1 - c for each colour channel; alpha stays.
    filters.push_back(colourFilter("CIColorInvert", {}, [](const CIImage& in, auto&) {
        return affineColour(in, {-1, 0, 0, 0, -1, 0, 0, 0, -1}, {1, 1, 1});
    }));

    // The sepia matrix blended with the unchanged colour by the intensity (0 to 1).
    filters.push_back(colourFilter("CISepiaTone", {numberInput("inputIntensity", 1)},
                                   [](const CIImage& in, const CIFilter& f) {
                                       const double intensity = f.numberForKey("inputIntensity");
                                       Matrix3 m{};
                                       for (size_t i = 0; i < m.size(); ++i) {
                                           m[i] = (1 - intensity) * kIdentity[i] +
                                                  intensity * kSepia[i];
                                       }
                                       return affineColour(in, m);
                                   }));

    // Rotation about the grey axis by the angle in radians.
    filters.push_back(colourFilter(
        "CIHueAdjust", {numberInput("inputAngle", 0)}, [](const CIImage& in, const CIFilter& f) {
            return affineColour(in, hueRotation(f.numberForKey("inputAngle")));
        }));

    // With y the luma, every channel moves by
    //   1.5 * shadow * y * (1 - y)^2 + 1.5 * (highlight - 1) * y^2 * (1 - y):
    // the shadow amount (-1 to 1) lifts or deepens the dark tones most, the highlight amount
    // (0 to 1, 1 neutral) pulls down the light ones; black and white stay, and so does hue.
    filters.push_back(colourFilter(
        "CIHighlightShadowAdjust",
        {numberInput("inputHighlightAmount", 1), numberInput("inputShadowAmount", 0)},
        [](const CIImage& in, const CIFilter& f) {
            const double shadow = 1.5 * f.numberForKey("inputShadowAmount");
            const double highlight = 1.5 * (f.numberForKey("inputHighlightAmount") - 1);
            if (in.pipeline().bytes()) {
                // The shift depends on luma alone: looked up in a table of it, on the bytes.
                const auto shifts = std::make_shared<const CurveTable>(curveTable([=](double y) {
                    const double dark = 1 - y;
                    return y * dark * (shadow * dark + highlight * y);
                }));
                return changeColourOnBytes(in, [shifts](std::array<double, 3>& c) {
                    const double shift =
                        lookUp(*shifts, kLuma[0] * c[0] + kLuma[1] * c[1] + kLuma[2] * c[2]);
                    for (double& channel : c) {
                        channel += shift;
                    }
                });
            }
            return mapColour(in, [&](const VImage& rgb) {
                const VImage y =
                    rgb.recomb(VImage::new_matrix(3, 1, const_cast<double*>(kLuma.data()), 3));
                const VImage dark = y.linear(-1.0, 1.0);
                const VImage shift =
                    y * dark * (dark.linear(shadow, 0.0) + y.linear(highlight, 0.0));
                return rgb + shift;
            });
        }));

    // Each channel quantised to `levels` evenly spaced values from 0 to 1 (levels rounded,
    // at least 2): min(floor(c * levels), levels - 1) / (levels - 1).
    filters.push_back(colourFilter(
        "CIColorPosterize", {numberInput("inputLevels", 6)},
        [](const CIImage& in, const CIFilter& f) {
            const double levels = std::clamp(std::round(f.numberForKey("inputLevels")), 2.0, 256.0);
            return curveColour(in, curveTable([levels](double c) {
                                   return std::min(std::floor(c * levels), levels - 1) /
                                          (levels - 1);
                               }));
        }));

    // Each channel mapped through the curve of the five points (see toneCurve).
    filters.push_back(
        colourFilter("CIToneCurve",
                     {vectorInput("inputPoint0", 0, 0), vectorInput("inputPoint1", 0.25, 0.25),
                      vectorInput("inputPoint2", 0.5, 0.5), vectorInput("inputPoint3", 0.75, 0.75),
                      vectorInput("inputPoint4", 1, 1)},
                     [](const CIImage& in, const CIFilter& f) {
                         std::vector<std::pair<double, double>> points;
                         for (const char* key : {"inputPoint0", "inputPoint1", "inputPoint2",
                                                 "inputPoint3", "inputPoint4"}) {
                             if (auto point = f.vectorForKey(key)) {
                                 points.emplace_back(point->X(), point->Y());
                             }
                         }
                         return curveColour(in, curveTable(toneCurve(std::move(points))));
                     }));

    // Saturation (towards or away from luma grey), then brightness added, then contrast
    // about mid grey: ((grey + s * (c - grey)) + brightness - 0.5) * contrast + 0.5.
    filters.push_back(
        colourFilter("CIColorControls",
                     {numberInput("inputSaturation", 1), numberInput("inputBrightness", 0),
                      numberInput("inputContrast", 1)},
                     [](const CIImage& in, const CIFilter& f) {
                         const double contrast = f.numberForKey("inputContrast");
                         Matrix3 m = saturationMatrix(f.numberForKey("inputSaturation"));
                         for (double& value : m) {
                             value *= contrast;
                         }
                         const double offset =
                             contrast * f.numberForKey("inputBrightness") + 0.5 * (1 - contrast);
                         return affineColour(in, m, {offset, offset, offset});
                     }));

    // Linear light times 2^EV (clipped at white), back in sRGB.
    filters.push_back(colourFilter(
        "CIExposureAdjust", {numberInput("inputEV", 0)}, [](const CIImage& in, const CIFilter& f) {
            const double gain = std::exp2(f.numberForKey("inputEV"));
            return curveColour(in, curveTable([gain](double c) {
                                   return linearToSrgb(std::min(1.0, srgbToLinear(c) * gain));
                               }));
        }));

    // Each stored channel raised to the power.
    filters.push_back(colourFilter(
        "CIGammaAdjust", {numberInput("inputPower", 1)}, [](const CIImage& in, const CIFilter& f) {
            const double power = f.numberForKey("inputPower");
            return curveColour(in, curveTable([power](double c) { return std::pow(c, power); }));
        }));

    return filters;
}
