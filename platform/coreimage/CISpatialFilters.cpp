#include "platform/coreimage/CISpatialFilters.h"

#include "platform/coreimage/CIFilter.h"
#include "platform/coreimage/CIKernels.h"
#include "platform/foundation/NSLog.h"
#include "platform/graphics/CGContext.h"

#include <algorithm>
#include <cmath>
#include <optional>

using vips::VImage;
using namespace CIKernels;

namespace {

// The largest side of a pipeline's image (libvips' own limit is 10,000,000), and the most
// pixels an output may cover: no more than a context can draw, so that no parameter grows
// a small picture into gigabytes.
constexpr double kMaxSide = 1 << 22;
constexpr double kMaxPixels = CGContext::kMaxPixels;
// The widest glow: the blur's cost grows with its radius, and beyond this it is an even
// wash over any photo.
constexpr double kMaxRadius = 2000;

bool fitsPicture(const CGRect& extent, const char* filter) {
    const bool fits = std::isfinite(extent.origin.x) && std::isfinite(extent.origin.y) &&
                      CGRectGetWidth(extent) >= 1 && CGRectGetHeight(extent) >= 1 &&
                      CGRectGetWidth(extent) <= kMaxSide && CGRectGetHeight(extent) <= kMaxSide &&
                      CGRectGetWidth(extent) * CGRectGetHeight(extent) <= kMaxPixels &&
                      std::abs(extent.origin.x) <= 1e9 && std::abs(extent.origin.y) <= 1e9;
    if (!fits) {
        NSLog("%s: output extent %@ is not a picture", filter, NSStringFromCGRect(extent));
    }
    return fits;
}

CIImagePtr premultipliedImage(VImage pixels, const CGRect& extent) {
    return CIImage::imageWithPipeline(
        std::make_shared<CIImagePipeline>(std::move(pixels), CIAlpha::Premultiplied), extent);
}

// The vignette darkens by distance d from the centre (pixel centres, engine coordinates):
//   t = clamp((d - radius * (1 - falloff)) / (2 * radius * falloff), 0, 1)
//   colour *= 1 - intensity * t^2 * (3 - 2t)
// so nothing changes within radius * (1 - falloff), the darkening is complete beyond
// radius * (1 + falloff), and half done at the radius. A negative intensity brightens.
// A radius of 0 darkens everything fully.
CIImagePtr vignette(const CIImage& input, const CIFilter& filter) {
    const CIVectorPtr centre = filter.vectorForKey("inputCenter");
    const double cx = centre ? centre->X() : 0, cy = centre ? centre->Y() : 0;
    const double radius = std::max(0.0, filter.numberForKey("inputRadius"));
    const double intensity = filter.numberForKey("inputIntensity");
    const double falloff = std::clamp(filter.numberForKey("inputFalloff"), 0.0, 1.0);
    const double inner = radius * (1 - falloff), outer = radius * (1 + falloff);
    const auto factor = [&](double distance) {
        if (distance >= outer) {
            return 1 - intensity;
        }
        const double t = std::clamp((distance - inner) / (outer - inner), 0.0, 1.0);
        return 1 - intensity * t * t * (3 - 2 * t);
    };
    if (outer <= 0) {
        const double f = factor(0);
        return affineColour(input, {f, 0, 0, 0, f, 0, 0, 0, f});
    }
    const CGRect& extent = input.extent();
    const CIImagePipeline& pipeline = input.pipeline();
    // Squared distance over the squared outer radius, looked up in a table of the factor
    // (whose argument it clips to 0...1, where the factor is constant beyond). A picture
    // row y and column x lie at (x + dx, dy - y) from the centre.
    const double dx = CGRectGetMinX(extent) + 0.5 - cx;
    const double dy = CGRectGetMaxY(extent) - 0.5 - cy;
    const auto shades = std::make_shared<const CurveTable>(
        curveTable([&](double s) { return factor(std::sqrt(s) * outer); }));
    if (pipeline.bytes()) {
        const auto row = [=](const uint8_t* in, uint8_t* out, int width, int x, int y) {
            const double v = (dy - y) / outer;
            for (int i = 0; i < width; ++i) {
                const double u = (x + i + dx) / outer;
                const double shade = lookUp(*shades, u * u + v * v);
                changeStraightPixel(in + 4 * i, out + 4 * i, [shade](std::array<double, 3>& c) {
                    for (double& channel : c) {
                        channel *= shade;
                    }
                });
            }
        };
        return CIImage::imageWithPipeline(
            CIImagePipeline::withBytes(rowKernel(*pipeline.bytes(), row),
                                       pipeline.alpha() == CIAlpha::Opaque),
            extent);
    }
    const VImage xy = VImage::xyz(pipeline.width(), pipeline.height())
                          .linear({1.0 / outer, -1.0 / outer}, {dx / outer, dy / outer});
    const VImage shade = curve((xy * xy).bandmean().linear(2.0, 0.0), *shades);
    return mapColour(input, [&](const VImage& rgb) { return rgb * shade; });
}

// The input with `margin` transparent pixels around it, premultiplied, and its blur with
// a Gaussian of deviation radius / 3 (so the blur reaches about as far as the radius).
// Pictures held as bytes are spread as bytes (B, G, R, A, 0...255) and blurred with the
// library's integer kernel, as its own 8-bit blur does: a quarter of the data of float
// samples, for a difference of a level or so in a smooth glow. Others are float samples in
// 0...1. `unit` is full intensity in the form chosen; the filters' results are float
// samples either way.
struct Spread {
    VImage sharp;
    VImage blurred;
    CGRect extent;
    bool bytes;
    double unit;
};

// Nothing when the radius is too wide or the grown extent is no picture: checked before any
// pixel work, so that a huge radius neither overflows the margin nor builds an enormous blur.
std::optional<Spread> spread(const CIImage& input, double radius, const char* filter) {
    if (!(radius <= kMaxRadius)) {
        NSLog("%s: a radius of %g is beyond %g", filter, radius, kMaxRadius);
        return std::nullopt;
    }
    const double grow = std::ceil(std::max(0.0, radius));
    const CGRect extent = CGRectInset(input.extent(), -grow, -grow);
    if (!fitsPicture(extent, filter)) {
        return std::nullopt;
    }
    const int margin = static_cast<int>(grow);
    const CIImagePipeline& pipeline = input.pipeline();
    Spread result;
    result.bytes = pipeline.bytes().has_value();
    result.unit = result.bytes ? 255.0 : 1.0;
    const VImage& premultiplied = result.bytes ? *pipeline.bytes() : pipeline.premultiplied();
    result.sharp = premultiplied.embed(
        margin, margin, pipeline.width() + 2 * margin, pipeline.height() + 2 * margin,
        VImage::option()->set("extend", VIPS_EXTEND_BACKGROUND)->set("background", 0.0));
    const double sigma = radius / 3;
    result.blurred = sigma < 0.2
                         ? result.sharp
                         : result.sharp.gaussblur(
                               sigma, VImage::option()
                                          ->set("min_ampl", 0.01)
                                          ->set("precision", result.bytes ? VIPS_PRECISION_INTEGER
                                                                          : VIPS_PRECISION_FLOAT));
    result.extent = extent;
    return result;
}

// The premultiplied float samples of pixels in a spread's form (bytes are B, G, R, A).
CIImagePtr spreadImage(const Spread& s, const VImage& pixels) {
    if (s.bytes) {
        return premultipliedImage(
            VImage::bandjoin({pixels[2], pixels[1], pixels[0], pixels[3]}).linear(1.0 / 255.0, 0.0),
            s.extent);
    }
    return premultipliedImage(pixels, s.extent);
}

// Bloom: the blur screened over the picture by the intensity, premultiplied per channel:
// p + i * b - p * i * b. Bright areas spread a glow; nothing gets darker.
CIImagePtr bloom(const CIImage& input, const CIFilter& filter) {
    const auto s = spread(input, filter.numberForKey("inputRadius"), "CIBloom");
    if (!s) {
        return nullptr;
    }
    const VImage glow = s->blurred.linear(filter.numberForKey("inputIntensity"), 0.0);
    return spreadImage(*s, s->sharp + glow - s->sharp * glow / s->unit);
}

// Gloom: towards the darker of the picture and its blur by the intensity, per channel:
// p + i * (min(p, b') - p). Highlights are dulled by darker surroundings; nothing gets
// brighter. The blur b' is taken over the picture's own pixels and brought to each pixel's
// alpha (b times p's alpha over b's, nothing where the blur has no alpha): near the
// picture's edges the blur also gathers the transparent margin, which would otherwise make
// the darker of the two part transparent and dark there, a see-through, darkened frame on
// an opaque photo. Alpha thus stays the picture's own.
CIImagePtr gloom(const CIImage& input, const CIFilter& filter) {
    const auto s = spread(input, filter.numberForKey("inputRadius"), "CIGloom");
    if (!s) {
        return nullptr;
    }
    const VImage blurred = s->blurred.cast(VIPS_FORMAT_FLOAT);
    // Division by zero gives zero.
    const VImage toAlpha = s->sharp[3] / blurred[3];
    const VImage own = blurred * toAlpha;
    const VImage darker = (s->sharp < own).ifthenelse(s->sharp, own);
    const double intensity = filter.numberForKey("inputIntensity");
    return spreadImage(*s, s->sharp + (darker - s->sharp).linear(intensity, 0.0));
}

// Pixellate: square blocks of `scale` pixels (rounded, at least 1) on a grid with a block
// corner at the centre (rounded to a pixel); each block takes the mean colour of the
// picture over it, the picture's edge pixels repeating beyond its extent.
CIImagePtr pixellate(const CIImage& input, const CIFilter& filter) {
    const CIVectorPtr centre = filter.vectorForKey("inputCenter");
    const double cx = std::round(centre ? centre->X() : 0),
                 cy = std::round(centre ? centre->Y() : 0);
    const double scale = filter.numberForKey("inputScale");
    const double side = std::isfinite(scale) ? std::clamp(std::round(scale), 1.0, kMaxSide) : 1.0;
    const CGRect& extent = input.extent();
    const double left = cx - std::ceil((cx - CGRectGetMinX(extent)) / side) * side;
    const double right = cx + std::ceil((CGRectGetMaxX(extent) - cx) / side) * side;
    const double bottom = cy - std::ceil((cy - CGRectGetMinY(extent)) / side) * side;
    const double top = cy + std::ceil((CGRectGetMaxY(extent) - cy) / side) * side;
    const CGRect grid = CGRectMake(left, bottom, right - left, top - bottom);
    if (!fitsPicture(grid, "CIPixellate")) {
        return nullptr;
    }
    const int blockSide = static_cast<int>(side);
    return movePixels(input, true, grid, [&](const VImage& pixels) {
        const VImage covered =
            CGRectEqualToRect(grid, extent)
                ? pixels
                : pixels.embed(static_cast<int>(CGRectGetMinX(extent) - left),
                               static_cast<int>(top - CGRectGetMaxY(extent)),
                               static_cast<int>(right - left), static_cast<int>(top - bottom),
                               VImage::option()->set("extend", VIPS_EXTEND_COPY));
        return covered.shrink(side, side).zoom(blockSide, blockSide);
    });
}

// `value` when it lies within rounding error of a whole number, that number.
std::optional<double> nearWhole(double value) {
    const double whole = std::round(value);
    return std::abs(value - whole) <= 1e-9 * std::max(1.0, std::abs(value))
               ? std::optional<double>(whole)
               : std::nullopt;
}

// The pixels of `input` moved whole by a transform that maps the pixel grid onto itself:
// quarter turns and mirrors (computed turns by multiples of pi/2 come within rounding error
// of one) with a whole-pixel shift, on a picture whose extent lies on the grid. Exact,
// and as fast as copying; null when the transform is not one of those. The caller has
// checked that the output is a picture.
CIImagePtr gridTransform(const CIImage& input, const CGAffineTransform& t) {
    const CGRect& extent = input.extent();
    const auto a = nearWhole(t.a), b = nearWhole(t.b), c = nearWhole(t.c), d = nearWhole(t.d);
    const auto tx = nearWhole(t.tx), ty = nearWhole(t.ty);
    if (!a || !b || !c || !d || !tx || !ty || !CGRectEqualToRect(CGRectIntegral(extent), extent) ||
        std::abs(*a) + std::abs(*b) != 1 || std::abs(*a) != std::abs(*d) ||
        std::abs(*b) != std::abs(*c)) {
        return nullptr;
    }
    const CGAffineTransform exact = CGAffineTransformMake(*a, *b, *c, *d, *tx, *ty);
    const CGRect out = CGRectApplyAffineTransform(extent, exact);
    // In pixel rows (y down) the linear part reads (a, -c; -b, d).
    const double m0 = *a, m1 = -*c, m2 = -*b;
    return movePixels(input, true, out, [&](const VImage& pixels) {
        if (m0 != 0) {
            // Mirrors: x and y keep their axes.
            VImage moved = pixels;
            if (m0 < 0) {
                moved = moved.flip(VIPS_DIRECTION_HORIZONTAL);
            }
            if (*d < 0) {
                moved = moved.flip(VIPS_DIRECTION_VERTICAL);
            }
            return moved;
        }
        // (x, y) -> (m1 y, m2 x): a quarter turn clockwise on screen takes x to y, and
        // the swapped axes without a turn are a turn and a mirror.
        const VImage turned = pixels.rot(m2 > 0 ? VIPS_ANGLE_D90 : VIPS_ANGLE_D270);
        return m1 * m2 > 0 ? turned.flip(VIPS_DIRECTION_HORIZONTAL) : turned;
    });
}

// The affine transform, in engine coordinates (y up), sampled bilinearly; outside the
// transformed picture is transparent.
CIImagePtr affineTransform(const CIImage& input, const CIFilter& filter) {
    const CGAffineTransform t = filter.transformForKey("inputTransform");
    const double determinant = t.a * t.d - t.b * t.c;
    const CGRect& extent = input.extent();
    const CGRect out = CGRectIntegral(CGRectApplyAffineTransform(extent, t));
    if (!std::isfinite(determinant) || std::abs(determinant) < 1e-12) {
        NSLog("CIAffineTransform: the transform %@ cannot be applied",
              NSStringFromCGRect(CGRectMake(t.a, t.b, t.c, t.d)));
        return nullptr;
    }
    if (!fitsPicture(out, "CIAffineTransform")) {
        return nullptr;
    }
    if (auto moved = gridTransform(input, t)) {
        return moved;
    }
    // In pixel coordinates (x right, y down from the top of each extent), a point p of the
    // input lands at A p + o in the output.
    const double x0 = CGRectGetMinX(extent), top = CGRectGetMaxY(extent);
    const double ox = t.a * x0 + t.c * top + t.tx - CGRectGetMinX(out);
    const double oy = CGRectGetMaxY(out) - t.b * x0 - t.d * top - t.ty;
    const std::vector<double> matrix{t.a, -t.c, -t.b, t.d};
    // libvips maps pixel indices, whose centres lie half a pixel in from the corners
    // counted here: shift by A (1/2, 1/2) - (1/2, 1/2).
    const double odx = ox + 0.5 * (matrix[0] + matrix[1]) - 0.5;
    const double ody = oy + 0.5 * (matrix[2] + matrix[3]) - 0.5;
    return movePixels(input, false, out, [&](const VImage& pixels) {
        return pixels.affine(
            matrix, VImage::option()
                        ->set("interpolate", vips::VInterpolate::new_from_name("bilinear"))
                        ->set("odx", odx)
                        ->set("ody", ody)
                        ->set("oarea", std::vector<int>{0, 0, static_cast<int>(CGRectGetWidth(out)),
                                                        static_cast<int>(CGRectGetHeight(out))})
                        ->set("extend", VIPS_EXTEND_BACKGROUND)
                        ->set("background", std::vector<double>{0.0})
                        ->set("premultiplied", true));
    });
}

} // namespace

std::vector<CIFilterDefinition> spatialFilterDefinitions() {
    return {
        {"CIVignetteEffect",
         {imageInput(), vectorInput("inputCenter", 150, 150), numberInput("inputRadius", 150),
          numberInput("inputIntensity", 1), numberInput("inputFalloff", 0.5)},
         vignette},
        {"CIBloom",
         {imageInput(), numberInput("inputRadius", 10), numberInput("inputIntensity", 0.5)},
         bloom},
        {"CIGloom",
         {imageInput(), numberInput("inputRadius", 10), numberInput("inputIntensity", 0.5)},
         gloom},
        {"CIPixellate",
         {imageInput(), vectorInput("inputCenter", 150, 150), numberInput("inputScale", 8)},
         pixellate},
        {"CIAffineTransform", {imageInput(), transformInput("inputTransform")}, affineTransform},
    };
}
