#include "platform/graphics/Compositor.h"

#include "platform/graphics/GaussianBlur.h"

#include <vector>

namespace {

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

// Multiplies the alpha of `surface` (and its colour with it) by the coverage in `mask`.
void multiplyByMask(cairo_surface_t* surface, cairo_surface_t* mask) {
    CairoContextPtr m(cairo_create(surface));
    cairo_set_operator(m.get(), CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_surface(m.get(), mask, 0, 0);
    cairo_paint(m.get());
}

// The pixels of an ARGB image surface, as the convolutions take them.
vImage_Buffer pixelsOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    return {cairo_image_surface_get_data(surface), size_t(cairo_image_surface_get_height(surface)),
            size_t(cairo_image_surface_get_width(surface)),
            size_t(cairo_image_surface_get_stride(surface))};
}

} // namespace

Compositor::Compositor(cairo_t* target, cairo_surface_t* surface)
    : target_(target), surface_(surface), width_(cairo_image_surface_get_width(surface)),
      height_(cairo_image_surface_get_height(surface)) {}

void Compositor::paint(const Painter& painter, const Operation& operation) const {
    const CGBlendMode mode = operation.mode;
    const double alpha = operation.alpha;
    const bool shadowed = operation.shadow && mode != kCGBlendModeClear;
    const bool direct = !shadowed && !operation.softMask && !unboundedInCairo(mode) &&
                        (alpha >= 1 || !replacesDestination(mode));
    cairo_t* c = target_;
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
        composite(painter, operation, shadowed);
    }
    cairo_restore(c);
}

void Compositor::composite(const Painter& painter, const Operation& operation,
                           bool shadowed) const {
    const CGBlendMode mode = operation.mode;
    const double alpha = operation.alpha;
    CairoSurfacePtr layer;
    if (mode != kCGBlendModeClear) {
        layer = blank(CAIRO_FORMAT_ARGB32);
        painter(drawingOn(layer.get()).get(), false);
    }
    CairoSurfacePtr coverage;
    if (replacesDestination(mode)) {
        coverage = blank(CAIRO_FORMAT_A8);
        painter(drawingOn(coverage.get()).get(), true);
    }
    if (shadowed) {
        CairoSurfacePtr shade = shadowOf(layer.get(), *operation.shadow);
        CairoContextPtr s(cairo_create(shade.get()));
        cairo_set_source_surface(s.get(), layer.get(), 0, 0);
        cairo_paint(s.get());
        if (coverage) {
            CairoContextPtr m(cairo_create(coverage.get()));
            cairo_set_operator(m.get(), CAIRO_OPERATOR_DEST_OVER);
            cairo_set_source_surface(m.get(), shade.get(), 0, 0);
            cairo_paint(m.get());
        }
        layer = std::move(shade);
    }
    for (cairo_surface_t* s : {layer.get(), coverage.get()}) {
        if (s && operation.softMask) {
            multiplyByMask(s, operation.softMask);
        }
    }
    cairo_t* c = target_;
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
        CairoContextPtr x(cairo_create(layer.get()));
        cairo_set_operator(x.get(), CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_surface(x.get(), surface_, 0, 0);
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
        CairoSurfacePtr keep = blank(CAIRO_FORMAT_A8);
        CairoContextPtr k(cairo_create(keep.get()));
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

CairoSurfacePtr Compositor::shadowOf(cairo_surface_t* layer, const Shadow& shadow) const {
    // Only the blurred alpha counts: it masks the shadow's colour.
    CairoSurfacePtr blurred = blank(CAIRO_FORMAT_ARGB32);
    GaussianBlur(shadow.deviation).blur(pixelsOf(layer), pixelsOf(blurred.get()));
    cairo_surface_mark_dirty(blurred.get());
    CairoSurfacePtr shade = blank(CAIRO_FORMAT_ARGB32);
    CairoContextPtr c(cairo_create(shade.get()));
    cairo_set_source_rgba(c.get(), shadow.color.r, shadow.color.g, shadow.color.b, shadow.color.a);
    cairo_mask_surface(c.get(), blurred.get(), shadow.dx, shadow.dy);
    return shade;
}

CairoSurfacePtr Compositor::maskWithin(const Painter& painter, cairo_surface_t* current) const {
    CairoSurfacePtr mask = blank(CAIRO_FORMAT_A8);
    painter(drawingOn(mask.get()).get(), false);
    if (current) {
        multiplyByMask(mask.get(), current);
    }
    return mask;
}

CairoSurfacePtr Compositor::blank(cairo_format_t format) const {
    return CairoSurfacePtr(cairo_image_surface_create(format, width_, height_));
}

CairoContextPtr Compositor::drawingOn(cairo_surface_t* scratch) const {
    CairoContextPtr c(cairo_create(scratch));
    cairo_matrix_t m;
    cairo_get_matrix(target_, &m);
    cairo_set_matrix(c.get(), &m);
    cairo_set_line_width(c.get(), cairo_get_line_width(target_));
    cairo_set_line_cap(c.get(), cairo_get_line_cap(target_));
    cairo_set_line_join(c.get(), cairo_get_line_join(target_));
    cairo_set_miter_limit(c.get(), cairo_get_miter_limit(target_));
    cairo_set_antialias(c.get(), cairo_get_antialias(target_));
    cairo_set_tolerance(c.get(), cairo_get_tolerance(target_));
    std::vector<double> dashes(size_t(cairo_get_dash_count(target_)));
    double offset = 0;
    cairo_get_dash(target_, dashes.data(), &offset);
    cairo_set_dash(c.get(), dashes.data(), int(dashes.size()), offset);
    return c;
}
