// Vector paths: subpaths of lines and Bézier curves, built through the platform's C
// functions and filled, stroked or clipped to by a context. Arcs and ellipses are stored
// as cubic curves.
#pragma once

#include "platform/graphics/CGAffineTransform.h"

#include <array>
#include <memory>
#include <vector>

enum class CGPathElementType {
    MoveToPoint,         // points[0]
    AddLineToPoint,      // points[0]
    AddQuadCurveToPoint, // control points[0], end points[1]
    AddCurveToPoint,     // controls points[0] and points[1], end points[2]
    CloseSubpath,
};

struct CGPathElement {
    CGPathElementType type;
    std::array<CGPoint, 3> points;
};

class CGPath;
using CGPathRef = std::shared_ptr<const CGPath>;
using CGMutablePathRef = std::shared_ptr<CGPath>;

class CGPath {
public:
    const std::vector<CGPathElement>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    bool hasCurrentPoint() const { return !elements_.empty(); }
    // The end of the last element; after a close, the start of the closed subpath.
    CGPoint currentPoint() const { return current_; }

    // Points are taken as given (the C functions apply their transforms first). A line or
    // curve after a close starts a new subpath at the closed subpath's start; on an empty
    // path, at (0, 0).
    void moveTo(CGPoint point);
    void lineTo(CGPoint point);
    void quadCurveTo(CGPoint control, CGPoint end);
    void curveTo(CGPoint control1, CGPoint control2, CGPoint end);
    void close();
    // Every point mapped through `t`.
    void apply(const CGAffineTransform& t);

private:
    void beginSegment();

    std::vector<CGPathElement> elements_;
    CGPoint current_;
    CGPoint subpathStart_;
    bool closed_ = false;
};

CGMutablePathRef CGPathCreateMutable();
CGPathRef CGPathCreateCopy(const CGPathRef& path);
CGMutablePathRef CGPathCreateMutableCopy(const CGPathRef& path);
CGPathRef CGPathCreateWithRoundedRect(CGRect rect, CGFloat cornerWidth, CGFloat cornerHeight,
                                      const CGAffineTransform* m);
CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* m);
CGPathRef CGPathCreateWithEllipseInRect(CGRect rect, const CGAffineTransform* m);

// Each of these maps its points through `m` when it is not null. A line or curve without
// a current point is refused with a log line, as the platform does.
void CGPathMoveToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x,
                       CGFloat y);
void CGPathAddLineToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x,
                          CGFloat y);
void CGPathAddQuadCurveToPoint(const CGMutablePathRef& path, const CGAffineTransform* m,
                               CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y);
void CGPathAddCurveToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat cp1x,
                           CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y);
void CGPathCloseSubpath(const CGMutablePathRef& path);
// A closed subpath: min corner, then along x, then along y.
void CGPathAddRect(const CGMutablePathRef& path, const CGAffineTransform* m, CGRect rect);
void CGPathAddRects(const CGMutablePathRef& path, const CGAffineTransform* m, const CGRect* rects,
                    size_t count);
// A closed subpath of four cubic curves starting at (maxX, midY), turning from x toward y.
void CGPathAddEllipseInRect(const CGMutablePathRef& path, const CGAffineTransform* m, CGRect rect);
// An arc of the circle around (x, y), angles in radians from the positive x axis toward
// the positive y axis. `clockwise` runs toward decreasing angles: visually clockwise in a
// y-up space. The arc's start is joined to the current point by a line, or starts a new
// subpath. A sweep against the direction goes the other way round (from 0 to 2 pi
// clockwise is empty); one along the direction that spans whole turns is a full circle.
void CGPathAddArc(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x, CGFloat y,
                  CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
// A line from the current point toward (x1, y1), then the arc of the given radius tangent
// to both (current point -> p1) and (p1 -> p2); a straight line to p1 when they are in line.
void CGPathAddArcToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x1,
                         CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius);
// Corner sizes are clamped to half the rectangle's width and height.
void CGPathAddRoundedRect(const CGMutablePathRef& path, const CGAffineTransform* m, CGRect rect,
                          CGFloat cornerWidth, CGFloat cornerHeight);
// Our addition for rounded rectangles with differing corners: radii of the corners at
// (minX, minY), (maxX, minY), (maxX, maxY) and (minX, maxY), each clamped to half the
// rectangle's width and height; a zero radius leaves a sharp corner.
void CGPathAddRectWithCornerRadii(const CGMutablePathRef& path, const CGAffineTransform* m,
                                  CGRect rect, const std::array<CGSize, 4>& radii);
void CGPathAddPath(const CGMutablePathRef& path1, const CGAffineTransform* m,
                   const CGPathRef& path2);

bool CGPathIsEmpty(const CGPathRef& path);
// The box of every point of the path, curve control points included; CGRectNull when
// the path is empty.
CGRect CGPathGetBoundingBox(const CGPathRef& path);
// CGPointZero when the path is empty.
CGPoint CGPathGetCurrentPoint(const CGPathRef& path);
// Whether the point (mapped through `m` first) is inside the filled path, by the even-odd
// rule or else the non-zero winding rule; every subpath counts as closed.
bool CGPathContainsPoint(const CGPathRef& path, const CGAffineTransform* m, CGPoint point,
                         bool eoFill);
