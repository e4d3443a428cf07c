// Opening the image editor on a 12-megapixel photo: from the camera's JPEG bytes to the
// editor on screen (decoded, copied, presented, its bars, menu and fitted picture laid
// out) and drawn once at the screen's scale. Beside it, what a user's alternative costs
// for the same picture: libvips decoding and shrinking the JPEG to the screen's width in
// pixels (its thumbnail operation). The "vs_vips_thumbnail" counter is ours over theirs.
#include "bench/PhotoLikeImage.h"
#include "bench/SideBySide.h"
#include "editor/EditorClasses.h"
#include "editor/PEImageEditor.h"
#include "platform/base/NSRunLoop.h"
#include "platform/coreimage/VipsRuntime.h"
#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

namespace {
constexpr size_t kWidth = 4000, kHeight = 3000;

const std::vector<uint8_t>& cameraJpeg() {
    static const auto bytes = photoLikeJpeg(kWidth, kHeight, false);
    return bytes;
}

void BM_ImageEditorOpen(benchmark::State& state) {
    NSBundle::setMainBundlePath(MP_BENCH_BUNDLE_DIR);
    NSRunLoop::mainRunLoop();
    registerEditorClasses();
    VipsRuntime::start();
    const auto& jpeg = cameraJpeg();
    const auto screen = UIScreen::mainScreen();
    const int pixelWidth = static_cast<int>(screen->bounds().size.width * screen->scale());
    auto window = UIWindow::initWithFrame(screen->bounds());
    auto root = UIViewController::init();
    window->setRootViewController(root);
    window->makeKeyAndVisible();

    const double ratio = timeSideBySide(
        state,
        [&] {
            auto editor = PEImageEditor::initWithImage(UIImage::imageWithData(jpeg));
            root->presentViewControllerAnimatedCompletion(editor, false, nullptr);
            benchmark::DoNotOptimize(ViewRenderer::snapshotWindow(*window, screen->scale()));
            editor->dismissViewControllerAnimatedCompletion(false, nullptr);
        },
        [&] {
            VipsBlob* blob = vips_blob_new(nullptr, jpeg.data(), jpeg.size());
            const vips::VImage thumbnail = vips::VImage::thumbnail_buffer(blob, pixelWidth);
            size_t size = 0;
            void* pixels = thumbnail.write_to_memory(&size);
            benchmark::DoNotOptimize(pixels);
            g_free(pixels);
            vips_area_unref(VIPS_AREA(blob));
        });
    state.counters["vs_vips_thumbnail"] = ratio;
    state.counters["megapixels"] = double(kWidth * kHeight) / 1e6;
}
BENCHMARK(BM_ImageEditorOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
