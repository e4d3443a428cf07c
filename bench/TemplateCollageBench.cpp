// The template collage of five twelve-megapixel photos, as the editor makes it: the
// photos read at screen size, laid out in style 1, and the collage rendered as the
// finished picture; and a style change alone (the cells rebuilt from loaded photos).
#include "app/MixPhotosEditView.h"
#include "app/MixPhotosEditViewController.h"
#include "bench/LargeAlbum.h"
#include "platform/base/NSRunLoop.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {
constexpr size_t kPhotoCount = 5;

struct OpenEditor {
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    std::shared_ptr<MixPhotosEditViewController> editor = MixPhotosEditViewController::init();
};

// Opens an editor on the album's first five photos and waits until they are laid out.
std::unique_ptr<OpenEditor> openEditor() {
    const auto& assets = LargeAlbum::shared().assets();
    auto chosen = std::make_shared<MixPhotosEditViewController::AssetList>(
        assets.begin(), assets.begin() + static_cast<long>(std::min(kPhotoCount, assets.size())));
    auto open = std::make_unique<OpenEditor>();
    open->editor->setSelectedAssets(chosen);
    open->window->setRootViewController(
        UINavigationController::initWithRootViewController(open->editor));
    open->window->makeKeyAndVisible();
    while (open->editor->editViewArr().empty()) {
        NSRunLoop::mainRunLoop().runForSeconds(0.001);
    }
    return open;
}

void TemplateCollageFromFivePhotos(benchmark::State& state) {
    NSBundle::setMainBundlePath(MP_BENCH_BUNDLE_DIR);
    NSRunLoop::mainRunLoop();
    LargeAlbum::shared();
    for (auto _ : state) {
        auto open = openEditor();
        benchmark::DoNotOptimize(open->editor->saveAndGetMixdImage());
    }
    state.counters["photos"] = kPhotoCount;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // The whole process's high-water mark, the album's making included.
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(TemplateCollageFromFivePhotos)->Unit(benchmark::kMillisecond)->Iterations(3);

void TemplateStyleChange(benchmark::State& state) {
    NSBundle::setMainBundlePath(MP_BENCH_BUNDLE_DIR);
    NSRunLoop::mainRunLoop();
    LargeAlbum::shared();
    auto open = openEditor();
    long row = 0;
    for (auto _ : state) {
        row = (row + 1) % 6;
        open->editor->collectionViewDidSelectItemAtIndexPath(
            *open->editor->mixStyleCollection(), NSIndexPath::indexPathForItemInSection(row, 0));
    }
}
BENCHMARK(TemplateStyleChange)->Unit(benchmark::kMillisecond);
} // namespace
