#include "editor/tools/clipping/PEGridLayar.h"

#include "platform/uikit/UIColor.h"

bool PEGridLayar::needsDisplayForKey(const std::string& key) const {
    return key == "clippingRect" || CALayer::needsDisplayForKey(key);
}

void PEGridLayar::initWithLayer(const CALayer& layer) {
    CALayer::initWithLayer(layer);
    if (const auto* grid = dynamic_cast<const PEGridLayar*>(&layer)) {
        bgColor_ = grid->bgColor_;
        gridColor_ = grid->gridColor_;
        clippingRect_ = grid->clippingRect_;
    }
}

void PEGridLayar::drawInContext(const CGContextRef& context) const {
    if (!context) {
        return;
    }
    if (bgColor_) {
        CGContextSetFillColorWithColor(context, bgColor_->cgColor());
        CGContextFillRect(context, bounds());
    }
    // The picture shows through the rectangle untinted.
    CGContextClearRect(context, clippingRect_);
    if (!gridColor_) {
        return;
    }
    const CGRect r = clippingRect_;
    CGContextSetStrokeColorWithColor(context, gridColor_->cgColor());
    CGContextSetLineWidth(context, 1);
    CGContextBeginPath(context);
    for (int i = 0; i <= 3; ++i) {
        const double x = r.origin.x + i * r.size.width / 3;
        CGContextMoveToPoint(context, x, CGRectGetMinY(r));
        CGContextAddLineToPoint(context, x, CGRectGetMaxY(r));
        const double y = r.origin.y + i * r.size.height / 3;
        CGContextMoveToPoint(context, CGRectGetMinX(r), y);
        CGContextAddLineToPoint(context, CGRectGetMaxX(r), y);
    }
    CGContextStrokePath(context);
}
