// The filter engine and the convolution on a 12-megapixel photo, each beside libvips doing
// the same work through its own API on the same pixels, so the two figures of a pair read
// as a ratio. Both sides read the photo's four bytes a pixel (B, G, R and an opaque fourth)
// from memory and write four bytes a pixel into new memory: ours into a bitmap, libvips
// into a buffer of its own. Nothing is kept between iterations on either side.
//
// Each benchmark also reports peak_MB: the most memory one run holds at once beyond what
// was resident before it (the process's peak resident size is reset, the run made, the
// peak read back). Measured in the benchmark's own process, after the benchmarks before
// it: memory the allocator or libvips' threads kept from those is reused, not counted.
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
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {
using vips::VImage;

constexpr int kWidth = 4000, kHeight = 3000;
constexpr size_t kBytes = size_t{kWidth} * kHeight * 4;
// The blur of the editor's utilities at level 0.5: a kernel of 151 weights, deviation 25.
constexpr int kBlurSide = 151;
constexpr double kBlurDeviation = 25;

const CGImageRef& photo() {
    static const CGImageRef image = photoLikeImage(kWidth, kHeight);
    return image;
}

// A field of /proc/self/status, in kB; -1 when it cannot be read.
long statusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// The peak_MB counter of one run of `run` (see the top of this file); left out where the
// system cannot reset the peak.
void reportPeakMemory(benchmark::State& state, const std::function<void()>& run) {
    const long before = statusKilobytes("VmRSS");
    if (before < 0 || !(std::ofstream("/proc/self/clear_refs") << "5")) {
        run();
        return;
    }
    run();
    state.counters["peak_MB"] = static_cast<double>(statusKilobytes("VmHWM") - before) / 1024;
}

void renderVips(benchmark::State& state, const std::function<VImage(const VImage&)>& operation) {
    VipsRuntime::start();
    const VImage photoBytes = VImage::new_from_memory(const_cast<uint8_t*>(photo()->data()), kBytes,
                                                      kWidth, kHeight, 4, VIPS_FORMAT_UCHAR);
    const auto run = [&] {
        size_t size = 0;
        void* pixels = operation(photoBytes).write_to_memory(&size);
        benchmark::DoNotOptimize(pixels);
        g_free(pixels);
    };
    reportPeakMemory(state, run);
    for (auto _ : state) {
        run();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void renderOurs(benchmark::State& state, const char* name,
                const std::map<std::string, NSObjectPtr>& parameters) {
    const CIContextPtr context = CIContext::contextWithOptions();
    const CGImageRef& input = photo();
    const auto run = [&] {
        CIFilterPtr filter = CIFilter::filterWithName(name);
        filter->setValueForKey(CIImage::imageWithCGImage(input), kCIInputImageKey);
        for (const auto& [key, value] : parameters) {
            filter->setValueForKey(value, key);
        }
        const CIImagePtr output = filter->outputImage();
        benchmark::DoNotOptimize(context->createCGImageFromRect(output, output->extent()));
    };
    reportPeakMemory(state, run);
    for (auto _ : state) {
        run();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

NSObjectPtr number(double value) {
    return NSNumber::numberWithDouble(value);
}

// Gaussian blur: two passes of the integer convolution, as the editor's utility blurs,
// into new memory as libvips blurs into its own.
void BM_GaussianBlur_Ours(benchmark::State& state) {
    std::vector<int16_t> kernel(kBlurSide);
    int32_t divisor = 0;
    for (int i = 0; i < kBlurSide; ++i) {
        const double d = i - kBlurSide / 2;
        kernel[i] =
            static_cast<int16_t>(255 * std::exp(-d * d / (2 * kBlurDeviation * kBlurDeviation)));
        divisor += kernel[i];
    }
    const size_t rowBytes = photo()->bytesPerRow();
    vImage_Buffer source{const_cast<uint8_t*>(photo()->data()), kHeight, kWidth, rowBytes};
    const auto run = [&] {
        auto middle = std::make_unique_for_overwrite<uint8_t[]>(kBytes);
        auto blurred = std::make_unique_for_overwrite<uint8_t[]>(kBytes);
        vImage_Buffer first{middle.get(), kHeight, kWidth, rowBytes};
        vImage_Buffer second{blurred.get(), kHeight, kWidth, rowBytes};
        vImageConvolve_ARGB8888(&source, &first, nullptr, 0, 0, kernel.data(), kBlurSide, 1,
                                divisor, nullptr, kvImageEdgeExtend);
        vImageConvolve_ARGB8888(&first, &second, nullptr, 0, 0, kernel.data(), 1, kBlurSide,
                                divisor, nullptr, kvImageEdgeExtend);
        benchmark::DoNotOptimize(blurred.get());
        benchmark::ClobberMemory();
    };
    reportPeakMemory(state, run);
    for (auto _ : state) {
        run();
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
        // Luma weights in the bytes' order, B, G, R; the fourth band passes through.
        const double w[3] = {0.0722, 0.7152, 0.2126};
        std::vector<double> m(16, 0.0);
        for (int r = 0; r < 3; ++r) {
            for (int k = 0; k < 3; ++k) {
                m[r * 4 + k] = c * ((1 - s) * w[k] + (r == k ? s : 0));
            }
        }
        m[15] = 1;
        return in.recomb(VImage::new_matrix(4, 4, m.data(), 16))
            .linear({1, 1, 1, 1}, {offset, offset, offset, 0})
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
        return in.affine(
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
