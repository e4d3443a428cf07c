#include "editor/tools/tonecurve/PEControlPoint.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

std::shared_ptr<PEControlPoint> PEControlPoint::initWithFrame(const CGRect& frame) {
    auto point = make<PEControlPoint>();
    point->setFrame(frame);
    return point;
}

void PEControlPoint::setControlPoint(CIVectorPtr point) {
    if (point == controlPoint_) {
        return;
    }
    controlPoint_ = std::move(point);
    if (controlPoint_) {
        setCenter(CGPointMake(layoutFrame_.origin.x + controlPoint_->X() * layoutFrame_.size.width,
                              layoutFrame_.origin.y +
                                  (1 - controlPoint_->Y()) * layoutFrame_.size.height));
    }
}

void PEControlPoint::setBgColor(std::shared_ptr<UIColor> color) {
    bgColor_ = std::move(color);
    setNeedsDisplay();
}

void PEControlPoint::drawRect(const CGRect&) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !bgColor_) {
        return;
    }
    const double w = bounds().size.width, h = bounds().size.height;
    CGContextSetFillColorWithColor(context, bgColor_->cgColor());
    CGContextAddEllipseInRect(context, CGRectMake(w / 2 - w / 6, h / 2 - h / 6, w / 3, h / 3));
    CGContextFillPath(context);
}
