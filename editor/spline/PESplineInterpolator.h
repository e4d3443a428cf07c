// A parametric curve through a list of points: one spline of the x values and one of the
// y values, both against the point's index. Parameter 0 is the first point, 1 the last,
// and point i is reached at i / (count - 1); the curve is not a function of x and turns
// back where the points do.
#pragma once

#include "editor/spline/PESplineCalculator.h"
#include "platform/base/NSObject.h"
#include "platform/coreimage/CIVector.h"

#include <cstdint>
#include <memory>
#include <vector>

class PESplineInterpolator : public NSObject {
    NS_OBJECT(PESplineInterpolator)
public:
    // A null point counts as (0, 0), with a log line. No points make a curve that is
    // (0, 0) everywhere.
    static std::shared_ptr<PESplineInterpolator>
    initWithPoints(const std::vector<CIVectorPtr>& points);

    // The curve's point at t, t clamped to [0, 1].
    CIVectorPtr interpolatedPoint(double t) const;

private:
    PESplineInterpolator(int64_t pointNum, std::shared_ptr<PESplineCalculator> splineX,
                         std::shared_ptr<PESplineCalculator> splineY);

    int64_t pointNum_;
    std::shared_ptr<PESplineCalculator> splineX_;
    std::shared_ptr<PESplineCalculator> splineY_;
};
