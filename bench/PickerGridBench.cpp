// The photo picker's grid on a large album: thumbnails (the cell size at scale 2, aspect
// fit, exact) for an album of 200 twelve-megapixel photos, as the grid asks for them —
// the first screen of cells (20), and every cell of the album.
#include "bench/PhotoLikeImage.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PHPhotoLibrary.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <future>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int kAlbumSize = 200;
constexpr int kFirstScreen = 20;
constexpr double kCellPixels = 92.25 * 2;

class LargeAlbum {
public:
    static LargeAlbum& shared() {
        static LargeAlbum album;
        return album;
    }
    const std::vector<std::shared_ptr<PHAsset>>& assets() const { return assets_; }

private:
    LargeAlbum() {
        std::string pattern = (fs::temp_directory_path() / "mixphotos-grid-XXXXXX").string();
        std::string home = ::mkdtemp(pattern.data()) ? pattern : std::string();
        std::string library = home + "/library/Large";
        fs::create_directories(library);
        auto jpeg = JPEGCodec::encode(photoLikeImage(4000, 3000), 0.85, nullptr);
        for (int i = 0; i < kAlbumSize && jpeg; ++i) {
            NSData::writeToFileAtomically(*jpeg, library + "/photo" + std::to_string(i) + ".jpg");
        }
        NSSetHomeDirectory(home);
        PHPhotoLibrary::configure(home + "/library", PHAccessAnswer::Granted);
        std::promise<void> answered;
        PHPhotoLibrary::requestAuthorization([&](PHAuthorizationStatus) { answered.set_value(); });
        answered.get_future().wait();
        for (const auto& asset : PHAsset::fetchAssetsWithOptions(nullptr)) {
            assets_.push_back(asset);
        }
    }
    std::vector<std::shared_ptr<PHAsset>> assets_;
};

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
        requestThumbnails(kAlbumSize);
    }
    state.counters["cells"] = kAlbumSize;
}
BENCHMARK(GridWholeAlbum)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
