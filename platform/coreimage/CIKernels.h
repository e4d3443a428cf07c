// Building blocks the filters share: per-channel curves, colour matrices, the way a
// colour operation leaves alpha alone, and kernels of our own over a pipeline's bytes.
// Float samples are in 0...1 (see CIImagePipeline).
#pragma once

#include "platform/coreimage/CIImage.h"
#include "platform/coreimage/CIImagePipeline.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

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

// `x` clipped to 0...1; NaN gives 0, so that no caller ever converts NaN to an index or
// a level.
inline double clipUnit(double x) {
    return x > 0 ? (x < 1 ? x : 1) : 0;
}

// A function on 0...1 as a table of its values at 65536 evenly spaced points, so that its
// cost does not depend on what it computes, and its value at the point nearest to `x`
// (clipped to 0...1).
using CurveTable = std::vector<float>;
CurveTable curveTable(const std::function<double(double)>& f);
inline float lookUp(const CurveTable& table, double x) {
    return table[static_cast<size_t>(clipUnit(x) * double(table.size() - 1) + 0.5)];
}

// The table applied to every band of `samples`.
vips::VImage curve(const vips::VImage& samples, const CurveTable& table);
// m x rgb + offset.
vips::VImage colourMatrix(const vips::VImage& rgb, const Matrix3& m,
                          const std::array<double, 3>& offset = {0, 0, 0});

// The image with `colour` applied to its straight (not premultiplied) red, green and blue
// float samples; alpha and extent stay.
CIImagePtr mapColour(const CIImage& image,
                     const std::function<vips::VImage(const vips::VImage& rgb)>& colour);
// m x rgb + offset on straight colour, and a curve on every channel of straight colour,
// as mapColour does them; on the image's bytes when it has them.
CIImagePtr affineColour(const CIImage& image, const Matrix3& m,
                        const std::array<double, 3>& offset = {0, 0, 0});
CIImagePtr curveColour(const CIImage& image, const CurveTable& table);

// Filters that move or mix pixels, treating every band alike: `move` on the image's
// bytes when it has them, else on its premultiplied samples (or its three opaque bands,
// when `keepsOpaque`), the result covering `extent`.
CIImagePtr movePixels(const CIImage& image, bool keepsOpaque, const CGRect& extent,
                      const std::function<vips::VImage(const vips::VImage&)>& move);

// A kernel of our own over 4-band byte images, run lazily by libvips on its worker
// threads, tile by tile: `row` turns `width` pixels of the input row `y` starting at
// column `x` into the output's. It runs on many threads at once and may only read what it
// holds.
using RowKernel = std::function<void(const uint8_t* in, uint8_t* out, int width, int x, int y)>;
vips::VImage rowKernel(const vips::VImage& bytes, RowKernel row);

// One premultiplied B, G, R, A pixel through `change` (called on an std::array<double, 3>
// of straight red, green and blue, changed in place), then clipped, rounded and
// premultiplied again as a render of the float samples would; alpha stays.
template <class Change>
inline void changeStraightPixel(const uint8_t* in, uint8_t* out, Change&& change) {
    const int alpha = in[3];
    out[3] = in[3];
    if (alpha == 0) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    const double unit = 1.0 / alpha;
    std::array<double, 3> rgb{in[2] * unit, in[1] * unit, in[0] * unit};
    change(rgb);
    for (int c = 0; c < 3; ++c) {
        // In single precision, as the render of float samples rounds.
        const float clipped = static_cast<float>(clipUnit(rgb[c]));
        const int level = static_cast<int>(clipped * 255.0f + 0.5f);
        out[2 - c] = static_cast<uint8_t>(alpha == 255 ? level : (2 * level * alpha + 255) / 510);
    }
}

// `change` (as changeStraightPixel takes it) on every pixel of the image's bytes, in a
// kernel that holds its own copy of `change`; null when the image has no bytes.
template <class Change> CIImagePtr changeColourOnBytes(const CIImage& image, Change change) {
    const CIImagePipeline& pipeline = image.pipeline();
    if (!pipeline.bytes()) {
        return nullptr;
    }
    const auto row = [change](const uint8_t* in, uint8_t* out, int width, int, int) {
        for (int i = 0; i < width * 4; i += 4) {
            changeStraightPixel(in + i, out + i, change);
        }
    };
    return CIImage::imageWithPipeline(
        CIImagePipeline::withBytes(rowKernel(*pipeline.bytes(), row),
                                   pipeline.alpha() == CIAlpha::Opaque),
        image.extent());
}

} // namespace CIKernels
