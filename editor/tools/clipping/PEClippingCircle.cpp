#include "editor/tools/clipping/PEClippingCircle.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

std::shared_ptr<PEClippingCircle> PEClippingCircle::initWithFrame(const CGRect& frame) {
    auto circle = make<PEClippingCircle>();
    circle->setFrame(frame);
    return circle;
}

void PEClippingCircle::setBgColor(std::shared_ptr<UIColor> color) {
    bgColor_ = std::move(color);
    setNeedsDisplay();
}

void PEClippingCircle::drawRect(const CGRect& rect) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !bgColor_) {
        return;
    }
    const double w = rect.size.width / 3, h = rect.size.height / 3;
    CGContextSetFillColorWithColor(context, bgColor_->cgColor());
    CGContextFillEllipseInRect(context, CGRectMake(rect.origin.x + w, rect.origin.y + h, w, h));
}
