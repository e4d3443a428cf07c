// The filter tool's work on a 12-megapixel photo, each beside libvips doing the same
// through its own API on the same pixels (the photo's four bytes a pixel as four bands),
// timed in the same loop and reported as our time over libvips' ("vsVips"):
// - the strip's fourteen thumbnails: the photo aspect-filled to a 50-point square at
//   scale 2, then every filter of the strip on that square, one after the other (the tool
//   spreads them over the global queue; both sides here do the same work on one thread's
//   schedule);
// - one full-size preview: the sepia filter over the whole photo.
// Ours starts from a picture and ends in pictures; libvips from and to plain memory.
#include "bench/EditorBenchPictures.h"
#include "bench/SideBySide.h"
#include "editor/PEImageToolInfo.h"
#include "editor/categories/UIImage+Utility.h"
#include "editor/tools/filter/PEFilterTool.h"
#include "platform/uikit/UIImage.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <array>
#include <cmath>
#include <vector>

namespace {
using namespace EditorBenchPictures;
using vips::VImage;

// 50 points at scale 2.
constexpr int kThumbnailSide = 100;

// The filter tool's entries, as the strip lists them (all fourteen on the default system).
std::vector<std::shared_ptr<PEImageToolInfo>> stripEntries() {
    registerEditor();
    return PEImageToolInfo::toolInfoForToolClass("PEFilterTool")->sortedSubtools();
}

// A 3 x 3 colour matrix and offsets (0...255) over the first three bands; the fourth passes.
VImage colourMatrix(const VImage& in, const std::array<double, 9>& m,
                    const std::array<double, 3>& offset = {}) {
    std::vector<double> matrix(16, 0.0);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            matrix[r * 4 + c] = m[r * 3 + c];
        }
    }
    matrix[15] = 1;
    return in.recomb(VImage::new_matrix(4, 4, matrix.data(), 16))
        .linear({1, 1, 1, 1}, {offset[0], offset[1], offset[2], 0})
        .cast(VIPS_FORMAT_UCHAR);
}

// A photo look: saturation towards luma grey, a tint, contrast about mid grey and a tonal
// range, as one matrix and offset.
VImage look(const VImage& in, double saturation, std::array<double, 3> tint, double contrast,
            double black, double white) {
    const double luma[3] = {0.2126, 0.7152, 0.0722};
    const double range = white - black;
    std::array<double, 9> m{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m[r * 3 + c] = range * contrast * tint[r] *
                           ((1 - saturation) * luma[c] + (r == c ? saturation : 0));
        }
    }
    const double offset = 255 * (black + range * 0.5 * (1 - contrast));
    return colourMatrix(in, m, {offset, offset, offset});
}

double srgbToLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double linearToSrgb(double c) {
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

constexpr std::array<double, 9> kSepia{0.393, 0.769, 0.189, 0.349, 0.686,
                                       0.168, 0.272, 0.534, 0.131};

// The fourteen filters of the strip in libvips, in the strip's order.
void vipsFilters(const VImage& in) {
    const double half = kThumbnailSide / 2.0;
    writeOut(in);
    writeOut(mappedThroughCurve(in, srgbToLinear));
    {
        const VImage xy = VImage::xyz(kThumbnailSide, kThumbnailSide)
                              .linear({1.0 / half, 1.0 / half}, {-1.0, -1.0});
        writeOut((in * (xy * xy).bandmean().linear(-0.9, 1.0)).cast(VIPS_FORMAT_UCHAR));
    }
    writeOut(look(in, 0.80, {1.06, 1.00, 0.86}, 0.90, 0.08, 0.96));
    writeOut(look(in, 0.90, {0.90, 1.02, 1.10}, 1.10, 0.04, 1.00));
    writeOut(look(in, 1.10, {1.08, 1.00, 0.88}, 1.08, 0.02, 1.00));
    writeOut(colourMatrix(in, kSepia));
    writeOut(look(in, 1.30, {1.00, 1.00, 1.00}, 1.15, 0.00, 1.00));
    writeOut(look(in, 0.60, {1.02, 1.00, 0.98}, 0.85, 0.10, 0.92));
    writeOut(mappedThroughCurve(in, linearToSrgb));
    writeOut(look(in, 0.00, {1.00, 1.00, 1.00}, 0.95, 0.03, 1.00));
    writeOut(look(in, 0.00, {1.00, 1.00, 1.00}, 1.35, 0.00, 1.00));
    writeOut(look(in, 0.00, {1.00, 1.00, 1.00}, 1.00, 0.00, 1.00));
    writeOut(in.linear({-1, -1, -1, 1}, {255, 255, 255, 0}).cast(VIPS_FORMAT_UCHAR));
}

void BM_FilterStripThumbnails(benchmark::State& state) {
    const auto entries = stripEntries();
    const auto& picture = photo();
    const VImage bands = bandsOf(*picture);
    const auto ours = [&] {
        const auto source =
            Utility::aspectFill(picture, CGSizeMake(kThumbnailSide, kThumbnailSide));
        for (const auto& entry : entries) {
            benchmark::DoNotOptimize(PEFilterTool::filteredImageWithToolInfo(source, entry));
        }
    };
    const auto anchor = [&] {
        const VImage square = bands.thumbnail_image(
            kThumbnailSide,
            VImage::option()->set("height", kThumbnailSide)->set("crop", VIPS_INTERESTING_CENTRE));
        // Made once, as ours is: each filter reads the square from memory.
        size_t size = 0;
        void* pixels = square.write_to_memory(&size);
        vipsFilters(VImage::new_from_memory(pixels, size, kThumbnailSide, kThumbnailSide, 4,
                                            VIPS_FORMAT_UCHAR));
        g_free(pixels);
    };
    state.counters["filters"] = static_cast<double>(entries.size());
    state.counters["vsVips"] = timeSideBySide(state, ours, anchor);
}

void BM_FilterPreviewSepia(benchmark::State& state) {
    std::shared_ptr<PEImageToolInfo> sepia;
    for (const auto& entry : stripEntries()) {
        if (entry->toolName() == "PEDefaultSepiaFilter") {
            sepia = entry;
        }
    }
    const auto& picture = photo();
    const VImage bands = bandsOf(*picture);
    const auto ours = [&] {
        benchmark::DoNotOptimize(PEFilterTool::filteredImageWithToolInfo(picture, sepia));
    };
    const auto anchor = [&] { writeOut(colourMatrix(bands, kSepia)); };
    state.counters["vsVips"] = timeSideBySide(state, ours, anchor);
    state.SetItemsProcessed(state.iterations() * int64_t{kPhotoWidth} * kPhotoHeight);
}

BENCHMARK(BM_FilterStripThumbnails)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterPreviewSepia)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
