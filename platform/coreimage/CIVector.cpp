#include "platform/coreimage/CIVector.h"

#include <cstdio>

std::shared_ptr<CIVector> CIVector::vectorWithX(double x) {
    return make<CIVector>(std::array<double, 4>{x, 0, 0, 0}, 1);
}

std::shared_ptr<CIVector> CIVector::vectorWithXY(double x, double y) {
    return make<CIVector>(std::array<double, 4>{x, y, 0, 0}, 2);
}

std::shared_ptr<CIVector> CIVector::vectorWithXYZW(double x, double y, double z, double w) {
    return make<CIVector>(std::array<double, 4>{x, y, z, w}, 4);
}

std::string CIVector::description() const {
    std::string text = "[";
    for (size_t i = 0; i < count_; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, i == 0 ? "%g" : " %g", values_[i]);
        text += number;
    }
    return text + "]";
}

bool CIVector::isEqual(const NSObject& other) const {
    const auto* vector = dynamic_cast<const CIVector*>(&other);
    return vector && vector->count_ == count_ && vector->values_ == values_;
}
