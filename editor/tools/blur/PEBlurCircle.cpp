#include "editor/tools/blur/PEBlurCircle.h"

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

std::shared_ptr<PEBlurCircle> PEBlurCircle::initWithFrame(const CGRect& frame) {
    auto circle = make<PEBlurCircle>();
    circle->UIView::setFrame(frame);
    return circle;
}

void PEBlurCircle::setFrame(const CGRect& frame) {
    UIView::setFrame(frame);
    showOutline();
}

void PEBlurCircle::setCenter(const CGPoint& center) {
    UIView::setCenter(center);
    showOutline();
}

void PEBlurCircle::showOutline() {
    fade_.showThenFade(*this);
}

void PEBlurCircle::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context || !color_) {
        return;
    }
    const CGSize size = bounds().size;
    CGContextSetStrokeColorWithColor(context, color_->cgColor());
    CGContextStrokeEllipseInRect(
        context, CGRectMake(0.35 * size.width, 0.35 * size.height, 0.3 * size.width, 0.3 * size.height));
}
