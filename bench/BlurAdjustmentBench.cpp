// The blur and adjustment tools' work, each beside libvips doing the nearest operation
// through its own API on the same pixels (four bytes a pixel as four bands), timed in the
// same loop and reported as our time over libvips' ("vsVips"):
// - blur, circle mode: the blur at the tool's starting strength (0.2) and the spot's mask
//   composited over it, on the 12-megapixel photo (OK) and on the preview copy the size of
//   a 375 x 667 screen's picture view (375 x 281 points); the preview a gesture asks for
//   (the mask and compositing alone, the copy already blurred) on its own. libvips: the
//   same Gaussian (sigma a third of the kernel's half side), the mask resized into place,
//   and a blend of the sharp and blurred pictures through it.
// - adjustment: saturation 1.3, brightness 0.2, contrast 1.2 on the photo and on the
//   preview copy. libvips: a saturation matrix, exposure in linear light, the power curve.
// Ours starts from a picture and ends in pictures; libvips from and to plain memory.
#include "bench/EditorBenchPictures.h"
#include "bench/SideBySide.h"
#include "editor/PEImageEditorTheme.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/adjustment/PEAdjustmentTool.h"
#include "editor/tools/blur/PEBlurTool.h"
#include "platform/uikit/UIImage.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <cmath>
#include <vector>

namespace {
using namespace EditorBenchPictures;
using vips::VImage;

constexpr double kStrength = 0.2;

// A picture and its pixels as libvips reads them.
struct Picture {
    std::shared_ptr<UIImage> image;
    VImage bands;
};

// The photo (OK's input) or its copy at the view's size (a preview's); the editor's
// classes registered for the circle's mask.
Picture picture(bool preview) {
    registerEditor();
    const auto& image = preview ? viewSized() : photo();
    return {image, bandsOf(*image)};
}

// The circle as the tool starts it, for a picture view as wide as the picture: 1.5 times
// the shorter side, centred.
PEBlurTool::Parameters circleParameters(int width, int height) {
    PEBlurTool::Parameters p;
    p.blurType = PEBlurTool::Circle;
    const double side = 1.5 * std::min(width, height);
    p.circleFrame = CGRectMake(width / 2.0 - side / 2, height / 2.0 - side / 2, side, side);
    p.imageViewWidth = p.handlerWidth = p.originalWidth = width;
    p.circleMask = PEImageEditorTheme::imageNamedImage("PEBlurTool", "circle.png");
    return p;
}

// libvips: the mask's darkness (its alpha) resized over the spot, the rest blurred.
VImage vipsCircleBlend(const Picture& picture, const VImage& blurred,
                       const PEBlurTool::Parameters& p) {
    static const VImage shape = VImage::new_from_file(
        (MP_BENCH_BUNDLE_DIR "/PEImageEditor.bundle/PEBlurTool/black/circle.png"));
    const VImage alpha = shape.extract_band(3);
    const double scale = p.circleFrame.size.width / alpha.width();
    // Where the mask is white the blurred picture shows: 255 minus the shape's alpha.
    const VImage sharpness = alpha.resize(scale).embed(
        int(p.circleFrame.origin.x), int(p.circleFrame.origin.y), picture.bands.width(),
        picture.bands.height(), VImage::option()->set("extend", VIPS_EXTEND_BLACK));
    return sharpness.ifthenelse(picture.bands, blurred, VImage::option()->set("blend", true));
}

VImage vipsGaussBlur(const Picture& picture) {
    const uint32_t side = Utility::gaussBlurKernelSide(picture.image->size(), kStrength);
    const double sigma = (side / 2) / 3.0;
    return sigma > 0 ? picture.bands.gaussblur(
                           sigma, VImage::option()->set("precision", VIPS_PRECISION_INTEGER))
                     : picture.bands;
}

void blurCircle(benchmark::State& state, bool preview) {
    const Picture p = picture(preview);
    const auto parameters = circleParameters(p.bands.width(), p.bands.height());
    const auto ours = [&] {
        benchmark::DoNotOptimize(PEBlurTool::buildResultImageWithBlurImage(
            p.image, Utility::gaussBlur(p.image, kStrength), parameters));
    };
    const auto anchor = [&] { writeOut(vipsCircleBlend(p, vipsGaussBlur(p), parameters)); };
    state.counters["vsVips"] = timeSideBySide(state, ours, anchor);
}

void BM_BlurCircleFullSize(benchmark::State& state) {
    blurCircle(state, false);
}

void BM_BlurCirclePreview(benchmark::State& state) {
    blurCircle(state, true);
}

// A gesture's preview: the copy is already blurred; only the mask and compositing run.
void BM_BlurCircleGesturePreview(benchmark::State& state) {
    const Picture p = picture(true);
    const auto parameters = circleParameters(kViewWidth, kViewHeight);
    const auto blurred = Utility::gaussBlur(p.image, kStrength);
    size_t size = 0;
    void* blurredPixels = vipsGaussBlur(p).write_to_memory(&size);
    const VImage blurredBands =
        VImage::new_from_memory(blurredPixels, size, kViewWidth, kViewHeight, 4, VIPS_FORMAT_UCHAR);
    const auto ours = [&] {
        benchmark::DoNotOptimize(
            PEBlurTool::buildResultImageWithBlurImage(p.image, blurred, parameters));
    };
    const auto anchor = [&] { writeOut(vipsCircleBlend(p, blurredBands, parameters)); };
    state.counters["vsVips"] = timeSideBySide(state, ours, anchor);
    g_free(blurredPixels);
}

// libvips: saturation about luma grey, two stops times brightness in linear light, then
// the power curve, alpha passed through.
void vipsAdjustment(const VImage& bands, const PEAdjustmentTool::Settings& s) {
    const double luma[3] = {0.2126, 0.7152, 0.0722};
    std::vector<double> m(9);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m[r * 3 + c] = (1 - s.saturation) * luma[c] + (r == c ? s.saturation : 0);
        }
    }
    const VImage rgb = bands.extract_band(0, VImage::option()->set("n", 3))
                           .recomb(VImage::new_matrix(3, 3, m.data(), 9))
                           .cast(VIPS_FORMAT_UCHAR)
                           .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const VImage exposed = rgb.colourspace(VIPS_INTERPRETATION_scRGB)
                               .linear(std::exp2(2 * s.brightness), 0)
                               .colourspace(VIPS_INTERPRETATION_sRGB);
    const VImage curved = exposed.linear(1 / 255.0, 0)
                              .pow(s.contrast * s.contrast)
                              .linear(255, 0)
                              .cast(VIPS_FORMAT_UCHAR);
    writeOut(curved.bandjoin(bands.extract_band(3)));
}

void adjustment(benchmark::State& state, bool preview) {
    const Picture p = picture(preview);
    const PEAdjustmentTool::Settings settings{1.3f, 0.2f, 1.2f};
    const auto ours = [&] {
        benchmark::DoNotOptimize(PEAdjustmentTool::filteredImage(p.image, settings));
    };
    const auto anchor = [&] { vipsAdjustment(p.bands, settings); };
    state.counters["vsVips"] = timeSideBySide(state, ours, anchor);
}

void BM_AdjustmentFullSize(benchmark::State& state) {
    adjustment(state, false);
}

void BM_AdjustmentPreview(benchmark::State& state) {
    adjustment(state, true);
}

BENCHMARK(BM_BlurCircleFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BlurCirclePreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BlurCircleGesturePreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AdjustmentFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AdjustmentPreview)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
