// Baking overlays: OK of the emoticon and sticker tools on the 12-megapixel photo with five
// overlays (emoticons and stickers of the editor bundle), each scaled, turned and placed on
// a 375 x 281-point working view, beside libvips compositing the same five pictures, each
// scaled and turned by its own similarity transform, over the photo ("vsVips"). Ours: the
// overlays' views rendered into a transparent picture of the photo's size (the main
// thread's share), then laid over the photo (the worker's); libvips from and to plain
// memory.
#include "bench/EditorBenchPictures.h"
#include "bench/SideBySide.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/overlay/PEEmoticonTool.h"
#include "editor/tools/overlay/_PEEmoticonView.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <numbers>
#include <string>
#include <vector>

namespace {
using vips::VImage;

using namespace EditorBenchPictures;

struct Overlay {
    const char* file;
    double scale, angle, x, y;
};
// Spread over the picture, some over its edges, as a person places them.
constexpr Overlay kOverlays[] = {
    {"PEEmoticonTool/Emoticons/smile.png", 0.5, 0.3, 90, 80},
    {"PEEmoticonTool/Emoticons/cool.png", 0.8, -0.6, 280, 190},
    {"PEStickerTool/stickers/star.png", 0.4, 1.2, 190, 140},
    {"PEStickerTool/stickers/heart.png", 1.1, 0, 30, 250},
    {"PEStickerTool/stickers/bubble.png", 0.6, 3.0, 350, 30},
};

void BM_OverlayBakeFullSize(benchmark::State& state) {
    registerEditor();
    const std::string bundle = MP_BENCH_BUNDLE_DIR "/PEImageEditor.bundle/";
    const auto& picture = photo();
    const VImage bands = bandsOf(*picture);

    const PEEmoticonTool tool; // for the overlays' delete icon
    auto working = UIView::initWithFrame(CGRectMake(0, 0, kViewWidth, kViewHeight));
    const double k = double(kPhotoWidth) / kViewWidth;
    std::vector<VImage> layers{
        bands.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))};
    std::vector<int> modes, xs, ys;
    for (const Overlay& o : kOverlays) {
        auto overlay = _PEEmoticonView::initWithImageTool(
            UIImage::imageWithContentsOfFile(bundle + o.file), tool);
        overlay->setScale(o.scale);
        overlay->setTransform(CGAffineTransformMakeRotation(o.angle));
        overlay->setCenter(CGPointMake(o.x, o.y));
        overlay->setAvtive(false);
        working->addSubview(overlay);

        const VImage turned = VImage::new_from_file((bundle + o.file).c_str())
                                  .copy_memory()
                                  .premultiply()
                                  .similarity(VImage::option()
                                                  ->set("scale", o.scale * k)
                                                  ->set("angle", o.angle * 180 / std::numbers::pi));
        layers.push_back(turned);
        modes.push_back(VIPS_BLEND_MODE_OVER);
        xs.push_back(int(o.x * k - turned.width() / 2.0));
        ys.push_back(int(o.y * k - turned.height() / 2.0));
    }

    const auto ours = [&] {
        auto rendered = Utility::renderedOver(*working, picture);
        benchmark::DoNotOptimize(Utility::overlaid(picture, rendered, picture->size()));
    };
    const auto anchor = [&] {
        writeOut(VImage::composite(
                     layers, modes,
                     VImage::option()->set("x", xs)->set("y", ys)->set("premultiplied", true))
                     .cast(VIPS_FORMAT_UCHAR));
    };
    state.counters["vsVips"] = timeSideBySide(state, ours, anchor);
}

BENCHMARK(BM_OverlayBakeFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
