// Blurring a screen-sized picture (375 x 667 points at 2x): the dropdown's blurred look,
// and the box convolution under it at growing box sizes, whose cost should not grow.
#include "app/categories/UIImage+DMImage.h"
#include "bench/PhotoLikeImage.h"
#include "platform/accelerate/vImageConvolution.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {
constexpr size_t kWidth = 750, kHeight = 1334;

const std::shared_ptr<UIImage>& screenImage() {
    static const auto image = UIImage::imageWithCGImageScaleOrientation(
        photoLikeImage(kWidth, kHeight), 2, UIImageOrientation::Up);
    return image;
}

// Radius 5 at 2x (an 11-pixel box), tinted, for 1 and 3 iterations.
void BM_BlurredScreenImage(benchmark::State& state) {
    const auto iterations = static_cast<unsigned>(state.range(0));
    auto tint = UIColor::colorWithWhiteAlpha(1, 0.5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DMImage::blurredImageWithRadiusIterationsTintColor(screenImage(), 5, iterations, tint));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth * kHeight));
}
BENCHMARK(BM_BlurredScreenImage)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// One pass of a square box of the given side over the screen's pixels.
void BM_BoxConvolveScreen(benchmark::State& state) {
    const auto side = static_cast<uint32_t>(state.range(0));
    const auto& source = *screenImage()->cgImage();
    std::vector<uint8_t> in(source.data(), source.data() + source.bytesPerRow() * kHeight);
    std::vector<uint8_t> out(in.size());
    vImage_Buffer src{in.data(), kHeight, kWidth, source.bytesPerRow()};
    vImage_Buffer dest{out.data(), kHeight, kWidth, source.bytesPerRow()};
    std::vector<uint8_t> temp(static_cast<size_t>(
        vImageBoxConvolve_ARGB8888(&src, &dest, nullptr, 0, 0, side, side, nullptr,
                                   kvImageEdgeExtend | kvImageGetTempBufferSize)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(vImageBoxConvolve_ARGB8888(&src, &dest, temp.data(), 0, 0, side,
                                                            side, nullptr, kvImageEdgeExtend));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth * kHeight));
}
BENCHMARK(BM_BoxConvolveScreen)->Arg(3)->Arg(11)->Arg(41)->Arg(161)->Unit(benchmark::kMillisecond);
} // namespace
