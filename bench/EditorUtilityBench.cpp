// The editor's picture utilities on a 12-megapixel photo, each beside libvips doing the same
// work through its own API on the same pixels (the photo's own four-byte pixels as four
// bands), so the two figures of a pair read as a ratio. Ours starts from a picture and
// ends in one; libvips from and to plain memory.
#include "bench/PhotoLikeImage.h"
#include "editor/categories/UIImage+Utility.h"
#include "platform/coreimage/VipsRuntime.h"
#include "platform/uikit/UIImage.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <functional>

namespace {
using vips::VImage;

constexpr int kWidth = 4000, kHeight = 3000;
// Level 0.5 on a 3000-point short side: a kernel of 151 weights, deviation 25.
constexpr double kBlurLevel = 0.5;
constexpr double kBlurDeviation = 25;
// A quarter of each side, as the editor's previews reduce a photo to its view.
constexpr double kShrink = 0.25;

const CGImageRef& photo() {
    static const CGImageRef image = photoLikeImage(kWidth, kHeight);
    return image;
}

std::shared_ptr<UIImage> picture(UIImageOrientation orientation) {
    return UIImage::imageWithCGImageScaleOrientation(photo(), 1, orientation);
}

void renderVips(benchmark::State& state, const std::function<VImage(const VImage&)>& operation) {
    VipsRuntime::start();
    const VImage in = VImage::new_from_memory(const_cast<uint8_t*>(photo()->data()),
                                              photo()->bytesPerRow() * kHeight, kWidth, kHeight, 4,
                                              VIPS_FORMAT_UCHAR);
    for (auto _ : state) {
        size_t size = 0;
        void* pixels = operation(in).write_to_memory(&size);
        benchmark::DoNotOptimize(pixels);
        g_free(pixels);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void renderOurs(benchmark::State& state, const std::function<std::shared_ptr<UIImage>()>& work) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(work());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void BM_UtilityGaussBlur_Ours(benchmark::State& state) {
    const auto image = picture(UIImageOrientation::Up);
    renderOurs(state, [&] { return Utility::gaussBlur(image, kBlurLevel); });
}
void BM_UtilityGaussBlur_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        return in.gaussblur(kBlurDeviation, VImage::option()->set("min_ampl", 0.01));
    });
}

void BM_UtilityResize_Ours(benchmark::State& state) {
    const auto image = picture(UIImageOrientation::Up);
    renderOurs(state, [&] {
        return Utility::resize(image, CGSizeMake(kWidth * kShrink, kHeight * kShrink));
    });
}
void BM_UtilityResize_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        return in.resize(kShrink, VImage::option()->set("kernel", VIPS_KERNEL_LINEAR));
    });
}

// A camera's upright photo stored turned: the quarter turn is part of the work.
void BM_UtilityResizeTurned_Ours(benchmark::State& state) {
    const auto image = picture(UIImageOrientation::Right);
    renderOurs(state, [&] {
        return Utility::resize(image, CGSizeMake(kHeight * kShrink, kWidth * kShrink));
    });
}
void BM_UtilityResizeTurned_Vips(benchmark::State& state) {
    renderVips(state, [](const VImage& in) {
        return in.resize(kShrink, VImage::option()->set("kernel", VIPS_KERNEL_LINEAR)).rot90();
    });
}

BENCHMARK(BM_UtilityGaussBlur_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UtilityGaussBlur_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UtilityResize_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UtilityResize_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UtilityResizeTurned_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UtilityResizeTurned_Vips)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
