#include "editor/widgets/_PEHueCircleView.h"

#include "editor/widgets/PECircleView.h"
#include "platform/graphics/CGContext.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UITapGestureRecognizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kMarkerSide = 40;
constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;
} // namespace

std::shared_ptr<_PEHueCircleView> _PEHueCircleView::initWithFrame(const CGRect& frame) {
    auto view = make<_PEHueCircleView>();
    view->setFrame(frame);
    view->commonInit();
    return view;
}

void _PEHueCircleView::commonInit() {
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
    circleView_ = PECircleView::initWithFrame(CGRectMake(0, 0, kMarkerSide, kMarkerSide));
    circleView_->setRadius(0.6);
    circleView_->setBorderColor(UIColor::colorWithWhiteAlpha(0.2, 1));
    circleView_->setBorderWidth(3);
    circleView_->setColor(UIColor::blackColor());
    const double width = frame().size.width;
    circleView_->setCenter(CGPointMake(width * 0.5, width * 0.5));
    addSubview(circleView_);
    const auto target = self<_PEHueCircleView>();
    circleView_->addGestureRecognizer(UIPanGestureRecognizer::initWithTargetAction(
        target, [this](UIGestureRecognizer& pan) { fingerDidMove(pan); }));
    addGestureRecognizer(UITapGestureRecognizer::initWithTargetAction(
        target, [this](UIGestureRecognizer& tap) { fingerDidMove(tap); }));
}

CGPoint _PEHueCircleView::wheelCenter() const {
    return CGPointMake(bounds().size.width * 0.5, bounds().size.height * 0.5);
}

double _PEHueCircleView::circleRadius() const {
    return std::min(frame().size.width, frame().size.height) * 0.8 * 0.5;
}

double _PEHueCircleView::hue() const {
    const CGPoint c = wheelCenter();
    const CGPoint marker = circleView_->center();
    const float angle = std::atan2(float(marker.y - c.y), float(marker.x - c.x));
    return angle > 0 ? angle / kTwoPi : angle / kTwoPi + 1;
}

double _PEHueCircleView::brightness() const {
    const CGPoint c = wheelCenter();
    const CGPoint marker = circleView_->center();
    const float dx = float(marker.x - c.x);
    const float dy = float(marker.y - c.y);
    const double radius = circleRadius();
    return radius > 0 ? std::min(1.0, double(std::sqrt(dx * dx + dy * dy)) / radius) : 0;
}

std::shared_ptr<UIColor> _PEHueCircleView::color() const {
    return circleView_->color();
}

void _PEHueCircleView::setColor(const std::shared_ptr<UIColor>& color) {
    if (!color) {
        return;
    }
    double h = 0, s = 0, b = 0, a = 0, white = 0;
    if (color->getHueSaturationBrightnessAlpha(&h, &s, &b, &a)) {
        setColorWithHueSaturationBrightnessAlpha(h, s, b, a);
    } else if (color->getWhiteAlpha(&white, &a)) {
        setColorWithHueSaturationBrightnessAlpha(0, 0, white, a);
    } else {
        return;
    }
    setNeedsDisplay();
}

void _PEHueCircleView::setColorWithHueSaturationBrightnessAlpha(double hue, double saturation,
                                                                double brightness, double alpha) {
    saturation_ = brightness == 0 ? 1.0 : saturation;
    alpha_ = alpha;
    const CGPoint c = wheelCenter();
    const double distance = circleRadius() * brightness;
    const float angle = kTwoPi * float(hue);
    circleView_->setCenter(
        CGPointMake(c.x + distance * std::cos(angle), c.y + distance * std::sin(angle)));
    colorStateDidChange();
}

void _PEHueCircleView::setColorSaturation(double saturation) {
    saturation_ = saturation;
    setNeedsDisplay();
    colorStateDidChange();
}

void _PEHueCircleView::setColorAlpha(double alpha) {
    alpha_ = alpha;
    setNeedsDisplay();
    colorStateDidChange();
}

void _PEHueCircleView::setCircleViewToPoint(const CGPoint& point) {
    const CGPoint c = wheelCenter();
    const float dx = float(point.x - c.x);
    const float dy = float(point.y - c.y);
    const float angle = std::atan2(dy, dx);
    const float distance = std::min(float(circleRadius()), std::sqrt(dx * dx + dy * dy));
    circleView_->setCenter(
        CGPointMake(c.x + distance * std::cos(angle), c.y + distance * std::sin(angle)));
    colorStateDidChange();
}

void _PEHueCircleView::fingerDidMove(UIGestureRecognizer& recognizer) {
    setCircleViewToPoint(recognizer.locationInView(this));
}

void _PEHueCircleView::colorStateDidChange() {
    circleView_->setColor(
        UIColor::colorWithHueSaturationBrightnessAlpha(hue(), saturation_, brightness(), alpha_));
    if (const auto delegate = delegate_.lock()) {
        delegate->hueCircleViewDidChange(*this);
    }
}

void _PEHueCircleView::drawRect(const CGRect&) {
    const CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    const CGPoint c = wheelCenter();
    const double radius = circleRadius();
    CGContextSetLineWidth(context, 0.1 * radius);
    const double turn = 2 * std::numbers::pi;
    for (int k = 0; k < kRingSegments; ++k) {
        const auto hue = UIColor::colorWithHueSaturationBrightnessAlpha(double(k) / kRingSegments,
                                                                        saturation_, 1.0, 1.0);
        CGContextSetStrokeColorWithColor(context, hue->cgColor());
        CGContextBeginPath(context);
        CGContextAddArc(context, c.x, c.y, radius, turn * k / kRingSegments,
                        turn * (k + 1.5) / kRingSegments, 0);
        CGContextStrokePath(context);
    }
}
