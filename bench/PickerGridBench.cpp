// The photo picker's grid on a large album: thumbnails (the cell size at scale 2, aspect
// fill, exact) for an album of 200 twelve-megapixel camera photos, as the grid asks for
// them — the first screen of cells (20), and every cell of the album. "FirstPaint" waits
// until each cell has a picture (the EXIF preview, degraded), "Final" for the decoded
// thumbnails; Cold starts with empty caches, Memory with the thumbnails in memory, Disk
// with them only on disk (a relaunch). The anchor: libjpeg-turbo's own scaled decode of
// the same files at the same scale, one after another, and one of ours likewise
// (a synchronous request), for the ratio of a single thumbnail.
#include "bench/LargeAlbum.h"
#include "platform/base/NSRunLoop.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/ThumbnailCache.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>

namespace {
constexpr int kFirstScreen = 20;
constexpr double kCellPixels = 92.25 * 2;

enum class Cache { Cold, Memory, Disk };

void prepareCache(Cache cache) {
    GlobalThreadPool::shared().waitUntilIdle();
    NSRunLoop::mainRunLoop().runForSeconds(0.001);
    if (cache != Cache::Memory) {
        ThumbnailCache::shared().removeAllFromMemory();
    }
    if (cache == Cache::Cold) {
        std::error_code ec;
        std::filesystem::remove_all(
            NSHomeDirectory() + "/Library/Caches/" + ThumbnailCache::kFolderName, ec);
    }
}

// Asks for the first `count` thumbnails at once and runs the main loop until each has a
// picture (`final`: a final one).
void requestThumbnails(int count, bool final) {
    const auto& assets = LargeAlbum::shared().assets();
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
    std::vector<bool> shown(static_cast<size_t>(count)), done(static_cast<size_t>(count));
    int answered = 0;
    for (int i = 0; i < count && i < static_cast<int>(assets.size()); ++i) {
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                assets[static_cast<size_t>(i)], CGSizeMake(kCellPixels, kCellPixels),
                PHImageContentMode::AspectFill, options,
                [&, i](const std::shared_ptr<UIImage>&, const PlistValue::Dictionary& info) {
                    const bool degraded = info.contains(PHImageResultIsDegradedKey);
                    if (!shown[size_t(i)] && (!final || !degraded)) {
                        ++answered;
                        shown[size_t(i)] = true;
                    }
                    done[size_t(i)] = done[size_t(i)] || !degraded;
                });
    }
    while (answered < count) {
        NSRunLoop::mainRunLoop().runForSeconds(0.001);
    }
    // Later answers must not find this frame gone.
    while (std::find(done.begin(), done.end(), false) != done.end()) {
        NSRunLoop::mainRunLoop().runForSeconds(0.001);
    }
}

void GridFirstScreen(benchmark::State& state, Cache cache, bool final) {
    NSRunLoop::mainRunLoop();
    LargeAlbum::shared();
    prepareCache(Cache::Cold);
    requestThumbnails(kFirstScreen, true); // fills the caches for the warm cases
    for (auto _ : state) {
        state.PauseTiming();
        prepareCache(cache);
        state.ResumeTiming();
        requestThumbnails(kFirstScreen, final);
    }
    state.counters["cells"] = kFirstScreen;
}
BENCHMARK_CAPTURE(GridFirstScreen, FirstPaintCold, Cache::Cold, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(GridFirstScreen, FinalCold, Cache::Cold, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(GridFirstScreen, FinalMemory, Cache::Memory, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(GridFirstScreen, FinalDisk, Cache::Disk, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void GridWholeAlbum(benchmark::State& state) {
    NSRunLoop::mainRunLoop();
    LargeAlbum::shared();
    for (auto _ : state) {
        state.PauseTiming();
        prepareCache(Cache::Cold);
        state.ResumeTiming();
        requestThumbnails(LargeAlbum::kSize, true);
    }
    state.counters["cells"] = LargeAlbum::kSize;
}
BENCHMARK(GridWholeAlbum)->Unit(benchmark::kMillisecond)->Iterations(3);

// The first screen's files decoded by libjpeg-turbo at 1/8, the scale our requests pick
// for this cell size, one after another.
void AnchorScaledDecode(benchmark::State& state) {
    const auto& assets = LargeAlbum::shared().assets();
    for (auto _ : state) {
        for (int i = 0; i < kFirstScreen; ++i) {
            const auto bytes = NSData::dataWithContentsOfFile(assets[size_t(i)]->filePath());
            jpeg_decompress_struct info;
            jpeg_error_mgr errors;
            info.err = jpeg_std_error(&errors);
            jpeg_create_decompress(&info);
            jpeg_mem_src(&info, bytes->data(), static_cast<unsigned long>(bytes->size()));
            jpeg_read_header(&info, TRUE);
            info.scale_num = 1;
            info.scale_denom = 8;
            info.out_color_space = JCS_EXT_BGRX;
            jpeg_start_decompress(&info);
            std::vector<uint8_t> pixels(size_t(info.output_width) * info.output_height * 4);
            while (info.output_scanline < info.output_height) {
                JSAMPROW row = pixels.data() + size_t(info.output_scanline) * info.output_width * 4;
                jpeg_read_scanlines(&info, &row, 1);
            }
            jpeg_finish_decompress(&info);
            jpeg_destroy_decompress(&info);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    state.counters["cells"] = kFirstScreen;
}
BENCHMARK(AnchorScaledDecode)->Unit(benchmark::kMillisecond)->Iterations(5);

// Ours the same way: the first screen's thumbnails as synchronous requests, no cache.
void OursOneAfterAnother(benchmark::State& state) {
    const auto& assets = LargeAlbum::shared().assets();
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setSynchronous(true);
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
    for (auto _ : state) {
        state.PauseTiming();
        prepareCache(Cache::Cold);
        state.ResumeTiming();
        for (int i = 0; i < kFirstScreen; ++i) {
            PHImageManager::defaultManager()
                ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                    assets[size_t(i)], CGSizeMake(kCellPixels, kCellPixels),
                    PHImageContentMode::AspectFill, options,
                    [](const std::shared_ptr<UIImage>& image, const PlistValue::Dictionary&) {
                        benchmark::DoNotOptimize(image);
                    });
        }
    }
    state.counters["cells"] = kFirstScreen;
}
BENCHMARK(OursOneAfterAnother)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
