// Opening the photo picker on a library of 5000 photos in one album, as a camera writes
// them: how long until the first screen of cells shows a picture each, and how much of
// that is the main thread's own time (the rest is the scan and the decodes on the global
// queues). Cold: no cache in the home, as on a first launch; relaunch: the header and
// thumbnail caches on disk, nothing in memory. Beside it, what the scan used to cost the
// main thread: reading every file's header.
#include "app/ImagePickerViewController.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "bench/CameraJpeg.h"
#include "platform/base/NSRunLoop.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/photos/PhotoFileHeader.h"
#include "platform/photos/PhotoHeaderCache.h"
#include "platform/photos/ThumbnailCache.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <future>

namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 5000;
constexpr long kFirstScreen = 20;

double threadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The library in a temporary home of its own, access granted; removed when the run ends.
class ManyPhotosLibrary {
public:
    static ManyPhotosLibrary& shared() {
        static ManyPhotosLibrary library;
        return library;
    }
    ~ManyPhotosLibrary() {
        std::error_code ec;
        fs::remove_all(home_, ec);
    }
    // Makes this library's home the current one (other benchmarks have theirs).
    void use() const {
        NSSetHomeDirectory(home_);
        PHPhotoLibrary::configure(home_ + "/library", PHAccessAnswer::Granted);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> paths;
        for (int i = 0; i < kPhotos; ++i) {
            paths.push_back(home_ + "/library/Large/" + name(i));
        }
        return paths;
    }

private:
    ManyPhotosLibrary() {
        std::string pattern = (fs::temp_directory_path() / "mixphotos-many-XXXXXX").string();
        home_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        fs::create_directories(home_ + "/library/Large");
        // Photos of a phone's front camera size: the pictures matter less than the count.
        const auto photo = cameraJpeg(1280, 960, "2026:01:02 10:00:00");
        for (int i = 0; i < kPhotos; ++i) {
            NSData::writeToFileAtomically(photo, home_ + "/library/Large/" + name(i));
        }
        use();
        std::promise<void> answered;
        PHPhotoLibrary::requestAuthorization([&](PHAuthorizationStatus) { answered.set_value(); });
        answered.get_future().wait();
    }
    static std::string name(int i) { return "IMG_" + std::to_string(10000 + i) + ".jpg"; }

    std::string home_;
};

// Whether every cell of the first screen shows a picture (or the broken-photo sign).
bool firstScreenShown(const ImagePickerViewController& picker) {
    if (picker.assetArray().size() != size_t(kPhotos)) {
        return false;
    }
    for (long item = 0; item < kFirstScreen; ++item) {
        auto cell = std::dynamic_pointer_cast<PhotosPickerCollectionViewCell>(
            picker.photosCollection()->cellForItemAtIndexPath(
                NSIndexPath::indexPathForItemInSection(item, 0)));
        if (!cell || (!cell->imageView()->image() && !cell->isBroken())) {
            return false;
        }
    }
    return true;
}

// Runs the main loop until the picker shows its first screen. The loop wakes every 10 ms
// to look: waking more often would cost the main thread more than the picker does.
void runUntilFirstScreen(const ImagePickerViewController& picker) {
    while (!firstScreenShown(picker)) {
        NSRunLoop::mainRunLoop().runForSeconds(0.01);
    }
}

void forgetMemoryCaches(bool andDisk) {
    GlobalThreadPool::shared().waitUntilIdle();
    NSRunLoop::mainRunLoop().runForSeconds(0.001);
    if (andDisk) {
        const std::string caches = NSHomeDirectory() + "/Library/Caches";
        std::error_code ec;
        fs::remove(caches + "/" + PhotoHeaderCache::kFileName, ec);
        fs::remove_all(caches + "/" + ThumbnailCache::kFolderName, ec);
    }
    ThumbnailCache::shared().removeAllFromMemory();
    PHPhotoLibrary::reloadLibrary();
}

void PickerFirstScreen(benchmark::State& state, bool cold) {
    NSBundle::setMainBundlePath(MP_BENCH_BUNDLE_DIR);
    NSRunLoop::mainRunLoop();
    ManyPhotosLibrary::shared().use();
    if (!cold) {
        forgetMemoryCaches(true);
        // One opening fills the caches on disk.
        auto picker = ImagePickerViewController::init();
        auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
        window->setRootViewController(UINavigationController::initWithRootViewController(picker));
        window->makeKeyAndVisible();
        runUntilFirstScreen(*picker);
    }
    double mainThread = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetMemoryCaches(cold);
        state.ResumeTiming();
        const double start = threadSeconds();
        auto picker = ImagePickerViewController::init();
        auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
        window->setRootViewController(UINavigationController::initWithRootViewController(picker));
        window->makeKeyAndVisible();
        runUntilFirstScreen(*picker);
        mainThread += threadSeconds() - start;
    }
    state.counters["mainThreadMs"] = mainThread * 1000 / double(state.iterations());
    state.counters["photos"] = kPhotos;
}
BENCHMARK_CAPTURE(PickerFirstScreen, Cold, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(PickerFirstScreen, Relaunch, false)->Unit(benchmark::kMillisecond)->Iterations(3);

// What opening the picker used to cost the main thread before any cell: every header.
void ReadEveryHeader(benchmark::State& state) {
    const auto files = ManyPhotosLibrary::shared().files();
    for (auto _ : state) {
        size_t photos = 0;
        for (const auto& file : files) {
            photos += PhotoFileHeader::readFile(file).has_value();
        }
        benchmark::DoNotOptimize(photos);
    }
    state.counters["photos"] = kPhotos;
}
BENCHMARK(ReadEveryHeader)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
