// An immutable vector of up to four numbers: a point (x, y) for centres and curve points,
// or (x, y, z, w). Components beyond the count read as 0.
#pragma once

#include "platform/base/NSObject.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>

class CIVector : public NSObject {
    NS_OBJECT(CIVector)
public:
    static std::shared_ptr<CIVector> vectorWithX(double x);
    static std::shared_ptr<CIVector> vectorWithXY(double x, double y);
    static std::shared_ptr<CIVector> vectorWithXYZW(double x, double y, double z, double w);

    size_t count() const { return count_; }
    double valueAtIndex(size_t index) const { return index < count_ ? values_[index] : 0; }
    double X() const { return values_[0]; }
    double Y() const { return values_[1]; }
    double Z() const { return values_[2]; }
    double W() const { return values_[3]; }

    // "[x y]", the components in %g.
    std::string description() const override;
    bool isEqual(const NSObject& other) const override;

private:
    CIVector(std::array<double, 4> values, size_t count) : values_(values), count_(count) {}
    std::array<double, 4> values_;
    size_t count_;
};

using CIVectorPtr = std::shared_ptr<CIVector>;
