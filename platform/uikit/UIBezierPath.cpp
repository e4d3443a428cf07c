#include "platform/uikit/UIBezierPath.h"

#include "platform/uikit/UIGraphics.h"

#include <algorithm>

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPath() {
    return make<UIBezierPath>();
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRect(CGRect rect) {
    auto path = bezierPath();
    CGPathAddRect(path->path_, nullptr, rect);
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithOvalInRect(CGRect rect) {
    auto path = bezierPath();
    CGPathAddEllipseInRect(path->path_, nullptr, rect);
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRect rect,
                                                                                  CGFloat radius) {
    rect = CGRectStandardize(rect);
    radius = std::clamp(radius, 0.0, std::min(rect.size.width, rect.size.height) / 2);
    auto path = bezierPath();
    CGPathAddRoundedRect(path->path_, nullptr, rect, radius, radius);
    return path;
}

std::shared_ptr<UIBezierPath>
UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(CGRect rect, unsigned corners,
                                                                    CGSize cornerRadii) {
    auto radius = [&](unsigned corner) { return corners & corner ? cornerRadii : CGSizeZero; };
    auto path = bezierPath();
    // In path order from the top left, as y runs down.
    CGPathAddRectWithCornerRadii(path->path_, nullptr, rect,
                                 {radius(UIRectCornerTopLeft), radius(UIRectCornerTopRight),
                                  radius(UIRectCornerBottomRight), radius(UIRectCornerBottomLeft)});
    return path;
}

std::shared_ptr<UIBezierPath>
UIBezierPath::bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
    CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise) {
    auto path = bezierPath();
    path->addArcWithCenterRadiusStartAngleEndAngleClockwise(center, radius, startAngle, endAngle,
                                                            clockwise);
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithCGPath(const CGPathRef& path) {
    auto result = bezierPath();
    CGPathAddPath(result->path_, nullptr, path);
    return result;
}

void UIBezierPath::moveToPoint(CGPoint point) {
    CGPathMoveToPoint(path_, nullptr, point.x, point.y);
}

void UIBezierPath::addLineToPoint(CGPoint point) {
    CGPathAddLineToPoint(path_, nullptr, point.x, point.y);
}

void UIBezierPath::addCurveToPointControlPoint1ControlPoint2(CGPoint endPoint,
                                                             CGPoint controlPoint1,
                                                             CGPoint controlPoint2) {
    CGPathAddCurveToPoint(path_, nullptr, controlPoint1.x, controlPoint1.y, controlPoint2.x,
                          controlPoint2.y, endPoint.x, endPoint.y);
}

void UIBezierPath::addQuadCurveToPointControlPoint(CGPoint endPoint, CGPoint controlPoint) {
    CGPathAddQuadCurveToPoint(path_, nullptr, controlPoint.x, controlPoint.y, endPoint.x,
                              endPoint.y);
}

void UIBezierPath::addArcWithCenterRadiusStartAngleEndAngleClockwise(CGPoint center, CGFloat radius,
                                                                     CGFloat startAngle,
                                                                     CGFloat endAngle,
                                                                     bool clockwise) {
    // With y down, turning clockwise on screen is turning toward increasing angles, which
    // the path functions (y up) call counterclockwise.
    CGPathAddArc(path_, nullptr, center.x, center.y, radius, startAngle, endAngle, !clockwise);
}

void UIBezierPath::closePath() {
    CGPathCloseSubpath(path_);
}

void UIBezierPath::removeAllPoints() {
    path_ = CGPathCreateMutable();
}

void UIBezierPath::appendPath(const std::shared_ptr<UIBezierPath>& path) {
    if (path) {
        CGPathAddPath(path_, nullptr, path->path_);
    }
}

void UIBezierPath::applyTransform(const CGAffineTransform& transform) {
    path_->apply(transform);
}

CGPathRef UIBezierPath::cgPath() const {
    return CGPathCreateCopy(path_);
}

bool UIBezierPath::containsPoint(CGPoint point) const {
    return CGPathContainsPoint(path_, nullptr, point, usesEvenOddFillRule_);
}

void UIBezierPath::draw(bool strokes, std::optional<Blend> blend) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (!c) {
        return;
    }
    CGContextSaveGState(c);
    if (blend) {
        CGContextSetBlendMode(c, blend->mode);
        CGContextSetAlpha(c, blend->alpha);
    }
    CGContextBeginPath(c);
    CGContextAddPath(c, path_);
    if (strokes) {
        CGContextSetLineWidth(c, lineWidth_);
        CGContextSetLineCap(c, lineCapStyle_);
        CGContextSetLineJoin(c, lineJoinStyle_);
        CGContextStrokePath(c);
    } else {
        CGContextDrawPath(c, usesEvenOddFillRule_ ? kCGPathEOFill : kCGPathFill);
    }
    CGContextRestoreGState(c);
}

void UIBezierPath::fill() {
    draw(false, std::nullopt);
}

void UIBezierPath::stroke() {
    draw(true, std::nullopt);
}

void UIBezierPath::fillWithBlendModeAlpha(CGBlendMode blendMode, CGFloat alpha) {
    draw(false, Blend{blendMode, alpha});
}

void UIBezierPath::strokeWithBlendModeAlpha(CGBlendMode blendMode, CGFloat alpha) {
    draw(true, Blend{blendMode, alpha});
}

void UIBezierPath::addClip() {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (!c) {
        return;
    }
    CGContextBeginPath(c);
    CGContextAddPath(c, path_);
    usesEvenOddFillRule_ ? CGContextEOClip(c) : CGContextClip(c);
}
