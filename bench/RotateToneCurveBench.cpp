// The rotate and tone curve tools' work on a 12-megapixel photo, each beside the libvips
// operation nearest to it, run on the same pixels (the photo's own four-byte pixels as four
// bands) and timed in the same loop: a quarter turn beside rot, a mirror beside flip, an
// eighth turn beside similarity (bilinear, the same corners), the tone curve beside maplut
// with the curve's own 256 levels. The "vs_vips" counter is ours over theirs. Ours starts
// from a picture and ends in one; libvips from and to plain memory.
//
// Previews at screen size (375 x 667 points at scale 2): the tone curve filters the copy the
// size of the picture's view; the rotate tool computes no pixels, so its preview is the
// screen-size picture drawn turned at the screen's scale.
#include "bench/EditorBenchPictures.h"
#include "bench/SideBySide.h"
#include "editor/tools/rotate/PERotateTool.h"
#include "editor/tools/tonecurve/PEToneCurveTool.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"

#include <benchmark/benchmark.h>
#include <vips/vips8>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {
using namespace EditorBenchPictures;
using vips::VImage;

constexpr double kScreenScale = 2;

// Ours and libvips' operation on the same picture, side by side.
void sideBySide(benchmark::State& state, const std::shared_ptr<UIImage>& image,
                const std::function<std::shared_ptr<UIImage>()>& ours,
                const std::function<VImage(const VImage&)>& vips) {
    const VImage in = bandsOf(*image);
    state.counters["vs_vips"] = timeSideBySide(
        state, [&] { benchmark::DoNotOptimize(ours()); }, [&] { writeOut(vips(in)); });
    state.counters["megapixels"] =
        double(image->cgImage()->width() * image->cgImage()->height()) / 1e6;
}

CGAffineTransform executed(const PERotateTool::State& state) {
    return CATransform3DGetAffineTransform(
        PERotateTool::rotateTransformWithState(CATransform3DIdentity, state, false));
}

void BM_RotateQuarterTurn(benchmark::State& state) {
    sideBySide(
        state, photo(),
        [] {
            return PERotateTool::turnedImage(photo(), executed({0.5, false, false}));
        },
        [](const VImage& in) { return in.rot(VIPS_ANGLE_D90); });
}

void BM_RotateMirror(benchmark::State& state) {
    sideBySide(
        state, photo(),
        [] {
            return PERotateTool::turnedImage(photo(), executed({0, true, false}));
        },
        [](const VImage& in) { return in.flip(VIPS_DIRECTION_HORIZONTAL); });
}

void BM_RotateEighthTurn(benchmark::State& state) {
    sideBySide(
        state, photo(),
        [] {
            return PERotateTool::turnedImage(photo(), executed({0.25, false, false}));
        },
        [](const VImage& in) {
            return in.similarity(
                VImage::option()
                    ->set("angle", 45.0)
                    ->set("interpolate", vips::VInterpolate::new_from_name("bilinear")));
        });
}

// The curve a user makes by raising the middle point.
const PEToneCurveTool::Curve& raisedMiddle() {
    static const PEToneCurveTool::Curve curve{
        CIVector::vectorWithXY(0, 0), CIVector::vectorWithXY(0.25, 0.25),
        CIVector::vectorWithXY(0.5, 0.7), CIVector::vectorWithXY(0.75, 0.75),
        CIVector::vectorWithXY(1, 1)};
    return curve;
}

// The curve's 256 levels, read off our own filter applied to every grey.
const VImage& curveTable() {
    static const VImage table = [] {
        // Every grey once: B, G, R, A bytes of 256 opaque pixels.
        std::vector<uint8_t> greys(256 * 4, 255);
        for (size_t x = 0; x < 256; ++x) {
            greys[4 * x] = greys[4 * x + 1] = greys[4 * x + 2] = static_cast<uint8_t>(x);
        }
        const auto ramp = UIImage::imageWithCGImage(CGImage::create(
            256, 1, CGImagePixelFormat::ARGB32Premultiplied, 256 * 4, std::move(greys)));
        const auto mapped = PEToneCurveTool::filteredImage(ramp, raisedMiddle());
        std::vector<uint8_t> levels(256);
        for (size_t x = 0; x < 256; ++x) {
            levels[x] = static_cast<uint8_t>(mapped->cgImage()->pixelAt(x, 0) & 0xff);
        }
        return VImage::new_from_memory(levels.data(), levels.size(), 256, 1, 1, VIPS_FORMAT_UCHAR)
            .copy_memory();
    }();
    return table;
}

VImage mappedColour(const VImage& in) {
    // Colour through the table, alpha as it is (the photo is opaque).
    return in.extract_band(0, VImage::option()->set("n", 3)).maplut(curveTable()).bandjoin(in[3]);
}

void BM_ToneCurve(benchmark::State& state) {
    curveTable();
    sideBySide(
        state, photo(), [] { return PEToneCurveTool::filteredImage(photo(), raisedMiddle()); },
        mappedColour);
}

void BM_ToneCurvePreview(benchmark::State& state) {
    curveTable();
    sideBySide(
        state, viewSized(),
        [] { return PEToneCurveTool::filteredImage(viewSized(), raisedMiddle()); }, mappedColour);
}

// The rotate tool's preview: the view-sized picture drawn turned an eighth and fitted, at
// the screen's scale, as the screen's drawing does it.
void BM_RotatePreview(benchmark::State& state) {
    const double side = std::hypot(kViewWidth, kViewHeight);
    const double fit = 0.95 * kViewWidth / side;
    sideBySide(
        state, viewSized(),
        [fit] {
            UIGraphicsBeginImageContextWithOptions(CGSizeMake(kViewWidth, kViewHeight), false,
                                                   kScreenScale);
            const CGContextRef context = UIGraphicsGetCurrentContext();
            CGContextTranslateCTM(context, kViewWidth / 2.0, kViewHeight / 2.0);
            CGContextConcatCTM(
                context, CGAffineTransformScale(CGAffineTransformMakeRotation(std::numbers::pi / 4),
                                                fit, fit));
            viewSized()->drawInRect(
                CGRectMake(-kViewWidth / 2.0, -kViewHeight / 2.0, kViewWidth, kViewHeight));
            auto shown = UIGraphicsGetImageFromCurrentImageContext();
            UIGraphicsEndImageContext();
            return shown;
        },
        [fit](const VImage& in) {
            return in.similarity(
                VImage::option()
                    ->set("angle", 45.0)
                    ->set("scale", fit * kScreenScale)
                    ->set("interpolate", vips::VInterpolate::new_from_name("bilinear")));
        });
}

BENCHMARK(BM_RotateQuarterTurn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RotateMirror)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RotateEighthTurn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RotatePreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToneCurve)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToneCurvePreview)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
