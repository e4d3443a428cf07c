// Showing a library photo at screen size: an image request for a full-screen view, set
// against decoding the whole photo, the work the request is meant to save. Run one
// benchmark alone (--benchmark_filter) for its peakRSSMB counter to be its own.
#include "bench/PhotoLikeImage.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PHPhotoLibrary.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A 2x screen of 375 x 667 points.
constexpr CGSize kScreen{750, 1334};

struct Photo {
    const char* name;
    size_t width, height;
    int exifOrientation;
};
// Camera sizes; the portrait one is stored on its side, as a phone held upright saves it.
constexpr Photo kPhotos[] = {
    {"12MP.jpg", 4000, 3000, 1},
    {"18MP.jpg", 5184, 3456, 1},
    {"12MPPortrait.jpg", 4000, 3000, 6},
};

// An EXIF block holding only the orientation: "Exif\0\0", a little-endian TIFF header
// and one IFD with one entry.
std::vector<uint8_t> exifOrientation(int orientation) {
    return {'E', 'x',  'i',  'f', 0,
            0,   'I',  'I',  42,  0,
            8,   0,    0,    0,   1,
            0,   0x12, 0x01, 3,   0,
            1,   0,    0,    0,   uint8_t(orientation),
            0,   0,    0,    0,   0,
            0,   0};
}

void writePhoto(const Photo& photo, const std::string& path) {
    auto jpeg = JPEGCodec::encode(photoLikeImage(photo.width, photo.height), 0.9).value();
    if (photo.exifOrientation != 1) {
        const auto exif = exifOrientation(photo.exifOrientation);
        std::vector<uint8_t> segment = {0xff, 0xe1, uint8_t((exif.size() + 2) >> 8),
                                        uint8_t(exif.size() + 2)};
        segment.insert(segment.end(), exif.begin(), exif.end());
        jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    }
    NSData::writeToFileAtomically(jpeg, path);
}

double peakRSSMB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// The photos in a library folder of a temporary home, with access granted. A child
// process writes them, so that making them does not count in this process's peak memory.
class BenchLibrary {
public:
    static BenchLibrary& shared() {
        static BenchLibrary library;
        return library;
    }
    ~BenchLibrary() {
        std::error_code ec;
        fs::remove_all(home_, ec);
    }

    std::string path(const Photo& photo) const { return library_ + "/" + photo.name; }
    double readyRSSMB() const { return readyRSSMB_; }
    std::shared_ptr<PHAsset> asset(const Photo& photo) const {
        for (const auto& asset : PHAsset::fetchAssetsWithOptions(nullptr)) {
            if (asset->localIdentifier() == photo.name) {
                return asset;
            }
        }
        return nullptr;
    }

private:
    BenchLibrary() {
        std::string pattern = (fs::temp_directory_path() / "mixphotos-bench-XXXXXX").string();
        home_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        library_ = home_ + "/library";
        fs::create_directories(library_);
        if (pid_t child = ::fork(); child == 0) {
            for (const auto& photo : kPhotos) {
                writePhoto(photo, path(photo));
            }
            ::_exit(0);
        } else if (child > 0) {
            ::waitpid(child, nullptr, 0);
        }
        NSSetHomeDirectory(home_);
        PHPhotoLibrary::configure(library_, PHAccessAnswer::Granted);
        std::promise<void> answered;
        PHPhotoLibrary::requestAuthorization([&](PHAuthorizationStatus) { answered.set_value(); });
        answered.get_future().wait();
        PHAsset::fetchAssetsWithOptions(nullptr); // scanned now rather than in a run
        readyRSSMB_ = peakRSSMB();
    }

    std::string home_;
    std::string library_;
    double readyRSSMB_ = 0;
};

// The result's size, and the process's peak memory when the library was ready and after
// the runs, so that their difference is what one run needs at most.
void report(benchmark::State& state, const CGImageRef& image) {
    state.counters["width"] = image ? double(image->width()) : 0;
    state.counters["height"] = image ? double(image->height()) : 0;
    state.counters["readyRSSMB"] = BenchLibrary::shared().readyRSSMB();
    state.counters["peakRSSMB"] = peakRSSMB();
}

// A full-screen view's request: aspect fill, answered on this thread.
void RequestAtScreenSize(benchmark::State& state, const Photo& photo,
                         PHImageRequestOptionsResizeMode resizeMode) {
    const auto asset = BenchLibrary::shared().asset(photo);
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setSynchronous(true);
    options->setResizeMode(resizeMode);
    CGImageRef result;
    for (auto _ : state) {
        result = nullptr; // one result alive at a time
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                asset, kScreen, PHImageContentMode::AspectFill, options,
                [&](std::shared_ptr<UIImage> image, const PlistValue::Dictionary&) {
                    result = image ? image->cgImage() : nullptr;
                });
        benchmark::DoNotOptimize(result);
    }
    if (!result) {
        state.SkipWithError("the request failed");
    }
    report(state, result);
}

// Reading the same file and decoding all of it.
void FullDecode(benchmark::State& state, const Photo& photo) {
    const std::string path = BenchLibrary::shared().path(photo);
    CGImageRef image;
    for (auto _ : state) {
        image = nullptr;
        const auto bytes = NSData::dataWithContentsOfFile(path);
        image = bytes ? JPEGCodec::decode(bytes->data(), bytes->size()).value() : nullptr;
        benchmark::DoNotOptimize(image);
    }
    if (!image) {
        state.SkipWithError("the decode failed");
    }
    report(state, image);
}

} // namespace

BENCHMARK_CAPTURE(RequestAtScreenSize, 12MP, kPhotos[0], PHImageRequestOptionsResizeMode::Fast)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 12MPExact, kPhotos[0],
                  PHImageRequestOptionsResizeMode::Exact)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 18MP, kPhotos[1], PHImageRequestOptionsResizeMode::Fast)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 18MPExact, kPhotos[1],
                  PHImageRequestOptionsResizeMode::Exact)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 12MPPortrait, kPhotos[2],
                  PHImageRequestOptionsResizeMode::Fast)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecode, 12MP, kPhotos[0])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecode, 18MP, kPhotos[1])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecode, 12MPPortrait, kPhotos[2])->Unit(benchmark::kMillisecond);
