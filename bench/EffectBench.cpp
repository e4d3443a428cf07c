// The effect tool's work, each effect at its starting settings: OK's render of a
// 12-megapixel photo, and a preview of the photo reduced to its view on a 375 x 667 screen
// (375 x 281 pixels), each beside libvips doing the nearest operation through its own API
// on the same pixels (the photo's four bytes a pixel as four bands), timed in the same
// loop and reported as our time over libvips' ("vsVips"). Ours starts from a picture and
// ends in one; libvips from and to plain memory.
#include "bench/EditorBenchPictures.h"
#include "bench/SideBySide.h"
#include "editor/tools/effect/PEBloomEffect.h"
#include "editor/tools/effect/PEEffectBase.h"
#include "editor/tools/effect/PEGloomEffect.h"
#include "editor/tools/effect/PEHighlightShadowEffect.h"
#include "editor/tools/effect/PEHueEffect.h"
#include "editor/tools/effect/PEPixellateEffect.h"
#include "editor/tools/effect/PEPosterizeEffect.h"
#include "editor/tools/effect/PESpotEffect.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIView.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

namespace {
using namespace EditorBenchPictures;
using vips::VImage;

// The blur the glows spread: the effects' starting radius, half of a twentieth of the
// shorter side, as a deviation of a third of it.
VImage glow(const VImage& in) {
    const double sigma = 0.5 * std::min(in.width(), in.height()) * 0.05 / 3;
    return in.gaussblur(sigma, VImage::option()->set("min_ampl", 0.01));
}

struct EffectCase {
    std::function<std::shared_ptr<PEEffectBase>()> make;
    std::function<VImage(const VImage&)> anchor;
};

template <class Effect> std::shared_ptr<PEEffectBase> madeOver() {
    static const auto area = UIView::initWithFrame(CGRectMake(0, 0, 375, 281));
    auto effect = Effect::alloc();
    effect->initWithSuperViewImageViewFrameToolInfo(area, area->bounds(), nullptr);
    return effect;
}

const EffectCase& effectCase(int index) {
    static const EffectCase cases[] = {
        // Spot: darkening by distance from the centre.
        {madeOver<PESpotEffect>,
         [](const VImage& in) {
             const double r = std::min(in.width(), in.height()) * 0.3;
             const VImage xy = VImage::xyz(in.width(), in.height())
                                   .linear({1.0 / (1.5 * r), 1.0 / (1.5 * r)},
                                           {-in.width() / (3.0 * r), -in.height() / (3.0 * r)});
             return (in * (xy * xy).bandmean().linear(-1.0, 1.0)).cast(VIPS_FORMAT_UCHAR);
         }},
        // Hue (a turn of one radian): a colour matrix.
        {[] {
             auto effect = madeOver<PEHueEffect>();
             std::static_pointer_cast<PEHueEffect>(effect)->hueSlider()->setValue(1);
             return effect;
         },
         [](const VImage& in) {
             const double c = std::cos(1.0), s = std::sin(1.0), k = 1 / 3.0, q = std::sqrt(k);
             const double a = c + (1 - c) * k, b = (1 - c) * k - q * s, d = (1 - c) * k + q * s;
             std::vector<double> m{a, b, d, 0, d, a, b, 0, b, d, a, 0, 0, 0, 0, 1};
             return in.recomb(VImage::new_matrix(4, 4, m.data(), 16)).cast(VIPS_FORMAT_UCHAR);
         }},
        // Shadows lifted by half: a shift by each pixel's luma, through a table of it.
        {[] {
             auto effect = madeOver<PEHighlightShadowEffect>();
             std::static_pointer_cast<PEHighlightShadowEffect>(effect)->shadowSlider()->setValue(
                 0.5);
             return effect;
         },
         [](const VImage& in) {
             // Luma weights in the bytes' order, B, G, R.
             std::vector<double> weights{0.0722, 0.7152, 0.2126, 0};
             const VImage luma =
                 in.recomb(VImage::new_matrix(4, 1, weights.data(), 4)).cast(VIPS_FORMAT_UCHAR);
             std::vector<double> table(256);
             for (int i = 0; i < 256; ++i) {
                 const double y = i / 255.0;
                 table[i] = 255 * 0.75 * y * (1 - y) * (1 - y);
             }
             const VImage shift = luma.maplut(VImage::new_matrix(256, 1, table.data(), 256));
             // Added to every band: the opaque fourth stays at 255 once clipped.
             return (in + shift).cast(VIPS_FORMAT_UCHAR);
         }},
        // Bloom: the blur screened over the photo.
        {madeOver<PEBloomEffect>,
         [](const VImage& in) {
             const VImage b = glow(in);
             return (in + b - in * b / 255.0).cast(VIPS_FORMAT_UCHAR);
         }},
        // Gloom: the darker of the photo and its blur.
        {madeOver<PEGloomEffect>,
         [](const VImage& in) {
             const VImage b = glow(in).cast(VIPS_FORMAT_UCHAR);
             return (in < b).ifthenelse(in, b);
         }},
        // Posterize, four levels: a table.
        {madeOver<PEPosterizeEffect>,
         [](const VImage& in) {
             return mappedThroughCurve(
                 in, [](double x) { return std::min(std::floor(x * 4), 3.0) / 3; });
         }},
        // Pixellate, blocks of a twentieth of the shorter side: shrink and zoom back.
        {madeOver<PEPixellateEffect>,
         [](const VImage& in) {
             const int side = std::min(in.width(), in.height()) / 20;
             return in.shrink(side, side).zoom(side, side);
         }},
    };
    return cases[index];
}

void BM_Effect(benchmark::State& state, int index, bool preview) {
    const auto& image = preview ? viewSized() : photo();
    const VImage bands = bandsOf(*image);
    const EffectCase& c = effectCase(index);
    const auto effect = c.make();
    const auto render = effect->render();
    state.counters["vsVips"] = timeSideBySide(
        state, [&] { benchmark::DoNotOptimize(render(image)); },
        [&] { writeOut(c.anchor(bands)); });
    state.SetItemsProcessed(state.iterations() * int64_t{bands.width()} * bands.height());
}

#define EFFECT_BENCHMARKS(Name, index)                                                             \
    BENCHMARK_CAPTURE(BM_Effect, Name##_Full, index, false)                                        \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime();                                                                           \
    BENCHMARK_CAPTURE(BM_Effect, Name##_Preview, index, true)                                      \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime();
EFFECT_BENCHMARKS(Spot, 0)
EFFECT_BENCHMARKS(Hue, 1)
EFFECT_BENCHMARKS(HighlightShadow, 2)
EFFECT_BENCHMARKS(Bloom, 3)
EFFECT_BENCHMARKS(Gloom, 4)
EFFECT_BENCHMARKS(Posterize, 5)
EFFECT_BENCHMARKS(Pixellate, 6)
#undef EFFECT_BENCHMARKS
} // namespace
