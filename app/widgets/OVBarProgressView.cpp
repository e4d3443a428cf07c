#include "app/widgets/OVBarProgressView.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;

// The track's pill: half-round ends of radius r, 2 points inside the bounds.
void addTrack(const CGContextRef& c, double w, double h, double r) {
    CGContextMoveToPoint(c, 2, h / 2);
    CGContextAddArcToPoint(c, 2, 2, r + 2, 2, r);
    CGContextAddLineToPoint(c, w - r - 2, 2);
    CGContextAddArcToPoint(c, w - 2, 2, w - 2, h / 2, r);
    CGContextAddArcToPoint(c, w - 2, h - 2, w - r - 2, h - 2, r);
    CGContextAddLineToPoint(c, r + 2, h - 2);
    CGContextAddArcToPoint(c, 2, h - 2, 2, h / 2, r);
}
} // namespace

OVBarProgressView::OVBarProgressView()
    : lineColor_(UIColor::whiteColor()), progressRemainingColor_(UIColor::clearColor()),
      progressColor_(UIColor::whiteColor()) {
    setFrame(CGRectMake(0, 0, 120, 20));
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
}

std::shared_ptr<OVBarProgressView> OVBarProgressView::init() {
    return make<OVBarProgressView>();
}

void OVBarProgressView::setProgress(float progress) {
    progress_ = progress;
    setNeedsDisplay();
}

void OVBarProgressView::setLineColor(std::shared_ptr<UIColor> color) {
    lineColor_ = std::move(color);
    setNeedsDisplay();
}

void OVBarProgressView::setProgressRemainingColor(std::shared_ptr<UIColor> color) {
    progressRemainingColor_ = std::move(color);
    setNeedsDisplay();
}

void OVBarProgressView::setProgressColor(std::shared_ptr<UIColor> color) {
    progressColor_ = std::move(color);
    setNeedsDisplay();
}

void OVBarProgressView::drawRect(const CGRect& rect) {
    auto c = UIGraphicsGetCurrentContext();
    if (!c || !lineColor_ || !progressRemainingColor_ || !progressColor_) {
        return;
    }
    double w = rect.size.width, h = rect.size.height;
    CGContextSetLineWidth(c, 2);
    CGContextSetStrokeColorWithColor(c, lineColor_->cgColor());
    CGContextSetFillColorWithColor(c, progressRemainingColor_->cgColor());
    double r = h / 2 - 2;
    addTrack(c, w, h, r);
    CGContextFillPath(c);
    addTrack(c, w, h, r);
    CGContextStrokePath(c);

    CGContextSetFillColorWithColor(c, progressColor_->cgColor());
    double inner = r - 2;
    double a = progress_ * w;
    if (a >= inner + 4 && a <= w - inner - 4) {
        CGContextMoveToPoint(c, 4, h / 2);
        CGContextAddArcToPoint(c, 4, 4, inner + 4, 4, inner);
        CGContextAddLineToPoint(c, a, 4);
        CGContextAddLineToPoint(c, a, inner + 4);
        CGContextMoveToPoint(c, 4, h / 2);
        CGContextAddArcToPoint(c, 4, h - 4, inner + 4, h - 4, inner);
        CGContextAddLineToPoint(c, a, h - 4);
        CGContextAddLineToPoint(c, a, inner + 4);
        CGContextFillPath(c);
    } else if (a > inner + 4) {
        double x = a - (w - inner - 4);
        double alpha = inner > 0 ? std::acos(x / inner) : 0;
        if (std::isnan(alpha)) {
            alpha = 0;
        }
        CGContextMoveToPoint(c, 4, h / 2);
        CGContextAddArcToPoint(c, 4, 4, inner + 4, 4, inner);
        CGContextAddLineToPoint(c, w - inner - 4, 4);
        CGContextAddArc(c, w - inner - 4, h / 2, inner, kPi, -alpha, 0);
        CGContextAddLineToPoint(c, a, h / 2);
        CGContextMoveToPoint(c, 4, h / 2);
        CGContextAddArcToPoint(c, 4, h - 4, inner + 4, h - 4, inner);
        CGContextAddLineToPoint(c, w - inner - 4, h - 4);
        CGContextAddArc(c, w - inner - 4, h / 2, inner, -kPi, alpha, 1);
        CGContextAddLineToPoint(c, a, h / 2);
        CGContextFillPath(c);
    } else if (a > 0) {
        CGContextMoveToPoint(c, 4, h / 2);
        CGContextAddArcToPoint(c, 4, 4, inner + 4, 4, inner);
        CGContextAddLineToPoint(c, inner + 4, h / 2);
        CGContextMoveToPoint(c, 4, h / 2);
        CGContextAddArcToPoint(c, 4, h - 4, inner + 4, h - 4, inner);
        CGContextAddLineToPoint(c, inner + 4, h / 2);
        CGContextFillPath(c);
    }
}
