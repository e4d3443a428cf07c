// A path with its own line style that draws itself into the current UIKit context: the
// shapes views fill, stroke and clip with. Coordinates are UIKit's (y down), so an arc
// drawn "clockwise" turns clockwise on screen.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGPath.h"

#include <memory>
#include <optional>

enum UIRectCorner : unsigned {
    UIRectCornerTopLeft = 1 << 0,
    UIRectCornerTopRight = 1 << 1,
    UIRectCornerBottomLeft = 1 << 2,
    UIRectCornerBottomRight = 1 << 3,
    UIRectCornerAllCorners = ~0u,
};

class UIBezierPath : public NSObject {
    NS_OBJECT(UIBezierPath)
public:
    static std::shared_ptr<UIBezierPath> bezierPath();
    static std::shared_ptr<UIBezierPath> bezierPathWithRect(CGRect rect);
    static std::shared_ptr<UIBezierPath> bezierPathWithOvalInRect(CGRect rect);
    // The radius is clamped to half the shorter side.
    static std::shared_ptr<UIBezierPath> bezierPathWithRoundedRectCornerRadius(CGRect rect,
                                                                               CGFloat radius);
    // Only the given corners are rounded; radii are clamped to half the width and height.
    static std::shared_ptr<UIBezierPath>
    bezierPathWithRoundedRectByRoundingCornersCornerRadii(CGRect rect, unsigned corners,
                                                          CGSize cornerRadii);
    static std::shared_ptr<UIBezierPath> bezierPathWithArcCenterRadiusStartAngleEndAngleClockwise(
        CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
    static std::shared_ptr<UIBezierPath> bezierPathWithCGPath(const CGPathRef& path);

    // Building; a line or curve without a current point is refused with a log line.
    void moveToPoint(CGPoint point);
    void addLineToPoint(CGPoint point);
    void addCurveToPointControlPoint1ControlPoint2(CGPoint endPoint, CGPoint controlPoint1,
                                                   CGPoint controlPoint2);
    void addQuadCurveToPointControlPoint(CGPoint endPoint, CGPoint controlPoint);
    void addArcWithCenterRadiusStartAngleEndAngleClockwise(CGPoint center, CGFloat radius,
                                                           CGFloat startAngle, CGFloat endAngle,
                                                           bool clockwise);
    void closePath();
    void removeAllPoints();
    void appendPath(const std::shared_ptr<UIBezierPath>& path);
    void applyTransform(const CGAffineTransform& transform);

    // A snapshot: later changes to this path do not show in it.
    CGPathRef cgPath() const;
    // Control points included; CGRectNull for an empty path.
    CGRect bounds() const { return CGPathGetBoundingBox(path_); }
    bool isEmpty() const { return path_->isEmpty(); }
    CGPoint currentPoint() const { return CGPathGetCurrentPoint(path_); }
    // By the non-zero rule, or even-odd when usesEvenOddFillRule.
    bool containsPoint(CGPoint point) const;

    bool usesEvenOddFillRule() const { return usesEvenOddFillRule_; }
    void setUsesEvenOddFillRule(bool value) { usesEvenOddFillRule_ = value; }
    CGFloat lineWidth() const { return lineWidth_; }
    void setLineWidth(CGFloat width) { lineWidth_ = width; }
    CGLineCap lineCapStyle() const { return lineCapStyle_; }
    void setLineCapStyle(CGLineCap cap) { lineCapStyle_ = cap; }
    CGLineJoin lineJoinStyle() const { return lineJoinStyle_; }
    void setLineJoinStyle(CGLineJoin join) { lineJoinStyle_ = join; }

    // Drawing into UIGraphicsGetCurrentContext() (nothing without one), with the
    // context's colours; its state is left as it was, except the current path.
    void fill();
    void stroke();
    void fillWithBlendModeAlpha(CGBlendMode blendMode, CGFloat alpha);
    void strokeWithBlendModeAlpha(CGBlendMode blendMode, CGFloat alpha);
    // Intersects the current context's clip with the path's inside.
    void addClip();

private:
    UIBezierPath() = default;
    struct Blend {
        CGBlendMode mode;
        CGFloat alpha;
    };
    void draw(bool strokes, std::optional<Blend> blend);

    CGMutablePathRef path_ = CGPathCreateMutable();
    bool usesEvenOddFillRule_ = false;
    CGFloat lineWidth_ = 1;
    CGLineCap lineCapStyle_ = kCGLineCapButt;
    CGLineJoin lineJoinStyle_ = kCGLineJoinMiter;
};
