#include "editor/spline/PESplineInterpolator.h"

#include "platform/foundation/NSLog.h"

#include <utility>

std::shared_ptr<PESplineInterpolator>
PESplineInterpolator::initWithPoints(const std::vector<CIVectorPtr>& points) {
    std::vector<double> xs, ys;
    xs.reserve(points.size());
    ys.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        if (!points[i]) {
            NSLog("PESplineInterpolator: point %zu is missing; (0, 0) is used", i);
        }
        xs.push_back(points[i] ? points[i]->X() : 0);
        ys.push_back(points[i] ? points[i]->Y() : 0);
    }
    const auto count = static_cast<int64_t>(points.size());
    return make<PESplineInterpolator>(count,
                                      PESplineCalculator::initWithDataDataNum(xs.data(), count),
                                      PESplineCalculator::initWithDataDataNum(ys.data(), count));
}

PESplineInterpolator::PESplineInterpolator(int64_t pointNum,
                                           std::shared_ptr<PESplineCalculator> splineX,
                                           std::shared_ptr<PESplineCalculator> splineY)
    : pointNum_(pointNum), splineX_(std::move(splineX)), splineY_(std::move(splineY)) {}

CIVectorPtr PESplineInterpolator::interpolatedPoint(double t) const {
    if (!splineX_ || !splineY_) {
        return CIVector::vectorWithXY(0, 0);
    }
    t = t > 1 ? 1 : t;
    t = t < 0 ? 0 : t;
    const double s = t * static_cast<double>(pointNum_ - 1);
    return CIVector::vectorWithXY(splineX_->getValue(s), splineY_->getValue(s));
}
