#include "editor/spline/PESplineCalculator.h"

#include <cmath>
#include <utility>

std::shared_ptr<PESplineCalculator> PESplineCalculator::initWithDataDataNum(const double* data,
                                                                            int64_t dataNum) {
    if (!data || dataNum < 1) {
        return nullptr;
    }
    return make<PESplineCalculator>(std::vector<double>(data, data + dataNum));
}

PESplineCalculator::PESplineCalculator(std::vector<double> values)
    : a_(std::move(values)), b_(a_.size()), c_(a_.size()), d_(a_.size()) {
    const size_t n = a_.size();
    // With unit spacing and natural ends (c = 0 at both ends) the quadratic coefficients
    // solve c[i-1] + 4 c[i] + c[i+1] = 3 (a[i-1] - 2 a[i] + a[i+1]) for the inner knots.
    if (n >= 3) {
        std::vector<double> w(n);
        for (size_t i = 1; i + 1 < n; ++i) {
            c_[i] = 3 * (a_[i - 1] - 2 * a_[i] + a_[i + 1]);
        }
        for (size_t i = 1; i + 1 < n; ++i) {
            const double m = 4 - w[i - 1];
            c_[i] = (c_[i] - c_[i - 1]) / m;
            w[i] = 1 / m;
        }
        for (size_t i = n - 2; i >= 1; --i) {
            c_[i] -= w[i] * c_[i + 1];
        }
    }
    for (size_t i = 0; i + 1 < n; ++i) {
        d_[i] = (c_[i + 1] - c_[i]) / 3;
        b_[i] = a_[i + 1] - a_[i] - c_[i] - d_[i];
    }
}

double PESplineCalculator::getValue(double t) const {
    const size_t n = a_.size();
    if (n == 1) {
        return a_[0];
    }
    // The piece is chosen in floating point, so that a NaN or a huge t never becomes an
    // out-of-range integer.
    const double floor = std::floor(t);
    size_t k = 0;
    if (floor >= static_cast<double>(n - 1)) {
        k = n - 2;
    } else if (floor > 0) {
        k = static_cast<size_t>(floor);
    }
    const double u = t - static_cast<double>(k);
    return a_[k] + u * (b_[k] + u * (c_[k] + u * d_[k]));
}
