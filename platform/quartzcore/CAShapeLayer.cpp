#include "platform/quartzcore/CAShapeLayer.h"

#include "platform/graphics/CGContext.h"

namespace {
CGLineCap lineCapOf(const std::string& name) {
    if (name == kCALineCapRound) {
        return kCGLineCapRound;
    }
    return name == kCALineCapSquare ? kCGLineCapSquare : kCGLineCapButt;
}

CGLineJoin lineJoinOf(const std::string& name) {
    if (name == kCALineJoinRound) {
        return kCGLineJoinRound;
    }
    return name == kCALineJoinBevel ? kCGLineJoinBevel : kCGLineJoinMiter;
}
} // namespace

void CAShapeLayer::drawInContext(const CGContextRef& context) const {
    CALayer::drawInContext(context);
    if (!context || !path_) {
        return;
    }
    if (fillColor_) {
        CGContextAddPath(context, path_);
        CGContextSetFillColorWithColor(context, *fillColor_);
        if (fillRule_ == kCAFillRuleEvenOdd) {
            CGContextEOFillPath(context);
        } else {
            CGContextFillPath(context);
        }
    }
    if (strokeColor_ && lineWidth_ > 0) {
        CGContextAddPath(context, path_);
        CGContextSetStrokeColorWithColor(context, *strokeColor_);
        CGContextSetLineWidth(context, lineWidth_);
        CGContextSetLineCap(context, lineCapOf(lineCap_));
        CGContextSetLineJoin(context, lineJoinOf(lineJoin_));
        CGContextStrokePath(context);
    }
}
