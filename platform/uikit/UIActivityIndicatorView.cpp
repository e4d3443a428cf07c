#include "platform/uikit/UIActivityIndicatorView.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int kSpokes = 12;
}

std::shared_ptr<UIActivityIndicatorView>
UIActivityIndicatorView::initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style) {
    auto view = make<UIActivityIndicatorView>();
    view->style_ = style;
    view->color_ =
        style == UIActivityIndicatorViewStyle::Gray ? UIColor::grayColor() : UIColor::whiteColor();
    CGSize size = view->sizeThatFits(CGSizeZero);
    view->setFrame(CGRectMake(0, 0, size.width, size.height));
    view->setOpaque(false);
    view->setHidden(true);
    return view;
}

void UIActivityIndicatorView::setColor(std::shared_ptr<UIColor> color) {
    color_ = std::move(color);
    setNeedsDisplay();
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!animating_) {
        setHidden(hides);
    }
}

void UIActivityIndicatorView::startAnimating() {
    animating_ = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    animating_ = false;
    if (hidesWhenStopped_) {
        setHidden(true);
    }
}

CGSize UIActivityIndicatorView::sizeThatFits(const CGSize&) const {
    return style_ == UIActivityIndicatorViewStyle::WhiteLarge ? CGSizeMake(37, 37)
                                                              : CGSizeMake(20, 20);
}

void UIActivityIndicatorView::drawRect(const CGRect& rect) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context || !color_) {
        return;
    }
    double radius = std::min(rect.size.width, rect.size.height) / 2;
    double inner = radius * 0.45;
    double width = std::max(2.0, radius * 0.22);
    CGPoint center = CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect));
    CGContextSetLineWidth(context, width);
    CGContextSetLineCap(context, kCGLineCapRound);
    for (int i = 0; i < kSpokes; ++i) {
        double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / kSpokes;
        // The spoke at the top is the brightest; the tail fades behind it.
        double fade = 1.0 - 0.75 * static_cast<double>((kSpokes - i) % kSpokes) / kSpokes;
        CGContextSetStrokeColorWithColor(
            context, color_->colorWithAlphaComponent(color_->alpha() * fade)->cgColor());
        CGContextMoveToPoint(context, center.x + std::cos(angle) * inner,
                             center.y + std::sin(angle) * inner);
        CGContextAddLineToPoint(context, center.x + std::cos(angle) * (radius - width / 2),
                                center.y + std::sin(angle) * (radius - width / 2));
        CGContextStrokePath(context);
    }
}
