#include "platform/graphics/CGPath.h"

#include "platform/foundation/NSLog.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 2 * M_PI;
// Sweeps this close to a whole turn are taken as one, so that -pi/2 .. 3pi/2 is a circle.
constexpr double kAngleEpsilon = 1e-9;
// How far a flattened curve may stray from the curve when testing containment.
constexpr double kFlatness = 0.05;

CGPoint mapped(const CGAffineTransform* m, CGFloat x, CGFloat y) {
    return m ? CGPointApplyAffineTransform(CGPointMake(x, y), *m) : CGPointMake(x, y);
}

bool needsCurrentPoint(const CGMutablePathRef& path, const char* function) {
    if (!path) {
        return false;
    }
    if (!path->hasCurrentPoint()) {
        NSLog("%s: no current point.", function);
        return false;
    }
    return true;
}

// Appends an arc of the unit-free circle (cx, cy, r) from `start` sweeping `sweep`
// radians, as cubic curves of at most a quarter turn each, every point mapped through m.
void appendArc(CGPath& path, const CGAffineTransform* m, double cx, double cy, double r,
               double start, double sweep) {
    auto at = [&](double angle) {
        return mapped(m, cx + r * std::cos(angle), cy + r * std::sin(angle));
    };
    CGPoint first = at(start);
    if (!path.hasCurrentPoint()) {
        path.moveTo(first);
    } else if (path.currentPoint() != first) {
        path.lineTo(first);
    }
    if (sweep == 0) {
        return;
    }
    int segments = std::max(1, int(std::ceil(std::fabs(sweep) / (M_PI / 2) - kAngleEpsilon)));
    double step = sweep / segments;
    double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < segments; ++i) {
        double a0 = start + step * i;
        double a1 = a0 + step;
        double c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
        path.curveTo(mapped(m, cx + r * (c0 - k * s0), cy + r * (s0 + k * c0)),
                     mapped(m, cx + r * (c1 + k * s1), cy + r * (s1 - k * c1)),
                     mapped(m, cx + r * c1, cy + r * s1));
    }
}

// The signed sweep from start to end in the asked direction (negative when clockwise).
double arcSweep(double start, double end, bool clockwise) {
    double d = clockwise ? start - end : end - start; // positive: along the direction
    double sweep;
    if (d > 0) {
        double rest = std::fmod(d, kTwoPi);
        sweep = (rest < kAngleEpsilon || kTwoPi - rest < kAngleEpsilon) ? kTwoPi : rest;
    } else if (d < 0) {
        double rest = std::fmod(-d, kTwoPi);
        sweep = (rest < kAngleEpsilon || kTwoPi - rest < kAngleEpsilon) ? 0 : kTwoPi - rest;
    } else {
        sweep = 0;
    }
    return clockwise ? -sweep : sweep;
}

CGAffineTransform transformOrIdentity(const CGAffineTransform* m) {
    return m ? *m : CGAffineTransformIdentity;
}

// The transform placing the unit circle on the ellipse of radii (rx, ry) around (cx, cy),
// followed by m.
CGAffineTransform ellipseTransform(const CGAffineTransform* m, double cx, double cy, double rx,
                                   double ry) {
    return CGAffineTransformConcat(CGAffineTransformMake(rx, 0, 0, ry, cx, cy),
                                   transformOrIdentity(m));
}

void flattenCubic(std::vector<CGPoint>& polygon, CGPoint p0, CGPoint p1, CGPoint p2, CGPoint p3) {
    double ddx = std::max(std::fabs(p0.x - 2 * p1.x + p2.x), std::fabs(p1.x - 2 * p2.x + p3.x));
    double ddy = std::max(std::fabs(p0.y - 2 * p1.y + p2.y), std::fabs(p1.y - 2 * p2.y + p3.y));
    double dd = std::hypot(ddx, ddy);
    int n = std::clamp(int(std::ceil(std::sqrt(0.75 * dd / kFlatness))), 1, 1000);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, u = 1 - t;
        double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        polygon.push_back({b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                           b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y});
    }
}

CGPoint quadControl(CGPoint from, CGPoint control) {
    return {from.x + 2.0 / 3.0 * (control.x - from.x), from.y + 2.0 / 3.0 * (control.y - from.y)};
}

// The subpaths as closed polygons.
std::vector<std::vector<CGPoint>> polygonsOf(const CGPath& path) {
    std::vector<std::vector<CGPoint>> polygons;
    CGPoint current;
    for (const auto& e : path.elements()) {
        switch (e.type) {
        case CGPathElementType::MoveToPoint:
            polygons.push_back({e.points[0]});
            break;
        case CGPathElementType::AddLineToPoint:
            polygons.back().push_back(e.points[0]);
            break;
        case CGPathElementType::AddQuadCurveToPoint:
            flattenCubic(polygons.back(), current, quadControl(current, e.points[0]),
                         quadControl(e.points[1], e.points[0]), e.points[1]);
            break;
        case CGPathElementType::AddCurveToPoint:
            flattenCubic(polygons.back(), current, e.points[0], e.points[1], e.points[2]);
            break;
        case CGPathElementType::CloseSubpath:
            break;
        }
        current = polygons.back().back();
        if (e.type == CGPathElementType::CloseSubpath) {
            current = polygons.back().front();
        }
    }
    return polygons;
}

} // namespace

void CGPath::beginSegment() {
    if (closed_ || elements_.empty()) {
        moveTo(subpathStart_);
    }
}

void CGPath::moveTo(CGPoint point) {
    elements_.push_back({CGPathElementType::MoveToPoint, {point}});
    current_ = subpathStart_ = point;
    closed_ = false;
}

void CGPath::lineTo(CGPoint point) {
    beginSegment();
    elements_.push_back({CGPathElementType::AddLineToPoint, {point}});
    current_ = point;
}

void CGPath::quadCurveTo(CGPoint control, CGPoint end) {
    beginSegment();
    elements_.push_back({CGPathElementType::AddQuadCurveToPoint, {control, end}});
    current_ = end;
}

void CGPath::curveTo(CGPoint control1, CGPoint control2, CGPoint end) {
    beginSegment();
    elements_.push_back({CGPathElementType::AddCurveToPoint, {control1, control2, end}});
    current_ = end;
}

void CGPath::close() {
    if (elements_.empty() || closed_) {
        return;
    }
    elements_.push_back({CGPathElementType::CloseSubpath, {}});
    current_ = subpathStart_;
    closed_ = true;
}

void CGPath::apply(const CGAffineTransform& t) {
    for (auto& e : elements_) {
        for (auto& p : e.points) {
            p = CGPointApplyAffineTransform(p, t);
        }
    }
    current_ = CGPointApplyAffineTransform(current_, t);
    subpathStart_ = CGPointApplyAffineTransform(subpathStart_, t);
}

CGMutablePathRef CGPathCreateMutable() {
    return std::make_shared<CGPath>();
}

CGPathRef CGPathCreateCopy(const CGPathRef& path) {
    return CGPathCreateMutableCopy(path);
}

CGMutablePathRef CGPathCreateMutableCopy(const CGPathRef& path) {
    return path ? std::make_shared<CGPath>(*path) : nullptr;
}

CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* m) {
    auto path = CGPathCreateMutable();
    CGPathAddRect(path, m, rect);
    return path;
}

CGPathRef CGPathCreateWithRoundedRect(CGRect rect, CGFloat cornerWidth, CGFloat cornerHeight,
                                      const CGAffineTransform* m) {
    auto path = CGPathCreateMutable();
    CGPathAddRoundedRect(path, m, rect, cornerWidth, cornerHeight);
    return path;
}

CGPathRef CGPathCreateWithEllipseInRect(CGRect rect, const CGAffineTransform* m) {
    auto path = CGPathCreateMutable();
    CGPathAddEllipseInRect(path, m, rect);
    return path;
}

void CGPathMoveToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x,
                       CGFloat y) {
    if (path) {
        path->moveTo(mapped(m, x, y));
    }
}

void CGPathAddLineToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x,
                          CGFloat y) {
    if (needsCurrentPoint(path, "CGPathAddLineToPoint")) {
        path->lineTo(mapped(m, x, y));
    }
}

void CGPathAddQuadCurveToPoint(const CGMutablePathRef& path, const CGAffineTransform* m,
                               CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y) {
    if (needsCurrentPoint(path, "CGPathAddQuadCurveToPoint")) {
        path->quadCurveTo(mapped(m, cpx, cpy), mapped(m, x, y));
    }
}

void CGPathAddCurveToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat cp1x,
                           CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y) {
    if (needsCurrentPoint(path, "CGPathAddCurveToPoint")) {
        path->curveTo(mapped(m, cp1x, cp1y), mapped(m, cp2x, cp2y), mapped(m, x, y));
    }
}

void CGPathCloseSubpath(const CGMutablePathRef& path) {
    if (path) {
        path->close();
    }
}

void CGPathAddRect(const CGMutablePathRef& path, const CGAffineTransform* m, CGRect rect) {
    if (!path) {
        return;
    }
    rect = CGRectStandardize(rect);
    double x0 = rect.origin.x, y0 = rect.origin.y;
    double x1 = x0 + rect.size.width, y1 = y0 + rect.size.height;
    path->moveTo(mapped(m, x0, y0));
    path->lineTo(mapped(m, x1, y0));
    path->lineTo(mapped(m, x1, y1));
    path->lineTo(mapped(m, x0, y1));
    path->close();
}

void CGPathAddRects(const CGMutablePathRef& path, const CGAffineTransform* m, const CGRect* rects,
                    size_t count) {
    for (size_t i = 0; rects && i < count; ++i) {
        CGPathAddRect(path, m, rects[i]);
    }
}

void CGPathAddEllipseInRect(const CGMutablePathRef& path, const CGAffineTransform* m, CGRect rect) {
    if (!path) {
        return;
    }
    rect = CGRectStandardize(rect);
    CGAffineTransform unit = ellipseTransform(m, CGRectGetMidX(rect), CGRectGetMidY(rect),
                                              rect.size.width / 2, rect.size.height / 2);
    path->moveTo(mapped(&unit, 1, 0));
    appendArc(*path, &unit, 0, 0, 1, 0, kTwoPi);
    path->close();
}

void CGPathAddArc(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x, CGFloat y,
                  CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise) {
    if (!path) {
        return;
    }
    if (radius < 0) {
        NSLog("CGPathAddArc: negative radius %g.", radius);
        return;
    }
    appendArc(*path, m, x, y, radius, startAngle, arcSweep(startAngle, endAngle, clockwise));
}

void CGPathAddArcToPoint(const CGMutablePathRef& path, const CGAffineTransform* m, CGFloat x1,
                         CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius) {
    if (!needsCurrentPoint(path, "CGPathAddArcToPoint")) {
        return;
    }
    // Work in the caller's space: the current point is stored already mapped through m.
    CGAffineTransform t = transformOrIdentity(m);
    CGPoint p0 = CGPointApplyAffineTransform(path->currentPoint(), CGAffineTransformInvert(t));
    double ax = p0.x - x1, ay = p0.y - y1, bx = x2 - x1, by = y2 - y1;
    double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (la == 0 || lb == 0 || radius <= 0) {
        path->lineTo(mapped(m, x1, y1));
        return;
    }
    ax /= la, ay /= la, bx /= lb, by /= lb;
    double cross = ax * by - ay * bx;
    double cosine = std::clamp(ax * bx + ay * by, -1.0, 1.0);
    if (std::fabs(cross) < 1e-12) {
        path->lineTo(mapped(m, x1, y1));
        return;
    }
    double half = std::acos(cosine) / 2; // half the angle between the two legs
    double along = radius / std::tan(half);
    double toCenter = radius / std::sin(half);
    double mx = ax + bx, my = ay + by;
    double lm = std::hypot(mx, my);
    double cx = x1 + mx / lm * toCenter, cy = y1 + my / lm * toCenter;
    double start = std::atan2(y1 + ay * along - cy, x1 + ax * along - cx);
    double end = std::atan2(y1 + by * along - cy, x1 + bx * along - cx);
    double sweep = std::remainder(end - start, kTwoPi); // the short way round
    appendArc(*path, m, cx, cy, radius, start, sweep);
}

void CGPathAddRoundedRect(const CGMutablePathRef& path, const CGAffineTransform* m, CGRect rect,
                          CGFloat cornerWidth, CGFloat cornerHeight) {
    CGSize corner = CGSizeMake(cornerWidth, cornerHeight);
    CGPathAddRectWithCornerRadii(path, m, rect, {corner, corner, corner, corner});
}

void CGPathAddRectWithCornerRadii(const CGMutablePathRef& path, const CGAffineTransform* m,
                                  CGRect rect, const std::array<CGSize, 4>& radii) {
    if (!path) {
        return;
    }
    rect = CGRectStandardize(rect);
    double x0 = rect.origin.x, y0 = rect.origin.y;
    double x1 = x0 + rect.size.width, y1 = y0 + rect.size.height;
    auto radius = [&](int i) {
        double rx = std::clamp(radii[i].width, 0.0, rect.size.width / 2);
        double ry = std::clamp(radii[i].height, 0.0, rect.size.height / 2);
        return rx > 0 && ry > 0 ? CGSizeMake(rx, ry) : CGSizeZero;
    };
    // Each corner with the direction to its arc's centre and the angle its arc starts at.
    const struct {
        double x, y, sx, sy, angle;
    } corners[4] = {{x0, y0, 1, 1, M_PI},
                    {x1, y0, -1, 1, -M_PI / 2},
                    {x1, y1, -1, -1, 0},
                    {x0, y1, 1, -1, M_PI / 2}};
    // Start on the first edge just past the first corner, so the subpath ends with it.
    path->moveTo(mapped(m, x0 + radius(0).width, y0));
    for (int i : {1, 2, 3, 0}) {
        const auto& c = corners[i];
        CGSize r = radius(i);
        if (r.width > 0) {
            CGAffineTransform unit =
                ellipseTransform(m, c.x + c.sx * r.width, c.y + c.sy * r.height, r.width, r.height);
            appendArc(*path, &unit, 0, 0, 1, c.angle, M_PI / 2);
        } else {
            path->lineTo(mapped(m, c.x, c.y));
        }
    }
    path->close();
}

void CGPathAddPath(const CGMutablePathRef& path1, const CGAffineTransform* m,
                   const CGPathRef& path2) {
    if (!path1 || !path2) {
        return;
    }
    auto at = [&](const CGPoint& p) { return mapped(m, p.x, p.y); };
    for (const auto& e : path2->elements()) {
        switch (e.type) {
        case CGPathElementType::MoveToPoint:
            path1->moveTo(at(e.points[0]));
            break;
        case CGPathElementType::AddLineToPoint:
            path1->lineTo(at(e.points[0]));
            break;
        case CGPathElementType::AddQuadCurveToPoint:
            path1->quadCurveTo(at(e.points[0]), at(e.points[1]));
            break;
        case CGPathElementType::AddCurveToPoint:
            path1->curveTo(at(e.points[0]), at(e.points[1]), at(e.points[2]));
            break;
        case CGPathElementType::CloseSubpath:
            path1->close();
            break;
        }
    }
}

bool CGPathIsEmpty(const CGPathRef& path) {
    return !path || path->isEmpty();
}

CGRect CGPathGetBoundingBox(const CGPathRef& path) {
    if (CGPathIsEmpty(path)) {
        return CGRectNull;
    }
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const auto& e : path->elements()) {
        int count = e.type == CGPathElementType::CloseSubpath          ? 0
                    : e.type == CGPathElementType::AddCurveToPoint     ? 3
                    : e.type == CGPathElementType::AddQuadCurveToPoint ? 2
                                                                       : 1;
        for (int i = 0; i < count; ++i) {
            minX = std::min(minX, e.points[i].x);
            minY = std::min(minY, e.points[i].y);
            maxX = std::max(maxX, e.points[i].x);
            maxY = std::max(maxY, e.points[i].y);
        }
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

CGPoint CGPathGetCurrentPoint(const CGPathRef& path) {
    return CGPathIsEmpty(path) ? CGPointZero : path->currentPoint();
}

bool CGPathContainsPoint(const CGPathRef& path, const CGAffineTransform* m, CGPoint point,
                         bool eoFill) {
    if (CGPathIsEmpty(path)) {
        return false;
    }
    CGPoint p = mapped(m, point.x, point.y);
    int winding = 0;
    for (const auto& polygon : polygonsOf(*path)) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            CGPoint a = polygon[i], b = polygon[(i + 1) % polygon.size()];
            double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y && b.y > p.y && side > 0) {
                ++winding;
            } else if (a.y > p.y && b.y <= p.y && side < 0) {
                --winding;
            }
        }
    }
    return eoFill ? (winding % 2 != 0) : winding != 0;
}
