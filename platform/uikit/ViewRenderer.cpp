#include "platform/uikit/ViewRenderer.h"

#include "platform/graphics/CGPath.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cairo.h>

namespace {
// The outline of a layer's bounds with its corner radius.
CGPathRef outline(const CGRect& bounds, double cornerRadius) {
    double radius =
        std::clamp(cornerRadius, 0.0, std::min(bounds.size.width, bounds.size.height) / 2);
    if (radius <= 0) {
        return CGPathCreateWithRect(bounds, nullptr);
    }
    return CGPathCreateWithRoundedRect(bounds, radius, radius, nullptr);
}

bool isVisibleColor(const std::shared_ptr<UIColor>& color) {
    return color && (color->alpha() > 0 || color->patternImage());
}

// The shadow is cast by the layer's shadow path, or else its rounded bounds (not the
// alpha of its content, as the platform's is: a simplification that suits the opaque
// pictures and panels that have shadows here), and shows only outside that shape.
void paintShadow(const CALayer& layer, const CGRect& bounds, const CGContextRef& context) {
    CGPathRef shape =
        layer.shadowPath() ? layer.shadowPath() : outline(bounds, layer.cornerRadius());
    CGRect box = CGPathGetBoundingBox(shape);
    double reach = layer.shadowRadius() * 3 + std::abs(layer.shadowOffset().width) +
                   std::abs(layer.shadowOffset().height) + 1;
    CGContextSaveGState(context);
    CGContextAddRect(context, CGRectInset(box, -reach, -reach));
    CGContextAddPath(context, shape);
    CGContextEOClip(context);
    CGColor color = CGColorCreateCopyWithAlpha(layer.shadowColor(),
                                               layer.shadowColor().a * layer.shadowOpacity());
    // A layer's shadow radius is the blur's standard deviation doubled, as the context's
    // blur parameter is.
    CGContextSetShadowWithColor(context, layer.shadowOffset(), layer.shadowRadius(), color);
    CGContextSetFillColorWithColor(context, CGColorMake(0, 0, 0, 1));
    CGContextAddPath(context, shape);
    CGContextFillPath(context);
    CGContextRestoreGState(context);
}

// Moves into coordinates that `transform` turns about their point `anchor`, placed at
// `centre` of the current ones.
void enterTurnedAbout(const CGContextRef& context, const CGPoint& centre,
                      const CGAffineTransform& transform, const CGPoint& anchor) {
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextConcatCTM(context, transform);
    CGContextTranslateCTM(context, -anchor.x, -anchor.y);
}

void paintLayerTree(const CALayer& layer, const CGContextRef& context) {
    if (layer.isHidden() || layer.opacity() <= 0) {
        return;
    }
    CGContextSaveGState(context);
    // The transform turns the layer about its centre; a flat drawing shows its affine part.
    const CGRect frame = layer.frame();
    enterTurnedAbout(context, CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)),
                     CATransform3DGetAffineTransform(layer.transform()),
                     CGPointMake(frame.size.width / 2, frame.size.height / 2));
    CGContextSetAlpha(context, layer.opacity());
    if (layer.masksToBounds()) {
        CGContextAddPath(context, outline(layer.bounds(), layer.cornerRadius()));
        CGContextClip(context);
    }
    // The content paints apart, as into a backing of its own, so that what it clears
    // clears only its own paint; while an animation of what it draws from runs, its
    // presentation copy paints.
    cairo_t* cr = context->cairo();
    cairo_push_group(cr);
    layer.presentationLayer()->drawInContext(context);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    for (const auto& sublayer : layer.sublayers()) {
        paintLayerTree(*sublayer, context);
    }
    CGContextRestoreGState(context);
}

void paintBorder(const CALayer& layer, const CGRect& bounds, const CGContextRef& context) {
    double width = layer.borderWidth();
    if (width <= 0) {
        return;
    }
    CGRect inset = CGRectInset(bounds, width / 2, width / 2);
    CGContextSaveGState(context);
    CGContextAddPath(context, outline(inset, std::max(0.0, layer.cornerRadius() - width / 2)));
    CGContextSetStrokeColorWithColor(context, layer.borderColor());
    CGContextSetLineWidth(context, width);
    CGContextStrokePath(context);
    CGContextRestoreGState(context);
}

void paintView(const UIView& view, const CGContextRef& context);

// Moves from the superview's coordinates into the subview's bounds coordinates.
void enterSubview(const UIView& subview, const CGContextRef& context) {
    const CGRect bounds = subview.bounds();
    enterTurnedAbout(context, subview.center(), subview.transform(),
                     CGPointMake(bounds.size.width / 2 + bounds.origin.x,
                                 bounds.size.height / 2 + bounds.origin.y));
}

void paintContent(const UIView& view, const CALayer& layer, const CGContextRef& context) {
    CGRect bounds = view.bounds();
    CGRect area =
        CGRectMake(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height);
    if (view.clipsToBounds() || layer.masksToBounds()) {
        CGContextAddPath(context, outline(area, layer.cornerRadius()));
        CGContextClip(context);
    }
    if (isVisibleColor(view.backgroundColor())) {
        CGContextSaveGState(context);
        CGContextAddPath(context, outline(area, layer.cornerRadius()));
        CGContextSetFillColorWithColor(context, view.backgroundColor()->cgColor());
        CGContextFillPath(context);
        CGContextRestoreGState(context);
    }
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, bounds.origin.x, bounds.origin.y);
    layer.presentationLayer()->drawInContext(context);
    UIGraphicsPushContext(context);
    const_cast<UIView&>(view).drawRect(CGRectMake(0, 0, bounds.size.width, bounds.size.height));
    UIGraphicsPopContext();
    for (const auto& sublayer : layer.sublayers()) {
        paintLayerTree(*sublayer, context);
    }
    CGContextRestoreGState(context);
    for (const auto& subview : view.subviews()) {
        CGContextSaveGState(context);
        enterSubview(*subview, context);
        paintView(*subview, context);
        CGContextRestoreGState(context);
    }
    paintBorder(layer, area, context);
}

void paintView(const UIView& view, const CGContextRef& context) {
    if (view.isHidden() || view.alpha() < 0.01) {
        return;
    }
    auto layer = view.layer();
    bool shadowed = layer->shadowOpacity() > 0;
    bool translucent = view.alpha() < 1;
    auto mask = layer->mask();
    if (!translucent && !mask) {
        if (shadowed) {
            paintShadow(*layer, view.bounds(), context);
        }
        CGContextSaveGState(context);
        paintContent(view, *layer, context);
        CGContextRestoreGState(context);
        return;
    }
    // Alpha and masks apply to the view, its shadow and its subviews as one picture.
    cairo_t* cr = context->cairo();
    CGContextSaveGState(context);
    cairo_push_group(cr);
    if (shadowed) {
        paintShadow(*layer, view.bounds(), context);
    }
    paintContent(view, *layer, context);
    if (mask) {
        cairo_pattern_t* content = cairo_pop_group(cr);
        cairo_push_group(cr);
        CGContextSaveGState(context);
        CGContextTranslateCTM(context, view.bounds().origin.x, view.bounds().origin.y);
        paintLayerTree(*mask, context);
        CGContextRestoreGState(context);
        cairo_pattern_t* shape = cairo_pop_group(cr);
        cairo_push_group(cr);
        cairo_set_source(cr, content);
        cairo_mask(cr, shape);
        cairo_pattern_destroy(shape);
        cairo_pattern_destroy(content);
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, view.alpha());
    CGContextRestoreGState(context);
}
} // namespace

void ViewRenderer::renderInContext(const UIView& view, const CGContextRef& context) {
    UIView::requireMainThread("ViewRenderer::renderInContext");
    if (context) {
        paintView(view, context);
    }
}

std::shared_ptr<UIImage> ViewRenderer::snapshotWindow(const UIWindow& window, double scale) {
    UIView::requireMainThread("ViewRenderer::snapshotWindow");
    // As before every frame the screen shows, pending layout is done first.
    const_cast<UIWindow&>(window).layoutIfNeeded();
    CGRect bounds = window.bounds();
    UIGraphicsBeginImageContextWithOptions(bounds.size, true, scale);
    auto context = UIGraphicsGetCurrentContext();
    if (!context) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    // What no view covers shows as the screen's black.
    CGContextSetFillColorWithColor(context, CGColorMake(0, 0, 0, 1));
    CGContextFillRect(context, CGRectMake(0, 0, bounds.size.width, bounds.size.height));
    CGContextTranslateCTM(context, -bounds.origin.x, -bounds.origin.y);
    paintView(window, context);
    // The keyboard stands over the key window (which covers the screen), where the screen
    // shows it.
    if (window.isKeyWindow()) {
        UIKeyboard::shared().drawInContext(context);
    }
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}
