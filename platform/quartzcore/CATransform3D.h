// 3-D layer transforms as the platform writes them: a 4 x 4 matrix applied to row vectors
// (a point (x, y, z, 1) times the matrix), so that Concat(a, b) applies a first, then b.
// Only what the screens use is here: turns about any axis, scaling, and the affine part
// a flat drawing can show (m11, m12, m21, m22, m41, m42, as a CGAffineTransform's a, b,
// c, d, tx, ty). Perspective (m34) is kept in the matrix but never drawn.
#pragma once

#include "platform/graphics/CGAffineTransform.h"

struct CATransform3D {
    CGFloat m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    CGFloat m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    CGFloat m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    CGFloat m41 = 0, m42 = 0, m43 = 0, m44 = 1;
    friend bool operator==(const CATransform3D&, const CATransform3D&) = default;
};

inline constexpr CATransform3D CATransform3DIdentity{};

bool CATransform3DIsIdentity(const CATransform3D& t);
bool CATransform3DEqualToTransform(const CATransform3D& a, const CATransform3D& b);

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz);
// A turn by `angle` radians about the axis (x, y, z), counter-clockwise looking down the
// axis towards the origin; about z it is CGAffineTransformMakeRotation's turn. A zero
// axis gives the identity.
CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z);
// a first, then b.
CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b);
// These apply the new operation before `t` (in t's own coordinate space).
CATransform3D CATransform3DScale(const CATransform3D& t, CGFloat sx, CGFloat sy, CGFloat sz);
CATransform3D CATransform3DRotate(const CATransform3D& t, CGFloat angle, CGFloat x, CGFloat y,
                                  CGFloat z);

// The flat transform as a 3-D one (z untouched), and back: the part of a 3-D transform
// that acts on x and y in the plane; z and perspective are dropped.
CATransform3D CATransform3DMakeAffineTransform(const CGAffineTransform& t);
CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t);
