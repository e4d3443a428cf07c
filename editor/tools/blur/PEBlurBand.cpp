#include "editor/tools/blur/PEBlurBand.h"

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

#include <cmath>

std::shared_ptr<PEBlurBand> PEBlurBand::initWithFrame(const CGRect& frame) {
    auto band = make<PEBlurBand>();
    band->UIView::setFrame(frame);
    return band;
}

void PEBlurBand::setFrame(const CGRect& frame) {
    UIView::setFrame(frame);
    showOutline();
}

void PEBlurBand::setCenter(const CGPoint& center) {
    UIView::setCenter(center);
    showOutline();
}

void PEBlurBand::setTransform(const CGAffineTransform& transform) {
    UIView::setTransform(transform);
    showOutline();
}

void PEBlurBand::setRotation(double rotation) {
    rotation_ = rotation;
    calcTransform();
}

void PEBlurBand::setScale(double scale) {
    scale_ = scale;
    calcTransform();
}

void PEBlurBand::setOffset(double offset) {
    offset_ = offset;
    calcTransform();
}

void PEBlurBand::calcTransform() {
    CGAffineTransform transform = CGAffineTransformIdentity;
    transform = CGAffineTransformTranslate(transform, -offset_ * std::sin(rotation_),
                                           offset_ * std::cos(rotation_));
    transform = CGAffineTransformRotate(transform, rotation_);
    transform = CGAffineTransformScale(transform, 1, scale_);
    setTransform(transform);
}

void PEBlurBand::showOutline() {
    fade_.showThenFade(*this);
}

void PEBlurBand::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context || !color_) {
        return;
    }
    const CGRect bounds = this->bounds();
    // The view is scaled vertically by the band's scale: a thinner pen keeps the edges one
    // point thick on screen.
    CGContextSetLineWidth(context, 1 / scale_);
    CGContextSetStrokeColorWithColor(context, color_->cgColor());
    CGContextStrokeRect(context, CGRectMake(bounds.origin.x, 0.3 * bounds.size.height,
                                            bounds.size.width, 0.4 * bounds.size.height));
}
