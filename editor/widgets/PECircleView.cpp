#include "editor/widgets/PECircleView.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

PECircleView::PECircleView() : color_(UIColor::blackColor()), borderColor_(UIColor::clearColor()) {
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
}

std::shared_ptr<PECircleView> PECircleView::initWithFrame(const CGRect& frame) {
    auto view = make<PECircleView>();
    view->setFrame(frame);
    return view;
}

void PECircleView::setColor(std::shared_ptr<UIColor> color) {
    if (color != color_) {
        color_ = std::move(color);
        setNeedsDisplay();
    }
}

void PECircleView::setBorderColor(std::shared_ptr<UIColor> color) {
    if (color != borderColor_) {
        borderColor_ = std::move(color);
        setNeedsDisplay();
    }
}

void PECircleView::setBorderWidth(double width) {
    if (width != borderWidth_) {
        borderWidth_ = width;
        setNeedsDisplay();
    }
}

void PECircleView::drawRect(const CGRect&) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const double width = bounds().size.width;
    const double height = bounds().size.height;
    const CGRect ellipse =
        CGRectMake((width - width * radius_) * 0.5, (height - height * radius_) * 0.5,
                   width * radius_, height * radius_);
    if (color_) {
        CGContextSetFillColorWithColor(context, color_->cgColor());
        CGContextFillEllipseInRect(context, ellipse);
    }
    // Stroked whatever the width and colour: nothing shows with a clear or zero outline.
    if (borderColor_) {
        CGContextSetStrokeColorWithColor(context, borderColor_->cgColor());
        CGContextSetLineWidth(context, borderWidth_);
        CGContextStrokeEllipseInRect(context, ellipse);
    }
}
