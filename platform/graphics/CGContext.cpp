#include "platform/graphics/CGContext.h"

#include "platform/foundation/NSLog.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
struct PathDeleter {
    void operator()(cairo_path_t* p) const { cairo_path_destroy(p); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Cairo = std::unique_ptr<cairo_t, CairoDeleter>;
using Pattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;
using CairoPath = std::shared_ptr<cairo_path_t>;

// Pixel counts beyond this are refused rather than allocated.
constexpr size_t kMaxPixels = 100'000'000;
// cairo's own limit on either side of an image surface.
constexpr size_t kMaxSide = 32767;

enum class PixelLayout { ARGB, RGB, Gray, Alpha };

size_t bytesPerPixel(PixelLayout layout) {
    return layout == PixelLayout::ARGB || layout == PixelLayout::RGB ? 4 : 1;
}

// The cairo format the layout is drawn in; grey is drawn in RGB and converted.
cairo_format_t cairoFormat(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::ARGB:
        return CAIRO_FORMAT_ARGB32;
    case PixelLayout::Alpha:
        return CAIRO_FORMAT_A8;
    default:
        return CAIRO_FORMAT_RGB24;
    }
}

struct Shadow {
    bool on = false;
    CGSize offset;
    double blur = 0;
    CGColor color;
};

struct GState {
    // User space to cairo's device space (pixels, y down). When it cannot be inverted
    // nothing is drawn and cairo keeps the last usable matrix.
    CGAffineTransform ctm;
    bool singular = false;
    CGColor fill;
    CGColor stroke;
    double alpha = 1;
    CGBlendMode blendMode = kCGBlendModeNormal;
    CGInterpolationQuality interpolation = kCGInterpolationDefault;
    CGSize patternPhase;
    Shadow shadow;
    // Device-space coverage (A8) from ClipToMask, multiplied into everything drawn.
    std::shared_ptr<cairo_surface_t> softMask;
};

// Draws one painting operation on a cairo context whose transform and line style are the
// context's. With `coverage` it paints the same shape in opaque black, so that the alpha
// it leaves is how much of each pixel the operation covers.
using Painter = std::function<void(cairo_t* cr, bool coverage)>;

cairo_matrix_t toCairo(const CGAffineTransform& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    return m;
}

bool invertible(const CGAffineTransform& t) {
    double det = t.a * t.d - t.b * t.c;
    return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
           std::isfinite(t.tx) && std::isfinite(t.ty) && det != 0 && std::isfinite(1 / det);
}

cairo_operator_t cairoOperator(CGBlendMode mode) {
    switch (mode) {
    case kCGBlendModeMultiply:
        return CAIRO_OPERATOR_MULTIPLY;
    case kCGBlendModeScreen:
        return CAIRO_OPERATOR_SCREEN;
    case kCGBlendModeClear:
        return CAIRO_OPERATOR_CLEAR;
    case kCGBlendModeCopy:
        return CAIRO_OPERATOR_SOURCE;
    case kCGBlendModeSourceIn:
        return CAIRO_OPERATOR_IN;
    case kCGBlendModeDestinationIn:
        return CAIRO_OPERATOR_DEST_IN;
    case kCGBlendModeDestinationOut:
        return CAIRO_OPERATOR_DEST_OUT;
    case kCGBlendModePlusLighter:
        return CAIRO_OPERATOR_ADD;
    default:
        return CAIRO_OPERATOR_OVER;
    }
}

// Modes whose result where the source is transparent is not the destination: they need
// the covered area apart from the source's alpha.
bool replacesDestination(CGBlendMode mode) {
    return mode == kCGBlendModeClear || mode == kCGBlendModeCopy || mode == kCGBlendModeSourceIn ||
           mode == kCGBlendModeDestinationIn;
}

// cairo clears outside the drawn shape for these; they are always composited by hand.
bool unboundedInCairo(CGBlendMode mode) {
    return mode == kCGBlendModeSourceIn || mode == kCGBlendModeDestinationIn;
}

cairo_filter_t cairoFilter(CGInterpolationQuality quality) {
    switch (quality) {
    case kCGInterpolationNone:
        return CAIRO_FILTER_NEAREST;
    case kCGInterpolationLow:
        return CAIRO_FILTER_BILINEAR;
    case kCGInterpolationHigh:
        return CAIRO_FILTER_BEST;
    default:
        return CAIRO_FILTER_GOOD;
    }
}

const cairo_user_data_key_t kImageKey{};

// Whether cairo can take the image as a source at all.
bool drawable(const CGImageRef& image) {
    if (!image) {
        return false;
    }
    if (image->width() > kMaxSide || image->height() > kMaxSide) {
        NSLog("Image of %zu x %zu pixels is too large to draw.", image->width(), image->height());
        return false;
    }
    return true;
}

// A cairo surface showing the image's pixels: shared with the image (kept alive by the
// surface) when cairo can read them as they are, converted otherwise. Grey images become
// RGB; image masks become their coverage (A8) when `asCoverage`.
Surface imageSurface(const CGImageRef& image, bool asCoverage) {
    const int w = int(image->width()), h = int(image->height());
    const bool wide = image->format() != CGImagePixelFormat::Gray8;
    const cairo_format_t format = !wide ? (asCoverage ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_RGB24)
                                  : image->format() == CGImagePixelFormat::RGB24
                                      ? CAIRO_FORMAT_RGB24
                                      : CAIRO_FORMAT_ARGB32;
    const auto* data = image->data();
    if (wide && image->bytesPerRow() % 4 == 0 && reinterpret_cast<uintptr_t>(data) % 4 == 0) {
        Surface shared(cairo_image_surface_create_for_data(const_cast<unsigned char*>(data), format,
                                                           w, h, int(image->bytesPerRow())));
        cairo_surface_set_user_data(shared.get(), &kImageKey, new CGImageRef(image),
                                    [](void* p) { delete static_cast<CGImageRef*>(p); });
        return shared;
    }
    Surface copy(cairo_image_surface_create(format, w, h));
    cairo_surface_flush(copy.get());
    unsigned char* out = cairo_image_surface_get_data(copy.get());
    const int stride = cairo_image_surface_get_stride(copy.get());
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = data + size_t(y) * image->bytesPerRow();
        unsigned char* target = out + size_t(y) * size_t(stride);
        if (wide) {
            std::memcpy(target, row, size_t(w) * 4);
        } else if (format == CAIRO_FORMAT_A8) {
            for (int x = 0; x < w; ++x) {
                target[x] = image->isMask() ? 255 - row[x] : row[x];
            }
        } else {
            for (int x = 0; x < w; ++x) {
                uint32_t v = row[x];
                uint32_t pixel = 0xff000000u | v << 16 | v << 8 | v;
                std::memcpy(target + 4 * x, &pixel, 4);
            }
        }
    }
    cairo_surface_mark_dirty(copy.get());
    return copy;
}

// Maps user space onto the image's pixels so that its top row lands at rect's maxY.
cairo_matrix_t imageMatrix(const CGImage& image, const CGRect& rect) {
    double sx = double(image.width()) / rect.size.width;
    double sy = double(image.height()) / rect.size.height;
    cairo_matrix_t m;
    cairo_matrix_init(&m, sx, 0, 0, -sy, -rect.origin.x * sx, CGRectGetMaxY(rect) * sy);
    return m;
}

// Three box blurs whose widths approximate a Gaussian of the given deviation, on
// `values` laid out w x h, in both directions; outside is zero.
void gaussianBlur(std::vector<float>& values, int w, int h, double sigma) {
    if (sigma <= 0) {
        return;
    }
    constexpr int passes = 3;
    double ideal = std::sqrt(12 * sigma * sigma / passes + 1);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0) {
        --lower;
    }
    int upper = lower + 2;
    int lowerCount = int(std::lround(
        (12 * sigma * sigma - passes * lower * lower - 4 * passes * lower - 3 * passes) /
        (-4.0 * lower - 4)));
    std::vector<float> line;
    auto blurLines = [&](int count, int length, size_t step, size_t lineStep, int radius) {
        line.resize(size_t(length));
        const float scale = 1.0f / float(2 * radius + 1);
        for (int l = 0; l < count; ++l) {
            float* base = values.data() + size_t(l) * lineStep;
            for (int i = 0; i < length; ++i) {
                line[size_t(i)] = base[size_t(i) * step];
            }
            float sum = 0;
            for (int i = 0; i < std::min(radius, length); ++i) {
                sum += line[size_t(i)];
            }
            for (int i = 0; i < length; ++i) {
                if (i + radius < length) {
                    sum += line[size_t(i + radius)];
                }
                if (i - radius - 1 >= 0) {
                    sum -= line[size_t(i - radius - 1)];
                }
                base[size_t(i) * step] = sum * scale;
            }
        }
    };
    for (int pass = 0; pass < passes; ++pass) {
        int radius = ((pass < lowerCount ? lower : upper) - 1) / 2;
        if (radius > 0) {
            blurLines(h, w, 1, size_t(w), radius);
            blurLines(w, h, size_t(w), 1, radius);
        }
    }
}

// The ends and colour stops of a gradient run: t from `from` to `to` is drawn between the
// geometry's two ends, t beyond the run's ends is not.
struct GradientRun {
    double from = 0;
    double to = 1;
    cairo_extend_t extend = CAIRO_EXTEND_NONE;
};

// Gradient colours as cairo stops over the run (or opaque black for coverage).
void addStops(cairo_pattern_t* pattern, const CGGradient& gradient, const GradientRun& run,
              bool coverage) {
    auto add = [&](double t, const CGColor& c) {
        double offset = (t - run.from) / (run.to - run.from);
        if (coverage) {
            cairo_pattern_add_color_stop_rgba(pattern, offset, 0, 0, 0, 1);
        } else {
            cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, c.a);
        }
    };
    const auto& stops = gradient.stops();
    add(run.from, stops.front().color);
    for (const auto& stop : stops) {
        add(stop.location, stop.color);
    }
    add(run.to, stops.back().color);
}

// How far beyond t = 1 a radial gradient must run for its circles to cover a disc of
// radius `u` around `visible`, going from circle (cs, rs) to circle (ce, re); limited
// where the radius shrinks to zero.
double radialExtension(CGPoint cs, double rs, CGPoint ce, double re, CGPoint visible, double u) {
    double dr = re - rs;
    double dc = std::hypot(ce.x - cs.x, ce.y - cs.y);
    double toEnd = std::hypot(ce.x - visible.x, ce.y - visible.y);
    double k = dr > dc ? std::max(0.0, (u + toEnd - re) / (dr - dc)) + 1
                       : (u + toEnd + re) / std::max({std::fabs(dr), dc, 1e-9});
    if (dr < 0) {
        k = std::min(k, re / -dr);
    }
    return std::min(k, 1e6);
}

} // namespace

struct CGContext::State {
    PixelLayout layout = PixelLayout::ARGB;
    size_t width = 0;
    size_t height = 0;
    size_t bytesPerRow = 0;
    uint8_t* data = nullptr; // the pixels the caller sees
    std::vector<uint8_t> ownedData;
    // cairo's surface: over `data`, or (mirrored) its own pixels converted from and to
    // `data` around each drawing, when cairo cannot draw the caller's layout.
    Surface surface;
    bool mirrored = false;
    double scale = 1;
    bool yUp = true;
    Cairo cr;
    std::vector<GState> states{GState{}};

    GState& gs() { return states.back(); }

    // Pixels in: the caller may have written them since the last drawing.
    void beginDrawing() {
        if (!mirrored) {
            cairo_surface_mark_dirty(surface.get());
            return;
        }
        cairo_surface_flush(surface.get());
        unsigned char* out = cairo_image_surface_get_data(surface.get());
        const size_t stride = size_t(cairo_image_surface_get_stride(surface.get()));
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* row = data + y * bytesPerRow;
            unsigned char* target = out + y * stride;
            if (layout == PixelLayout::Gray) {
                for (size_t x = 0; x < width; ++x) {
                    uint32_t v = row[x];
                    uint32_t pixel = 0xff000000u | v << 16 | v << 8 | v;
                    std::memcpy(target + 4 * x, &pixel, 4);
                }
            } else {
                std::memcpy(target, row, width * bytesPerPixel(layout));
            }
        }
        cairo_surface_mark_dirty(surface.get());
    }

    // Pixels out, to where the caller reads them.
    void endDrawing() {
        cairo_surface_flush(surface.get());
        if (!mirrored) {
            return;
        }
        const unsigned char* in = cairo_image_surface_get_data(surface.get());
        const size_t stride = size_t(cairo_image_surface_get_stride(surface.get()));
        for (size_t y = 0; y < height; ++y) {
            const unsigned char* source = in + y * stride;
            uint8_t* row = data + y * bytesPerRow;
            if (layout == PixelLayout::Gray) {
                for (size_t x = 0; x < width; ++x) {
                    uint32_t pixel;
                    std::memcpy(&pixel, source + 4 * x, 4);
                    uint32_t r = pixel >> 16 & 0xff, g = pixel >> 8 & 0xff, b = pixel & 0xff;
                    row[x] = uint8_t((77 * r + 150 * g + 29 * b + 128) >> 8);
                }
            } else {
                std::memcpy(row, source, width * bytesPerPixel(layout));
            }
        }
    }

    Surface blank(cairo_format_t format) const {
        return Surface(cairo_image_surface_create(format, int(width), int(height)));
    }

    // A cairo context on a scratch surface of the device's size, with this context's
    // transform and line style.
    Cairo drawingOn(cairo_surface_t* target) const {
        Cairo c(cairo_create(target));
        cairo_matrix_t m;
        cairo_get_matrix(cr.get(), &m);
        cairo_set_matrix(c.get(), &m);
        cairo_set_line_width(c.get(), cairo_get_line_width(cr.get()));
        cairo_set_line_cap(c.get(), cairo_get_line_cap(cr.get()));
        cairo_set_line_join(c.get(), cairo_get_line_join(cr.get()));
        cairo_set_miter_limit(c.get(), cairo_get_miter_limit(cr.get()));
        cairo_set_antialias(c.get(), cairo_get_antialias(cr.get()));
        cairo_set_tolerance(c.get(), cairo_get_tolerance(cr.get()));
        std::vector<double> dashes(size_t(cairo_get_dash_count(cr.get())));
        double offset = 0;
        cairo_get_dash(cr.get(), dashes.data(), &offset);
        cairo_set_dash(c.get(), dashes.data(), int(dashes.size()), offset);
        return c;
    }

    // Sets `color` as the source of `c`. Pattern colours tile from the pattern phase in
    // base space, whatever the current transform.
    void applyColor(cairo_t* c, const CGColor& color) const {
        if (!color.isPattern() || !drawable(color.pattern)) {
            cairo_set_source_rgba(c, color.r, color.g, color.b, color.a);
            return;
        }
        Surface tile = imageSurface(color.pattern, false);
        if (color.a < 1) {
            Surface faded(cairo_image_surface_create(
                CAIRO_FORMAT_ARGB32, int(color.pattern->width()), int(color.pattern->height())));
            {
                Cairo f(cairo_create(faded.get()));
                cairo_set_source_surface(f.get(), tile.get(), 0, 0);
                cairo_paint_with_alpha(f.get(), color.a);
            }
            tile = std::move(faded);
        }
        Pattern pattern(cairo_pattern_create_for_surface(tile.get()));
        cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pattern.get(), cairoFilter(states.back().interpolation));
        const double perPixel = color.patternScale / scale; // pattern pixels per device pixel
        const CGSize phase = states.back().patternPhase;
        const double tileHeight = double(color.pattern->height()) / perPixel;
        const double ax = phase.width * scale;
        // A tile's top-left corner in device pixels: at the phase in a top-left base
        // space, a tile's height above it in a bottom-left one.
        const double ay =
            yUp ? double(height) - phase.height * scale - tileHeight : phase.height * scale;
        cairo_matrix_t deviceToPattern, userToDevice, userToPattern;
        cairo_matrix_init(&deviceToPattern, perPixel, 0, 0, perPixel, -ax * perPixel,
                          -ay * perPixel);
        cairo_get_matrix(c, &userToDevice);
        cairo_matrix_multiply(&userToPattern, &userToDevice, &deviceToPattern);
        cairo_pattern_set_matrix(pattern.get(), &userToPattern);
        cairo_set_source(c, pattern.get());
    }

    // The shadow of `layer` (premultiplied ARGB of the device's size): its alpha,
    // blurred, moved by the offset and coloured.
    Surface shadowOf(cairo_surface_t* layer) const {
        const Shadow& shadow = states.back().shadow;
        cairo_surface_flush(layer);
        const unsigned char* in = cairo_image_surface_get_data(layer);
        const size_t stride = size_t(cairo_image_surface_get_stride(layer));
        const int w = int(width), h = int(height);
        std::vector<float> alpha(width * height);
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                uint32_t pixel;
                std::memcpy(&pixel, in + y * stride + 4 * x, 4);
                alpha[y * width + x] = float(pixel >> 24);
            }
        }
        gaussianBlur(alpha, w, h, shadow.blur * scale / 2);
        Surface mask = blank(CAIRO_FORMAT_A8);
        cairo_surface_flush(mask.get());
        unsigned char* out = cairo_image_surface_get_data(mask.get());
        const size_t maskStride = size_t(cairo_image_surface_get_stride(mask.get()));
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                out[y * maskStride + x] =
                    uint8_t(std::clamp(std::lround(alpha[y * width + x]), 0l, 255l));
            }
        }
        cairo_surface_mark_dirty(mask.get());
        Surface shade = blank(CAIRO_FORMAT_ARGB32);
        Cairo c(cairo_create(shade.get()));
        cairo_set_source_rgba(c.get(), shadow.color.r, shadow.color.g, shadow.color.b,
                              shadow.color.a);
        const double dy = (yUp ? -shadow.offset.height : shadow.offset.height) * scale;
        cairo_mask_surface(c.get(), mask.get(), shadow.offset.width * scale, dy);
        return shade;
    }

    // Puts a painting operation on the pixels through alpha, blend mode, shadow and soft
    // mask. Blend modes act within what the operation covers only.
    void paint(const Painter& painter, CGBlendMode mode, double alpha, bool shadowed) {
        if (gs().singular || cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            return;
        }
        beginDrawing();
        const bool shadow = shadowed && gs().shadow.on && mode != kCGBlendModeClear;
        const bool soft = gs().softMask != nullptr;
        const bool direct = !shadow && !soft && !unboundedInCairo(mode) &&
                            (alpha >= 1 || !replacesDestination(mode));
        cairo_t* c = cr.get();
        cairo_save(c);
        if (direct) {
            if (alpha >= 1) {
                cairo_set_operator(c, cairoOperator(mode));
                painter(c, false);
            } else {
                cairo_set_operator(c, CAIRO_OPERATOR_OVER);
                cairo_push_group(c);
                painter(c, false);
                cairo_pop_group_to_source(c);
                cairo_set_operator(c, cairoOperator(mode));
                cairo_paint_with_alpha(c, alpha);
            }
        } else {
            composite(painter, mode, alpha, shadow);
        }
        cairo_restore(c);
        endDrawing();
    }

    // The general way: the operation drawn alone (layer) and what it covers (coverage),
    // then combined with the destination by hand where cairo's operators differ.
    void composite(const Painter& painter, CGBlendMode mode, double alpha, bool shadow) {
        Surface layer;
        if (mode != kCGBlendModeClear) {
            layer = blank(CAIRO_FORMAT_ARGB32);
            painter(drawingOn(layer.get()).get(), false);
        }
        Surface coverage;
        if (replacesDestination(mode)) {
            coverage = blank(CAIRO_FORMAT_A8);
            painter(drawingOn(coverage.get()).get(), true);
        }
        if (shadow) {
            Surface shade = shadowOf(layer.get());
            Cairo s(cairo_create(shade.get()));
            cairo_set_source_surface(s.get(), layer.get(), 0, 0);
            cairo_paint(s.get());
            if (coverage) {
                Cairo m(cairo_create(coverage.get()));
                cairo_set_operator(m.get(), CAIRO_OPERATOR_DEST_OVER);
                cairo_set_source_surface(m.get(), shade.get(), 0, 0);
                cairo_paint(m.get());
            }
            layer = std::move(shade);
        }
        for (cairo_surface_t* s : {layer.get(), coverage.get()}) {
            if (s && gs().softMask) {
                Cairo m(cairo_create(s));
                cairo_set_operator(m.get(), CAIRO_OPERATOR_DEST_IN);
                cairo_set_source_surface(m.get(), gs().softMask.get(), 0, 0);
                cairo_paint(m.get());
            }
        }
        cairo_t* c = cr.get();
        cairo_identity_matrix(c);
        auto removeCovered = [&] {
            cairo_set_operator(c, CAIRO_OPERATOR_DEST_OUT);
            cairo_set_source_rgba(c, 0, 0, 0, 1);
            cairo_mask_surface(c, coverage.get(), 0, 0);
        };
        switch (mode) {
        case kCGBlendModeClear:
            removeCovered();
            break;
        case kCGBlendModeCopy:
            removeCovered();
            cairo_set_operator(c, CAIRO_OPERATOR_ADD);
            cairo_set_source_surface(c, layer.get(), 0, 0);
            cairo_paint_with_alpha(c, alpha);
            break;
        case kCGBlendModeSourceIn: {
            // The layer where the destination has alpha, in place of what it covers.
            Cairo x(cairo_create(layer.get()));
            cairo_set_operator(x.get(), CAIRO_OPERATOR_DEST_IN);
            cairo_set_source_surface(x.get(), surface.get(), 0, 0);
            cairo_paint(x.get());
            x.reset();
            removeCovered();
            cairo_set_operator(c, CAIRO_OPERATOR_ADD);
            cairo_set_source_surface(c, layer.get(), 0, 0);
            cairo_paint_with_alpha(c, alpha);
            break;
        }
        case kCGBlendModeDestinationIn: {
            // The destination keeps 1 - coverage + the layer's alpha of itself.
            Surface keep = blank(CAIRO_FORMAT_A8);
            Cairo k(cairo_create(keep.get()));
            cairo_set_source_rgba(k.get(), 0, 0, 0, 1);
            cairo_paint(k.get());
            cairo_set_operator(k.get(), CAIRO_OPERATOR_DEST_OUT);
            cairo_mask_surface(k.get(), coverage.get(), 0, 0);
            cairo_set_operator(k.get(), CAIRO_OPERATOR_ADD);
            cairo_set_source_surface(k.get(), layer.get(), 0, 0);
            cairo_paint_with_alpha(k.get(), alpha);
            k.reset();
            cairo_set_operator(c, CAIRO_OPERATOR_DEST_IN);
            cairo_set_source_surface(c, keep.get(), 0, 0);
            cairo_paint(c);
            break;
        }
        default:
            cairo_set_operator(c, cairoOperator(mode));
            cairo_set_source_surface(c, layer.get(), 0, 0);
            cairo_paint_with_alpha(c, alpha);
            break;
        }
    }

    void paint(const Painter& painter) { paint(painter, gs().blendMode, gs().alpha, true); }

    // The current path, taken out of cairo (in the current user space).
    CairoPath takePath() {
        CairoPath path(cairo_copy_path(cr.get()), PathDeleter{});
        cairo_new_path(cr.get());
        return path;
    }

    Painter pathPainter(CairoPath path, bool fill, bool evenOdd, bool stroke) {
        const CGColor fillColor = gs().fill;
        const CGColor strokeColor = gs().stroke;
        return
            [this, path, fill, evenOdd, stroke, fillColor, strokeColor](cairo_t* c, bool coverage) {
                cairo_new_path(c);
                cairo_append_path(c, path.get());
                if (fill) {
                    coverage ? cairo_set_source_rgb(c, 0, 0, 0) : applyColor(c, fillColor);
                    cairo_set_fill_rule(c, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                   : CAIRO_FILL_RULE_WINDING);
                    cairo_fill_preserve(c);
                }
                if (stroke) {
                    coverage ? cairo_set_source_rgb(c, 0, 0, 0) : applyColor(c, strokeColor);
                    cairo_stroke_preserve(c);
                }
                cairo_new_path(c);
            };
    }

    // Appends a path given in the current user space; `skipFirst` drops its leading move
    // (the current point it was built from).
    void appendPath(const CGPath& path, bool skipFirst) {
        if (gs().singular) {
            return;
        }
        cairo_t* c = cr.get();
        for (const auto& e : path.elements()) {
            if (skipFirst) {
                skipFirst = false;
                continue;
            }
            const auto& p = e.points;
            switch (e.type) {
            case CGPathElementType::MoveToPoint:
                cairo_move_to(c, p[0].x, p[0].y);
                break;
            case CGPathElementType::AddLineToPoint:
                cairo_line_to(c, p[0].x, p[0].y);
                break;
            case CGPathElementType::AddQuadCurveToPoint: {
                double x = p[0].x, y = p[0].y;
                if (cairo_has_current_point(c)) {
                    cairo_get_current_point(c, &x, &y);
                }
                cairo_curve_to(c, x + 2.0 / 3.0 * (p[0].x - x), y + 2.0 / 3.0 * (p[0].y - y),
                               p[1].x + 2.0 / 3.0 * (p[0].x - p[1].x),
                               p[1].y + 2.0 / 3.0 * (p[0].y - p[1].y), p[1].x, p[1].y);
                break;
            }
            case CGPathElementType::AddCurveToPoint:
                cairo_curve_to(c, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
                break;
            case CGPathElementType::CloseSubpath:
                cairo_close_path(c);
                break;
            }
        }
    }

    // Builds on the current path through the CGPath functions: `build` receives a path
    // that starts at the current point, if there is one.
    void extendPath(const std::function<void(const CGMutablePathRef&)>& build) {
        auto path = CGPathCreateMutable();
        const bool continues = cairo_has_current_point(cr.get());
        if (continues) {
            double x, y;
            cairo_get_current_point(cr.get(), &x, &y);
            path->moveTo(CGPointMake(x, y));
        }
        build(path);
        appendPath(*path, continues);
    }

    CGPathRef copyPath() const {
        CairoPath path(cairo_copy_path(cr.get()), PathDeleter{});
        auto result = CGPathCreateMutable();
        bool afterClose = false;
        for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
            const cairo_path_data_t* d = &path->data[i];
            switch (d->header.type) {
            case CAIRO_PATH_MOVE_TO:
                // cairo restates the subpath's start after each close.
                if (!afterClose) {
                    result->moveTo(CGPointMake(d[1].point.x, d[1].point.y));
                }
                break;
            case CAIRO_PATH_LINE_TO:
                result->lineTo(CGPointMake(d[1].point.x, d[1].point.y));
                break;
            case CAIRO_PATH_CURVE_TO:
                result->curveTo(CGPointMake(d[1].point.x, d[1].point.y),
                                CGPointMake(d[2].point.x, d[2].point.y),
                                CGPointMake(d[3].point.x, d[3].point.y));
                break;
            case CAIRO_PATH_CLOSE_PATH:
                result->close();
                break;
            }
            afterClose = d->header.type == CAIRO_PATH_CLOSE_PATH;
        }
        return result->isEmpty() ? nullptr : result;
    }

    void setCTM(const CGAffineTransform& t) {
        gs().ctm = t;
        gs().singular = !invertible(t);
        if (!gs().singular) {
            cairo_matrix_t m = toCairo(t);
            cairo_set_matrix(cr.get(), &m);
        }
    }

    // The centre and radius of a disc in user space holding every device pixel.
    std::pair<CGPoint, double> visibleDisc() const {
        double xs[4] = {0, double(width), 0, double(width)};
        double ys[4] = {0, 0, double(height), double(height)};
        double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        for (int i = 0; i < 4; ++i) {
            cairo_device_to_user(cr.get(), &xs[i], &ys[i]);
            minX = std::min(minX, xs[i]), maxX = std::max(maxX, xs[i]);
            minY = std::min(minY, ys[i]), maxY = std::max(maxY, ys[i]);
        }
        return {CGPointMake((minX + maxX) / 2, (minY + maxY) / 2),
                std::hypot(maxX - minX, maxY - minY) / 2};
    }

    // How a gradient's ramp runs for the extend options: cairo pads both ends or none, so
    // one padded end is had by stretching the geometry `ext` units of t past it.
    static GradientRun gradientRun(uint32_t options, double extBefore, double extAfter) {
        const bool before = options & kCGGradientDrawsBeforeStartLocation;
        const bool after = options & kCGGradientDrawsAfterEndLocation;
        if (before && after) {
            return {0, 1, CAIRO_EXTEND_PAD};
        }
        return {before ? -extBefore : 0, after ? 1 + extAfter : 1, CAIRO_EXTEND_NONE};
    }

    void drawGradient(std::function<Pattern(bool coverage)> makePattern) {
        paint([makePattern](cairo_t* c, bool coverage) {
            Pattern pattern = makePattern(coverage);
            cairo_set_source(c, pattern.get());
            cairo_paint(c);
        });
    }

    Surface coverageOfMask(const CGRect& rect, const CGImageRef& mask) const {
        Surface result = blank(CAIRO_FORMAT_A8);
        Cairo c = drawingOn(result.get());
        Surface source = imageSurface(mask, true);
        Pattern pattern(cairo_pattern_create_for_surface(source.get()));
        cairo_matrix_t m = imageMatrix(*mask, rect);
        cairo_pattern_set_matrix(pattern.get(), &m);
        cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern.get(), cairoFilter(states.back().interpolation));
        cairo_set_source(c.get(), pattern.get());
        cairo_rectangle(c.get(), rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_fill(c.get());
        return result;
    }
};

CGContext::CGContext(std::unique_ptr<State> state) : state_(std::move(state)) {}
CGContext::~CGContext() = default;

cairo_t* CGContext::cairo() const {
    return state_->cr.get();
}

double CGContext::deviceScale() const {
    return state_->scale;
}

void CGContext::fillShape(const std::function<void(cairo_t*)>& shape) {
    State& s = *state_;
    const CGColor fill = s.gs().fill;
    // The shape may fill a path of its own: the current path waits aside.
    CairoPath kept = s.takePath();
    s.paint([&s, &shape, fill](cairo_t* c, bool coverage) {
        coverage ? cairo_set_source_rgb(c, 0, 0, 0) : s.applyColor(c, fill);
        shape(c);
    });
    cairo_append_path(s.cr.get(), kept.get());
}

namespace {

CGContextRef makeContext(PixelLayout layout, size_t width, size_t height, size_t bytesPerRow,
                         void* data, double scale, bool yUp, const char* function) {
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        NSLog("%s: unsupported size %zu x %zu.", function, width, height);
        return nullptr;
    }
    const size_t minimumRow = width * bytesPerPixel(layout);
    if (bytesPerRow == 0) {
        bytesPerRow = (minimumRow + 3) / 4 * 4;
    }
    if (bytesPerRow < minimumRow) {
        NSLog("%s: invalid data bytes/row: should be at least %zu.", function, minimumRow);
        return nullptr;
    }
    auto state = std::make_unique<CGContext::State>();
    state->layout = layout;
    state->width = width;
    state->height = height;
    state->bytesPerRow = bytesPerRow;
    state->scale = scale;
    state->yUp = yUp;
    if (data) {
        state->data = static_cast<uint8_t*>(data);
    } else {
        state->ownedData.assign(bytesPerRow * height, 0);
        state->data = state->ownedData.data();
    }
    state->mirrored = layout == PixelLayout::Gray || bytesPerRow % 4 != 0 ||
                      bytesPerRow > size_t(INT32_MAX) ||
                      reinterpret_cast<uintptr_t>(state->data) % 4 != 0;
    const cairo_format_t format = cairoFormat(layout);
    if (state->mirrored) {
        state->surface.reset(cairo_image_surface_create(format, int(width), int(height)));
    } else {
        state->surface.reset(cairo_image_surface_create_for_data(state->data, format, int(width),
                                                                 int(height), int(bytesPerRow)));
    }
    if (cairo_surface_status(state->surface.get()) != CAIRO_STATUS_SUCCESS) {
        NSLog("%s: cannot make a %zu x %zu surface.", function, width, height);
        return nullptr;
    }
    state->cr.reset(cairo_create(state->surface.get()));
    cairo_set_line_width(state->cr.get(), 1);
    state->setCTM(yUp ? CGAffineTransformMake(1, 0, 0, -1, 0, double(height))
                      : CGAffineTransformMakeScale(scale, scale));
    return std::make_shared<CGContext>(std::move(state));
}

} // namespace

CGContextRef CGContext::createImageContext(size_t pixelWidth, size_t pixelHeight, double scale,
                                           bool opaque) {
    return makeContext(opaque ? PixelLayout::RGB : PixelLayout::ARGB, pixelWidth, pixelHeight, 0,
                       nullptr, scale, false, "UIGraphicsBeginImageContext");
}

// Bitmap contexts.

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, const CGColorSpaceRef& space,
                                   uint32_t bitmapInfo) {
    const uint32_t alphaInfo = bitmapInfo & kCGBitmapAlphaInfoMask;
    PixelLayout layout;
    if (bitsPerComponent != 8) {
        NSLog("CGBitmapContextCreate: unsupported %zu bits/component.", bitsPerComponent);
        return nullptr;
    }
    if (alphaInfo == kCGImageAlphaOnly) {
        layout = PixelLayout::Alpha;
    } else if (space && space->model == CGColorSpace::Model::Gray &&
               alphaInfo == kCGImageAlphaNone) {
        layout = PixelLayout::Gray;
    } else if (space && space->model == CGColorSpace::Model::RGB &&
               (alphaInfo == kCGImageAlphaPremultipliedFirst ||
                alphaInfo == kCGImageAlphaPremultipliedLast)) {
        layout = PixelLayout::ARGB;
    } else if (space && space->model == CGColorSpace::Model::RGB &&
               (alphaInfo == kCGImageAlphaNoneSkipFirst ||
                alphaInfo == kCGImageAlphaNoneSkipLast)) {
        layout = PixelLayout::RGB;
    } else {
        NSLog("CGBitmapContextCreate: unsupported parameter combination: colour space %s, "
              "alpha info %u.",
              !space                                     ? "none"
              : space->model == CGColorSpace::Model::RGB ? "RGB"
                                                         : "grey",
              alphaInfo);
        return nullptr;
    }
    return makeContext(layout, width, height, bytesPerRow, data, 1, true, "CGBitmapContextCreate");
}

void* CGBitmapContextGetData(const CGContextRef& c) {
    return c ? c->state().data : nullptr;
}

size_t CGBitmapContextGetWidth(const CGContextRef& c) {
    return c ? c->state().width : 0;
}

size_t CGBitmapContextGetHeight(const CGContextRef& c) {
    return c ? c->state().height : 0;
}

size_t CGBitmapContextGetBytesPerRow(const CGContextRef& c) {
    return c ? c->state().bytesPerRow : 0;
}

CGImageRef CGBitmapContextCreateImage(const CGContextRef& c) {
    if (!c) {
        return nullptr;
    }
    auto& s = c->state();
    cairo_surface_flush(s.surface.get());
    const bool narrow = s.layout == PixelLayout::Gray;
    const size_t rowBytes = s.width * (narrow ? 1 : 4);
    std::vector<uint8_t> pixels(rowBytes * s.height);
    for (size_t y = 0; y < s.height; ++y) {
        const uint8_t* row = s.data + y * s.bytesPerRow;
        uint8_t* target = pixels.data() + y * rowBytes;
        if (s.layout == PixelLayout::Alpha) {
            for (size_t x = 0; x < s.width; ++x) {
                uint32_t pixel = uint32_t(row[x]) << 24;
                std::memcpy(target + 4 * x, &pixel, 4);
            }
        } else {
            std::memcpy(target, row, rowBytes);
        }
    }
    const CGImagePixelFormat format = narrow ? CGImagePixelFormat::Gray8
                                      : s.layout == PixelLayout::RGB
                                          ? CGImagePixelFormat::RGB24
                                          : CGImagePixelFormat::ARGB32Premultiplied;
    return CGImage::create(s.width, s.height, format, rowBytes, std::move(pixels));
}

// Graphics state.

void CGContextSaveGState(const CGContextRef& c) {
    if (c) {
        auto& s = c->state();
        cairo_save(s.cr.get());
        s.states.push_back(s.gs());
    }
}

void CGContextRestoreGState(const CGContextRef& c) {
    if (!c) {
        return;
    }
    auto& s = c->state();
    if (s.states.size() < 2) {
        NSLog("CGContextRestoreGState: invalid context: no saved state to restore.");
        return;
    }
    cairo_restore(s.cr.get());
    s.states.pop_back();
}

void CGContextTranslateCTM(const CGContextRef& c, CGFloat tx, CGFloat ty) {
    if (c) {
        c->state().setCTM(CGAffineTransformTranslate(c->state().gs().ctm, tx, ty));
    }
}

void CGContextScaleCTM(const CGContextRef& c, CGFloat sx, CGFloat sy) {
    if (c) {
        c->state().setCTM(CGAffineTransformScale(c->state().gs().ctm, sx, sy));
    }
}

void CGContextRotateCTM(const CGContextRef& c, CGFloat angle) {
    if (c) {
        c->state().setCTM(CGAffineTransformRotate(c->state().gs().ctm, angle));
    }
}

void CGContextConcatCTM(const CGContextRef& c, const CGAffineTransform& transform) {
    if (c) {
        c->state().setCTM(CGAffineTransformConcat(transform, c->state().gs().ctm));
    }
}

CGAffineTransform CGContextGetCTM(const CGContextRef& c) {
    if (!c) {
        return CGAffineTransformIdentity;
    }
    const auto& s = c->state();
    return CGAffineTransformConcat(s.states.back().ctm,
                                   CGAffineTransformMake(1, 0, 0, -1, 0, double(s.height)));
}

void CGContextSetFillColorWithColor(const CGContextRef& c, const CGColor& color) {
    if (c) {
        c->state().gs().fill = color;
    }
}

void CGContextSetStrokeColorWithColor(const CGContextRef& c, const CGColor& color) {
    if (c) {
        c->state().gs().stroke = color;
    }
}

void CGContextSetRGBFillColor(const CGContextRef& c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    CGContextSetFillColorWithColor(c, CGColorMake(r, g, b, a));
}

void CGContextSetRGBStrokeColor(const CGContextRef& c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    CGContextSetStrokeColorWithColor(c, CGColorMake(r, g, b, a));
}

void CGContextSetGrayFillColor(const CGContextRef& c, CGFloat gray, CGFloat alpha) {
    CGContextSetFillColorWithColor(c, CGColorMake(gray, gray, gray, alpha));
}

void CGContextSetLineWidth(const CGContextRef& c, CGFloat width) {
    if (c && std::isfinite(width)) {
        cairo_set_line_width(c->cairo(), std::max(0.0, width));
    }
}

void CGContextSetLineCap(const CGContextRef& c, CGLineCap cap) {
    if (c) {
        cairo_set_line_cap(c->cairo(), cap == kCGLineCapRound    ? CAIRO_LINE_CAP_ROUND
                                       : cap == kCGLineCapSquare ? CAIRO_LINE_CAP_SQUARE
                                                                 : CAIRO_LINE_CAP_BUTT);
    }
}

void CGContextSetLineJoin(const CGContextRef& c, CGLineJoin join) {
    if (c) {
        cairo_set_line_join(c->cairo(), join == kCGLineJoinRound   ? CAIRO_LINE_JOIN_ROUND
                                        : join == kCGLineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                                   : CAIRO_LINE_JOIN_MITER);
    }
}

void CGContextSetMiterLimit(const CGContextRef& c, CGFloat limit) {
    if (c && std::isfinite(limit)) {
        cairo_set_miter_limit(c->cairo(), std::max(1.0, limit));
    }
}

void CGContextSetLineDash(const CGContextRef& c, CGFloat phase, const CGFloat* lengths,
                          size_t count) {
    if (!c) {
        return;
    }
    // cairo refuses negative lengths and all-zero patterns; those draw solid lines.
    bool usable = lengths && count > 0 && std::isfinite(phase);
    bool anyPositive = false;
    for (size_t i = 0; usable && i < count; ++i) {
        usable = std::isfinite(lengths[i]) && lengths[i] >= 0;
        anyPositive = anyPositive || lengths[i] > 0;
    }
    if (usable && anyPositive) {
        cairo_set_dash(c->cairo(), lengths, int(count), phase);
    } else {
        cairo_set_dash(c->cairo(), nullptr, 0, 0);
    }
}

void CGContextSetAlpha(const CGContextRef& c, CGFloat alpha) {
    if (c) {
        c->state().gs().alpha = std::clamp(alpha, 0.0, 1.0);
    }
}

void CGContextSetBlendMode(const CGContextRef& c, CGBlendMode mode) {
    if (c) {
        c->state().gs().blendMode = mode;
    }
}

void CGContextSetShouldAntialias(const CGContextRef& c, bool shouldAntialias) {
    if (c) {
        cairo_set_antialias(c->cairo(),
                            shouldAntialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    }
}

void CGContextSetInterpolationQuality(const CGContextRef& c, CGInterpolationQuality quality) {
    if (c) {
        c->state().gs().interpolation = quality;
    }
}

void CGContextSetPatternPhase(const CGContextRef& c, CGSize phase) {
    if (c) {
        c->state().gs().patternPhase = phase;
    }
}

void CGContextSetShadowWithColor(const CGContextRef& c, CGSize offset, CGFloat blur,
                                 const CGColor& color) {
    if (c) {
        c->state().gs().shadow = {color.a > 0, offset, std::max(0.0, blur), color};
    }
}

void CGContextSetShadow(const CGContextRef& c, CGSize offset, CGFloat blur) {
    CGContextSetShadowWithColor(c, offset, blur, CGColorMake(0, 0, 0, 1.0 / 3.0));
}

// The current path.

void CGContextBeginPath(const CGContextRef& c) {
    if (c) {
        cairo_new_path(c->cairo());
    }
}

void CGContextMoveToPoint(const CGContextRef& c, CGFloat x, CGFloat y) {
    if (c) {
        c->state().extendPath(
            [&](const CGMutablePathRef& p) { CGPathMoveToPoint(p, nullptr, x, y); });
    }
}

void CGContextAddLineToPoint(const CGContextRef& c, CGFloat x, CGFloat y) {
    if (c) {
        c->state().extendPath(
            [&](const CGMutablePathRef& p) { CGPathAddLineToPoint(p, nullptr, x, y); });
    }
}

void CGContextAddCurveToPoint(const CGContextRef& c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                              CGFloat cp2y, CGFloat x, CGFloat y) {
    if (c) {
        c->state().extendPath([&](const CGMutablePathRef& p) {
            CGPathAddCurveToPoint(p, nullptr, cp1x, cp1y, cp2x, cp2y, x, y);
        });
    }
}

void CGContextAddQuadCurveToPoint(const CGContextRef& c, CGFloat cpx, CGFloat cpy, CGFloat x,
                                  CGFloat y) {
    if (c) {
        c->state().extendPath([&](const CGMutablePathRef& p) {
            CGPathAddQuadCurveToPoint(p, nullptr, cpx, cpy, x, y);
        });
    }
}

void CGContextAddArc(const CGContextRef& c, CGFloat x, CGFloat y, CGFloat radius,
                     CGFloat startAngle, CGFloat endAngle, int clockwise) {
    if (c) {
        c->state().extendPath([&](const CGMutablePathRef& p) {
            CGPathAddArc(p, nullptr, x, y, radius, startAngle, endAngle, clockwise != 0);
        });
    }
}

void CGContextAddArcToPoint(const CGContextRef& c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2,
                            CGFloat radius) {
    if (c) {
        c->state().extendPath([&](const CGMutablePathRef& p) {
            CGPathAddArcToPoint(p, nullptr, x1, y1, x2, y2, radius);
        });
    }
}

void CGContextAddRect(const CGContextRef& c, CGRect rect) {
    CGContextAddRects(c, &rect, 1);
}

void CGContextAddRects(const CGContextRef& c, const CGRect* rects, size_t count) {
    if (c) {
        c->state().extendPath(
            [&](const CGMutablePathRef& p) { CGPathAddRects(p, nullptr, rects, count); });
    }
}

void CGContextAddEllipseInRect(const CGContextRef& c, CGRect rect) {
    if (c) {
        c->state().extendPath(
            [&](const CGMutablePathRef& p) { CGPathAddEllipseInRect(p, nullptr, rect); });
    }
}

void CGContextAddPath(const CGContextRef& c, const CGPathRef& path) {
    if (c && path) {
        c->state().extendPath([&](const CGMutablePathRef& p) { CGPathAddPath(p, nullptr, path); });
    }
}

void CGContextClosePath(const CGContextRef& c) {
    if (c && cairo_has_current_point(c->cairo())) {
        cairo_close_path(c->cairo());
    }
}

bool CGContextIsPathEmpty(const CGContextRef& c) {
    return !c || !cairo_has_current_point(c->cairo());
}

CGRect CGContextGetPathBoundingBox(const CGContextRef& c) {
    return c ? CGPathGetBoundingBox(c->state().copyPath()) : CGRectNull;
}

CGPathRef CGContextCopyPath(const CGContextRef& c) {
    return c ? c->state().copyPath() : nullptr;
}

// Painting.

void CGContextDrawPath(const CGContextRef& c, CGPathDrawingMode mode) {
    if (!c) {
        return;
    }
    auto& s = c->state();
    const bool fill = mode != kCGPathStroke;
    const bool evenOdd = mode == kCGPathEOFill || mode == kCGPathEOFillStroke;
    const bool stroke =
        mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke;
    s.paint(s.pathPainter(s.takePath(), fill, evenOdd, stroke));
}

void CGContextFillPath(const CGContextRef& c) {
    CGContextDrawPath(c, kCGPathFill);
}

void CGContextEOFillPath(const CGContextRef& c) {
    CGContextDrawPath(c, kCGPathEOFill);
}

void CGContextStrokePath(const CGContextRef& c) {
    CGContextDrawPath(c, kCGPathStroke);
}

void CGContextFillRect(const CGContextRef& c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    CGContextFillPath(c);
}

void CGContextStrokeRect(const CGContextRef& c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    CGContextStrokePath(c);
}

void CGContextStrokeRectWithWidth(const CGContextRef& c, CGRect rect, CGFloat width) {
    if (!c) {
        return;
    }
    const double previous = cairo_get_line_width(c->cairo());
    CGContextSetLineWidth(c, width);
    CGContextStrokeRect(c, rect);
    cairo_set_line_width(c->cairo(), previous);
}

void CGContextFillEllipseInRect(const CGContextRef& c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddEllipseInRect(c, rect);
    CGContextFillPath(c);
}

void CGContextStrokeEllipseInRect(const CGContextRef& c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddEllipseInRect(c, rect);
    CGContextStrokePath(c);
}

void CGContextClearRect(const CGContextRef& c, CGRect rect) {
    if (!c) {
        return;
    }
    auto& s = c->state();
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    s.paint(s.pathPainter(s.takePath(), true, false, false), kCGBlendModeClear, 1, false);
}

namespace {
// The image as the source of a painting operation (or plain black when only what it
// covers is asked for).
void setImageSource(cairo_t* cr, bool coverage, const CGImageRef& image,
                    const cairo_matrix_t& matrix, cairo_filter_t filter, cairo_extend_t extend) {
    if (coverage) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        return;
    }
    Surface source = imageSurface(image, false);
    Pattern pattern(cairo_pattern_create_for_surface(source.get()));
    cairo_pattern_set_matrix(pattern.get(), &matrix);
    cairo_pattern_set_extend(pattern.get(), extend);
    cairo_pattern_set_filter(pattern.get(), filter);
    cairo_set_source(cr, pattern.get());
}
} // namespace

void CGContextDrawImage(const CGContextRef& c, CGRect rect, const CGImageRef& image) {
    if (!c || CGRectIsEmpty(rect) || !drawable(image)) {
        return;
    }
    auto& s = c->state();
    rect = CGRectStandardize(rect);
    const cairo_matrix_t matrix = imageMatrix(*image, rect);
    const cairo_filter_t filter = cairoFilter(s.gs().interpolation);
    if (image->isMask()) {
        const CGColor fill = s.gs().fill;
        s.paint([&s, &image, matrix, filter, fill](cairo_t* cr, bool coverage) {
            Surface mask = imageSurface(image, true);
            Pattern pattern(cairo_pattern_create_for_surface(mask.get()));
            cairo_pattern_set_matrix(pattern.get(), &matrix);
            cairo_pattern_set_filter(pattern.get(), filter);
            coverage ? cairo_set_source_rgb(cr, 0, 0, 0) : s.applyColor(cr, fill);
            cairo_mask(cr, pattern.get());
        });
        return;
    }
    s.paint([&image, &rect, matrix, filter](cairo_t* cr, bool coverage) {
        // Padding keeps the rectangle's edges sharp when the image is scaled.
        setImageSource(cr, coverage, image, matrix, filter, CAIRO_EXTEND_PAD);
        cairo_new_path(cr);
        cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_fill(cr);
    });
}

void CGContextDrawTiledImage(const CGContextRef& c, CGRect rect, const CGImageRef& image) {
    if (!c || CGRectIsEmpty(rect) || !drawable(image)) {
        return;
    }
    auto& s = c->state();
    rect = CGRectStandardize(rect);
    const cairo_matrix_t matrix = imageMatrix(*image, rect);
    const cairo_filter_t filter = cairoFilter(s.gs().interpolation);
    s.paint([&image, matrix, filter](cairo_t* cr, bool coverage) {
        setImageSource(cr, coverage, image, matrix, filter, CAIRO_EXTEND_REPEAT);
        cairo_paint(cr);
    });
}

void CGContextDrawLinearGradient(const CGContextRef& c, const CGGradientRef& gradient,
                                 CGPoint startPoint, CGPoint endPoint, uint32_t options) {
    if (!c || !gradient || c->state().gs().singular) {
        return;
    }
    auto& s = c->state();
    const double dx = endPoint.x - startPoint.x, dy = endPoint.y - startPoint.y;
    const double length = std::hypot(dx, dy);
    if (length == 0) {
        return;
    }
    // Stretching the axis this many lengths past an end reaches beyond every pixel.
    auto [centre, radius] = s.visibleDisc();
    const double ext =
        (std::hypot(centre.x - startPoint.x, centre.y - startPoint.y) + radius) / length + 1;
    const GradientRun run = CGContext::State::gradientRun(options, ext, ext);
    s.drawGradient([=](bool coverage) {
        Pattern pattern(
            cairo_pattern_create_linear(startPoint.x + run.from * dx, startPoint.y + run.from * dy,
                                        startPoint.x + run.to * dx, startPoint.y + run.to * dy));
        addStops(pattern.get(), *gradient, run, coverage);
        cairo_pattern_set_extend(pattern.get(), run.extend);
        return pattern;
    });
}

void CGContextDrawRadialGradient(const CGContextRef& c, const CGGradientRef& gradient,
                                 CGPoint startCenter, CGFloat startRadius, CGPoint endCenter,
                                 CGFloat endRadius, uint32_t options) {
    if (!c || !gradient || c->state().gs().singular || startRadius < 0 || endRadius < 0) {
        return;
    }
    auto& s = c->state();
    auto [centre, radius] = s.visibleDisc();
    const GradientRun run = CGContext::State::gradientRun(
        options, radialExtension(endCenter, endRadius, startCenter, startRadius, centre, radius),
        radialExtension(startCenter, startRadius, endCenter, endRadius, centre, radius));
    auto circle = [&](double t) {
        return std::array<double, 3>{startCenter.x + t * (endCenter.x - startCenter.x),
                                     startCenter.y + t * (endCenter.y - startCenter.y),
                                     std::max(0.0, startRadius + t * (endRadius - startRadius))};
    };
    const auto from = circle(run.from), to = circle(run.to);
    s.drawGradient([=](bool coverage) {
        Pattern pattern(
            cairo_pattern_create_radial(from[0], from[1], from[2], to[0], to[1], to[2]));
        addStops(pattern.get(), *gradient, run, coverage);
        cairo_pattern_set_extend(pattern.get(), run.extend);
        return pattern;
    });
}

// Clipping.

namespace {
void clipToCurrentPath(const CGContextRef& c, bool evenOdd) {
    if (!c) {
        return;
    }
    cairo_t* cr = c->cairo();
    if (c->state().gs().singular) {
        cairo_new_path(cr);
        return;
    }
    cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
}
} // namespace

void CGContextClip(const CGContextRef& c) {
    clipToCurrentPath(c, false);
}

void CGContextEOClip(const CGContextRef& c) {
    clipToCurrentPath(c, true);
}

void CGContextClipToRect(const CGContextRef& c, CGRect rect) {
    CGContextClipToRects(c, &rect, 1);
}

void CGContextClipToRects(const CGContextRef& c, const CGRect* rects, size_t count) {
    if (!c) {
        return;
    }
    auto& s = c->state();
    CairoPath kept = s.takePath();
    CGContextAddRects(c, rects, count);
    clipToCurrentPath(c, false);
    cairo_append_path(s.cr.get(), kept.get());
}

void CGContextClipToMask(const CGContextRef& c, CGRect rect, const CGImageRef& mask) {
    if (!c || c->state().gs().singular || !drawable(mask)) {
        return;
    }
    auto& s = c->state();
    rect = CGRectStandardize(rect);
    Surface coverage =
        CGRectIsEmpty(rect) ? s.blank(CAIRO_FORMAT_A8) : s.coverageOfMask(rect, mask);
    if (s.gs().softMask) {
        Cairo m(cairo_create(coverage.get()));
        cairo_set_operator(m.get(), CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_surface(m.get(), s.gs().softMask.get(), 0, 0);
        cairo_paint(m.get());
    }
    s.gs().softMask = std::shared_ptr<cairo_surface_t>(coverage.release(), SurfaceDeleter{});
}
