// How one painting operation of a drawing context reaches the pixels: through the
// operation's alpha and blend mode, under its shadow and within its soft mask, on a cairo
// context whose clip is the drawing context's. Blend modes act within what the operation
// covers only; where cairo's operators would reach beyond it, or alpha, shadow or mask
// stand between, the operation is drawn alone first and combined with the pixels by hand.
#pragma once

#include "platform/graphics/CGColor.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CairoPtr.h"

#include <functional>
#include <optional>

class Compositor {
public:
    // Draws one painting operation on a cairo context whose transform and line style are
    // the drawing context's. With `coverage` it paints the same shape in opaque black, so
    // that the alpha it leaves is how much of each pixel the operation covers.
    using Painter = std::function<void(cairo_t* cr, bool coverage)>;

    // A shadow in device pixels: its offset (y down) and the deviation of its blur.
    struct Shadow {
        double dx = 0;
        double dy = 0;
        double deviation = 0;
        CGColor color;
    };

    struct Operation {
        CGBlendMode mode = kCGBlendModeNormal;
        double alpha = 1;
        // None in Clear mode, whatever is asked.
        std::optional<Shadow> shadow;
        // Coverage (A8, the device's size) multiplied into everything drawn; null for none.
        cairo_surface_t* softMask = nullptr;
    };

    // Composites through `target`, a cairo context drawing on `surface`, an image surface
    // of the device's pixels. Neither is owned.
    Compositor(cairo_t* target, cairo_surface_t* surface);

    void paint(const Painter& painter, const Operation& operation) const;

    // The soft mask clipping to what `painter` draws leaves: its alpha, within `current`
    // when there is one.
    CairoSurfacePtr maskWithin(const Painter& painter, cairo_surface_t* current) const;

private:
    // The general way: the operation drawn alone (layer) and what it covers (coverage).
    void composite(const Painter& painter, const Operation& operation, bool shadowed) const;
    // The shadow of `layer` (premultiplied ARGB of the device's size): its alpha, blurred,
    // moved by the offset and coloured.
    CairoSurfacePtr shadowOf(cairo_surface_t* layer, const Shadow& shadow) const;
    // A transparent scratch surface of the device's size.
    CairoSurfacePtr blank(cairo_format_t format) const;
    // A cairo context on a scratch surface with the target's transform and line style.
    CairoContextPtr drawingOn(cairo_surface_t* scratch) const;

    cairo_t* target_;
    cairo_surface_t* surface_;
    int width_;
    int height_;
};
