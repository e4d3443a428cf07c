#include "platform/quartzcore/CATransform3D.h"

#include <array>
#include <cmath>

namespace {
using Matrix = std::array<std::array<CGFloat, 4>, 4>;

Matrix rows(const CATransform3D& t) {
    return {{{t.m11, t.m12, t.m13, t.m14},
             {t.m21, t.m22, t.m23, t.m24},
             {t.m31, t.m32, t.m33, t.m34},
             {t.m41, t.m42, t.m43, t.m44}}};
}

CATransform3D fromRows(const Matrix& m) {
    return {m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3],
            m[2][0], m[2][1], m[2][2], m[2][3], m[3][0], m[3][1], m[3][2], m[3][3]};
}
} // namespace

bool CATransform3DIsIdentity(const CATransform3D& t) {
    return t == CATransform3DIdentity;
}

bool CATransform3DEqualToTransform(const CATransform3D& a, const CATransform3D& b) {
    return a == b;
}

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz) {
    CATransform3D t;
    t.m11 = sx;
    t.m22 = sy;
    t.m33 = sz;
    return t;
}

CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z) {
    const CGFloat length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0)) {
        return CATransform3DIdentity;
    }
    x /= length;
    y /= length;
    z /= length;
    // Rodrigues' rotation, transposed for row vectors.
    const CGFloat c = std::cos(angle), s = std::sin(angle), k = 1 - c;
    CATransform3D t;
    t.m11 = k * x * x + c;
    t.m12 = k * x * y + z * s;
    t.m13 = k * x * z - y * s;
    t.m21 = k * x * y - z * s;
    t.m22 = k * y * y + c;
    t.m23 = k * y * z + x * s;
    t.m31 = k * x * z + y * s;
    t.m32 = k * y * z - x * s;
    t.m33 = k * z * z + c;
    return t;
}

CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b) {
    const Matrix ma = rows(a), mb = rows(b);
    Matrix product{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            CGFloat sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += ma[i][k] * mb[k][j];
            }
            product[i][j] = sum;
        }
    }
    return fromRows(product);
}

CATransform3D CATransform3DScale(const CATransform3D& t, CGFloat sx, CGFloat sy, CGFloat sz) {
    return CATransform3DConcat(CATransform3DMakeScale(sx, sy, sz), t);
}

CATransform3D CATransform3DRotate(const CATransform3D& t, CGFloat angle, CGFloat x, CGFloat y,
                                  CGFloat z) {
    return CATransform3DConcat(CATransform3DMakeRotation(angle, x, y, z), t);
}

CATransform3D CATransform3DMakeAffineTransform(const CGAffineTransform& t) {
    CATransform3D result;
    result.m11 = t.a;
    result.m12 = t.b;
    result.m21 = t.c;
    result.m22 = t.d;
    result.m41 = t.tx;
    result.m42 = t.ty;
    return result;
}

CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t) {
    return CGAffineTransformMake(t.m11, t.m12, t.m21, t.m22, t.m41, t.m42);
}
