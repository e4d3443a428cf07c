// 2-D affine transforms as the platform writes them: a point maps to
// (a*x + c*y + tx, b*x + d*y + ty), and Concat(t1, t2) applies t1 first, then t2.
#pragma once

#include "platform/graphics/CGGeometry.h"

struct CGAffineTransform {
    CGFloat a = 1;
    CGFloat b = 0;
    CGFloat c = 0;
    CGFloat d = 1;
    CGFloat tx = 0;
    CGFloat ty = 0;
    friend bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

inline constexpr CGAffineTransform CGAffineTransformIdentity{1, 0, 0, 1, 0, 0};

constexpr CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d,
                                                  CGFloat tx, CGFloat ty) {
    return {a, b, c, d, tx, ty};
}
CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
// Positive angles (radians) turn the x axis towards the y axis.
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);

// These apply the new operation before `t` (in t's own coordinate space).
CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, CGFloat angle);
CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1, const CGAffineTransform& t2);
// The inverse; a singular transform is returned unchanged.
CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t);

bool CGAffineTransformIsIdentity(const CGAffineTransform& t);
bool CGAffineTransformEqualToTransform(const CGAffineTransform& t1, const CGAffineTransform& t2);

CGPoint CGPointApplyAffineTransform(const CGPoint& point, const CGAffineTransform& t);
// Sizes are vectors: the translation does not apply.
CGSize CGSizeApplyAffineTransform(const CGSize& size, const CGAffineTransform& t);
// The bounding box of the transformed rectangle; null stays null.
CGRect CGRectApplyAffineTransform(const CGRect& rect, const CGAffineTransform& t);
