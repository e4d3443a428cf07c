// The photo picker's grid on a large album: thumbnails (the cell size at scale 2, aspect
// fit, exact) for an album of 200 twelve-megapixel photos, as the grid asks for them —
// the first screen of cells (20), and every cell of the album.
#include "bench/LargeAlbum.h"
#include "platform/base/NSRunLoop.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int kFirstScreen = 20;
constexpr double kCellPixels = 92.25 * 2;

// Asks for the first `count` thumbnails at once and runs the main loop until all came.
void requestThumbnails(int count) {
    const auto& assets = LargeAlbum::shared().assets();
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
    int answered = 0;
    for (int i = 0; i < count && i < static_cast<int>(assets.size()); ++i) {
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                assets[static_cast<size_t>(i)], CGSizeMake(kCellPixels, kCellPixels),
                PHImageContentMode::AspectFit, options,
                [&answered](const std::shared_ptr<UIImage>&, const PlistValue::Dictionary&) {
                    ++answered;
                });
    }
    while (answered < count) {
        NSRunLoop::mainRunLoop().runForSeconds(0.001);
    }
}

void GridFirstScreen(benchmark::State& state) {
    NSRunLoop::mainRunLoop();
    LargeAlbum::shared();
    for (auto _ : state) {
        requestThumbnails(kFirstScreen);
    }
    state.counters["cells"] = kFirstScreen;
}
BENCHMARK(GridFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(5);

void GridWholeAlbum(benchmark::State& state) {
    NSRunLoop::mainRunLoop();
    LargeAlbum::shared();
    for (auto _ : state) {
        requestThumbnails(LargeAlbum::kSize);
    }
    state.counters["cells"] = LargeAlbum::kSize;
}
BENCHMARK(GridWholeAlbum)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
