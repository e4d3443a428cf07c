#include "app/widgets/OVRoundProgressView.h"

#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"

#include <numbers>

namespace {
constexpr double kPi = std::numbers::pi;
// The ring's line: the thin modern one.
constexpr double kRingWidth = 2;
} // namespace

OVRoundProgressView::OVRoundProgressView()
    : progressTintColor_(UIColor::colorWithWhiteAlpha(1, 1)),
      backgroundTintColor_(UIColor::colorWithWhiteAlpha(1, 0.1)) {
    setFrame(CGRectMake(0, 0, 37, 37));
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
}

std::shared_ptr<OVRoundProgressView> OVRoundProgressView::init() {
    return make<OVRoundProgressView>();
}

void OVRoundProgressView::setProgress(float progress) {
    progress_ = progress;
    setNeedsDisplay();
}

void OVRoundProgressView::setProgressTintColor(std::shared_ptr<UIColor> color) {
    progressTintColor_ = std::move(color);
    setNeedsDisplay();
}

void OVRoundProgressView::setBackgroundTintColor(std::shared_ptr<UIColor> color) {
    backgroundTintColor_ = std::move(color);
    setNeedsDisplay();
}

void OVRoundProgressView::setAnnular(bool annular) {
    annular_ = annular;
    setNeedsDisplay();
}

void OVRoundProgressView::drawRect(const CGRect&) {
    auto context = UIGraphicsGetCurrentContext();
    if (!context || !progressTintColor_ || !backgroundTintColor_) {
        return;
    }
    CGRect all = bounds();
    double w = all.size.width, h = all.size.height;
    CGPoint center = CGPointMake(w / 2, h / 2);
    double start = -kPi / 2;
    double end = progress_ * 2 * kPi + start;
    if (annular_) {
        // Paths in screen terms: clockwise is clockwise as seen.
        double radius = (w - kRingWidth) / 2;
        auto ring = UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
            center, radius, start, 2 * kPi + start, true);
        ring->setLineWidth(kRingWidth);
        ring->setLineCapStyle(kCGLineCapButt);
        CGContextSetStrokeColorWithColor(context, backgroundTintColor_->cgColor());
        ring->stroke();
        auto arc = UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
            center, radius, start, end, true);
        arc->setLineWidth(kRingWidth);
        arc->setLineCapStyle(kCGLineCapSquare);
        CGContextSetStrokeColorWithColor(context, progressTintColor_->cgColor());
        arc->stroke();
        return;
    }
    CGRect circle = CGRectInset(all, 2, 2);
    CGContextSetStrokeColorWithColor(context, progressTintColor_->cgColor());
    CGContextSetFillColorWithColor(context, backgroundTintColor_->cgColor());
    CGContextSetLineWidth(context, 2);
    CGContextFillEllipseInRect(context, circle);
    CGContextStrokeEllipseInRect(context, circle);
    CGContextSetFillColorWithColor(context, progressTintColor_->cgColor());
    CGContextMoveToPoint(context, center.x, center.y);
    CGContextAddArc(context, center.x, center.y, (w - 4) / 2, start, end, 0);
    CGContextClosePath(context);
    CGContextFillPath(context);
}
