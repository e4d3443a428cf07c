// Showing a library photo at screen size: an image request for a full-screen view, set
// against the codec library's own scaled decode of the same bytes at the same scale (its
// time and the ratio are the counters libjpegMs and vsLibjpeg), and against decoding the
// whole photo, the work the request is meant to save. Run one benchmark alone
// (--benchmark_filter) for its peakRSSMB counter to be its own.
#include "bench/PhotoLikeImage.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/graphics/JPEGCodec.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/photos/PHAsset.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHImageRequestOptions.h"
#include "platform/photos/PHPhotoLibrary.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
// jpeglib.h needs <cstdio> before it.
#include <jpeglib.h>

namespace {

namespace fs = std::filesystem;

// A 2x screen of 375 x 667 points.
constexpr CGSize kScreen{750, 1334};

struct Photo {
    const char* name;
    size_t width, height;
    int exifOrientation;
    bool progressive;
    bool png = false;
};
// Camera sizes; the portrait one is stored on its side, as a phone held upright saves it.
constexpr Photo kPhotos[] = {
    {"12MP.jpg", 4000, 3000, 1, false},
    {"18MPProgressive.jpg", 5184, 3456, 1, true},
    {"12MPPortrait.jpg", 4000, 3000, 6, false},
    // The largest picture the decoders take, as a screenshot or a panorama might be.
    {"100MP.png", 10000, 10000, 1, false, true},
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
    if (photo.png) {
        NSData::writeToFileAtomically(
            PNGCodec::encode(photoLikeImage(photo.width, photo.height)).value(), path);
        return;
    }
    auto jpeg = photoLikeJpeg(photo.width, photo.height, photo.progressive);
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

// The codec library's own scaled decode, as its command-line decoder does it: the file
// read through stdio, the smallest scale n/8 that still covers the aspect-fill screen,
// native ARGB rows into a buffer of the caller's. With the library's default transform
// and upsampling, or, as `fastSettings`, with the fast integer transform and plain
// upsampling our reduced decodes use (the decoder's "-dct fast -nosmooth"), so both ratios
// are on the record.
size_t libjpegScaledDecode(const std::string& path, const Photo& photo, bool fastSettings) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        return 0;
    }
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors); // the benchmark's own file: the library's exit is fine
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    if (fastSettings) {
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    const bool turned = photo.exifOrientation >= 5;
    const double fill = std::max(kScreen.width / double(turned ? photo.height : photo.width),
                                 kScreen.height / double(turned ? photo.width : photo.height));
    info.scale_denom = 8;
    for (info.scale_num = 1; info.scale_num < 8; ++info.scale_num) {
        jpeg_calc_output_dimensions(&info);
        if (info.output_width >= std::ceil(double(photo.width) * fill - 1e-6) &&
            info.output_height >= std::ceil(double(photo.height) * fill - 1e-6)) {
            break;
        }
    }
    jpeg_start_decompress(&info);
    const size_t stride = size_t(info.output_width) * 4;
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[stride * info.output_height]);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.get() + size_t(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.get());
    return stride / 4;
}

// This thread's CPU time (user and system, so page faults count), in milliseconds: on a
// busy machine wall time mostly measures the other processes.
double threadMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The page faults this thread has taken so far: memory touched for the first time.
double threadFaults() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_minflt + usage.ru_majflt);
}

// The thread CPU time and the page faults of one piece of work, summed over runs.
struct Cost {
    double ms = 0;
    double faults = 0;

    template <class Work> void measure(Work&& work) {
        const double faultsBefore = threadFaults();
        const double start = threadMilliseconds();
        work();
        ms += threadMilliseconds() - start;
        faults += threadFaults() - faultsBefore;
    }
};

// A full-screen view's request: aspect fill, answered on this thread, set against the
// codec library's scaled decode of the same file with its default settings and with ours.
// The three take turns in each run and each frees its pixels before the next starts, so
// that all of them find the allocator in the same state: the result and the library's
// buffer are megabytes, which the allocator maps afresh (a page fault every 4 KiB) or
// reuses depending on what is still alive and on what it was given back before. A first
// round of all three is not counted, so that none pays alone for making memory warm. The
// request is the benchmark's time, in thread CPU time; faults per run are counters.
void RequestAtScreenSize(benchmark::State& state, const Photo& photo,
                         PHImageRequestOptionsResizeMode resizeMode) {
    const auto asset = BenchLibrary::shared().asset(photo);
    const std::string path = BenchLibrary::shared().path(photo);
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setSynchronous(true);
    options->setResizeMode(resizeMode);
    size_t width = 0, height = 0, libjpegWidth = 0;
    Cost request, libjpeg, libjpegFast;
    auto round = [&] {
        request.measure([&] {
            CGImageRef result;
            PHImageManager::defaultManager()
                ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                    asset, kScreen, PHImageContentMode::AspectFill, options,
                    [&](std::shared_ptr<UIImage> image, const PlistValue::Dictionary&) {
                        result = image ? image->cgImage() : nullptr;
                    });
            benchmark::DoNotOptimize(result);
            width = result ? result->width() : 0;
            height = result ? result->height() : 0;
        });
        libjpeg.measure([&] { libjpegWidth = libjpegScaledDecode(path, photo, false); });
        libjpegFast.measure([&] { libjpegScaledDecode(path, photo, true); });
    };
    round();
    request = libjpeg = libjpegFast = Cost{};
    for (auto _ : state) {
        const double before = request.ms;
        round();
        state.SetIterationTime((request.ms - before) / 1000);
    }
    if (width == 0 || libjpegWidth == 0) {
        state.SkipWithError("the request or the library's decode failed");
    }
    const double runs = double(state.iterations());
    state.counters["width"] = double(width);
    state.counters["height"] = double(height);
    state.counters["faults"] = request.faults / runs;
    state.counters["libjpegMs"] = libjpeg.ms / runs;
    state.counters["libjpegFastMs"] = libjpegFast.ms / runs;
    state.counters["libjpegFaults"] = libjpeg.faults / runs;
    state.counters["libjpegFastFaults"] = libjpegFast.faults / runs;
    state.counters["libjpegWidth"] = double(libjpegWidth);
    state.counters["vsLibjpeg"] = request.ms / libjpeg.ms;
    state.counters["vsLibjpegFast"] = request.ms / libjpegFast.ms;
}

// A collage cell's request for a picture far larger than the cell: the peak memory
// (peakRSSMB less readyRSSMB) follows the result, not the 400 MB picture.
void LargePNGRequest(benchmark::State& state, const Photo& photo) {
    const auto asset = BenchLibrary::shared().asset(photo);
    auto options = std::make_shared<PHImageRequestOptions>();
    options->setSynchronous(true);
    options->setResizeMode(PHImageRequestOptionsResizeMode::Exact);
    CGImageRef result;
    for (auto _ : state) {
        result = nullptr;
        PHImageManager::defaultManager()
            ->requestImageForAssetTargetSizeContentModeOptionsResultHandler(
                asset, {600, 600}, PHImageContentMode::AspectFill, options,
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
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 12MPExact, kPhotos[0],
                  PHImageRequestOptionsResizeMode::Exact)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 18MPProgressive, kPhotos[1],
                  PHImageRequestOptionsResizeMode::Fast)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 18MPProgressiveExact, kPhotos[1],
                  PHImageRequestOptionsResizeMode::Exact)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RequestAtScreenSize, 12MPPortrait, kPhotos[2],
                  PHImageRequestOptionsResizeMode::Fast)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LargePNGRequest, 100MP, kPhotos[3])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecode, 12MP, kPhotos[0])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecode, 18MPProgressive, kPhotos[1])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullDecode, 12MPPortrait, kPhotos[2])->Unit(benchmark::kMillisecond);
