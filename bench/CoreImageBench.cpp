// The filter engine and the convolution on a 12-megapixel photo, each beside libvips doing
// the same work through its own API on the same pixels (packed RGB, its natural input), so
// the two figures of a pair read as a ratio. Ours starts from our bitmap and ends in one;
// libvips from and to plain memory.
#include "bench/PhotoLikeImage.h"
#include "platform/accelerate/vImageConvolution.h"
#include "platform/coreimage/CIContext.h"
#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIVector.h"
#include "platform/coreimage/VipsRuntime.h"
#include "platform/foundation/NSNumber.h"
#include "platform/graphics/NSValue.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <vector>

namespace {
using vips::VImage;

constexpr int kWidth = 4000, kHeight = 3000;
// The blur of the editor's utilities at level 0.5: a kernel of 151 weights, deviation 25.
constexpr int kBlurSide = 151;
constexpr double kBlurDeviation = 25;

const CGImageRef& photo() {
    static const CGImageRef image = photoLikeImage(kWidth, kHeight);
    return image;
}

// The photo as packed R, G, B bytes, what libvips would read from a file.
const std::vector<uint8_t>& packedRgb() {
    static const std::vector<uint8_t> rgb = [] {
        std::vector<uint8_t> bytes(size_t{kWidth} * kHeight * 3);
        for (size_t y = 0; y < kHeight; ++y) {
            const uint8_t* in = photo()->data() + y * photo()->bytesPerRow();
            uint8_t* out = bytes.data() + y * kWidth * 3;
            for (size_t x = 0; x < kWidth; ++x) {
                out[x * 3] = in[x * 4 + 2];
                out[x * 3 + 1] = in[x * 4 + 1];
                out[x * 3 + 2] = in[x * 4];
            }
        }
        return bytes;
    }();
    return rgb;
}

VImage vipsPhoto() {
    VipsRuntime::start();
    return VImage::new_from_memory(const_cast<uint8_t*>(packedRgb().data()), packedRgb().size(),
                                   kWidth, kHeight, 3, VIPS_FORMAT_UCHAR);
}

void renderVips(benchmark::State& state, const std::function<VImage(const VImage&)>& operation) {
    VImage photo = vipsPhoto();
    for (auto _ : state) {
        size_t size = 0;
        void* pixels = operation(photo).write_to_memory(&size);
        benchmark::DoNotOptimize(pixels);
        g_free(pixels);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void renderOurs(benchmark::State& state, const char* name,
                const std::map<std::string, NSObjectPtr>& parameters) {
    const CIContextPtr context = CIContext::contextWithOptions();
    const CGImageRef& input = photo();
    for (auto _ : state) {
        CIFilterPtr filter = CIFilter::filterWithName(name);
        filter->setValueForKey(CIImage::imageWithCGImage(input), kCIInputImageKey);
        for (const auto& [key, value] : parameters) {
            filter->setValueForKey(value, key);
        }
        const CIImagePtr output = filter->outputImage();
        benchmark::DoNotOptimize(context->createCGImageFromRect(output, output->extent()));
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

NSObjectPtr number(double value) {
    return NSNumber::numberWithDouble(value);
}

// Gaussian blur: two passes of the integer convolution, as the editor's utility blurs.
void BM_GaussianBlur_Ours(benchmark::State& state) {
    std::vector<int16_t> kernel(kBlurSide);
    int32_t divisor = 0;
    for (int i = 0; i < kBlurSide; ++i) {
        const double d = i - kBlurSide / 2;
        kernel[i] =
            static_cast<int16_t>(255 * std::exp(-d * d / (2 * kBlurDeviation * kBlurDeviation)));
        divisor += kernel[i];
    }
    std::vector<uint8_t> a(photo()->data(), photo()->data() + photo()->bytesPerRow() * kHeight);
    std::vector<uint8_t> b(a.size());
    vImage_Buffer first{a.data(), kHeight, kWidth, photo()->bytesPerRow()};
    vImage_Buffer second{b.data(), kHeight, kWidth, photo()->bytesPerRow()};
    for (auto _ : state) {
        vImageConvolve_ARGB8888(&first, &second, nullptr, 0, 0, kernel.data(), kBlurSide, 1,
                                divisor, nullptr, kvImageEdgeExtend);
        vImageConvolve_ARGB8888(&second, &first, nullptr, 0, 0, kernel.data(), 1, kBlurSide,
                                divisor, nullptr, kvImageEdgeExtend);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}
void BM_GaussianBlur_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        return in.gaussblur(kBlurDeviation, VImage::option()->set("min_ampl", 0.01));
    });
}

void BM_ColorControls_Ours(benchmark::State& state) {
    renderOurs(state, "CIColorControls",
               {{"inputSaturation", number(1.2)},
                {"inputBrightness", number(0.05)},
                {"inputContrast", number(1.1)}});
}
void BM_ColorControls_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        const double s = 1.2, c = 1.1, offset = 255 * (c * 0.05 + 0.5 * (1 - c));
        const double w[3] = {0.2126, 0.7152, 0.0722};
        std::vector<double> m(9);
        for (int r = 0; r < 3; ++r) {
            for (int k = 0; k < 3; ++k) {
                m[r * 3 + k] = c * ((1 - s) * w[k] + (r == k ? s : 0));
            }
        }
        return in.recomb(VImage::new_matrix(3, 3, m.data(), 9))
            .linear({1, 1, 1}, {offset, offset, offset})
            .cast(VIPS_FORMAT_UCHAR);
    });
}

void BM_ToneCurve_Ours(benchmark::State& state) {
    renderOurs(state, "CIToneCurve",
               {{"inputPoint1", CIVector::vectorWithXY(0.25, 0.2)},
                {"inputPoint3", CIVector::vectorWithXY(0.75, 0.85)}});
}
void BM_ToneCurve_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        // A 256-entry table of an S curve.
        std::vector<uint8_t> table(256);
        for (int i = 0; i < 256; ++i) {
            const double x = i / 255.0;
            table[i] = static_cast<uint8_t>(
                std::lround(255 * (x + 0.1 * std::sin(2 * std::numbers::pi * x))));
        }
        return in.maplut(VImage::new_from_memory(table.data(), 256, 256, 1, 1, VIPS_FORMAT_UCHAR));
    });
}

// A turn by 10 degrees into the bounding box, bilinear.
const double kAngle = 10 * std::numbers::pi / 180;
void BM_AffineRotate_Ours(benchmark::State& state) {
    renderOurs(state, "CIAffineTransform",
               {{"inputTransform",
                 NSValue::valueWithCGAffineTransform(CGAffineTransformMakeRotation(kAngle))}});
}
void BM_AffineRotate_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        const double c = std::cos(kAngle), s = std::sin(kAngle);
        return in.bandjoin_const({255.0}).affine(
            {c, s, -s, c},
            VImage::option()->set("interpolate", vips::VInterpolate::new_from_name("bilinear")));
    });
}

void BM_Pixellate_Ours(benchmark::State& state) {
    renderOurs(state, "CIPixellate",
               {{"inputScale", number(40)}, {"inputCenter", CIVector::vectorWithXY(2000, 1500)}});
}
void BM_Pixellate_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) { return in.shrink(40, 40).zoom(40, 40); });
}

void BM_Vignette_Ours(benchmark::State& state) {
    renderOurs(state, "CIVignetteEffect",
               {{"inputCenter", CIVector::vectorWithXY(2000, 1500)},
                {"inputRadius", number(1500)},
                {"inputIntensity", number(0.9)}});
}
void BM_Vignette_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        // Darkening by squared distance from the centre, as one formula.
        const VImage xy = VImage::xyz(kWidth, kHeight)
                              .linear({1.0 / 2250, 1.0 / 2250}, {-2000.0 / 2250, -1500.0 / 2250});
        const VImage shade = (xy * xy).bandmean().linear(-1.8, 1.0);
        return (in * shade).cast(VIPS_FORMAT_UCHAR);
    });
}

BENCHMARK(BM_GaussianBlur_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GaussianBlur_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ColorControls_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ColorControls_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToneCurve_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToneCurve_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AffineRotate_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AffineRotate_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pixellate_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Pixellate_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Vignette_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Vignette_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
