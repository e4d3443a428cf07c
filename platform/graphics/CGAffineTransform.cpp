#include "platform/graphics/CGAffineTransform.h"

#include <algorithm>
#include <cmath>

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
    return {1, 0, 0, 1, tx, ty};
}

CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}

CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
    const CGFloat cosine = std::cos(angle);
    const CGFloat sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, CGFloat tx, CGFloat ty) {
    return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}

CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, CGFloat sx, CGFloat sy) {
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}

CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, CGFloat angle) {
    return CGAffineTransformConcat(CGAffineTransformMakeRotation(angle), t);
}

CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1,
                                          const CGAffineTransform& t2) {
    return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t) {
    const CGFloat determinant = t.a * t.d - t.b * t.c;
    if (determinant == 0 || !std::isfinite(determinant)) {
        return t;
    }
    return {t.d / determinant,
            -t.b / determinant,
            -t.c / determinant,
            t.a / determinant,
            (t.c * t.ty - t.d * t.tx) / determinant,
            (t.b * t.tx - t.a * t.ty) / determinant};
}

bool CGAffineTransformIsIdentity(const CGAffineTransform& t) {
    return t == CGAffineTransformIdentity;
}

bool CGAffineTransformEqualToTransform(const CGAffineTransform& t1, const CGAffineTransform& t2) {
    return t1 == t2;
}

CGPoint CGPointApplyAffineTransform(const CGPoint& point, const CGAffineTransform& t) {
    return {t.a * point.x + t.c * point.y + t.tx, t.b * point.x + t.d * point.y + t.ty};
}

CGSize CGSizeApplyAffineTransform(const CGSize& size, const CGAffineTransform& t) {
    return {t.a * size.width + t.c * size.height, t.b * size.width + t.d * size.height};
}

CGRect CGRectApplyAffineTransform(const CGRect& rect, const CGAffineTransform& t) {
    if (CGRectIsNull(rect)) {
        return rect;
    }
    const CGPoint corners[4] = {
        CGPointApplyAffineTransform({CGRectGetMinX(rect), CGRectGetMinY(rect)}, t),
        CGPointApplyAffineTransform({CGRectGetMaxX(rect), CGRectGetMinY(rect)}, t),
        CGPointApplyAffineTransform({CGRectGetMinX(rect), CGRectGetMaxY(rect)}, t),
        CGPointApplyAffineTransform({CGRectGetMaxX(rect), CGRectGetMaxY(rect)}, t),
    };
    CGFloat minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CGPoint& corner : corners) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y);
        maxY = std::max(maxY, corner.y);
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}
