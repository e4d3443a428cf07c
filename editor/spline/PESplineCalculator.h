// A natural cubic spline through values placed at the whole numbers 0, 1, 2 ... (unit
// spacing), evaluated anywhere: before 0 and after the last knot the first and last cubic
// pieces carry on. Built in linear time (one tridiagonal sweep each way), evaluated in
// constant time.
#pragma once

#include "platform/base/NSObject.h"

#include <cstdint>
#include <memory>
#include <vector>

class PESplineCalculator : public NSObject {
    NS_OBJECT(PESplineCalculator)
public:
    // Copies `dataNum` values from `data`; null for no values (or no array).
    static std::shared_ptr<PESplineCalculator> initWithDataDataNum(const double* data,
                                                                   int64_t dataNum);

    // The spline's value at t. A single value is the spline everywhere; a NaN t gives NaN.
    double getValue(double t) const;

private:
    explicit PESplineCalculator(std::vector<double> values);

    // On [k, k + 1]: a[k] + b[k] u + c[k] u^2 + d[k] u^3 with u = t - k. The last entries
    // are 0 for b, c and d and never evaluated.
    std::vector<double> a_, b_, c_, d_;
};
