// Building blocks the filters share: per-channel curves, colour matrices and the way a
// colour operation leaves alpha alone. Samples are in 0...1 (see CIImagePipeline).
#pragma once

#include "platform/coreimage/CIImage.h"
#include "platform/coreimage/CIImagePipeline.h"

#include <array>
#include <functional>

namespace CIKernels {

// Rec. 709 luma weights, the grey every filter here means.
inline constexpr std::array<double, 3> kLuma{0.2126, 0.7152, 0.0722};

// The sRGB transfer function and its inverse on 0...1.
double srgbToLinear(double value);
double linearToSrgb(double value);

// Row-major 3 x 3 matrices on (r, g, b).
using Matrix3 = std::array<double, 9>;
inline constexpr Matrix3 kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};
Matrix3 multiply(const Matrix3& a, const Matrix3& b);
// Moves colours towards (s < 1) or away from (s > 1) their luma grey; 0 gives grey.
Matrix3 saturationMatrix(double saturation);

// `f` applied to every band of `samples`, each sample first clipped to 0...1. A table of
// 65536 entries stands in for `f`, so the cost does not depend on what `f` computes.
vips::VImage curve(const vips::VImage& samples, const std::function<double(double)>& f);
// m x rgb + offset.
vips::VImage colourMatrix(const vips::VImage& rgb, const Matrix3& m,
                          const std::array<double, 3>& offset = {0, 0, 0});

// The image with `colour` applied to its straight (not premultiplied) red, green and blue;
// alpha and extent stay.
CIImagePtr mapColour(const CIImage& image,
                     const std::function<vips::VImage(const vips::VImage& rgb)>& colour);

} // namespace CIKernels
