#include "platform/graphics/CGContext.h"

#include "platform/foundation/NSLog.h"
#include "platform/graphics/Compositor.h"
#include "platform/graphics/GradientPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The current path taken out of cairo, shared by the painters that draw it.
using CairoPath = std::shared_ptr<cairo_path_t>;

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
    CGTextDrawingMode textDrawingMode = kCGTextFill;
    CGSize patternPhase;
    Shadow shadow;
    // Device-space coverage (A8) from ClipToMask, multiplied into everything drawn.
    std::shared_ptr<cairo_surface_t> softMask;
};

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
    if (image->width() > CGContext::kMaxSide || image->height() > CGContext::kMaxSide) {
        NSLog("Image of %zu x %zu pixels is too large to draw.", image->width(), image->height());
        return false;
    }
    return true;
}

// A cairo surface showing the image's pixels: shared with the image (kept alive by the
// surface) when cairo can read them as they are, converted otherwise. Grey images become
// RGB; image masks become their coverage (A8) when `asCoverage`.
CairoSurfacePtr imageSurface(const CGImageRef& image, bool asCoverage) {
    const int w = int(image->width()), h = int(image->height());
    const bool wide = image->format() != CGImagePixelFormat::Gray8;
    const cairo_format_t format = !wide ? (asCoverage ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_RGB24)
                                  : image->format() == CGImagePixelFormat::RGB24
                                      ? CAIRO_FORMAT_RGB24
                                      : CAIRO_FORMAT_ARGB32;
    const auto* data = image->data();
    if (wide && image->bytesPerRow() % 4 == 0 && reinterpret_cast<uintptr_t>(data) % 4 == 0) {
        CairoSurfacePtr shared(cairo_image_surface_create_for_data(
            const_cast<unsigned char*>(data), format, w, h, int(image->bytesPerRow())));
        cairo_surface_set_user_data(shared.get(), &kImageKey, new CGImageRef(image),
                                    [](void* p) { delete static_cast<CGImageRef*>(p); });
        return shared;
    }
    CairoSurfacePtr copy(cairo_image_surface_create(format, w, h));
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
    CairoSurfacePtr surface;
    bool mirrored = false;
    double scale = 1;
    bool yUp = true;
    CairoContextPtr cr;
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

    // Sets `color` as the source of `c`. Pattern colours tile from the pattern phase in
    // base space, whatever the current transform.
    void applyColor(cairo_t* c, const CGColor& color) const {
        if (!color.isPattern() || !drawable(color.pattern)) {
            cairo_set_source_rgba(c, color.r, color.g, color.b, color.a);
            return;
        }
        CairoSurfacePtr tile = imageSurface(color.pattern, false);
        if (color.a < 1) {
            CairoSurfacePtr faded(cairo_image_surface_create(
                CAIRO_FORMAT_ARGB32, int(color.pattern->width()), int(color.pattern->height())));
            {
                CairoContextPtr f(cairo_create(faded.get()));
                cairo_set_source_surface(f.get(), tile.get(), 0, 0);
                cairo_paint_with_alpha(f.get(), color.a);
            }
            tile = std::move(faded);
        }
        CairoPatternPtr pattern(cairo_pattern_create_for_surface(tile.get()));
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

    // The shadow in device pixels: offsets and blur are in base space, whose y runs up in
    // a bitmap context; the blur stands for twice the deviation.
    Compositor::Shadow deviceShadow() const {
        const Shadow& shadow = states.back().shadow;
        return {shadow.offset.width * scale,
                (yUp ? -shadow.offset.height : shadow.offset.height) * scale,
                shadow.blur * scale / 2, shadow.color};
    }

    Compositor compositor() const { return Compositor(cr.get(), surface.get()); }

    // Puts a painting operation on the pixels through alpha, blend mode, shadow and soft
    // mask.
    void paint(const Compositor::Painter& painter, CGBlendMode mode, double alpha, bool shadowed) {
        if (gs().singular || cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            return;
        }
        beginDrawing();
        Compositor::Operation operation{mode, alpha, std::nullopt, gs().softMask.get()};
        if (shadowed && gs().shadow.on) {
            operation.shadow = deviceShadow();
        }
        compositor().paint(painter, operation);
        endDrawing();
    }

    void paint(const Compositor::Painter& painter) {
        paint(painter, gs().blendMode, gs().alpha, true);
    }

    // The current path, taken out of cairo (in the current user space).
    CairoPath takePath() {
        CairoPath path(cairo_copy_path(cr.get()), cairo_path_destroy);
        cairo_new_path(cr.get());
        return path;
    }

    Compositor::Painter pathPainter(CairoPath path, bool fill, bool evenOdd, bool stroke) {
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
        CairoPath path(cairo_copy_path(cr.get()), cairo_path_destroy);
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
};

CGContext::CGContext(std::unique_ptr<State> state) : state_(std::move(state)) {}
CGContext::~CGContext() = default;

cairo_t* CGContext::cairo() const {
    return state_->cr.get();
}

double CGContext::deviceScale() const {
    return state_->scale;
}

CGTextDrawingMode CGContext::textDrawingMode() const {
    return state_->gs().textDrawingMode;
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
    if (!CGContext::canHoldPixels(width, height)) {
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

bool CGContext::canHoldPixels(size_t pixelWidth, size_t pixelHeight) {
    // Each side is checked first, so that the product cannot overflow.
    return pixelWidth > 0 && pixelHeight > 0 && pixelWidth <= kMaxSide && pixelHeight <= kMaxSide &&
           pixelWidth * pixelHeight <= kMaxPixels;
}

size_t CGContext::pixelsCovering(double points, double scale) {
    const double pixels = std::ceil(points * scale - 1e-9);
    return pixels >= 1 && pixels <= double(kMaxSide) ? size_t(pixels) : 0;
}

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
    auto pixels = std::make_unique_for_overwrite<uint8_t[]>(rowBytes * s.height);
    for (size_t y = 0; y < s.height; ++y) {
        const uint8_t* row = s.data + y * s.bytesPerRow;
        uint8_t* target = pixels.get() + y * rowBytes;
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
    return CGImage::create(s.width, s.height, format, rowBytes, std::move(pixels),
                           rowBytes * s.height);
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

void CGContextSetTextDrawingMode(const CGContextRef& c, CGTextDrawingMode mode) {
    if (c) {
        c->state().gs().textDrawingMode = mode;
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
    CairoSurfacePtr source = imageSurface(image, false);
    CairoPatternPtr pattern(cairo_pattern_create_for_surface(source.get()));
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
            CairoSurfacePtr mask = imageSurface(image, true);
            CairoPatternPtr pattern(cairo_pattern_create_for_surface(mask.get()));
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
    GradientPainter painter(gradient, options, s.cr.get(), s.width, s.height);
    if (auto linear = painter.linear(startPoint, endPoint)) {
        s.paint(linear);
    }
}

void CGContextDrawRadialGradient(const CGContextRef& c, const CGGradientRef& gradient,
                                 CGPoint startCenter, CGFloat startRadius, CGPoint endCenter,
                                 CGFloat endRadius, uint32_t options) {
    if (!c || !gradient || c->state().gs().singular || startRadius < 0 || endRadius < 0) {
        return;
    }
    auto& s = c->state();
    GradientPainter painter(gradient, options, s.cr.get(), s.width, s.height);
    s.paint(painter.radial(startCenter, startRadius, endCenter, endRadius));
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
    Compositor::Painter drawMask = [](cairo_t*, bool) {};
    if (!CGRectIsEmpty(rect)) {
        const cairo_matrix_t matrix = imageMatrix(*mask, rect);
        const cairo_filter_t filter = cairoFilter(s.gs().interpolation);
        drawMask = [&mask, &rect, matrix, filter](cairo_t* cr, bool) {
            CairoSurfacePtr source = imageSurface(mask, true);
            CairoPatternPtr pattern(cairo_pattern_create_for_surface(source.get()));
            cairo_pattern_set_matrix(pattern.get(), &matrix);
            cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
            cairo_pattern_set_filter(pattern.get(), filter);
            cairo_set_source(cr, pattern.get());
            cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
            cairo_fill(cr);
        };
    }
    s.gs().softMask = std::shared_ptr<cairo_surface_t>(
        s.compositor().maskWithin(drawMask, s.gs().softMask.get()).release(),
        cairo_surface_destroy);
}
